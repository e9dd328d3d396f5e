#!/usr/bin/env bash
# Exits 0 when Wine can run the 32-bit Windows programs here. Wine's 32-bit
# loader is itself a 32-bit Linux program, and some virtual machines run a
# kernel with 32-bit programs switched off.
loader=$(command -v wine) || exit 1
[ -x /usr/lib/wine/wine ] && loader=/usr/lib/wine/wine
"$loader" --version >/dev/null 2>&1
