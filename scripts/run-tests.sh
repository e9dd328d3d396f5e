#!/usr/bin/env bash
# Builds every tree and runs every suite: the include layers of src/, the
# native tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows tests under Wine (32-bit where it
# runs, and always 64-bit under wine64), the release kit's checks and a short
# run of every fuzz target. Ends with each runner's own closing line and fails when
# any suite failed.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build

status=0
declare -a results

# [LABEL=...] run NAME COMMAND...: runs a suite, keeps its output in
# build/test-NAME.log; the summary calls it LABEL when given.
run() {
  local name=$1 label=${LABEL:-$1}
  shift
  echo "=== $label"
  local start=$SECONDS
  "$@" 2>&1 | tee "build/test-$name.log"
  local code=${PIPESTATUS[0]}
  [ "$code" -eq 0 ] || status=1
  results+=("$label|$code|$((SECONDS - start))|build/test-$name.log")
}

declare -A pids labels
# [LABEL=...] run_beside NAME COMMAND...: runs a suite as run does, but beside
# the suites that follow; report NAME waits for it and reports it.
run_beside() {
  local name=$1
  shift
  labels[$name]=${LABEL:-$name}
  echo "=== ${labels[$name]}: runs beside what follows, output in build/test-$name.log"
  (
    begun=$SECONDS
    "$@" >"build/test-$name.log" 2>&1
    echo "$? $((SECONDS - begun))" >"build/test-$name.result"
  ) &
  pids[$name]=$!
}
report() {
  local name=$1 code seconds
  wait "${pids[$name]}"
  echo "=== ${labels[$name]}"
  cat "build/test-$name.log"
  read -r code seconds <"build/test-$name.result"
  [ "$code" -eq 0 ] || status=1
  results+=("${labels[$name]}|$code|$seconds|build/test-$name.log")
}

run layers scripts/check-layers.sh
run native make --no-print-directory test-native
run sanitize make --no-print-directory test-sanitize
# Both Windows trees are built first. Their Wine suites mostly wait, on the
# drivers and the operations' pauses, so the 64-bit ones run beside the 32-bit
# ones; each tree keeps its own prefix and runs its suites one at a time.
run windows-build make --no-print-directory build-windows build-windows64
# The 32-bit suites run where a 32-bit Windows program starts, natively or
# under emulation; wine-runs.sh also makes the Wine prefix they share, and
# sets up the emulation the first time.
checked=$SECONDS
way=$(scripts/wine-runs.sh 2>build/wine-runs.log)
cat build/wine-runs.log
echo "32-bit Windows programs: ${way:-none} (checked in $((SECONDS - checked)) s)"
LABEL="windows64 (64-bit, wine64)" run_beside windows64 make --no-print-directory test-windows64
case $way in
  native) LABEL="windows (32-bit, native Wine)" run windows make --no-print-directory test-windows ;;
  emulated) LABEL="windows (32-bit, emulated)" run windows make --no-print-directory test-windows ;;
  *)
    reason=$(tail -1 build/wine-runs.log | sed 's/^wine-runs: //')
    echo "=== windows"
    echo "SKIPPED: no 32-bit Windows program starts here: $reason;"
    echo "         the Windows tree is built and only its binary checks run."
    run windows-binary make --no-print-directory test-windows-binary
    results+=("windows|skipped: $reason|0|")
    ;;
esac
report windows64
# After the 64-bit suites, whose Wine prefix and programs it uses.
LABEL="kit (win64, signed with a throwaway certificate)" run kit tests/kit/kit-test.sh
run fuzz scripts/fuzz.sh --smoke

echo
echo "=== Summary"
for result in "${results[@]}"; do
  IFS='|' read -r name code seconds log <<<"$result"
  case $code in
    0) verdict="passed in ${seconds} s" ;;
    skipped*) verdict=$code ;;
    *) verdict="FAILED in ${seconds} s" ;;
  esac
  echo "$name: $verdict"
  if [ -n "$log" ] && [ -f "$log" ]; then
    grep -E '^[0-9]+% tests passed|^check-layers:.*looks down|^fuzz: [0-9]+ passed|^kit-test: [0-9]+ ' "$log" | tail -1
    # A Wine run's suites, one line each, as scripts/suite-counts.sh gave them.
    sed -n '/^[^ ].*: [0-9]* of [0-9]* suites passed$/,$p' "$log"
  fi
done
exit $status
