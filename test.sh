#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
jobs=$(nproc)

# The release build must compile cleanly too (it also carries the benchmarks).
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"

# The Debian package made from that build, unpacked and checked, lintian included.
./tools/check-package.sh "$(./tools/package.sh | tail -n 1)"

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

# Every fuzz target for a few seconds, so a parser regression fails the run.
./tools/fuzz.sh 10
