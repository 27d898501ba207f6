#!/usr/bin/env bash
# Runs each fuzz target for SECONDS seconds from a scratch copy of its seed corpus.
# Usage: scripts/fuzz.sh BUILD_FUZZ_DIR SECONDS
set -euo pipefail
build=${1:?usage: fuzz.sh BUILD_FUZZ_DIR SECONDS}
seconds=${2:?usage: fuzz.sh BUILD_FUZZ_DIR SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)

for target in fuzz_scheme_text fuzz_wave; do
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/$target.XXXXXX")
  cp "$root/fuzz/corpus/${target#fuzz_}/"* "$scratch/"
  echo "fuzz: $target for $seconds s (scratch $scratch)"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$scratch/" "$scratch"; then
    echo "fuzz: $target failed; the input that failed is kept in $scratch" >&2
    exit 1
  fi
  rm -rf "$scratch"
done
