#!/usr/bin/env bash
# Builds Nuvalora Sex Planner and runs the whole test suite: every test in a
# normal build (the end-to-end ones on a virtual screen of their own), a
# bounded fuzzing run over the core, then the program and its tests built again
# with AddressSanitizer and UndefinedBehaviorSanitizer: every in-process test,
# and the end-to-end tests that between them open every window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

build="$root/build/test"
asan="$root/build/sanitize"

# The printing tests print through a CUPS scheduler of their own (the
# test_printer fixture), which ctest stops after them; a run cut short has it
# stopped here. The system's printers, its default among them, must come out
# of the run as they went in.
system_printers() { env -u CUPS_SERVER lpstat -r -d -v 2>&1 || true; }
printers_before=$(system_printers)
finish() {
    local status=$? dir printers_after
    for dir in "$build" "$asan"; do
        bash "$root/tests/common/cups_scheduler.sh" stop "$dir/test-cups" || status=1
    done
    printers_after=$(system_printers)
    if [ "$printers_after" != "$printers_before" ]; then
        diff <(echo "$printers_before") <(echo "$printers_after") >&2 || true
        echo "FAIL: the test run changed the system's printers (above)" >&2
        status=1
    fi
    exit "$status"
}
trap finish EXIT

echo "== normal build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUVALORA_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"

echo "== fuzzing the core (${FUZZ_SECONDS:-60} s a target)"
FUZZ_BUILD="$root/build/fuzz" FUZZ_JOBS="$jobs" "$root/scripts/fuzz-smoke.sh"

echo "== sanitizer build"
# Line tables are all that the reports need, and build faster than full
# debugging information.
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DNUVALORA_SANITIZE=ON -DNUVALORA_WERROR=ON -DNUVALORA_BENCH=OFF >/dev/null
cmake --build "$asan" -j "$jobs"
# The build's tests carry the sanitizer options: any report fails its test,
# leaks included (scripts/sanitizers/lsan.supp lists the system libraries' own).
echo "== sanitizer build: in-process tests"
ctest --test-dir "$asan" --output-on-failure -LE e2e -j "$jobs"
echo "== sanitizer build: the program on a virtual screen"
ctest --test-dir "$asan" --output-on-failure -L sanitizer
