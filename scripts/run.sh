#!/usr/bin/env bash
# Installs what is missing, builds, and starts the controller against the bundled gateway
# simulator on loopback.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build/normal -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal -j "$(nproc)"

if [ ! -x build/normal/src/mav-controller ]; then
  echo "Built. The controller program itself is not runnable yet."
  exit 0
fi
