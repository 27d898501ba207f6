#!/usr/bin/env bash
# The time from a key press to Tapvox's sound call, measured under Wine by key_to_sound_bench.exe
# (kbdhook/bench): KbdHook.dll's hook reporting to the bench's window, keys injected with
# SendInput, the real sound path (SoundSchemesList::PlayNS on a staged scheme) run for each
# key event. Prints p50/p99 once with the machine as it is and once with a busy process beside;
# each run has a Wine session of its own (kbdhook/bench/bench_latency.py).
# Usage: bench-latency.sh BUILD [presses]
set -euo pipefail
build=$(realpath "${1:-build}")
presses=${2:-2000}
here=$(cd "$(dirname "$0")/.." && pwd)

run() {
  python3 "$here/kbdhook/bench/bench_latency.py" "$build" "$presses"
}
load_pid=""
trap '[ -n "$load_pid" ] && kill "$load_pid" 2>/dev/null || true' EXIT
echo "== the machine as it is, $presses presses"
run
echo "== beside one busy process"
( while :; do :; done ) &
load_pid=$!
run
