#!/usr/bin/env bash
# Builds every tree and runs every suite: the native tests, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, the Windows tests
# under Wine, and a short run of every fuzz target. Prints each suite's
# summary at the end and fails when any suite failed.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build

declare -a summary
status=0
total_passed=0
total_failed=0

# Prints "PASSED FAILED" for a suite's log, from ctest's or the fuzz run's
# closing line; nothing when the log has none.
counts_ctest() {
  sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\2 \1/p' "$1" | tail -1 |
    awk '{ print $1 - $2, $2 }'
}

counts_fuzz() {
  sed -nE 's/^fuzz: ([0-9]+) passed, ([0-9]+) failed.*/\1 \2/p' "$1" | tail -1
}

run_suite() {
  local name=$1 counter=$2
  shift 2
  local log="build/test-$name.log"
  echo "=== $name"
  local start=$SECONDS
  "$@" 2>&1 | tee "$log"
  local code=${PIPESTATUS[0]}
  local passed failed counts="no summary"
  read -r passed failed < <($counter "$log")
  if [ -n "${passed:-}" ]; then
    counts="$passed passed, $failed failed"
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
  fi
  if [ "$code" -ne 0 ]; then
    status=1
    summary+=("$name: FAILED ($counts) in $((SECONDS - start)) s")
  else
    summary+=("$name: $counts in $((SECONDS - start)) s")
  fi
}

run_suite native counts_ctest make --no-print-directory test-native
run_suite sanitize counts_ctest make --no-print-directory test-sanitize
run_suite windows counts_ctest make --no-print-directory test-windows
run_suite fuzz counts_fuzz scripts/fuzz.sh --smoke

echo
echo "=== Summary"
printf '%s\n' "${summary[@]}"
echo "--- fuzzing"
grep -E '^[a-z_]+_fuzz: ' build/test-fuzz.log || echo "(no fuzz run)"
echo "all suites: $total_passed passed, $total_failed failed"
exit $status
