#!/usr/bin/env bash
# Stages the program folder exactly as a user receives it: build/dist/Tapvox/.
set -euo pipefail
build=${1:-build}
dist="$build/dist/Tapvox"
rm -rf "$dist"
mkdir -p "$dist"
cp "$build/win32/app/Tapvox.exe" "$build/win32/kbdhook/KbdHook.dll" "$build/win32/launcher/Launcher.exe" "$dist/"
cp "$build/win64/hookproc/HookProc.exe" "$dist/"
"$build/host/tools/schemegen/schemegen" "$dist/Schemes"
echo "staged $dist"
