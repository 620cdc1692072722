# A screen that cannot switch to 640 x 480 gets the Yes/No box. Yes: a 640 x 480 window that
# plays. No: "Program Will Now Close." and status 1, with no game window shown.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
start_xvfb 800x600x24
start_game
box=$(wait_window OpenGL)
key "$box" Return  # Yes is the default button
win=$(wait_window Voxmere)
[[ $(window_size "$win") == 640x480 ]] || fail "windowed client area is $(window_size "$win")"
key "$win" Return
eventually 10 '(($(lit_pixels G) == 0))' || fail "Enter did not start the game in the window"
key "$win" Escape
ends_with 0 "windowed mode" 10
grep -q "Use Windowed Mode Instead?" "$WORK/game.err" || fail "question not on standard error"

start_game
box=$(wait_window OpenGL)
key "$box" Escape  # No
box=$(wait_window ERROR)
xwininfo -root -tree | grep -q '"Voxmere"' && fail "a game window was shown after No"
key "$box" Return
ends_with 1 "No" 10
grep -q "Program Will Now Close." "$WORK/game.err" || fail "closing text missing"
echo "ok"
