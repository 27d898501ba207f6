#!/usr/bin/env bash
# Draws docs/schemes.png: waveforms of a few bundled schemes (letter, Space, Enter).
# Usage: tools/schemegen/make-picture.sh [BUILD]   (needs `make host BUILD=...` first)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
plot="$build/host/tools/schemegen/schemeplot"
mvg=$(mktemp --suffix=.mvg)
trap 'rm -f "$mvg"' EXIT
"$plot" "$mvg"
mkdir -p "$root/docs"
convert "mvg:$mvg" -strip "$root/docs/schemes.png"
echo "wrote docs/schemes.png"
