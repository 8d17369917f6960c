#!/usr/bin/env bash
# Starting the program again while it runs on the same month.dat opens no
# second window: the running copy comes forward (its date dialog, when that
# is open), the new start ends with exit code 0, and the date entered in the
# running copy is kept; a copy that is closing, saving on a slow disk, is
# waited for, and the new start opens on the list it saved. Two starts at the
# same moment give one window. A copy that was killed or stopped does not keep
# the program from starting; copies in two folders run side by side, each
# keeping its own month.dat.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"
# The library is loaded before the sanitizers' runtime, which must be told so.
SLOW_ASAN=${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0}

started=$SECONDS
start_screen
dir=$(install_copy)
store="$dir/month.dat"

# Another program's window in front, which a start that brings the program
# forward must take the place of.
xmessage -name e2e-other -geometry 400x300+0+0 other >/dev/null 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do
    other=$(xdotool search --onlyvisible --classname '^e2e-other$' 2>/dev/null | head -n 1) && break
    sleep 0.1
done
[ -n "$other" ] || fail "the other window did not show"

# Starts the program again in that folder, with the other window in front:
# it must end with exit code 0, never show a main window, and leave the given
# window active.
start_again() {
    local expected=$1 pid status=0
    xdotool windowactivate --sync "$other" >/dev/null 2>&1
    start_app "$dir"
    pid=$APP_PID
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        main_window_of "$pid" >/dev/null && fail "the second start opened a main window"
        sleep 0.1
    done
    wait_exit "$pid" 1 || status=$?
    [ "$status" -eq 0 ] || fail "the second start ended with exit code $status"
    forget_pid "$pid"
    for _ in $(seq 50); do
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$expected" ] && return 0
        sleep 0.1
    done
    fail "window $expected was not brought forward (active: $(xdotool getactivewindow 2>/dev/null))"
}

# Closes the main window and waits for the program to end well.
close_copy() {
    request_close "$2"
    wait_exit "$1" 30 || fail "the copy did not end well"
    forget_pid "$1"
}

echo "== started again while a copy runs, its date dialog open, then without it"
printf '36954\r\n' >"$store"
start_app "$dir"
first=$APP_PID
main=$(wait_main_window "$first")
key_in "$main" Return # Add Date... has the focus
dialog=$(wait_window '^Select Date$')
start_again "$dialog"
key_in "$dialog" Return # OK: 13 April 2001
wait_gone '^Select Date$'
start_again "$main"
[ "$(titled_windows | wc -l)" -eq 1 ] || fail "more than the one main window: $(titled_windows)"
close_copy "$first" "$main"
holds_lines "$store" 36954 36994 || fail "month.dat does not hold the running copy's dates: $(hexof "$store")"

echo "== started again while a copy closes, saving on a slow disk"
APP_WRAPPER="env LD_PRELOAD=$E2E_FAILING_SYNC E2E_SLOW_SYNC_SECONDS=2 $SLOW_ASAN" start_app "$dir"
closing=$APP_PID
main=$(wait_main_window "$closing")
key_in "$main" Return # Add Date...
dialog=$(wait_window '^Select Date$')
key_in "$dialog" Return # OK: 13 April 2001 once more
wait_gone '^Select Date$'
request_close "$main"
sleep 1
start_app "$dir"
later=$APP_PID
wait_exit "$closing" 30 || fail "the closing copy did not end well"
forget_pid "$closing"
main=$(wait_main_window "$later")
close_copy "$later" "$main"
holds_lines "$store" 36954 36994 36994 ||
    fail "the later start did not open on the list the closing copy saved: $(hexof "$store")"

echo "== two starts at the same moment"
start_app "$dir"
one=$APP_PID
start_app "$dir"
two=$APP_PID
for _ in $(seq 200); do
    if ! kill -0 "$one" 2>/dev/null || ! kill -0 "$two" 2>/dev/null; then break; fi
    sleep 0.1
done
if kill -0 "$one" 2>/dev/null; then running=$one ended=$two; else running=$two ended=$one; fi
wait_exit "$ended" 1 || fail "the start that ended had exit code $?"
forget_pid "$ended"
main=$(wait_main_window "$running")
sleep 1
[ "$(titled_windows | wc -l)" -eq 1 ] || fail "two starts at once opened more than one window"
close_copy "$running" "$main"

echo "== a killed copy, then a stopped one"
start_app "$dir"
killed=$APP_PID
wait_main_window "$killed" >/dev/null
kill -KILL "$killed"
wait "$killed" 2>/dev/null || true
forget_pid "$killed"
[ -n "$(find "$XDG_RUNTIME_DIR" -name 'nuvalora-*' -type s)" ] ||
    fail "the killed copy left no name behind: nothing is tested"
start_app "$dir"
after=$APP_PID
main=$(wait_main_window "$after")
# The new copy took the name over: a start after it is answered.
start_again "$main"
kill -STOP "$after"
start_app "$dir"
beside=$APP_PID
# A stopped copy counts as gone once it has not answered for a few seconds.
wait_main_window "$beside" 20 >/dev/null
kill -KILL "$after" "$beside"
wait "$after" "$beside" 2>/dev/null || true
forget_pid "$after"
forget_pid "$beside"

echo "== two folders side by side"
other_dir=$(install_copy)
printf '37000\n36954\n' >"$store"
printf '37100\n36960\n' >"$other_dir/month.dat"
start_app "$dir"
first=$APP_PID
main=$(wait_main_window "$first")
start_app "$other_dir"
second=$APP_PID
other_main=$(wait_main_window "$second")
close_copy "$first" "$main"
close_copy "$second" "$other_main"
holds_lines "$store" 36954 37000 || fail "the first folder's month.dat does not hold its own list"
holds_lines "$other_dir/month.dat" 36960 37100 ||
    fail "the second folder's month.dat does not hold its own list"
echo "PASS in $((SECONDS - started)) s"
