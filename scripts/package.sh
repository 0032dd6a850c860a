#!/usr/bin/env bash
# Builds the Debian package quorvane_<version>_amd64.deb from a Release build of the
# programs (no tests, no benchmarks) and leaves it in the repository's top folder.
# Usage: scripts/package.sh [BUILD_DIR]   (default build-pkg)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${1:-build-pkg}

# Debian's own compiler and linker flags (hardening included) at Debian's -O2, without
# debugging information: the programs are stripped for the package, and the build is faster.
export DEB_CXXFLAGS_MAINT_STRIP=-g DEB_BUILD_MAINT_OPTIONS=reproducible=-fixfilepath,-fixdebugpath
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now"
# Compiler cache hits also for a clone in another folder (CI).
export CCACHE_BASEDIR="$ROOT"
# The dates in the manual pages, the changelog and the metainfo are the last commit's.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$BUILD" -G Ninja "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_INSTALL_PREFIX=/opt/quorvane -DCMAKE_STRIP="$ROOT/packaging/strip.sh" \
    -DQUORVANE_DESKTOP=ON -DQUORVANE_WERROR=ON \
    -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF -DQUORVANE_FUZZ=OFF -DQUORVANE_SANITIZE=OFF \
    >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
rm -f "$BUILD"/package/quorvane_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
deb=$(ls "$BUILD"/package/quorvane_*_amd64.deb)
rm -f "$ROOT"/quorvane_*_amd64.deb
cp "$deb" "$ROOT/"
echo "$ROOT/$(basename "$deb")"
