#!/usr/bin/env bash
# Shared by the end-to-end tests: a virtual screen with a window manager, and
# the real program run from a folder of its own (it keeps month.dat beside
# itself). Source it; set NUVALORA to the built executable first.
set -euo pipefail

: "${NUVALORA:?set NUVALORA to the built nuvalora executable}"
E2E_OUT=${E2E_OUT:-$PWD/e2e-output}
mkdir -p "$E2E_OUT"
E2E_TMP=$(mktemp -d)
E2E_PIDS=()
# The user's runtime folder, where a running copy of the program can be found
# by a later start: one of the test's own.
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Settings kept by the program's dialogs (Qt's save dialog keeps its view and
# folders) and by the screen reader's desktop go to a folder of the test's own.
export XDG_CONFIG_HOME=$E2E_TMP/config

# A program built with the sanitizers writes AddressSanitizer's reports (its
# leak report at exit among them) into files here. UndefinedBehaviorSanitizer's
# go to the program's output, app.log: beside AddressSanitizer its runtime
# ignores log_path. The folder and a copy of the leak suppressions are open to
# every user, as a test may run the program as another user.
E2E_SANITIZER=$E2E_TMP/sanitizer
mkdir -m 1777 "$E2E_SANITIZER"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}log_path=$E2E_SANITIZER/report"
if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]+) ]]; then
    cp "${BASH_REMATCH[1]}" "$E2E_SANITIZER/lsan.supp"
    export LSAN_OPTIONS="$LSAN_OPTIONS:suppressions=$E2E_SANITIZER/lsan.supp"
fi

# Shows the sanitizer reports that the test's programs left, keeps them in the
# output folder, and fails when there are any.
check_sanitizer_reports() {
    local reports=() report test
    test=$(basename "$0" .sh)
    for report in "$E2E_SANITIZER"/report.*; do
        [ -e "$report" ] && reports+=("$report")
    done
    grep -q 'runtime error:' "$E2E_TMP/app.log" 2>/dev/null && reports+=("$E2E_TMP/app.log")
    for report in "${reports[@]}"; do
        echo "== sanitizer report ($(basename "$report")):" >&2
        cat "$report" >&2
        cp "$report" "$E2E_OUT/sanitizer-$test-$(basename "$report")"
    done
    [ ${#reports[@]} -eq 0 ]
}

# The programs still running are stopped; those that ended by themselves have
# run their leak check by then. A test's own exit trap that runs this last
# passes on the status the test ended with.
e2e_cleanup() {
    local status=${1:-$?} pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if ! check_sanitizer_reports; then
        echo "FAIL: a sanitizer reported a fault (above)" >&2
        status=1
    fi
    rm -rf "$E2E_TMP"
    exit "$status"
}
trap e2e_cleanup EXIT
# A test ended by a signal (a time-out, Ctrl+C) fails: the exit trap would
# see the status of the last command, and bash even carries on after a SIGINT
# when the command it waited for ended well.
for signal in HUP INT TERM; do
    # shellcheck disable=SC2064 # the signal's number, now
    trap "exit $((128 + $(kill -l "$signal")))" "$signal"
done

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A fresh X display with openbox, so that focus and Alt+F4 behave as on a
# desktop: 1280x1024, or the size given (start_screen 1366x768). -noreset
# keeps the server from resetting when its last client leaves, which would
# drop a client connecting at that moment.
# shellcheck disable=SC2120 # the size is optional
start_screen() {
    SCREEN_SIZE=${1:-1280x1024}
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local number=""
    read -r -t 10 number <&"$fd" || fail "Xvfb did not start"
    exec {fd}<&-
    export DISPLAY=":$number"
    start_window_manager
}

# openbox announces itself on the root window before it manages windows: a
# window mapped in that gap is never shown. So the screen counts as ready only
# once a probe window has really been put on it; openbox is started again if
# it could not reach the display at all.
start_window_manager() {
    local attempt pid probe
    for attempt in 1 2 3; do
        openbox >>"$E2E_TMP/openbox.log" 2>&1 &
        pid=$!
        for _ in $(seq 100); do
            xprop -root _OB_THEME 2>/dev/null | grep -q '=' && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 "$pid" 2>/dev/null; then
            E2E_PIDS+=("$pid")
            for _ in 1 2 3; do
                xmessage -name e2e-probe -geometry +0+0 probe >/dev/null 2>&1 &
                probe=$!
                for _ in $(seq 40); do
                    if xdotool search --onlyvisible --classname '^e2e-probe$' >/dev/null 2>&1; then
                        kill "$probe" 2>/dev/null || true
                        wait "$probe" 2>/dev/null || true
                        return 0
                    fi
                    sleep 0.05
                done
                kill "$probe" 2>/dev/null || true
                wait "$probe" 2>/dev/null || true
            done
            fail "openbox does not show windows"
        fi
        wait "$pid" 2>/dev/null || true
    done
    fail "openbox did not start"
}

# Copies the program into a folder of its own and prints that folder.
install_copy() {
    local dir
    dir=$(mktemp -d "$E2E_TMP/app.XXXXXX")
    cp "$NUVALORA" "$dir/nuvalora"
    echo "$dir"
}

# Starts the copy in the given folder; sets APP_PID. The output of every
# start is kept in app.log. APP_WRAPPER, when set, is a command to start it
# through (nohup, say).
start_app() {
    # shellcheck disable=SC2086 # the wrapper is a command and its arguments
    (cd "$1" && LANG=${APP_LANG:-en_US.UTF-8} LC_ALL= exec ${APP_WRAPPER:-} ./nuvalora) \
        >>"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=("$APP_PID")
}

# Waits for a visible window whose title matches the pattern; prints its id.
wait_window() {
    local pattern=$1 timeout=${2:-20} id
    for _ in $(seq $((timeout * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window named '$pattern' within ${timeout}s"
}

# Waits until no visible window matches the pattern.
wait_gone() {
    local pattern=$1 timeout=${2:-20}
    for _ in $(seq $((timeout * 10))); do
        xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window '$pattern' still there after ${timeout}s"
}

# Waits for the process to end; fails if it does not within the time.
wait_exit() {
    local pid=$1 timeout=${2:-20}
    for _ in $(seq $((timeout * 10))); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return $?; }
        sleep 0.1
    done
    fail "process $pid still running after ${timeout}s"
}

# The frame of a window as the desktop draws it, title bar and borders
# included: "x y width height" on the screen.
window_frame() {
    local info x y width height left right top bottom
    # Without a window, xprop would wait for one to be clicked.
    [ -n "$1" ] || fail "window_frame: no window given"
    info=$(LC_ALL=C xwininfo -id "$1") || fail "no window $1"
    x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    width=$(sed -n 's/^ *Width: *//p' <<<"$info")
    height=$(sed -n 's/^ *Height: *//p' <<<"$info")
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/^[^=]*= *//; s/,/ /g')
    echo "$((x - ${left:-0})) $((y - ${top:-0})) $((width + left + right)) $((height + top + bottom))"
}

# Keeps a picture of the screen (or of one window) in the output folder.
shot() {
    local name=$1 window=${2:-root}
    sleep 0.3
    import -window "$window" "$E2E_OUT/$name.png"
}

# The bytes of a file as hex, for exact comparisons.
hexof() {
    od -An -tx1 -v "$1" | tr -d ' \n'
}

# An AT-SPI bus on a D-Bus session of the test's own, as on a desktop with a
# screen reader; programs started afterwards join it (Qt once the bus is up).
start_atspi_bus() {
    eval "$(dbus-launch --sh-syntax)"
    E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null || fail "no AT-SPI bus"
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# Orca, the screen reader, on that bus; sets ORCA_PID. It speaks into its
# debug file, one line "HH:MM:SS.micro - SPEECH OUTPUT: '...'" a phrase. It
# writes the file through a buffer unless the file is a terminal, so it
# writes to one (made by script), which is copied to ORCA_LOG as it comes.
# HEARD is the line up to which its speech has been checked. Orca runs once a
# user: with another one running it stops at once, saying so in ORCA_LOG (its
# --replace would end the other one, whoever started it). An Orca just ended
# is given a moment to go.
start_orca() {
    for _ in $(seq 50); do pgrep -u "$(id -u)" -x orca >/dev/null || break; sleep 0.1; done
    ORCA_LOG=$E2E_TMP/orca.log
    HEARD=0
    : >"$ORCA_LOG"
    script -qfec "orca --debug-file=/dev/tty" "$ORCA_LOG" </dev/null >/dev/null 2>&1 &
    ORCA_PID=$!
    E2E_PIDS+=("$ORCA_PID")
    hear 'Screen reader on.'
}

stop_orca() {
    kill -TERM "$ORCA_PID" 2>/dev/null || true
    wait "$ORCA_PID" 2>/dev/null || true
}

# What Orca said after what was checked before.
said() { tail -n "+$((HEARD + 1))" "$ORCA_LOG" | sed -n "s/^.*SPEECH OUTPUT: '\\(.*\\)' *{.*$/\\1/p"; }

# Waits until Orca has said these phrases (each whole or its start) in this
# order, after what it said before; HEAR_SECONDS (default 20) at most.
hear() {
    heard_within "$@" || fail "Orca did not say: $*; it said: $(said | tr '\n' '|')"
    echo "Orca said: $*"
}

# The same, but only returns 1 when Orca has not said them in time.
heard_within() {
    local at="" deadline=$((SECONDS + ${HEAR_SECONDS:-20}))
    while [ "$SECONDS" -le "$deadline" ]; do
        at=$(PHRASES=$(printf '%s\n' "$@") awk -v from="$HEARD" '
            BEGIN { n = split(ENVIRON["PHRASES"], want, "\n"); k = 1 }
            FNR > from && index($0, "SPEECH OUTPUT: \047" want[k]) && ++k > n { print FNR; exit }
        ' "$ORCA_LOG" 2>/dev/null) || true
        [ -n "$at" ] && { HEARD=$at; return 0; }
        sleep 0.2
    done
    return 1
}

# Fails if Orca said anything with this text since what it said before.
not_said() {
    ! said | grep -qF "$1" || fail "Orca said '$1': $(said | tr '\n' '|')"
}

# The seconds from Orca's time START (from heard_at) to its last phrase heard.
heard_since() {
    awk -v a="$1" -v b="$(heard_at)" 'BEGIN { d = b - a; printf "%.2f\n", d < 0 ? d + 86400 : d }'
}

# Orca's own time, in seconds of the day, of the last phrase heard; or, given
# a pattern (grep's), of Orca's first line after that which matches it.
heard_at() {
    local line
    if [ $# -gt 0 ]; then
        line=$(tail -n "+$((HEARD + 1))" "$ORCA_LOG" | grep -m 1 -e "$1")
    else
        line=$(sed -n "${HEARD}p" "$ORCA_LOG")
    fi
    sed -n 's/^\([0-9]*\):\([0-9]*\):\([0-9.]*\) - .*/\1 \2 \3/p' <<<"$line" |
        awk '{ printf "%.3f\n", $1 * 3600 + $2 * 60 + $3 }'
}
