#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 600), from its
# seed corpus in fuzz/<name>/corpus. Prints executions and crashes per target; exits 1 if
# any target found a crash, a leak or undefined behaviour.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-600}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVANE_FUZZ=ON -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF >/dev/null
targets=()
for dir in fuzz/*/; do
    name=$(basename "$dir")
    [ -f "$dir/CMakeLists.txt" ] && targets+=("fuzz_$name")
done
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}" >/dev/null
failed=0
printf '%-28s %12s %8s\n' target executions crashes
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    work=$(mktemp -d)
    log=$(mktemp)
    set +e
    (cd "$work" && UBSAN_OPTIONS=halt_on_error=1 "$OLDPWD/build-fuzz/bin/$target" \
        -max_total_time="$SECONDS_PER_TARGET" -max_len=8192 -print_final_stats=1 \
        "$work" "$OLDPWD/fuzz/$name/corpus") >"$log" 2>&1
    rc=$?
    set -e
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
    crashes=$(find "$work" -maxdepth 1 \( -name "crash-*" -o -name "leak-*" -o -name "timeout-*" \) | wc -l)
    if [ "$rc" -ne 0 ]; then
        crashes=$((crashes > 0 ? crashes : 1))
        failed=1
        tail -n 40 "$log"
    fi
    printf '%-28s %12s %8s\n' "$target" "$runs" "$crashes"
    rm -rf "$work" "$log"
done
exit $failed
