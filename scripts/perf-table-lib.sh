# The arithmetic of scripts/perf-table.sh, kept apart so tests/perf_table_parsing_test.sh can
# check it on canned input. Sourced; every function reads its arguments or standard input and
# prints one value.

# Median of the numbers on standard input, one a line; nothing for no numbers.
median() {
    sort -g | awk '{v[NR] = $1} END {
        if (NR == 0) exit
        if (NR % 2) printf "%.6g\n", v[(NR + 1) / 2]
        else printf "%.6g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The P-th percentile (nearest rank) of the numbers on standard input.
percentile() {
    sort -g | awk -v p="$1" '{v[NR] = $1} END {
        if (NR == 0) exit
        x = p * NR / 100; rank = int(x); if (rank < x) rank++
        if (rank < 1) rank = 1
        printf "%.6g\n", v[rank] }'
}

# Wall-clock times in milliseconds of every run of one benchmark in Google Benchmark's CSV
# output (file $1): rows named $2, or $2 with its options ("/real_time"), skipping errors
# and the aggregates ("_median" and the like).
bench_times_ms() {
    awk -F, -v want="$2" '
        NR == 1 { for (i = 1; i <= NF; ++i) col[$i] = i; next }
        {
            name = $col["name"]; gsub(/"/, "", name)
            if (name != want && index(name, want "/") != 1) next
            if (name ~ /_(mean|median|stddev|cv)$/) next
            if ($col["error_occurred"] == "true") next
            unit = $col["time_unit"]; t = $col["real_time"]
            scale = unit == "ns" ? 1e-6 : unit == "us" ? 1e-3 : unit == "s" ? 1e3 : 1
            printf "%.6f\n", t * scale
        }' "$1"
}

# Milliseconds from the first line named $2 to the first line named $3 of a frame log
# ("<name> <seconds>" lines, file $1); nothing when either is missing.
log_interval_ms() {
    awk -v from="$2" -v to="$3" '
        $1 == from && !(from in t) { t[from] = $2 }
        $1 == to && !(to in t) { t[to] = $2 }
        END { if ((from in t) && (to in t)) printf "%.1f\n", (t[to] - t[from]) * 1000 }' "$1"
}

# The frames of a journal (file $1, the layout in docs/formats.md: a 66-byte header, then "F",
# the 32-bit little-endian clock and a 16-bit message count before each frame's 10-byte
# messages), one a line: "clock messages".
journal_frames() {
    od -An -v -tu1 "$1" | awk '
        { for (i = 1; i <= NF; ++i) b[n++] = $i }
        END {
            for (p = 66; p + 7 <= n && b[p] == 70; p += 7 + 10 * m) {
                m = b[p + 5] + 256 * b[p + 6]
                print b[p + 1] + 256 * (b[p + 2] + 256 * (b[p + 3] + 256 * b[p + 4])), m
            }
        }'
}

# The gaps in ms between the frames of a journal ($1), one a line: each frame's since the one
# before, leaving out frames shown before the clock had run $2 ms.
journal_frame_gaps() {
    journal_frames "$1" | awk -v skip="${2:-0}" '
        NR == 1 { first = $1 }
        NR > 1 && $1 - first >= skip { print $1 - last }
        { last = $1 }'
}

# A /proc status field ("VmHWM", "VmRSS") of a status file, in MB (2^20 bytes).
status_mb() {
    awk -v field="$2:" '$1 == field { printf "%.1f\n", $2 / 1024 }' "$1"
}

# "pass" or "miss": is the figure $1 within the aim "$2 $3" (operator <=, <, >= or >)?
# An empty figure is a miss.
verdict() {
    awk -v x="$1" -v op="$2" -v aim="$3" 'BEGIN {
        if (x == "") { print "miss"; exit }
        ok = op == "<=" ? x <= aim : op == "<" ? x < aim : op == ">=" ? x >= aim : x > aim
        print ok ? "pass" : "miss" }'
}

# Arithmetic on two figures for the table: ratio a / b, and 1000 / ms as frames per second.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a != "" && b > 0) printf "%.2f\n", a / b }'; }
fps_of_ms() { awk -v ms="$1" 'BEGIN { if (ms > 0) printf "%.0f\n", 1000 / ms }'; }

# The commit of the clone at $1 as "abc1234", or "abc1234, dirty" when anything but the
# performance document itself ($2, relative to the clone) differs from it: the document a run
# writes must not make the next run's stamp dirty.
commit_stamp() {
    local commit
    commit=$(git -C "$1" rev-parse --short HEAD 2>/dev/null) || { echo "no commit"; return; }
    if [[ -n $(git -C "$1" status --porcelain -- . ":(exclude)$2" 2>/dev/null) ]]; then
        echo "$commit, dirty"
    else
        echo "$commit"
    fi
}
