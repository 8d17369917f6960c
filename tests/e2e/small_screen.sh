#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# A laptop's screen, 1366x768, at 150 %, with a 40-pixel panel along the top:
# the main window, taller than the free area below the panel, opens centred
# across the screen with its title bar at the top of that area, and scrolls:
# Save to File is reached with the mouse wheel and clicked. Every window
# opens wholly in the free area. Then the date dialog in Arabic, for its
# picture (tst_getdate measures its day names).
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen 1366x768
xmessage -name panel -geometry 1366x40+0+0 panel >/dev/null 2>&1 &
E2E_PIDS+=($!)
xprop -id "$(wait_window '^panel$')" -f _NET_WM_STRUT_PARTIAL 32c \
    -set _NET_WM_STRUT_PARTIAL 0,0,40,0,0,0,0,0,0,1365,0,0
for _ in $(seq 50); do
    xprop -root _NET_WORKAREA | grep -q '= 0, 40, 1366, 728,' && break
    sleep 0.1
done
export QT_SCALE_FACTOR=1.5
MAIN_SIZE=914x704 # scrolled: as large as the free area allows

# expect_on_screen NAME WINDOW: the window's whole frame is in the free area.
expect_on_screen() {
    local frame x y width height
    frame=$(window_frame "$2")
    read -r x y width height <<<"$frame"
    { [ "$x" -ge 0 ] && [ "$y" -ge 40 ] && [ $((x + width)) -le "${SCREEN_SIZE%x*}" ] &&
        [ $((y + height)) -le "${SCREEN_SIZE#*x}" ]; } ||
        fail "the $1's frame, ${width}x$height at $x,$y, is not wholly in the free area"
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
expect_on_screen "main window" "$main"
frame=$(window_frame "$main")
read -r x y width height <<<"$frame"
[ "$y" -le 42 ] || fail "the main window's title bar is at y = $y, not at the panel's edge"
off_centre=$((2 * x + width - ${SCREEN_SIZE%x*})) # twice the distance
{ [ "$off_centre" -ge -2 ] && [ "$off_centre" -le 2 ]; } ||
    fail "the main window, ${width}x$height at $x,$y, is not centred across the screen"

# The wheel over the empty column above Close scrolls to the end, where
# Save to File stands 33 pixels (as designed) above the bottom edge. From
# it, back to Print Results, Set Manually and Add Date...; Help; About....
xdotool mousemove --window "$main" 790 150 click --repeat 5 5
xdotool mousemove --window "$main" 583 $((${MAIN_SIZE#*x} - 50)) click 1
expect_window_on_screen '' 'Save As' Escape
expect_window_on_screen 'shift+Tab space' 'Print' Escape
expect_window_on_screen 'shift+Tab space' 'Length of Cycle' 'x Return'
expect_window_on_screen '' 'Warning' Return
expect_window_on_screen 'shift+Tab shift+Tab space' 'Select Date' Escape
expect_window_on_screen alt+h 'Nuvalora Help' alt+c
expect_window_on_screen 'shift+Tab space' 'About Nuvalora' alt+c
xdotool key alt+c
wait_exit "$APP_PID" 30

APP_LANG=ar_EG.UTF-8 start_app "$(install_copy)"
wait_main_window >/dev/null
xdotool key space
window=$(wait_window '^Select Date$')
shot small-screen-arabic-date "$window"
xdotool key Escape alt+c
wait_exit "$APP_PID" 30
echo "PASS: on a 1366x768 screen at 150 % with a panel every window is in the free area"
