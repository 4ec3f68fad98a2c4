#!/usr/bin/env bash
# Redraws app/icons/*.png and the desktop's application icons in data/desktop/ from DrawIcons.cpp.
set -euo pipefail
cd "$(dirname "$0")/../.."
# the SVG of the application icon is written through Qt's SVG module
dpkg-query -W -f='${Status}' qt6-svg-dev 2>/dev/null | grep -q 'install ok installed' ||
    { sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"; $sudo apt-get install -y -qq --no-install-recommends qt6-svg-dev; }
cmake -S tools/icons -B build-icons -G Ninja >/dev/null
cmake --build build-icons
QT_QPA_PLATFORM=offscreen build-icons/draw-icons app/icons data/desktop
