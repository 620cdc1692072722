# Without any display the game says so on standard error and exits with status 1.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
start_game
wait_game 10
[[ "$GAME_STATUS" == 1 ]] || fail "exit status $GAME_STATUS, expected 1"
grep -q "no display" "$WORK/game.err" || fail "no clear message on standard error"
grep -q "Failed To Register The Window Class." "$WORK/game.err" || fail "box text missing"
echo "ok"
