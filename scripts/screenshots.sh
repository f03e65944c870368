#!/usr/bin/env bash
# Pictures of the main window and every dialog at the three screen sizes, for the manual and the
# README: builds the capture program, then for each size starts an X server of that size (Xvfb)
# and lets the capture program run the controller against the gateway simulator. The pictures go
# to docs/screenshots/<size>/ under fixed names, replacing the previous ones.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build/normal -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal -j "$(nproc)" --target mav-capture-windows

work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

sizes=(800x600 1024x768 1280x1024)
for index in 0 1 2; do
  size=${sizes[$index]}
  out="$root/docs/screenshots/$size"
  rm -rf "$out"
  exec 3>"$work/display-$size"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 2>"$work/xvfb-errors.txt" &
  xvfb=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display-$size" ] && break; sleep 0.1; done
  [ -s "$work/display-$size" ] || { echo "Xvfb did not start:"; cat "$work/xvfb-errors.txt"; exit 1; }
  echo "=== $size"
  DISPLAY=":$(cat "$work/display-$size")" QT_QPA_PLATFORM=xcb \
    "$root/build/normal/tools/screenshots/mav-capture-windows" "$index" "$out"
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
  xvfb=""
done
du -sh "$root/docs/screenshots"
