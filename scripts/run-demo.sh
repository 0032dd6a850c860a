#!/usr/bin/env bash
# Installs what is needed, builds, starts the probe simulator on a pseudo-terminal, points
# COM2 at it and starts Quorvane, with the viewer (quorvane-view) beside it following the
# program's event log: at each Start Run it shows the run's data log file live. The demo
# keeps its own settings folder, so the operator's own settings (~/.config/Quorvane) are
# left as they are.
# With no display it runs the program under xvfb-run, saves a screenshot and judges the
# demo by what the screen shows: the program's window up, no message box open, and the
# simulator reached. Exit status 0 only then.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
DEMO=${QUORVANE_DEMO_DIR:-/tmp/quorvane-demo}
say() { echo "run-demo: $*"; }

if [ "${QUORVANE_SKIP_INSTALL:-0}" != "1" ]; then
    say "1/4 installing what is needed (scripts/install-deps.sh)"
    bash scripts/install-deps.sh
else
    say "1/4 installing skipped (QUORVANE_SKIP_INSTALL=1)"
fi
say "2/4 configuring the build in build/"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
say "3/4 building the program, the viewer and the tools (some minutes the first time)"
cmake --build build -j"$(nproc)" --target quorvane quorvane-probe-sim quorvane-decode \
    quorvane-view

say "4/4 starting the probe simulator and the program"
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

rm -f "$DEMO/probe.log"
"$ROOT/build/bin/quorvane-probe-sim" --link "$LINK" --log "$DEMO/probe.log" >"$DEMO/probe.out" &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$LINK" ] && break; sleep 0.1; done
say "probe simulator on $(head -n1 "$DEMO/probe.out") (COM2 -> $LINK)"
say "data log files go to $DEMO/; the simulator logs what it receives in $DEMO/probe.log"

export XDG_CONFIG_HOME="$DEMO/config"
EVENTS="$ROOT/build/bin/QuorvaneEvents.log"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # The program writes its event log beside itself; the viewer follows it from the start.
    "$ROOT/build/bin/quorvane-view" --events "$EVENTS" &
    VIEW=$!
    trap 'kill $SIM $VIEW 2>/dev/null || true' EXIT
    say "Quorvane Viewer follows the run: Initialize and Start Run in Quorvane to see it plot."
    "$ROOT/build/bin/quorvane"
    exit 0
fi

say "no display: running the program under xvfb-run for a screenshot"
events_before=0
[ -f "$EVENTS" ] && events_before=$(wc -l <"$EVENTS")
# Runs inside the virtual server: the program, its start-up, the picture, and a list of the
# program's windows (type and title) as the X server has them.
inner=$(
    cat <<'INNER'
set -u
program=$1 picture=$2 report=$3
unset QT_QPA_PLATFORM
"$program" >"$report.out" 2>&1 &
pid=$!
for _ in $(seq 100); do
    xdotool search --all --onlyvisible --pid "$pid" >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
# The start-up: wake-up, heater-off, the instrument's answers, and any box that follows.
sleep 4
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "ended $?" >"$report"
    exit 0
fi
import -window root "$picture"
for id in $(xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null); do
    # The window's types, most specific first: DIALOG,NORMAL for a message box.
    type=$(xprop -id "$id" _NET_WM_WINDOW_TYPE | sed 's/^[^=]*= *//; s/_NET_WM_WINDOW_TYPE_//g; s/ //g')
    printf 'window\t%s\t%s\n' "$type" "$(xdotool getwindowname "$id")"
done >"$report"
kill "$pid"
wait "$pid" 2>/dev/null
exit 0
INNER
)
report="$DEMO/windows.txt"
rm -f "$report" "$DEMO/quorvane.png"
xvfb_status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$inner" demo "$ROOT/build/bin/quorvane" \
    "$DEMO/quorvane.png" "$report" || xvfb_status=$?

problems=()
if [ ! -s "$report" ]; then
    problems+=("no list of the program's windows came back from xvfb-run (status $xvfb_status)")
elif grep -q '^ended' "$report"; then
    problems+=("the program ended by itself during its start-up ($(cat "$report"))")
else
    if ! awk -F'\t' '$2 !~ /DIALOG/ { found = 1 } END { exit !found }' "$report"; then
        problems+=("the program's main window is not up")
    fi
    while IFS=$'\t' read -r _ type title; do
        if [[ "$type" == *DIALOG* ]]; then
            problems+=("a message box \"$title\" is open (see the screenshot and the event log above)")
        fi
    done <"$report"
fi
if ! grep -q '#HFN' "$DEMO/probe.log" 2>/dev/null; then
    problems+=("the simulator received no wake-up (#HFN) from the program")
elif ! grep -q 'SENT-REPLY' "$DEMO/probe.log"; then
    problems+=("the simulator sent no reply to the program")
fi
say "the program's event log, new lines:"
{ tail -n +"$((events_before + 1))" "$EVENTS" 2>/dev/null || true; } | sed 's/^/    /'
if [ -s "$report.out" ]; then
    say "the program's output:"
    sed 's/^/    /' "$report.out"
fi
[ -f "$DEMO/quorvane.png" ] && say "screenshot: $DEMO/quorvane.png"
if [ ${#problems[@]} -gt 0 ]; then
    for p in "${problems[@]}"; do say "FAILED: $p"; done
    exit 1
fi
say "the demo ran: the program's window is up with no message box, and the simulator answered it"
