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

# Preferences (the program's 32368-byte settings file) selecting that site, Auto Connect on.
prefs="$program_dir/MAV_Controller.cfg"
put() {  # put OFFSET BYTE... (bytes in hex)
  local offset=$1
  shift
  local hex
  hex=$(printf '\\x%s' "$@")
  printf "$hex" | dd of="$prefs" bs=1 seek="$offset" conv=notrunc status=none
}
put_text() { printf '%s' "$2" | dd of="$prefs" bs=1 seek="$1" conv=notrunc status=none; }
put_i32() { put "$1" "$(printf '%02x' $(($2 & 255)))" "$(printf '%02x' $((($2 >> 8) & 255)))" \
  "$(printf '%02x' $((($2 >> 16) & 255)))" "$(printf '%02x' $((($2 >> 24) & 255)))"; }
head -c 32368 /dev/zero >"$prefs"
put 0 1b 00 01                     # version 27, save slot, 1024 x 768
put 4 1f 32 4c 00 b9 9b 67 00      # background and grid colours
put_text 12 "COM1"
put_i32 272 9600
put_text 276 "MAVPCI1.log"
put_text 796 "MAV Controller - Orvane Systems"
put 1056 00 01 01 00 00 00 01 01 01 01 01 01  # custom title off, Auto Connect on, switches
put 1068 f4 01                     # animation 500 ms
put 3271 01                        # network operation
put_i32 3272 1                     # one site, selected
put_text 3280 "MAV-7700 simulator"
put 27280 7f 00 00 01              # 127.0.0.1
put_i32 29280 "$port"
put 31644 01                       # hover descriptions
for entry in $(seq 0 19); do put $((31648 + entry * 36 + 34)) 0a; done  # free PIN entries

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
  (cd "$program_dir" && ./mav-controller)
  exit 0
fi

echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running under Xvfb instead."
exec 3>"$run_dir/xvfb-display.txt"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 2>"$run_dir/xvfb-errors.txt" &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$run_dir/xvfb-display.txt" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$run_dir/xvfb-display.txt")"

(cd "$program_dir" && exec ./mav-controller) >"$run_dir/controller-output.txt" 2>&1 &
controller=$!
pids+=("$controller")
ready=false
for _ in $(seq 60); do
  if synchronised; then ready=true; break; fi
  sleep 1
  kill -0 "$controller" 2>/dev/null || { echo "The controller ended early:"; cat "$run_dir/controller-output.txt"; exit 1; }
done
$ready || { echo "The controller did not synchronise within a minute."; exit 1; }

screenshot="$run_dir/screenshot.png"
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$screenshot"
echo "Connected and synchronised. Screenshot: $screenshot"
kill -TERM "$controller"
wait "$controller" || true
echo "Event log: $program_dir/Logs/MAVPCI1.log"
