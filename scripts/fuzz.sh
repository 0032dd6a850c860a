#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 600), from its
# seed corpus in fuzz/<name>/corpus, as many at a time as the machine has processors (each
# run is one process on one processor). Prints executions and crashes per target; exits 1
# if any target found a crash, a leak or undefined behaviour.
#   scripts/fuzz.sh [SECONDS]
#   scripts/fuzz.sh --build-only   builds the targets and runs nothing
# QUORVANE_FUZZ_SEED fixes libFuzzer's seed (CI's smoke run: the same inputs every time, so
# that a run fails on a change, not on a draw); unset, each run explores anew.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
build_only=0
if [ "${1:-}" = --build-only ]; then
    build_only=1
    shift
fi
SECONDS_PER_TARGET=${1:-600}
JOBS=${QUORVANE_FUZZ_JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVANE_FUZZ=ON -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF >/dev/null
targets=()
for dir in fuzz/*/; do
    name=$(basename "$dir")
    [ -f "$dir/CMakeLists.txt" ] && targets+=("fuzz_$name")
done
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}" >/dev/null
[ "$build_only" = 0 ] || exit 0

seed=()
if [ -n "${QUORVANE_FUZZ_SEED:-}" ]; then seed=(-seed="$QUORVANE_FUZZ_SEED"); fi
runs=$(mktemp -d)
trap 'rm -rf "$runs"' EXIT
# One target in its own folder: its findings, its log, its exit status.
fuzz_one() {
    local target=$1 name=${1#fuzz_}
    local work=$runs/$target
    mkdir -p "$work/findings"
    set +e
    (cd "$work/findings" && UBSAN_OPTIONS=halt_on_error=1 "$ROOT/build-fuzz/bin/$target" \
        -max_total_time="$SECONDS_PER_TARGET" -max_len=8192 -print_final_stats=1 ${seed[@]+"${seed[@]}"} \
        "$work/findings" "$ROOT/fuzz/$name/corpus") >"$work/log" 2>&1
    echo $? >"$work/status"
}
running=0
for target in "${targets[@]}"; do
    if [ "$running" -ge "$JOBS" ]; then
        wait -n
        running=$((running - 1))
    fi
    fuzz_one "$target" &
    running=$((running + 1))
done
wait

failed=0
printf '%-28s %12s %8s\n' target executions crashes
for target in "${targets[@]}"; do
    work=$runs/$target
    rc=$(cat "$work/status")
    count=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$work/log" | grep -oE '[0-9]+$' || echo 0)
    crashes=$(find "$work/findings" -maxdepth 1 \( -name "crash-*" -o -name "leak-*" -o -name "timeout-*" \) | wc -l)
    if [ "$rc" -ne 0 ]; then
        crashes=$((crashes > 0 ? crashes : 1))
        failed=1
        tail -n 40 "$work/log"
    fi
    printf '%-28s %12s %8s\n' "$target" "$count" "$crashes"
done
exit $failed
