#!/usr/bin/env bash
# The whole road of a stocktake, with no terminal attached: a shop's goods go
# to the simulated terminal, a person counts a few items, and the count comes
# back as the shop program's count file. Everything runs under Wine through
# the real IWVestra.dll, loaded by iwvestra-host.exe as a sales program would.
# JOBS sets the parallelism of building what the demo needs.
set -euo pipefail
cd "$(dirname "$0")/.."

# The 32-bit DLL where Wine runs 32-bit programs here, else the 64-bit one
# under wine64: the same library, texts and files, for a 64-bit sales program.
if way=$(scripts/wine-runs.sh); then
  windows=$PWD/build/windows
  bits=32
else
  windows=$PWD/build/windows64
  bits=64
  way=wine64
fi
case $way in
  native) way="native Wine" ;;
  emulated) way="Wine under qemu-i386, since this kernel runs no 32-bit programs" ;;
esac
cmake --build "$windows" -j "${JOBS:-2}" --target iwvestra_dll iwvestra iwvestra-host \
  simulator_dlookup simulator_232_read simulator_scan >/dev/null
demo=$PWD/build/demo
run=$windows/wine-run.sh
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
say() { printf '\n\033[1m== %s\033[0m\n' "$*"; }
host() { "$run" "$windows/dist/iwvestra-host.exe" "$@"; }
scan() { "$run" "$windows/simulator/scan.exe" "$@"; }

rm -rf "$demo"
mkdir -p "$demo/Shop/Data" "$demo/terminal"
say "The stocktake runs through the ${bits}-bit IWVestra.dll under Wine (programs in ${windows#$PWD/})"

# The drivers are found by the platform's program search; Wine adds WINEPATH.
export WINEPATH IWV_TERMINAL_DIR
WINEPATH=$(winpath "$windows/simulator")
IWV_TERMINAL_DIR=$(winpath "$demo/terminal")
goods=$(winpath "$demo/Shop/Data/towary.txt")
count=$(winpath "$demo/Shop/Data/remanent.txt")

say "A sample shop: the sales program's goods file (Windows-1250), Shop\\Data\\towary.txt"
iconv -f UTF-8 -t CP1250 > "$demo/Shop/Data/towary.txt" <<'GOODS'
T;5900001000012;Mąka pszenna, typ 450, 1 kg;189;249;12500
T;5900001000029;Cukier biały kryształ 1 kg;299;389;40000
T;5900001000036;Sól kuchenna jodowana;95;129;3000
T;5900001000043;Masło extra 82% 200 g;499;699;0
T;5900001000050;Jabłka Szampion luz;180;299;25750
T;5900001000067;Żurek śląski w butelce 500 ml;350;479;6000
GOODS
sed -i 's/$/\r/' "$demo/Shop/Data/towary.txt"
iconv -f CP1250 -t UTF-8 "$demo/Shop/Data/towary.txt" | tr -d '\r'

say "The integrator checks the shop's set-up: paths, driver command lines, drivers found (iwvestra.exe check)"
"$run" "$windows/dist/iwvestra.exe" check "$goods" --port COM2

say "What the plug-in tells the sales program about itself (iwvestra-host info)"
host info

say "Goods export: the plug-in writes Shop\\inwout.txt and runs dlookup.exe (simulated), which loads the terminal"
host --port COM2 export "$goods"
echo "-- Shop\\inwout.txt as the terminal gets it:"
iconv -f CP1250 -t UTF-8 "$demo/Shop/inwout.txt" | tr -d '\r'

say "At the shelves: the person with the terminal scans items and keys in what they count"
scan 5900001000012 12.5
scan 5900001000036 3
scan 5900001000050 7.250
scan 5900001000067 00000

say "Stock-count import: 232_read.exe (simulated) leaves inwin.txt, the plug-in turns it into the count file"
host --port COM2 import "$count"

say "The sales program's count file, Shop\\Data\\remanent.txt (quantities in thousandths; the 00000 line means nothing counted)"
tr -d '\r' < "$demo/Shop/Data/remanent.txt"

say "Clearing the count"
host clear

say "Done (${bits}-bit IWVestra.dll, $way). The demo shop is in build/demo; the programs are in ${windows#$PWD/}/dist and ${windows#$PWD/}/simulator."
