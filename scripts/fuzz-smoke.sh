#!/usr/bin/env bash
# Builds the libFuzzer targets over the planner core with clang and runs each
# for a bounded time, starting from the seed corpora kept in tests/fuzz.
#
#   FUZZ_SECONDS   seconds per target (default 60)
#   FUZZ_BUILD     build folder (default build-fuzz in the source tree)
#   FUZZ_JOBS      parallel build jobs (default 2)
#   FUZZ_TARGETS   which targets to run (default: all of them)
#
# Prints the number of inputs each target ran; exits non-zero when a target
# finds a crash, a sanitizer report or a failed check (the input that did it
# is kept in the build folder and named in the output).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-$root/build-fuzz}
jobs=${FUZZ_JOBS:-2}
targets=${FUZZ_TARGETS:-"fuzz_numbertext fuzz_datestore"}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUVALORA_FUZZ=ON -DNUVALORA_TESTS=OFF \
    -DNUVALORA_BENCH=OFF -DNUVALORA_WERROR=ON >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j "$jobs" --target $targets

# On a memory file system if there is one: the store fuzzer saves on every
# input, and a disk would make it wait for each save to reach the platter.
scratch=$(mktemp -d -p "$(test -w /dev/shm && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch # the store fuzzer keeps its month.dat here
export LANG=C LC_ALL=C
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
summary=()
for target in $targets; do
    name=${target#fuzz_}
    seeds="$root/tests/fuzz/corpus/$name"
    corpus="$build/corpus/$name" # grows over runs; the seeds stay as they are
    artifacts="$build/artifacts/$name"
    mkdir -p "$corpus" "$artifacts"
    log="$build/$target.log"
    echo "== $target for ${seconds}s"
    set +e
    "$build/tests/fuzz/$target" "$corpus" "$seeds" \
        -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -dict="$root/tests/fuzz/$name.dict" -artifact_prefix="$artifacts/" >"$log" 2>&1
    rc=$?
    set -e
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$rc" -ne 0 ]; then
        status=1
        summary+=("$target: FAILED (exit $rc) after ${runs:-?} inputs; see $log")
        grep -E 'fuzz check failed|ERROR: |SUMMARY: |Test unit written|runtime error' "$log" |
            head -n 20 || true
    else
        summary+=("$target: ${runs:-?} inputs in ${seconds}s, no crash")
    fi
done

echo "== summary"
printf '%s\n' "${summary[@]}"
exit "$status"
