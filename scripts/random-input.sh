#!/usr/bin/env bash
# The real game under random input: scripts/random-input.sh [SECONDS] [SEED]
# Builds build/ (Release unless it exists already), starts the game under a private Xvfb, gets
# past the title with Enter and then plays SECONDS (300 unless given) of seeded random keys,
# clicks, pauses and focus changes; Escape at the end. A game that ends by itself after its last
# life is followed by a fresh one. Status 1 if the game died any other way, did not end with
# status 0 on Escape, or its resident memory grew by more than 4 MB after its first minute (see
# scripts/lib/random-play.sh for why 4). Prints the seed, so the same input can be sent again;
# RANDOM_RSS_LOG=FILE keeps the memory samples ("run age_ms rss anon file shmem", kB).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
seed=${2:-$((RANDOM * 32768 + RANDOM))}
build=${VOXMERE_BUILD_DIR:-$root/build}

[[ -f $build/CMakeCache.txt ]] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target voxmere assets -j"$(nproc)" >/dev/null || exit 1
source "$root/scripts/lib/xvfb-game.sh" "$build/voxmere" "$build"
source "$root/scripts/lib/random-play.sh"
random_play "$seconds" "$seed" 60
echo "ok"
