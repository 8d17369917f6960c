#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# A laptop's screen, 1366x768, at 150 %, with a 40-pixel panel along the top:
# every window opens wholly in the free area that the panel leaves. The main
# window, taller than that area, opens at its top, centred across the
# screen, and scrolls its contents: the mouse wheel brings Save to File into
# view, and a click on it opens the save dialog. Then the error boxes of a
# bad month.dat, and the date dialog in Arabic, for its picture (tst_getdate
# measures its day names).
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
    read -r AREA_X AREA_Y AREA_WIDTH AREA_HEIGHT _ < <(xprop -root _NET_WORKAREA |
        sed 's/^[^=]*= *//; s/,/ /g')
    [ "$AREA_Y" -eq 40 ] && break
    sleep 0.1
done
[ "$AREA_Y" -eq 40 ] || fail "the panel did not take its strip from the free area"
export QT_SCALE_FACTOR=1.5

# expect_in_free_area NAME WINDOW: the window's whole frame is in the free area.
expect_in_free_area() {
    local frame x y width height
    frame=$(window_frame "$2")
    read -r x y width height <<<"$frame"
    { [ "$x" -ge "$AREA_X" ] && [ "$y" -ge "$AREA_Y" ] &&
        [ $((x + width)) -le $((AREA_X + AREA_WIDTH)) ] &&
        [ $((y + height)) -le $((AREA_Y + AREA_HEIGHT)) ]; } ||
        fail "the $1's frame, ${width}x$height at $x,$y, is not wholly in the free area"
}

# Keys open a window; its frame is checked; keys close it.
expect_window_in_free_area() {
    local open=$1 title=$2 close=$3 window
    # shellcheck disable=SC2086 # key lists
    [ -z "$open" ] || xdotool key $open
    window=$(wait_window "^$title\$")
    expect_in_free_area "$title" "$window"
    # shellcheck disable=SC2086
    xdotool key $close
    wait_gone "^$title\$"
}

start_app "$(install_copy)"
main=$(wait_window "$TITLE")
MAIN_SIZE=$(window_size "$main") # scrolled, so not the designed size
expect_in_free_area "main window" "$main"
read -r x y width height <<<"$(window_frame "$main")"
[ "$y" -le $((AREA_Y + 2)) ] || fail "the main window's title bar is at y = $y, below the panel"
off_centre=$((2 * x + width - ${SCREEN_SIZE%x*})) # twice the distance
{ [ "$off_centre" -ge -2 ] && [ "$off_centre" -le 2 ]; } ||
    fail "the main window, ${width}x$height at $x,$y, is not centred across the screen"
shot small-screen-main
# The wheel over the empty column above Close scrolls to the end, where
# Save to File stands 33 pixels (as designed) above the bottom edge.
xdotool mousemove --window "$main" 790 150 click --repeat 5 5
xdotool mousemove --window "$main" 583 $((${MAIN_SIZE#*x} - 50)) click 1
expect_window_in_free_area '' 'Save As' Escape
# From Save to File, back to each of the other windows.
expect_window_in_free_area 'shift+Tab space' 'Print' Escape
expect_window_in_free_area 'shift+Tab space' 'Length of Cycle' 'x Return'
expect_window_in_free_area '' 'Warning' Return
expect_window_in_free_area 'shift+Tab shift+Tab space' 'Select Date' Escape
expect_window_in_free_area alt+h 'Nuvalora Help' alt+c
expect_window_in_free_area 'shift+Tab space' 'About Nuvalora' alt+c
xdotool key alt+c
wait_exit "$APP_PID" 30

# A bad month.dat brings up an error box before the main window, and
# another over it for the row that cannot be drawn.
dir=$(install_copy)
printf 'abc\r\n' >"$dir/month.dat"
APP_LANG=ar_EG.UTF-8 start_app "$dir"
expect_in_free_area "first error box" "$(wait_error_box)"
xdotool key Return
wait_main_window >/dev/null # once the first box has gone
expect_in_free_area "second error box" "$(wait_error_box)"
xdotool key Return
wait_error_box_gone
xdotool key space
window=$(wait_window '^Select Date$')
shot small-screen-arabic-date "$window"
xdotool key Escape alt+c
wait_exit "$APP_PID" 30
echo "PASS: on a 1366x768 screen at 150 % with a panel every window is in the free area"
