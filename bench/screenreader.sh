#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Times Orca, the screen reader, on the real program with month.dat holding
# 3, 1,000, 200,000 and 1,000,000 dates, by Orca's own time stamps: from its
# speech of the main window coming up ("Nuvalora Sex Planner frame.") to its
# speech of the focused control ("Add Date... push button."), and from Tab
# (Orca names the key as it comes) to its speech of the date list and its
# first row. Then the save dialog in a folder of 3 and of 10,000 files (or
# the counts in FILES), in its list view: from the dialog coming up (Orca's
# window:activate) to its speech, and from Shift+Tab out of the file name to
# the speech of the list of files. Prints what Orca said. Orca is started anew
# for each run; it runs once a user, so run this while no other Orca runs. A
# long list may take many minutes: each wait ends after HEAR_SECONDS (default
# 1800), or as soon as Orca finds that what has the focus is gone.
# usage: [FILES="3 10000"] bash bench/screenreader.sh [build folder, default build/bench] [row counts...]
BENCH_BUILD=${1:-}
# shellcheck source=onscreen.sh
source "$(dirname "$0")/onscreen.sh"
# shellcheck source=../tests/e2e/planner.sh
source "$bench_here/../tests/e2e/planner.sh"
counts=("${@:2}")
[ ${#counts[@]} -gt 0 ] || counts=(3 1000 200000 1000000)
limit=${HEAR_SECONDS:-1800}

# Waits for Orca to say these phrases; sets TOOK to the seconds from START
# (a time from heard_at, or a pattern of the line Orca logs first after what
# was heard) to the last of them, or to why there are none.
time_speech() {
    local start=$1 from=$HEARD deadline=$((SECONDS + limit))
    shift
    until HEAR_SECONDS=1 heard_within "$@"; do
        if tail -n "+$((from + 1))" "$ORCA_LOG" | grep -q 'locusOfFocus: \[DEAD\]'; then
            TOOK="silent: the focus went to an object that was gone"
            return
        fi
        [ "$SECONDS" -lt "$deadline" ] || { TOOK="silent for ${limit} s"; return; }
    done
    [[ $start == *[![:digit:].]* ]] && start=$(HEARD=$from heard_at "$start")
    TOOK="$(heard_since "$start") s"
}

start_atspi_bus
for rows in "${counts[@]}"; do
    start_orca >/dev/null
    dir=$(install_copy)
    awk -v n="$rows" 'BEGIN { for (i = 0; i < n; ++i) printf "%d\r\n", 10000 + i }' \
        >"$dir/month.dat"
    start_app "$dir"
    wait_main_window 600 >/dev/null
    HEAR_SECONDS=$limit hear 'Nuvalora Sex Planner frame.' >/dev/null
    from=$HEARD
    time_speech "$(heard_at)" 'Add Date... push button.'
    echo "$rows rows: window up to the focused control's speech: $TOOK"
    echo "    Orca said: $(HEARD=$from said | tr '\n' '|')"
    from=$HEARD
    xdotool key Tab
    hear 'tab ' >/dev/null
    time_speech "$(heard_at)" ' ' # the first row: its text starts with a blank
    echo "$rows rows: Tab to the list's speech: $TOOK"
    echo "    Orca said: $(HEARD=$from said | tr '\n' '|')"
    kill "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
    stop_orca
done

for files in ${FILES:-3 10000}; do
    start_orca >/dev/null
    dir=$(install_copy)
    printf '36994\r\n' >"$dir/month.dat"
    (cd "$dir" && seq -f 'f%05g.txt' 1 "$files" | xargs touch) # where the dialog opens
    start_app "$dir"
    wait_main_window 600 >/dev/null
    HEAR_SECONDS=$limit hear 'Add Date... push button.' >/dev/null
    xdotool key Tab Tab Tab Tab # the list, Set Manually, Print Results, Save to File
    hear 'Save to File push button.' >/dev/null
    from=$HEARD
    xdotool key Return
    time_speech 'window:activate for .*Save As)' 'Save As dialog'
    echo "$files files: save dialog up to its speech: $TOOK"
    echo "    Orca said: $(HEARD=$from said | tr '\n' '|')"
    /usr/bin/python3 "$bench_here/../tests/e2e/atspi.py" press 'push button' 'List View' >/dev/null
    from=$HEARD
    xdotool key shift+Tab
    hear 'left shift' >/dev/null
    time_speech "$(heard_at)" 'table with'
    echo "$files files: Shift+Tab to the list's speech: $TOOK"
    xdotool key Down
    HEAR_SECONDS=$limit hear 'f00002.txt' >/dev/null
    echo "    Orca said: $(HEARD=$from said | tr '\n' '|')"
    kill "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
    stop_orca
done
