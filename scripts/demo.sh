#!/usr/bin/env bash
# Converts the sample goods file and terminal data file with the native
# iwvestra tool and shows the results in UTF-8. Expects `make build` first.
set -euo pipefail
cd "$(dirname "$0")/.."

tool=build/native/iwvestra
out=build/demo
if [[ ! -x $tool ]]; then
  echo "demo: $tool is missing; run make build first" >&2
  exit 1
fi
mkdir -p "$out"

show() {
  local title=$1 file=$2
  echo "=== $title ($file)"
  iconv -f WINDOWS-1250 -t UTF-8 "$file" | tr -d '\r'
  echo
}

show "Goods file from the host" samples/goods.txt
"$tool" lookup samples/goods.txt "$out/inwout.txt" --name-length 20 --price-level 0
show "Lookup file for the terminal, names of 20, retail prices" "$out/inwout.txt"
"$tool" lookup samples/goods.txt "$out/inwout-purchase.txt" --name-length 10 --price-level 1
show "Lookup file for the terminal, names of 10, purchase prices" "$out/inwout-purchase.txt"

show "Terminal data file" samples/inwin.txt
"$tool" count samples/inwin.txt "$out/count.txt"
show "Count file for the host" "$out/count.txt"
