#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Runs bench_startup as a new user's desktop would show the windows: on a
# virtual screen of its own with openbox managing it. The machine's load
# before and after is printed too, since the figures shift with it.
# usage: bash bench/startup.sh [build folder, default build/bench]
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
"$build/bench/bench_startup"
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
