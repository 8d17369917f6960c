#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Runs bench_list on a virtual screen with openbox twice: as most users run
# the program, and as a screen reader's user does, with Qt's accessibility
# on over an AT-SPI bus, so that every change of the list goes out as
# accessibility events.
# usage: bash bench/list.sh [build folder, default build/bench]
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/bench}
# The end-to-end helpers start the screen; they want the program's path.
export NUVALORA="$build/app/nuvalora"
E2E_OUT=$(mktemp -d)
export E2E_OUT
# shellcheck source=../tests/e2e/session.sh
source "$here/../tests/e2e/session.sh"
trap 'e2e_cleanup; rm -rf "$E2E_OUT"' EXIT

start_screen
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== without a screen reader"
"$build/bench/bench_list"
echo "== with accessibility on (AT-SPI)"
eval "$(dbus-launch --sh-syntax)"
E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null || fail "no AT-SPI bus"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/bench/bench_list"
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
