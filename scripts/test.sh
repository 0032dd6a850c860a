#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: a normal build with warnings as
# errors and a one-minute soak of the real window, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of each fuzz target,
# and last the Debian package, built, installed, run and purged (scripts/test-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc)

if [ "${QUORVANE_SKIP_INSTALL:-0}" != "1" ]; then
    bash scripts/install-deps.sh
fi

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_WERROR=ON
cmake --build build -j"$JOBS"
(cd build && ctest --output-on-failure -j"$JOBS")

echo "== short soak (the real window, about a minute; once, not under the sanitizers)"
QUORVANE_BUILD_DIR=build bash scripts/soak.sh --short

echo "== sanitizer build (ASan + UBSan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON \
    -DQUORVANE_WERROR=ON -DQUORVANE_BENCH=OFF
cmake --build build-asan -j"$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$JOBS")

if [ -x scripts/fuzz-smoke.sh ]; then
    echo "== fuzz smoke run"
    bash scripts/fuzz-smoke.sh
fi

echo "== package test"
bash scripts/test-package.sh
