#!/usr/bin/env bash
# A long run of one fuzz target: scripts/fuzz-long.sh TARGET [RUNS]
#   TARGET  the name of a harness tests/fuzz/TARGET_fuzz.cpp (texture, wav, ...)
#   RUNS    executions to run, one million unless given
# Builds the target (libFuzzer + ASan + UBSan, with clang) in build/, starts from the seed corpus
# and prints how many executions ran without a finding. A finding stops the run: the input that
# caused it is kept in build/fuzz-long/TARGET/ and the status is 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: scripts/fuzz-long.sh TARGET [RUNS]}
runs=${2:-1000000}
build=${VOXMERE_BUILD_DIR:-$root/build}
harness=$root/tests/fuzz/${target}_fuzz.cpp
if [[ ! -f $harness ]]; then
    echo "no fuzz target '$target': $(cd "$root/tests/fuzz" && ls ./*_fuzz.cpp | sed 's|./||; s|_fuzz.cpp||' | tr '\n' ' ')" >&2
    exit 2
fi

[[ -f $build/CMakeCache.txt ]] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${target}_fuzz" -j"$(nproc)" >/dev/null
binary=$build/tests/fuzz/${target}_fuzz
[[ -x $binary ]] || { echo "$binary was not built (is clang installed?)" >&2; exit 2; }

# The corpus grows in a scratch folder; the seeds in the repo are only read.
work=$build/fuzz-long/$target
rm -rf "$work"
mkdir -p "$work/corpus"
log=$work/fuzz.log
start=$(date +%s)
status=0
(cd "$work" && ASAN_OPTIONS=detect_leaks=1 "$binary" -runs="$runs" -max_len=70000 \
    -print_final_stats=1 "$work/corpus" "$root/tests/fuzz/${target}_fuzz_corpus") >"$log" 2>&1 ||
    status=$?
seconds=$(($(date +%s) - start))

done_line=$(grep -E '^Done [0-9]+ runs' "$log" | tail -1 || true)
if [[ $status -eq 0 && -n $done_line ]]; then
    executions=$(awk '{print $2}' <<<"$done_line")
    echo "$target: $executions executions without a finding in ${seconds} s" \
        "($(find "$work/corpus" -type f | wc -l) inputs in the grown corpus)"
else
    tail -40 "$log" >&2
    echo "$target: FINDING after $(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#') executions" \
        "(status $status); crash input and log in $work" >&2
    exit 1
fi
