#!/usr/bin/env bash
# The whole road of a stocktake, with no terminal attached: a shop's goods go
# to the simulated terminal, a person counts a few items, and the count comes
# back as the shop program's count file. Everything runs under Wine through
# the real IWVestra.dll, loaded by iwvestra-host.exe as a sales program would.
set -euo pipefail
cd "$(dirname "$0")/.."

windows=$PWD/build/windows
demo=$PWD/build/demo
run=$windows/wine-run.sh
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
say() { printf '\n\033[1m== %s\033[0m\n' "$*"; }
host() { "$run" "$windows/dist/iwvestra-host.exe" "$@"; }
scan() { "$run" "$windows/simulator/scan.exe" "$@"; }

rm -rf "$demo"
mkdir -p "$demo/Shop/Data" "$demo/terminal"

# Where no 32-bit Windows program starts (a kernel without 32-bit programs,
# and no qemu-i386 to run them), the same stocktake runs with the native
# build: the same conversions and the simulated terminal's drivers, started by
# hand in the work directory instead of by the DLL.
if ! way=$(scripts/wine-runs.sh); then
  native=$PWD/build/native
  say "Wine cannot run 32-bit programs on this machine, so IWVestra.dll cannot be loaded here."
  echo "The same stocktake follows with the native build of the library's code and of the simulated terminal."
  printf 'T;5900001000012;M\xb9ka pszenna, typ 450, 1 kg;189;249;12500\r\nT;5900001000036;S\xf3l kuchenna jodowana;95;129;3000\r\nT;5900001000050;Jab\xb3ka Szampion luz;180;299;25750\r\n' \
    > "$demo/Shop/Data/towary.txt"
  export IWV_TERMINAL_DIR=$demo/terminal
  say "The integrator checks the shop's set-up (iwvestra check)"
  "$native/iwvestra" check "$demo/Shop\\Data\\towary.txt" --port COM2 || true
  say "Goods export: the lookup file Shop/inwout.txt, loaded by dlookup.exe (simulated)"
  "$native/iwvestra" lookup "$demo/Shop/Data/towary.txt" "$demo/Shop/inwout.txt"
  (cd "$demo/Shop" && "$native/simulator/dlookup.exe" inwout.txt,2,1)
  iconv -f CP1250 -t UTF-8 "$demo/Shop/inwout.txt" | tr -d '\r'
  say "At the shelves: counts scanned on the terminal"
  "$native/simulator/scan.exe" 5900001000012 12.5
  "$native/simulator/scan.exe" 5900001000036 00000
  say "Stock-count import: 232_read.exe (simulated) leaves inwin.txt, converted into the count file"
  (cd "$demo/Shop" && "$native/simulator/232_read.exe" inwin.txt,2,1)
  "$native/iwvestra" count "$demo/Shop/inwin.txt" "$demo/Shop/Data/remanent.txt"
  tr -d '\r' < "$demo/Shop/Data/remanent.txt"
  say "Done (native). On a machine whose kernel runs 32-bit programs, make demo runs this through IWVestra.dll under Wine."
  exit 0
fi
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

case $way in
  native) way="native Wine" ;;
  emulated) way="Wine under qemu-i386, since this kernel runs no 32-bit programs" ;;
esac
say "Done (32-bit IWVestra.dll, $way). The demo shop is in build/demo; the programs are in build/windows/dist and build/windows/simulator."
