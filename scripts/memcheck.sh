#!/usr/bin/env bash
# valgrind memcheck over a short headless run of the game code: three minutes of the soak (random
# play, pauses, games over and fresh games through the game update) and frames drawn into the
# offscreen GL context. Fails on any invalid read or write, use of uninitialised memory, or a
# leak in our own code; what the GL driver, SDL and OpenAL keep for themselves is suppressed by
# library in tests/valgrind.supp.
#   scripts/memcheck.sh [GTEST_FILTER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VOXMERE_BUILD_DIR:-$root/build}
filter=${1:-'*SoakSimulation.*/games:FlightPicture.BeamsMissilesAndBurstsAddLight:CombatRender.FightersTheirShotsAndPickupsShowInBothEyePasses'}

command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)" >&2; exit 2; }
[[ -f $build/CMakeCache.txt ]] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target voxmere_tests -j"$(nproc)" >/dev/null

# Mesa's llvmpipe runs its own threads and JIT code: one thread, no JIT caches to chase.
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null LP_NUM_THREADS=0 VOXMERE_SOAK_MINUTES=${VOXMERE_SOAK_MINUTES:-3}
cd "$build"
valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --track-origins=yes \
    --suppressions="$root/tests/valgrind.supp" --gen-suppressions=all \
    "$build/tests/voxmere_tests" --gtest_filter="$filter" --gtest_brief=1
echo "memcheck: no invalid access and no leak of our own"
