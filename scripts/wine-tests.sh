#!/usr/bin/env bash
# Runs every test of a Windows build tree under Wine, one at a time (they share
# the tree's prefix), with one wineserver kept up for the whole run so that no
# test pays for starting it, then prints each suite's verdict and cases.
#
# Usage: wine-tests.sh BUILD_DIR LABEL [CTEST_ARGUMENTS...]
set -uo pipefail
cd "$(dirname "$0")/.."
tree=$1
label=$2
shift 2
export WINEPREFIX=$PWD/$tree/wineprefix

# The launcher makes the prefix on first use; a persistent server must not be
# running while it does.
"$tree/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
(cd "$tree" && ctest --output-on-failure -j 1 "$@")
status=$?
echo
scripts/suite-counts.sh "$tree" "$label"
exit $status
