#!/usr/bin/env bash
# Chooses what the Wine tests run. Where the kernel runs 32-bit programs they run the 32-bit
# build and the staged program folder. Where it does not (no IA-32 emulation: the 32-bit Wine
# loader cannot start, or only crawls under an emulator), they run a 64-bit build of the same
# sources, staged the same way, and a 64-bit setup program made from that folder.
# TAPVOX_ASSUME_NO_32BIT=1 takes the second path on any host. Writes BUILD/wine-tests.cmake for
# the native build's ctest.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
out="$build/wine-tests.cmake"

if python3 "$here/tests/winetest.py" host-runs-32bit; then
  kind_dir="$build/win32"
  dist="$build/dist/Tapvox"
  installer="$build/installer"
  echo "Wine tests: the 32-bit build"
else
  if [ "${TAPVOX_ASSUME_NO_32BIT:-}" = 1 ]; then
    echo "Wine tests: TAPVOX_ASSUME_NO_32BIT=1, so they run a 64-bit build of the same sources"
  else
    echo "Wine tests: this kernel runs no 32-bit programs, so they run a 64-bit build of the same sources"
  fi
  cmake -S "$here" -B "$build/win32on64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/tests/wine64-flavor.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build/win32on64"
  kind_dir="$build/win32on64"
  dist="$build/dist-win32on64/Tapvox"
  bash "$here/scripts/stage-dist.sh" "$build" "$kind_dir" "$dist"
  installer="$build/installer-win32on64"
  python3 "$here/scripts/build-installer.py" "$dist" "$installer" amd64-unicode
fi
cat > "$out" <<CACHE
set(TAPVOX_WINE_KIND_DIR "$(cd "$kind_dir" && pwd)" CACHE PATH "" FORCE)
set(TAPVOX_WINE_DIST "$(cd "$dist" && pwd)" CACHE PATH "" FORCE)
set(TAPVOX_WINE_INSTALLER_DIR "$(cd "$installer" && pwd)" CACHE PATH "" FORCE)
CACHE
