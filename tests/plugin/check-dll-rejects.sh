#!/usr/bin/env bash
# The binary check must fail, naming each fault, for files that are not a
# proper plug-in.
#
# Usage: check-dll-rejects.sh CHECK_SCRIPT EXPORTS_LIST FOREIGN_DLL EXE
set -uo pipefail
check=$1
exports_list=$2
foreign_dll=$3
exe=$4
failures=0

# expect_rejected FILE PATTERN...: the check fails on FILE and prints a line
# matching every PATTERN.
expect_rejected() {
  local file=$1 output pattern
  shift
  if output=$(bash "$check" "$file" IWVestra "$exports_list"); then
    echo "FAIL: $file passed the check"
    failures=$((failures + 1))
  fi
  for pattern in "$@"; do
    if ! grep -Eq "$pattern" <<<"$output"; then
      echo "FAIL: $file: no line matching '$pattern' in:"
      echo "$output"
      failures=$((failures + 1))
    fi
  done
}

# The foreign library's faults as each architecture's compiler makes them: on
# x64 stdcall decorates no name, so the one export is the right name alone.
case ${ARCH:-win32} in
  win32)
    other=win64
    faults=('unexpected export: 1 HSTDLLTypBiblioteki@0' 'export missing: 1 HSTDLLTypBiblioteki$')
    kind='PE32 i386'
    ;;
  win64)
    other=win32
    faults=('export address table has 1 entries, not 10' 'lacks HIGH_ENTROPY_VA')
    kind='PE32\+ x86-64'
    ;;
esac
expect_rejected "$foreign_dll" "${faults[@]}" \
  'export missing: 10 HSTDLLInwImport$' \
  'imports libiwv_foreign_dependency\.dll, which is not a Windows system DLL' \
  'lacks DYNAMIC_BASE' \
  'lacks NX_COMPAT' \
  'no version resource' \
  'does not name the product "IWVestra"'
expect_rejected "$exe" 'not a DLL'
expect_rejected "$check" "not a $kind file"
expect_rejected /nonexistent/IWVestra.dll 'no file at'
# A DLL of the other architecture is the wrong file for this one's hosts.
ARCH=$other expect_rejected "$foreign_dll" 'not a PE32'

[ $failures -eq 0 ] && echo "check-dll rejects every fault it is shown"
exit $((failures != 0))
