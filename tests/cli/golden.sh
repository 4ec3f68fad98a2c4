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
exit $status
