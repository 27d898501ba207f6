#!/usr/bin/env bash
# `make run`: starts the staged Tapvox under Wine. It runs the program folder that runs on this
# host: the one BUILD/wine-tests.cmake names (scripts/wine-test-build.sh writes it), else
# BUILD/dist/Tapvox.
# With DISPLAY set, Tapvox runs on that display, in a prefix kept at BUILD/wineprefix, until you
# choose Exit in its tray menu. Without one, scripts/demo.py shows it at work on a virtual
# display: a sentence typed into another window, what Tapvox played saved as BUILD/demo/typing.wav
# and the screen as BUILD/demo/screen.png.
set -euo pipefail

build=$(realpath "${1:-build}")
here=$(cd "$(dirname "$0")/.." && pwd)
dist=""
if [ -f "$build/wine-tests.cmake" ]; then
  dist=$(sed -n 's/^set(TAPVOX_WINE_DIST "\([^"]*\)".*/\1/p' "$build/wine-tests.cmake")
fi
[ -n "$dist" ] && [ -f "$dist/Tapvox.exe" ] || dist="$build/dist/Tapvox"
[ -f "$dist/Tapvox.exe" ] || { echo "run: no $dist/Tapvox.exe; run 'make dist' first" >&2; exit 1; }
echo "run: program folder $dist"

if [ -z "${DISPLAY:-}" ]; then
  exec python3 "$here/scripts/demo.py" "$build" "$dist"
fi

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Wine under a qemu-i386 registration crawls and hangs: hide it in a namespace of our own.
wine=()
if grep -qs qemu-i386 /proc/sys/fs/binfmt_misc/*; then
  wine=(unshare -Urm sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null; exec "$@"' sh)
fi
# Debian's `wine` script starts the 32-bit loader first, which a kernel without 32-bit support
# cannot execute; the 64-bit loader still runs 64-bit programs there.
runs_32bit=1
"${wine[@]}" /usr/lib/wine/wine --version >/dev/null 2>&1 </dev/null || runs_32bit=0
if [ $runs_32bit = 1 ] || [ ! -x /usr/lib/wine/wine64 ]; then
  wine+=(wine)
else
  wine+=(/usr/lib/wine/wine64)
  export WINELOADER=/usr/lib/wine/wine64
fi

# Whether Wine here can run a program: 64-bit always, 32-bit only with a kernel that runs the
# 32-bit loader. The machine field sits 4 bytes into the PE header, whose offset is at 0x3C.
can_run() {
  local header machine
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j $((header + 4)) -N2 "$1" | tr -d ' ')
  [ "$machine" = 8664 ] || { [ "$machine" = 014c ] && [ $runs_32bit = 1 ]; }
}

can_run "$dist/Tapvox.exe" || {
  echo "run: Tapvox.exe is 32-bit, and this kernel cannot run 32-bit programs, so Wine cannot run it" >&2
  exit 1
}
if [ ! -d "$WINEPREFIX" ]; then
  echo "run: making the Wine prefix $WINEPREFIX (once)"
  "${wine[@]}" wineboot -i >/dev/null 2>&1 </dev/null
fi
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# A persistent server whose output goes nowhere, so that nothing holds this script's output open.
wineserver -p >/dev/null 2>&1 </dev/null || true  # fails when one already runs

cd "$dist"
echo "run: Tapvox on display $DISPLAY: its icon is in the tray (\"Wine System Tray\"); choose Exit there to end it"
set +e
"${wine[@]}" ./Tapvox.exe </dev/null
code=$?
echo "run: Tapvox ended with exit code $code"
exit $code
