#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# A month.dat holding "abc": the error box comes up before the main window is
# visible; after OK the main window shows (with a second error box for the
# row it cannot draw) and is usable; Close writes "abc" back with CR LF.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen
dir=$(install_copy)
printf 'abc\r\n' >"$dir/month.dat"
start_app "$dir"

# The error box carries the program's title too: it is told apart from the
# main window by its size.
box=$(wait_error_box)
shot bad-store-error "$box"
[ "$(window_size "$box")" != "$MAIN_SIZE" ] || fail "the error box has the main window's size"
[ -z "$(visible_main_window)" ] || fail "the main window is visible while the error box is up"
# The main window exists but is not mapped yet.
for id in $(xdotool search --name "$TITLE" 2>/dev/null); do
    if [ "$(window_size "$id")" = "$MAIN_SIZE" ]; then
        xwininfo -id "$id" | grep -q 'Map State: IsViewable' &&
            fail "the main window is mapped while the error box is up"
    fi
done
first_box_size=$(window_size "$box")
xdotool key Return # OK

main=$(wait_main_window)
# The row "abc" cannot be drawn either: a second error box, with the longer
# floating-point message.
box=$(wait_error_box)
shot bad-store-row-error "$box"
second_box_size=$(window_size "$box")
[ "${second_box_size%x*}" -gt "${first_box_size%x*}" ] ||
    fail "the row's error box ($second_box_size) is not wider than the reading error's ($first_box_size)"
xdotool key Return
wait_error_box_gone
# Reporting the row's error must not set off further reports of it.
expect_no_error_box 2
shot bad-store-main "$main"
# The report stopped at the row it could not read: only the length line.
expect_results_text "$main" "Using a typical length of menstrual cycle of 28"
expect_no_error_box 1

# The window takes clicks and keys: Set Manually opens its input box, Escape
# cancels it without a word; a length that is no number brings the warning.
press_button "$main" setlength
wait_window '^Length of Cycle$' >/dev/null
xdotool key Escape
wait_gone '^Length of Cycle$'
[ -z "$(visible_error_box)" ] || fail "cancelling the input box showed an error box"
[ -z "$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null)" ] ||
    fail "cancelling the input box showed a warning"
press_button "$main" setlength
wait_window '^Length of Cycle$' >/dev/null
xdotool type --delay 50 "x"
xdotool key Return
wait_window '^Warning$' >/dev/null
xdotool key Return
wait_gone '^Warning$'
wait_gone '^Length of Cycle$'
expect_results_text "$main" "Using a typical length of menstrual cycle of 28"

press_button "$main" close
status=0
wait_exit "$APP_PID" 30 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
[ "$(hexof "$dir/month.dat")" = "$(printf 'abc\r\n' | od -An -tx1 -v | tr -d ' \n')" ] ||
    fail "month.dat holds $(hexof "$dir/month.dat"), expected abc CR LF"
echo "PASS: error box before the main window, then a usable window; abc kept"
