# Starting the program: --help and --version print and succeed, a bad option gets the usage and
# status 2, without any display the game says so on standard error and exits with status 1, and
# --windowed --glasses red-cyan plays in a 640 x 480 window with no mode switch (not even the
# refused-mode question), the right eye's picture in green and blue.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
"$GAME" --help >"$WORK/help.txt" 2>&1 || fail "--help exit status $?"
grep -q -- "--glasses red-cyan" "$WORK/help.txt" || fail "--help does not list --glasses"
"$GAME" --version >"$WORK/version.txt" || fail "--version exit status $?"
grep -q "^voxmere [0-9]" "$WORK/version.txt" || fail "--version printed: $(cat "$WORK/version.txt")"
"$GAME" --fullscreen >"$WORK/bad.out" 2>"$WORK/bad.err"
status=$?
[[ $status == 2 ]] || fail "unknown option: exit status $status"
[[ ! -s "$WORK/bad.out" ]] || fail "unknown option printed to standard output"
grep -q "Usage:" "$WORK/bad.err" || fail "no usage on standard error"

unset DISPLAY WAYLAND_DISPLAY  # start_xvfb below sets its own
start_game
ends_with 1 "no display" 10
grep -q "no display" "$WORK/game.err" || fail "no display: no clear message on standard error"
grep -q "Failed To Register The Window Class." "$WORK/game.err" || fail "no display: box text missing"

start_xvfb 800x600x24  # a screen that refuses 640 x 480 full screen
open_game --windowed --glasses red-cyan
xwininfo -root -tree | grep -q '"OpenGL"' && fail "the refused-mode question was asked"
[[ $(window_size "$win") == 640x480 ]] || fail "window is $(window_size "$win")"
title=$(steady_hash)
key "$win" Return
# The game's picture replaces the title's green with its own, the right eye's, in green.
eventually 10 '[[ $(screen_hash) != "$title" ]] && (($(lit_pixels G) > 1000))' ||
    fail "red-cyan: only $(lit_pixels G) green pixels lit in the game"
key "$win" Escape
ends_with 0 "Escape in the window" 10
grep -q "Use Windowed Mode" "$WORK/game.err" && fail "the refused-mode question was asked"
echo "ok"
