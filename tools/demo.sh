#!/usr/bin/env bash
# The demo of `make demo`: the host tool drives the driver against the
# simulated cameras. tools/demo.sh build/native/bin
set -euo pipefail
bin=${1:?usage: tools/demo.sh BIN_FOLDER}
here=$(cd "$(dirname "$0")" && pwd)
host="$bin/kavrix-host"
images="$(cd "$here/.." && pwd)/build/demo-images"
camera="Kavrix KX-1300-60gm (21810742)"

echo "== The embedded default cameras"
"$host" list 2>&1

echo
echo "== Two interfaces, the first without cameras (tools/demo/two-interfaces.ini), with the driver's log"
echo "(the lines come through the host's debug callback; level-1 lines also reach the system's"
echo " debug output: the system log on Linux, and standard error with KAVRIX_DEBUG_OUTPUT=stderr)"
KAVRIX_TLI_CONFIG="$here/demo/two-interfaces.ini" "$host" --log 3 list 2>&1

echo
echo "== $camera opened with its stored settings, and its properties"
"$host" open "$camera"
"$host" range "$camera" Width
"$host" get "$camera" ExposureTimeRaw

echo
echo "== Three single grabs, each image read row by row in the completion callback"
"$host" grab "$camera" --count 3 --out "$images"

echo
echo "== Two seconds of continuous grabbing on port 2"
"$host" continuous "Kavrix KX-5000-24gm (21810743)" --seconds 2 --port 2

echo
echo "== Each default camera's description, read from the camera and walked over its live registers"
for name in "$camera" "Kavrix KX-5000-24gm (21810743)"; do
  echo "$name: $("$bin/kavrix-describe" "$name" | tail -n 1)"
done
echo "(the two errors are on purpose: each camera refuses to read LineStatusAll, and EncoderFrequency"
echo " divides by 0 while no encoder is connected; see tli/README.md)"
echo "(kavrix-describe CAMERA prints the whole tree; kavrix-describe --xml FILE does the same for a file)"
echo
echo "The grabbed images are in $images (binary PGM files, which any image viewer opens)."
