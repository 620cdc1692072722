#!/usr/bin/env bash
# The performance table: scripts/perf-table.sh [--write]
# Prints docs/performance.md as it should read now; --write also writes it there.
# Builds the Release build (build/, or build-perf/ when build/ is configured otherwise), then
# measures in one run and prints one Markdown table, each figure beside its aim:
#   - one game update at full load (benchmark BM_UpdateGameFullLoad);
#   - one stereo frame on Mesa's llvmpipe at 640 x 480, median and 99th percentile of single
#     frames, for the empty scene, the opening and full load (BM_RenderStereoFrame*, each run
#     as many one-frame repetitions);
#   - the same frame as the game shows it in windows of 640 x 480, 1280 x 720 and 1920 x 1080,
#     opening, flight and full load (BM_ShownFrame*: on llvmpipe drawn at no more pixels than
#     640 x 480 and enlarged), and 1920 x 1080 drawn at full size for comparison;
#   - what each kind of draw's pixels cost at 640 x 480: the same frames with that kind left
#     unshaded (VOXMERE_BENCH_UNSHADED, bench/gl_count.h), subtracted from the whole;
#   - the real game under a private Xvfb: launch to the first title frame beside the minimal
#     SDL2 program that shows the same window, and Enter to the first game frame, read from the
#     game's frame log (VOXMERE_FRAME_LOG);
#   - the game's resident memory after 20 s of play with keys held and both triggers;
#   - the frame rate of 20 s of such play in desktop full screen on a 1920 x 1080 Xvfb, from
#     the clock readings of the run's journal (--record), after the opening;
#   - frames per processor-second in 640 x 480 play against Chromium B.S.U. and the play's
#     p99 frame (scripts/play-ratio.sh, VOXMERE_PERF_RATIO_RUNS rounds, 1 unless given);
#   - the asset generator's run time.
# The commit measured and the machine go above the table. Raw outputs stay in
# <build>/perf-table/.
# VOXMERE_PERF_RUNS (5) start-up runs of each program, VOXMERE_PERF_FRAMES (300) frames per
# scene, VOXMERE_PERF_SIZED_FRAMES (100) frames per scene and window size,
# VOXMERE_PERF_PLAY_SECONDS (20) seconds of play before memory is read, and at 1920 x 1080.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/perf-table-lib.sh"
document=docs/performance.md
write=0
case ${1:-} in
    "") ;;
    --write) write=1 ;;
    *) echo "usage: $0 [--write]   (--write: also write $document)" >&2; exit 2 ;;
esac
# Taken before anything is measured or written.
commit=$(commit_stamp "$root" "$document")
runs=${VOXMERE_PERF_RUNS:-5}
frames=${VOXMERE_PERF_FRAMES:-300}
sized_frames=${VOXMERE_PERF_SIZED_FRAMES:-100}
play_seconds=${VOXMERE_PERF_PLAY_SECONDS:-20}

build=${VOXMERE_BUILD_DIR:-$root/build}
build_type() { sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$1/CMakeCache.txt" 2>/dev/null; }
if [[ -f $build/CMakeCache.txt && $(build_type "$build") != Release ]]; then
    echo "$build is a $(build_type "$build") build; measuring in $root/build-perf" >&2
    build=$root/build-perf
fi
if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
fi
echo "building $build ..." >&2
cmake --build "$build" -j"$(nproc)" --target voxmere voxmere_bench voxmere_minimal_window \
    voxmere_exec_stamped voxmere-assets >/dev/null || exit 1

game=$build/voxmere
bench=$build/bench/voxmere_bench
minimal=$build/bench/startup/voxmere_minimal_window
stamper=$build/bench/startup/voxmere_exec_stamped
assetgen=$build/tools/voxmere-assets
out=$build/perf-table
rm -rf "$out" && mkdir -p "$out"

# The private Xvfb and the clean-up of the e2e scripts (start_xvfb, fail, WORK, GAME_PID).
source "$root/scripts/lib/xvfb-game.sh" "$game" "$build"
mkfifo "$WORK/tick"
exec 8<>"$WORK/tick"
nap() { read -r -t "$1" -u 8 || true; }  # sleeps without starting a process

# --- Benchmarks on the offscreen llvmpipe context --------------------------------------------
run_bench() {
    (cd "$build" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null "$bench" \
        --benchmark_format=csv "$@" 2>>"$out/bench.err")
}
echo "benchmarks ..." >&2
run_bench --benchmark_filter='^BM_UpdateGameFullLoad(/|$)' --benchmark_repetitions=5 \
    >"$out/update.csv"
# A minimum time far below one frame makes every repetition a single timed frame. The first
# of each scene, which also compiles Mesa's shaders for it, is left out.
run_bench --benchmark_filter='^BM_RenderStereoFrame(EmptyScene|Opening|FullLoad)(/|$)' \
    --benchmark_min_time=0.000001 --benchmark_repetitions=$((frames + 1)) >"$out/frames.csv"

run_bench --benchmark_filter='^BM_ShownFrame(Opening|Flight|FullLoad)/' \
    --benchmark_min_time=0.000001 --benchmark_repetitions=$((sized_frames + 1)) >"$out/sized.csv"
# Each kind of draw left unshaded in turn, each right after the whole frame, so that the
# machine's drift falls on both; the least of five runs of many frames, since other work on the
# machine only ever adds processor time.
kinds=(backdrop rocks sprites shots fighters hud shield meshes debris)
for kind in "${kinds[@]}"; do
    for unshaded in none "$kind"; do
        (export VOXMERE_BENCH_UNSHADED=$unshaded
            run_bench --benchmark_filter='^BM_ShownFrame(Opening|Flight|FullLoad)/640/480/0/' \
                --benchmark_min_time=0.3 --benchmark_repetitions=5 \
                >"$out/unshaded-$kind-$unshaded.csv")
    done
done

update_us=$(bench_times_ms "$out/update.csv" BM_UpdateGameFullLoad | median |
    awk '{printf "%.2f", $1 * 1000}')
frame_stat() { bench_times_ms "$out/frames.csv" "BM_RenderStereoFrame$1" | tail -n +2 | "${@:2}"; }
two_places() { awk '{printf "%.2f", $1}'; }
for scene in EmptyScene Opening FullLoad; do
    declare "median_$scene=$(frame_stat "$scene" median | two_places)"
    declare "p99_$scene=$(frame_stat "$scene" percentile 99 | two_places)"
    declare "count_$scene=$(frame_stat "$scene" wc -l)"
done

# The shown frame in a window: "median / p99" of one scene and window ($1 Opening, Flight or FullLoad,
# $2 "W/H/0" as the game draws it or "W/H/1" at full size).
sized_stat() {
    local times
    times=$(bench_times_ms "$out/sized.csv" "BM_ShownFrame$1/$2" | tail -n +2)
    printf '%s / %s' "$(median <<<"$times" | two_places)" "$(percentile 99 <<<"$times" | two_places)"
}
sized_fps() { fps_of_ms "$(bench_times_ms "$out/sized.csv" "BM_ShownFrame$1/$2" | tail -n +2 | median)"; }
# A counter of one scene and window ($3: drawn_width, drawn_height, all_threads_ms), one a run.
sized_counter() {
    awk -F, -v want="BM_ShownFrame$1/$2" -v counter="$3" '
        NR == 1 { for (i = 1; i <= NF; ++i) { gsub(/"/, "", $i); col[$i] = i }; next }
        { name = $col["name"]; gsub(/"/, "", name) }
        index(name, want "/") == 1 && $col[counter] != "" { print $col[counter] }' "$out/sized.csv"
}
drawn_size() { printf '%d x %d' "$(sized_counter "$1" "$2" drawn_width | head -n1)" \
    "$(sized_counter "$1" "$2" drawn_height | head -n1)"; }
# Processor time of every thread, median: comparable when other work inflates the wall clock.
sized_cpu() { sized_counter "$1" "$2" all_threads_ms | tail -n +2 | median | two_places; }
# What the pixels of each kind of draw in scene $1 cost at 640 x 480: the frame's processor time
# less that of the frame with the kind unshaded, "backdrop 7.4, rocks 3.4, hud <1", the kinds that
# shade no pixel in the scene left out. Prints the whole frame's time first.
unshaded_cpu() {
    awk -F, -v want="BM_ShownFrame$1/640/480/0/real_time" '
        NR == 1 { for (i = 1; i <= NF; ++i) { gsub(/"/, "", $i); col[$i] = i }; next }
        { name = $col["name"]; gsub(/"/, "", name) }
        name == want && (least == "" || $col["all_threads_ms"] < least) { least = $col["all_threads_ms"] }
        END { print least }' "$out/unshaded-$2.csv"
}
# The whole frame: the least over the runs beside each kind's.
whole_cpu() {
    local kind
    for kind in "${kinds[@]}"; do unshaded_cpu "$1" "$kind-none"; done | sort -n | head -n1 | two_places
}
kind_costs() {
    local whole kind pixels costs=""
    whole=$(whole_cpu "$1")
    for kind in "${kinds[@]}"; do
        pixels=$(for eye in left right both; do sized_counter "$1" 640/480/0 "${eye}_$kind" | head -n1; done |
            awk '{ s += $1 } END { print s + 0 }')
        ((pixels > 0)) || continue
        costs+="${costs:+, }$kind $(awk -v a="$(unshaded_cpu "$1" "$kind-none")" \
            -v b="$(unshaded_cpu "$1" "$kind-$kind")" 'BEGIN { d = a - b; if (d < 1) print "<1"; else printf "%.1f", d }')"
    done
    printf '%s ms: %s' "$whole" "$costs"
}

# --- The real binary under Xvfb ----------------------------------------------------------------
# Starts a program in its own process group in the build folder, its launch stamped in $1.
launch() {
    local log=$1
    shift
    rm -f "$log"
    (cd "$build" && VOXMERE_FRAME_LOG=$log exec setsid "$stamper" "$@" \
        >>"$out/runs.out" 2>>"$out/runs.err") &
    GAME_PID=$!
}
# Waits up to $3 seconds for the line named $2 in the frame log $1.
wait_mark() {
    local name rest i
    for ((i = 0; i < $3 * 50; ++i)); do
        if [[ -f $1 ]]; then
            while read -r name rest; do [[ $name == "$2" ]] && return 0; done <"$1"
        fi
        nap 0.02
    done
    return 1
}
stop_game() {
    [[ -n $GAME_PID ]] && kill -KILL -- "-$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}
game_window() { xdotool search --name '^Voxmere$' 2>/dev/null | head -n1; }
# One run of the minimal program; prints launch to its swap in ms.
minimal_run() {
    launch "$WORK/minimal.log" "$minimal"
    wait "$GAME_PID"
    GAME_PID=""
    log_interval_ms "$WORK/minimal.log" launch title-frame
}
# One run of the game to its first title frame, then Enter; appends both intervals.
game_run() {
    launch "$WORK/game.log" "$game"
    if wait_mark "$WORK/game.log" title-frame 30; then
        xdotool key --window "$(game_window)" Return 2>/dev/null
        wait_mark "$WORK/game.log" game-frame 30
    fi
    stop_game
    log_interval_ms "$WORK/game.log" launch title-frame >>"$out/game-title.txt"
    log_interval_ms "$WORK/game.log" start game-frame >>"$out/game-switch.txt"
    cat "$WORK/game.log" >>"$out/game-logs.txt"
}

echo "start-up under Xvfb ..." >&2
start_xvfb 640x480x24
renderer=$("$minimal" --renderer 2>/dev/null | paste -sd ';' | sed 's/;/, /')
minimal_run >/dev/null  # warm-up: libraries into the page cache
game_run
: >"$out/game-title.txt" && : >"$out/game-switch.txt"
for ((run = 0; run < runs; ++run)); do
    minimal_run >>"$out/minimal-title.txt"
    game_run
done
whole() { awk '{printf "%.0f", $1}'; }
minimal_ms=$(median <"$out/minimal-title.txt" | whole)
game_title_ms=$(median <"$out/game-title.txt" | whole)
switch_ms=$(median <"$out/game-switch.txt" | whole)

echo "memory in $play_seconds s of play ..." >&2
launch "$WORK/play.log" "$game"
hwm_mb="" rss_mb=""
if wait_mark "$WORK/play.log" title-frame 30; then
    win=$(game_window)
    xdotool key --window "$win" Return 2>/dev/null
    wait_mark "$WORK/play.log" game-frame 30
    nap 11  # the opening: the controls come alive at about ten and a half seconds
    directions=(Left Up Right Down)
    for ((s = 0; s < play_seconds; ++s)); do
        key=${directions[s % 4]}
        xdotool keydown --window "$win" "$key" keydown --window "$win" ctrl 2>/dev/null
        xdotool key --window "$win" space 2>/dev/null
        nap 1
        xdotool keyup --window "$win" "$key" keyup --window "$win" ctrl 2>/dev/null
    done
    if cp "/proc/$GAME_PID/status" "$out/play-status.txt" 2>/dev/null; then
        hwm_mb=$(status_mb "$out/play-status.txt" VmHWM)
        rss_mb=$(status_mb "$out/play-status.txt" VmRSS)
    else
        echo "the game ended during play; see $out/runs.err" >&2
    fi
fi
stop_game

# --- Play at 1920 x 1080 -------------------------------------------------------------------------
echo "$play_seconds s of play at 1920 x 1080 ..." >&2
kill "$XVFB_PID" 2>/dev/null
wait "$XVFB_PID" 2>/dev/null
: >"$WORK/displayfd"
start_xvfb 1920x1080x24
launch "$WORK/wide.log" "$game" --fullscreen desktop --record "$WORK/wide.vxj"
if wait_mark "$WORK/wide.log" title-frame 30; then
    win=$(game_window)
    xdotool key --window "$win" Return 2>/dev/null
    wait_mark "$WORK/wide.log" game-frame 30
    nap 11
    xdotool keydown --window "$win" Left 2>/dev/null
    # One process taps both triggers throughout: a process for every tap would take a share of
    # the processors the game is measured on.
    xdotool key --window "$win" --delay 80 --repeat $((play_seconds * 6)) ctrl space 2>/dev/null
    xdotool keyup --window "$win" Left 2>/dev/null
fi
stop_game
journal_frame_gaps "$WORK/wide.vxj" 11000 >"$out/wide-gaps.txt" 2>/dev/null
wide_fps=$(awk '{ms += $1} END { if (ms > 0) printf "%.1f\n", NR * 1000 / ms }' "$out/wide-gaps.txt")
wide_p95=$(percentile 95 <"$out/wide-gaps.txt")

# --- Play against the peer ------------------------------------------------------------------------
echo "play against chromium-bsu ..." >&2
VOXMERE_PLAY_RUNS=${VOXMERE_PERF_RATIO_RUNS:-1} ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy \
    "$root/scripts/play-ratio.sh" "$game" >"$out/play-ratio.txt" 2>>"$out/runs.err"
game_rate=$(sed -n "s|^median $game: \([0-9.]*\) frames.*|\1|p" "$out/play-ratio.txt")
game_p99=$(sed -n "s|^median $game: .*p99 frame \([0-9.]*\) ms.*|\1|p" "$out/play-ratio.txt")
peer_rate=$(sed -n 's|^median chromium-bsu: \([0-9.]*\) frames.*|\1|p' "$out/play-ratio.txt")
play_ratio=$(ratio "$game_rate" "$peer_rate")

# --- The asset generator ------------------------------------------------------------------------
echo "asset generator ..." >&2
for _ in 1 2 3; do
    rm -rf "$WORK/assets" && mkdir "$WORK/assets"
    start=$EPOCHREALTIME
    "$assetgen" "$WORK/assets" >/dev/null 2>>"$out/assets.err"
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.3f\n", b - a}' >>"$out/assets.txt"
done
assets_s=$(median <"$out/assets.txt" | two_places)

# --- The table ------------------------------------------------------------------------------------
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
full_ratio=$(ratio "$median_FullLoad" "$median_EmptyScene")
full_fps=$(fps_of_ms "$median_FullLoad")
title_limit=$(awk -v m="$minimal_ms" 'BEGIN { if (m != "") printf "%.0f", m * 1.1 }')
title_ratio=$(ratio "$game_title_ms" "$minimal_ms")
# A frame row up to its aim: scene, median, p99, frames, anything after the times.
frame_row() {
    printf '| Stereo frame, %s: median / p99 of %s frames | %s / %s ms%s |' "$1" "$4" "$2" "$3" "${5:-}"
}

# A scene's name in the table: opening, flight, full load.
scene_name() { [[ $1 == FullLoad ]] && echo "full load" || echo "${1,,}"; }

table() {
echo "| What | Measured | Aim | |"
echo "|---|---|---|---|"
echo "| \`updateGame\` at full load (median of 5 runs) | $update_us µs | ≤ 10 µs | $(verdict "$update_us" "<=" 10) |"
echo "$(frame_row empty "$median_EmptyScene" "$p99_EmptyScene" "$count_EmptyScene") - | |"
echo "$(frame_row opening "$median_Opening" "$p99_Opening" "$count_Opening") - | |"
echo "$(frame_row "full load" "$median_FullLoad" "$p99_FullLoad" "$count_FullLoad" " ($full_fps fps)") ≥ 150 fps | $(verdict "$full_fps" ">=" 150) |"
for window in 640/480/0 1280/720/0 1920/1080/0 1920/1080/1; do
    IFS=/ read -r w h full <<<"$window"
    how="drawn at $(drawn_size Opening "$window")"
    ((full)) && how="drawn at full size"
    aim="-" mark=""
    if [[ $window == 1920/1080/0 ]]; then
        aim="≥ 60 fps (opening, flight)"
        mark=$(verdict "$(sized_fps Opening "$window")" ">=" 60)
        [[ $(verdict "$(sized_fps Flight "$window")" ">=" 60) == pass ]] || mark=miss
    fi
    scenes=""
    for scene in Opening Flight FullLoad; do
        name=$(scene_name "$scene")
        scenes+="${scenes:+, }$name $(sized_stat "$scene" "$window") ms ($(sized_fps "$scene" "$window") fps; all threads $(sized_cpu "$scene" "$window") ms)"
    done
    echo "| Shown frame, $w x $h window $how: median / p99 of $sized_frames frames | $scenes | $aim | $mark |"
    if [[ $window == 640/480/0 ]]; then
        counts=""
        for scene in Opening Flight FullLoad; do
            name=$(scene_name "$scene")
            counts+="${counts:+, }$name $(sized_counter "$scene" "$window" shaded_pixels | head -n1 | whole) pixels, $(sized_counter "$scene" "$window" draw_calls | head -n1 | whole) draws"
        done
        echo "| Shown frame at 640 x 480: pixels shaded and GL draw calls per frame | $counts | - | |"
        costs=""
        for scene in Opening Flight FullLoad; do
            name=$(scene_name "$scene")
            costs+="${costs:+; }$name $(kind_costs "$scene")"
        done
        echo "| Shown frame at 640 x 480: processor time of all threads, and the milliseconds of it each kind of draw's pixels cost | $costs | - | |"
        aim="≤ 16.7 ms"
        echo "| Shown frame, full load, 640 x 480: median / p99 | $(sized_stat FullLoad "$window") ms | $aim | $(verdict "$(bench_times_ms "$out/sized.csv" "BM_ShownFrameFullLoad/$window" | tail -n +2 | median)" "<=" 16.7) |"
    fi
done
echo "| Full-load frame / empty frame (medians) | ${full_ratio}x | ≤ 2x | $(verdict "$full_ratio" "<=" 2) |"
echo "| Minimal SDL2 window: launch to first swap (median of $runs) | $minimal_ms ms | - | |"
echo "| Game: launch to first title frame (median of $runs) | $game_title_ms ms (${title_ratio}x) | ≤ 1.1x minimal: $title_limit ms | $(verdict "$title_ratio" "<=" 1.1) |"
echo "| Game: Enter to first game frame (median of $runs) | $switch_ms ms | < 150 ms | $(verdict "$switch_ms" "<" 150) |"
echo "| Resident memory after $play_seconds s of play: peak (VmHWM) / now (VmRSS) | $hwm_mb / $rss_mb MB | < 150 MB | $(verdict "$hwm_mb" "<" 150) |"
echo "| Play at 1920 x 1080 under Xvfb, desktop full screen, steering and firing: frames per second over $play_seconds s (95th percentile frame) | $wide_fps fps ($wide_p95 ms) | ≥ 60 fps | $(verdict "$wide_fps" ">=" 60) |"
echo "| Play at 640 x 480 under Xvfb: frames per processor-second, game / chromium-bsu (median of ${VOXMERE_PERF_RATIO_RUNS:-1}) | $game_rate / $peer_rate (${play_ratio}x) | ≥ 1.5x | $(verdict "$play_ratio" ">=" 1.5) |"
echo "| Play at 640 x 480: p99 frame | $game_p99 ms | ≤ 16.7 ms | $(verdict "$game_p99" "<=" 16.7) |"
echo "| Asset generator run (median of 3) | $assets_s s | - | |"
}

page() {
    cat <<TEXT
# Performance

Written by \`scripts/perf-table.sh --write\`; do not edit by hand. Run it again after a change
that may cost time (it builds \`build/\` as Release if needed and takes a few minutes; on a
machine shared with other work the figures move by a fifth or more).

- Commit: $commit
- Machine: $cpu, $(nproc) cores; $(uname -sr); load average $(cut -d' ' -f1-3 /proc/loadavg)
- Renderer: $renderer
- Build: $(build_type "$build"), measured $(date -u +%Y-%m-%d)

TEXT
    table
    cat <<'TEXT'

What the rows measure:

- **`updateGame` at full load**: one game update with 100 rocks, 20 fighters with their
  shots, 12 pickups, every burst and every player shot (`BM_UpdateGameFullLoad`), median of
  five benchmark runs.
- **Stereo frame**: one frame for both eyes at 640 x 480 on Mesa's llvmpipe (SDL's offscreen
  driver), as single-frame repetitions with the first (which compiles Mesa's shaders) left
  out; wall clock up to `glFinish`. Empty is the clear and the backdrop; the opening is seven
  and a half seconds in; full load is every rock, fighter, shot, pickup and burst at once.
- **Shown frame**: the frame as the game shows it in a window of that size (`BM_ShownFrame*`),
  drawn with the game's own art from the build's `Textures/`. On a software renderer a
  window of more pixels than 640 x 480 is drawn at a size divided by the smallest whole
  factor that brings it within that many and enlarged; "drawn at full size" is for
  comparison. "All threads" is the processor time of every thread, llvmpipe's included.
  Pixels shaded are counted with occlusion queries, draw calls by the benchmark's own GL
  entry points (`bench/gl_count.cpp`). What a kind of draw's pixels cost is the frame's
  processor time less that of the same frame with that kind's draws scissored to nothing
  (`VOXMERE_BENCH_UNSHADED`): the shading of their pixels and the setting up of their
  triangles, the least of five runs each; a figure of a millisecond or two is within the noise
  of a shared machine, and below 1 ms it shows as "<1".
- **Launch to first title frame**: the real game under a private Xvfb (640 x 480 x 24)
  beside `voxmere_minimal_window`, the least an SDL2 program does to show the same window,
  taken in turns; from the game's frame log (`VOXMERE_FRAME_LOG`).
- **Resident memory**: `VmHWM` and `VmRSS` after Enter, the opening and the play seconds
  steering with the arrow keys, Ctrl held and Space tapped.
- **Play at 1920 x 1080**: desktop full screen on a 1920 x 1080 Xvfb, from the clock readings
  of the run's journal (`--record`) after the first 11 s.
- **Play at 640 x 480 against chromium-bsu**: frames (buffer swaps) per processor-second of
  the game and of Chromium B.S.U. played in turns on one Xvfb, from
  `scripts/play-ratio.sh`.

`VOXMERE_PERF_RUNS`, `VOXMERE_PERF_FRAMES`, `VOXMERE_PERF_SIZED_FRAMES`,
`VOXMERE_PERF_PLAY_SECONDS` and `VOXMERE_PERF_RATIO_RUNS` change the counts; the raw outputs
stay in `<build>/perf-table/`. Timings on a shared machine are not pass or fail, so none of
this is part of the test suite.
TEXT
}

if ((write)); then
    page | tee "$root/$document"
    echo "wrote $root/$document" >&2
else
    page
fi
