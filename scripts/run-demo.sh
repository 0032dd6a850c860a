#!/usr/bin/env bash
# Installs what is needed, builds, starts the probe simulator on a pseudo-terminal, points
# COM2 at it and starts Quorvane, with the viewer (quorvane-view) beside it following the
# program's event log: at each Start Run it shows the run's data log file live. The demo keeps its own settings folder, so the operator's
# own settings (~/.config/Quorvane) are left as they are.
# With no display it runs under xvfb-run and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
DEMO=${QUORVANE_DEMO_DIR:-/tmp/quorvane-demo}

if [ "${QUORVANE_SKIP_INSTALL:-0}" != "1" ]; then
    bash scripts/install-deps.sh
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quorvane quorvane-probe-sim quorvane-decode \
    quorvane-view

mkdir -p "$DEMO/config/Quorvane"
LINK="$DEMO/ttyQuorvaneProbe"
cat >"$DEMO/config/Quorvane/Quorvane.conf" <<CONF
[Ports]
COM2=$LINK

[Settings]
ComPort=COM2
BaudRate=9600
Parity=N
DataBits=8
StopBits=1
DefaultPath=$DEMO/
DefaultFilename=demo.log
CONF

"$ROOT/build/bin/quorvane-probe-sim" --link "$LINK" --log "$DEMO/probe.log" >"$DEMO/probe.out" &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$LINK" ] && break; sleep 0.1; done
echo "Probe simulator on $(head -n1 "$DEMO/probe.out") (COM2 -> $LINK)"
echo "Data log files go to $DEMO/; the simulator logs what it receives in $DEMO/probe.log"

export XDG_CONFIG_HOME="$DEMO/config"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # The program writes its event log beside itself; the viewer follows it from the start.
    "$ROOT/build/bin/quorvane-view" --events "$ROOT/build/bin/QuorvaneEvents.log" &
    VIEW=$!
    trap 'kill $SIM $VIEW 2>/dev/null || true' EXIT
    echo "Quorvane Viewer follows the run: Initialize and Start Run in Quorvane to see it plot."
    "$ROOT/build/bin/quorvane"
else
    echo "No display: running under xvfb-run; screenshot in $DEMO/quorvane.png"
    bash scripts/screenshot.sh "$ROOT/build/bin/quorvane" "$DEMO/quorvane.png" 6
fi
