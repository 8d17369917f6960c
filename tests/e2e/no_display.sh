#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Started where there is no display (a text console, an ssh session): one
# line on standard error saying that a graphical desktop is needed, and exit
# code 1, with or without X11 asked for by name, in QT_QPA_PLATFORM or with
# -platform. A platform that needs no display (offscreen) still runs the
# program: SIGTERM then ends it, the dates kept.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

# Beside: a test that a signal ends fails, even where bash would carry on.
status=0
env --default-signal=INT bash -c "source '$here/session.sh'; sh -c 'kill -INT \$PPID'; true" || status=$?
[ "$status" -eq 130 ] || fail "a test ended by SIGINT ended with exit code $status"

dir=$(install_copy)
# Each case is the variable's value, then the arguments: X11 asked for by
# either, the argument winning over the variable, and forms Qt does not read
# as a platform at all.
for asked in "|" "xcb|" "|-platform xcb" "|--platform xcb" "offscreen|-platform xcb" \
    "|-platform=offscreen" "|-qwindowtitle -platform offscreen"; do
    platform=${asked%%|*} args=${asked#*|} status=0
    # shellcheck disable=SC2086 # the arguments are words
    (cd "$dir" && exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform" ./nuvalora $args) \
        >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
    [ "$status" -eq 1 ] || fail "'$asked' without a display: exit code $status, not 1"
    [ ! -s "$E2E_TMP/out" ] || fail "'$asked': output on standard output: $(cat "$E2E_TMP/out")"
    { [ "$(wc -l <"$E2E_TMP/err")" -eq 1 ] && grep -q 'needs a graphical desktop' "$E2E_TMP/err"; } ||
        fail "'$asked': standard error is not the one line: $(cat "$E2E_TMP/err")"
    [ ! -e "$dir/month.dat" ] || fail "'$asked': month.dat written without a window"
done

printf '36994\r\n' >"$dir/month.dat"
(cd "$dir" && exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen ./nuvalora) \
    >>"$E2E_TMP/app.log" 2>&1 &
APP_PID=$!
E2E_PIDS+=("$APP_PID")
sleep 3
kill -0 "$APP_PID" 2>/dev/null || fail "the offscreen platform did not keep the program running"
kill -TERM "$APP_PID"
expect_ended_with_store "$dir" 36994
echo "PASS: without a display one line and exit code 1; offscreen runs"
