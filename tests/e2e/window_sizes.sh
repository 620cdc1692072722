# The window under a window manager: a --windowed game resized to 1280 x 720 starts from a
# click on Start where it is drawn (not where it sits at 640 x 480); Alt+Enter in play takes it
# to desktop full screen (1920 x 1080) with the picture filling the screen, and back; a replay
# of the run in a 640 x 480 window ends in the same state; the settings file's
# "fullscreen = desktop" opens desktop full screen.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
JOURNAL="$WORK/run.vxj"

# Pixels of the window's client area whose channel $2 (R, G or B) is above 40.
lit_in_window() {
    local geometry
    geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}')
    import -window root -crop "$geometry" +repage "$WORK/window.png" 2>/dev/null
    convert "$WORK/window.png" -channel "$2" -separate -threshold 16% \
        -format "%[fx:int(mean*w*h)]" info:
}
size_is() { [[ $(window_size "$1") == "$2" ]]; }
edges_lit() {
    import -window root "$WORK/full.png" 2>/dev/null
    local strip brightest
    for strip in 100x1080+0+0 100x1080+1820+0; do
        brightest=$(convert "$WORK/full.png" -crop "$strip" +repage -format "%[fx:int(maxima*255)]" info:)
        ((brightest > 40)) || return 1
    done
}

start_xvfb 1920x1080x24
start_window_manager
open_game --windowed --record "$JOURNAL"
xdotool windowsize "$win" 1280 720 2>/dev/null
eventually 5 'size_is "$win" 1280x720' || fail "resized to $(window_size "$win")"
sleep 0.5
click "$win" 382 301  # where Start sits at 640 x 480: beside the page at this size
sleep 0.5
(($(lit_in_window "$win" G) > 20000)) || fail "a click beside the page left the title"
click "$win" 733 452  # Start as drawn at 1280 x 720
eventually 8 '(($(lit_in_window "$win" G) == 0))' || fail "a click on Start did not start"

xdotool key --window "$win" alt+Return 2>/dev/null
eventually 5 'size_is "$win" 1920x1080' || fail "Alt+Enter gave $(window_size "$win")"
# The stars reach the screen's left and right edges once the opening has faded in: the view
# widens to 16:9, no bars.
eventually 15 'edges_lit' || fail "nothing drawn at the screen's left or right edge"
xdotool key --window "$win" alt+Return 2>/dev/null
eventually 5 'size_is "$win" 1280x720' || fail "Alt+Enter back gave $(window_size "$win")"
eventually 5 '(($(lit_in_window "$win" B) > 20000))' || fail "the game draws nothing after full screen"
key "$win" Escape
ends_with 0 "recording"
recorded=$(tail -n1 "$WORK/game.out")

start_game --windowed --replay "$JOURNAL"
wait_window Voxmere >/dev/null
ends_with 0 "replay" 60
replayed=$(tail -n1 "$WORK/game.out")
[[ "$replayed" == "$recorded" ]] || fail "replayed in another window: $replayed, recorded: $recorded"

# "fullscreen = desktop" in the settings file: desktop full screen with no flag and no question
# (this display cannot switch modes, so a mode switch would ask).
mkdir -p "$HOME/.config/voxmere"
echo "fullscreen = desktop" >"$HOME/.config/voxmere/settings"
open_game
eventually 5 'size_is "$win" 1920x1080' || fail "fullscreen = desktop gave $(window_size "$win")"
key "$win" alt+F4
ends_with 0 "desktop full screen"
echo "ok"
