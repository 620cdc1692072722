# The Windows game as a player gets it, under Wine on a private Xvfb, in one Wine prefix booted
# once for a user named Zoë: the zip unpacked into a folder with a space and a non-ASCII letter
# and started from another folder shows the square title page; a click on Start as drawn starts
# the game in red and blue with no green; a game with a score leaves the scores file in
# %APPDATA%\voxmere\; Escape ends with 0; --help prints; a missing texture gives the texture
# box's text and status 1; the sound reaches ALSA's default device (a file here) and is not
# silence. Then the installer: a silent install, the game from the shortcut's target, and an
# uninstaller that removes every installed file and leaves %APPDATA%\voxmere\ alone.
#   windows_e2e.sh BUILD_DIR (a Windows build with its zip and installer made)
WIN_BUILD=$1
source "$(dirname "$0")/../scripts/lib/xvfb-game.sh" wine "$WIN_BUILD"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_BUILD/CMakeCache.txt")
ZIP=$WIN_BUILD/voxmere-$version-win64.zip
SETUP=$WIN_BUILD/voxmere-$version-win64-setup.exe
[[ -f $ZIP && -f $SETUP ]] || fail "no zip and installer in $WIN_BUILD"

export WINEPREFIX=$WORK/prefix WINEDEBUG=-all USER=Zoë
# No desktop menu entries on this machine for what the installer adds; no Mono or Gecko
# installers asked for.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# ALSA's default device, as Wine opens it, is a file: what the game plays lands there.
SOUND=$WORK/sound.raw
mkdir -p "$HOME"
printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' "$SOUND" \
    >"$HOME/.asoundrc"
wineboot -i >/dev/null 2>&1 || fail "wineboot"
wineserver -w
APPDATA_DIR=$WINEPREFIX/drive_c/users/$USER/AppData/Roaming/voxmere

GAME_HOME="$WORK/Spiel Zoë"
mkdir -p "$GAME_HOME" "$WORK/elsewhere"
unzip -q "$ZIP" -d "$GAME_HOME" || fail "unzip"
GAME="$GAME_HOME/voxmere.exe"
export GAME_DIR=$WORK/elsewhere
# lib.sh starts "$GAME"; Wine starts it here.
start_game() {
    (cd "$GAME_DIR" && exec setsid wine "$GAME" "$@" >"$WORK/game.out" 2>"$WORK/game.err") &
    GAME_PID=$!
}

start_xvfb 640x480x24

wine "$GAME" --help >"$WORK/help.txt" 2>&1
grep -q "^Usage: voxmere" "$WORK/help.txt" || fail "--help printed: $(cat "$WORK/help.txt")"

# The title: the lit part of the screen is the square page.
open_game --windowed --record "$WORK/run.vxj"
eventually 15 '(($(lit_pixels G) > 1000))' || fail "the title page is not shown"
sleep 1
import -window root "$WORK/title.png" 2>/dev/null
read -r w h < <(convert "$WORK/title.png" -fuzz 5% -trim -format "%w %h" info:)
((w > 300 && w - h < 8 && h - w < 8)) || fail "the lit title is ${w} x ${h}, not square"

# Start as drawn; the game is red and blue with no green.
click "$win" 380 300
eventually 10 '(($(lit_pixels G) == 0))' || fail "a click on Start left the title shown"
eventually 10 '(($(lit_pixels R) > 1000 && $(lit_pixels B) > 1000))' || fail "the game draws nothing"
(($(lit_pixels G) == 0)) || fail "the game's frames hold green"

# Fire until the controls are alive and a rock breaks up; Escape ends the game with its score.
sleep 9
for _ in $(seq 40); do
    xdotool key --window "$win" ctrl space 2>/dev/null
    sleep 0.25
done
key "$win" Escape
ends_with 0 "Escape" 20
score=$(grep -oE 'score=[0-9]+' "$WORK/game.out" | cut -d= -f2)
[[ -n $score && $score -gt 0 ]] || fail "no score after ten seconds of firing: $(cat "$WORK/game.out")"
[[ -f $APPDATA_DIR/scores ]] || fail "no scores file in %APPDATA%\\voxmere\\"
grep -q "^$score " "$APPDATA_DIR/scores" || fail "the scores file lacks $score: $(cat "$APPDATA_DIR/scores")"
[[ -s $SOUND ]] || fail "no sound reached ALSA's device"
(($(tr -d "\\0" <"$SOUND" | wc -c) > 10000)) || fail "the sound is silence: $(stat -c %s "$SOUND") bytes, $(tr -d "\\0" <"$SOUND" | wc -c) not zero"

# A missing texture of the game (loaded as the title ends): its box, its text on standard
# error, status 1.
mv "$GAME_HOME/Textures/Texture3.tex" "$WORK/"
open_game --windowed
key "$win" Return
box=$(wait_window "Texture Loader Error") || exit 1
xdotool key --window "$box" Return 2>/dev/null
ends_with 1 "a missing texture" 20
grep -q "Can't find texture file" "$WORK/game.err" || fail "no texture error text"
mv "$WORK/Texture3.tex" "$GAME_HOME/Textures/"

# The installer, silently; the game from the Start-menu shortcut's target.
wine "$SETUP" /S || fail "the silent install"
wineserver -w
INSTALLED=$WINEPREFIX/drive_c/Program\ Files/Voxmere
LINK=$(find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu" -iname 'Voxmere.lnk' | head -n 1)
[[ -n $LINK ]] || fail "no Start-menu shortcut"
strings "$LINK" | grep -qi 'Voxmere\\voxmere.exe' || fail "the shortcut does not start voxmere.exe"
for file in voxmere.exe SDL2.dll README.txt LICENSE.txt Textures/Texture0.tex Sounds/Loop0.wav; do
    [[ -f "$INSTALLED/$file" ]] || fail "the installer did not install $file"
done
GAME="C:\\Program Files\\Voxmere\\voxmere.exe"
open_game --windowed
key "$win" Return
sleep 1
key "$win" Escape
ends_with 0 "the installed game's Escape" 20
wine "$INSTALLED/Uninstall.exe" /S
wineserver -w
eventually 20 '[[ ! -e "$INSTALLED" ]]' || fail "left installed: $(cd "$INSTALLED" && find . -type f)"
[[ -f $APPDATA_DIR/scores ]] || fail "the uninstaller removed %APPDATA%\\voxmere\\"
echo "ok: zip and installer under Wine; score $score kept in %APPDATA%"
