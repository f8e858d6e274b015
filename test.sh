#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test headless.
#   ./test.sh             the normal build (build/), all tests and the start-up
#                         instruction gate (valgrind, Xvfb)
#   ./test.sh --sanitize  all tests again, built with AddressSanitizer and
#                         UndefinedBehaviorSanitizer (build-sanitize/); then, where
#                         clang++ is installed, each fuzz target for a bounded time
#                         (build-fuzz/, FUZZ_SECONDS, default 60)
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

if [ "${1:-}" != "--sanitize" ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j"$jobs"
    ctest --test-dir build --output-on-failure -j"$jobs"
    # The start-up gate: instructions from exec to the first frame of a first
    # start, measured against a window with one label in the same run, and the
    # instructions of one Enter up to its repaint (docs/performance.md).
    echo "== Start-up and Enter (callgrind)"
    cmake --build build --target empty-window -j"$jobs"
    python3 tools/measure-startup.py --rounds 0 --gate 30.3 --enter-gate 1.5 build
    exit 0
fi

# -O1 keeps the instrumented build and the runs fast enough for CI. The build
# runs instrumented tools of its own (icon and schematic rendering): Qt's
# deliberate leaks there are no finding.
echo "== Sanitizer build (address, undefined)"
ASAN_OPTIONS=detect_leaks=0 cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DVELKARO_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=0 cmake --build build-sanitize -j"$jobs" --target velkaro_tests
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

clang="$(command -v clang++ || true)"
if [ -z "$clang" ]; then
    echo "== No clang++: fuzz targets skipped"
    exit 0
fi
echo "== Fuzz targets (clang, libFuzzer)"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER="$clang" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DVELKARO_FUZZ=ON
cmake --build build-fuzz -j"$jobs" --target velkaro_fuzz
seconds="${FUZZ_SECONDS:-60}"
run_dir="$(mktemp -d)"
trap 'rm -rf "$run_dir"' EXIT
status=0
# The targets run side by side; each grows a corpus of its own in a temporary
# folder, seeded from fuzz/corpus/<target> (read only).
pids=()
targets=()
for exe in build-fuzz/*_fuzz; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue
    name="$(basename "$exe")"
    mkdir -p "$run_dir/$name"
    targets+=("$name")
    "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$run_dir/$name-" "$run_dir/$name" "fuzz/corpus/$name" \
        >"$run_dir/$name.log" 2>&1 &
    pids+=($!)
done
for i in "${!pids[@]}"; do
    name="${targets[$i]}"
    if wait "${pids[$i]}"; then result=passed; else result=FAILED; status=1; fi
    echo "== ${name}: ${result}"
    # The summary: the last status line and the final statistics; a finding in full.
    if [ "$result" = passed ]; then
        grep -aE '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$run_dir/$name.log" | tail -n 1 || true
        grep -aE '^stat::' "$run_dir/$name.log" || true
    else
        tail -n 80 "$run_dir/$name.log"
        for crash in "$run_dir/$name"-*; do
            [ -e "$crash" ] && { echo "input (base64):"; base64 "$crash"; }
        done
    fi
done
exit "$status"
