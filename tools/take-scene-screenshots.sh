#!/usr/bin/env bash
# The five scenes a change to the drawing is judged by, drawn by the disabled showcase test in
# the generated art on the offscreen GL context, as PNGs into OUT:
#   tools/take-scene-screenshots.sh BUILD_DIR OUT [BEFORE]
# title, opening, flight (busy), full-load, game-over (its fade), from fixed frames of the
# journals in tests/journals. With BEFORE, a folder of the same five taken earlier, each is
# compared with it: how many pixels differ, the largest difference in any channel, and whether
# any pixel has green where the earlier one had none; exits 1 when more than 0.5 % of a
# picture's pixels differ, one by more than 8 levels, or green appears.
set -u
build=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && VOXMERE_SHOWCASE_DIR="$work" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    ALSOFT_DRIVERS=null ./tests/voxmere_tests --gtest_also_run_disabled_tests \
    --gtest_filter=Showcase.DISABLED_WriteScenes >"$work/showcase.log" 2>&1) ||
    { tail -20 "$work/showcase.log" >&2; exit 1; }
scenes=(title opening flight full-load game-over)
for scene in "${scenes[@]}"; do
    convert -size 640x480 -depth 8 "rgb:$work/$scene.rgb" "$out/$scene.png" || exit 1
done
[[ $# -ge 3 ]] || { echo "screenshots in $out"; exit 0; }
before=$(realpath "$3")
status=0
for scene in "${scenes[@]}"; do
    read -r differing largest green < <(python3 - "$before/$scene.png" "$out/$scene.png" <<'PY'
import subprocess, sys
def rgb(path):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout
a, b = rgb(sys.argv[1]), rgb(sys.argv[2])
differing = largest = green = 0
for i in range(0, len(a), 3):
    d = max(abs(a[i] - b[i]), abs(a[i + 1] - b[i + 1]), abs(a[i + 2] - b[i + 2]))
    if d:
        differing += 1
        largest = max(largest, d)
    if b[i + 1] > 0 and a[i + 1] == 0:
        green += 1
print(differing, largest, green)
PY
)
    share=$(awk -v d="$differing" 'BEGIN { printf "%.3f", d * 100 / (640 * 480) }')
    verdict=same
    if awk -v s="$share" -v l="$largest" -v g="$green" 'BEGIN { exit !(s > 0.5 || l > 8 || g > 0) }'; then
        verdict=DIFFERENT
        status=1
    fi
    echo "$scene: $differing pixels differ ($share %), largest channel difference $largest, $green newly green: $verdict"
done
exit $status
