#!/usr/bin/env bash
# A picture of Display > All Gateways following three gateways: a broker, three simulators with a
# service each publishing to it, a patch made on each with mavctl, and the controller's
# --overview window on an X server of its own. The picture goes to docs/screenshots/overview.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build/normal -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal -j "$(nproc)" --target mav-controller mav-gatewayd mavctl mav7700-sim

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
bin="$root/build/normal"
broker_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
printf 'listener %s 127.0.0.1\nallow_anonymous true\n' "$broker_port" >"$work/broker.conf"
/usr/sbin/mosquitto -c "$work/broker.conf" >/dev/null 2>&1 &
pids+=($!)

sites=(north south east)
patches=("3 7" "0 1" "0 3")
for index in 0 1 2; do
  site=${sites[$index]}
  "$bin/sim/mav7700-sim" --tcp 127.0.0.1:0 </dev/null >"$work/$site-sim.txt" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do grep -q '^ready' "$work/$site-sim.txt" && break; sleep 0.1; done
  port=$(sed -n 's/^tcp .*:\([0-9]*\)$/\1/p' "$work/$site-sim.txt")
  "$bin/src/gatewayd/mav-gatewayd" --program-dir "$work/$site" --connect "127.0.0.1:$port" \
    --socket "$work/$site.sock" --mqtt "127.0.0.1:$broker_port" --mqtt-site "$site" \
    >/dev/null 2>&1 &
  pids+=($!)
done
for index in 0 1 2; do
  site=${sites[$index]}
  for _ in $(seq 900); do
    "$bin/src/mavctl/mavctl" --socket "$work/$site.sock" status 2>/dev/null | grep -q ', synchronised;' && break
    sleep 0.1
  done
  "$bin/src/mavctl/mavctl" --socket "$work/$site.sock" --name "dispatch-$((index + 1))" \
    connect ${patches[$index]}
done

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
QT_QPA_PLATFORM=xcb "$bin/src/mav-controller" --program-dir "$work/console" \
  --overview "127.0.0.1:$broker_port" >/dev/null 2>&1 &
pids+=($!)
sleep 4
xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left 0 -top 0 -width 700 -height 104 2>/dev/null |
  pnmtopng 2>/dev/null >"$root/docs/screenshots/overview.png"
echo "docs/screenshots/overview.png"
