#!/usr/bin/env bash
# Installs what is missing, builds, and runs the test suite in three builds: the optimised
# Release build players and packagers make, with every test; a build under AddressSanitizer +
# UndefinedBehaviorSanitizer, with every test but those labelled one_build (the end-to-end
# scripts other than the random-input run, and the fuzz targets, which are sanitized builds of
# their own and are not built there); and the Windows build (scripts/windows.sh), run under
# Wine, with every test but those tests/windows_left_out.txt lists. All treat warnings as
# errors. Needs no display, GPU or sound card: pixel tests draw offscreen with Mesa, end-to-end
# tests start their own Xvfb.
#
# Once the Release build is made, the sanitized build (nice -n 5) and the Windows build
# (nice -n 2) are made and tested beside the Release run: the end-to-end scripts mostly wait on
# the game's own clock, and what they time is the game's clock, not its frame rate. Their
# output follows the Release run's.
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

# build DIR CMAKE-ARGS...: configures and builds. The C++ tests are compiled in batches and run
# as a few processes rather than one per test (see tests/CMakeLists.txt).
build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DVOXMERE_WERROR=ON -DVOXMERE_UNITY_TESTS=ON \
        -DVOXMERE_TEST_SHARDS=$((jobs * 2)) "$@"
    cmake --build "$dir" -j"$jobs"
}

# run_tests DIR CTEST-ARGS...
run_tests() {
    local dir=$1
    shift
    local status=0
    (cd "$dir" && ctest --output-on-failure -j"$jobs" "$@") || status=$?
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

sanitized() {
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    # The leak checker stops every thread at exit to scan it and now and then crashes on Mesa's
    # idle rasterizer threads ("Tracer caught signal 11"); with none, llvmpipe draws the same
    # pixels in the calling thread.
    export LP_NUM_THREADS=0
    build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVOXMERE_SANITIZE=ON \
        -DVOXMERE_BENCH=OFF -DVOXMERE_FUZZ=OFF
    # The sanitized generator has already made the build's art and sound, so any memory fault
    # in it has shown; whether a second run writes the same bytes is the Release build's check.
    export GTEST_FILTER=-AssetFiles.TwoRunsWriteIdenticalBytes
    # The leak checker's own exit scan still crashes now and then on a test that passed; a test
    # that fails in the sanitized build gets one more run, so only a failure that repeats
    # counts. Every test that needed its second run is listed after ctest's summary.
    run_tests "$root/build-asan" --repeat until-pass:2 -LE one_build
}

build "$root/build" -DCMAKE_BUILD_TYPE=Release

mkdir -p "$root/build-asan"
sanitized_log="$root/build-asan/test-command.log"
export root jobs
export -f build run_tests report_retries sanitized
# In a process group of its own (job control), so that an interrupted run stops all of it; in
# the same session, where the kernel weighs its priority against the Release run's.
set -m
nice -n 5 bash -c "set -euo pipefail; sanitized" >"$sanitized_log" 2>&1 &
sanitized_pid=$!
set +m
trap 'kill -- -$sanitized_pid 2>/dev/null || true' EXIT

# The Windows build (mingw-w64) and its tests under Wine on a private Xvfb, beside the Linux
# run: cross-compiling and Wine's start-up mostly wait on each other, not on the processor.
windows_log="$root/build-windows/test-command.log"
mkdir -p "$root/build-windows"
windows() {
    "$root/scripts/windows.sh" --linux-build "$root/build"
    local display_file xvfb status=0
    display_file=$(mktemp)
    exec 8<>"$display_file"
    Xvfb -displayfd 8 -screen 0 1024x768x24 -r -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [[ -s "$display_file" ]] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$display_file" | tr -d '[:space:]')"
    # One Wine prefix, booted once, for the unit shards; the end-to-end script boots its own.
    export WINEPREFIX="$root/build-windows/wine-prefix" WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    wineboot -i >/dev/null 2>&1 && wineserver -w
    run_tests "$root/build-windows" || status=$?
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$display_file"
    return "$status"
}
export -f windows
set -m
nice -n 2 bash -c "set -euo pipefail; windows" >"$windows_log" 2>&1 &
windows_pid=$!
set +m
trap 'kill -- -$sanitized_pid 2>/dev/null || true; kill -- -$windows_pid 2>/dev/null || true' EXIT

release_status=0
run_tests "$root/build" || release_status=$?
echo "Release build: $([[ $release_status == 0 ]] && echo passed || echo FAILED)."
echo "Waiting for the sanitized build (its output: $sanitized_log) ..."
sanitized_status=0
wait "$sanitized_pid" || sanitized_status=$?
echo
echo "=== Sanitized build (AddressSanitizer + UndefinedBehaviorSanitizer) ==="
cat "$sanitized_log"
echo "Sanitized build: $([[ $sanitized_status == 0 ]] && echo passed || echo FAILED)."
windows_status=0
wait "$windows_pid" || windows_status=$?
echo
echo "=== Windows build (mingw-w64, under Wine) ==="
cat "$windows_log"
echo "Windows build: $([[ $windows_status == 0 ]] && echo passed || echo FAILED)."
((release_status == 0 && sanitized_status == 0 && windows_status == 0)) || exit 1
echo "All tests passed (Release build: everything; sanitized build: all but the one_build label;"
echo "Windows build under Wine: all but tests/windows_left_out.txt)."
