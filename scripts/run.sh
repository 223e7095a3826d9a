#!/usr/bin/env bash
# Sets up, builds and runs the clone utility.
#   scripts/run.sh              runs against the simulated radio
#   scripts/run.sh /dev/ttyUSB0 runs against a real radio on that port (or COMn)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build kpr5 kpr5-radio-sim
BIN=build/bin

if [ $# -gt 0 ]; then
  exec "$BIN/kpr5" --port "$1"
fi

# No port given: start the simulated radio and point the program at it.
LINK=${TMPDIR:-/tmp}/kpr5-sim-$$
IMAGE=${KPR5_SIM_IMAGE:-$HOME/.kpr5-sim.img}
args=(--link "$LINK" --save "$IMAGE" --baud 57600)
[ -f "$IMAGE" ] && args+=(--image "$IMAGE")
"$BIN/kpr5-radio-sim" "${args[@]}" >/dev/null &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$LINK" ] && break; sleep 0.1; done
echo "Simulated radio on $LINK (memory kept in $IMAGE)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb (set DISPLAY to see the window)."
  xvfb-run -a "$BIN/kpr5" --port "$LINK"
else
  "$BIN/kpr5" --port "$LINK"
fi
