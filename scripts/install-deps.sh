#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the program need and this machine
# lacks. Quick when everything is present: it asks dpkg first and only then apt.
set -euo pipefail

packages=(
  cmake ninja-build ccache g++ clang clang-14 libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-multimedia-dev libgl-dev
  xvfb xauth x11-apps netpbm
  dpkg-dev desktop-file-utils appstream
  nlohmann-json3-dev libssl-dev libsystemd-dev libcli11-dev libmosquitto-dev mosquitto mosquitto-clients
  prometheus-cpp-dev python3-prometheus-client
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
