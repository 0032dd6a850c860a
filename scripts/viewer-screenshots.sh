#!/usr/bin/env bash
# Pictures of the viewer: following a run of the program against the probe simulator with
# the heater on (the viewer beside the program), and the finished file zoomed in; then the
# reduction panel (scripts/reduction-screenshots.sh).
# Usage: scripts/viewer-screenshots.sh OUTPUT_FOLDER
# Builds test_e2e in build/ if needed and runs its ViewerScreenshots test on a virtual X
# screen (xvfb-run), where ImageMagick's import takes the pictures. About a minute.
set -euo pipefail

# shellcheck source=scripts/screenshot-common.sh
source "$(dirname "$0")/screenshot-common.sh"
screenshot_setup "$0" $# "${1:-}" test_e2e quorvane-probe-sim

QUORVANE_SCREENSHOT_DIR="$output" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1920x1080x24" \
    "$build/bin/test_e2e" --gtest_filter='ViewerScreenshots.*'
# The reduction panel beside the plot, and its report.
bash scripts/reduction-screenshots.sh "$output" >/dev/null
ls "$output"/viewer-*.png "$output"/reduction-*.png
