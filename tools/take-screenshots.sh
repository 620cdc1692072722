#!/usr/bin/env bash
# Takes the README's screenshots with the real game under a private Xvfb:
#   tools/take-screenshots.sh build/voxmere build docs/screenshots
set -u
OUT=$(realpath "${3:-docs/screenshots}")
source "$(dirname "$0")/../scripts/lib/xvfb-game.sh" "$(realpath "$1")" "$(realpath "$2")"
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
# Flying and firing: the ship holds still and taps both triggers until a rock in line with the
# cannons or missiles breaks up, then fires a few more salvos and keeps the brightest picture:
# beams, missiles, the explosion and the sparks of hits. The first rock broken up turns the
# score's tens digit from 0 to 2. It is read between salvos, when the shots are far ahead,
# from the pure red strokes of the left eye's digit only (rocks are red and blue, stars dim),
# and must stay for two readings, as a drifting rock's light does not.
tens_digit() {
    import -window root "$WORK/check.png"
    convert "$WORK/check.png" -crop 15x22+160+450 +repage \
        -fx "(r > 0.6 && b < 0.25) ? 1 : 0" "$WORK/tens-$1.png"
}
changed_pixels() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1; }
fire() {
    xdotool keydown --window "$win" ctrl keydown --window "$win" space 2>/dev/null
    sleep 0.08
    import -window root "$WORK/flight-$1.png"
    xdotool keyup --window "$win" ctrl keyup --window "$win" space 2>/dev/null
}
light() { convert "$1" -colorspace gray -threshold 30% -format "%[fx:int(mean*w*h)]" info:; }
tens_digit 0
for i in $(seq 150); do
    fire "$i"
    sleep 0.3
    tens_digit "$i"
    if ((i > 1 && $(changed_pixels "$WORK/tens-0.png" "$WORK/tens-$i.png") > 25 &&
        $(changed_pixels "$WORK/tens-$((i - 1)).png" "$WORK/tens-$i.png") < 6)); then
        break
    fi
done
for j in 1 2 3 4; do
    fire "after-$j"
    sleep 0.25
done
best=$(for j in 1 2 3 4; do
    echo "$(light "$WORK/flight-after-$j.png") $WORK/flight-after-$j.png"
done | sort -n | tail -1 | cut -d' ' -f2)
cp "$best" "$OUT/flight.png"
echo "flight picture after $i salvos"
key "$win" Escape
wait_game 10
echo "screenshots in $OUT"
