#!/usr/bin/env bash
# Installs what the project needs on Debian 12 (idempotent) and builds it.
# Usage: scripts/setup.sh [build-dir [target...]]   (default: build, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
shift || true
TARGETS=()
for t in "$@"; do TARGETS+=(--target "$t"); done

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev
          libgl-dev python3 xvfb xauth fonts-noto-cjk)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${TARGETS[@]}"
