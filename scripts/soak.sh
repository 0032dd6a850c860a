#!/usr/bin/env bash
# Soak of the real window (not part of CI). Phase 1: a run at a 1 s log interval, the
# simulator answering every data request; phase 2: the run goes on while the simulator
# floods random bytes without line breaks at 2880 characters a second (28800 baud). Half
# the time each; between them the device goes away and comes back.
# Prints every minute the records sent and logged, the longest poll tick, the event-loop
# latency and the resident memory; at the end the figures with their verdicts: records
# sent = logged in phase 1, poll tick and latency under 50 ms, memory levelled off (at most
# 5 % growth over the last quarter of the time). Exit status 0 when all are met. For each
# phase the longest loop gap is also told with the processor time the program used in it:
# a gap in which it hardly ran was the machine's doing (other processes), not the program's.
#   scripts/soak.sh [MINUTES]     (default 30; fractions allowed, e.g. 2 or 0.5)
set -euo pipefail
cd "$(dirname "$0")/.."
MINUTES=${1:-30}
TOTAL=$(awk -v m="$MINUTES" 'BEGIN { s = int(m * 60 + 0.5); if (s < 20) s = 20; print s }')
FIRST=$((TOTAL / 2))
SECOND=$((TOTAL - FIRST))
REPORT=$((TOTAL >= 600 ? 60 : 10))

BUILD=${QUORVANE_BUILD_DIR:-build}
if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" -j"$(nproc)" --target bench_loop quorvane-probe-sim >/dev/null

echo "soak: $TOTAL s = run ${FIRST} s, then garbage flood at 2880 char/s ${SECOND} s"
QT_QPA_PLATFORM=offscreen "$BUILD/bin/bench_loop" --memory --report-every "$REPORT" \
    --phase "run:$FIRST" --phase "garbage:$SECOND" --rate 2880
