#!/usr/bin/env bash
# Measures both file conversions of the iwvestra tool against yardsticks run
# in the same rounds, and prints PASS or FAIL for each target:
#   - wall time at most 1.3 times a durable copy (`dd bs=1M conv=fsync`) of
#     the larger of the conversion's input and output;
#   - CPU time (user + sys) at most 1.2 times iwvestra-reference's, a plain
#     loop of the same rules and durability (tools/benchdata/Reference.c);
#   - for the lookup, at least AWK_FACTOR times less CPU time than awk;
#   - outputs byte for byte the reference's and awk's;
#   - peak memory at or below 32 MiB, for files of LINES and of BIG_LINES
#     lines, whose outputs are byte for byte awk's, and for files of LONG_MIB
#     MiB that are one field or one line of long fields, whose outputs are the
#     bytes the rules give;
#   - the 32-bit Windows build, under Wine (emulated where need be), converts
#     a goods file of HUGE_GB GB, larger than a 32-bit address space, to a
#     lookup file with the native tool's SHA-256. The file is generated here
#     and deleted afterwards.
# A machine shared with builds and tests runs anything slower at times, and
# by more than the margins above; so no verdict rests on a figure of its own.
# Each of ROUNDS rounds runs the tool, the copy, awk and the reference once
# for each conversion, in an order that turns by one every round, and gives
# one ratio per target; a verdict reads the median of those ratios. Each run
# is timed by iwvestra-measure, which starts it and reads the clock and
# wait4's usage itself, so no shell, date or removal of an earlier output
# counts; peak memory is read from runs of their own.
# BENCH_ONLY_TIMING=1 runs the rounds alone, for checking that their verdicts
# hold from run to run. Exits 1 when any target or check fails. Builds what is
# missing first.
#
#   LINES=1000000 BIG_LINES=10000000 LONG_MIB=200 HUGE_GB=3 ROUNDS=15 scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."

NATIVE=${NATIVE:-build/native}
WINDOWS=${WINDOWS:-build/windows}
LINES=${LINES:-1000000}
BIG_LINES=${BIG_LINES:-10000000}
LONG_MIB=${LONG_MIB:-200}
HUGE_GB=${HUGE_GB:-3}
ROUNDS=${ROUNDS:-15}
ONLY_TIMING=${BENCH_ONLY_TIMING:-0}
tool=$NATIVE/iwvestra
generator=$NATIVE/iwvestra-benchdata
reference=$NATIVE/iwvestra-reference
measure=$NATIVE/iwvestra-measure
windows_tool=$WINDOWS/dist/iwvestra.exe
wine_run=$WINDOWS/wine-run.sh
readonly MEMORY_LIMIT_KIB=$((32 * 1024))
readonly WALL_LIMIT=1.3 CPU_LIMIT=1.2
# mawk, Debian's awk, spends 8 to 9 times the tool's CPU time on the lookup
# of a million lines (medians of the rounds; single rounds 7 to 11). 10 would
# fail and pass by turns; 5 stays clear of that and still fails a tool that
# does a large part of an interpreter's work per byte.
readonly AWK_FACTOR=5
export LC_ALL=C

for program in "$tool" "$generator" "$reference" "$measure"; do
  if [[ ! -x $program ]]; then
    echo "bench: $program is missing; run make build-native first" >&2
    exit 1
  fi
done
if [[ $ONLY_TIMING != 1 && (! -f $windows_tool || ! -x $wine_run) ]]; then
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
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

# The peak RSS in KiB of one run of COMMAND...
peak_kib() {
  local usage
  usage=$("$measure" "$@") && echo "${usage##* }"
}

# The larger of two files.
larger() { if (($(stat -c %s "$1") >= $(stat -c %s "$2"))); then echo "$1"; else echo "$2"; fi; }

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

declare -A input=([lookup]=$work/goods.txt [count]=$work/inwin.txt) copied
for conversion in lookup count; do
  "$tool" "$conversion" "${input[$conversion]}" "$work/$conversion-tool.txt"
  copied[$conversion]=$(larger "${input[$conversion]}" "$work/$conversion-tool.txt")
done

# The programs timed in the rounds run under the real-time policy where this
# user may ask for it (iwvestra-measure --realtime): on a machine shared with
# builds, the conversions, which spend their wall time on the processor,
# would otherwise wait for it far more than the copy, which spends it on the
# disk, and the wall ratios would follow the builds.
realtime=()
if "$measure" --realtime true >/dev/null 2>&1; then
  realtime=(--realtime)
else
  echo "note: the rounds run at the normal priority; other work on this machine weighs on the wall times"
fi

# timed PROGRAM CONVERSION: one run of PROGRAM (tool, copy, awk or reference)
# on the conversion's input, whose earlier output is removed first, outside
# the measured span; writes "WALL_US CPU_US PEAK_KIB" to $work/run.txt.
timed() {
  local program=$1 conversion=$2 output
  output=$work/$conversion-$program.txt
  rm -f "$output"
  case $program in
    tool) "$measure" "${realtime[@]}" "$tool" "$conversion" "${input[$conversion]}" "$output" ;;
    reference) "$measure" "${realtime[@]}" "$reference" "$conversion" "${input[$conversion]}" "$output" ;;
    awk) "$measure" "${realtime[@]}" --stdout "$output" awk -f "tools/benchdata/$conversion.awk" "${input[$conversion]}" ;;
    copy) "$measure" "${realtime[@]}" dd if="${copied[$conversion]}" of="$output" bs=1M conv=fsync status=none ;;
  esac >"$work/run.txt"
}

programs=(tool copy awk reference)
echo "=== Timing: $ROUNDS rounds of ${programs[*]}, turning by one each round"
: >"$work/rounds.txt"
for ((round = 0; round < ROUNDS; round++)); do
  for conversion in lookup count; do
    for ((turn = 0; turn < ${#programs[@]}; turn++)); do
      program=${programs[(round + turn) % ${#programs[@]}]}
      timed "$program" "$conversion"
      read -r wall cpu _ <"$work/run.txt"
      echo "$round $conversion $program $wall $cpu" >>"$work/rounds.txt"
    done
  done
done
rm -f "$work"/*-copy.txt

# One line per ratio: "NAME MEDIAN MIN MAX" over the rounds, each round's
# ratio of two of its own runs; and "CONVERSION PROGRAM WALL_MS CPU_MS", the
# medians of each program's runs, for reading alone.
awk '
  function median(values, n,    i, j, v) {
    for (i = 2; i <= n; i++) {
      v = values[i]
      for (j = i - 1; j >= 1 && values[j] > v; j--) values[j + 1] = values[j]
      values[j + 1] = v
    }
    return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
  }
  # median() sorts, so the first and last values are then the extremes.
  function spread(name, a, b,    r, n, values, middle) {
    n = 0
    for (r = 0; r < rounds; r++) values[++n] = a[r] / b[r]
    middle = median(values, n)
    printf "%s %.3f %.3f %.3f\n", name, middle, values[1], values[n]
  }
  function typical(conversion, program, kind,    r, n, values) {
    n = 0
    for (r = 0; r < rounds; r++) values[++n] = kind == "wall" ? wall[conversion, program, r] : cpu[conversion, program, r]
    return median(values, n) / 1000
  }
  {
    wall[$2, $3, $1] = $4; cpu[$2, $3, $1] = $5
    if ($1 + 1 > rounds) rounds = $1 + 1
  }
  END {
    for (c = 1; c <= 2; c++) {
      conversion = c == 1 ? "lookup" : "count"
      for (r = 0; r < rounds; r++) {
        toolWall[r] = wall[conversion, "tool", r]; copyWall[r] = wall[conversion, "copy", r]
        toolCpu[r] = cpu[conversion, "tool", r]; referenceCpu[r] = cpu[conversion, "reference", r]
        awkCpu[r] = cpu[conversion, "awk", r]; referenceWall[r] = wall[conversion, "reference", r]
      }
      spread(conversion "-wall", toolWall, copyWall)
      spread(conversion "-cpu", toolCpu, referenceCpu)
      spread(conversion "-awk", awkCpu, toolCpu)
      spread(conversion "-reference-wall", referenceWall, copyWall)
      split("tool copy awk reference", names, " ")
      for (p = 1; p <= 4; p++)
        printf "%s %s %.1f %.1f\n", conversion, names[p], typical(conversion, names[p], "wall"), typical(conversion, names[p], "cpu")
    }
  }' "$work/rounds.txt" >"$work/ratios.txt"

echo "median over the rounds, in ms:"
awk 'NF == 4 && $1 !~ /-/ { printf "  %-6s %-9s %8.1f wall %8.1f CPU\n", $1, $2, $3, $4 }' "$work/ratios.txt"

# ratio NAME: "MEDIAN MIN MAX" of one ratio.
ratio() { awk -v name="$1" '$1 == name { print $2, $3, $4 }' "$work/ratios.txt"; }
# ratio_check TEXT NAME at_most|at_least LIMIT
ratio_check() {
  local text=$1 name=$2 bound=$3 limit=$4 median low high shown
  read -r median low high < <(ratio "$name")
  shown=$(printf '%s median %.2f (%.2f-%.2f over %d rounds)' "$text" "$median" "$low" "$high" "$ROUNDS")
  if [[ $bound == at_most ]]; then
    check "$shown <= $limit" at_most "$median" "$limit"
  else
    check "$shown >= $limit" at_most "$limit" "$median"
  fi
}

echo "=== Timing targets"
for conversion in lookup count; do
  [[ ${copied[$conversion]} == "${input[$conversion]}" ]] && which=input || which=output
  ratio_check "$conversion wall / durable copy of its $which" "$conversion-wall" at_most "$WALL_LIMIT"
done
for conversion in lookup count; do
  ratio_check "$conversion CPU / reference CPU" "$conversion-cpu" at_most "$CPU_LIMIT"
done
ratio_check "lookup awk CPU / tool CPU" lookup-awk at_least "$AWK_FACTOR"
# Without a target, for reading: awk on the count, and how far the
# reference itself is from the wall target.
for name in count-awk lookup-reference-wall count-reference-wall; do
  read -r median low high < <(ratio "$name")
  case $name in
    count-awk) text="count awk CPU / tool CPU" ;;
    *) text="${name%%-*} reference wall / durable copy" ;;
  esac
  printf '      %s median %.2f (%.2f-%.2f), no target\n' "$text" "$median" "$low" "$high"
done
all_same() { cmp -s "$1" "$2" && cmp -s "$1" "$3"; }
for conversion in lookup count; do
  check "$conversion output of $LINES lines: the tool's, the reference's and awk's are byte for byte the same" \
    all_same "$work/$conversion-"{tool,reference,awk}.txt
done

if [[ $ONLY_TIMING == 1 ]]; then
  ((failures == 0)) || echo "$failures check(s) failed"
  exit $((failures > 0))
fi

echo "=== Memory on $LINES lines"
rm -f "$work"/lookup-*.txt "$work"/count-*.txt
lookup_kib=$(peak_kib "$tool" lookup "$work/goods.txt" "$work/memory.txt")
rm -f "$work/memory.txt"
count_kib=$(peak_kib "$tool" count "$work/inwin.txt" "$work/memory.txt")
rm -f "$work/memory.txt"
echo "goods file: peak $(mib "$lookup_kib"); terminal data file: peak $(mib "$count_kib")"

# big_file KIND COMMAND TEXT: converts a generated file of BIG_LINES lines of
# KIND (goods or terminal) with the tool's COMMAND once, and prints "KIB SAME":
# its peak memory, and 1 when the output is the awk conversion's.
big_file() {
  local kind=$1 command=$2 text=$3 kib same
  "$generator" "$kind" "$BIG_LINES" "$work/big-in.txt"
  kib=$(peak_kib "$tool" "$command" "$work/big-in.txt" "$work/big-out.txt")
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
  kib=$(peak_kib "$tool" "$command" "$work/long-in.txt" "$work/long-out.txt")
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

echo "=== Memory targets"
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
