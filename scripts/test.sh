#!/usr/bin/env bash
# Builds Nuvalora Sex Planner and runs the whole test suite: every test in a
# normal build (the end-to-end ones on a virtual screen of their own), a
# bounded fuzzing run over the core, then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

# Printing tests print through a real CUPS queue.
"$root/scripts/start-cups.sh"

echo "== normal build"
build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUVALORA_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"

echo "== fuzzing the core (${FUZZ_SECONDS:-60} s a target)"
FUZZ_BUILD="$root/build/fuzz" FUZZ_JOBS="$jobs" "$root/scripts/fuzz-smoke.sh"

echo "== sanitizer build (core)"
asan="$root/build/sanitize"
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNUVALORA_SANITIZE=ON \
    -DNUVALORA_WERROR=ON -DNUVALORA_BENCH=OFF >/dev/null
core_tests=$(ctest --test-dir "$build" -N -L core | sed -n 's/^ *Test *#[0-9]*: *//p')
# shellcheck disable=SC2086
cmake --build "$asan" -j "$jobs" --target $core_tests
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$asan" --output-on-failure -L core -j "$jobs"
