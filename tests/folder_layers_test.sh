#!/usr/bin/env bash
# Fails when a folder under src/ includes one above it. Usage: folder_layers_test.sh SRC
# FOLDER... with the folders from the bottom up (platform first); every folder under SRC must
# be named, so a new one takes its place in the order deliberately.
set -u
src=$1
shift
declare -A rank
i=0
for folder in "$@"; do rank[$folder]=$((i++)); done
status=0
for dir in "$src"/*/; do
    name=$(basename "$dir")
    [[ -n ${rank[$name]+x} ]] || { echo "src/$name is not in the folder order"; status=1; }
done
while IFS=: read -r file _ included; do
    from=${file#"$src"/}
    from=${from%%/*}
    to=${included#*\"}
    to=${to%%/*}
    [[ -n ${rank[$to]+x} && -n ${rank[$from]+x} ]] || continue
    if ((rank[$to] > rank[$from])); then
        echo "${file#"$src"/}: includes $to/, which sits above $from/"
        status=1
    fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "[a-z_]*/' "$src")
((status == 0)) && echo "folders depend one way: $*"
exit $status
