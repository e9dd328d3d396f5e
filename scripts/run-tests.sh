#!/usr/bin/env bash
# Builds every tree and runs every suite: the include layers of src/, the
# native tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows tests under Wine (32-bit where it
# runs, and always 64-bit under wine64) and a short run of
# every fuzz target. Ends with each runner's own closing line and fails when
# any suite failed.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build

status=0
declare -a results

# run NAME COMMAND...: runs a suite, keeps its output in build/test-NAME.log.
run() {
  local name=$1
  shift
  echo "=== $name"
  local start=$SECONDS
  "$@" 2>&1 | tee "build/test-$name.log"
  local code=${PIPESTATUS[0]}
  [ "$code" -eq 0 ] || status=1
  results+=("$name|$code|$((SECONDS - start))")
}

run layers scripts/check-layers.sh
run native make --no-print-directory test-native
run sanitize make --no-print-directory test-sanitize
if scripts/wine-runs.sh; then
  run windows make --no-print-directory test-windows
else
  echo "=== windows"
  echo "SKIPPED: this machine's kernel does not run 32-bit programs, so Wine cannot run the Windows tests;"
  echo "         the Windows tree is built and only its binary checks run."
  run windows-binary make --no-print-directory test-windows-binary
  results+=("windows|skipped: no 32-bit programs on this kernel|0")
fi
# The 64-bit DLL and every Windows suite under wine64, on every machine.
run windows64 make --no-print-directory test-windows64
run fuzz scripts/fuzz.sh --smoke

echo
echo "=== Summary"
for result in "${results[@]}"; do
  IFS='|' read -r name code seconds <<<"$result"
  case $code in
    0) verdict="passed" ;;
    skipped*) verdict=$code ;;
    *) verdict="FAILED" ;;
  esac
  echo "$name: $verdict in ${seconds} s"
  log="build/test-$name.log"
  if [ -f "$log" ] && [[ $code != skipped* ]]; then
    grep -E '^[0-9]+% tests passed|^check-layers:.*looks down|^fuzz: [0-9]+ passed' "$log" | tail -1
    # A Wine run's suites, one line each, as scripts/suite-counts.sh gave them.
    sed -n '/^[^ ].*: [0-9]* of [0-9]* suites passed$/,$p' "$log"
  fi
done
exit $status
