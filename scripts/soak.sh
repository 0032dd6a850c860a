#!/usr/bin/env bash
# Soak of the real window, offscreen, against the probe simulator on a pty.
#
#   scripts/soak.sh            the full soak (about 75 minutes, not part of CI):
#     1. an accelerated week: the simulator floods records at 115200 baud (about 256 a
#        second) into a logging run for 660 s (over 150,000 records), while 150 events a
#        second fill the Events pane; every pane fills and is cut. Verdicts: every record
#        sent is logged once, in order; the longest poll tick and the event-loop latency
#        under 50 ms; the resident memory grows by less than 5 MB over the last half. It
#        also works out what a week at one record a second would reach.
#     2. a real-time hour: a run at a 1 s log interval, 3,600 data requests stamped by the
#        simulator; the largest error of a request against its schedule under 20 ms, and
#        no drift.
#   scripts/soak.sh --short    the same two parts in about a minute (30 s of flood, 20
#        requests); timing and memory are reported, only lost or doubled records fail it
#        (CI runs this on a shared machine).
#   scripts/soak.sh --garbage [MINUTES]   the older soak: a 1 s run for half the time, then
#        random bytes without line breaks at 2880 char/s; the device goes away between.
# Every part tells, for its longest loop gap, the processor time the program used in it:
# a gap in which it hardly ran was the machine's doing (other processes), not the program's.
set -euo pipefail
cd "$(dirname "$0")/.."

MODE=full
if [ "${1:-}" = "--short" ]; then
    MODE=short
elif [ "${1:-}" = "--garbage" ]; then
    MODE=garbage
fi

BUILD=${QUORVANE_BUILD_DIR:-build}
if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" -j"$(nproc)" --target bench_loop bench_interval quorvane-probe-sim >/dev/null
export QT_QPA_PLATFORM=offscreen

if [ "$MODE" = garbage ]; then
    MINUTES=${2:-30}
    TOTAL=$(awk -v m="$MINUTES" 'BEGIN { s = int(m * 60 + 0.5); if (s < 20) s = 20; print s }')
    FIRST=$((TOTAL / 2))
    REPORT=$((TOTAL >= 600 ? 60 : 10))
    echo "soak: $TOTAL s = run ${FIRST} s, then garbage flood at 2880 char/s $((TOTAL - FIRST)) s"
    exec "$BUILD/bin/bench_loop" --memory --report-every "$REPORT" \
        --phase "run:$FIRST" --phase "garbage:$((TOTAL - FIRST))" --rate 2880
fi

if [ "$MODE" = short ]; then
    FLOOD=30 REQUESTS=20 REPORT=10 ADVISORY=--advisory-timing
else
    FLOOD=660 REQUESTS=3600 REPORT=60 ADVISORY=
fi

status=0
echo "== accelerated week: records at 115200 baud for $FLOOD s, 150 events a second"
"$BUILD/bin/bench_loop" --label "accelerated week" --phase "flood:$FLOOD" --rate 11520 \
    --events-per-second 150 --exact --memory --report-every "$REPORT" $ADVISORY \
    2> >(grep -v '^box: ' >&2) || status=1

echo "== real time: $REQUESTS data requests at a 1 s log interval"
"$BUILD/bin/bench_interval" --requests "$REQUESTS" $ADVISORY || status=1

if [ "$status" -ne 0 ]; then
    echo "soak: a figure missed its target (see the rows marked MISSED)"
fi
exit "$status"
