#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz and runs each for a bounded time,
# one after the other, starting from the seed corpus in tests/fuzz/corpus.
#
#   scripts/fuzz.sh               60 s per target
#   scripts/fuzz.sh --smoke        5 s per target (part of the test run)
#   scripts/fuzz.sh --seconds N    N s per target
#
# The seed corpus is copied to build/fuzz/corpus-work first, so whatever the
# fuzzers add stays out of the repository. An input that crashes a target or
# breaks one of its properties is kept in build/fuzz/artifacts/<target>/; to
# keep it as a regression, copy it into tests/fuzz/corpus/<target>/ under a
# name starting with "regression-": every run replays the corpus first.
# Exits non-zero when any target failed or the build failed.
set -uo pipefail
cd "$(dirname "$0")/.."

readonly BUILD=build/fuzz
readonly JOBS=2
readonly TARGETS=(line_scanner_fuzz word_splitter_fuzz lookup_line_fuzz normalize_quantity_fuzz count_converter_fuzz)

usage() {
  sed -n '2,14s/^# \{0,1\}//p' "$0"
  exit 2
}

seconds=60
while (($#)); do
  case $1 in
    --smoke) seconds=5 ;;
    --seconds)
      [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || usage
      seconds=$2
      shift
      ;;
    *) usage ;;
  esac
  shift
done

# Longest input per target: a whole file for the line scanner, a few
# kilobytes of lines for the conversions, a short text for a quantity.
max_len() {
  case $1 in
    line_scanner_fuzz) echo 65536 ;;
    normalize_quantity_fuzz) echo 256 ;;
    *) echo 4096 ;;
  esac
}

build() {
  if [[ ! -f $BUILD/CMakeCache.txt ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DIWV_FUZZ=ON -DIWV_TESTS=OFF \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$BUILD.configure.log" 2>&1 ||
      { cat "$BUILD.configure.log"; return 1; }
  fi
  cmake --build "$BUILD" -j "$JOBS" --target fuzz_targets
}

# Runs one target; its log goes to $BUILD/logs/<target>.log.
run_target() {
  local target=$1
  local work=$BUILD/corpus-work/$target
  local artifacts=$BUILD/artifacts/$target
  rm -rf "$work"
  mkdir -p "$work" "$artifacts" "$BUILD/logs"
  cp -R "tests/fuzz/corpus/$target/." "$work/"
  "$BUILD/tests/fuzz/$target" "$work" \
    -max_total_time="$seconds" -max_len="$(max_len "$target")" \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" >"$BUILD/logs/$target.log" 2>&1
}

runs_of() {
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$BUILD/logs/$1.log" | tail -1)
  echo "${runs:-0}"
}

# The first input that libFuzzer saved for this target's last run, if any.
finding_of() {
  sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$BUILD/logs/$1.log" | head -1
}

mkdir -p "$BUILD"
if ! build; then
  echo "fuzz: build failed"
  echo "fuzz: 0 passed, ${#TARGETS[@]} failed"
  exit 1
fi

passed=0
failed=0
summary=()
for target in "${TARGETS[@]}"; do
  echo "=== $target (${seconds} s)"
  if run_target "$target"; then
    passed=$((passed + 1))
    summary+=("$target: $seconds s, $(runs_of "$target") runs, no failure")
  else
    failed=$((failed + 1))
    grep -E 'property failed|ERROR:|SUMMARY:' "$BUILD/logs/$target.log" | head -5
    finding=$(finding_of "$target")
    summary+=("$target: $seconds s, $(runs_of "$target") runs, FAILED (input ${finding:-not saved}, log $BUILD/logs/$target.log)")
  fi
done

echo
printf '%s\n' "${summary[@]}"
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
