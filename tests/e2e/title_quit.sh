# Quit on the title ends the program with status 0, after the switch has loaded the game's
# textures: with one game texture missing, the same click ends in the texture error instead.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
click "$win" 455 300
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "exit status $GAME_STATUS after quit"

GAME_DIR="$WORK/game"
mkdir -p "$GAME_DIR/Textures"
ln -s "$BUILD_DIR/Sounds" "$GAME_DIR/Sounds"
for texture in "$BUILD_DIR"/Textures/*.tex; do
    [[ $(basename "$texture") == Texture0.tex ]] || ln -s "$texture" "$GAME_DIR/Textures/"
done
start_game
win=$(wait_window Voxmere)
click "$win" 455 300
box=$(wait_window "Texture Loader Error")
key "$box" Return
wait_game 10
[[ "$GAME_STATUS" == 1 ]] || fail "exit status $GAME_STATUS with a game texture missing"
grep -q "Can't find texture file :" "$WORK/game.err" || fail "no texture error on standard error"
echo "ok"
