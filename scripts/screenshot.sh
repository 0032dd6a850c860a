#!/usr/bin/env bash
# Takes a screenshot of a program's window on a virtual X screen.
# Usage: scripts/screenshot.sh PROGRAM OUTPUT.png [SECONDS] [ARGS...]
# Builds nothing: PROGRAM must exist. SECONDS (default 3) is how long the program is
# given to show its window before the picture is taken.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 PROGRAM OUTPUT.png [SECONDS] [ARGS...]" >&2
    exit 2
fi
program=$1
output=$2
wait_seconds=${3:-3}
shift 2
[ $# -gt 0 ] && shift
if [ ! -x "$program" ]; then
    echo "$0: $program is not an executable program" >&2
    exit 2
fi
case "$output" in
    /*) ;;
    *) output="$PWD/$output" ;;
esac

# Runs inside the virtual server: start the program, wait, take the picture, stop it.
inner=$(cat <<'INNER'
set -u
program=$1; output=$2; wait_seconds=$3; shift 3
unset QT_QPA_PLATFORM
"$program" "$@" &
pid=$!
sleep "$wait_seconds"
status=0
if ! kill -0 "$pid" 2>/dev/null; then
    echo "screenshot: the program ended before the picture was taken" >&2
    status=1
else
    import -window root "$output" || status=1
    kill "$pid" 2>/dev/null
fi
wait "$pid" 2>/dev/null
exit $status
INNER
)

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$inner" screenshot "$program" "$output" \
    "$wait_seconds" "$@"
echo "$output"
