#!/usr/bin/env bash
# End-to-end check of the real keyboard hook: xdotool types into a Wine window that has the
# focus while hook_recorder.exe (KbdHook.dll's hook, reporting to a hidden window of its own)
# prints the events that arrive. Each press must come out once, in order, with its key code
# and character; held keys must not repeat; modifier and lock keys must not appear.
#
# Usage: hook_e2e.sh BUILD_DIR    BUILD_DIR holds wintests/hook_recorder.exe and KbdHook.dll
# Exit: 0 passed, 1 failed, 77 skipped (this host cannot run the program).
set -euo pipefail

build=${1:?usage: hook_e2e.sh BUILD_DIR}
exe=$(readlink -f "$build/wintests/hook_recorder.exe")
[ -f "$exe" ] || { echo "hook_e2e: missing $exe"; exit 1; }
[ -f "$(dirname "$exe")/KbdHook.dll" ] || { echo "hook_e2e: missing KbdHook.dll beside it"; exit 1; }

# The loader follows the program's bitness: the PE machine field.
pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$exe" | tr -d ' ')
case $machine in
  014c) loader=/usr/lib/wine/wine ;;
  8664) loader=/usr/lib/wine/wine64 ;;
  *) echo "hook_e2e: unknown machine $machine"; exit 1 ;;
esac
if ! "$loader" --version >/dev/null 2>&1; then
  echo "skipped: $loader cannot run here (a 32-bit loader on a kernel without 32-bit support)"
  exit 77
fi

work=$(mktemp -d /tmp/hook-e2e.XXXXXX)
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own, so no other test's windows take the focus.
for _ in $(seq 1 50); do
  display=$((40 + RANDOM % 60))
  [ -e "/tmp/.X$display-lock" ] && continue
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
  kill -0 "$xvfb_pid" 2>/dev/null && break
  xvfb_pid=""
done
[ -n "$xvfb_pid" ] || { echo "hook_e2e: no free display"; exit 1; }
export DISPLAY=:$display

"$loader" wineboot -i >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 || true

# The window that has the focus and receives the typing.
"$loader" notepad >/dev/null 2>&1 &
target=""
for _ in $(seq 1 120); do
  target=$(xdotool search --name Notepad 2>/dev/null | head -1 || true)
  [ -n "$target" ] && break
  sleep 0.5
done
[ -n "$target" ] || { echo "hook_e2e: the target window did not appear"; exit 1; }

events=$work/events.txt
"$loader" "$exe" 120 >"$events" 2>&1 &
recorder=$!
for _ in $(seq 1 120); do
  grep -q '^ready' "$events" 2>/dev/null && break
  grep -q '^cannot' "$events" 2>/dev/null && break
  sleep 0.5
done
grep -q '^ready' "$events" || { echo "hook_e2e: recorder not ready"; cat "$events"; exit 1; }

xdotool mousemove --window "$target" 100 100 click 1
sleep 0.5
press() { xdotool key "$@"; sleep 0.3; }
press a
xdotool keydown shift; sleep 0.3; press a; xdotool keyup shift; sleep 0.3
press Caps_Lock; press a; press Caps_Lock
press 5
press space
press Return
press Left
press F5
xdotool keydown b; sleep 1.2; xdotool keyup b; sleep 0.3
# Keys the program polls itself: none of them may appear.
press shift; press ctrl; press super; press Num_Lock; press Num_Lock; press Scroll_Lock
press Scroll_Lock; press alt
press F12

for _ in $(seq 1 60); do
  kill -0 "$recorder" 2>/dev/null || break
  sleep 0.5
done

expected="key 41 61
key 41 41
key 41 41
key 35 35
key 20 20
key 0D 0D
key 25 00
key 74 00
key 42 62"
actual=$(grep -E '^(key|event) ' "$events" | tr -d '\r' || true)
if [ "$actual" == "$expected" ]; then
  echo "hook_e2e: 9 key events as expected"
  echo "1 passed, 0 failed"
  exit 0
fi
echo "hook_e2e: events differ"
diff <(echo "$expected") <(echo "$actual") || true
echo "recorder output:"
cat "$events"
echo "0 passed, 1 failed"
exit 1
