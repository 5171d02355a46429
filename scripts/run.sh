#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts Quivella.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release -DQUIVELLA_BUILD_TESTS=OFF -DQUIVELLA_BUILD_BENCH=OFF >/dev/null
cmake --build --preset release --target quivella
binary=out/build/release/quivella
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found; starting under a virtual X server (xvfb-run)."
  echo "To see the window, run on a desktop, or: xvfb-run -a $binary"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$binary"
fi
exec "$binary"
