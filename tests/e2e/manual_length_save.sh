#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Set Manually through the input box, then Save to File through the real save
# dialog: the saved file holds the five report lines, each followed by CR LF.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen
dir=$(install_copy)
start_app "$dir"
main=$(wait_main_window)

add_first_date # 13 April 2001
last=36994

# The input box opens with the length box's text (28) selected: typing
# replaces it.
press_button "$main" setlength
box=$(wait_window '^Length of Cycle$')
shot length-of-cycle "$box"
length=31
xdotool type --delay 50 "$length"
xdotool key Return
wait_gone '^Length of Cycle$'
report=$(report_text manual "$length" "$last")
expect_results_text "$main" "$report"

# The save dialog's file-name box has the focus; a full path and Enter save.
target="$E2E_TMP/saved results/plan.txt"
mkdir -p "$(dirname "$target")"
press_button "$main" save
dialog=$(wait_window '^Save As$')
shot save-dialog "$dialog"
xdotool key ctrl+a
xdotool type --delay 20 "$target"
xdotool key Return
wait_gone '^Save As$'
for _ in $(seq 100); do
    [ -s "$target" ] && break
    sleep 0.1
done
[ -f "$target" ] || fail "nothing saved at $target"

expected=$(printf '%s\n' "$report" | sed 's/$/\r/' | od -An -tx1 -v | tr -d ' \n')
if [ "$(hexof "$target")" != "$expected" ]; then
    od -c "$target" >&2
    fail "the saved file is not the five report lines with CR LF"
fi
[ "$(sed -n 3p "$target")" = $' \r' ] || fail "the third saved line is not a single space"

xdotool key alt+c
expect_ended_with_store "$dir" 36994
echo "PASS: manual length $length; saved $(wc -c <"$target") bytes as expected"
