#!/usr/bin/env bash
# Installs what is missing, builds, and runs the test suite in two builds: the optimised
# Release build players and packagers make, with every test, and a build under
# AddressSanitizer + UndefinedBehaviorSanitizer, with every test but those labelled one_build
# (the end-to-end scripts other than the random-input run, and the fuzz targets, which are
# sanitized builds of their own and are not built there). Both builds treat warnings as errors.
# Needs no display, GPU or sound card: pixel tests draw offscreen with Mesa, end-to-end tests
# start their own Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

# Lists each test of the last ctest run in $1 that failed and then passed on its next run.
report_retries() {
    awk '/^[0-9]+\/[0-9]+ Test: / {name = $3}
         /^Test Failed\./ {failed[name] = 1}
         /^Test Passed\./ && failed[name] {print name; delete failed[name]}' \
        "$1/Testing/Temporary/LastTest.log"
}

run_suite() {
    local dir=$1
    shift
    local ctest_args=()
    while [[ $1 != -- ]]; do
        ctest_args+=("$1")
        shift
    done
    shift
    cmake -S "$root" -B "$dir" "$@"
    cmake --build "$dir" -j"$jobs"
    local status=0
    (cd "$dir" && ctest --output-on-failure -j"$jobs" "${ctest_args[@]}") || status=$?
    local retried
    retried=$(report_retries "$dir")
    if [[ -n "$retried" ]]; then
        echo
        echo "Passed only on a second run (the first run's output is in $dir/Testing/Temporary/LastTest.log):"
        sed 's/^/  Retried after a failure: /' <<<"$retried"
        echo
    fi
    return "$status"
}

run_suite "$root/build" -- -DCMAKE_BUILD_TYPE=Release -DVOXMERE_WERROR=ON
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The leak checker stops every thread at exit to scan it and now and then crashes on Mesa's
# idle rasterizer threads ("Tracer caught signal 11"); with none, llvmpipe draws the same
# pixels in the calling thread.
export LP_NUM_THREADS=0
# The leak checker's own exit scan still crashes now and then on a test that passed; a test
# that fails in the sanitized build gets one more run, so only a failure that repeats counts.
# Every test that needed its second run is listed after ctest's summary.
run_suite "$root/build-asan" --repeat until-pass:2 -LE one_build -- -DCMAKE_BUILD_TYPE=Debug \
    -DVOXMERE_SANITIZE=ON -DVOXMERE_BENCH=OFF -DVOXMERE_FUZZ=OFF -DVOXMERE_WERROR=ON
echo "All tests passed (Release build: everything; sanitized build: all but the one_build label)."
