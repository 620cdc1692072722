#!/usr/bin/env bash
# Takes the README's screenshots with the real game under a private Xvfb:
#   tools/take-screenshots.sh build/voxmere build docs/screenshots
set -u
OUT=$(realpath "${3:-docs/screenshots}")
source "$(dirname "$0")/../tests/e2e/lib.sh" "$(realpath "$1")" "$(realpath "$2")"
shoot() { import -window root "$OUT/$1.png"; }

start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
sleep 1
shoot title
click "$win" 195 300  # help
sleep 0.5
shoot title-help
click "$win" 457 436  # back
sleep 0.3
click "$win" 290 300  # options
sleep 0.5
shoot title-options
click "$win" 424 335  # back
sleep 0.3
click "$win" 380 300  # start
sleep 6
shoot opening
sleep 7
shoot play
key "$win" Escape
wait_game 10
echo "screenshots in $OUT"
