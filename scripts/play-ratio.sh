#!/usr/bin/env bash
# Frames per processor-second in real play, the game against Chromium B.S.U. (Debian's
# chromium-bsu, the genre's shooter on the same SDL2 and OpenGL), on one private 640 x 480 Xvfb:
#   scripts/play-ratio.sh [GAME ...]
# GAME is a game binary beside its Textures/ and Sounds/ (default build/voxmere); several are
# measured in turns with the peer, so a shared machine's drift falls on all alike. Each run:
# Enter, the opening (11 s), then PLAY_SECONDS (10) of the first wave steering left and right
# with both triggers tapped; chromium-bsu gets Enter on its menu and the same keys. Frames are
# its buffer swaps (bench/play/swap_counter.c preloaded), processor seconds the process's user
# plus system time from /proc/<pid>/stat, all threads, over the same span. The game also
# records a journal, whose clock gives the frame times (median and p99). VOXMERE_PLAY_RUNS (3)
# rounds; PLAY_SCREEN (640x480) the Xvfb screen, PLAY_ARGS the game's options (say
# "--fullscreen desktop" on a larger screen), PLAY_NO_PEER=1 leaves the peer out; prints every
# run and the medians; PLAY_SHOTS=FOLDER keeps a screenshot of each run's end. Environment such
# as LP_NUM_THREADS passes through.
# A GAME ending in .exe is the Windows build (beside its Textures\ and Sounds\), run under Wine
# in a prefix of its own. Wine's GL calls cannot be counted from outside, so its frames are the
# journal's over the span (from the first steering key to the last); its processor time is the
# game's process plus, reported beside it, the wineserver's.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/perf-table-lib.sh"
games=("$@")
((${#games[@]})) || games=("$root/build/voxmere")
for i in "${!games[@]}"; do games[i]=$(realpath "${games[i]}"); done
runs=${VOXMERE_PLAY_RUNS:-3}
play_seconds=${PLAY_SECONDS:-10}
peer=$(command -v chromium-bsu || echo /usr/games/chromium-bsu)
[[ -x $peer ]] || { echo "play-ratio.sh: chromium-bsu is not installed" >&2; exit 1; }
source "$root/scripts/lib/xvfb-game.sh" "${games[0]}" "$(dirname "${games[0]}")"
counter=$WORK/swap_counter.so
cc -O2 -shared -fPIC -o "$counter" "$root/bench/play/swap_counter.c" -ldl || exit 1

windows_games=0
for game in "${games[@]}"; do [[ $game == *.exe ]] && windows_games=1; done
if ((windows_games)); then
    export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    mkdir -p "$HOME"
    wineboot -i >/dev/null 2>&1 || { echo "play-ratio.sh: wineboot failed" >&2; exit 1; }
    wineserver -p  # stays up between runs, so every run is measured the same way
fi
# The frames of a journal from the first frame that carries input after SKIP ms to the last one
# that carries any: the span measure_play steers through.
journal_span_frames() {
    journal_frames "$1" | awk -v skip="$2" '
        NR == 1 { first = $1 }
        $2 > 0 && $1 - first >= skip { if (!start) start = NR; end = NR }
        END { print end - start }'
}

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null; }
swaps() { od -An -tu8 "$WORK/swaps" 2>/dev/null | tr -d ' '; }
# Steers left and right and taps Ctrl and Space for the span while counting; prints
# "frames cpu_seconds frames_per_second span_seconds".
measure_play() {
    local pid=$1 win=$2 f0 c0 f1 c1 t0=$EPOCHREALTIME
    f0=$(swaps) c0=$(cpu_ticks "$pid")
    local t
    for ((t = 0; t < play_seconds; ++t)); do
        local key=Left
        ((t % 2)) && key=Right
        xdotool keydown --window "$win" "$key" 2>/dev/null
        xdotool key --window "$win" --delay 60 --repeat 8 ctrl space 2>/dev/null
        xdotool keyup --window "$win" "$key" 2>/dev/null
    done
    f1=$(swaps) c1=$(cpu_ticks "$pid")
    awk -v f=$((f1 - f0)) -v c=$((c1 - c0)) -v hz="$ticks" -v t0="$t0" -v t1="$EPOCHREALTIME" \
        'BEGIN { printf "%d %.2f %.1f %.3f\n", f, c / hz, f / (t1 - t0), t1 - t0 }'
}
stop() {
    kill -KILL -- "-$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}

start_xvfb "${PLAY_SCREEN:-640x480}x24"
for ((run = 1; run <= runs; ++run)); do
    for game in "${games[@]}"; do
        rm -f "$WORK/swaps" "$WORK/play.vxj"
        if [[ $game == *.exe ]]; then
            (cd "$(dirname "$game")" &&
                exec setsid wine "$game" ${PLAY_ARGS:-} --record "$WORK/play.vxj" >/dev/null 2>"$WORK/game.err") &
        else
            (cd "$(dirname "$game")" && SWAP_COUNT_FILE=$WORK/swaps LD_PRELOAD=$counter \
                exec setsid "$game" ${PLAY_ARGS:-} --record "$WORK/play.vxj" >/dev/null 2>"$WORK/game.err") &
        fi
        GAME_PID=$!
        win=$(wait_window Voxmere)
        pid=$GAME_PID
        [[ $game == *.exe ]] && pid=$(pgrep -n -f 'voxmere\.exe')
        server=$(pgrep -n wineserver)
        s0=$([[ -n $server ]] && cpu_ticks "$server")
        xdotool key --window "$win" Return 2>/dev/null
        sleep 11
        read -r frames cpu fps span < <(measure_play "$pid" "$win")
        s1=$([[ -n $server ]] && cpu_ticks "$server")
        [[ -n ${PLAY_SHOTS:-} ]] && import -window root "$PLAY_SHOTS/game-$run.png"
        # Escape, so that the journal is written out whole.
        xdotool key --window "$win" Escape 2>/dev/null
        sleep 2
        stop
        span_frames=$(journal_span_frames "$WORK/play.vxj" 5000)
        server_note=""
        if [[ $game == *.exe ]]; then
            fps=$(awk -v f="$span_frames" -v t="$span" 'BEGIN { printf "%.1f", f / t }')
            frames=$span_frames
            [[ -n $server ]] && server_note=" (wineserver $(awk -v d=$((s1 - s0)) -v hz="$ticks" 'BEGIN { printf "%.2f", d / hz }') s more)"
        fi
        journal_frame_gaps "$WORK/play.vxj" 11000 >"$WORK/gaps.txt" 2>/dev/null
        echo "$game run $run: $frames frames (journal: $span_frames) / $cpu s CPU$server_note = $(ratio "$frames" "$cpu") frames per CPU-second, $fps fps;" \
            "frame median $(median <"$WORK/gaps.txt") ms, p99 $(percentile 99 <"$WORK/gaps.txt") ms"
        echo "$game $(ratio "$frames" "$cpu") $(percentile 99 <"$WORK/gaps.txt") $fps" >>"$WORK/results"
    done
    [[ -n ${PLAY_NO_PEER:-} ]] && continue
    rm -f "$WORK/swaps"
    (mkdir -p "$HOME" && cd "$WORK" && SWAP_COUNT_FILE=$WORK/swaps LD_PRELOAD=$counter \
        exec setsid "$peer" -w -v 1 -na >/dev/null 2>"$WORK/peer.err") &
    GAME_PID=$!
    win=$(wait_window "Chromium B.S.U.")
    sleep 3
    xdotool key --window "$win" Return 2>/dev/null
    sleep 3
    read -r frames cpu fps span < <(measure_play "$GAME_PID" "$win")
    [[ -n ${PLAY_SHOTS:-} ]] && import -window root "$PLAY_SHOTS/peer-$run.png"
    stop
    echo "chromium-bsu run $run: $frames frames / $cpu s CPU = $(ratio "$frames" "$cpu") frames per CPU-second"
    echo "chromium-bsu $(ratio "$frames" "$cpu") -" >>"$WORK/results"
done
echo
for name in "${games[@]}" chromium-bsu; do
    fps=$(awk -v n="$name" '$1 == n { print $2 }' "$WORK/results" | median)
    p99=$(awk -v n="$name" '$1 == n && $3 != "-" { print $3 }' "$WORK/results" | median)
    rate=$(awk -v n="$name" '$1 == n && $4 != "" { print $4 }' "$WORK/results" | median)
    [[ -n $fps ]] && echo "median $name: $fps frames per CPU-second${p99:+, p99 frame $p99 ms}${rate:+, $rate fps}"
done
peer_fps=$(awk '$1 == "chromium-bsu" { print $2 }' "$WORK/results" | median)
[[ -n ${PLAY_NO_PEER:-} ]] && exit 0
for game in "${games[@]}"; do
    fps=$(awk -v n="$game" '$1 == n { print $2 }' "$WORK/results" | median)
    echo "ratio $game / chromium-bsu: $(ratio "$fps" "$peer_fps")x"
done
