#!/usr/bin/env bash
# Checks the built plug-in as the host and Windows see the file: a DLL of the
# expected architecture with exactly the ten entry points under their plain
# names and ordinals, no runtime DLL beside the Windows system ones, ASLR
# (for 64-bit, with high-entropy addresses) and DEP switched on, a version
# resource naming the product and, when MACHINE_PATH is set, no mention of
# that folder of the build machine. Prints one line for every difference and
# fails when there is any.
#
# Usage: check-dll.sh DLL PRODUCT_NAME EXPORTS_LIST
# EXPORTS_LIST holds "ordinal name" lines, as the build reads them from the
# public header IWVestra.h. ARCH is win32 (the default) or win64. OBJDUMP and
# STRINGS name the MinGW binutils to use.
set -uo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 DLL PRODUCT_NAME EXPORTS_LIST" >&2
  exit 2
fi
dll=$1
product=$2
exports_list=$3
arch=${ARCH:-win32}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
strings=${STRINGS:-i686-w64-mingw32-strings}

# What each architecture's file must say of itself: objdump's format name, the
# optional header's magic and the words the problems use.
case $arch in
  win32) format=pei-i386 magic=010b kind="PE32 i386" image=PE32 ;;
  win64) format=pei-x86-64 magic=020b kind="PE32+ x86-64" image=PE32+ ;;
  *)
    echo "$0: ARCH must be win32 or win64, not $arch" >&2
    exit 2
    ;;
esac

problems=0
problem() {
  echo "check-dll: $*"
  problems=$((problems + 1))
}

# Lower case; anything else would have to be shipped beside the DLL.
allowed_imports=(kernel32.dll msvcrt.dll user32.dll advapi32.dll)

header_field() {
  awk -v field="$1" '$1 == field { print $2; exit }' <<<"$headers"
}

check_format() {
  grep -q "file format $format\$" <<<"$headers" || problem "not a $kind file"
  grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers" || problem "not a $image image (optional header magic is not $magic)"
  local characteristics
  characteristics=$(header_field Characteristics)
  if [ -z "$characteristics" ] || (((characteristics & 0x2000) == 0)); then
    problem "not a DLL (Characteristics ${characteristics:-missing} lacks 0x2000)"
  fi
}

# "ordinal name" for every named export. Newer binutils print the biased
# ordinal as "+base[ n]"; older ones only the index into the address table.
named_exports() {
  awk '
    /^Export Address Table -- Ordinal Base/ { base = $NF }
    /^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
    names && /^[[:space:]]*$/ { names = 0 }
    names && /^[[:space:]]*\[/ {
      line = $0
      if (match(line, /\+base\[ *[0-9]+\]/)) {
        ordinal = substr(line, RSTART, RLENGTH); gsub(/[^0-9]/, "", ordinal)
        line = substr(line, RSTART + RLENGTH)
      } else {
        match(line, /\[ *[0-9]+\]/)
        ordinal = substr(line, RSTART, RLENGTH); gsub(/[^0-9]/, "", ordinal)
        ordinal += base
        line = substr(line, RSTART + RLENGTH)
      }
      gsub(/^[[:space:]]+|[[:space:]]+$/, "", line)
      print ordinal " " line
    }
  ' <<<"$headers" | sort -n
}

check_exports() {
  local expected actual count expected_count
  expected=$(grep -E '^[0-9]+ [A-Za-z_]+$' "$exports_list")
  expected_count=$(grep -c . <<<"$expected")
  actual=$(named_exports)
  while read -r line; do
    [ -n "$line" ] && problem "export missing: $line"
  done < <(comm -23 <(sort <<<"$expected") <(sort <<<"$actual"))
  while read -r line; do
    [ -n "$line" ] && problem "unexpected export: $line"
  done < <(comm -13 <(sort <<<"$expected") <(sort <<<"$actual"))
  # Entries exported by ordinal only have no name and show up only here.
  count=$(awk '/^[[:space:]]*Export Address Table[[:space:]]+[0-9a-f]+$/ { print $NF; exit }' <<<"$headers")
  if [ "$((16#${count:-0}))" -ne "$expected_count" ]; then
    problem "export address table has $((16#${count:-0})) entries, not $expected_count"
  fi
}

check_imports() {
  local name lower allowed ok
  while read -r name; do
    lower=${name,,}
    ok=0
    for allowed in "${allowed_imports[@]}"; do
      [ "$lower" = "$allowed" ] && ok=1
    done
    [ $ok -eq 1 ] || problem "imports $name, which is not a Windows system DLL"
  done < <(awk '/DLL Name:/ { print $NF }' <<<"$headers")
}

check_hardening() {
  local flags
  flags=$(header_field DllCharacteristics)
  flags=$((16#${flags:-0}))
  ((flags & 0x40)) || problem "DllCharacteristics lacks DYNAMIC_BASE (0x40): no ASLR"
  ((flags & 0x100)) || problem "DllCharacteristics lacks NX_COMPAT (0x100): no DEP"
  if [ "$arch" = win64 ]; then
    ((flags & 0x20)) || problem "DllCharacteristics lacks HIGH_ENTROPY_VA (0x20): ASLR only below 4 GiB"
  fi
}

check_machine_path() {
  [ -n "${MACHINE_PATH:-}" ] || return 0
  if grep -qaF -- "$MACHINE_PATH" "$dll"; then
    problem "names a folder of the build machine ($MACHINE_PATH)"
  fi
}

check_version_resource() {
  # Resource type 16 is RT_VERSION; type entries are the least indented ones.
  grep -Eq '^[0-9a-f]+   Entry: ID: 0x000010,' <<<"$headers" || problem "no version resource"
  # Version strings are UTF-16: each key is followed by its value.
  if ! "$strings" -el "$dll" | grep -A1 -x 'ProductName' | grep -qxF "$product"; then
    problem "version resource does not name the product \"$product\""
  fi
}

if [ ! -s "$exports_list" ]; then
  problem "no entry points listed in $exports_list"
elif [ ! -f "$dll" ]; then
  problem "no file at $dll"
elif ! headers=$("$objdump" -p "$dll" 2>&1); then
  problem "not a $kind file ($objdump cannot read it)"
else
  check_format
  check_exports
  check_imports
  check_hardening
  check_version_resource
  check_machine_path
fi

if [ $problems -ne 0 ]; then
  echo "check-dll: $dll: $problems problem(s)"
  exit 1
fi
case $arch in
  win32) echo "check-dll: $dll: 32-bit DLL, the header's entry points, system imports only, ASLR and DEP, version resource" ;;
  win64) echo "check-dll: $dll: 64-bit DLL, the header's entry points, system imports only, high-entropy ASLR and DEP, version resource" ;;
esac
