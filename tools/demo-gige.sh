#!/usr/bin/env bash
# The demo of `make demo-gige`: the host tool drives the driver, loaded with
# our GigE Vision producer, against Aravis's fake camera in the lab
# (tools/gige-lab.md). Everything that touches the network runs in the lab's
# host namespace; the lab is taken down at the end, also on failure.
#   flock /run/lock/kavrix-lab-session tools/demo-gige.sh build/native/bin
set -euo pipefail
bin=$(cd "${1:?usage: tools/demo-gige.sh BIN_FOLDER}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
lab="$here/gige-lab.sh"
out="$(cd "$here/.." && pwd)/build/demo-gige"
camera="Aravis Fake (GV01)"

# The driver loads the producer named here, in place of the simulator
# beside it.
export KAVRIX_TLI="$bin/gige/libtli.so"
[ -f "$KAVRIX_TLI" ] || { echo "demo-gige: $KAVRIX_TLI is missing; build the target gige_tli" >&2; exit 1; }
host() { "$lab" host "$bin/kavrix-host" --system-path "$out/system" "$@"; }

rm -rf "$out"
mkdir -p "$out/system" "$out/images"
trap '"$lab" down >/dev/null || echo "demo-gige: the lab did not come down: tools/gige-lab.sh down" >&2' EXIT

echo "== The lab: Aravis's fake camera in namespace kxcam, the host in kxhost (link-local addresses only)"
"$lab" up

echo
echo "== The cameras the driver lists through the GigE Vision producer (KAVRIX_TLI=$KAVRIX_TLI)"
host list 2>&1

echo
echo "== $camera opened with its stored settings ($out/system/Kavrix.ini)"
# The settings a configuration dialog would have saved: one section per
# camera name.
cat > "$out/system/Kavrix.ini" <<EOF
[$camera]
Width=640
Height=480
ExposureTimeAbs=10000
EOF
cat "$out/system/Kavrix.ini"
host open "$camera"
host get "$camera" ExposureTimeAbs
host range "$camera" Width

echo
echo "== Three single grabs, each image read row by row in the completion callback"
host grab "$camera" --count 3 --out "$out/images"

echo
echo "== Two seconds of continuous grabbing, and the stream's statistics"
host continuous "$camera" --seconds 2

echo
echo "== The lab comes down"
trap - EXIT
"$lab" down
echo
echo "The grabbed images are in $out/images (binary PGM files, which any image viewer opens)."
