#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target for SECONDS each
# (default 60), as many at a time as there are cores (VEXLOR_FUZZ_JOBS
# overrides), then prints a table of executions and crashes. Fails when a target found a crash, a leak, a hang or an invariant
# broken. New inputs collect in BUILD/fuzz-corpus/<target> (the seeds in
# tests/fuzz/corpus stay as committed); findings land in BUILD/fuzz-artifacts/<target>.
# VEXLOR_FUZZ_BUILD overrides the build directory (default build/fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${VEXLOR_FUZZ_BUILD:-build/fuzz}
targets=(status_lines remote_link tagged_text ini_file local_stores simulator directory_replies http_request)

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzzers

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

# run TARGET: one target's run; its table row goes to BUILD/fuzz-logs/TARGET.row.
run() {
  local t=$1 status=0
  local corpus=$build/fuzz-corpus/$t artifacts=$build/fuzz-artifacts/$t log=$build/fuzz-logs/$t.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$corpus" "tests/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  local runs rate finding
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  if [ "$status" -ne 0 ]; then
    finding=$(grep -m 1 -E 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|invariant violated' "$log" || echo "exit $status")
    printf '%-24s %12s %8s %7s  %s\n' "fuzz_$t" "${runs:-?}" "${rate:-?}" 1 "$finding" >"$build/fuzz-logs/$t.row"
    echo "   finding in fuzz_$t, see $log"
  else
    printf '%-24s %12s %8s %7s\n' "fuzz_$t" "${runs:-?}" "${rate:-?}" 0 >"$build/fuzz-logs/$t.row"
  fi
  return "$status"
}

jobs=${VEXLOR_FUZZ_JOBS:-$(nproc)}
failed=0
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  echo "== fuzz_$t for ${seconds}s"
  run "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done

echo
printf '%-24s %12s %8s %7s\n' target executions exec/s crashes
for t in "${targets[@]}"; do cat "$build/fuzz-logs/$t.row"; done
exit "$failed"
