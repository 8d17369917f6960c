#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Runs bench_list on a virtual screen with openbox twice: as most users run
# the program, and as a screen reader's user does, with Qt's accessibility
# on over an AT-SPI bus, so that every change of the list goes out as
# accessibility events.
# usage: bash bench/list.sh [build folder, default build/bench]
BENCH_BUILD=${1:-}
# shellcheck source=onscreen.sh
source "$(dirname "$0")/onscreen.sh"
echo "== without a screen reader"
"$BENCH_BUILD/bench/bench_list"
echo "== with accessibility on (AT-SPI)"
start_atspi_bus
"$BENCH_BUILD/bench/bench_list"
