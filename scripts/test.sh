#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UBSan, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
preset=asan
if [ "${CI:-}" = "true" ]; then
  preset=ci   # same build, warnings as errors
fi
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
