#!/usr/bin/env bash
# Runs every test of a Windows build tree under Wine, one at a time (they share
# the tree's prefix), in one Wine session (see the tree's wine-run.sh), then
# prints each suite's verdict and cases.
#
# Usage: wine-tests.sh BUILD_DIR LABEL [CTEST_ARGUMENTS...]
set -uo pipefail
cd "$(dirname "$0")/.."
tree=$1
label=$2
shift 2
(cd "$tree" && ./wine-run.sh --session ctest --output-on-failure -j 1 "$@")
status=$?
echo
scripts/suite-counts.sh "$tree" "$label"
exit $status
