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

# Adds "N passed, M failed" style counts from a suite's log to the totals.
count_ctest() {
  local line passed total
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -1)
  [ -n "$line" ] || return 1
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  failed=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((total - failed))
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  echo "$passed passed, $failed failed"
}

count_fuzz() {
  local line
  line=$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed' "$1" | tail -1)
  [ -n "$line" ] || return 1
  total_passed=$((total_passed + $(sed -E 's/fuzz: ([0-9]+) passed.*/\1/' <<<"$line")))
  total_failed=$((total_failed + $(sed -E 's/.*passed, ([0-9]+) failed.*/\1/' <<<"$line")))
  echo "${line#fuzz: }"
}

run_suite() {
  local name=$1 counter=$2
  shift 2
  local log="build/test-$name.log"
  echo "=== $name"
  local start=$SECONDS
  "$@" 2>&1 | tee "$log"
  local code=${PIPESTATUS[0]}
  local counts
  counts=$($counter "$log") || counts="no summary"
  if [ "$code" -ne 0 ]; then
    status=1
    summary+=("$name: FAILED ($counts) in $((SECONDS - start)) s")
  else
    summary+=("$name: $counts in $((SECONDS - start)) s")
  fi
}

run_suite native count_ctest make --no-print-directory test-native
run_suite sanitize count_ctest make --no-print-directory test-sanitize
run_suite windows count_ctest make --no-print-directory test-windows
run_suite fuzz count_fuzz scripts/fuzz.sh --smoke

echo
echo "=== Summary"
printf '%s\n' "${summary[@]}"
echo "--- fuzzing"
grep -E '^[a-z_]+_fuzz: ' build/test-fuzz.log || echo "(no fuzz run)"
echo "all suites: $total_passed passed, $total_failed failed"
exit $status
