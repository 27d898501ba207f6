#!/usr/bin/env bash
# Idle CPU time and memory of the staged Tapvox under Wine: bench-idle.sh [BUILD] [SECONDS].
set -euo pipefail
build=${1:-build}
seconds=${2:-30}
[ -f "$build/dist/Tapvox/Tapvox.exe" ] || { echo "bench-idle: run 'make dist' first" >&2; exit 1; }
exec python3 "$(dirname "$0")/../tests/e2e/bench_idle.py" "$build" "$seconds"
