#!/usr/bin/env bash
# Installs what is missing, builds, starts the gateway simulator on loopback and mav-gatewayd
# against it with its control socket in build/run-service/, then waits until Ctrl-C. Another
# terminal drives it with mavctl (the command is printed once the service is ready).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build/normal -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal -j "$(nproc)" --target mav-gatewayd mavctl mav7700-sim

run_dir="$root/build/run-service"
rm -rf "$run_dir"
mkdir -p "$run_dir"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT INT TERM

"$root/build/normal/sim/mav7700-sim" --tcp 127.0.0.1:0 --transcript "$run_dir/sim-transcript.txt" \
  </dev/null >"$run_dir/sim-announce.txt" 2>"$run_dir/sim-errors.txt" &
pids+=($!)
for _ in $(seq 100); do grep -q '^ready' "$run_dir/sim-announce.txt" && break; sleep 0.1; done
port=$(sed -n 's/^tcp .*:\([0-9]*\)$/\1/p' "$run_dir/sim-announce.txt")
[ -n "$port" ] || { echo "The simulator did not start:"; cat "$run_dir/sim-errors.txt"; exit 1; }

socket="$run_dir/control.sock"
"$root/build/normal/src/gatewayd/mav-gatewayd" --program-dir "$run_dir/program" \
  --connect "127.0.0.1:$port" --socket "$socket" &
pids+=($!)
mavctl="$root/build/normal/src/mavctl/mavctl"
for _ in $(seq 100); do "$mavctl" --socket "$socket" status >/dev/null 2>&1 && break; sleep 0.1; done
echo "mav-gatewayd serves the simulator (127.0.0.1:$port) on $socket; the first synchronisation"
echo "takes most of a minute. In another terminal:"
echo "  $mavctl --socket $socket ports"
echo "Ctrl-C ends both."
wait "${pids[1]}"
