#!/usr/bin/env bash
# End-to-end check of the real keyboard hook: xdotool types into a Wine window that has the
# focus while hook_recorder.exe (KbdHook.dll's hook, reporting to a hidden window of its own)
# prints the events that arrive. Each press must come out once, in order, with its key code
# and character, and its release once after it; held keys must not repeat; modifier and lock
# keys must not appear as key events or releases, only as the event that sounds nothing, once at
# each press and once at each release.
# Beside it, key_state_probe.exe shows what Tapvox's poll reads from a hidden window of a
# process without the focus: GetKeyState must show the modifiers' down bits and the lock
# keys' states.
#
# Usage: hook_e2e.sh BUILD_DIR    a win32-kind build folder: wintests/hooktools/ holds the two
#                                 programs and KbdHook.dll
# A Wine prefix named by TAPVOX_WINE_TEMPLATE is copied instead of making a new one.
# Exit: 0 passed, 1 failed (also when this host cannot run the build handed in).
set -euo pipefail

build=${1:?usage: hook_e2e.sh BUILD_DIR}
tools=$build/wintests/hooktools
exe=$(readlink -f "$tools/hook_recorder.exe")
probe=$(readlink -f "$tools/key_state_probe.exe")
[ -f "$exe" ] || { echo "hook_e2e: missing $exe"; exit 1; }
[ -f "$probe" ] || { echo "hook_e2e: missing $probe"; exit 1; }
[ -f "$(dirname "$exe")/KbdHook.dll" ] || { echo "hook_e2e: missing KbdHook.dll beside it"; exit 1; }

# The loader follows the program's bitness: the PE machine field.
pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$exe" | tr -d ' ')
case $machine in
  014c) loader=/usr/lib/wine/wine ;;
  8664) loader=/usr/lib/wine/wine64 ;;
  *) echo "hook_e2e: unknown machine $machine"; exit 1 ;;
esac
# A build this host cannot run is the wrong build for it, not a reason to pass over the check:
# where the kernel runs no 32-bit programs the win32on64 build is the one to hand in.
if [ "$machine" == 014c ] && grep -qs qemu-i386 /proc/sys/fs/binfmt_misc/*; then
  echo "hook_e2e: $build is 32-bit and 32-bit programs run here only under an emulator," \
       "where Wine hangs; run it on the 64-bit build of the same sources"
  exit 1
fi
if ! timeout 60 "$loader" --version >/dev/null 2>&1; then
  echo "hook_e2e: $loader cannot run here (the kernel runs no 32-bit programs?);" \
       "run it on the 64-bit build of the same sources"
  exit 1
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

# A display of our own, so no other test's windows take the focus; Xvfb picks a free number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "hook_e2e: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -1 "$work/display")

if [ -n "${TAPVOX_WINE_TEMPLATE:-}" ] && [ -d "$TAPVOX_WINE_TEMPLATE" ]; then
  cp -a "$TAPVOX_WINE_TEMPLATE" "$WINEPREFIX"
else
  "$loader" wineboot -i >/dev/null 2>&1
fi
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
polls=$work/polls.txt
"$loader" "$exe" 120 >"$events" 2>&1 &
"$loader" "$probe" 120 >"$polls" 2>&1 &
probe_pid=$!
for _ in $(seq 1 120); do
  grep -q '^ready' "$events" 2>/dev/null && grep -q '^ready' "$polls" 2>/dev/null && break
  grep -q '^cannot' "$events" 2>/dev/null && break
  sleep 0.5
done
grep -q '^ready' "$events" || { echo "hook_e2e: recorder not ready"; cat "$events"; exit 1; }
grep -q '^ready' "$polls" || { echo "hook_e2e: probe not ready"; cat "$polls"; exit 1; }

# Each step waits for what it must cause, never for a fixed time; a condition that does not come
# within a minute fails the check with its name.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 1 600); do
    "$@" && return 0
    sleep 0.1
  done
  echo "hook_e2e: $what did not happen"
  echo "recorder output:"; cat "$events"
  echo "probe output:"; cat "$polls"
  exit 1
}
recorded() { grep -cE '^(key|up|event) ' "$events" || true; }
recorded_at_least() { [ "$(recorded)" -ge "$1" ]; }
# Probe lines of one key whose GetKeyState down bit (0x80) is set (down) or clear (up).
probe_lines() {
  local pattern='.[0-7].'
  [ "$2" == down ] && pattern='.[89A-F].'
  grep -cE "^poll $1 sync=.$pattern" "$polls" || true
}
probe_lines_above() { [ "$(probe_lines "$1" "$2")" -gt "$3" ]; }

# Acts and waits until the recorder has printed this many more lines.
act() {
  local more=$1 before
  shift
  before=$(recorded)
  "$@"
  wait_for "$* recorded as $more more line(s)" recorded_at_least $((before + more))
}

# Without a window manager the X server's focus follows the pointer, so the keys go where it
# rests; notepad, the one visible window, is Wine's foreground window from its start.
xdotool mousemove --window "$target" 100 100 click 1
pointer_on_target() { xdotool getmouselocation --shell | grep -qx "WINDOW=$target"; }
wait_for "the pointer resting on the target window" pointer_on_target
act 2 xdotool key a
act 1 xdotool keydown shift
act 2 xdotool key a
act 1 xdotool keyup shift
act 2 xdotool key Caps_Lock
act 2 xdotool key a
act 2 xdotool key Caps_Lock
act 2 xdotool key 5
act 2 xdotool key space
act 2 xdotool key Return
act 2 xdotool key Left
act 2 xdotool key F5
# Held for long enough that a key that repeats would repeat: this pause is the input itself.
act 2 xdotool keydown b sleep 1.2 keyup b
# Keys the program polls itself: none of them may reach the recorder as a key event. Each is
# held until the probe has seen it down, and let go until it has seen it up.
declare -A vk=([shift]=10 [ctrl]=11 [alt]=12 [super]=5B [Caps_Lock]=14 [Num_Lock]=90
               [Scroll_Lock]=91)
hold() {
  local code=${vk[$1]} downs ups
  downs=$(probe_lines "$code" down)
  act 1 xdotool keydown "$1"
  wait_for "the probe seeing $1 down" probe_lines_above "$code" down "$downs"
  ups=$(probe_lines "$code" up)
  act 1 xdotool keyup "$1"
  wait_for "the probe seeing $1 up" probe_lines_above "$code" up "$ups"
}
for key in shift ctrl super Num_Lock Num_Lock Scroll_Lock Scroll_Lock Caps_Lock Caps_Lock alt; do
  hold "$key"
done
# F12 ends the recording: anything a key above caused late would come before it.
xdotool key F12
wait_for "the recorder ending at F12" grep -q '^done' "$events"

change="event 00020000"
expected="key 41 61
up 41
$change
key 41 41
up 41
$change
$change
$change
key 41 41
up 41
$change
$change
key 35 35
up 35
key 20 20
up 20
key 0D 0D
up 0D
key 25 00
up 25
key 74 00
up 74
key 42 62
up 42$(printf "\n$change%.0s" $(seq 1 20))"
actual=$(grep -E '^(key|up|event) ' "$events" | tr -d '\r' || true)
passed=0
failed=0
if [ "$actual" == "$expected" ]; then
  echo "hook_e2e: 9 key events, their 9 releases and 26 polled-key changes as expected"
  passed=$((passed + 1))
else
  echo "hook_e2e: events differ"
  diff <(echo "$expected") <(echo "$actual") || true
  echo "recorder output:"
  cat "$events"
  failed=$((failed + 1))
fi

kill "$probe_pid" 2>/dev/null || true
# The poll: modifiers need GetKeyState's down bit (0x80) while held and clear after; lock
# keys need its toggle (Caps Lock: bit 0; Num and Scroll Lock: the whole word) to come on
# and, after the second press, go back to where it started.
if python3 - "$polls" <<'PY'
import sys
values = {}
for line in open(sys.argv[1], errors="replace"):
    parts = line.split()
    if len(parts) == 4 and parts[0] == "poll":
        values.setdefault(parts[1], []).append(int(parts[2][5:], 16))
problems = []
for key in ("10", "11", "12", "5B"):
    seen = values.get(key, [])
    if not any(v & 0x80 for v in seen) or not seen or seen[-1] & 0x80:
        problems.append("vk %s: down bit not seen while held and clear after: %s" % (key, seen))
for key, bits in (("14", 0x01), ("90", 0xFFFF), ("91", 0xFFFF)):
    seen = values.get(key, [])
    first = seen[0] & bits if seen else None
    on_while_up = [v for v in seen if not v & 0x80 and (v & bits) != first]
    if not seen or not on_while_up or (seen[-1] & bits) != first:
        problems.append("vk %s: state did not come on and go back: %s" % (key, seen))
for problem in problems:
    print("hook_e2e: poll " + problem)
sys.exit(1 if problems else 0)
PY
then
  echo "hook_e2e: GetKeyState from a hidden window without the focus shows every polled key"
  passed=$((passed + 1))
else
  echo "probe output:"
  cat "$polls"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
