# shellcheck shell=bash
# Sourced, after wait_for.sh, by the smoke scripts that work the main window as a person does.

# start_program PROGRAM: starts it (ended with the script), sets $pid and $window, and brings
# the main window to the front. A sanitizer build starts slowly.
start_program() {
    "$1" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    window=$(wait_for 60 "the main window" quorvane_window)
    xdotool windowactivate --sync "$window"
}
not_running() { ! kill -0 "$pid" 2>/dev/null; }
# close_program: closes the main window, which ends the program; returns its exit status.
close_program() {
    local status=0
    xdotool windowactivate --sync "$window" key alt+F4
    wait_for 30 "the program to end when its main window closed" not_running || return 1
    wait "$pid" || status=$?
    trap - EXIT
    return "$status"
}

# The first visible window named "Quorvane" other than the one given (none: any of them).
quorvane_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Quorvane$'); do
        [[ "$id" != "${1:-}" ]] && { echo "$id"; return 0; }
    done
    return 1
}
box_gone() { ! quorvane_window "$window" >/dev/null; }

# Places are in the window's own coordinates, as designed.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# dismiss_box WHAT: the message box that the last step brings up over the main window, answered
# with its default button. The waits are long enough for a sanitizer build.
dismiss_box() {
    local box
    box=$(wait_for 30 "$1" quorvane_window "$window")
    xdotool windowactivate --sync "$box" key Return
    wait_for 10 "$1 to close" box_gone
}

# split_line LINE: types LINE into the line box, presses "Start Splitting" and answers "Done.".
split_line() {
    click 268 62        # into "Paste Long Line Here"
    xdotool type --delay 5 "$1"
    click 268 170       # "Start Splitting"
    dismiss_box "the \"Done.\" box"
}
