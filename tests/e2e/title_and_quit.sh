# The title screen and every way out, one game per case on one 640 x 480 screen: full screen is
# granted at 640 x 480; Start (held click or instant tap) fades the title out into the game,
# Enter (held or tapped) starts it at once; Options and its back button answer taps; Escape
# (held or tapped) and closing the window (on the title or in the game) end with status 0;
# Quit (held click or tap) ends with status 0 once the game's textures are loaded, so with
# one of them missing the same click ends in the texture error and status 1.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
start_xvfb 640x480x24

title_shown() { eventually 10 '(($(lit_pixels G) > 1000))' || fail "$1: the title page is not shown"; }
# The title's green is gone and the game's loop draws its first light (the picture fades in
# from black; input sent while it is still black can meet the switch from the title).
game_shown() {
    eventually 10 '(($(lit_pixels G) == 0))' || fail "$1: the title is still shown"
    eventually 10 '(($(import -window root -format "%[fx:maxima>0]" info: 2>/dev/null) == 1))' ||
        fail "$1: the game draws nothing"
    kill -0 "$GAME_PID" 2>/dev/null || fail "$1: the game ended by itself"
}

open_game
[[ $(window_size "$win") == 640x480 ]] || fail "window is $(window_size "$win")"
title_shown "close on the title"
key "$win" alt+F4
ends_with 0 "close on the title" 10

open_game
title_shown "options"
main_page=$(steady_hash)
tap "$win" 290 300  # Options
eventually 5 '[[ $(screen_hash) != "$main_page" ]]' || fail "a tap on Options did not open the options page"
tap "$win" 424 335  # the options page's back button
eventually 5 '[[ $(screen_hash) == "$main_page" ]]' || fail "a tap on Back did not return to the main page"
click "$win" 380 300  # Start: the title fades out over a second
game_shown "click on Start"
# The game's red and blue picture fades in over three seconds.
eventually 10 '(($(lit_pixels R) > 1000 && $(lit_pixels B) > 1000))' || fail "the game draws nothing"
key "$win" alt+F4
ends_with 0 "close in the game" 10

open_game
tap "$win" 380 300  # Start
game_shown "tap on Start"
key "$win" Escape
ends_with 0 "Escape held" 10

open_game
key "$win" Return
game_shown "Enter held"
tap_key "$win" Escape
ends_with 0 "Escape tapped" 10

open_game
tap_key "$win" Return
game_shown "Enter tapped"
key "$win" Escape
ends_with 0 "Escape after a tapped Enter" 10

open_game
click "$win" 455 300  # Quit
ends_with 0 "click on Quit" 10

open_game
tap "$win" 455 300
ends_with 0 "tap on Quit" 10

GAME_DIR="$WORK/game"
mkdir -p "$GAME_DIR/Textures"
ln -s "$BUILD_DIR/Sounds" "$GAME_DIR/Sounds"
for texture in "$BUILD_DIR"/Textures/*.tex; do
    [[ $(basename "$texture") == Texture0.tex ]] || ln -s "$texture" "$GAME_DIR/Textures/"
done
open_game
click "$win" 455 300
box=$(wait_window "Texture Loader Error")
key "$box" Return
ends_with 1 "Quit with a game texture missing" 10
grep -q "Can't find texture file :" "$WORK/game.err" || fail "no texture error on standard error"
echo "ok"
