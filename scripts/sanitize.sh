#!/usr/bin/env bash
# Builds the program and the whole test suite with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer, and runs every test.
# Exits non-zero on a failing test or any sanitizer report.
#
# Usage: scripts/sanitize.sh [build-dir]   (default: build-asan)
# Environment: SANITIZE_JOBS (tests run side by side, default 2), and any
# further ctest arguments in CTEST_ARGS (e.g. CTEST_ARGS="-R tst_csv").
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-asan}

# shellcheck source=scripts/packages.sh
source scripts/packages.sh
ensure_packages cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev

# Debug keeps Qt's own range checks (Q_ASSERT in QByteArray, QList, QString)
# active in our code, besides the sanitizers.
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKPR5_SANITIZE=ON >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

# Leaks are reported at exit. Qt and the system libraries keep a few
# allocations for the life of the process (plugins, fonts, the offscreen
# platform); scripts/lsan.supp names those libraries, and only them.
export ASAN_OPTIONS="suppressions=$PWD/scripts/asan.supp:detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"

start=$(date +%s)
status=0
# shellcheck disable=SC2086
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "${SANITIZE_JOBS:-2}" --timeout 900 \
      ${CTEST_ARGS:-} || status=$?
echo "sanitize.sh: tests ran in $(( $(date +%s) - start )) s"
exit $status
