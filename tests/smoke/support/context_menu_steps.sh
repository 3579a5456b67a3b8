# shellcheck shell=bash
# Sourced, after main_window_steps.sh, by the smoke scripts that work a results list's context
# menu with the real mouse. They set $window and $first_row, a row in the window's own
# coordinates that the right button opens the menu on.

menu_tool="$(dirname "${BASH_SOURCE[0]}")/accessible_menu.py"
menu() { /usr/bin/python3 "$menu_tool" "$@"; }

# The open menu: a window of the program's other than $window. Unlike a message box it has no
# title of its own to be found by.
menu_window() {
    local id
    for id in $(xdotool search --onlyvisible --class '^quorvane$'); do
        [[ "$id" != "$window" ]] && { echo "$id"; return 0; }
    done
    return 1
}
menu_closed() { ! menu_window >/dev/null; }
open_menu() {
    xdotool mousemove --window "$window" "${first_row[@]}" click 3
    wait_for 30 "the menu to open" menu_window >/dev/null
}
# point_at ITEM: moves the mouse onto the item of the open menu; sets $item_place, its place as
# ImageMagick's geometry.
point_at() {
    local place x y width height
    place=$(wait_for 60 "the menu item \"$1\"" menu place "$1")
    read -r x y width height <<<"$place"
    xdotool mousemove $((x + width / 2)) $((y + height / 2))
    item_place="${width}x${height}+$x+$y"
}
choose() {
    point_at "$1"
    xdotool click 1
    wait_for 30 "the menu to close after \"$1\"" menu_closed
}
# menu_painted SHOT BEFORE: takes a screenshot of the whole screen into SHOT and succeeds once
# the menu has painted. Until then the item's place shows what BEFORE, taken before the menu
# opened, shows there, or the bare black screen: the same picture, or one colour.
menu_painted() {
    import -window root "$1" || return 1
    [[ $(convert "$1" -crop "$item_place" -format %# info:) != \
        $(convert "$2" -crop "$item_place" -format %# info:) ]] &&
        (( $(convert "$1" -crop "$item_place" -format %k info:) > 2 ))
}
