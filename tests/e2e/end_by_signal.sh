#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The system ends the program with SIGTERM, SIGHUP or SIGINT (a session
# without a session manager ending, systemd, a shutdown, a closed terminal):
# the dates added since the start are kept, without a word, and the program
# ends with exit code 0, also while one of its modal windows is open. A second
# signal while the first is handled changes nothing; a store that cannot be
# written shows no box either. Started with SIGHUP and SIGINT ignored (nohup,
# a script's background job), the program keeps ignoring them.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

start_screen
dir=$(install_copy)

# Starts the program on one stored date and adds 13 April 2001; sets main.
start_and_add() {
    printf '36966\r\n' >"$dir/month.dat"
    start_app "$dir"
    main=$(wait_main_window)
    add_first_date
}

# Opens one of the program's modal windows: open_window NAME
open_window() {
    case $1 in
        none) return 0 ;;
        date) press_button "$main" add && wait_window '^Select Date$' ;;
        input) press_button "$main" setlength && wait_window '^Length of Cycle$' ;;
        save) press_button "$main" save && wait_window '^Save As$' ;;
        print) press_button "$main" print && wait_window '^Print$' ;;
        error) press_button "$main" print && wait_error_box ;; # no printer to be had
        *) fail "no window '$1'" ;;
    esac >/dev/null
}

for case in TERM:none HUP:date INT:input TERM:save HUP:print INT:error; do
    signal=${case%%:*} window=${case#*:}
    echo "== SIG$signal with the window '$window' open"
    if [ "$window" = error ]; then
        CUPS_SERVER=$E2E_TMP/no-cups start_and_add
    else
        start_and_add
    fi
    open_window "$window"
    kill -s "$signal" "$APP_PID"
    expect_ended_with_store "$dir" 36966 36994
done

echo "== started through nohup with SIGINT ignored: both stay ignored"
APP_WRAPPER="nohup env --ignore-signal=INT" start_and_add
kill -HUP "$APP_PID"
kill -INT "$APP_PID"
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "a signal ignored at the start ended the program"
[ -n "$(visible_main_window)" ] || fail "the main window went after the ignored signals"
kill -TERM "$APP_PID"
expect_ended_with_store "$dir" 36966 36994

echo "== two signals while the dates of a long list are being kept"
seq 1 1000000 | sed 's/$/\r/' >"$dir/month.dat"
{ cat "$dir/month.dat"; printf '36994\r\n'; } | LC_ALL=C sort -f >"$E2E_TMP/expected"
start_app "$dir"
main=$(wait_main_window 60)
add_first_date
kill -TERM "$APP_PID"
sleep 0.02
kill -TERM "$APP_PID" 2>/dev/null || true
status=0
wait_exit "$APP_PID" 60 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
cmp -s "$dir/month.dat" "$E2E_TMP/expected" || fail "month.dat does not hold the list and the new date"

echo "== a store that cannot be written: no box, exit code 0"
# month.dat stands for a file in a folder that is not there.
ln -sf "$E2E_TMP/nowhere/month.dat" "$dir/month.dat"
start_app "$dir"
main=$(wait_main_window)
add_first_date
kill -TERM "$APP_PID"
status=0
wait_exit "$APP_PID" 20 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
echo "PASS: every signal kept the dates quietly and ended the program with exit code 0"
