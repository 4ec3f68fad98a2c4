#!/usr/bin/env bash
# Runs two brindlewick-convert builds on the same generated programs with every option set and compares
# their standard output byte for byte, their standard error and their exit code. Used to show that a
# change meant to make a conversion faster changes no result.
#
#   tools/compare-converters.sh REFERENCE NEW [--lines N] [--programs PATH] [--work DIR] [--only REGEX]
#
# REFERENCE and NEW are brindlewick-convert executables (each with its default table beside it).
# --lines: lines of each generated program (default 150000: a few MB each, so that the line-by-line
#   conversions run in several parts); --programs: the brindlewick-bench-programs executable (default
#   build-bench/bench/brindlewick-bench-programs); --work: where the programs are written (default a
#   temporary folder, removed afterwards); --only: run only the option sets whose text matches.
# Prints every difference and the counts; exits 1 when anything differs.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
reference=$1
new=$2
shift 2
lines=150000
programs=$here/build-bench/bench/brindlewick-bench-programs
work=
only=.
while [ $# -gt 0 ]; do
    case $1 in
        --lines) lines=$2; shift 2 ;;
        --programs) programs=$2; shift 2 ;;
        --work) work=$2; shift 2 ;;
        --only) only=$2; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
if [ -z "$work" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"

"$programs" "$work" "$lines" 7 || { echo "cannot write the generated programs" >&2; exit 2; }
python3 "$here/tools/adversarial-program.py" "$work/adversarial_$lines.nc" "$lines" 1
python3 "$here/tools/adversarial-program.py" "$work/adversarial-b_$lines.nc" "$((lines / 3))" 2
# bytes that are no character of code page 932 make the converter take the program whole
{ head -c 200000 "$work/adversarial-b_$lines.nc"; printf '\x80X1.\xa0(\xfd)\r\n'; tail -c +200001 "$work/adversarial-b_$lines.nc"; } > "$work/dirty_$lines.nc"
# a program of one line with neither CR nor LF
tr -d '\r\n' < "$work/finish_$lines.nc" | head -c 3000000 > "$work/noend_$lines.nc"
# an empty file and a file of line ends only
: > "$work/empty.nc"
printf '\r\n\n\r\r\n' > "$work/ends.nc"

tables=$here/tests/data/machine
option_sets=(
    "space --mode add" "space --mode number" "space --mode remove"
    "point --mode point" "point --mode point-zero" "point --mode remove"
    "unit --mode um-mm" "unit --mode 10um-mm" "unit --mode inch-mm" "unit --mode mm-inch"
    "unit --mode mm-um" "unit --mode mm-10um"
    "g90g91 --to incremental" "g90g91 --to absolute"
    "g90g91 --to incremental --start 10,-5.5,2.125 --start-comment --end-comment --point"
    "g90g91 --to absolute --start 1.5,,-3 --point" "g90g91 --to incremental --end-comment"
    "xycx --to cx" "xycx --to xy"
    "rotary" "rotary --axis A --forward 115 --reverse 116"
    "crlf"
    "replace --find G01 --with G1" "replace --find M0 --with M" "replace --find ( --with [["
    "replace --find 0 --with 〇〇" "replace --find . --with €" "replace --find X --with X"
    "calc --find Z --op + --value 100 --format 1" "calc --find Z --op + --value 1 --format 2"
    "calc --find X --op x --value 2.5 --format 3" "calc --find X --op / --value 3 --format 4"
    "calc --find F --op - --value 0.05 --format 1" "calc --find X --op / --value 0 --format 1"
    "machine" "machine --stop-newline"
    "machine --table $tables/tool-groups-cycles/table.csv"
    "machine --table $tables/tool-groups-cycles/table.csv --stop-newline"
)

same=0
differ=0
for program in "$work"/*.nc; do
    for options in "${option_sets[@]}"; do
        [[ "$options" =~ $only ]] || continue
        read -r -a args <<< "$options"
        "$reference" "${args[@]}" "$program" > "$work/ref.out" 2> "$work/ref.err"
        ref_code=$?
        "$new" "${args[@]}" "$program" > "$work/new.out" 2> "$work/new.err"
        new_code=$?
        if [ "$ref_code" = "$new_code" ] && cmp -s "$work/ref.out" "$work/new.out" &&
            cmp -s "$work/ref.err" "$work/new.err"; then
            same=$((same + 1))
        else
            differ=$((differ + 1))
            echo "DIFFERS: $(basename "$program") $options (exit $ref_code / $new_code)"
            cmp "$work/ref.out" "$work/new.out" | head -1
            diff "$work/ref.err" "$work/new.err" | head -4
        fi
    done
done
echo "compared $((same + differ)) runs: $same the same, $differ different"
[ "$differ" -eq 0 ]
