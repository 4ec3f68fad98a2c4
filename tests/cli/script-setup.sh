# Sourced by the command-line test scripts: the converter under test from the first argument, a work
# folder removed at the end, and `fail`, which reports a fault and makes the script end with status 1.
set -u
convert=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

fail() { echo "FAILED: $*"; status=1; }
