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

# "N passed, M failed, K skipped" for the Hardening* test cases of a native or
# sanitizer log, where CTest runs every case as a test of its own.
count_hardening_ctest() {
  local lines
  lines=$(grep -E 'Test +#[0-9]+: Hardening' "$1" 2>/dev/null)
  if [ -z "$lines" ]; then
    echo "none ran"
    return
  fi
  local passed skipped all
  passed=$(grep -c ' Passed ' <<<"$lines")
  skipped=$(grep -c 'Skipped' <<<"$lines")
  all=$(wc -l <<<"$lines")
  echo "$passed passed, $((all - passed - skipped)) failed, $skipped skipped"
}

# The same for the Windows tree, where the hardening program is one CTest
# test under Wine and leaves its own GoogleTest counts in a results file.
count_hardening_xml() {
  local head tests failures errors skipped
  head=$(grep -m1 '<testsuites ' "$1" 2>/dev/null)
  if [ -z "$head" ]; then
    echo "none ran (no results from the program)"
    return
  fi
  tests=$(sed -E 's/.* tests="([0-9]+)".*/\1/' <<<"$head")
  failures=$(sed -E 's/.* failures="([0-9]+)".*/\1/' <<<"$head")
  errors=$(sed -E 's/.* errors="([0-9]+)".*/\1/' <<<"$head")
  skipped=$(grep '<testsuite ' "$1" | grep -oE 'skipped="[0-9]+"' | grep -oE '[0-9]+' | paste -sd+ | bc)
  echo "$((tests - failures - errors - ${skipped:-0})) passed, $((failures + errors)) failed, ${skipped:-0} skipped"
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
# Written afresh by the Windows run; an old one must not be counted.
hardening_results=build/windows/tests/hardening/hardening-results.xml
rm -f "$hardening_results"
run_suite windows counts_ctest make --no-print-directory test-windows
run_suite fuzz counts_fuzz scripts/fuzz.sh --smoke

echo
echo "=== Summary"
printf '%s\n' "${summary[@]}"
echo "--- fuzzing"
grep -E '^[a-z_]+_fuzz: ' build/test-fuzz.log || echo "(no fuzz run)"
echo "--- hardening cases"
echo "native: $(count_hardening_ctest build/test-native.log)"
echo "sanitize: $(count_hardening_ctest build/test-sanitize.log)"
echo "windows: $(count_hardening_xml "$hardening_results")"
echo "all suites: $total_passed passed, $total_failed failed"
exit $status
