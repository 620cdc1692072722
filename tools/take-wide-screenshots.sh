#!/usr/bin/env bash
# Takes the README's wide screenshots with the real game in desktop full screen under a
# private Xvfb: the title at 1280 x 720 and play at 1920 x 1080, drawn at the window's own
# size as on a GPU (VOXMERE_FRAME_PIXELS=0):
#   tools/take-wide-screenshots.sh build/voxmere build docs/screenshots
set -u
OUT=$(realpath "${3:-docs/screenshots}")
source "$(dirname "$0")/../scripts/lib/xvfb-game.sh" "$(realpath "$1")" "$(realpath "$2")"
export VOXMERE_FRAME_PIXELS=0

shoot_at() {  # shoot_at SIZE NAME SECONDS_OF_PLAY (none: the title)
    start_xvfb "$1x24"
    start_window_manager
    start_game --fullscreen desktop
    local win
    win=$(wait_window Voxmere)
    sleep 1
    if [[ -n ${3:-} ]]; then
        key "$win" Return
        sleep "$3"
    fi
    import -window root "$OUT/$2.png"
    kill -KILL -- "-$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
    kill "$WM_PID" "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    WM_PID="" XVFB_PID=""
}
shoot_at 1280x720 title-1280x720
shoot_at 1280x720 play-1280x720 13
shoot_at 1920x1080 play-1920x1080 13
