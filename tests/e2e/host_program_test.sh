#!/usr/bin/env bash
# iwvestra-host.exe as an integrator uses it: the real DLL, the simulated
# terminal on the program search path, texts shown in UTF-8, exit statuses.
set -u
build=$1
run="$build/wine-run.sh"
hostexe="$build/dist/iwvestra-host.exe"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
shop="$tmp/Shop"
mkdir -p "$shop/Data" "$tmp/terminal"
export IWV_TERMINAL_DIR
IWV_TERMINAL_DIR=$(winpath "$tmp/terminal")
simulator=$(winpath "$build/simulator")
goods=$(winpath "$shop/Data/towary.txt")
count=$(winpath "$shop/Data/remanent.txt")
# "X;1001;Kawa ziarnista, 1 kg;3999;4999;2000" and two more, in Windows-1250.
printf 'X;1001;Kawa ziarnista, 1 kg;3999;4999;2000\r\nX;1002;Herbata \xbfurawinowa;450;599;12500\r\nX;1003;Czekolada gorzka;300;419;0\r\n' > "$shop/Data/towary.txt"

passed=0
failed=0
out="$tmp/out.txt"

host() { WINEPATH="${path:-$simulator}" "$run" "$hostexe" "$@" >"$out" 2>&1; status=$?; }
expect() {  # expect DESCRIPTION CONDITION...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    sed 's/^/    | /' "$out"
  fi
}
has() { grep -qF -- "$1" "$out"; }
lines() { grep -cF -- "$1" "$out"; }

host --help
expect "--help exits 0 with the usage" test "$status" -eq 0 -a "$(lines 'usage: iwvestra-host')" -eq 1
host
expect "no command is bad usage" test "$status" -eq 2
host export
expect "export without a file is bad usage" test "$status" -eq 2
host --speed 9600 info
expect "an unknown option is bad usage" test "$status" -eq 2
host --library "$(winpath "$tmp/none.dll")" info
expect "a library that cannot be loaded is bad usage" test "$status" -eq 2

host info
expect "info exits 0" test "$status" -eq 0
expect "info shows the type" has "library type: 3"
expect "info shows the device label" has "device label: Vestrak-L CipherLab"
expect "info shows the library name" has "library name: IW_Vestra"
expect "info shows the speed parameter in Polish" has 'parameter baud "Prędkość", default "115200": 9600, 19200, 38400, 57600, 115200'
expect "info shows the time-out list" has 'parameter timeout "Timeout", default "5 min": 1 min, 2 min, 5 min, 10 min, 15 min, 30 min'
expect "info shows the import prompt" has "Wybierz z menu 2.TRANSMISJA -> DATA FILE."
expect "info shows the export prompt" has "Wybierz z menu 3.NARZĘDZIA -> 8.ŁADUJ BAZĘ."

host --length "10 liter" --price "Cena zak" export "$goods"
expect "export exits 0 for result 1" test "$status" -eq 0 -a "$(lines 'result: 1')" -eq 1
expect "export shows the operator prompt first" test "$(head -1 "$out" | tr -d '\r')" = "[operator] Włącz zasilanie doku, sprawdź połączenie RS232 z komputerem,"
expect "export asks five parameters" test "$(lines '[GetParameterValue]')" -eq 5
expect "export shows one status" test "$(lines '[ShowStatus]')" -eq 1 -a "$(lines 'Transakcja w toku ...')" -eq 1
expect "export wrote the lookup file with the chosen length and price" \
  test "$(cat "$shop/inwout.txt")" = "$(printf 'Kawa ziarn,1001,2.000,0,39.99\r\nHerbata \xbfu,1002,12.500,0,4.50\r\nCzekolada ,1003,0,0,3.00\r')"
expect "the simulated terminal holds the goods" test -s "$tmp/terminal/goods.txt"

WINEPATH=$simulator "$run" "$build/simulator/scan.exe" 1002 3.5 >/dev/null 2>&1
WINEPATH=$simulator "$run" "$build/simulator/scan.exe" 1001 2 >/dev/null 2>&1
host import "$count"
expect "import exits 0 for result 1" test "$status" -eq 0 -a "$(lines 'result: 1')" -eq 1
expect "import asks three parameters" test "$(lines '[GetParameterValue]')" -eq 3
expect "import wrote the count file" test "$(cat "$shop/Data/remanent.txt")" = "$(printf 'INW;1002;3500\r\nINW;1001;2000\r')"

path='C:\windows' host export "$goods"
expect "a missing driver gives exit 1" test "$status" -eq 1 -a "$(lines 'result: 0')" -eq 1
expect "a missing driver is reported in Polish" has "[ReportError] Błąd uruchomienia driver'a (dlookup.exe)."

host export "$(winpath "$shop/Data/brak.txt")"
expect "a library error gives exit 3" test "$status" -eq 3
expect "a library error shows its message" has "[library error] Cannot open file $(winpath "$shop/Data/brak.txt")"

host clear
expect "clear exits 0 for result 1" test "$status" -eq 0 -a "$(lines 'result: 1')" -eq 1

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
