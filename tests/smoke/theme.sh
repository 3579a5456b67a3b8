#!/usr/bin/env bash
# The real program in a real X session, once from a folder holding only the program and once
# from one that also holds the skin and the hand pointer: screenshots of both windows, their
# background colours, and the pointer shown over a button and over a list.
# Usage: theme.sh <path-to-quorvane> <build-dir>
set -euo pipefail

program=$1
build_dir=$2

for tool in Xvfb xdotool import convert python3; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

if [[ -z "${QUORVANE_SMOKE_IN_X:-}" ]]; then
    QUORVANE_SMOKE_IN_X=1 exec bash "$(dirname "$0")/support/x_session.sh" bash "$0" "$@"
fi
source "$(dirname "$0")/support/wait_for.sh"
source "$(dirname "$0")/support/x_pointer.sh"

unset QT_QPA_PLATFORM
out="$build_dir/smoke"
mkdir -p "$out"
program_folder=$(dirname "$program")
for file in x/o.cjs HAND-M.CUR; do
    [[ -f "$program_folder/$file" ]] || { echo "the build left no $file beside the program" >&2; exit 1; }
done

work=$(mktemp -d)
pid=""
cleanup() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "$*" >&2
    exit 1
}

# The one visible window of the program with the given client size.
window_of_size() {
    local want=$1
    for id in $(xdotool search --onlyvisible --pid "$pid"); do
        if xdotool getwindowgeometry "$id" | grep -q "Geometry: $want"; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

visible_window_of_size() {
    wait_for 30 "a visible window of size $1" window_of_size "$1"
}

# The colour of the screenshot at a point of a window's client area, as #RRGGBB.
colour_at() {  # screenshot, window, x, y
    local origin x0 y0
    origin=$(xdotool getwindowgeometry "$2" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
    read -r x0 y0 <<<"$origin"
    convert "$1" -crop "1x1+$((x0 + $3))+$((y0 + $4))" -depth 8 txt:- |
        grep -o '#[0-9A-F]\{6\}' | head -n 1
}

hand=32x32+5+0
pointer_is() { [[ $(pointer_image) == "$1" ]]; }
pointer_is_not() { [[ $(pointer_image) != "$1" ]]; }

# Moves the pointer over a point and prints the pointer shown there once the program has
# switched it: with the hand file a button switches to the hand and the list away from it.
pointer_over() {  # window, x, y, what is under it: button or list
    xdotool mousemove --window "$1" "$2" "$3"
    # A second small move: the hover rules follow the pointer's moves.
    xdotool mousemove --window "$1" "$(($2 + 1))" "$3"
    case $variant:$4 in
        skinned:button)
            wait_for 5 "the hand pointer over a button" pointer_is "$hand" || return 1 ;;
        skinned:list)
            wait_for 5 "the pointer over the list to leave the hand" pointer_is_not "$hand" || return 1 ;;
        # Without the hand file the shape is not meant to change, and a shape that stays as it
        # was leaves nothing to wait for: this gives the program time to handle the moves.
        *) sleep 0.5 ;;
    esac
    pointer_image
}

# A screenshot once the window has painted: until then its corner shows the bare black screen.
painted_screenshot() {  # screenshot, window
    import -window root "$1" && [[ $(colour_at "$1" "$2" 3 3) != "#000000" ]]
}

# Runs the program from `folder`, checks it and leaves screenshots named after `variant`.
run_variant() {
    local variant=$1 folder=$2
    "$folder/quorvane" &
    pid=$!
    local main batch over_button over_list main_shot batch_shot
    main=$(visible_window_of_size 536x423)
    main_shot="$out/theme_main_$variant.png"
    wait_for 30 "the main window to paint" painted_screenshot "$main_shot" "$main"

    # Start Splitting: 120, 2370, 7800 x 405 twips; the results list below it at 2880.
    over_button=$(pointer_over "$main" 268 171 button)
    over_list=$(pointer_over "$main" 268 250 list)
    echo "$variant: pointer over a button $over_button, over the list $over_list"

    local main_colour
    main_colour=$(colour_at "$main_shot" "$main" 3 3)
    echo "$variant: main window background $main_colour"

    # Split Multiple Long Lines At Once: 3840, 120, 4080 x 405 twips.
    xdotool mousemove --window "$main" 392 21 click 1
    batch=$(visible_window_of_size 536x599)
    batch_shot="$out/theme_batch_$variant.png"
    wait_for 30 "the batch window to paint" painted_screenshot "$batch_shot" "$batch"
    local batch_colour
    batch_colour=$(colour_at "$batch_shot" "$batch" 3 3)
    echo "$variant: batch window background $batch_colour"

    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=""

    case $variant in
        plain)
            [[ $main_colour == "#FFFFFF" ]] || fail "without the skin the main window is $main_colour, not white"
            [[ $over_button == "$over_list" ]] ||
                fail "without the hand pointer file a button shows $over_button, the list $over_list"
            ;;
        skinned)
            [[ $main_colour != "#FFFFFF" ]] || fail "the skin did not recolour the main window"
            [[ $over_button == "32x32+5+0" ]] || fail "over a button the pointer is $over_button, not the hand"
            [[ $over_list != "32x32+5+0" ]] || fail "over the list the pointer is still the hand"
            ;;
    esac
    [[ $batch_colour != "#FFFFFF" ]] || fail "the batch window did not take the button-face colour"
    echo "$variant: screenshots $main_shot $batch_shot"
}

mkdir -p "$work/plain" "$work/skinned/x"
cp "$program" "$work/plain/quorvane"
cp "$program" "$work/skinned/quorvane"
cp "$program_folder/x/o.cjs" "$work/skinned/x/o.cjs"
cp "$program_folder/HAND-M.CUR" "$work/skinned/HAND-M.CUR"

run_variant plain "$work/plain"
run_variant skinned "$work/skinned"
echo "theme smoke test passed"
