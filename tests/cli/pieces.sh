#!/usr/bin/env bash
# A program of several megabytes is read, converted and written a piece at a time on every processor: its
# result must be the results of its parts, each converted on its own, put together in order, and a count of
# changes must be their sum.
source "$(dirname "$0")/script-setup.sh"

# about 6.6 MB: blocks of every kind, with a code page 932 comment (two-byte characters) every 997 lines
awk 'BEGIN {
    for (i = 1; i <= 200000; i++) {
        if (i % 997 == 0) printf "(\203e\203X\203g %d)\r\n", i
        else if (i % 50 == 0) printf "G00 X%d. Z%d.\r\n", i % 90, i % 7
        else printf "N%d G01 X%.3f Z-%.3f F0.2\r\n", i, (i % 97) + 0.5, (i % 13) + 0.25
    }
    printf "M30"
}' > "$work/program.nc"
# the parts end at line ends, each far under the size of a piece
split -l 40000 "$work/program.nc" "$work/part."

# check NAME ARGS...: the whole program against its parts converted one by one
check() {
    local name=$1
    shift
    "$convert" "$@" "$work/program.nc" > "$work/whole.out" 2> "$work/whole.err"
    local code=$?
    [ "$code" -eq 0 ] || fail "$name: exit code $code: $(cat "$work/whole.err")"
    : > "$work/parts.out"
    local sum=0
    for part in "$work"/part.*; do
        "$convert" "$@" "$part" >> "$work/parts.out" 2> "$work/count.err" || fail "$name: a part failed"
        if [ -s "$work/count.err" ]; then sum=$((sum + $(cat "$work/count.err"))); fi
    done
    # standard input gives what the file argument gives, from a file as from a pipe
    "$convert" "$@" < "$work/program.nc" 2> /dev/null | cmp -s - "$work/whole.out" || fail "$name: < file differs"
    cat "$work/program.nc" | "$convert" "$@" 2> /dev/null | cmp -s - "$work/whole.out" || fail "$name: a pipe differs"
    # a pipe filled in odd small blocks, which cut CR LF and two-byte characters between reads
    dd if="$work/program.nc" bs=4093 status=none | "$convert" "$@" 2> "$work/pipe.err" |
        cmp -s - "$work/whole.out" || fail "$name: a pipe in small blocks differs"
    cmp -s "$work/pipe.err" "$work/whole.err" || fail "$name: a pipe in small blocks: standard error differs"
    cmp -s "$work/whole.out" "$work/parts.out" ||
        fail "$name: the whole program's result differs from its parts': $(cmp "$work/whole.out" "$work/parts.out")"
    if [ -s "$work/whole.err" ] || [ "$sum" -ne 0 ]; then
        [ "$(cat "$work/whole.err")" = "$sum" ] || fail "$name: count $(cat "$work/whole.err"), parts give $sum"
    fi
}

check crlf crlf
check "calc add" calc --find Z --op + --value 100 --format 1
check "calc divide" calc --find X --op / --value 3 --format 4
check replace replace --find G01 --with G1
check "space add" space --mode add

# a file on standard input is read from where its offset stands: here after the first line, which the
# shell's read took
{ read -r _; "$convert" space --mode add; } < "$work/program.nc" > "$work/rest.out"
tail -n +2 "$work/program.nc" | "$convert" space --mode add | cmp -s - "$work/rest.out" ||
    fail "standard input: not read from its offset"

# and the result is what it must be: every LF gets a CR before it, nothing else changes
"$convert" crlf "$work/program.nc" | tr -d '\r' | cmp -s - <(tr -d '\r' < "$work/program.nc") ||
    fail "crlf: a character other than CR changed"
[ "$("$convert" crlf "$work/program.nc" | grep -c $'\r\r$')" -eq 200000 ] || fail "crlf: not every LF got its CR"

exit $status
