#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. The programs are built twice: as the
# package ships them (Release with Debian's flags, warnings as errors, the benchmarks with
# them), which runs a one-minute soak of the real window and is packed, installed, run and
# purged at the end (scripts/test-package.sh); and under AddressSanitizer and
# UndefinedBehaviorSanitizer with every test, which runs the whole suite. The tests are
# compiled once, in the sanitizer build: compiling them twice took a third of the run.
# Also a short run of each fuzz target. Prints each step's wall time as it ends, and a table
# of them at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc)
# Most of the tests' time is waiting (a pseudo-terminal at 9600 baud, timers, windows
# coming up): four times as many tests as processors keep the processors busy.
TEST_JOBS=${QUORVANE_TEST_JOBS:-$((JOBS * 4))}

# Each step's wall time, and the processor time its processes used (user + system; on a
# shared machine the wall time alone says little).
steps=()
step_name=""
step_start=0
step_cpu=0
run_start=$(date +%s)
times_file=$(mktemp)
# The processor time of the processes this script waited for, in seconds, in $cpu_now
# (the builtin times, run in this shell: a subshell would count its own children).
read_cpu() {
    times >"$times_file"
    cpu_now=$(tail -n1 "$times_file" | awk '{ t = 0
        for (i = 1; i <= 2; i++) { split($i, p, /[ms]/); t += p[1] * 60 + p[2] }
        printf "%d", t }')
}
end_step() {
    if [ -n "$step_name" ]; then
        read_cpu
        local took=$(($(date +%s) - step_start)) cpu=$((cpu_now - step_cpu))
        steps+=("$(printf '%-40s %5d s  (processor %5d s)' "$step_name" "$took" "$cpu")")
        echo "== $step_name: $took s, processor $cpu s"
    fi
    step_name=""
}
step() {
    end_step
    step_name=$1
    step_start=$(date +%s)
    read_cpu
    step_cpu=$cpu_now
    echo "== $step_name (load average $(cut -d' ' -f1-3 /proc/loadavg))"
}
report() {
    local status=$?
    end_step
    read_cpu
    rm -f "$times_file"
    echo "== step times (wall clock$([ "$status" -ne 0 ] && echo ", up to the failure"))"
    printf '   %s\n' "${steps[@]}"
    printf '   %-40s %5d s  (processor %5d s)\n' total "$(($(date +%s) - run_start))" "$cpu_now"
}
trap report EXIT

if [ "${QUORVANE_SKIP_INSTALL:-0}" != "1" ]; then
    step "install"
    bash scripts/install-deps.sh
fi

step "package build (the programs as shipped, and the benchmarks)"
bash scripts/package.sh --with-benchmarks --build-only build-pkg

step "short soak, fuzz targets built meanwhile"
# The soak mostly waits for the real time to pass; the fuzz targets' build fills the
# processors meanwhile (the soak judges only lost or doubled records here).
fuzz_build_log=$(mktemp)
bash scripts/fuzz.sh --build-only >"$fuzz_build_log" 2>&1 &
fuzz_build=$!
soak_status=0
QUORVANE_BUILD_DIR=build-pkg bash scripts/soak.sh --short || soak_status=$?
fuzz_build_status=0
wait "$fuzz_build" || fuzz_build_status=$?
if [ "$fuzz_build_status" -ne 0 ]; then
    cat "$fuzz_build_log"
    echo "== the fuzz targets' build failed"
fi
rm -f "$fuzz_build_log"
[ "$soak_status" -eq 0 ] && [ "$fuzz_build_status" -eq 0 ]

step "sanitizer build (ASan + UBSan) with the tests"
# Line tables are enough for the sanitizers' stack traces, and quicker to write than -g.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DQUORVANE_SANITIZE=ON -DQUORVANE_WERROR=ON -DQUORVANE_BENCH=OFF -DQUORVANE_UNITY=ON >/dev/null
cmake --build build-asan -j"$JOBS"

step "every test, under the sanitizers"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$TEST_JOBS")

step "fuzz smoke run"
bash scripts/fuzz-smoke.sh

step "package test"
bash scripts/test-package.sh build-pkg
