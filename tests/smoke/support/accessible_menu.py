#!/usr/bin/python3
"""The popup menu the running program has open, as a screen reader meets it on the desktop's
accessibility bus (AT-SPI). A popup is no child of the program's windows there: a screen reader
comes to it when the focus moves onto one of its items, so this presses Down (xdotool) in the
open menu and follows the focus to the menu.

Usage: accessible_menu.py COMMAND [NAME]
  items       each item, top first, as "NAME<TAB>enabled" or "NAME<TAB>disabled"
  place NAME  where the item NAME is on the screen: "X Y WIDTH HEIGHT"

When no menu item takes the focus (yet), it says so on standard error and exits 1, so that
wait_for can poll it. Every try presses Down once more, which only moves the highlight.

Run it with Debian's own python3: that is the one with the gi bindings.
"""
import subprocess
import sys

sys.dont_write_bytecode = True  # no cache of accessible_table beside the sources
from accessible_table import CALL_TIMEOUT_MS, Failure, name_of  # noqa: E402

import gi  # noqa: E402

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# The program learns of a new listener through the registry, a moment after it registers.
DOWN_AFTER_MS = 200
FOCUS_WAIT_MS = 3000


def focused_menu():
    focused = []

    def on_focus(event):
        if event.detail1 == 1 and event.source.get_role() == Atspi.Role.MENU_ITEM:
            focused.append(event.source)
            Atspi.event_quit()

    def press_down():
        subprocess.run(["xdotool", "key", "Down"], check=True)
        return False

    def give_up():
        Atspi.event_quit()
        return False

    listener = Atspi.EventListener.new(on_focus)
    listener.register("object:state-changed:focused")
    GLib.timeout_add(DOWN_AFTER_MS, press_down)
    GLib.timeout_add(FOCUS_WAIT_MS, give_up)
    Atspi.event_main()
    listener.deregister("object:state-changed:focused")
    if not focused:
        raise Failure("no menu item took the focus when Down was pressed")
    menu = focused[0].get_parent()
    if menu is None:
        raise Failure(f"the focused item {name_of(focused[0])!r} is in no menu")
    return [item for item in (menu.get_child_at_index(i) for i in range(menu.get_child_count()))
            if item is not None and item.get_role() == Atspi.Role.MENU_ITEM]


def items(menu):
    for item in menu:
        enabled = item.get_state_set().contains(Atspi.StateType.ENABLED)
        print(f"{name_of(item)}\t{'enabled' if enabled else 'disabled'}")


def place(menu, name):
    for item in menu:
        if name_of(item) == name:
            rect = item.get_extents(Atspi.CoordType.SCREEN)
            print(rect.x, rect.y, rect.width, rect.height)
            return
    raise Failure(f"the menu has no item {name!r}")


def main(argv):
    command, names = (argv[1], argv[2:]) if len(argv) > 1 else (None, [])
    if (command, len(names)) not in (("items", 0), ("place", 1)):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    Atspi.set_timeout(CALL_TIMEOUT_MS, CALL_TIMEOUT_MS)
    try:
        menu = focused_menu()
        if command == "items":
            items(menu)
        else:
            place(menu, *names)
    except (Failure, GLib.Error) as error:
        print(f"{' '.join(argv[1:])}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
