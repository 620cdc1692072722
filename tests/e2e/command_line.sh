# The command line: --help and --version print and succeed, a bad option gets the usage and
# status 2, and --windowed --glasses red-cyan plays in a 640 x 480 window with no mode switch
# (not even the refused-mode question), the right eye's picture in green and blue.
source "$(dirname "$0")/lib.sh"
"$GAME" --help >"$WORK/help.txt" 2>&1 || fail "--help exit status $?"
grep -q -- "--glasses red-cyan" "$WORK/help.txt" || fail "--help does not list --glasses"
"$GAME" --version >"$WORK/version.txt" || fail "--version exit status $?"
grep -q "^voxmere [0-9]" "$WORK/version.txt" || fail "--version printed: $(cat "$WORK/version.txt")"
"$GAME" --fullscreen >"$WORK/bad.out" 2>"$WORK/bad.err"
status=$?
[[ $status == 2 ]] || fail "unknown option: exit status $status"
[[ ! -s "$WORK/bad.out" ]] || fail "unknown option printed to standard output"
grep -q "Usage:" "$WORK/bad.err" || fail "no usage on standard error"

start_xvfb 800x600x24  # a screen that refuses 640 x 480 full screen
start_game --windowed --glasses red-cyan
win=$(wait_window Voxmere)
xwininfo -root -tree | grep -q '"OpenGL"' && fail "the refused-mode question was asked"
[[ $(window_size "$win") == 640x480 ]] || fail "window is $(window_size "$win")"
key "$win" Return
sleep 1.5
green=$(lit_pixels G)
((green > 1000)) || fail "red-cyan: only $green green pixels lit"
key "$win" Escape
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS"
grep -q "Use Windowed Mode" "$WORK/game.err" && fail "the refused-mode question was asked"
echo "ok"
