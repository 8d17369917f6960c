#!/usr/bin/env bash
# SIGKILL at random moments while the program writes month.dat on close.
#
# The program starts on a large list stored with LF line ends; closing it
# saves the same rows with CR LF, so the file before and after the save
# differ byte for byte. After every kill, month.dat must be one of the two,
# whole: never empty, cut short or mixed. Half of the kills are aimed at the
# writing of the new list, the others at the moments between its writing and
# its rename into place, and a little after. The disk is a slow one (every
# sync takes a quarter of a second, then goes through), so that the moments
# before the rename last long enough for kills to land there on a busy
# machine too, whose polling comes late.
#
#   FAULT_KILLS    kills to make (default 200)
#   FAULT_ROWS     rows in the list (default 1000000)
#   FAULT_SECONDS  no kill is begun after this time (default 600), so that a
#                  slow machine ends within the test's time-out
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"
: "${E2E_FAILING_SYNC:?set E2E_FAILING_SYNC to the library that makes syncs fail or slow}"

kills=${FAULT_KILLS:-200}
rows=${FAULT_ROWS:-1000000}
budget=${FAULT_SECONDS:-600}
started=$SECONDS
APP_WRAPPER="env LD_PRELOAD=$E2E_FAILING_SYNC E2E_SLOW_SYNC_SECONDS=0.25"

start_screen
dir=$(install_copy)
store="$dir/month.dat"

# Day texts from 1998 to 2162, in order, each ended by LF alone: the program
# loads them quickly (they need no sorting) and writes them back with CR LF.
perl -e 'srand(20010413); print map { "$_\n" } sort map { 36000 + int(rand(60000)) } 1 .. $ARGV[0]' \
    "$rows" >"$E2E_TMP/old.dat"
expected_after_save "$E2E_TMP/old.dat" "$E2E_TMP/new.dat"
old_sum=$(checksum "$E2E_TMP/old.dat")
new_sum=$(checksum "$E2E_TMP/new.dat")
new_size=$(stat -c %s "$E2E_TMP/new.dat")
[ "$old_sum" != "$new_sum" ] || fail "the saved list would not differ from the stored one"

# The time in milliseconds, into NOW; these helpers set variables rather
# than print, so that polling starts no process and stays fine-grained.
now() {
    local t=${EPOCHREALTIME/[.,]/}
    NOW=$((t / 1000))
}

# Sleeps without starting a process. An exit from a trap while read -t waits
# so briefly can crash bash: a signal is only noted, and the script ends
# after the sleep.
for signal in HUP INT TERM; do
    # shellcheck disable=SC2064 # the signal's number, now
    trap "ended_by=$((128 + $(kill -l "$signal")))" "$signal"
done
exec {idle_fd}<> <(:)
nap_ms() {
    read -r -t "$(($1 / 1000)).$(printf '%03d' $(($1 % 1000)))" -u "$idle_fd" || true
    [ -z "${ended_by:-}" ] || exit "$ended_by"
}
nap_short() {
    read -r -t 0.0005 -u "$idle_fd" || true
    [ -z "${ended_by:-}" ] || exit "$ended_by"
}

# Bytes the process has written so far (files, sockets, everything), into
# WRITTEN; -1 once it has ended.
written() {
    local key value
    WRITTEN=-1
    if [ -r "/proc/$1/io" ]; then
        while read -r key value; do
            [ "$key" = wchar: ] && WRITTEN=$value
        done 2>/dev/null <"/proc/$1/io" || true
    fi
    # A zombie still has its io counters, but it has ended.
    local state=""
    read -r _ _ state _ 2>/dev/null <"/proc/$1/stat" || true
    [ "$state" != Z ] || WRITTEN=-1
}

# Whether month.dat is still the file that was put there before the start:
# the rename puts another file in its place. A hard link keeps the old one.
still_old_file() {
    [[ $store -ef $E2E_TMP/held.dat ]]
}

# Sets NOW; fails once the program has gone on for a minute since the close
# request, which must have gone astray.
now_closing() {
    now
    [ $((NOW - t0)) -lt 60000 ] || fail "the program had not closed a minute after the request"
}

# Follows one close: sets LIST_WRITTEN (ms after t0 at which the new list
# had been written into the new file), RENAMED (ms at which it replaced
# month.dat) and ENDED (ms at which the process had ended); 0 for what did
# not happen.
follow_close() {
    local pid=$1 base=$2
    LIST_WRITTEN=0 RENAMED=0 ENDED=0
    while :; do
        written "$pid"
        now_closing
        if [ "$LIST_WRITTEN" -eq 0 ] && [ "$WRITTEN" -ge 0 ] &&
            [ $((WRITTEN - base)) -ge "$new_size" ]; then
            LIST_WRITTEN=$((NOW - t0))
        fi
        if [ "$RENAMED" -eq 0 ] && ! still_old_file; then
            RENAMED=$((NOW - t0))
        fi
        if [ "$WRITTEN" -lt 0 ]; then
            ENDED=$((NOW - t0))
            return 0
        fi
        nap_short
    done
}

# Waits until the process has written the new list into its (not yet
# committed) file; fails when it ends first.
wait_list_written() {
    local pid=$1 base=$2
    while :; do
        written "$pid"
        now_closing
        [ "$WRITTEN" -ge 0 ] || return 1
        [ $((WRITTEN - base)) -lt "$new_size" ] || return 0
        nap_short
    done
}

# Fresh start: the old list, nothing else left in the folder.
reset_folder() {
    find "$dir" -mindepth 1 -maxdepth 1 ! -name nuvalora -exec rm -rf {} +
    cp "$E2E_TMP/old.dat" "$store"
    rm -f "$E2E_TMP/held.dat"
    ln "$store" "$E2E_TMP/held.dat"
}

start_and_wait() {
    reset_folder
    start_app "$dir"
    MAIN=$(wait_main_window "$APP_PID" 60)
    xdotool windowactivate --sync "$MAIN" >/dev/null 2>&1 || true
}

median() { printf '%s\n' "$@" | sort -n | sed -n 2p; }

# A few closes without a kill, to see when the new list is written into
# its file, when that file replaces month.dat and when the program has ended.
echo "measuring the close on $rows rows"
spans=() writes=() renames=() ends=()
for run in 1 2 3; do
    start_and_wait
    written "$APP_PID"
    base=$WRITTEN
    now
    t0=$NOW
    xdotool key --clearmodifiers alt+c # Close: the window manager's Alt+F4 goes astray at times
    follow_close "$APP_PID" "$base"
    wait_exit "$APP_PID" 60 || fail "the program failed on close"
    forget_pid "$APP_PID"
    [ "$(checksum "$store")" = "$new_sum" ] || fail "an undisturbed close did not save the list"
    if [ "$LIST_WRITTEN" -eq 0 ] || [ "$RENAMED" -lt "$LIST_WRITTEN" ]; then
        fail "the close did not write the list and then rename it ($LIST_WRITTEN, $RENAMED ms)"
    fi
    echo "  run $run: list written at $LIST_WRITTEN ms after the request," \
        "renamed at $RENAMED ms, program ended at $ENDED ms"
    spans+=($((RENAMED - LIST_WRITTEN)))
    writes+=("$LIST_WRITTEN")
    renames+=("$RENAMED")
    ends+=("$ENDED")
done
span=$(median "${spans[@]}")
written_at=$(median "${writes[@]}")
renamed=$(median "${renames[@]}")
ended_at=$(median "${ends[@]}")

# Every second kill comes at a random moment after the list has been
# written into the new file, up to a little after the rename would come; the
# others at a random moment from the close request to a little after the
# list would be written.
unwritten=0 uncommitted=0 after=0 ended=0 made=0
for kill_number in $(seq "$kills"); do
    [ $((SECONDS - started)) -lt "$budget" ] || break
    made=$kill_number
    start_and_wait
    written "$APP_PID"
    base=$WRITTEN
    now
    t0=$NOW
    xdotool key --clearmodifiers alt+c # Close: the window manager's Alt+F4 goes astray at times
    if [ $((kill_number % 2)) -eq 0 ]; then
        wait_list_written "$APP_PID" "$base" || true
        nap_ms $((RANDOM % (span + span / 2 + 2)))
    else
        now
        left=$((RANDOM % (written_at + written_at / 4 + 2) - (NOW - t0)))
        [ "$left" -le 0 ] || nap_ms "$left"
    fi
    written "$APP_PID"
    progress=$WRITTEN
    kill -KILL "$APP_PID" 2>/dev/null || true
    status=0
    wait "$APP_PID" 2>/dev/null || status=$?
    forget_pid "$APP_PID"

    sum=$(checksum "$store")
    if [ "$sum" = "$old_sum" ]; then
        if [ "$progress" -ge 0 ] && [ $((progress - base)) -ge "$new_size" ]; then
            uncommitted=$((uncommitted + 1))
        else
            unwritten=$((unwritten + 1))
        fi
    elif [ "$sum" = "$new_sum" ]; then
        after=$((after + 1))
    else
        cp "$store" "$E2E_OUT/fault_kill_damaged_month.dat"
        fail "kill $kill_number left month.dat neither old nor new" \
            "($(stat -c %s "$store") bytes; kept in $E2E_OUT/fault_kill_damaged_month.dat)"
    fi
    [ "$status" -eq 137 ] || ended=$((ended + 1))
done

echo "$made kills with SIGKILL during the close, month.dat whole after every one:"
echo "  $((unwritten + uncommitted)) before the rename left the old list:"
echo "    $unwritten before the new list was written out,"
echo "    $uncommitted after it was written into the new file, before its rename"
echo "  $after after the rename found the new list ($ended of them after the program had ended)"
echo "the new list was renamed into place about $renamed ms after the close request and" \
    "$span ms after it was written; the program ended at about $ended_at ms;" \
    "$((SECONDS - started)) s in all"
# The test is only worth something if kills landed in every part of the save.
[ "$uncommitted" -ge $((kills / 10)) ] ||
    fail "only $uncommitted kills landed between the write and the rename"
[ "$unwritten" -gt 0 ] || fail "no kill came before the new list was written out"
[ "$after" -gt 0 ] || fail "no kill came after the new list was in place"
