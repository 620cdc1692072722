# A mouse click on the start button (client pixels) fades the title out and starts the game: the
# page's green disappears and the anaglyph picture (red and blue only) fades in.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
sleep 0.5
(($(lit_pixels G) > 1000)) || fail "the title page is not shown"
click "$win" 380 300
sleep 4
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after start"
green=$(lit_pixels G)
((green == 0)) || fail "$green green pixels: the title is still shown"
(($(lit_pixels R) > 1000 && $(lit_pixels B) > 1000)) || fail "the game draws nothing"
key "$win" Escape
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS"
echo "ok"
