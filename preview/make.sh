#!/bin/sh
# Writes PNG previews of every generated texture: preview/make.sh <dir with Textures/>
src=${1:-build}/Textures
out=$(dirname "$0")
for f in "$src"/*.tex; do
    name=$(basename "$f" .tex)
    bytes=$(stat -c %s "$f")
    case $name in
        Texture2|Texture4|Texture6) edge=$(awk "BEGIN{print int(sqrt($bytes/4)+0.5)}"); fmt=rgba ;;
        *) edge=$(awk "BEGIN{print int(sqrt($bytes)+0.5)}"); fmt=gray ;;
    esac
    convert -size ${edge}x${edge} -depth 8 $fmt:"$f" "$out/$name.png"
done
