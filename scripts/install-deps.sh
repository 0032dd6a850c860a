#!/usr/bin/env bash
# Installs everything Quorvane needs to build, test and run on Debian 12 (as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
    g++ cmake make ninja-build pkg-config git ca-certificates \
    qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev libxcb1-dev \
    libqcustomplot-dev libqcustomplot2.1-qt6 \
    libgtest-dev libgmock-dev libbenchmark-dev \
    clang libclang-rt-14-dev \
    xvfb xauth imagemagick fonts-dejavu-core fonts-dejavu-extra x11-utils \
    dpkg-dev file help2man librsvg2-bin desktop-file-utils appstream lintian xdotool man-db poppler-utils \
    locales \
    >/dev/null

# Some tests run under de_DE.UTF-8 (decimal comma): numbers must not follow the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
