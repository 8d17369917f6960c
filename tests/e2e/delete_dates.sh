#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Deleting dates with the mouse, as a user does: a click on a row, then
# Delete Date twice. The first press deletes that row; the list then selects
# nothing, so the second press deletes nothing, and Edit Date shows no
# dialog. Done for the last, the first and a middle row of five; Close
# leaves the two untouched dates in month.dat.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen
dir=$(install_copy)
# Five dates 28 days apart from 13 April 2001, stored one a line.
days=(36994 37022 37050 37078 37106)
printf '%s\r\n' "${days[@]}" >"$dir/month.dat"
start_app "$dir"
main=$(wait_main_window)

# Clicks row i of the date list: the list's client corner lies at (26, 50)
# in the window (group box, list, frame), and its rows are 13 pixels high.
click_row() {
    xdotool mousemove --window "$main" 80 $((50 + 13 * $1 + 6)) click 1
}

delete_twice() {
    click_row "$1"
    sleep 0.2
    press_button "$main" delete
    sleep 0.2
    press_button "$main" delete
    sleep 0.2
    # Nothing is selected now: Edit Date asks for no date.
    press_button "$main" edit
    sleep 0.5
    xdotool search --onlyvisible --name '^Select Date$' >/dev/null 2>&1 &&
        fail "Edit Date showed the date dialog with nothing selected"
    return 0
}

delete_twice 4 # the last row: 37106 goes
delete_twice 0 # the first row: 36994 goes
shot after-deleting "$main"
delete_twice 1 # the middle one of 37022 37050 37078: 37050 goes
expect_results_text "$main" "$(report_text automatic 56 37078)"

xdotool key alt+c
expect_ended_with_store "$dir" 37022 37078
echo "PASS: each Delete Date pair deleted only the clicked row"
