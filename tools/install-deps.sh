#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need, when any is missing.
set -euo pipefail
# clang and its runtime libraries build the fuzz targets (fuzz.sh); the last line checks the installation
# and the Debian package (desktop entry, MIME file, manual pages, shared library dependencies, lintian)
packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libxtst-dev
          fonts-ipafont-gothic xvfb xauth clang libclang-rt-14-dev
          desktop-file-utils libxml2-utils shared-mime-info groff-base dpkg-dev file lintian)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
