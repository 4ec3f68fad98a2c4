#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the editor, opening FILE when given.
set -euo pipefail
args=()
for a in "$@"; do
    [ -e "$a" ] && a=$(realpath "$a")
    args+=("$a")
done
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target brindlewick
exec build/app/brindlewick "${args[@]}"
