#!/usr/bin/env bash
# Installs the Debian packages Quivella needs to build, run and test, when they are missing.
# Safe to run again: it asks apt only for what dpkg does not already have.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-qpa-plugins libqt6test6
  libcurl4-openssl-dev libicu-dev libpcre2-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool x11-utils fonts-wqy-microhei openbox
  nodejs clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# The node binary may come from another source than Debian's package.
if command -v node >/dev/null 2>&1; then
  kept=()
  for p in "${missing[@]}"; do [ "$p" = nodejs ] || kept+=("$p"); done
  missing=("${kept[@]}")
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
