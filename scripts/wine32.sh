#!/bin/sh
# wine32.sh COMMAND...: runs COMMAND so that the 32-bit Windows programs it
# starts under Wine can run. Wine's 32-bit loader is itself a 32-bit Linux
# program, and some kernels refuse those. Where the kernel runs them, COMMAND
# runs as it is; otherwise every 32-bit program it starts goes through
# qemu-i386, by the kit in ../shared/qemu32 beside this repository, once that
# kit is set up (scripts/wine-runs.sh does it).
#
# COMMAND sees IWV_WINE32=native or emulated, and a wine32.sh inside it runs
# its own COMMAND as it is. `wine32.sh --way` prints native or emulated and
# runs nothing. Where neither way is open, wine32.sh exits 1 with the reason
# on stderr.
kit=$(cd "$(dirname "$0")/.." && pwd)/../shared/qemu32
shim=/usr/local/lib/qemu-wine/lib/i386-linux-gnu/qemu-wine-fix.so

# Whether process $1 is this one or one of its ancestors.
ancestor() {
  pid=$$
  while [ "$pid" -gt 1 ] 2>/dev/null; do
    [ "$pid" = "$1" ] && return 0
    pid=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f2) || return 1
  done
  return 1
}

# The answer of an outer wine32.sh, which exported it for the command it runs:
# trusted only from inside that command, and only as one of its two answers.
# A value left in the environment by anything else is worked out anew.
inherited() {
  case ${IWV_WINE32:-} in native | emulated) ;; *) return 1 ;; esac
  [ -n "${IWV_WINE32_BY:-}" ] && ancestor "$IWV_WINE32_BY"
}

way() {
  if inherited; then
    echo "$IWV_WINE32"
  elif [ ! -x /usr/lib/wine/wine ]; then
    echo "Wine's 32-bit part (wine32:i386) is not installed" >&2
    return 1
  elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo native
  elif [ ! -x "$kit/with-qemu-i386.sh" ]; then
    echo "this kernel runs no 32-bit programs, and there is no ../shared/qemu32 to emulate them" >&2
    return 1
  elif [ ! -f "$shim" ] || ! command -v qemu-i386 >/dev/null; then
    echo "this kernel runs no 32-bit programs, and ../shared/qemu32 is not set up (scripts/wine-runs.sh sets it up)" >&2
    return 1
  else
    echo emulated
  fi
}

chosen=$(way) || exit 1
if [ "${1:-}" = --way ]; then
  echo "$chosen"
  exit 0
fi
nested=false
inherited && nested=true
export IWV_WINE32="$chosen"
if ! $nested; then
  # exec keeps this process's id for the command, whose wine32.sh calls
  # find it among their ancestors.
  export IWV_WINE32_BY=$$
  [ "$chosen" = emulated ] && exec "$kit/with-qemu-i386.sh" "$@"
fi
exec "$@"
