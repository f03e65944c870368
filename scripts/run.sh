#!/usr/bin/env bash
# Installs what is missing, builds, lays out a program directory, starts the gateway simulator on
# loopback and the controller against it: the controller connects and synchronises at once.
# Without a display the same runs under Xvfb and a screenshot is saved once synchronised.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build/normal -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal -j "$(nproc)" --target mav-controller mav7700-sim

run_dir="$root/build/run"
program_dir="$run_dir/program"
rm -rf "$run_dir"
mkdir -p "$run_dir"
cmake --install build/normal --prefix "$program_dir" >/dev/null

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# The simulator picks a free loopback port and announces it; its demo mode keeps the gateway
# busy (activity lamps, ports joined and parted) so the operator sees the matrix follow it.
"$root/build/normal/sim/mav7700-sim" --tcp 127.0.0.1:0 --demo --transcript "$run_dir/sim-transcript.txt" \
  </dev/null >"$run_dir/sim-announce.txt" 2>"$run_dir/sim-errors.txt" &
pids+=($!)
for _ in $(seq 100); do grep -q '^ready' "$run_dir/sim-announce.txt" && break; sleep 0.1; done
port=$(sed -n 's/^tcp .*:\([0-9]*\)$/\1/p' "$run_dir/sim-announce.txt")
[ -n "$port" ] || { echo "The simulator did not start:"; cat "$run_dir/sim-errors.txt"; exit 1; }
echo "Simulator listening on 127.0.0.1:$port"

# The site is this run's only: the program directory's stored sites and choice stay untouched.
controller=("$program_dir/mav-controller" --program-dir "$program_dir" --connect "127.0.0.1:$port")

synchronised() {
  grep -q 'MEK_SQUELCH_TYPE' "$run_dir/sim-transcript.txt" 2>/dev/null || return 1
  # Quiet for a second and a half: every reply is in and painted.
  local before after
  before=$(stat -c %s "$run_dir/sim-transcript.txt")
  sleep 1.5
  after=$(stat -c %s "$run_dir/sim-transcript.txt")
  [ "$before" = "$after" ]
}

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the controller; close its window to end."
  "${controller[@]}"
  exit 0
fi

echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running under Xvfb instead."
exec 3>"$run_dir/xvfb-display.txt"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 2>"$run_dir/xvfb-errors.txt" &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$run_dir/xvfb-display.txt" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$run_dir/xvfb-display.txt")"

"${controller[@]}" >"$run_dir/controller-output.txt" 2>&1 &
controller_pid=$!
pids+=("$controller_pid")
ready=false
for _ in $(seq 60); do
  if synchronised; then ready=true; break; fi
  sleep 1
  kill -0 "$controller_pid" 2>/dev/null || { echo "The controller ended early:"; cat "$run_dir/controller-output.txt"; exit 1; }
done
$ready || { echo "The controller did not synchronise within a minute."; exit 1; }

screenshot="$run_dir/screenshot.png"
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$screenshot"
echo "Connected and synchronised. Screenshot: $screenshot"
kill -TERM "$controller_pid"
wait "$controller_pid" || true
echo "Event log: $program_dir/Logs/MAVPCI1.log"
