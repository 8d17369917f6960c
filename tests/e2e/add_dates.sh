#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Adding dates through the real date dialog: the first with Enter (the
# calendar starts on 13 April 2001, day 36994), the second picked with the
# calendar's own keys. Close writes exactly those day texts to month.dat.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen
dir=$(install_copy)
start_app "$dir"
main=$(wait_main_window)

# "Add Date..." has the focus at start: Enter presses it; OK has the focus in
# the dialog at its first opening: Enter again takes 13 April 2001.
xdotool key Return
dialog=$(wait_window '^Select Date$')
shot date-dialog "$dialog"
xdotool key Return
wait_gone '^Select Date$'
first=36994
expect_results_text "$main" "$(report_text typical 28 "$first")"

# The dialog opens again on the day it closed on. Clicking that day focuses
# the calendar without changing the day; then the arrow keys move it.
press_button "$main" add
dialog=$(wait_window '^Select Date$')
cell=$(selected_day_cell "$dialog")
read -r x y <<<"$cell"
xdotool mousemove --window "$dialog" "$x" "$y" click 1
keys=(Right Right Down Down Down Down Left Left Up Down)
offset=0
for key in "${keys[@]}"; do
    case $key in
        Right) offset=$((offset + 1)) ;;
        Left) offset=$((offset - 1)) ;;
        Down) offset=$((offset + 7)) ;;
        Up) offset=$((offset - 7)) ;;
    esac
    xdotool key "$key"
    sleep 0.05
done
shot date-dialog-keys "$dialog"
xdotool key Return # Enter in the calendar is OK
wait_gone '^Select Date$'
second=$((first + offset))

# The picture first: copying the report below leaves it selected.
shot main-window "$main"
expect_results_text "$main" "$(report_text automatic $((second - first)) "$second")"

xdotool key alt+c
expect_ended_with_store "$dir" "$first" "$second"
echo "PASS: month.dat holds $first and $second, each with CR LF"
