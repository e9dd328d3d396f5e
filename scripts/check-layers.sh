#!/usr/bin/env bash
# The folders of src/ are layers, and a file may include only from its own
# layer or from one below it:
#   plugin > export, import > driver > host > common > platform
# export and import stand side by side and include neither each other.
# Prints every include that looks up or sideways and fails when there is any.
set -uo pipefail
cd "$(dirname "$0")/../src"

declare -A rank=([platform]=0 [common]=1 [host]=2 [driver]=3 [export]=4 [import]=4 [plugin]=5)
problems=0
for folder in */; do
  folder=${folder%/}
  if [ -z "${rank[$folder]+set}" ]; then
    echo "check-layers: src/$folder is no known layer"
    problems=$((problems + 1))
    continue
  fi
  while IFS=: read -r file line included; do
    target=${included%%/*}
    [ -n "${rank[$target]+set}" ] || continue
    if [ "$target" != "$folder" ] && [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
      echo "check-layers: src/$file:$line includes $included, which is not below $folder"
      problems=$((problems + 1))
    fi
  done < <(grep -rnoE '^#include "[a-z]+/[^"]+"' "$folder" | sed -E 's/#include "([^"]+)"/\1/')
done
if [ $problems -ne 0 ]; then
  echo "check-layers: $problems include(s) against the layers"
  exit 1
fi
echo "check-layers: every include of src/ looks down"
