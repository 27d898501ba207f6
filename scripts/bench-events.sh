#!/usr/bin/env bash
# Time Tapvox takes to handle one key event under Wine (p50, p99): bench-events.sh [BUILD] [COUNT].
set -euo pipefail
build=${1:-build}
count=${2:-1000}
exec python3 "$(dirname "$0")/../tests/e2e/bench_sound_events.py" "$build" "$count"
