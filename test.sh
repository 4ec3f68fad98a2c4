#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test; builds the same again into build-asan/
# with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test there; then runs the fuzz targets
# for FUZZ_SECONDS in all (default 90; 0 skips them).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
jobs=$(nproc)
# the test programs list their tests at build time, before any display exists
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# Any sanitizer report ends the test program with a failure; so does a leak, but for the ones the
# suppression file names (libraries' own caches, not ours).
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
cmake -S . -B build-asan -G Ninja -DBRINDLEWICK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

fuzz_seconds=${FUZZ_SECONDS:-90}
if [ "$fuzz_seconds" -gt 0 ]; then
    # a fixed seed: the tests repeat the same fuzz inputs, which longer runs of ./fuzz.sh have gone through
    FUZZ_SEED=${FUZZ_SEED:-1} ./fuzz.sh "$fuzz_seconds"
fi
