#!/usr/bin/env bash
# Installs the build and test tools from Debian's packages when any is missing.
# Idempotent: a machine that has everything is left alone.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd g++ || need+=(g++)
have_cmd make || need+=(make)
have_cmd python3 || need+=(python3)
have_cmd clang++ || need+=(clang)
have_pkg googletest || need+=(googletest)
have_pkg libgtest-dev || need+=(libgtest-dev)
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have_cmd i686-w64-mingw32-objdump || need+=(binutils-mingw-w64-i686)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_pkg wine32:i386 || need+=(wine wine32:i386)
have_cmd wine || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
# The sanitizer and fuzzer runtime must match the clang that is installed.
clang_major=$(clang --version 2>/dev/null | sed -nE 's/.*clang version ([0-9]+).*/\1/p' | head -1)
clang_rt=libclang-rt-${clang_major:-14}-dev
have_pkg "$clang_rt" || need+=("$clang_rt")
have_cmd /usr/bin/time || need+=(time)
have_cmd flock || need+=(util-linux)
have_cmd awk || need+=(gawk)
have_cmd dd || need+=(coreutils)
# The release kit: its import libraries, its signatures and their test.
have_cmd llvm-dlltool || need+=(llvm)
have_cmd osslsigncode || need+=(osslsigncode)
have_cmd openssl || need+=(openssl)
# The technician's tests run Wine as a Polish Windows (code page 1250), which
# takes the Polish locale on the Linux side too.
[ -f /usr/share/i18n/locales/pl_PL ] || need+=(locales)
have_cmd setpriv || need+=(util-linux)
have_cmd useradd || need+=(passwd)
have_polish() { locale -a 2>/dev/null | grep -qix 'pl_PL.utf8'; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
make_polish() { have_polish || $sudo localedef -i pl_PL -f UTF-8 pl_PL.UTF-8 || true; }

if [ ${#need[@]} -eq 0 ]; then
  make_polish
  exit 0
fi

echo "Installing: ${need[*]}"
if [[ " ${need[*]} " == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${need[@]}" >/dev/null
make_polish
