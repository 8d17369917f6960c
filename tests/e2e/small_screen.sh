#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# A laptop's screen, 1366x768, at 150 %: the main window, taller than the
# screen, opens centred across it with its title bar at the top; every other
# window opens wholly on the screen, Help shrunk to fit. Then the date dialog
# in Arabic, for its picture (tst_getdate measures its day names).
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen 1366x768
export QT_SCALE_FACTOR=1.5
MAIN_SIZE=891x812

# expect_on_screen NAME WINDOW: the window's whole frame is on the screen.
expect_on_screen() {
    local frame x y width height
    frame=$(window_frame "$2")
    read -r x y width height <<<"$frame"
    { [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le "${SCREEN_SIZE%x*}" ] &&
        [ $((y + height)) -le "${SCREEN_SIZE#*x}" ]; } ||
        fail "the $1's frame, ${width}x$height at $x,$y, is not wholly on the screen"
}

# Keys open a window; its frame is checked; keys close it.
expect_window_on_screen() {
    local open=$1 title=$2 close=$3 window
    # shellcheck disable=SC2086 # key lists
    [ -z "$open" ] || xdotool key $open
    window=$(wait_window "^$title\$")
    expect_on_screen "$title" "$window"
    # shellcheck disable=SC2086
    xdotool key $close
    wait_gone "^$title\$"
}

# A bad month.dat brings up an error box before the main window, and
# another over it for the row that cannot be drawn.
dir=$(install_copy)
printf 'abc\r\n' >"$dir/month.dat"
start_app "$dir"
window=$(wait_error_box)
expect_on_screen "first error box" "$window"
xdotool key Return
main=$(wait_main_window) # once the first box has gone
window=$(wait_error_box)
expect_on_screen "second error box" "$window"
xdotool key Return
wait_error_box_gone
frame=$(window_frame "$main")
read -r x y width height <<<"$frame"
[ "$y" -eq 0 ] || fail "the main window's title bar is at y = $y, not at the top of the screen"
off_centre=$((2 * x + width - ${SCREEN_SIZE%x*})) # twice the distance
{ [ "$off_centre" -ge -2 ] && [ "$off_centre" -le 2 ]; } ||
    fail "the main window, ${width}x$height at $x,$y, is not centred across the screen"

# From "Add Date...", which has the focus: its dialog; Set Manually, two Tabs
# on, with its input box and its warning; Help; About..., three back.
expect_window_on_screen space 'Select Date' Escape
expect_window_on_screen 'Tab Tab space' 'Length of Cycle' 'x Return'
expect_window_on_screen '' 'Warning' Return
expect_window_on_screen alt+h 'Nuvalora Help' alt+c
expect_window_on_screen 'shift+Tab shift+Tab shift+Tab space' 'About Nuvalora' alt+c
xdotool key alt+c
wait_exit "$APP_PID" 30

APP_LANG=ar_EG.UTF-8 start_app "$(install_copy)"
wait_main_window >/dev/null
xdotool key space
window=$(wait_window '^Select Date$')
shot small-screen-arabic-date "$window"
xdotool key Escape alt+c
wait_exit "$APP_PID" 30
echo "PASS: on a 1366x768 screen at 150 % every window's title bar is on the screen, Help fits"
