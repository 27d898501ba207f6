#!/usr/bin/env bash
# `make soak`: types at Tapvox under Wine for SECONDS of typing (tests/e2e/soak.py) and prints
# what it recorded; it judges nothing. Usage: soak.sh BUILD [SECONDS]
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-600}
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/wine-test-build.sh" "$build" >/dev/null
exec python3 "$here/tests/e2e/soak.py" "$build" "$seconds"
