# After the opening, holding an arrow key and the fire key flies the ship: the backdrop slides
# and the beams show, so the picture changes far more than the drifting field alone changes
# it. Escape then ends the game with status 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
key "$win" Return
# The opening: controls unlock at 10.52 s of play, and the spawn shield's glow fades over the
# next 2 s; both must be over before the drift is measured, or they count as change.
sleep 14

kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the opening"
shot() { import -window root "$WORK/$1.png" 2>/dev/null; }
changed() { compare -metric AE -fuzz 10% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1; }

shot before
sleep 0.85  # as long as the flight below
shot drifted
xdotool keydown --window "$win" Left 2>/dev/null
sleep 0.8  # full stick after 0.45 s
# A beam is in flight for about a fifth of a second, and a screenshot on a busy machine can take
# longer than that: keep tapping the trigger so beams are in the air whenever the shot is taken.
(for _ in $(seq 20); do xdotool key --window "$win" ctrl 2>/dev/null; sleep 0.05; done) &
tapper=$!
sleep 0.05
shot flying
wait "$tapper"
xdotool keyup --window "$win" Left 2>/dev/null

drift=$(changed before drifted)
flight=$(changed drifted flying)
echo "pixels changed: $drift while drifting, $flight while flying"
((flight > 3 * drift / 2 + 2000)) || fail "holding Left and Ctrl hardly changed the picture"

key "$win" Escape
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS after Escape"
echo "ok"
