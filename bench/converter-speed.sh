#!/usr/bin/env bash
# Times two brindlewick-convert builds side by side on the benchmark's generated programs: each run of the
# one followed by a run of the other, the median of RUNS, output to /dev/null. Prints a Markdown table.
#
#   bench/converter-speed.sh REFERENCE NEW [--lines N] [--runs R] [--programs PATH] [-- CONVERSION ARGS...]
#
# REFERENCE and NEW are brindlewick-convert executables; the conversion defaults to `machine`. --programs
# is the brindlewick-bench-programs executable (default build-bench/bench/brindlewick-bench-programs);
# --lines the lines of each program (default 1000000).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
reference=$1
new=$2
shift 2
lines=1000000
runs=5
programs=$here/build-bench/bench/brindlewick-bench-programs
conversion=(machine)
while [ $# -gt 0 ]; do
    case $1 in
        --lines) lines=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        --programs) programs=$2; shift 2 ;;
        --) shift; conversion=("$@"); break ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$programs" "$work" "$lines" >/dev/null

seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { printf "%.3f", v[int((NR + 1) / 2)] / 1e6 }'
}

echo "| program | reference s | new s | new / reference |"
echo "|---|---|---|---|"
for program in "$work"/*.nc; do
    : > "$work/ref.times"
    : > "$work/new.times"
    for _ in $(seq "$runs"); do
        seconds "$reference" "${conversion[@]}" "$program" >> "$work/ref.times"
        seconds "$new" "${conversion[@]}" "$program" >> "$work/new.times"
    done
    ref=$(median < "$work/ref.times")
    now=$(median < "$work/new.times")
    ratio=$(awk -v a="$ref" -v b="$now" 'BEGIN { printf "%.2f", b / a }')
    echo "| $(basename "$program") | $ref | $now | $ratio |"
done
