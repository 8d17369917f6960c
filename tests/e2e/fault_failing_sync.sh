#!/usr/bin/env bash
# A disk that cannot store what is written to it (fsync and fdatasync fail
# with EIO): the close shows the error box, the window stays open and
# month.dat stays byte for byte as it was; SIGTERM then ends the program
# without a box, month.dat still as it was.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"
: "${E2E_FAILING_SYNC:?set E2E_FAILING_SYNC to the library that makes syncs fail}"

start_screen
dir=$(install_copy)
store="$dir/month.dat"
# Out of order with LF line ends, so that any save would change it.
printf '37000\n36954\n' >"$store"
cp "$store" "$E2E_TMP/old.dat"
APP_WRAPPER="env LD_PRELOAD=$E2E_FAILING_SYNC" start_app "$dir"
main=$(wait_main_window "$APP_PID")

# Close with its own key: a window manager's Alt+F4 as the first key on a new
# screen now and then goes to the program instead.
key_in "$main" alt+c
box=$(wait_error_box "$APP_PID")
shot fault_failing_sync_box "$box"
[ "$(main_window_of "$APP_PID")" = "$main" ] || fail "the main window went with the failed close"
cmp -s "$store" "$E2E_TMP/old.dat" || fail "month.dat changed: $(hexof "$store")"
[ -z "$(find "$dir" -mindepth 1 ! -name nuvalora ! -name month.dat)" ] ||
    fail "files left beside month.dat"
key_in "$box" Return
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after the failed close"

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 20 || fail "SIGTERM ended the program with exit code $?"
cmp -s "$store" "$E2E_TMP/old.dat" || fail "month.dat changed at SIGTERM: $(hexof "$store")"
echo "PASS: the failed sync was reported at the close and kept the old month.dat"
