#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, clang with ASan + UBSan), replays each
# target's seed corpus and kept regression inputs, then fuzzes every target
# for a bounded time on a copy of its corpus (the repository is not changed).
# Exits non-zero on any crash, leak, sanitizer report or broken invariant.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 20)
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_JOBS (targets run
# side by side, default: the number of processors), FUZZ_TARGETS (a
# space-separated subset, e.g. "fuzz_csv fuzz_datafile").
# A failing input is kept under <build dir>/artifacts/; to keep it for good,
# copy it to fuzz/regressions/<target>/ and add a test that reads it.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-20}
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
JOBS=${FUZZ_JOBS:-$(nproc)}
case "$SECONDS_PER_TARGET" in
  ''|*[!0-9]*) echo "usage: $0 [SECONDS_PER_TARGET]" >&2; exit 2 ;;
esac

# --- what the build needs (Debian 12; idempotent) ------------------------------
# (Qt6 Gui is looked up by the top-level CMakeLists.txt, hence libgl-dev.)
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
ensure_packages cmake ninja-build pkg-config clang libclang-rt-14-dev qt6-base-dev qt6-serialport-dev libgl-dev

CXX_COMPILER=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$CXX_COMPILER" ]; then
  echo "fuzz.sh: clang++ not found" >&2
  exit 1
fi

# --- build -------------------------------------------------------------------------
# Debug keeps Qt's range checks (QByteArray::at and operator[] assert on an
# index outside the array, which ASan cannot see inside the array's spare
# capacity); -O1 keeps the targets fast.
cmake -S . -B "$BUILD_DIR" -G Ninja -DKPR5_FUZZ=ON -DCMAKE_CXX_COMPILER="$CXX_COMPILER" \
      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

BIN="$BUILD_DIR/bin"
if [ -n "${FUZZ_TARGETS:-}" ]; then
  read -r -a TARGETS <<<"$FUZZ_TARGETS"
else
  TARGETS=()
  for src in fuzz/fuzz_*.cpp; do TARGETS+=("$(basename "$src" .cpp)"); done
fi

# Shorter allocation stacks keep the targets that build whole tables fast.
export ASAN_OPTIONS="detect_leaks=1:malloc_context_size=8:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kpr5-fuzz.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
ARTIFACTS="$BUILD_DIR/artifacts"
mkdir -p "$ARTIFACTS"
failed=()

input_dirs() { # the corpus and regression folders of a target that exist
  local t=$1 d
  for d in "fuzz/corpus/$t" "fuzz/regressions/$t"; do
    [ -d "$d" ] && echo "$d"
  done
  return 0
}

# --- replay the corpus and the regressions -----------------------------------------
for t in "${TARGETS[@]}"; do
  mapfile -t dirs < <(input_dirs "$t")
  if [ ${#dirs[@]} -eq 0 ]; then
    echo "replay $t: no inputs"
    continue
  fi
  if "$BIN/$t" -runs=0 -artifact_prefix="$ARTIFACTS/$t-" "${dirs[@]}" >"$WORK/$t.replay.log" 2>&1; then
    echo "replay $t: $(find "${dirs[@]}" -type f | wc -l) inputs ok"
  else
    echo "replay $t: FAILED"
    tail -n 60 "$WORK/$t.replay.log"
    failed+=("$t (replay)")
  fi
done

# --- bounded fuzzing, JOBS targets at a time -----------------------------------------
run_one() { # target -> fuzzes a copy of its corpus; the log goes to $WORK/<t>.log
  local t=$1 corpus="$WORK/corpus/$1" d
  mkdir -p "$corpus"
  while IFS= read -r d; do cp -r "$d/." "$corpus/"; done < <(input_dirs "$t")
  "$BIN/$t" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$ARTIFACTS/$t-" "$corpus" >"$WORK/$t.log" 2>&1
}

if [ "$SECONDS_PER_TARGET" -gt 0 ]; then
  declare -A running=()
  report() { # pid -> prints the outcome of its target
    local pid=$1 rc=$2 t=${running[$1]}
    unset "running[$pid]"
    if [ "$rc" -eq 0 ]; then
      echo "fuzz $t: ${SECONDS_PER_TARGET}s, $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$WORK/$t.log" | grep -o '[0-9]*$') runs, no finding"
    else
      echo "fuzz $t: FAILED (exit $rc)"
      tail -n 80 "$WORK/$t.log"
      failed+=("$t")
    fi
  }
  for t in "${TARGETS[@]}"; do
    while [ ${#running[@]} -ge "$JOBS" ]; do
      rc=0; wait -n -p done_pid "${!running[@]}" || rc=$?
      report "$done_pid" "$rc"
    done
    run_one "$t" &
    running[$!]=$t
  done
  while [ ${#running[@]} -gt 0 ]; do
    rc=0; wait -n -p done_pid "${!running[@]}" || rc=$?
    report "$done_pid" "$rc"
  done
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failures in: ${failed[*]} (inputs in $ARTIFACTS)" >&2
  exit 1
fi
echo "fuzz.sh: ${#TARGETS[@]} targets, no finding"
