#!/usr/bin/env bash
# Installs what is missing, builds the game and its art and sound, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build" -j"$(nproc)" --target voxmere assets
# The game reads Textures/ and Sounds/ from its working directory.
cd "$root/build"
exec ./voxmere
