#!/usr/bin/env bash
# Takes the README's pictures of the best scores:
#   tools/take-profile-screenshots.sh build/voxmere build docs/screenshots
# title.png: the title a first run shows (no best yet). title-best.png: the title with a table
# of best scores in a private HOME. new-best.png: a game that beat the best, one second into its
# game-over fade, drawn in the generated art by the disabled showcase test.
set -u
OUT=$(realpath "${3:-docs/screenshots}")
source "$(dirname "$0")/../scripts/lib/xvfb-game.sh" "$(realpath "$1")" "$(realpath "$2")"

(cd "$BUILD_DIR" && VOXMERE_SHOWCASE_DIR="$WORK" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    ALSOFT_DRIVERS=null ./tests/voxmere_tests --gtest_also_run_disabled_tests \
    --gtest_filter=ProfileShowcase.DISABLED_WriteNewBestBanner >"$WORK/showcase.log" 2>&1) ||
    fail "showcase: $(tail -5 "$WORK/showcase.log")"
[[ -s "$WORK/new-best.rgb" ]] || fail "the showcase wrote no picture"
convert -size 640x480 -depth 8 "rgb:$WORK/new-best.rgb" "$OUT/new-best.png"

start_xvfb 640x480x24
title_shot() {
    start_game
    local win
    win=$(wait_window Voxmere)
    sleep 1
    import -window root "$OUT/$1.png"
    key "$win" Escape 2>/dev/null
    kill -TERM "$GAME_PID" 2>/dev/null
    wait_game 10
}
title_shot title
mkdir -p "$HOME/.local/share/voxmere"
printf 'voxmere-scores 1\n12340 187.52 2026-12-01T20:15:03Z\n8460 140.07 2026-11-29T18:02:41Z\nend\n' \
    >"$HOME/.local/share/voxmere/scores"
title_shot title-best
echo "screenshots in $OUT"
