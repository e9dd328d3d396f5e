#!/usr/bin/env bash
# Prints one line per suite of a ctest run: its verdict, its name and, where
# the suite says, how many cases passed, read from the tree's
# Testing/Temporary/LastTest.log. The first line counts the suites.
#
# Usage: suite-counts.sh BUILD_DIR LABEL
set -uo pipefail
log=$1/Testing/Temporary/LastTest.log
label=$2
[ -f "$log" ] || { echo "$label: no test run found in $1"; exit 1; }
awk -v label="$label" '
  function finish() {
    if (name == "") return
    total++
    if (verdict == "passed") passed++
    line[total] = sprintf("  %-7s %-26s %s", verdict, name, cases == "" ? "" : "(" cases ")")
    name = ""
  }
  /^[0-9]+\/[0-9]+ Testing: / { finish(); name = $3; verdict = "FAILED"; cases = ""; next }
  /^Test Passed\./ { verdict = "passed" }
  # GoogleTest: "[  PASSED  ] 23 tests." and "[  SKIPPED ] 1 test,"
  /^\[  PASSED  \] [0-9]+ tests?\./ { cases = $4 " cases passed" }
  /^\[  SKIPPED \] [0-9]+ tests?/ { cases = cases ", " $4 " skipped" }
  /^\[  FAILED  \] [0-9]+ tests?,/ { cases = cases (cases == "" ? "" : ", ") $4 " cases FAILED" }
  # The shell suites: "41 passed, 0 failed"
  /^[0-9]+ passed, [0-9]+ failed$/ { cases = $1 " cases passed" ($3 > 0 ? ", " $3 " FAILED" : "") }
  END {
    finish()
    printf "%s: %d of %d suites passed\n", label, passed, total
    for (i = 1; i <= total; i++) print line[i]
  }
' "$log"
