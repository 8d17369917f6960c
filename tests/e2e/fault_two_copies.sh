#!/usr/bin/env bash
# Two copies of the program at once from the same folder. Both come up and
# work; they do not coordinate, so the copy closed last decides month.dat,
# which is always one copy's list, whole.
#
# The first copy loads list A; month.dat is then replaced by list B and the
# second copy loads that. Closing them one after the other leaves the list of
# the one closed last; closing them at the same moment, over and over with
# large lists, leaves one of the two lists whole.
#
#   FAULT_RACES  rounds of closing both at once (default 10)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"

races=${FAULT_RACES:-10}
started=$SECONDS
start_screen
dir=$(install_copy)
store="$dir/month.dat"

# Two lists of day texts, out of order and with LF line ends, so that each
# copy's save is different from both stored files and from the other's.
make_list() {
    perl -e 'srand($ARGV[0]); print 36000 + int(rand(60000)), "\n" for 1 .. $ARGV[1]' "$1" "$2" >"$3"
}

help_of() {
    local pid=$1 id
    for id in $(xdotool search --onlyvisible --name '^Nuvalora Help$' 2>/dev/null); do
        [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$pid" ] && { echo "$id"; return 0; }
    done
    return 1
}

# Opens the help dialog of that copy with Alt+H and closes it again.
use_help() {
    local pid=$1 main=$2 id=""
    key_in "$main" alt+h
    for _ in $(seq 200); do
        id=$(help_of "$pid") && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "Alt+H opened no help dialog in copy $pid"
    key_in "$id" alt+F4
    for _ in $(seq 200); do
        help_of "$pid" >/dev/null || return 0
        sleep 0.1
    done
    fail "the help dialog of copy $pid did not close"
}

# Starts copy one on list $1 and copy two on list $2; sets PID1 MAIN1 PID2
# MAIN2.
start_both() {
    cp "$1" "$store"
    start_app "$dir"
    PID1=$APP_PID
    MAIN1=$(wait_main_window "$PID1" 60)
    cp "$2" "$store"
    start_app "$dir"
    PID2=$APP_PID
    MAIN2=$(wait_main_window "$PID2" 60)
    [ "$MAIN1" != "$MAIN2" ] || fail "the two copies share a window"
    # Both still up, each with its own main window.
    [ "$(main_window_of "$PID1")" = "$MAIN1" ] || fail "the first copy's window went away"
    for pid in "$PID1" "$PID2"; do
        error_box_of "$pid" >/dev/null && fail "an error box in copy $pid"
    done
    return 0
}

end_both() {
    wait_exit "$PID1" 60 || fail "the first copy did not end well"
    wait_exit "$PID2" 60 || fail "the second copy did not end well"
    forget_pid "$PID1"
    forget_pid "$PID2"
}

# One after the other, in both orders, on small lists.
make_list 1 300 "$E2E_TMP/a.dat"
make_list 2 300 "$E2E_TMP/b.dat"
expected_after_save "$E2E_TMP/a.dat" "$E2E_TMP/a.saved"
expected_after_save "$E2E_TMP/b.dat" "$E2E_TMP/b.saved"
cmp -s "$E2E_TMP/a.saved" "$E2E_TMP/b.saved" && fail "the two lists would save alike"

start_both "$E2E_TMP/a.dat" "$E2E_TMP/b.dat"
use_help "$PID1" "$MAIN1"
use_help "$PID2" "$MAIN2"
request_close "$MAIN1"
wait_exit "$PID1" 30 || fail "the first copy did not end well"
cmp -s "$store" "$E2E_TMP/a.saved" || fail "the first copy's close did not save its list"
[ "$(main_window_of "$PID2")" = "$MAIN2" ] || fail "the second copy went with the first"
use_help "$PID2" "$MAIN2"
request_close "$MAIN2"
end_both
cmp -s "$store" "$E2E_TMP/b.saved" || fail "the copy closed last (the second) did not decide month.dat"
echo "first closed, then second: month.dat holds the second copy's list"

start_both "$E2E_TMP/a.dat" "$E2E_TMP/b.dat"
request_close "$MAIN2"
wait_exit "$PID2" 30 || fail "the second copy did not end well"
cmp -s "$store" "$E2E_TMP/b.saved" || fail "the second copy's close did not save its list"
use_help "$PID1" "$MAIN1"
request_close "$MAIN1"
end_both
cmp -s "$store" "$E2E_TMP/a.saved" || fail "the copy closed last (the first) did not decide month.dat"
echo "second closed, then first: month.dat holds the first copy's list"

# Both at once, on large lists, so that the two saves overlap.
make_list 3 1000000 "$E2E_TMP/a.dat"
make_list 4 1000000 "$E2E_TMP/b.dat"
expected_after_save "$E2E_TMP/a.dat" "$E2E_TMP/a.saved"
expected_after_save "$E2E_TMP/b.dat" "$E2E_TMP/b.saved"
a_sum=$(checksum "$E2E_TMP/a.saved")
b_sum=$(checksum "$E2E_TMP/b.saved")
first_won=0 second_won=0 last_won=0
for round in $(seq "$races"); do
    start_both "$E2E_TMP/a.dat" "$E2E_TMP/b.dat"
    # Alternate which close is asked for first; the two requests follow
    # each other within one xdotool run.
    if [ $((round % 2)) -eq 1 ]; then
        order=("$MAIN1" "$MAIN2") last_sum=$b_sum
    else
        order=("$MAIN2" "$MAIN1") last_sum=$a_sum
    fi
    xdotool windowactivate --sync "${order[0]}" key --clearmodifiers alt+F4 \
        windowactivate --sync "${order[1]}" key --clearmodifiers alt+F4 >/dev/null 2>&1 || true
    end_both
    case $(checksum "$store") in
    "$a_sum") first_won=$((first_won + 1)) ;;
    "$b_sum") second_won=$((second_won + 1)) ;;
    *)
        cp "$store" "$E2E_OUT/fault_two_copies_month.dat"
        fail "round $round: month.dat is neither copy's list ($(stat -c %s "$store") bytes)"
        ;;
    esac
    [ "$(checksum "$store")" != "$last_sum" ] || last_won=$((last_won + 1))
    [ -z "$(find "$dir" -mindepth 1 ! -name nuvalora ! -name month.dat)" ] ||
        fail "round $round: files left beside month.dat"
done
echo "$races rounds of closing both at once: month.dat whole every time" \
    "(the first copy's list $first_won times, the second's $second_won times;" \
    "$last_won times the list of the copy asked to close second)"
echo "$((SECONDS - started)) s in all"
