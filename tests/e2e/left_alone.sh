# Nobody touches the controls after Enter: fighter waves from 20 s on and the rocks wear the ship
# down, the last life ends the game, the picture fades out over five seconds and the program
# ends by itself with status 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
key "$win" Return
started=$SECONDS

# One picture a second while the game runs: how bright it is, and when.
brightest=0
last=""
while kill -0 "$GAME_PID" 2>/dev/null && ((SECONDS - started < 105)); do
    if import -window root "$WORK/now.png" 2>/dev/null; then
        level=$(convert "$WORK/now.png" -format "%[fx:int(mean*100000)]" info: 2>/dev/null)
        if [[ -n "$level" ]] && kill -0 "$GAME_PID" 2>/dev/null; then
            ((level > brightest)) && brightest=$level
            last=$level
        fi
    fi
    sleep 1
done
wait_game 10
lasted=$((SECONDS - started))
echo "ended by itself after ${lasted} s; brightest picture $brightest, last one $last"
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS (124: still running)"
((lasted > 25)) || fail "the game ended before the fighters could have come"
[[ -n "$last" ]] || fail "no picture taken"
# Within the last second before the end the fade has taken most of the light.
((last * 2 < brightest)) || fail "the picture had not faded out before the end"
echo "ok"
