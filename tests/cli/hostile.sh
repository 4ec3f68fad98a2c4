#!/usr/bin/env bash
# brindlewick-convert against inputs and outputs it cannot take as they are: each ends with a message on
# standard error and an exit code that says so, never with a success it did not have.
source "$(dirname "$0")/script-setup.sh"

# expect CASE CODE PATTERN: the last run ended with CODE and its standard error matched PATTERN
expect() {
    [ "$code" -eq "$2" ] || fail "$1: exit code $code, expected $2"
    [ -z "$3" ] || grep -q -- "$3" "$work/err" || { fail "$1: standard error lacks \"$3\""; cat "$work/err"; }
}

# A file size limit stops the output part way, as a full disk does.
for i in $(seq 1 2000); do printf 'G01X%d.Z-1.F0.2\r\n' "$i"; done > "$work/long.nc"
(ulimit -f 4; trap '' XFSZ; exec "$convert" space --mode add "$work/long.nc") > "$work/out" 2> "$work/err"
code=$?
expect "output cut short" 1 "cannot write the result to standard output"

# NUL bytes pass through like any other character.
printf 'G01\000X1.\r\n' > "$work/nul.nc"
"$convert" replace --find X --with Y "$work/nul.nc" > "$work/out" 2> "$work/err"
code=$?
expect "NUL bytes" 0 "^1$"
printf 'G01\000Y1.\r\n' | cmp -s - "$work/out" || fail "NUL bytes: output $(od -c "$work/out")"

# A code with no character in code page 932 cannot be written back: the line says where.
printf 'G01\r\n(\xef\x40)\r\n' > "$work/sjis.nc"
"$convert" space --mode add "$work/sjis.nc" > "$work/out" 2> "$work/err"
code=$?
expect "no code page 932 character" 1 "line 2 of the result holds U+FFFD.*no code page 932 character"
[ -s "$work/out" ] && fail "no code page 932 character: something was written"
# through a pipe too, and when the byte comes after megabytes whose result could have been written
cat "$work/sjis.nc" | "$convert" space --mode add > "$work/out" 2> "$work/err"
code=$?
expect "no code page 932 character, a pipe" 1 "line 2 of the result holds U+FFFD.*no code page 932 character"
[ -s "$work/out" ] && fail "no code page 932 character, a pipe: something was written"
awk 'BEGIN { for (i = 1; i <= 300000; i++) printf "G01X%d.Z-1.F0.2\r\n", i }' > "$work/late.nc"
printf '(\xef\x40)\r\n' >> "$work/late.nc"
for args in "space --mode add" "crlf" "calc --find Z --op + --value 1" "replace --find G01 --with G1"; do
    "$convert" $args "$work/late.nc" > "$work/file.out" 2> "$work/file.err"
    file_code=$?
    cat "$work/late.nc" | "$convert" $args > "$work/out" 2> "$work/err"
    code=$?
    [ "$code" -eq "$file_code" ] || fail "$args, a late byte through a pipe: exit code $code, the file's $file_code"
    cmp -s "$work/out" "$work/file.out" || fail "$args, a late byte through a pipe: output differs from the file's"
    cmp -s "$work/err" "$work/file.err" || fail "$args, a late byte through a pipe: standard error differs"
done

# A replacement code page 932 cannot write: on a program of many pieces too, the line says where, and
# nothing is written.
head -n 300000 "$work/late.nc" > "$work/clean.nc"
"$convert" replace --find G01 --with '€' "$work/clean.nc" > "$work/out" 2> "$work/err"
code=$?
expect "a replacement with no code page 932 character" 1 "line 1 of the result holds U+20AC"
[ -s "$work/out" ] && fail "a replacement with no code page 932 character: something was written"

# A folder or a missing file is no input.
"$convert" space --mode add "$work" > "$work/out" 2> "$work/err"
code=$?
expect "a folder" 2 "cannot read"
"$convert" space --mode add "$work/missing.nc" > "$work/out" 2> "$work/err"
code=$?
expect "a missing file" 2 "cannot read"
"$convert" space --mode add < "$work" > "$work/out" 2> "$work/err"
code=$?
expect "a folder on standard input" 2 "cannot read standard input"

exit $status
