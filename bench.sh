#!/usr/bin/env bash
# Builds an optimised tree in build-bench/ and measures every conversion on large generated programs.
# Options are passed to the benchmark: --sizes 10000,100000,1000000 --reps 3 --out bench/RESULTS.md
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j "$(nproc)" --target brindlewick-bench brindlewick-convert brindlewick-bench-editor brindlewick-bench-compare
build-bench/bench/brindlewick-bench "$@"
build-bench/bench/brindlewick-bench-compare
