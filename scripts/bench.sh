#!/usr/bin/env bash
# Measures both file conversions of the iwvestra tool against a durable copy
# (`dd bs=1M conv=fsync`) of the larger of their input and output, and the
# goods conversion against the same rules in awk, all in one run, and prints
# PASS or FAIL for each target:
#   - each conversion of LINES lines takes at most 1.3 times the copy;
#   - the goods conversion uses at least 10 times less CPU time (user + sys)
#     than awk, the count conversion at most 25 ms per million lines;
#   - peak memory stays at or below 32 MiB, for files of LINES and of
#     BIG_LINES lines, whose outputs are byte for byte awk's, and for files of
#     LONG_MIB MiB that are one field or one line of long fields, whose
#     outputs are the bytes the rules give;
#   - the 32-bit Windows build, under Wine (emulated where need be), converts
#     a goods file of HUGE_GB GB, larger than a 32-bit address space, to a
#     lookup file with the native tool's SHA-256. The file is generated here
#     and deleted afterwards.
# Exits 1 when any target or check fails. Builds what is missing first.
#
#   LINES=1000000 BIG_LINES=10000000 LONG_MIB=200 HUGE_GB=3 RUNS=5 scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."

NATIVE=${NATIVE:-build/native}
WINDOWS=${WINDOWS:-build/windows}
LINES=${LINES:-1000000}
BIG_LINES=${BIG_LINES:-10000000}
LONG_MIB=${LONG_MIB:-200}
HUGE_GB=${HUGE_GB:-3}
RUNS=${RUNS:-5}
tool=$NATIVE/iwvestra
generator=$NATIVE/iwvestra-benchdata
windows_tool=$WINDOWS/dist/iwvestra.exe
wine_run=$WINDOWS/wine-run.sh
readonly MEMORY_LIMIT_KIB=$((32 * 1024))
readonly COUNT_CPU_PER_MILLION_LINES=0.025
export LC_ALL=C

for program in "$tool" "$generator"; do
  if [[ ! -x $program ]]; then
    echo "bench: $program is missing; run make build-native first" >&2
    exit 1
  fi
done
if [[ ! -f $windows_tool || ! -x $wine_run ]]; then
  echo "=== Building the Windows tree for the Wine target"
  make -s build-windows
fi

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

# Wall seconds and CPU seconds (user + sys) of one run, and the peak RSS (KiB)
# of a second, as "SECONDS CPU KIB". The CPU time comes from the shell's
# `times`, the usage that wait4 gave for its children, to the millisecond:
# /usr/bin/time prints it in steps of 10 ms, too coarse beside a target of
# 25 ms, and its own start would count too, several milliseconds on a
# virtual machine. So the first run has nothing around it, and only the
# second, whose output replaces the first's, runs under /usr/bin/time.
measure() {
  local start end
  start=$(date +%s%N)
  (
    "$@" >/dev/null
    builtin times >"$work/times.txt"
  )
  end=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/time.txt" "$@" >/dev/null
  awk -v ns=$((end - start)) -v kib="$(cat "$work/time.txt")" '
    NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/)
              printf "%.3f %.3f %d\n", ns / 1e9, u[1] * 60 + u[2] + s[1] * 60 + s[2], kib }' "$work/times.txt"
}

# The best wall time, the least CPU time and the highest peak RSS over RUNS
# runs, each writing a fresh output file: "SECONDS CPU KIB".
best_of() {
  local output=$1
  shift
  local i
  for ((i = 0; i < RUNS; i++)); do
    rm -f "$output"
    measure "$@"
  done | awk 'NR == 1 || $1 < t { t = $1 } NR == 1 || $2 < c { c = $2 } $3 > m { m = $3 } END { printf "%.3f %.3f %d\n", t, c, m }'
}

# The larger of two files.
larger() { if (($(stat -c %s "$1") >= $(stat -c %s "$2"))); then echo "$1"; else echo "$2"; fi; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
product() { awk -v f="$1" -v c="$2" 'BEGIN { printf "%.3f", f * c }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

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
echo "goods file $(stat -c %s "$work/goods.txt") bytes, terminal data file $(stat -c %s "$work/inwin.txt") bytes"

"$tool" lookup "$work/goods.txt" "$work/inwout.txt"
awk -f tools/benchdata/lookup.awk "$work/goods.txt" >"$work/inwout-awk.txt"
check "lookup file of $LINES lines is identical to the awk conversion's" cmp -s "$work/inwout.txt" "$work/inwout-awk.txt"
"$tool" count "$work/inwin.txt" "$work/count.txt"
awk -f tools/benchdata/count.awk "$work/inwin.txt" >"$work/count-awk.txt"
check "count file is identical to the awk conversion's ($(wc -l <"$work/count.txt") lines)" \
  cmp -s "$work/count.txt" "$work/count-awk.txt"

echo "=== Timing, best of $RUNS runs each"
read -r lookup_s lookup_cpu lookup_kib < <(best_of "$work/inwout.txt" "$tool" lookup "$work/goods.txt" "$work/inwout.txt")
lookup_larger=$(larger "$work/goods.txt" "$work/inwout.txt")
read -r copy_lookup_s copy_lookup_cpu _ < <(best_of "$work/copy.txt" dd if="$lookup_larger" of="$work/copy.txt" bs=1M conv=fsync status=none)
read -r _ awk_cpu _ < <(best_of "$work/inwout-awk.txt" sh -c 'awk -f "$1" "$2" >"$3"' sh tools/benchdata/lookup.awk "$work/goods.txt" "$work/inwout-awk.txt")
read -r count_s count_cpu count_kib < <(best_of "$work/count.txt" "$tool" count "$work/inwin.txt" "$work/count.txt")
count_larger=$(larger "$work/inwin.txt" "$work/count.txt")
read -r copy_count_s copy_count_cpu _ < <(best_of "$work/copy.txt" dd if="$count_larger" of="$work/copy.txt" bs=1M conv=fsync status=none)
rm -f "$work/copy.txt"
count_cpu_limit=$(awk -v l="$LINES" -v c="$COUNT_CPU_PER_MILLION_LINES" 'BEGIN { printf "%.3f", l / 1e6 * c }')

printf '%-40s %8s s wall %6s s CPU\n' "lookup conversion" "$lookup_s" "$lookup_cpu" \
  "count conversion" "$count_s" "$count_cpu"
printf '%-40s %8s s wall %6s s CPU\n' "dd copy of the $(basename "$lookup_larger")" "$copy_lookup_s" "$copy_lookup_cpu" \
  "dd copy of the $(basename "$count_larger")" "$copy_count_s" "$copy_count_cpu"
printf '%-40s %8s s CPU\n' "awk lookup conversion" "$awk_cpu"
echo "lookup / copy $(ratio "$lookup_s" "$copy_lookup_s"), count / copy $(ratio "$count_s" "$copy_count_s"), awk CPU / lookup CPU $(ratio "$awk_cpu" "$lookup_cpu")"

# big_file KIND COMMAND TEXT: converts a generated file of BIG_LINES lines of
# KIND (goods or terminal) with the tool's COMMAND once, and prints "KIB SAME":
# its peak memory, and 1 when the output is the awk conversion's.
big_file() {
  local kind=$1 command=$2 text=$3 kib same
  "$generator" "$kind" "$BIG_LINES" "$work/big-in.txt"
  read -r _ _ kib < <(RUNS=1 best_of "$work/big-out.txt" "$tool" "$command" "$work/big-in.txt" "$work/big-out.txt")
  awk -f "tools/benchdata/$command.awk" "$work/big-in.txt" >"$work/big-awk.txt"
  cmp -s "$work/big-out.txt" "$work/big-awk.txt" && same=1 || same=0
  echo "$text $(stat -c %s "$work/big-in.txt") bytes: peak $(mib "$kib")" >&2
  rm -f "$work/big-in.txt" "$work/big-out.txt" "$work/big-awk.txt"
  echo "$kib $same"
}

echo "=== Memory on $BIG_LINES lines"
read -r big_lookup_kib big_lookup_same < <(big_file goods lookup "goods file")
read -r big_count_kib big_count_same < <(big_file terminal count "terminal data file")

# repeat TEXT BYTES: TEXT over and over, BYTES bytes of it.
repeat() { yes "$1" | tr -d '\n' | head -c "$2" || true; }

# long_file COMMAND WRITE_INPUT WRITE_OUTPUT TEXT: converts the file that the
# function WRITE_INPUT writes with the tool's COMMAND once, and prints "KIB
# SAME": its peak memory, and 1 when the output is what WRITE_OUTPUT writes.
long_file() {
  local command=$1 write_input=$2 write_output=$3 text=$4 kib same
  "$write_input" >"$work/long-in.txt"
  "$write_output" >"$work/long-expected.txt"
  read -r _ _ kib < <(RUNS=1 best_of "$work/long-out.txt" "$tool" "$command" "$work/long-in.txt" "$work/long-out.txt")
  cmp -s "$work/long-out.txt" "$work/long-expected.txt" && same=1 || same=0
  echo "$text, $(stat -c %s "$work/long-in.txt") bytes: peak $(mib "$kib")" >&2
  rm -f "$work/long-in.txt" "$work/long-out.txt" "$work/long-expected.txt"
  echo "$kib $same"
}
long_bytes=$((LONG_MIB * 1024 * 1024))
fifth=$((long_bytes / 5))
half=$((long_bytes / 2))
goods_field() { repeat x "$long_bytes"; }
goods_field_lookup() { printf ',,,0,\r\n'; }
# Code, name, both prices and quantity of a fifth each; the name has commas.
goods_line() {
  printf 'X;'; repeat 7 $fifth; printf ';'; repeat n, $fifth; printf ';'
  repeat 1 $fifth; printf ';'; repeat 2 $fifth; printf ';'; repeat 3 $fifth; printf '\r\n'
}
goods_line_lookup() {
  repeat n. 20; printf ','; repeat 7 $fifth; printf ','
  repeat 3 $((fifth - 3)); printf '.333,0,'; repeat 2 $((fifth - 2)); printf '.22\r\n'
}
terminal_field() { repeat 5 "$long_bytes"; printf '\r\n'; }
terminal_field_count() { :; }
terminal_line() { repeat c $half; printf ','; repeat 5 $half; printf '.2509\r\n'; }
terminal_line_count() { printf 'INW;'; repeat c $half; printf ';'; repeat 5 $half; printf '250\r\n'; }

echo "=== Memory on a line of $LONG_MIB MiB"
read -r long_lookup_field_kib long_lookup_field_same < <(long_file lookup goods_field goods_field_lookup "goods file of one field")
read -r long_lookup_line_kib long_lookup_line_same < <(long_file lookup goods_line goods_line_lookup "goods file of one line")
read -r long_count_field_kib long_count_field_same < <(long_file count terminal_field terminal_field_count "terminal data file of one field")
read -r long_count_line_kib long_count_line_same < <(long_file count terminal_line terminal_line_count "terminal data file of one line")

echo "=== Targets"
check "lookup time $lookup_s s <= 1.3 x copy $copy_lookup_s s" at_most "$lookup_s" "$(product 1.3 "$copy_lookup_s")"
check "count time $count_s s <= 1.3 x copy $copy_count_s s" at_most "$count_s" "$(product 1.3 "$copy_count_s")"
check "lookup CPU $lookup_cpu s <= awk CPU $awk_cpu s / 10" at_most "$(product 10 "$lookup_cpu")" "$awk_cpu"
check "count CPU $count_cpu s <= $count_cpu_limit s (25 ms per million lines)" at_most "$count_cpu" "$count_cpu_limit"
check "lookup peak RSS $(mib "$lookup_kib") on $LINES lines <= 32 MiB" at_most "$lookup_kib" "$MEMORY_LIMIT_KIB"
check "count peak RSS $(mib "$count_kib") on $LINES lines <= 32 MiB" at_most "$count_kib" "$MEMORY_LIMIT_KIB"
check "lookup peak RSS $(mib "$big_lookup_kib") on $BIG_LINES lines <= 32 MiB, output identical to awk's" \
  test "$big_lookup_kib" -le "$MEMORY_LIMIT_KIB" -a "$big_lookup_same" = 1
check "count peak RSS $(mib "$big_count_kib") on $BIG_LINES lines <= 32 MiB, output identical to awk's" \
  test "$big_count_kib" -le "$MEMORY_LIMIT_KIB" -a "$big_count_same" = 1
for long in lookup_field lookup_line count_field count_line; do
  kib_var=long_${long}_kib same_var=long_${long}_same
  check "${long/_/ } of $LONG_MIB MiB: peak RSS $(mib "${!kib_var}") <= 32 MiB, output as the rules give" \
    test "${!kib_var}" -le "$MEMORY_LIMIT_KIB" -a "${!same_var}" = 1
done

# ---------------------------------------------------------------------------
# The 32-bit iwvestra.exe converts a goods file of HUGE_GB GB, more than a
# 32-bit process can map, under Wine as this machine allows: natively, or
# with qemu-i386 where the kernel runs no 32-bit programs (wine-runs.sh). Its
# lookup file's SHA-256 must be the native tool's. The files are deleted
# afterwards.
windows_huge_file() {
  local way lines bytes native_sum windows_sum start seconds
  if ! way=$(scripts/wine-runs.sh 2>"$work/wine-runs.log"); then
    echo "the 32-bit Windows tool cannot run here: $(tail -1 "$work/wine-runs.log")"
    check "Windows build converts a goods file of $HUGE_GB GB under Wine" false
    return
  fi
  lines=$(awk -v gb="$HUGE_GB" 'BEGIN { printf "%d", gb * 1024 * 1024 * 1024 / 81 + 1 }')
  "$generator" goods "$lines" "$work/huge-goods.txt"
  bytes=$(stat -c %s "$work/huge-goods.txt")
  "$tool" lookup "$work/huge-goods.txt" "$work/huge-inwout.txt"
  native_sum=$(sha256sum <"$work/huge-inwout.txt" | cut -d' ' -f1)
  rm -f "$work/huge-inwout.txt"
  start=$(date +%s%N)
  if ! "$wine_run" "$windows_tool" lookup "Z:$work/huge-goods.txt" "Z:$work/huge-inwout.txt" >"$work/wine.log" 2>&1; then
    sed 's/^/  wine: /' "$work/wine.log" | head -5
  fi
  seconds=$(awk -v ns=$(($(date +%s%N) - start)) 'BEGIN { printf "%.1f", ns / 1e9 }')
  windows_sum=$( (sha256sum <"$work/huge-inwout.txt" || true) | cut -d' ' -f1)
  rm -f "$work/huge-goods.txt" "$work/huge-inwout.txt"
  echo "goods file $bytes bytes ($lines lines): $seconds s through the 32-bit iwvestra.exe under Wine ($way)"
  echo "lookup file SHA-256: native $native_sum, Windows ${windows_sum:-none}"
  check "32-bit iwvestra.exe under Wine ($way) converts a goods file of $HUGE_GB GB ($bytes bytes) to the native tool's SHA-256" \
    same "$windows_sum" "$native_sum"
}

echo "=== A goods file of $HUGE_GB GB through the 32-bit Windows tool"
windows_huge_file

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
