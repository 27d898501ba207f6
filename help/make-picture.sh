#!/usr/bin/env bash
# Redraws docs/help-page.png: a page of the built Help.chm, taken out of the file again and
# rendered by headless Chromium. Usage: help/make-picture.sh [PROGRAM_FOLDER] [TOPIC]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$here/build/dist/Tapvox}
topic=${2:-menu.htm}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
extract_chmLib "$dist/Help.chm" "$work/chm" >/dev/null
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --hide-scrollbars --window-size=720,930 \
  --screenshot="$work/page.png" "file://$work/chm/html/$topic" 2>/dev/null
convert "$work/page.png" -bordercolor '#8090a8' -border 1 -strip "$here/docs/help-page.png"
echo "wrote docs/help-page.png"
