# Full screen 640 x 480 is granted on a 640 x 480 screen; Enter leaves the title, the game draws
# frames, and Escape ends it with status 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
[[ $(window_size "$win") == 640x480 ]] || fail "window is $(window_size "$win")"
key "$win" Return
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended by itself"
key "$win" Escape
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS after Escape"
echo "ok"
