#!/usr/bin/env bash
# Builds the Debian package and tests it as an operator gets it: its contents, the
# manual pages against the programs' --help, the validators and lintian; then apt-get
# install over a program folder an older install left writable, with links planted in it
# by an ordinary user of the dialout group (created for the test); the installed simulator
# and program run by that user on a virtual X screen; the data log file's type; reinstalls
# over a hard-linked event log and over a good one; and a purge that must leave nothing
# behind, /opt itself untouched. Needs root. Prints PASS/FAIL lines; exits non-zero on any
# failed check. The package, the test user and the test's files are removed also when a
# check fails.
# Usage: scripts/test-package.sh [BUILD_DIR]   (default build-pkg)
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${1:-build-pkg}
TESTUSER=quorvane-pkgtest
FOLDER=/opt/quorvane
started=$(date +%s)

failures=0
pass() { echo "PASS: $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# check DESCRIPTION COMMAND...: one PASS or FAIL line from the command's exit status.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
    echo "== package test: $failures failed check(s), $(($(date +%s) - started)) s"
    [ "$failures" -eq 0 ]
    exit $?
}

if [ "$(id -u)" -ne 0 ]; then
    echo "FAIL: the package test needs root (apt-get install, useradd)"
    exit 1
fi
if dpkg-query -W -f='${Status}' quorvane 2>/dev/null | grep -q installed; then
    echo "FAIL: a quorvane package is installed already; the test would purge it"
    exit 1
fi
if id "$TESTUSER" >/dev/null 2>&1; then
    echo "FAIL: the user $TESTUSER exists already"
    exit 1
fi
if [ -e "$FOLDER" ] || [ -L "$FOLDER" ]; then
    echo "FAIL: $FOLDER exists already; the test would change and remove it"
    exit 1
fi

WORK=$(mktemp -d /tmp/quorvane-pkgtest.XXXXXX)
# Root-only files for links planted in the program folder to point at; a hard link needs
# one on the folder's file system.
SECRETS=$(mktemp -d /opt/.quorvane-pkgtest.XXXXXX)
installed=0
user_created=0
folder_made=0
cleanup() {
    local home
    if [ "$user_created" = 1 ]; then
        home=$(getent passwd "$TESTUSER" | cut -d: -f6)
        # Processes the test started, by the ids it wrote down.
        for f in "$home"/*.pid; do
            [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null
        done
        userdel -r -f "$TESTUSER" >/dev/null 2>&1 || echo "cleanup: userdel $TESTUSER failed"
    fi
    if [ "$installed" = 1 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=300 \
            quorvane >/dev/null 2>&1 || echo "cleanup: purging quorvane failed"
    fi
    # What the test planted in the folder, should a check have failed before the purge.
    if [ "$folder_made" = 1 ]; then rm -rf "$FOLDER"; fi
    rm -rf "$WORK" "$SECRETS"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

echo "== build the package"
# A build folder that holds the tests or benchmarks as well (scripts/test.sh's) keeps them.
with_tests=()
if grep -qx 'QUORVANE_TESTS:BOOL=ON' "$BUILD/CMakeCache.txt" 2>/dev/null; then
    with_tests=(--with-tests)
elif grep -qx 'QUORVANE_BENCH:BOOL=ON' "$BUILD/CMakeCache.txt" 2>/dev/null; then
    with_tests=(--with-benchmarks)
fi
if ! deb=$(bash scripts/package.sh "${with_tests[@]}" "$BUILD" | tail -n1) || [ ! -f "$deb" ]; then
    fail "scripts/package.sh builds the package"
    finish
fi
version=$(sed -n 's/^project(Quorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
check "package file is quorvane_${version}_amd64.deb ($(du -k "$deb" | cut -f1) KiB)" \
    test "$(basename "$deb")" = "quorvane_${version}_amd64.deb"

echo "== contents"
programs=(quorvane quorvane-decode quorvane-probe-sim)
if [ -x "$BUILD/bin/quorvane-view" ]; then programs+=(quorvane-view); fi
echo "programs: ${programs[*]}"
desktop_ids=(org.quorvane.Quorvane)
if [[ " ${programs[*]} " == *" quorvane-view "* ]]; then desktop_ids+=(org.quorvane.QuorvaneView); fi

dpkg-deb -c "$deb" >"$WORK/listing"
# "path" for files, "path -> target" for links; directories left out.
awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ *\./, ""); print }' "$WORK/listing" |
    sort >"$WORK/files"
{
    for p in "${programs[@]}"; do
        echo "$FOLDER/$p"
        echo "/usr/bin/$p -> $FOLDER/$p"
        echo "/usr/share/man/man1/$p.1.gz"
    done
    for i in nolight greenlight redlight; do echo "$FOLDER/icons/$i.bmp"; done
    for id in "${desktop_ids[@]}"; do
        echo "/usr/share/applications/$id.desktop"
        echo "/usr/share/metainfo/$id.metainfo.xml"
    done
    if [[ " ${programs[*]} " == *" quorvane-view "* ]]; then
        echo "/usr/share/mime/packages/quorvane.xml"
    fi
    for s in 16 22 24 32 48 64 128 256; do
        echo "/usr/share/icons/hicolor/${s}x${s}/apps/org.quorvane.Quorvane.png"
    done
    echo "/usr/share/icons/hicolor/scalable/apps/org.quorvane.Quorvane.svg"
    echo "/usr/share/doc/quorvane/copyright"
    echo "/usr/share/doc/quorvane/changelog.gz"
} | sort >"$WORK/expected"
if diff -u "$WORK/expected" "$WORK/files" >"$WORK/contents.diff"; then
    pass "package holds exactly the $(wc -l <"$WORK/expected") expected files and links"
else
    fail "package contents differ from the expected (- missing, + unexpected):"
    sed -n '3,$p' "$WORK/contents.diff"
fi
check "every entry is owned by root:root" \
    test -z "$(awk '$2 != "root/root"' "$WORK/listing")"
check "programs are executable (rwxr-xr-x), other files rw-r--r--" test -z "$(awk '
    $1 ~ /^-/ { f = $6; sub(/^\./, "", f)
                x = (f ~ "^'"$FOLDER"'/quorvane[^/]*$")
                if ((x && $1 != "-rwxr-xr-x") || (!x && $1 != "-rw-r--r--")) print }
    $1 ~ /^d/ && $1 != "drwxr-xr-x" { print }' "$WORK/listing")"
# dpkg takes every folder a package lists for the package's own, and removes it with the
# package when it is empty: the package lists its own folder, never /opt.
check "the package lists $FOLDER but not /opt itself" bash -c \
    "grep -q ' \./opt/quorvane/\$' '$WORK/listing' && ! grep -q ' \./opt/\$' '$WORK/listing'"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package: quorvane, Version: $version, Architecture: amd64" \
    test "$(field Package) $(field Version) $(field Architecture)" = "quorvane $version amd64"
depends=$(field Depends)
echo "Depends: $depends"
depends_names=" $(sed 's/ ([^)]*)//g; s/,//g' <<<"$depends") "
for d in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
    check "Depends names $d" test "${depends_names/ $d /}" != "$depends_names"
done

mkdir -p "$WORK/x" "$WORK/control"
dpkg-deb -x "$deb" "$WORK/x"
dpkg-deb -e "$deb" "$WORK/control"
for p in "${programs[@]}"; do
    check "$p is a stripped PIE executable" \
        bash -c "file -b '$WORK/x$FOLDER/$p' | grep -q 'pie executable.*, stripped'"
done
# Each page renders cleanly, names the version, its date and the other programs, and lists
# every option its program's --help names.
bash scripts/check-man-pages.sh "$WORK/x/usr/share/man/man1" "$WORK/x$FOLDER" "${programs[@]}" \
    >"$WORK/man.out"
cat "$WORK/man.out"
failures=$((failures + $(grep -c '^FAIL' "$WORK/man.out")))
for id in "${desktop_ids[@]}"; do
    check "desktop-file-validate $id.desktop" \
        desktop-file-validate "$WORK/x/usr/share/applications/$id.desktop"
    check "appstreamcli validate $id.metainfo.xml" \
        appstreamcli validate --no-net "$WORK/x/usr/share/metainfo/$id.metainfo.xml"
    check "$id.metainfo.xml names the project's licence" \
        grep -q '<project_license>LicenseRef-proprietary</project_license>' \
        "$WORK/x/usr/share/metainfo/$id.metainfo.xml"
done
if [[ " ${programs[*]} " == *" quorvane-view "* ]]; then
    mime=application/x-quorvane-data-log
    check "the viewer's menu entry opens $mime" grep -qx "MimeType=$mime;" \
        "$WORK/x/usr/share/applications/org.quorvane.QuorvaneView.desktop"
fi
for s in 16 22 24 32 48 64 128 256; do
    check "icon ${s}x${s} is a ${s} x ${s} PNG" bash -c "file -b \
        '$WORK/x/usr/share/icons/hicolor/${s}x${s}/apps/org.quorvane.Quorvane.png' | \
        grep -q 'PNG image data, $s x $s,'"
done
for s in preinst postinst postrm; do
    check "maintainer script $s is there and executable" test -x "$WORK/control/$s"
done

echo "== lintian"
# A package in /opt draws these by design; everything else must be mended.
# The package leaves /opt out on purpose (dpkg would take it for the package's own).
known='dir-or-file-in-opt \[.*\]|missing-intermediate-directory \[opt/\]'
lintian -I -E --pedantic --tag-display-limit 0 "$deb" >"$WORK/lintian" 2>&1
sed 's/^/    /' "$WORK/lintian"
others=$(grep -E '^[EW]: ' "$WORK/lintian" | grep -Ev "^[EW]: quorvane: ($known)$" || true)
if [ -z "$others" ]; then
    pass "lintian: no errors or warnings beyond the known /opt ones"
else
    fail "lintian errors or warnings:"
    echo "$others"
fi

echo "== a program folder an older install left writable, links planted in it"
useradd -m -s /bin/bash -G dialout "$TESTUSER" && user_created=1
check "test user $TESTUSER created, in the dialout group" \
    bash -c "id -nG '$TESTUSER' | grep -qw dialout"
HOMEDIR=$(getent passwd "$TESTUSER" | cut -d: -f6)
# A clean environment, as at a login: temporary files in the user's home, so that removing
# the user removes them too.
as_user() {
    runuser -u "$TESTUSER" -- env -i HOME="$HOMEDIR" USER="$TESTUSER" LOGNAME="$TESTUSER" \
        PATH=/usr/local/bin:/usr/bin:/bin TMPDIR="$HOMEDIR/tmp" XDG_RUNTIME_DIR="$HOMEDIR/run" \
        LANG=C.UTF-8 "$@"
}
as_user mkdir -m 700 "$HOMEDIR/tmp" "$HOMEDIR/run"
# stat and checksum of a file, to tell whether anything changed it.
fingerprint() { echo "$(stat -c '%U:%G %a' "$1") $(md5sum <"$1")"; }
# The folder writable by the operators, as an install by hand was once advised to leave it;
# an operator puts links to root-only places where the event log and icons/ go.
mkdir -m 2775 "$FOLDER" && chgrp dialout "$FOLDER" && folder_made=1
printf 'root only\n' >"$SECRETS/secret" && chmod 0600 "$SECRETS/secret"
mkdir -m 0700 "$SECRETS/folder"
secret_before=$(fingerprint "$SECRETS/secret")
as_user ln -s "$SECRETS/secret" "$FOLDER/QuorvaneEvents.log"
as_user ln -s "$SECRETS/folder" "$FOLDER/icons"
check "the operator planted QuorvaneEvents.log -> a root-only file and icons -> a root-only folder" \
    test -L "$FOLDER/QuorvaneEvents.log" -a -L "$FOLDER/icons"

echo "== install"
if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
    "$ROOT/$(basename "$deb")" >"$WORK/apt.log" 2>&1; then
    installed=1
    pass "apt-get install ./$(basename "$deb")"
else
    installed=1
    fail "apt-get install ./$(basename "$deb")"
    cat "$WORK/apt.log"
    finish
fi
sed -n 's/^quorvane: /    maintainer script: /p' "$WORK/apt.log"
check "dpkg says quorvane $version is installed" \
    test "$(dpkg-query -W -f='${Status} ${Version}' quorvane)" = "install ok installed $version"
# The event log: a plain file of its own (no link, one name), and the folders root's alone.
event_log_sound() {
    test ! -L "$FOLDER/QuorvaneEvents.log" -a -f "$FOLDER/QuorvaneEvents.log" &&
        test "$(stat -c '%U:%G %a %h' "$FOLDER/QuorvaneEvents.log")" = "root:dialout 664 1"
}
folders_sound() {
    test "$(stat -c '%U:%G %a %F' "$FOLDER" "$FOLDER/icons" | sort -u)" = "root:root 755 directory"
}
check "$FOLDER and its icons/ are folders of root's, 755" folders_sound
check "event log is a plain file of its own, root:dialout 664" event_log_sound
check "the root-only file the planted link pointed to kept its owner, mode and contents" \
    test "$(fingerprint "$SECRETS/secret")" = "$secret_before"
check "nothing was written into the root-only folder icons/ pointed to" \
    test -z "$(ls -A "$SECRETS/folder")" -a "$(stat -c %a "$SECRETS/folder")" = 700
check "the installation said it replaced the planted event log link" \
    grep -q 'QuorvaneEvents.log was a symbolic link; replaced' "$WORK/apt.log"
check "dpkg lists $FOLDER as the package's, and not /opt" \
    bash -c "dpkg -L quorvane | grep -qx '$FOLDER' && ! dpkg -L quorvane | grep -qx /opt"
for p in "${programs[@]}"; do
    check "/usr/bin/$p resolves to $FOLDER/$p" test "$(readlink -f "/usr/bin/$p")" = "$FOLDER/$p"
    check "man -w $p finds the page" test "$(man -w "$p" 2>/dev/null)" = "/usr/share/man/man1/$p.1.gz"
done
if [ -n "${mime:-}" ]; then
    check "update-mime-database took in $mime" test -f "/usr/share/mime/$mime.xml"
fi

echo "== run as an operator"
events_before=$(wc -l <"$FOLDER/QuorvaneEvents.log")

# Runs as the test user inside xvfb-run: the installed simulator on a pseudo-terminal,
# COM2 pointed at it, the installed program through its /usr/bin link.
cat >"$HOMEDIR/run.sh" <<'INNER'
set -u
cd "$HOME"
link=$HOME/ttyQuorvaneProbe
mkdir -p .config/Quorvane
cat >.config/Quorvane/Quorvane.conf <<CONF
[Ports]
COM2=$link

[Settings]
ComPort=COM2
BaudRate=9600
Parity=N
DataBits=8
StopBits=1
DefaultPath=$HOME/
DefaultFilename=run.log
CONF
quorvane-probe-sim --link "$link" --log "$HOME/probe.log" >sim.out 2>&1 &
echo $! >sim.pid
for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.1; done
quorvane >program.out 2>&1 &
pid=$!
echo $pid >program.pid
for _ in $(seq 150); do
    xdotool search --all --onlyvisible --pid "$pid" --name Quorvane >window.ids 2>/dev/null && break
    sleep 0.2
done
# Give the start-up its wake-up and heater-off, then look at the screen.
for _ in $(seq 100); do grep -q '#HFN' probe.log 2>/dev/null && break; sleep 0.1; done
sleep 1
xwininfo -root -tree >windows.txt
import -window root screen.png 2>/dev/null
# A short run, as an operator starts one: Initialize, name the data log file, Start Run,
# OK to the heater warning; then the program requests a record every 2 s. The buttons are
# clicked at their designed places (twips / 15) below the menu bar.
wid=$(head -n1 window.ids)
newest() { xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null | sort -n | tail -n1; }
if [ -n "$wid" ]; then
    xdotool mousemove --window "$wid" 34 42 click 1
    for _ in $(seq 50); do xdotool search --onlyvisible --name 'Set Output File' >/dev/null 2>&1 && break; sleep 0.2; done
    sleep 0.5
    xdotool type --delay 50 run.log
    xdotool key Return
    sleep 1
    before=$(newest)
    xdotool mousemove --window "$wid" 108 42 click 1
    for _ in $(seq 50); do [ "$(newest)" != "$before" ] && break; sleep 0.2; done
    sleep 0.5
    xdotool key Return
    for _ in $(seq 100); do grep -q 'CMD T' probe.log && break; sleep 0.1; done
    for _ in $(seq 50); do grep -q '^[0-9].* [0-9A-F]\{4\} ' run.log 2>/dev/null && break; sleep 0.1; done
fi
kill -TERM "$pid"
wait "$pid"
echo $? >program.status
rm -f program.pid
if [ -x /usr/bin/quorvane-view ]; then
    quorvane-view >view.out 2>&1 &
    vpid=$!
    echo $vpid >view.pid
    for _ in $(seq 150); do
        xdotool search --all --onlyvisible --pid "$vpid" >view.ids 2>/dev/null && break
        sleep 0.2
    done
    kill -TERM "$vpid"
    wait "$vpid"
    rm -f view.pid
fi
kill "$(cat sim.pid)"
wait
rm -f sim.pid
INNER
chown "$TESTUSER:" "$HOMEDIR/run.sh"
as_user timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$HOMEDIR/run.sh"
check "the program's window came up" test -s "$HOMEDIR/window.ids"
check "the window is on the screen, named Quorvane" grep -q '"Quorvane' "$HOMEDIR/windows.txt"
check "the program ended on SIGTERM with status 0" \
    test "$(cat "$HOMEDIR/program.status" 2>/dev/null)" = 0
new_events=$(tail -n +"$((events_before + 1))" "$FOLDER/QuorvaneEvents.log")
echo "event log, new lines:"
sed 's/^/    /' <<<"$new_events"
check "the event log in $FOLDER got the start-up line" grep -q 'Program loaded\.' <<<"$new_events"
check "the event lines carry the test's UTC date" \
    grep -q "^$(date -u +%d-%b-%Y)" <<<"$new_events"
check "no event log beside the /usr/bin link" test ! -e /usr/bin/QuorvaneEvents.log
echo "simulator's command log:"
sed 's/^/    /' "$HOMEDIR/probe.log" 2>/dev/null
check "the wake-up (#HFN) reached the simulator" grep -q '#HFN' "$HOMEDIR/probe.log"
check "the heater-off (!P00) reached the simulator" grep -q '!P00' "$HOMEDIR/probe.log"
check "a data request (T) of the run reached the simulator" grep -q 'CMD T' "$HOMEDIR/probe.log"
echo "data log file:"
sed 's/^/    /' "$HOMEDIR/run.log" 2>/dev/null
check "the data log file got a record" grep -q '^[0-9].* [0-9A-F]\{4\} ' "$HOMEDIR/run.log"
check "the user cannot write elsewhere in $FOLDER" \
    bash -c "! runuser -u '$TESTUSER' -- touch '$FOLDER/write-test' 2>/dev/null"
if [[ " ${programs[*]} " == *" quorvane-view "* ]]; then
    check "quorvane-view --help" as_user env QT_QPA_PLATFORM=offscreen quorvane-view --help
    check "the viewer's window came up" test -s "$HOMEDIR/view.ids"
    # xdg-mime asks File::MimeInfo here (no desktop), which goes by the header before the
    # name's .log, as the data log file's type asks.
    as_user quorvane-probe-sim --write-file "$HOMEDIR/sim.log" --duration 60 >/dev/null 2>&1
    for f in sim.log run.log; do
        check "xdg-mime: $f is $mime" \
            test "$(as_user xdg-mime query filetype "$HOMEDIR/$f" 2>&1)" = "$mime"
    done
    check "xdg-mime: $mime opens in the viewer" test \
        "$(as_user xdg-mime query default "$mime" 2>&1)" = org.quorvane.QuorvaneView.desktop
fi
if [ "$failures" -ne 0 ]; then
    for f in sim.out program.out view.out; do
        [ -s "$HOMEDIR/$f" ] && { echo "$f:"; sed 's/^/    /' "$HOMEDIR/$f"; }
    done
fi
# The screen as the program showed it after start-up, kept for a look.
cp "$HOMEDIR/screen.png" "$BUILD/package-test-screen.png" 2>/dev/null &&
    echo "screenshot: $BUILD/package-test-screen.png"
userdel -r -f "$TESTUSER" >/dev/null 2>&1
check "test user removed" bash -c "! id '$TESTUSER' >/dev/null 2>&1"
user_created=0

reinstall() {
    if DEBIAN_FRONTEND=noninteractive apt-get install --reinstall -y -qq \
        -o DPkg::Lock::Timeout=300 "$ROOT/$(basename "$deb")" >"$WORK/apt.log" 2>&1; then
        pass "apt-get install --reinstall ./$(basename "$deb")"
        sed -n 's/^quorvane: /    maintainer script: /p' "$WORK/apt.log"
    else
        fail "apt-get install --reinstall ./$(basename "$deb")"
        cat "$WORK/apt.log"
    fi
}
echo "== reinstall over the event log"
log_before=$(fingerprint "$FOLDER/QuorvaneEvents.log")
reinstall
check "the event log kept its lines, owner and mode" \
    test "$(fingerprint "$FOLDER/QuorvaneEvents.log")" = "$log_before"

echo "== reinstall over an event log hard-linked to a root-only file, in a writable folder"
printf 'root only, too\n' >"$SECRETS/hard" && chmod 0600 "$SECRETS/hard"
hard_before=$(fingerprint "$SECRETS/hard")
ln -f "$SECRETS/hard" "$FOLDER/QuorvaneEvents.log"
chgrp dialout "$FOLDER" && chmod 2775 "$FOLDER"
check "the event log is a second name of the root-only file" \
    test "$(stat -c %h "$SECRETS/hard")" = 2
reinstall
check "$FOLDER and its icons/ are folders of root's, 755" folders_sound
check "event log is a plain file of its own, root:dialout 664" event_log_sound
check "the root-only file kept its owner, mode and contents, and lost the second name" \
    test "$(fingerprint "$SECRETS/hard") $(stat -c %h "$SECRETS/hard")" = "$hard_before 1"

echo "== purge"
if DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=300 quorvane \
    >"$WORK/apt.log" 2>&1; then
    installed=0
    pass "apt-get purge quorvane"
else
    fail "apt-get purge quorvane"
    cat "$WORK/apt.log"
fi
sed 's/^/    /' "$WORK/apt.log"
# dpkg warns of each folder of the package's it cannot remove; it must not try /opt.
check "the purge warned of nothing" bash -c "! grep -qi warning '$WORK/apt.log'"
check "/opt is still there" test -d /opt
if [ -n "${mime:-}" ]; then
    check "the MIME database forgot $mime" test ! -e "/usr/share/mime/$mime.xml"
fi
check "dpkg knows no quorvane package any more" \
    bash -c "! dpkg-query -W -f='\${Status}' quorvane 2>/dev/null | grep -q installed"
left=$(sed 's/ -> .*//' "$WORK/files" | while read -r f; do
    if [ -e "$f" ] || [ -L "$f" ]; then echo "$f"; fi
done)
check "none of the package's files is left" test -z "$left"
[ -n "$left" ] && echo "$left"
check "$FOLDER is gone" test ! -e "$FOLDER"
finish
