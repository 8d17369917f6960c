#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Shared by the benchmark scripts: a virtual screen of their own with openbox
# managing it, as a new user's desktop shows the windows. Source it with
# BENCH_BUILD set to the build folder (default build/bench); it prints the
# machine's load at the start and at the end, since the figures shift with it.
bench_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BENCH_BUILD=${BENCH_BUILD:-$bench_here/../build/bench}
# The end-to-end helpers start the screen; they want the program's path.
export NUVALORA="$BENCH_BUILD/app/nuvalora"
E2E_OUT=$(mktemp -d)
export E2E_OUT
# shellcheck source=../tests/e2e/session.sh
source "$bench_here/../tests/e2e/session.sh"
trap 'echo "load after:  $(cut -d" " -f1-3 /proc/loadavg)"; e2e_cleanup; rm -rf "$E2E_OUT"' EXIT

start_screen
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
