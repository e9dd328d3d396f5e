#!/usr/bin/env bash
# The shop technician's and the support desk's view, through the 64-bit tools
# under wine64, run as a user who is not root so that folder permissions bind
# as on a shop PC: a table of set-ups with the problems `iwvestra.exe check`
# must report, and a table of failed exports and imports with the lines
# their journal entry must hold. Texts are read back from Windows-1250.
#
# Usage: technician_test.sh BUILD_DIR (a 64-bit Windows tree)
set -u
build=$(cd "$1" && pwd)
wine=/usr/lib/wine/wine64
user=iwvtech

skip() { echo "SKIPPED: $*"; echo "0 passed, 0 failed"; exit 0; }
[ -x "$wine" ] || skip "wine64 is not installed"
if [ "$(id -u)" -eq 0 ]; then
  id -u "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" 2>/dev/null ||
    skip "no user $user, and it cannot be made"
  as_user=(setpriv "--reuid=$user" "--regid=$user" --clear-groups)
else
  as_user=()
fi

tmp=$(mktemp -d)
chmod 755 "$tmp"
trap 'as wineserver -k >/dev/null 2>&1; chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
home="$tmp/home"
prefix="$tmp/prefix"
mkdir -p "$home" "$prefix"
[ "$(id -u)" -eq 0 ] && chown -R "$user:" "$tmp"

# Runs a command as the user, in Wine's Polish setting: the ANSI code page is
# Windows-1250, as on a shop's PC.
as() {
  env -i PATH=/usr/bin:/bin HOME="$home" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' \
    LANG=pl_PL.UTF-8 ${WINEPATH:+WINEPATH="$WINEPATH"} ${IWV_TERMINAL_DIR:+IWV_TERMINAL_DIR="$IWV_TERMINAL_DIR"} \
    "${as_user[@]}" "$@"
}
as "$wine" wineboot --init >/dev/null 2>&1
as wineserver -p >/dev/null 2>&1

winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
passed=0
failed=0
out="$tmp/out.txt"

# expect DESCRIPTION TEXT...: every TEXT (UTF-8) is in the output.
expect() {
  local what=$1 missing=""
  shift
  for text in "$@"; do grep -qF -- "$text" "$out" || missing+="    missing: $text"$'\n'; done
  if [ -z "$missing" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED: %s\n%s' "$what" "$missing"
    sed 's/^/    | /' "$out"
  fi
}
expect_status() {  # expect_status DESCRIPTION CODE
  if [ "$status" -eq "$2" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1: exit $status, expected $2"; fi
}

# A shop as the guide lays it out: the host's folder with the plug-in, the
# tools and the drivers (the simulated terminal's); the work directory
# Sklep, its data in Sklep\Dane, the terminal in Sklep\terminal.
host="$tmp/Program"
shop="$tmp/Sklep"
fresh_shop() {
  chmod -R u+w "$shop" "$host" 2>/dev/null
  rm -rf "$shop" "$host"
  mkdir -p "$host" "$shop/Dane" "$shop/terminal"
  cp "$build/dist/IWVestra.dll" "$build/dist/iwvestra.exe" "$build/dist/iwvestra-host.exe" \
    "$build/simulator/dlookup.exe" "$build/simulator/232_read.exe" "$host/"
  printf 'X;590001;Mleko;189;249;1000\r\n' >"$shop/Dane/towary.txt"
  printf 'INW;1;1000\r\n' >"$shop/Dane/spis.txt"
  printf '590001,2\r\n' >"$shop/terminal/counts.txt"
  [ "$(id -u)" -eq 0 ] && chown -R "$user:" "$shop" "$host"
}
goods=$(winpath "$shop/Dane/towary.txt")
count=$(winpath "$shop/Dane/spis.txt")
work=$(winpath "$shop")

# The first 64 bytes of a PE file, enough for its machine: "MZ", the header's
# offset 0x40, "PE\0\0" and 0x014C for x86 or 0x8664 for x64.
pe_stub() {
  local padding
  padding=$(printf '\\000%.0s' $(seq 58))
  printf "MZ${padding}\\100\\000\\000\\000PE\\000\\000$2" >"$1"
}

check() {  # check ARGUMENTS...: iwvestra.exe check run in the host's folder
  (cd "$host" && as "$wine" iwvestra.exe check "$@") 2>&1 | iconv -f WINDOWS-1250 -t UTF-8 >"$out"
  status=${PIPESTATUS[0]}
}

# --- iwvestra.exe check: one set-up per row ---
fresh_shop
check "$goods" --count "$count" --port COM2 --baud 9600
expect_status "a good shop passes" 0
expect "a good shop passes" "katalog roboczy           $work" "polecenie odczytu         232_read.exe inwin.txt,2,5" \
  "IWVestra.dll              64-bitowa, w tym folderze" "nie znaleziono problemów"

chmod 555 "$shop/Dane"
check "$goods" --count "$count"
expect_status "a read-only data folder fails" 1
expect "a read-only data folder fails" "PROBLEM: w folderze pliku danych $work\\Dane\\ nie można zapisywać (błąd systemu 5:" \
  "liczba problemów: 1"
chmod 755 "$shop/Dane"

mkdir -p "$shop/archiwum" && chown "$(stat -c %u "$shop")" "$shop/archiwum" && chmod 555 "$shop/archiwum"
check "$goods"
expect "a read-only archive fails" "PROBLEM: w archiwum $work\\archiwum nie można zapisywać (błąd systemu 5:"
chmod 755 "$shop/archiwum"

chmod 555 "$shop"
check "$goods"
expect "a read-only work directory fails" "PROBLEM: w katalogu roboczym $work nie można zapisywać (błąd systemu 5:"
chmod 755 "$shop"

check "$goods" --host Skelp.exe
expect_status "a mistyped host fails" 1
expect "a mistyped host fails" "PROBLEM: --host Skelp.exe nie jest 32- ani 64-bitowym programem Windows"

# Wine reads the Linux side's names in its locale, so a Polish name needs the
# Polish locale there, as scripts/install-deps.sh makes it.
if locale -a 2>/dev/null | grep -qix 'pl_PL.utf8'; then host_name=Sprzedaż.exe; else
  host_name=Sprzedaz.exe
  echo "NOTE: no pl_PL.UTF-8 locale here: the host program's name is tried without Polish letters"
fi
pe_stub "$host/Sklep.exe" '\114\001'
pe_stub "$host/$host_name" '\114\001'
check "$goods"
expect "a 64-bit plug-in among 32-bit programs fails, Polish names read right" \
  "program sprzedażowy       Sklep.exe, 32-bitowy, $host_name, 32-bitowy" \
  "PROBLEM: IWVestra.dll jest 64-bitowa, a żaden program w tym folderze nie jest 64-bitowy"
check "$goods" --host "$host_name"
expect "a named host of the other bitness fails" \
  "PROBLEM: IWVestra.dll jest 64-bitowa, a program sprzedażowy $host_name jest 32-bitowy: zainstaluj IWVestra.dll z paczki win32"
pe_stub "$host/Kasa.exe" '\144\206'
check "$goods"
expect_status "programs of both bitnesses only ask for --host" 0
expect "programs of both bitnesses only ask for --host" "UWAGA: w tym folderze są programy 32- i 64-bitowe"
rm -f "$host/Sklep.exe" "$host/$host_name" "$host/Kasa.exe"

check "$(winpath "$shop/Dane/brak.txt")"
expect "a missing goods file fails" "PROBLEM: plik towarów $work\\Dane\\brak.txt nie istnieje"

check "$goods" --port com3 --length 12
expect "values off the lists say what the drivers and the plug-in get" \
  "PROBLEM: --port „com3” nie jest żadną z wartości COM1|" \
  "sterowniki dostaną polecenia „dlookup.exe inwout.txt,1” i „232_read.exe inwin.txt,1”, bez kodu, który wskazałby port" \
  "PROBLEM: --length „12” nie jest żadną z wartości 10 liter|15 liter|20 liter|25 liter|30 liter: wtyczka przyjmie wartość domyślną 20 liter"

deep="$tmp/$(printf 'g%.0s' $(seq 250))"
mkdir -p "$deep/Dane" && [ "$(id -u)" -eq 0 ] && chown -R "$user:" "$deep"
check "$(winpath "$deep/Dane/towary.txt")"
expect "a work directory too long for the drivers fails" "PROBLEM: katalog roboczy $(winpath "$deep") ma "

ln -s "$tmp/drive-t" "$prefix/dosdevices/t:"
mkdir -p "$tmp/drive-t/DANE" && [ "$(id -u)" -eq 0 ] && chown -R "$user:" "$tmp/drive-t"
check 'T:\DANE\towary.txt'
expect "data one folder below a drive's root works there" "katalog roboczy           T:\\ (katalog główny dysku)" \
  "plik dla inwentaryzatora  T:\\inwout.txt"

# --- the journal: one failed or finished operation per row ---
operate() {  # operate export|import DATA_PATH: iwvestra-host.exe in the host's folder, then the last entry
  (cd "$host" && IWV_TERMINAL_DIR=terminal as "$wine" iwvestra-host.exe --timeout "1 min" "$@") >/dev/null 2>&1
  status=$?
  iconv -f WINDOWS-1250 -t UTF-8 "$shop/iwvestra.log" | tr -d '\r' | awk '/^[0-9-]+ [0-9:]+ koniec /{entry=""} {entry=entry $0 "\n"} END{printf "%s", entry}' >"$out"
}

fresh_shop
operate import "$count"
expect "an import that succeeds says where the count went" "koniec odczytu $count" \
  "  sterownik: zakończył pracę z kodem 0 po " \
  "  wiersze: z inwentaryzatora 1, w pliku spisu 1, pominięte 0 (zła liczba pól 0, ilość „00000” 0, bez ilości 0)" \
  "  spis z inwentaryzatora: w pliku spisu, kopia w $work\\archiwum\\000001_" "  wynik: 1"
grep -qF "  wtyczka: IWVestra " "$shop/iwvestra.log" && grep -q -- "-bitowa" <(iconv -f WINDOWS-1250 -t UTF-8 "$shop/iwvestra.log") &&
  passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAILED: the start names the plug-in's version and bitness"; }

fresh_shop
chmod 555 "$shop/Dane"
operate import "$count"
expect "an import into a read-only data folder says why and where the count waits" \
  "  błąd: Cannot create file $count (błąd systemu 5:" \
  "  wiersze: z inwentaryzatora 1 (nie trafiły do pliku spisu)" \
  "  spis z inwentaryzatora: nie trafił do pliku spisu, czeka w $work\\archiwum\\000001_" "_niezaimportowany\\inwin.txt"
chmod 755 "$shop/Dane"

fresh_shop
mkdir -p "$shop/archiwum" && chown "$(stat -c %u "$shop")" "$shop/archiwum" && chmod 555 "$shop/archiwum"
operate import "$count"
expect "an import whose archive cannot be written keeps the count in the work directory" \
  "  błąd: Cannot create file $work\\archiwum\\000001_" "(błąd systemu 5:" \
  "  spis z inwentaryzatora: nie trafił do pliku spisu, czeka w $work\\inwin.txt"
chmod 755 "$shop/archiwum"

fresh_shop
rm "$host/dlookup.exe"
operate export "$goods"
expect "a driver that cannot start is named with the system's reason" \
  "  sterownik: nie dał się uruchomić: Windows nie znajduje go w miejscach, w których szuka programów (błąd systemu 2:" \
  "  wiersze: w pliku towarów 1, w pliku dla inwentaryzatora 1" "  wynik: 0"

fresh_shop
operate export "$(winpath "$shop/Dane/brak.txt")"
expect "an export without its goods file says why" "  błąd: Cannot open file $work\\Dane\\brak.txt (błąd systemu 2:"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
