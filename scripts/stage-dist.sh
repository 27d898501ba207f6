#!/usr/bin/env bash
# Stages the program folder exactly as a user receives it: BUILD/dist/Tapvox/.
# With a second and third argument it stages another build of the 32-bit programs (the 64-bit
# test build of scripts/wine-test-build.sh) into another folder.
set -euo pipefail
build=${1:-build}
programs=${2:-$build/win32}
dist=${3:-$build/dist/Tapvox}
rm -rf "$dist"
mkdir -p "$dist"
cp "$programs/app/Tapvox.exe" "$programs/kbdhook/KbdHook.dll" "$programs/launcher/Launcher.exe" "$dist/"
cp "$build/win64/hookproc/HookProc.exe" "$dist/"
mkdir "$dist/Lngs"
cp "$programs"/Lngs/*.lng "$dist/Lngs/"
"$build/host/tools/schemegen/schemegen" "$dist/Schemes" >/dev/null
# The recorded scheme, cut from Debian's bucklespring-data, with its licence beside it.
"$build/host/tools/recordedscheme/recordedscheme" /usr/share/buckle/wav \
  /usr/share/common-licenses/GPL-2 "$dist/Schemes"
source_root="$(dirname "$0")/.."
cp "$source_root/LICENSE" "$dist/LICENSE.txt"
cp "$source_root/THIRD-PARTY.txt" "$dist/THIRD-PARTY.txt"
bash "$(dirname "$0")/build-help.sh" "$build/help" "$dist"
echo "staged $dist"
