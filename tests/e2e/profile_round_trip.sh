# The player's files over two runs, in a private HOME: --scores does not wait on a FIFO; the
# options page saves its choice beside the player's own lines, the command line overrides the
# settings file without writing it, a game that scored enters the best scores even when a
# logout's SIGTERM ends it, and the next run starts with the saved settings, shows the new best,
# and enters no game that never began play.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
export XDG_CONFIG_HOME=$WORK/config  # and the scores under HOME's .local/share
SCORES=$HOME/.local/share/voxmere/scores
SETTINGS=$XDG_CONFIG_HOME/voxmere/settings

scores() { (cd "$BUILD_DIR" && "$GAME" --scores) 2>&1; }
scores | grep -qx "No best scores yet: play a game to enter the table." || fail "--scores: $(scores)"
# --scores never waits on a FIFO in the file's place, and creates nothing beside it.
mkdir -p "$(dirname "$SCORES")" && mkfifo "$SCORES"
said=$(cd "$BUILD_DIR" && timeout 10 "$GAME" --scores 2>&1) &&
    [[ $said == *"is a FIFO, not a file"* && $(ls "$(dirname "$SCORES")") == scores ]] ||
    fail "--scores on a FIFO: $said"
rm "$SCORES"
mkdir -p "$XDG_CONFIG_HOME/voxmere"
printf '# my glasses\nglasses = red-cyan\n' >"$SETTINGS"

# The best score's digits on the title's main page.
best_digits() { import -window root -crop 160x34+290+223 +repage "$WORK/best-$1.png" 2>/dev/null; }
changed() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1; }

start_xvfb 640x480x24
open_game --glasses red-blue --record "$WORK/run.vxj"  # a recorded run prints its score
best_digits first
click "$win" 290 300  # options
sleep 0.3
click "$win" 416 265  # separation 2
click "$win" 424 335  # back
eventually 5 'grep -qx "separation = 2" "$SETTINGS"' || fail "options not saved: $(cat "$SETTINGS")"
grep -q '^# my glasses$' "$SETTINGS" && grep -qx 'glasses = red-cyan' "$SETTINGS" ||
    fail "the player's lines were not kept: $(cat "$SETTINGS")"
key "$win" Return
sleep 11.5  # the controls come alive at 10.52 s
[[ $(lit_pixels g) == 0 ]] || fail "--glasses red-blue did not override the file's red-cyan"
# Fire for about twenty seconds, both triggers tapped, with a short sidestep every two seconds,
# left then right, so that the beams reach more of the field than the rocks straight ahead
# (some fields send none there for half a minute). The score is read from what the recorded run
# prints when it ends: the HUD's digits cannot tell it, since the backdrop's stars move through
# them at every sidestep.
for i in $(seq 24); do
    side=""
    ((i % 4 == 1)) && side=$( ((i / 4 % 2)) && echo Right || echo Left)
    [[ -n $side ]] && xdotool keydown --window "$win" "$side" 2>/dev/null
    xdotool key --window "$win" --delay 60 --repeat 4 ctrl space 2>/dev/null
    [[ -n $side ]] && xdotool keyup --window "$win" "$side" 2>/dev/null
    xdotool key --window "$win" --delay 60 --repeat 4 ctrl space 2>/dev/null
done
kill -TERM "$GAME_PID"
ends_with 0 "SIGTERM"
score=$(grep -oE '^score=[0-9]+' "$WORK/game.out" | cut -d= -f2)
[[ -n $score && $score -gt 0 ]] || fail "no score after twenty seconds of firing: $(cat "$WORK/game.out")"
scores | grep -qE "^   1 +$score +[0-9]+:[0-9]{2}:[0-9]{2}  [0-9]{4}-" || fail "--scores: $(scores)"
grep -q "glasses = red-blue" "$SETTINGS" && fail "the command line was written to the settings"

cp "$SCORES" "$WORK/scores.before"
open_game
best_digits second
(($(changed "$WORK/best-first.png" "$WORK/best-second.png") > 50)) ||
    fail "the title's best score did not change"
key "$win" Return
eventually 5 '(($(lit_pixels g) > 1000))' || fail "the file's red-cyan glasses were not applied"
key "$win" Escape
ends_with 0 "Escape"
cmp -s "$SCORES" "$WORK/scores.before" || fail "a game that never began play entered the table"
echo "ok: score $score kept, settings saved and applied"
