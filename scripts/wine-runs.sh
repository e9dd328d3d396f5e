#!/usr/bin/env bash
# Says whether 32-bit Windows programs start here, and which way: prints
# native (Wine as it is) or emulated (through qemu-i386, see wine32.sh) and
# exits 0, or exits 1 with the reason on stderr.
#
# `wine --version` proves nothing, since it can succeed where no 32-bit
# program starts; so a 32-bit program is started: Wine's cmd.exe, which must
# say that it runs as x86. Where only emulation can run it and the kit in
# ../shared/qemu32 is not set up yet, its setup runs first, once, as root.
#
# The program starts in WINEPREFIX, by default the 32-bit build tree's own,
# which is then made and ready for the tests.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kit=$root/../shared/qemu32
wine32=$root/scripts/wine32.sh

fail() {
  echo "wine-runs: $*" >&2
  exit 1
}

# The kit's setup installs packages; it is skipped once everything it makes is there.
if ! "$wine32" --way >/dev/null 2>&1 && [ -x /usr/lib/wine/wine ] && [ -x "$kit/setup-qemu-wine32.sh" ] &&
  ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "wine-runs: setting up $kit for 32-bit programs (once)" >&2
  $sudo "$kit/setup-qemu-wine32.sh" >&2 || fail "the setup of $kit failed"
fi

way=$("$wine32" --way 2>&1) || fail "$way"

export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$(dirname "$WINEPREFIX")"
# The first start makes the prefix; the lock is the one the build tree's
# wine-run.sh takes for that.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
said=$(flock "$WINEPREFIX.lock" timeout 300 "$wine32" wine cmd /c 'echo %PROCESSOR_ARCHITECTURE%' 2>"$errors")
code=$?
[ "$(tr -d '\r' <<<"$said")" = x86 ] ||
  fail "Wine ($way) could not start a 32-bit program (cmd.exe, exit $code): $(tail -3 "$errors" | tr '\n' ' ')"
echo "$way"
