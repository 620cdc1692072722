# Shared by the end-to-end tests and the scripts that drive the real game (screenshots, the
# performance table, random input, the package check): a private Xvfb, the game started in its
# own process group in the build folder (where Textures/ and Sounds/ live), and clean-up that
# leaves no orphaned game, message box or X server behind.
set -u
GAME=$1
BUILD_DIR=$2
WORK=$(mktemp -d)
# The game keeps best scores and settings in the player's folders: a run driven from here keeps
# its own in the scratch folder, never the real player's.
export HOME=$WORK/home
unset XDG_DATA_HOME XDG_CONFIG_HOME
XVFB_PID=""
GAME_PID=""
WM_PID=""

cleanup() {
    [[ -n "$GAME_PID" ]] && kill -KILL -- "-$GAME_PID" 2>/dev/null
    [[ -n "$WM_PID" ]] && kill "$WM_PID" 2>/dev/null
    [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -f "$WORK/game.err" ]] && sed 's/^/  game stderr: /' "$WORK/game.err" >&2
    exit 1
}

# Starts Xvfb on a free display with a screen of the given size (e.g. 640x480x24); key
# auto-repeat off so a held key is one key-down.
start_xvfb() {
    exec 9<> "$WORK/displayfd"
    Xvfb -displayfd 9 -screen 0 "$1" -r -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [[ -s "$WORK/displayfd" ]] && break
        sleep 0.05
    done
    [[ -s "$WORK/displayfd" ]] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$WORK/displayfd" | tr -d '[:space:]')"
}

# Starts the game in GAME_DIR (default: the build folder, which holds Textures/ and Sounds/),
# with the given command-line arguments.
start_game() {
    (cd "${GAME_DIR:-$BUILD_DIR}" && exec setsid "$GAME" "$@" >"$WORK/game.out" 2>"$WORK/game.err") &
    GAME_PID=$!
}

# Waits until a top-level window with this exact title is shown; prints its id. The game
# creates its window hidden and shows it once the GL context is made: input sent before that
# goes to the root window and is lost.
wait_window() {
    local title=$1 id=""
    for _ in $(seq 150); do
        id=$(xwininfo -root -tree 2>/dev/null | awk -v t="\"$title\":" 'index($0, t) {print $1; exit}')
        [[ -n "$id" ]] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && break
        id=""
        sleep 0.1
    done
    [[ -n "$id" ]] || fail "no window titled $title"
    # Input is read once the program runs its loop, which is when it first draws; a window that
    # stays black (a replay fading in) gets its input after the deadline all the same.
    eventually 3 '(($(import -window root -format "%[fx:maxima>0]" info: 2>/dev/null) == 1))' || true
    echo "$id"
}

# Waits for the game to end and sets GAME_STATUS to its exit status (124 on time-out). Not to
# be called in a subshell: only this shell can collect the game's status.
wait_game() {
    local seconds=${1:-15}
    GAME_STATUS=124
    for _ in $(seq $((seconds * 10))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID"
            GAME_STATUS=$?
            GAME_PID=""
            return
        fi
        sleep 0.1
    done
}

# Starts the game with these arguments and sets win to its window once it is shown.
open_game() {
    start_game "$@"
    win=$(wait_window Voxmere) || exit 1
}

# ends_with STATUS WHAT [SECONDS]: waits for the game to end (15 s unless given) and fails
# unless its exit status is STATUS (124: still running).
ends_with() {
    wait_game "${3:-15}"
    [[ "$GAME_STATUS" == "$1" ]] || fail "$2: exit status $GAME_STATUS"
}

# Presses a key for a few frames, as a player does (tap_key sends an instant tap instead).
# When the key closed the window, the release goes to the server so no key stays stuck down.
key() {
    xdotool keydown --window "$1" "$2" sleep 0.15 2>/dev/null
    xdotool keyup --window "$1" "$2" 2>/dev/null || xdotool keyup "$2" 2>/dev/null
}

window_size() { xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }

# A click that stays down for a few frames, as a player's does.
click() { xdotool mousemove --window "$1" "$2" "$3" mousedown 1 sleep 0.15 mouseup 1 2>/dev/null; }

# Instant input, as a touchpad tap or an input tool sends it: press and release at once.
tap() { xdotool mousemove --window "$1" "$2" "$3" click 1 2>/dev/null; }
tap_key() { xdotool key --window "$1" "$2" 2>/dev/null; }

# A fingerprint of what the screen shows.
screen_hash() { import -window root rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }

# Prints the screen's fingerprint once two in a row agree (the picture has settled).
steady_hash() {
    local last="" now
    for _ in $(seq 40); do
        now=$(screen_hash)
        [[ "$now" == "$last" ]] && break
        last=$now
    done
    echo "$now"
}

# Polls a command (a string for bash) for up to the given seconds; false if it never held.
# Scripts wait for what they need to see rather than for a fixed time: a slow build (or a busy
# machine) gets as long as it needs, a fast one goes on at once.
eventually() {
    local seconds=$1 condition=$2
    for _ in $(seq $((seconds * 4))); do
        eval "$condition" && return 0
        sleep 0.25
    done
    return 1
}

# Counts the screen's pixels whose channel (r, g or b) is above 40.
lit_pixels() {
    import -window root "$WORK/shot.png" 2>/dev/null
    convert "$WORK/shot.png" -channel "$1" -separate -threshold 16% -format "%[fx:int(mean*w*h)]" info:
}

# Starts a window manager on the private display, for what only a window manager does: desktop
# full screen and maximising. Other scripts run without one, as the game's first window must.
start_window_manager() {
    openbox --sm-disable >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    fail "the window manager did not start"
}
