#!/usr/bin/env bash
# Builds an optimised tree in build-bench/ and measures every conversion on large generated programs.
# Options are passed to the benchmark: --sizes 10000,100000,1000000 --reps 3 --out bench/RESULTS.md.
# build-bench/bench/brindlewick-bench --input-only (with the same options) measures only the standard input
# table, on the largest size, and replaces only that section of the results.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j "$(nproc)" --target brindlewick-bench brindlewick-convert brindlewick-bench-editor \
      brindlewick-bench-highlight brindlewick-bench-path brindlewick-bench-compare
build-bench/bench/brindlewick-bench "$@"
# the colouring of NC words, with its own table: bench/RESULTS-highlight.md
build-bench/bench/brindlewick-bench-highlight
# the tool path, with its own table: bench/RESULTS-toolpath.md
build-bench/bench/brindlewick-bench-path "$@"
# the comparison of a result with its source, with its own table: bench/RESULTS-compare.md
build-bench/bench/brindlewick-bench-compare
