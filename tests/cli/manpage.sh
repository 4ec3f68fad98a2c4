#!/usr/bin/env bash
# The converter's manual page and its --help cannot drift apart: every conversion and option --help lists
# stands in the page's entry for that conversion, every conversion of the page is one --help lists, and the
# exit codes read the same. Both pages must also format without a warning, and --version gives the version
# the build was configured with, which the editor's about box shows too.
#   manpage.sh CONVERTER CONVERTER_PAGE EDITOR_PAGE VERSION
set -u
convert=$1
page=$2
editor_page=$3
version=$4
status=0
fail() { echo "$*"; status=1; }

for p in "$page" "$editor_page"; do
    warnings=$(groff -man -ww -z -K utf8 "$p" 2>&1)
    [ -z "$warnings" ] || fail "$p does not format cleanly: $warnings"
done

help=$("$convert" --help 2>&1)
# the page as text: font changes dropped, "\-" a hyphen
text=$(sed 's/\\f[BRIP]//g; s/\\-/-/g' "$page")

conversions=$(printf '%s\n' "$help" | sed -n '/^conversions:/,/^$/p' | sed '1d;/^$/d')
[ -n "$conversions" ] || fail "--help lists no conversion"
while read -r name rest; do
    entry=$(printf '%s\n' "$text" | grep -m1 -E "^\.B $name( |$)")
    if [ -z "$entry" ]; then
        fail "the page has no entry for $name"
        continue
    fi
    for option in $(printf '%s\n' "$rest" | grep -oE -- '--[a-z][a-z-]*'); do
        printf '%s\n' "$entry" | grep -qE -- "$option( |$|\])" || fail "the page's entry for $name lacks $option"
    done
done <<< "$conversions"

listed=$(printf '%s\n' "$conversions" | awk '{print $1}')
for name in $(printf '%s\n' "$text" | sed -n '/^\.SH CONVERSIONS/,/^\.SH /p' | sed -n 's/^\.B \([a-z0-9]*\).*/\1/p'); do
    printf '%s\n' "$listed" | grep -qx "$name" || fail "the page describes $name, which --help does not list"
done

codes=$(printf '%s\n' "$help" | sed -n '/^exit status:/,/^$/p' | sed '1d;/^$/d')
[ -n "$codes" ] || fail "--help gives no exit status"
while read -r code meaning; do
    printf '%s\n' "$text" | grep -A1 -xF ".B $code" | grep -qxF -- "$meaning" ||
        fail "the page does not give exit code $code as: $meaning"
done <<< "$codes"

[ "$("$convert" --version)" = "brindlewick-convert $version" ] || fail "--version: $("$convert" --version)"
exit $status
