#!/usr/bin/python3
"""A list of the running program as a screen reader reads it: over the desktop's accessibility
bus (AT-SPI), through the public Accessible and Table interfaces only, so that any list which
tells assistive technology it is a table reads the same.

Usage: accessible_table.py COMMAND NAME [ROW]
  rows NAME        each row's text (the name of its cell in column 0), top row first
  headers NAME     each column's header text (an empty line where a column has none)
  selected NAME    the selected rows, by index from 0
  select NAME ROW  adds row ROW (from 0) to the selection, as a screen reader's command does
  tab-to NAME      presses Tab (xdotool) until the list has the keyboard focus
  description NAME the list's description
  button NAME      where the push button NAME is on the screen: "X Y WIDTH HEIGHT"

NAME is the list's accessible name, matched exactly (" Output" is not "Output"). Each command
prints one item a line. When the program, the list or an answer is not there (yet), it says why
on standard error and exits 1, so that wait_for can poll it: the bus, the program's registration
and its tree all come up asynchronously.

Run it with Debian's own python3: that is the one with the gi bindings.
"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

APPLICATION = "Quorvane"
# Long enough for a sanitizer build on a busy machine to answer one call.
CALL_TIMEOUT_MS = 15000
TAB_PRESSES = 20
FOCUS_MOVE_SECONDS = 20
# A list's children are its rows and cells: searching them for NAME costs much and finds a cell.
CONTAINERS_OF_ITEMS = {Atspi.Role.TABLE, Atspi.Role.TREE_TABLE, Atspi.Role.LIST, Atspi.Role.TREE,
                       Atspi.Role.LIST_BOX}


class Failure(Exception):
    pass


def name_of(accessible):
    # Accessible.get_name, not Action.get_name, which the gi bindings would otherwise pick.
    return Atspi.Accessible.get_name(accessible)


def application():
    desktop = Atspi.get_desktop(0)
    # Every read goes to the program itself: a cached answer would hide what a change did.
    desktop.set_cache_mask(Atspi.Cache.NONE)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and name_of(app) == APPLICATION:
            return app
    raise Failure(f"no application named {APPLICATION!r} on the accessibility bus")


def named(accessible, name):
    if name_of(accessible) == name:
        yield accessible
    if accessible.get_role() in CONTAINERS_OF_ITEMS:
        return
    for i in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(i)
        if child is not None:
            yield from named(child, name)


def table_named(name):
    found = list(named(application(), name))
    if not found:
        raise Failure(f"nothing named {name!r} in {APPLICATION}")
    tables = [a for a in found if a.get_role() == Atspi.Role.TABLE]
    if not tables:
        roles = ", ".join(a.get_role_name() for a in found)
        raise Failure(f"{name!r} is not a table to assistive technology: role {roles}")
    if len(tables) > 1:
        raise Failure(f"{len(tables)} tables are named {name!r}")
    if "Table" not in tables[0].get_interfaces():
        raise Failure(f"the table {name!r} has no Table interface")
    return tables[0]


def rows(table):
    for row in range(table.get_n_rows()):
        cell = table.get_accessible_at(row, 0)
        if cell is None:
            raise Failure(f"row {row} has no cell in column 0")
        print(name_of(cell))


def headers(table):
    for column in range(table.get_n_columns()):
        header = table.get_column_header(column)
        print("" if header is None else name_of(header))


def selected(table):
    for row in table.get_selected_rows():
        print(row)


def select(table, row):
    if not table.add_row_selection(row):
        raise Failure(f"the table refused to select row {row}")


def description(table):
    print(Atspi.Accessible.get_description(table))


def button(name):
    found = [a for a in named(application(), name) if a.get_role() == Atspi.Role.PUSH_BUTTON]
    if len(found) != 1:
        raise Failure(f"{len(found)} push buttons are named {name!r}")
    box = found[0].get_extents(Atspi.CoordType.SCREEN)
    print(box.x, box.y, box.width, box.height)


def has_focus(accessible):
    return accessible.get_state_set().contains(Atspi.StateType.FOCUSED)


def focused_in(accessible):
    if has_focus(accessible):
        return accessible
    if accessible.get_role() in CONTAINERS_OF_ITEMS:
        return None
    for i in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(i)
        found = child and focused_in(child)
        if found:
            return found
    return None


def tab_to(table):
    # One Tab at a time, each awaited until the focus has left where it was: pressing on
    # before the program has taken the last one would pass the list by.
    app = application()
    for _ in range(TAB_PRESSES):
        if has_focus(table):
            return
        before = focused_in(app)
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        deadline = time.monotonic() + FOCUS_MOVE_SECONDS
        while focused_in(app) == before:
            if time.monotonic() > deadline:
                what = "nothing" if before is None else f"{before.get_role_name()} {name_of(before)!r}"
                raise Failure(f"Tab did not move the focus from {what}")
            time.sleep(0.1)
    raise Failure(f"{TAB_PRESSES} presses of Tab did not reach the table")


def main(argv):
    commands = {"rows": rows, "headers": headers, "selected": selected, "tab-to": tab_to,
                "select": select, "description": description, "button": button}
    command = argv[1] if len(argv) > 1 else None
    arguments = 2 if command == "select" else 1
    if command not in commands or len(argv) != 2 + arguments or not all(
            arg.isdigit() for arg in argv[3:]):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    Atspi.set_timeout(CALL_TIMEOUT_MS, CALL_TIMEOUT_MS)
    try:
        target = argv[2] if command == "button" else table_named(argv[2])
        commands[command](target, *map(int, argv[3:]))
    except (Failure, GLib.Error) as error:
        print(f"{argv[1]} {argv[2]!r}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
