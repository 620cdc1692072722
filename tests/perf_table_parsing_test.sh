# The arithmetic behind scripts/perf-table.sh on canned input: benchmark CSV rows, percentiles,
# frame-log intervals, /proc figures and the pass/miss marks.
set -u
source "$(dirname "$0")/../scripts/perf-table-lib.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
expect() {  # expect WHAT EXPECTED ACTUAL
    if [[ "$2" != "$3" ]]; then
        echo "FAIL: $1: expected '$2', got '$3'" >&2
        failures=$((failures + 1))
    fi
}

# Google Benchmark's CSV: one-frame repetitions, an error row, the aggregates, and another
# benchmark whose name starts the same way. Counter columns follow the fixed ones.
cat >"$WORK/frames.csv" <<'CSV'
name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,label,error_occurred,error_message,"fps"
"BM_RenderStereoFrameFullLoad/real_time",1,4.5,1.1,ms,,,,,,222
"BM_RenderStereoFrameFullLoad/real_time",1,3.5,1.0,ms,,,,,,285
"BM_RenderStereoFrameFullLoad/real_time",1,9.25,1.2,ms,,,,,,108
"BM_RenderStereoFrameFullLoad/real_time",1,4,1.3,ms,,,,,,250
"BM_RenderStereoFrameFullLoad/real_time",0,0,0,ms,,,,true,"no GL context",
"BM_RenderStereoFrameFullLoad/real_time_median",4,4.25,1.15,ms,,,,,,235
"BM_RenderStereoFrameFullLoadTwice",1,99,99,ms,,,,,,
"BM_UpdateGameFullLoad",70000,3250,3240,ns,,,,,,
"BM_UpdateGameFullLoad",70000,2.75,2.7,us,,,,,,
CSV
expect "frame times: repetitions only, in order" "4.500000 3.500000 9.250000 4.000000" \
    "$(bench_times_ms "$WORK/frames.csv" BM_RenderStereoFrameFullLoad | paste -sd' ')"
expect "other units become milliseconds" "0.003250 0.002750" \
    "$(bench_times_ms "$WORK/frames.csv" BM_UpdateGameFullLoad | paste -sd' ')"
expect "an absent benchmark gives nothing" "" "$(bench_times_ms "$WORK/frames.csv" BM_Opening)"

# A journal: the header, three frames (the second with one message) and the end record.
{
    head -c 66 /dev/zero
    printf 'F\xe8\x03\x00\x00\x00\x00'                             # 1000 ms
    printf 'F\xf8\x03\x00\x00\x01\x00' && head -c 10 /dev/zero     # 1016 ms, a message
    printf 'F\x0c\x04\x00\x00\x00\x00'                             # 1036 ms
    printf 'E\x03\x00\x00\x00\x00\x00'
} >"$WORK/run.vxj"
expect "frame gaps, past a message" "16 20" "$(journal_frame_gaps "$WORK/run.vxj" | paste -sd' ')"
expect "frame gaps after the first 20 ms" "20" "$(journal_frame_gaps "$WORK/run.vxj" 20)"

expect "median of an even count" "4.25" \
    "$(bench_times_ms "$WORK/frames.csv" BM_RenderStereoFrameFullLoad | median)"
expect "median of an odd count, unsorted" "7" "$(printf '9\n7\n1\n' | median)"
expect "median sorts numerically" "10" "$(printf '9\n100\n10\n' | median)"
expect "median of nothing" "" "$(median </dev/null)"
expect "p99 of four is the largest" "9.25" \
    "$(bench_times_ms "$WORK/frames.csv" BM_RenderStereoFrameFullLoad | percentile 99)"
expect "p99 of 300 leaves three slower" "297" "$(seq 300 -1 1 | percentile 99)"
expect "p50 of 300 is the 150th" "150" "$(seq 300 | percentile 50)"
expect "p99 of 100 is the 99th" "99" "$(seq 100 | percentile 99)"
expect "p99 of 99 rounds its rank up to the largest" "99" "$(seq 99 | percentile 99)"

cat >"$WORK/frame.log" <<'LOG'
launch 100.000000
title-frame 100.3125
start 101.000000
game-frame 101.0625
game-frame 105.000000
LOG
expect "launch to title frame" "312.5" "$(log_interval_ms "$WORK/frame.log" launch title-frame)"
expect "the first of a repeated line counts" "62.5" \
    "$(log_interval_ms "$WORK/frame.log" start game-frame)"
expect "a missing line gives nothing" "" "$(log_interval_ms "$WORK/frame.log" launch quit)"

printf 'Name:\tvoxmere\nVmHWM:\t  131072 kB\nVmRSS:\t   98816 kB\n' >"$WORK/status"
expect "peak resident memory" "128.0" "$(status_mb "$WORK/status" VmHWM)"
expect "resident memory" "96.5" "$(status_mb "$WORK/status" VmRSS)"

expect "at most: equal passes" "pass" "$(verdict 10 "<=" 10)"
expect "at most: above misses" "miss" "$(verdict 10.01 "<=" 10)"
expect "under: equal misses" "miss" "$(verdict 150 "<" 150)"
expect "at least: numeric, not text order" "pass" "$(verdict 1000 ">=" 150)"
expect "no figure misses" "miss" "$(verdict "" ">=" 150)"
expect "ratio" "2.50" "$(ratio 10 4)"
expect "ratio with nothing to divide by" "" "$(ratio 10 "")"
expect "frames per second" "160" "$(fps_of_ms 6.25)"

# The commit stamp: the document the script writes does not count as a change, anything else does.
clone=$WORK/clone
mkdir -p "$clone/docs" && git -C "$clone" init -q
echo old >"$clone/docs/performance.md" && echo code >"$clone/game.cpp"
git -C "$clone" add . && git -C "$clone" -c user.name=t -c user.email=t@t commit -qm one
head=$(git -C "$clone" rev-parse --short HEAD)
expect "a clean clone" "$head" "$(commit_stamp "$clone" docs/performance.md)"
echo new >"$clone/docs/performance.md"
expect "a rewritten document is not dirt" "$head" "$(commit_stamp "$clone" docs/performance.md)"
echo changed >"$clone/game.cpp"
expect "a changed file is" "$head, dirty" "$(commit_stamp "$clone" docs/performance.md)"
expect "no clone at all" "no commit" "$(commit_stamp "$WORK/nowhere" docs/performance.md)"

((failures == 0)) || exit 1
echo "ok"
