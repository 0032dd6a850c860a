#!/usr/bin/env bash
# Installs everything Quorvane needs to build, test and run on Debian 12 (as root).
# Says what it does: the packages missing, the download, and the setting up as it goes.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
    g++ cmake make ninja-build pkg-config git ca-certificates
    qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev libxcb1-dev
    libqcustomplot-dev libqcustomplot2.1-qt6
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth imagemagick fonts-dejavu-core fonts-dejavu-extra x11-utils
    dpkg-dev file help2man librsvg2-bin desktop-file-utils appstream lintian xdotool man-db
    poppler-utils xdg-utils libfile-mimeinfo-perl
    locales
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all ${#packages[@]} packages are installed"
else
    echo "install-deps: ${#missing[@]} of ${#packages[@]} packages missing: ${missing[*]}"
    echo "install-deps: apt-get update"
    $SUDO apt-get update -qq
    echo "install-deps: apt-get install (with what they need; some minutes on a fresh machine)"
    # apt's own lines, cut down to its summary and a line for every tenth of the packages set up.
    $SUDO apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}" |
        awk '
            /newly installed/ { total = $1 + $3; print "install-deps: " $0; fflush() }
            /^Need to get/ { print "install-deps: " $0 " (downloading)"; fflush() }
            /^Setting up / {
                done++
                if (total > 0 && int(done * 10 / total) > int((done - 1) * 10 / total)) {
                    printf "install-deps: %d of %d packages set up\n", done, total; fflush()
                }
            }'
fi

# Some tests run under de_DE.UTF-8 (decimal comma): numbers must not follow the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "install-deps: generating the de_DE.UTF-8 locale"
    $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
