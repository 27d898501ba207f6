#!/usr/bin/env bash
# `make run`: starts the staged Tapvox under Wine, in a prefix kept at BUILD/wineprefix.
# With DISPLAY set, Tapvox runs on that display until you choose Exit in its tray menu.
# Without one, it runs on a virtual display for RUN_SECONDS (10 by default), the screen is saved
# as BUILD/run-screenshot.png, and Tapvox is told to exit; then the display is ended.
set -euo pipefail

build=$(realpath "${1:-build}")
dist="$build/dist/Tapvox"
seconds=${RUN_SECONDS:-10}
[ -f "$dist/Tapvox.exe" ] || { echo "run: no $dist/Tapvox.exe; run 'make dist' first" >&2; exit 1; }

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
tvxctl=""
for candidate in "$build/win32/tests/tools/tvxctl.exe" "$build/win64/tests/tools/tvxctl.exe"; do
  if [ -f "$candidate" ] && can_run "$candidate"; then tvxctl=$candidate; break; fi
done

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [ ! -d "$WINEPREFIX" ]; then
  echo "run: making the Wine prefix $WINEPREFIX (once)"
  "${wine[@]}" wineboot -i >/dev/null 2>&1 </dev/null
fi
# A persistent server whose output goes nowhere, so that nothing holds this script's output open.
wineserver -p >/dev/null 2>&1 </dev/null || true  # fails when one already runs

cd "$dist"
if [ -n "${DISPLAY:-}" ]; then
  echo "run: Tapvox on display $DISPLAY: its icon is in the tray (\"Wine System Tray\"); choose Exit there to end it"
  set +e
  "${wine[@]}" ./Tapvox.exe </dev/null
  code=$?
  echo "run: Tapvox ended with exit code $code"
  exit $code
fi

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
number=$(tr -dc 0-9 < "$display_file")
rm -f "$display_file"
[ -n "$number" ] || { echo "run: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
echo "run: no DISPLAY set, so Tapvox runs on the virtual display $DISPLAY for $seconds s"

"${wine[@]}" ./Tapvox.exe </dev/null >/dev/null 2>&1 &
tapvox_pid=$!
# The first start in a new prefix takes a while; count the seconds from the main window on.
if [ -n "$tvxctl" ]; then
  "${wine[@]}" "$tvxctl" find-window TVX_SOUNDPRG_MAINWND 30000 </dev/null >/dev/null 2>&1 ||
    echo "run: Tapvox's window did not appear within 30 s"
fi
sleep "$seconds"
if import -window root "$build/run-screenshot.png" 2>/dev/null; then
  echo "run: screen saved as $build/run-screenshot.png"
fi

[ -n "$tvxctl" ] && "${wine[@]}" "$tvxctl" send-command 40017 </dev/null >/dev/null 2>&1 || true
for _ in $(seq 100); do kill -0 "$tapvox_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$tapvox_pid" 2>/dev/null; then
  echo "run: Tapvox did not exit when asked; stopping Wine"
else
  set +e
  wait "$tapvox_pid"
  echo "run: Tapvox ended with exit code $?"
fi
