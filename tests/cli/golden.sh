#!/usr/bin/env bash
# Runs one golden case through brindlewick-convert and compares the output byte for byte.
set -u
convert=$1
dir=$2
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
mapfile -t args < "$dir/args"
# An argument beginning with "@/" names a file of the case folder (a table file, say), wherever the
# test runs from.
for i in "${!args[@]}"; do
    case "${args[$i]}" in
        @/*) args[$i]="$dir/${args[$i]#@/}" ;;
    esac
done
input="$dir/input.nc"
[ -f "$input" ] || input=/dev/null
"$convert" "${args[@]}" "$input" > "$out" 2> "$err"
code=$?
want_code=0
[ -f "$dir/exit" ] && want_code=$(cat "$dir/exit")
status=0
if [ "$code" -ne "$want_code" ]; then
    echo "exit code $code, expected $want_code"; cat "$err"; status=1
fi
if [ -f "$dir/expected.nc" ] && ! cmp -s "$out" "$dir/expected.nc"; then
    echo "output differs from $dir/expected.nc:"; diff <(od -c "$dir/expected.nc") <(od -c "$out") | head -40
    status=1
fi
if [ -f "$dir/expected.err" ] && ! cmp -s "$err" "$dir/expected.err"; then
    echo "standard error differs:"; diff "$dir/expected.err" "$err" | head -20
    status=1
fi
# A pipe that hands the program over a few bytes at a time (a CR LF or a two-byte character cut between
# reads) gives what the file gives: the same output, standard error and exit code.
pipe_out=$(mktemp)
pipe_err=$(mktemp)
trap 'rm -f "$out" "$err" "$pipe_out" "$pipe_err"' EXIT
for block in 1 3; do
    dd if="$input" bs="$block" status=none | "$convert" "${args[@]}" > "$pipe_out" 2> "$pipe_err"
    pipe_code=$?
    [ "$pipe_code" -eq "$code" ] || { echo "a pipe in blocks of $block: exit code $pipe_code, the file's $code"; status=1; }
    cmp -s "$pipe_out" "$out" || { echo "a pipe in blocks of $block: output differs from the file's"; status=1; }
    cmp -s "$pipe_err" "$err" || { echo "a pipe in blocks of $block: standard error differs from the file's"; status=1; }
done
exit $status
