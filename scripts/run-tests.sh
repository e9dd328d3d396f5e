#!/usr/bin/env bash
# Builds every tree and runs every suite; prints each suite's summary at the
# end and fails when any suite failed.
set -uo pipefail
cd "$(dirname "$0")/.."

declare -a names results
status=0

run_suite() {
  local name=$1
  shift
  echo "=== $name"
  local log="build/test-$name.log"
  mkdir -p build
  if "$@" 2>&1 | tee "$log"; then
    results+=("$name: $(grep -E 'tests passed|tests failed' "$log" | tail -1)")
  else
    status=1
    results+=("$name: FAILED ($(grep -E 'tests passed|tests failed' "$log" | tail -1))")
  fi
}

run_suite native make --no-print-directory test-native
run_suite sanitize make --no-print-directory test-sanitize
run_suite windows make --no-print-directory test-windows

echo
echo "=== Summary"
printf '%s\n' "${results[@]}"
exit $status
