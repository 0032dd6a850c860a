#!/usr/bin/env bash
# Pictures of the main window during a run against the probe simulator: heating, with the
# ComputedData, LoggedData, Serial Line In and Events tabs in front, and after Finish.
# Usage: scripts/run-screenshots.sh OUTPUT_FOLDER
# Builds test_e2e (with the simulator) in build/ if needed, then runs its WindowDuringARun test
# with QUORVANE_SCREENSHOT_DIR set. Under xvfb-run when it is installed (the X11 platform
# as on a desktop), otherwise on the offscreen platform.
set -euo pipefail

# shellcheck source=scripts/screenshot-common.sh
source "$(dirname "$0")/screenshot-common.sh"
screenshot_setup "$0" $# "${1:-}" test_e2e quorvane-probe-sim

run=("$build/bin/test_e2e" --gtest_filter=WindowDuringARun.*)
export QUORVANE_SCREENSHOT_DIR="$output"
if [ -z "${QUORVANE_OFFSCREEN:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
else
    QT_QPA_PLATFORM=offscreen "${run[@]}"
fi
ls "$output"/*.png
