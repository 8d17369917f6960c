#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Runs bench_startup on a virtual screen with openbox.
# usage: bash bench/startup.sh [build folder, default build/bench]
BENCH_BUILD=${1:-}
# shellcheck source=onscreen.sh
source "$(dirname "$0")/onscreen.sh"
"$BENCH_BUILD/bench/bench_startup"
