#!/bin/sh
# Redraws every picture in resources/pictures:  sh scripts/pictures/generate.sh
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${TMPDIR:-/tmp}/nuvalora-makepictures
cmake -S "$here" -B "$build" -G Ninja >/dev/null
ninja -C "$build" >"$build/build.log" || { cat "$build/build.log"; exit 1; }
QT_QPA_PLATFORM=offscreen "$build/makepictures" "$here/../../resources/pictures"
