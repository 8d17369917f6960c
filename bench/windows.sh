#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Runs bench_windows on a virtual screen with openbox, in a fixed locale.
# usage: bash bench/windows.sh [build folder, default build/bench] [runs] [later openings a run]
BENCH_BUILD=${1:-}
# shellcheck source=onscreen.sh
source "$(dirname "$0")/onscreen.sh"
LANG=en_US.UTF-8 LC_ALL='' "$BENCH_BUILD/bench/bench_windows" "${@:2}"
