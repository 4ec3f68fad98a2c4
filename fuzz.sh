#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a share of SECONDS (default
# 600), seeded from the example programs and the golden cases. Inputs that fail are left in
# build-fuzz/artifacts/; copy them into tests/fuzz/regressions/<target>/ once fixed. FUZZ_SEED fixes the
# fuzzer's random seed, so that a run of the tests repeats the same inputs.
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-600}
tools/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DBRINDLEWICK_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=$(sed -n 's/^brindlewick_fuzz_target(\([a-z_]*\).*/\1/p' tests/fuzz/CMakeLists.txt)
cmake --build build-fuzz -j "$(nproc)" --target $targets
count=$(echo "$targets" | wc -w)
each=$(( seconds / count )); [ "$each" -ge 1 ] || each=1
mkdir -p build-fuzz/artifacts
# undefined behaviour ends the run like a crash, so that the input is kept; the leaks of libraries' own
# caches (fontconfig's, under the text pane) are no finding
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
status=0
for t in $targets; do
    corpus=build-fuzz/corpus/$t
    mkdir -p "$corpus"
    echo "== $t: $each s"
    seeds=()
    for d in tests/fuzz/regressions/$t data tests/data; do [ -d "$d" ] && seeds+=("$d"); done
    if ! build-fuzz/tests/fuzz/$t "$corpus" "${seeds[@]}" \
            ${FUZZ_SEED:+-seed="$FUZZ_SEED"} -max_total_time="$each" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
            -artifact_prefix=build-fuzz/artifacts/$t- -print_final_stats=1 2>build-fuzz/$t.log; then
        echo "$t found a fault:"; tail -40 build-fuzz/$t.log; status=1
    else
        grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' build-fuzz/$t.log || true
    fi
done
exit $status
