#!/usr/bin/env bash
# Redraws app/icons/*.png from DrawIcons.cpp.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S tools/icons -B build-icons -G Ninja >/dev/null
cmake --build build-icons
QT_QPA_PLATFORM=offscreen build-icons/draw-icons app/icons
