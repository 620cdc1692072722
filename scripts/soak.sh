#!/usr/bin/env bash
# The long soak: scripts/soak.sh [MINUTES] [SEED]
# Plays MINUTES of game time (60 unless given) through the game update with seeded random
# controls, pauses, lives lost and games over followed by fresh games, checking every invariant
# after every frame (tests/soak_simulation_test.cpp). Builds build/ first; prints what the run
# went through and the real time it took. Status 1 at the first broken invariant.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-60}
seed=${2:-1207}
build=${VOXMERE_BUILD_DIR:-$root/build}

[[ -f $build/CMakeCache.txt ]] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target voxmere_tests -j"$(nproc)" >/dev/null
start=$(date +%s.%N)
SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null VOXMERE_SOAK_MINUTES=$minutes VOXMERE_SOAK_SEED=$seed \
    "$build/tests/voxmere_tests" --gtest_filter='*SoakSimulation.*/games' --gtest_brief=1
printf '%s minutes of game time (seed %s) took %.1f s of real time\n' "$minutes" "$seed" \
    "$(echo "$(date +%s.%N) - $start" | bc)"
