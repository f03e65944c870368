#!/usr/bin/env bash
# Builds the .deb from a finished build and checks what an installation gets: the files, the
# dependencies found for the programs, and the desktop entry and metainfo validators' verdicts
# (where the validators are installed). Exit 77: skipped, no dpkg-deb on this machine.
set -euo pipefail
build=$1
app_id=$2
command -v dpkg-deb >/dev/null || { echo "dpkg-deb is missing: skipped"; exit 77; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.txt" 2>&1 ||
  { cat "$out/cpack.txt"; exit 1; }
deb=$(ls "$out"/*.deb)

contents=$(dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; print substr($0, 6) }')
failed=0
for wanted in \
  ./usr/bin/mav-controller \
  ./usr/bin/mav7700-sim \
  ./usr/bin/mavctl \
  ./usr/bin/mav-gatewayd \
  ./usr/lib/systemd/system/mav-gatewayd@.service \
  ./usr/lib/systemd/system/mav-gatewayd@.socket \
  ./usr/lib/sysusers.d/mav-controller.conf \
  ./usr/share/doc/mav-controller/control-protocol.md \
  ./usr/share/man/man1/mavctl.1 \
  ./usr/share/man/man8/mav-gatewayd.8 \
  "./usr/share/mav-controller/MAV C_Help.html" \
  ./usr/share/mav-controller/VOQ_Help.pdf \
  ./usr/share/mav-controller/Sounds/Buzz.wav \
  ./usr/share/mav-controller/Sounds/Connect.wav \
  "./usr/share/applications/$app_id.desktop" \
  ./usr/share/icons/hicolor/scalable/apps/mav-controller.svg \
  "./usr/share/metainfo/$app_id.metainfo.xml" \
  ./usr/share/man/man1/mav-controller.1 \
  ./usr/share/man/man1/mav7700-sim.1; do
  grep -qxF "$wanted" <<<"$contents" || { echo "missing from the package: $wanted"; failed=1; }
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6multimedia6 libc6; do
  grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends"; failed=1; }
done

dpkg-deb -x "$deb" "$out/root"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$out/root/usr/share/applications/$app_id.desktop" || failed=1
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$out/root/usr/share/metainfo/$app_id.metainfo.xml" || failed=1
fi
exit $failed
