#!/usr/bin/env bash
# Takes the README's combat screenshots:
#   tools/take-combat-screenshots.sh build/voxmere build docs/screenshots
# fighters.png: the real game under a private Xvfb, left alone until the first wave of fighters
# closes in (about 29 s after Enter), after the ship has slid left. pickups.png: the seven pickups in a row drawn in the
# generated art by the disabled showcase test, run from the build folder.
set -u
OUT=$(realpath "${3:-docs/screenshots}")
source "$(dirname "$0")/../scripts/lib/xvfb-game.sh" "$(realpath "$1")" "$(realpath "$2")"

(cd "$BUILD_DIR" && VOXMERE_SHOWCASE_DIR="$WORK" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    ALSOFT_DRIVERS=null ./tests/voxmere_tests --gtest_also_run_disabled_tests \
    --gtest_filter=CombatShowcase.DISABLED_WritePickupRow >"$WORK/showcase.log" 2>&1) ||
    fail "showcase: $(tail -5 "$WORK/showcase.log")"
[[ -s "$WORK/pickups.rgb" ]] || fail "the showcase wrote no picture"
convert -size 640x480 -depth 8 "rgb:$WORK/pickups.rgb" "$OUT/pickups.png"

start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
key "$win" Return
# A fighter steers at its distance from the ship, so a wave stays on the centre line until the
# ship moves off it: slide left for a moment once the wave is in.
sleep 21
xdotool keydown --window "$win" Left 2>/dev/null
sleep 1.2
xdotool keyup --window "$win" Left 2>/dev/null
sleep "${FIGHTER_SHOT_AFTER:-6.6}"
import -window root "$OUT/fighters.png"
key "$win" Escape
wait_game 10
echo "screenshots in $OUT"
