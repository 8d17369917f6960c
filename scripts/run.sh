#!/usr/bin/env bash
# Builds Nuvalora Sex Planner and starts it on the current desktop.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DNUVALORA_TESTS=OFF -DNUVALORA_BENCH=OFF >/dev/null
cmake --build "$build" --target nuvalora

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: built $build/app/nuvalora, but there is no display to show it on." >&2
    echo "run: start it from a desktop session (DISPLAY or WAYLAND_DISPLAY must be set)," >&2
    echo "run: or try it under a virtual screen: xvfb-run -a $build/app/nuvalora" >&2
    exit 1
fi
exec "$build/app/nuvalora"
