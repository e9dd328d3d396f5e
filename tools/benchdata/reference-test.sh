#!/usr/bin/env bash
# Holds iwvestra-reference to the tool: both conversions of FILES mixed files
# (iwvestra-benchdata mixed), with every kind of line end, NULs, short and
# extra fields and fields longer than a block, must give the tool's bytes.
# Otherwise the bench would measure the tool against a loop that does less.
#
#   reference-test.sh BUILD_DIR WORK_DIR [FILES]
set -euo pipefail
build=$1 work=$2 files=${3:-200}
rm -rf "$work"
mkdir -p "$work"
differences=0
for ((seed = 1; seed <= files; seed++)); do
  "$build/iwvestra-benchdata" mixed "$seed" "$work/in.txt"
  for conversion in lookup count; do
    "$build/iwvestra" "$conversion" "$work/in.txt" "$work/tool.txt"
    "$build/iwvestra-reference" "$conversion" "$work/in.txt" "$work/reference.txt"
    if ! cmp -s "$work/tool.txt" "$work/reference.txt"; then
      echo "mixed file $seed, $conversion: the reference's output differs from the tool's"
      cmp "$work/tool.txt" "$work/reference.txt" || true
      differences=$((differences + 1))
    fi
  done
done
rm -rf "$work"
if ((differences > 0)); then
  echo "$differences of $((2 * files)) conversions differ"
  exit 1
fi
echo "the reference gave the tool's bytes for all $((2 * files)) conversions of $files mixed files"
