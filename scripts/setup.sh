#!/usr/bin/env bash
# Installs what the project needs on Debian 12 (idempotent) and builds it.
# Usage: scripts/setup.sh [build-dir [target...]]   (default: build, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
shift || true
TARGETS=()
for t in "$@"; do TARGETS+=(--target "$t"); done

# shellcheck source=scripts/packages.sh
source scripts/packages.sh
ensure_packages cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev python3 xvfb xauth fonts-noto-cjk

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${TARGETS[@]}"
