#!/usr/bin/env bash
# A month.dat that the program cannot read (mode 0200, in a folder of the
# user's own) is never replaced by the empty list the program starts with:
# Close, and SIGTERM while the start-up error box is up, leave it byte
# for byte. A date entered in such a run is kept at Close in a new file beside
# it, month_kept_1.dat, with a box that says so; once month.dat reads again,
# the close adds the date to its rows.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"

# Root reads any file: run as root, the program goes without the
# capabilities that let it.
[ "$(id -u)" -ne 0 ] || export APP_WRAPPER="setpriv --bounding-set=-dac_override,-dac_read_search"

start_screen
dir=$(install_copy)
store="$dir/month.dat"
printf '36982\r\n36954\r\n' >"$store"
chmod 0200 "$store"
cp -p "$store" "$E2E_TMP/old.dat"

untouched() {
    if ! cmp -s "$store" "$E2E_TMP/old.dat" || [ "$(stat -c %a "$store")" != 200 ]; then
        fail "$1 changed month.dat: $(stat -c %s "$store") bytes, mode $(stat -c %a "$store")"
    fi
}

# Starts the program, answers the error box of the load; sets main.
start_unreadable() {
    start_app "$dir"
    key_in "$(wait_error_box "$APP_PID")" Return
    main=$(wait_main_window "$APP_PID")
}

# Adds 13 April 2001 (day 36994) with the date dialog's first day.
add_date() {
    key_in "$main" Return # Add Date... has the focus
    wait_window '^Select Date$' >/dev/null
    xdotool key Return
    wait_gone '^Select Date$'
}

ended_well() {
    wait_exit "$APP_PID" 20 || fail "the program ended with exit code $?"
    forget_pid "$APP_PID"
}

echo "== nothing entered: Close"
start_unreadable
request_close "$main"
ended_well
untouched "Close"

echo "== SIGTERM while the start-up error box is up"
start_app "$dir"
wait_error_box "$APP_PID" >/dev/null
kill -TERM "$APP_PID"
ended_well
untouched "SIGTERM"

echo "== a date entered: Close keeps it beside month.dat and says so"
start_unreadable
add_date
request_close "$main"
box=$(wait_error_box "$APP_PID")
shot fault_unreadable_store_kept "$box"
key_in "$box" Return
ended_well
untouched "Close"
holds_lines "$dir/month_kept_1.dat" 36994 || fail "month_kept_1.dat does not hold the date"

echo "== a date entered, month.dat readable again by the close"
start_unreadable
add_date
chmod 0600 "$store"
request_close "$main"
ended_well
holds_lines "$store" 36954 36982 36994 || fail "month.dat does not hold its rows and the date"
[ ! -e "$dir/month_kept_2.dat" ] || fail "the date went beside month.dat as well"
echo "PASS: month.dat was never written over; the dates entered were kept"
