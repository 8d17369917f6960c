#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# A laptop's screen, 1366x768, at 150 %: the main window (893 pixels high
# with its frame) is taller than the screen, so it opens at the top with its
# title bar on the screen, centred across; every other window opens wholly on
# the screen, Help shrunk to fit it. Then, in Arabic, the date dialog, whose
# picture shows its day names whole (tst_getdate measures them).
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen 1366x768
export QT_SCALE_FACTOR=1.5
MAIN_SIZE=891x812
screen_width=${SCREEN_SIZE%x*} screen_height=${SCREEN_SIZE#*x}

# expect_on_screen NAME WINDOW: the whole frame lies on the screen.
expect_on_screen() {
    local frame x y width height
    frame=$(window_frame "$2")
    read -r x y width height <<<"$frame"
    { [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le "$screen_width" ] &&
        [ $((y + height)) -le "$screen_height" ]; } ||
        fail "the $1's frame, ${width}x$height at $x,$y, is not wholly on the $SCREEN_SIZE screen"
}

# A bad month.dat brings an error box up before the main window, and one
# over it for the row that cannot be drawn.
dir=$(install_copy)
printf 'abc\r\n' >"$dir/month.dat"
start_app "$dir"
box=$(wait_error_box)
expect_on_screen "error box" "$box"
xdotool key Return
main=$(wait_main_window)
box=$(wait_error_box)
expect_on_screen "error box over the main window" "$box"
shot small-screen-error
xdotool key Return
wait_error_box_gone

# Taller than the screen: the frame's top at the screen's, centred across.
frame=$(window_frame "$main")
read -r x y width height <<<"$frame"
[ "$height" -gt "$screen_height" ] || fail "the main window, ${width}x$height, fits the screen"
[ "$y" -eq 0 ] || fail "the main window's title bar is at y = $y, not at the top of the screen"
off_centre=$((x - (screen_width - width) / 2))
{ [ "$off_centre" -ge -1 ] && [ "$off_centre" -le 1 ]; } ||
    fail "the main window, ${width}x$height at $x,$y, is not centred across the screen"
shot small-screen-main

# From "Add Date...", which has the focus: its dialog; Tab twice to Set
# Manually, whose input box and warning; Shift+Tab from it to About...
xdotool key space
window=$(wait_window '^Select Date$')
expect_on_screen "date dialog" "$window"
xdotool key Escape
wait_gone '^Select Date$'
xdotool key Tab Tab space
window=$(wait_window '^Length of Cycle$')
expect_on_screen "input box" "$window"
xdotool type x
xdotool key Return
window=$(wait_window '^Warning$')
expect_on_screen "warning box" "$window"
xdotool key Return
wait_gone '^Warning$'
xdotool key alt+h
help=$(wait_window '^Nuvalora Help$')
expect_on_screen "help dialog" "$help"
shot small-screen-help
xdotool key alt+c
wait_gone '^Nuvalora Help$'
xdotool key shift+Tab shift+Tab shift+Tab space
window=$(wait_window '^About Nuvalora$')
expect_on_screen "About box" "$window"
xdotool key alt+c
wait_gone '^About Nuvalora$'
xdotool key alt+c
status=0
wait_exit "$APP_PID" 30 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"

# The date dialog in Arabic, for the picture.
dir=$(install_copy)
APP_LANG=ar_EG.UTF-8 start_app "$dir"
wait_main_window >/dev/null
xdotool key space
dialog=$(wait_window '^Select Date$')
expect_on_screen "Arabic date dialog" "$dialog"
shot small-screen-arabic-date "$dialog"
xdotool key Escape alt+c
wait_exit "$APP_PID" 30
echo "PASS: on a 1366x768 screen at 150 % every window's title bar is on the screen, Help fits"
