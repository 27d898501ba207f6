#!/usr/bin/env bash
# `make bench`: prints every performance figure of Tapvox; it judges nothing (the targets are in
# the README). Under Wine it runs the build this host can run (see wine-test-build.sh).
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/wine-test-build.sh" "$build" >/dev/null
kind_dir=$(sed -n 's/^set(TAPVOX_WINE_KIND_DIR "\(.*\)" CACHE.*/\1/p' "$build/wine-tests.cmake")
# The template the Wine benchmarks share (tests/e2e/benchsession.py keeps it there too).
export TAPVOX_WINE_TEMPLATE="$build/bench-wine-template"
[ -d "$TAPVOX_WINE_TEMPLATE" ] || python3 "$here/tests/winetest.py" make-template "$TAPVOX_WINE_TEMPLATE"

echo "== The per-key sound path without the platform call (native): read, parse, copy, filter, volume"
"$build/host/bench/tapvox_bench" --benchmark_min_time=0.2

echo
echo "== Time inside the hook callback per key event (Wine)"
python3 "$here/tests/winetest.py" run-exe "$kind_dir/kbdhook/hook_callback_bench.exe" 5000

echo
echo "== Main window handling one NEW_HOOK_SYSTEM event, sent from another process (Wine)"
bash "$here/scripts/bench-events.sh" "$build" 1000

echo
echo "== Idle CPU and memory of Tapvox.exe with each sound engine (Wine)"
bash "$here/scripts/bench-idle.sh" "$build" 30

echo
echo "== The 64-bit helper: start-up's wait for it, and its end after Tapvox's (Wine)"
python3 "$here/tests/e2e/bench_helper.py" "$build" 3

echo
echo "== From an injected key press to the PlaySoundA call (Wine)"
bash "$here/scripts/bench-latency.sh" "$build" 1000

echo
echo "== From a key press to its first sample at a clocked sound device, both engines beside bucklespring,"
echo "   quiet and under a compile; the first key after a minute of silence; the share of each sound heard"
python3 "$here/tests/e2e/bench_device_latency.py" "$build" 300

echo
echo "== Importing a single-file Ogg pack of 100 slices: native, and from Open to the list under Wine"
python3 "$here/tests/e2e/bench_pack_import.py" "$build" 5
