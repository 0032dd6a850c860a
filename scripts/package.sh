#!/usr/bin/env bash
# Builds the Debian package quorvane_<version>_amd64.deb from a Release build of the
# programs (no tests, no benchmarks) and leaves it in the repository's top folder.
# Usage: scripts/package.sh [--with-tests] [--with-benchmarks] [--build-only] [BUILD_DIR]
#   (default build-pkg)
#   --with-tests       builds the tests and benchmarks in BUILD_DIR too, with the same flags
#   --with-benchmarks  builds the benchmarks too (the soak runs them: scripts/test.sh)
#   --build-only  configures and builds, and makes no package
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
tests=OFF
bench=OFF
pack=1
while [ $# -gt 0 ]; do
    case "$1" in
    --with-tests) tests=ON bench=ON ;;
    --with-benchmarks) bench=ON ;;
    --build-only) pack=0 ;;
    -*)
        echo "usage: $0 [--with-tests] [--with-benchmarks] [--build-only] [BUILD_DIR]" >&2
        exit 2
        ;;
    *) break ;;
    esac
    shift
done
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
    -DQUORVANE_DESKTOP=ON -DQUORVANE_WERROR=ON -DQUORVANE_UNITY=ON \
    -DQUORVANE_TESTS=$tests -DQUORVANE_BENCH=$bench -DQUORVANE_FUZZ=OFF -DQUORVANE_SANITIZE=OFF \
    >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
[ "$pack" = 1 ] || exit 0
rm -f "$BUILD"/package/quorvane_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
deb=$(realpath "$(ls "$BUILD"/package/quorvane_*_amd64.deb)")

# CPack lists every parent folder in the package, /opt too, and dpkg takes what a package
# lists for the package's own: a purge would remove /opt with it where /opt is otherwise
# empty. The data is packed again without that entry, so the package owns /opt/quorvane
# and what is below it; its preinst makes /opt where a system lacks it.
repack="$BUILD/package/repack"
rm -rf "$repack"
mkdir -p "$repack"
dpkg-deb --raw-extract "$deb" "$repack/root"
# A folder's entries, sorted, without the control files and without ./opt, packed as
# dpkg-deb packs them.
entries() { find . -path ./DEBIAN -prune -o ! -path ./opt -print | LC_ALL=C sort; }
tarxz() {
    tar --create --no-recursion --files-from=- --format=gnu --owner=root:0 --group=root:0 \
        --mtime="@$SOURCE_DATE_EPOCH" --clamp-mtime | xz -6
}
(cd "$repack/root/DEBIAN" && entries | tarxz) >"$repack/control.tar.xz"
(cd "$repack/root" && entries | tarxz) >"$repack/data.tar.xz"
echo 2.0 >"$repack/debian-binary"
rm -f "$deb"
(cd "$repack" && ar -rcD "$deb" debian-binary control.tar.xz data.tar.xz)
rm -rf "$repack"

rm -f "$ROOT"/quorvane_*_amd64.deb
cp "$deb" "$ROOT/"
echo "$ROOT/$(basename "$deb")"
