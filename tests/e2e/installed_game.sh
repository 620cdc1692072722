# cmake --install into a fresh prefix puts the game, its art and sound, the desktop entry and
# the icon in place; the installed game starts from any working directory, shows the icon on
# its window and quits with status 0. Without any data folder it names where it looked.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
prefix="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.log" 2>&1 || {
    cat "$WORK/install.log" >&2
    fail "cmake --install failed"
}
for file in bin/voxmere share/voxmere/Textures/Texture0.tex share/voxmere/Textures/Texture9.tex \
    share/voxmere/Sounds/LASER1.WAV share/voxmere/Sounds/Loop1.wav \
    share/applications/voxmere.desktop share/icons/hicolor/64x64/apps/voxmere.png \
    share/icons/hicolor/256x256/apps/voxmere.png share/man/man6/voxmere.6.gz; do
    [[ -f "$prefix/$file" ]] || fail "$file was not installed"
done
[[ -x "$prefix/bin/voxmere" ]] || fail "the installed game is not executable"
(($(ls "$prefix/share/voxmere/Textures" | wc -l) == 10)) || fail "not ten textures installed"
(($(ls "$prefix/share/voxmere/Sounds" | wc -l) == 12)) || fail "not twelve sounds installed"
grep -qx "Exec=voxmere" "$prefix/share/applications/voxmere.desktop" || fail "desktop entry Exec"
grep -qx "Icon=voxmere" "$prefix/share/applications/voxmere.desktop" || fail "desktop entry Icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/voxmere.desktop" || fail "invalid desktop entry"
fi
[[ $(identify -format '%wx%h' "$prefix/share/icons/hicolor/64x64/apps/voxmere.png") == 64x64 ]] ||
    fail "the icon is not 64 x 64"

start_xvfb 640x480x24
GAME="$prefix/bin/voxmere"
GAME_DIR="$WORK/elsewhere"
mkdir -p "$GAME_DIR"
open_game
eventually 10 '(($(lit_pixels G) > 1000))' || fail "the installed game does not show the title"
xprop -id "$win" _NET_WM_ICON | grep -q "Icon (64 x 64)" || fail "the window has no 64 x 64 icon"
tap "$win" 455 300  # Quit
ends_with 0 "the installed game" 10
grep -q "game data from" "$WORK/game.err" || fail "the data folder was not named"

# The executable alone, with no data anywhere near: the texture box, and every place looked at.
mkdir -p "$WORK/lonely"
cp "$prefix/bin/voxmere" "$WORK/lonely/"
GAME="$WORK/lonely/voxmere"
start_game
box=$(wait_window "Texture Loader Error")
key "$box" Return
ends_with 1 "no data" 10
grep -q "Can't find texture file" "$WORK/game.err" || fail "no texture error"
for place in "$GAME_DIR" "$WORK/lonely/" share/voxmere; do
    grep -qF "$place" "$WORK/game.err" || fail "where it looked does not name $place"
done
echo "ok"
