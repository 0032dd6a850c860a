#!/usr/bin/env bash
# Pictures of the viewer's reduction panel: a finished simulated 30-minute run with the
# heater, a file that grows while the viewer follows it (decay, then heating), a file of three
# penetrations with a station file (one thermistor left out, one hidden) and its Station
# dialog, and the exported report (reduction-report.png and .pdf).
# Usage: scripts/reduction-screenshots.sh OUTPUT_FOLDER
# Builds quorvane-view and the simulator in build/ if needed, writes the files with the
# simulator's file mode and takes the pictures on a virtual X screen (xvfb-run, import).
set -euo pipefail

# shellcheck source=scripts/screenshot-common.sh
source "$(dirname "$0")/screenshot-common.sh"
screenshot_setup "$0" $# "${1:-}" quorvane-view quorvane-probe-sim test_viewer_reduction
bin=$(cd "$build/bin" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Profiles are looked up here, not in the user's settings.
export XDG_CONFIG_HOME="$work/config"
"$bin/quorvane-probe-sim" --write-file "$work/run30.log" --duration 1800 --noise 0.0005 \
    --seed 7 --friction 30 --serial 0417
mkdir -p "$XDG_CONFIG_HOME/Quorvane/probes"
cat >"$XDG_CONFIG_HOME/Quorvane/probes/0417.json" <<'JSON'
{"serial": "0417", "sensor_depths_m": [0.0, 0.5, 1.0, 1.5, 2.0],
 "heater_w_per_m_per_level": 0.25, "radius_m": 0.001, "tilt_deg": 0.0}
JSON
"$bin/quorvane-probe-sim" --write-file "$work/grow-source.log" --duration 1800 \
    --noise 0.0005 --seed 8 --friction 30 --serial 0999
"$bin/quorvane-probe-sim" --write-file "$work/three.log" --duration 3700 --noise 0.0005 \
    --seed 5 --friction 20 --conductivity 0.9 --serial 0417 --penetration 50,1250,2450 \
    --pull-out 1150,2350 --heat-delay 470,1670,2870 --heat-time 20
cat >"$work/three.log.station.json" <<'JSON'
{"format": "quorvane-station", "version": 1,
 "description": {"cruise": "SO-300", "station": "HF-07", "latitude_deg": -33.5,
                 "longitude_deg": 172.25, "water_depth_m": 3120, "probe_type": "violin-bow"},
 "penetrations": [{"run": 1, "penetration": 3, "description": {"penetration_number": 3},
                   "choices": {"excluded": {"T3": {"from": ["gradient"], "reason": "cracked"}},
                               "hidden": ["T4"]}}]}
JSON

# Runs inside the virtual server: one picture of each.
inner=$(cat <<'INNER'
set -u
bin=$1; work=$2; output=$3
unset QT_QPA_PLATFORM
shoot() { # PICTURE SECONDS ARGS...
    local picture=$1 seconds=$2
    shift 2
    "$bin/quorvane-view" "$@" &
    local pid=$!
    sleep "$seconds"
    import -window root "$output/$picture"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}
shoot reduction-finished.png 5 "$work/run30.log"

shoot reduction-penetrations.png 5 "$work/three.log"

# The growing file: the header and the first 11 minutes, then a minute more each second.
head -n 700 "$work/grow-source.log" >"$work/grow.log"
(
    for n in 760 820 880 940 1000; do
        sleep 1
        head -n "$n" "$work/grow-source.log" | tail -n 60 >>"$work/grow.log"
    done
) &
shoot reduction-following.png 7 "$work/grow.log"
wait
INNER
)
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c "$inner" shots "$bin" "$work" "$output"
# The report as exported (PNG and PDF), from the export test.
QUORVANE_SCREENSHOT_DIR="$output" QUORVANE_BIN_DIR="$bin" QT_QPA_PLATFORM=offscreen \
    "$bin/test_viewer_reduction" --gtest_filter='ViewerReductionTest.ExportsJson*' >/dev/null
# The Station dialog refusing a latitude, from its test on the virtual screen.
QUORVANE_SCREENSHOT_DIR="$output" QUORVANE_BIN_DIR="$bin" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1920x1080x24" "$bin/test_viewer_reduction" \
    --gtest_filter='StationDialogTest.Refuses*' >/dev/null
ls "$output"/reduction-*.png
