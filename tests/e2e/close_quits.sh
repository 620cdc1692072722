# Closing the window (Alt+F4) ends the program with status 0, on the title and in the game.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
key "$win" alt+F4
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS after closing on the title"

start_game
win=$(wait_window Voxmere)
key "$win" Return
sleep 1
key "$win" alt+F4
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS after closing in the game"
echo "ok"
