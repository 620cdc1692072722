# Instant clicks and key taps (press and release sent together, as a touchpad tap does) work on
# the title and in the game: Options and its back button, Enter, Escape, Start and Quit.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
eventually 10 '(($(lit_pixels G) > 1000))' || fail "the title page is not shown"
sleep 0.3
main_page=$(screen_hash)
tap "$win" 290 300  # Options
eventually 5 '[[ $(screen_hash) != "$main_page" ]]' ||
    fail "a tap on Options did not open the options page"
tap "$win" 424 335  # the options page's back button
eventually 5 '[[ $(screen_hash) == "$main_page" ]]' ||
    fail "a tap on Back did not return to the main page"
tap_key "$win" Return
eventually 10 '(($(lit_pixels G) == 0))' || fail "a tap of Enter did not start the game"
tap_key "$win" Escape
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS after a tap of Escape"

start_game
win=$(wait_window Voxmere)
tap "$win" 380 300  # Start: the title fades out over a second
eventually 10 '(($(lit_pixels G) == 0))' || fail "a tap on Start did not start the game"
kill -KILL -- "-$GAME_PID"
wait_game 5

start_game
win=$(wait_window Voxmere)
tap "$win" 455 300  # Quit
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS after a tap on Quit"
echo "ok"
