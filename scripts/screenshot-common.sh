# Sourced by the screenshot scripts: checks the one argument (the output folder), makes it
# (a relative folder is taken from where the script was called), and builds the targets they need in build/ (or $QUORVANE_BUILD_DIR).
# Sets `output` (absolute) and `build`, and leaves the shell in the repository's top folder.
# Usage: screenshot_setup SCRIPT_NAME ARGUMENT_COUNT OUTPUT_FOLDER TARGET...
screenshot_setup() {
    local script=$1 count=$2
    if [ "$count" -ne 1 ]; then
        echo "usage: $script OUTPUT_FOLDER" >&2
        exit 2
    fi
    mkdir -p "$3"
    output=$(cd "$3" && pwd)
    cd "$(dirname "${BASH_SOURCE[0]}")/.."
    build=${QUORVANE_BUILD_DIR:-build}
    shift 3
    if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
        cmake -S . -B "$build" -G Ninja >/dev/null
    fi
    cmake --build "$build" -j2 --target "$@" >/dev/null
}
