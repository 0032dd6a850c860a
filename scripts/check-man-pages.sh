#!/usr/bin/env bash
# Checks manual pages: each renders with man without a warning, names the version and a
# date at its foot, and the other programs given under SEE ALSO; and the page of a program
# whose page is made from packaging/man/<program>.h2m lists, in its OPTIONS section, every
# option the program's --help names. An option added to a program but not to its page
# fails here; its entry goes under [=OPTIONS] in packaging/man/<program>.h2m.
# Usage: scripts/check-man-pages.sh MAN_FOLDER BIN_FOLDER PROGRAM...
#   MAN_FOLDER holds PROGRAM.1.gz (build-pkg/packaging/man after scripts/package.sh),
#   BIN_FOLDER the programs (build-pkg/bin).
# Prints a PASS or FAIL line per check; exit status 1 when any check failed.
set -uo pipefail
if [ $# -lt 3 ]; then
    echo "usage: $0 MAN_FOLDER BIN_FOLDER PROGRAM..." >&2
    exit 2
fi
man_dir=$1 bin_dir=$2
shift 2
top=$(cd "$(dirname "$0")/.." && pwd)
sources=$top/packaging/man
version=$(sed -n 's/^project(Quorvane VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for p in "$@"; do
    page=$man_dir/$p.1.gz
    # The C locale renders plain ASCII, so options read as typed.
    LC_ALL=C MANWIDTH=80 man --warnings -l "$page" >"$tmp/page" 2>"$tmp/warnings"
    if [ -s "$tmp/warnings" ] || [ "$(wc -l <"$tmp/page")" -le 10 ]; then
        echo "FAIL: man page $p.1 renders without warnings:"
        sed 's/^/    /' "$tmp/warnings"
        failures=$((failures + 1))
    else
        echo "PASS: man page $p.1 renders without warnings"
    fi
    footer=$(grep -v '^ *$' "$tmp/page" | tail -n1)
    if grep -qE " $version .*[A-Z][a-z]+ [0-9]{4} " <<<"$footer"; then
        echo "PASS: man page $p.1 names version $version and a date:$(tr -s ' ' <<<" $footer")"
    else
        echo "FAIL: man page $p.1 names no version $version and date at its foot: $footer"
        failures=$((failures + 1))
    fi
    awk '/^SEE ALSO$/ { on = 1; next } /^[A-Z]/ { on = 0 } on' "$tmp/page" >"$tmp/see"
    unnamed=()
    for other in "$@"; do
        [ "$other" = "$p" ] || grep -qF "$other(1)" "$tmp/see" || unnamed+=("$other(1)")
    done
    if [ ${#unnamed[@]} -eq 0 ]; then
        echo "PASS: man page $p.1 names the other programs under SEE ALSO"
    else
        echo "FAIL: man page $p.1 lacks under SEE ALSO: ${unnamed[*]}"
        failures=$((failures + 1))
    fi
    [ -f "$sources/$p.h2m" ] || continue

    if ! QT_QPA_PLATFORM=offscreen timeout 30 "$bin_dir/$p" --help >"$tmp/help" 2>&1; then
        echo "FAIL: $p --help"
        failures=$((failures + 1))
        continue
    fi
    # help2man takes the second usage line for text: the synopsis is written by hand, and
    # no usage line may stray from it into the text.
    strays=$(awk -v p="$p" '/^[A-Z]/ { s = $0; next }
        { line = $0; sub(/^ +/, "", line) }
        s != "NAME" && s != "SYNOPSIS" && s != "EXAMPLES" && index(line, p " ") == 1 &&
        substr(line, length(p) + 2, 1) ~ /[-[A-Z]/' "$tmp/page")
    if [ -z "$strays" ]; then
        echo "PASS: man page $p.1 has its usage lines in the synopsis only"
    else
        echo "FAIL: man page $p.1 has usage lines outside its synopsis:"
        sed 's/^/    /' <<<"$strays"
        failures=$((failures + 1))
    fi
    # Every --option the help names, in its text or its lists.
    grep -oE '(^|[^[:alnum:]-])--[a-z][a-z0-9-]*' "$tmp/help" | sed 's/^[^-]*//' |
        sort -u >"$tmp/named"
    awk '/^OPTIONS$/ { on = 1; next } /^[A-Z]/ { on = 0 } on' "$tmp/page" >"$tmp/options"
    missing=()
    while read -r option; do
        grep -qE -- "(^|[^[:alnum:]-])$option([^[:alnum:]-]|$)" "$tmp/options" ||
            missing+=("$option")
    done <"$tmp/named"
    if [ ${#missing[@]} -eq 0 ]; then
        echo "PASS: man page $p.1 lists the $(wc -l <"$tmp/named") options its --help names"
    else
        echo "FAIL: man page $p.1 lacks options its --help names: ${missing[*]}" \
            "(add them to packaging/man/$p.h2m)"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ]
