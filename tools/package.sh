#!/usr/bin/env bash
# Builds the Debian package vexlor_VERSION_amd64.deb from the source tree: the
# release build, then cpack. Prints the package's path as its last line.
# VEXLOR_PACKAGE_BUILD overrides the build directory (default build/release).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh >&2
build=${VEXLOR_PACKAGE_BUILD:-build/release}
cmake --preset release -B "$build" >&2
cmake --build "$build" >&2
out=$PWD/$build/package
rm -f "$out"/vexlor_*.deb
(cd "$build" && cpack -G DEB -B "$out" >&2)
ls "$out"/vexlor_*_amd64.deb
