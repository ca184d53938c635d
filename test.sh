#!/usr/bin/env bash
# Installs what is missing, builds, and runs every check: the release build, the
# Debian package check, the whole suite under AddressSanitizer and UBSan, and a
# short run of every fuzz target. Prints the time each stage took at the end.
#   ./test.sh           everything (what CI runs)
#   ./test.sh --quick   the release build and its tests only, for the edit-build-test loop
set -euo pipefail
cd "$(dirname "$0")"

quick=0
case "${1:-}" in
  "") ;;
  --quick) quick=1 ;;
  -h | --help) sed -n '2,6p' "$0" | cut -c3-; exit 0 ;;
  *) echo "test.sh: unknown option '$1' (./test.sh [--quick])" >&2; exit 2 ;;
esac
jobs=$(nproc)
times=$(mktemp)
begin=$SECONDS

report() {
  local rc=$?
  echo
  printf '%-26s %8s\n' stage seconds
  cat "$times"
  printf '%-26s %8d\n' total $((SECONDS - begin))
  rm -f "$times"
  [ "$rc" -eq 0 ] || echo "test.sh: failed" >&2
}
trap report EXIT

# stage NAME COMMAND...: runs COMMAND and notes how long it took, failed or not.
stage() {
  local name=$1 from=$SECONDS rc=0
  shift
  echo "== $name"
  "$@" || rc=$?
  printf '%-26s %8d%s\n' "$name" $((SECONDS - from)) "$([ "$rc" -eq 0 ] || echo "  failed, exit $rc")" >>"$times"
  return "$rc"
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs"; }
package() { ./tools/check-package.sh "$(./tools/package.sh | tail -n 1)"; }

stage "install packages" ./tools/install-deps.sh
# The release tree must compile cleanly too; it also carries the benchmarks.
stage "release build" build release
if [ "$quick" -eq 1 ]; then
  stage "release tests" ctest --preset release -j "$jobs"
  exit 0
fi
# The Debian package made from that build, unpacked and checked, lintian included.
stage "package check" package
stage "sanitizer build" build asan
# Most tests spend their time waiting on a line or a process, so one more than the cores.
stage "sanitizer tests" ctest --preset asan -j $((jobs + 1))
# Every fuzz target for a few seconds, so a parser regression fails the run.
stage "fuzz build and runs" ./tools/fuzz.sh 10
