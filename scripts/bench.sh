#!/usr/bin/env bash
# Measures both file conversions of the native iwvestra tool on a million
# lines against a plain `dd ... conv=fsync` copy of the same input, and the
# goods conversion against the same rules in awk. Checks the outputs first:
# against hand-computed lines of the sample files and, whole, against the awk
# versions of both conversions. Prints the figures and PASS or FAIL for each
# target; exits 1 when any check fails. Expects `make build-native` first.
#
#   BUILD=build/native LINES=1000000 RUNS=3 scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${BUILD:-build/native}
LINES=${LINES:-1000000}
RUNS=${RUNS:-3}
tool=$BUILD/iwvestra
generator=$BUILD/iwvestra-benchdata
for program in "$tool" "$generator"; do
  if [[ ! -x $program ]]; then
    echo "bench: $program is missing; run make build-native first" >&2
    exit 1
  fi
done
export LC_ALL=C

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check TEXT COMMAND...: runs the command and prints PASS or FAIL with TEXT.
check() {
  local text=$1
  shift
  if "$@"; then
    echo "PASS  $text"
  else
    echo "FAIL  $text"
    failures=$((failures + 1))
  fi
}
same() { [[ $1 == "$2" ]]; }

# Seconds (3 decimals) and peak RSS (KiB) of one run, as "SECONDS KIB".
measure() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null
  end=$(date +%s%N)
  local rss
  rss=$(awk -F': *' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
  awk -v ns=$((end - start)) -v rss="$rss" 'BEGIN { printf "%.3f %d\n", ns / 1e9, rss }'
}

# The best time and the highest peak RSS over RUNS runs, each writing a fresh
# output file: "SECONDS KIB".
best_of() {
  local output=$1
  shift
  local i
  for ((i = 0; i < RUNS; i++)); do
    rm -f "$output"
    measure "$@"
  done | awk 'NR == 1 || $1 < t { t = $1 } $2 > m { m = $2 } END { printf "%.3f %d\n", t, m }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }

echo "=== Checks against the rules"
"$tool" lookup samples/goods.txt "$work/sample-inwout.txt"
expected=$(printf 'Mąka pszenna. typ 45,5900512000014,12.500,0,2.49\r' | iconv -f UTF-8 -t WINDOWS-1250)
check "sample lookup line: name cut to 20 with its comma as a point, 12500 -> 12.500, 249 -> 2.49" \
  same "$(head -n 1 "$work/sample-inwout.txt")" "$expected"
"$tool" count samples/inwin.txt "$work/sample-count.txt"
check "sample count lines: 12 -> 12000, 1.5 -> 1500, 00000 dropped, 0.25 -> 0250" \
  same "$(head -n 3 "$work/sample-count.txt" | tr -d '\r' | paste -sd' ')" \
  "INW;5900512000014;12000 INW;5900512000021;1500 INW;5900512000045;0250"

echo "=== Generating $LINES goods lines and $LINES terminal lines in $work"
"$generator" goods "$LINES" "$work/goods.txt"
"$generator" terminal "$LINES" "$work/inwin.txt"
goods_bytes=$(stat -c %s "$work/goods.txt")
terminal_bytes=$(stat -c %s "$work/inwin.txt")
echo "goods file $goods_bytes bytes, terminal data file $terminal_bytes bytes"

"$tool" lookup "$work/goods.txt" "$work/inwout.txt"
awk -f tools/benchdata/lookup.awk "$work/goods.txt" >"$work/inwout-awk.txt"
check "lookup file of $LINES lines is identical to the awk conversion's" cmp -s "$work/inwout.txt" "$work/inwout-awk.txt"
"$tool" count "$work/inwin.txt" "$work/count.txt"
awk -f tools/benchdata/count.awk "$work/inwin.txt" >"$work/count-awk.txt"
check "count file is identical to the awk conversion's ($(wc -l <"$work/count.txt") lines)" \
  cmp -s "$work/count.txt" "$work/count-awk.txt"
lookup_bytes=$(stat -c %s "$work/inwout.txt")
count_bytes=$(stat -c %s "$work/count.txt")

echo "=== Timing, best of $RUNS runs each"
read -r lookup_s lookup_kib < <(best_of "$work/inwout.txt" "$tool" lookup "$work/goods.txt" "$work/inwout.txt")
read -r copy_goods_s _ < <(best_of "$work/copy.txt" dd if="$work/goods.txt" of="$work/copy.txt" bs=1M conv=fsync status=none)
read -r awk_s _ < <(best_of "$work/inwout-awk.txt" sh -c 'awk -f "$1" "$2" >"$3"' sh tools/benchdata/lookup.awk "$work/goods.txt" "$work/inwout-awk.txt")
read -r count_s count_kib < <(best_of "$work/count.txt" "$tool" count "$work/inwin.txt" "$work/count.txt")
read -r copy_terminal_s _ < <(best_of "$work/copy.txt" dd if="$work/inwin.txt" of="$work/copy.txt" bs=1M conv=fsync status=none)

printf '%-34s %8s s\n' "lookup conversion" "$lookup_s" "dd copy of the goods file" "$copy_goods_s" \
  "awk lookup conversion" "$awk_s" "count conversion" "$count_s" "dd copy of the terminal file" "$copy_terminal_s"
echo "lookup / copy $(ratio "$lookup_s" "$copy_goods_s"), count / copy $(ratio "$count_s" "$copy_terminal_s"), awk / lookup $(ratio "$awk_s" "$lookup_s")"

echo "=== Targets"
twice() { awk -v c="$1" 'BEGIN { print 2 * c }'; }
check "lookup time $lookup_s s <= 2 x copy $copy_goods_s s" at_most "$lookup_s" "$(twice "$copy_goods_s")"
check "count time $count_s s <= 2 x copy $copy_terminal_s s" at_most "$count_s" "$(twice "$copy_terminal_s")"
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }
lookup_bound=$(((goods_bytes + lookup_bytes) / 1024 + 32 * 1024))
count_bound=$(((terminal_bytes + count_bytes) / 1024 + 32 * 1024))
check "lookup peak RSS $(mib "$lookup_kib") <= input + output + 32 MiB = $(mib "$lookup_bound")" \
  at_most "$lookup_kib" "$lookup_bound"
check "count peak RSS $(mib "$count_kib") <= input + output + 32 MiB = $(mib "$count_bound")" \
  at_most "$count_kib" "$count_bound"

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
