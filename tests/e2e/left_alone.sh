# Nobody touches the controls after Enter: fighter waves from 20 s on and the rocks wear the ship
# down, the last life ends the game, the picture fades out over five seconds and the program
# ends by itself with status 0.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
start_xvfb 640x480x24
open_game
key "$win" Return
started=$SECONDS

# A picture three or four times a second while the game runs, how bright each is and when: more
# than a dozen in the five seconds of the fade.
brightest=0
: >"$WORK/levels"
while kill -0 "$GAME_PID" 2>/dev/null && ((SECONDS - started < 105)); do
    level=$(import -window root -format "%[fx:int(mean*100000)]" info: 2>/dev/null)
    if [[ -n "$level" ]] && kill -0 "$GAME_PID" 2>/dev/null; then
        ((level > brightest)) && brightest=$level
        echo "$(date +%s%N) $level" >>"$WORK/levels"
    fi
    sleep 0.2
done
wait_game 10
ended=$(date +%s%N)
lasted=$((SECONDS - started))
# The darkest picture of the last 3 s, when the fade has less than 60 % of its light left.
darkest=$(awk -v end="$ended" 'end - $1 < 3000000000 && (d == "" || $2 < d) {d = $2} END {print d}' \
    "$WORK/levels")
awk -v end="$ended" '{printf "%.1f s before the end: %d\n", (end - $1) / 1e9, $2}' "$WORK/levels" | tail -8
echo "ended by itself after ${lasted} s; brightest picture $brightest, darkest at the end ${darkest:-none}"
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS (124: still running)"
((lasted > 25)) || fail "the game ended before the fighters could have come"
[[ -n "$darkest" ]] || fail "no picture taken in the last seconds"
((darkest * 10 < brightest * 6)) || fail "the picture had not faded out before the end"
echo "ok"
