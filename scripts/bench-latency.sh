#!/usr/bin/env bash
# The time from a key press to Tapvox's sound call, measured under Wine by key_to_sound_bench.exe
# (kbdhook/bench): KbdHook.dll's hook reporting to the bench's window, keys injected with
# SendInput, the real sound path (SoundSchemesList::PlayNS on a staged scheme) run for each
# key event. Prints p50/p99 once with the machine as it is and once with a busy process beside;
# each run makes a Wine prefix of its own (kbdhook/bench/bench_latency.py).
# Usage: bench-latency.sh BUILD [presses]
set -euo pipefail
build=$(realpath "${1:-build}")
presses=${2:-2000}
here=$(cd "$(dirname "$0")/.." && pwd)

# The build Wine runs here (scripts/wine-test-build.sh), else the 32-bit one.
kind_dir="$build/win32" dist="$build/dist/Tapvox"
if [ -f "$build/wine-tests.cmake" ]; then
  kind_dir=$(sed -n 's/^set(TAPVOX_WINE_KIND_DIR "\([^"]*\)".*/\1/p' "$build/wine-tests.cmake")
  dist=$(sed -n 's/^set(TAPVOX_WINE_DIST "\([^"]*\)".*/\1/p' "$build/wine-tests.cmake")
fi
bench="$kind_dir/kbdhook/key_to_sound_bench.exe"
[ -f "$bench" ] || { echo "bench-latency: no $bench; build first" >&2; exit 1; }
[ -f "$dist/KbdHook.dll" ] || { echo "bench-latency: no staged $dist" >&2; exit 1; }

run() {
  python3 "$here/kbdhook/bench/bench_latency.py" "$bench" "$dist" "$presses"
}
load_pid=""
trap '[ -n "$load_pid" ] && kill "$load_pid" 2>/dev/null || true' EXIT
echo "== the machine as it is, $presses presses"
run
echo "== beside one busy process"
( while :; do :; done ) &
load_pid=$!
run
