#!/usr/bin/env bash
# The demo of `make demo`: the host tool drives the driver against the
# simulated cameras. tools/demo.sh build/native/bin
set -euo pipefail
bin=${1:?usage: tools/demo.sh BIN_FOLDER}
here=$(cd "$(dirname "$0")" && pwd)
host="$bin/kavrix-host"

echo "== The embedded default cameras"
"$host" list 2>&1

echo
echo "== Two interfaces, the first without cameras (tools/demo/two-interfaces.ini), with the driver's log"
echo "(the lines come through the host's debug callback; level-1 lines also reach the system's"
echo " debug output: the system log on Linux, and standard error with KAVRIX_DEBUG_OUTPUT=stderr)"
KAVRIX_TLI_CONFIG="$here/demo/two-interfaces.ini" "$host" --log 3 list 2>&1

echo
echo "== Each default camera's description, read from the camera and walked over its live registers"
for camera in "Kavrix KX-1300-60gm (21810742)" "Kavrix KX-5000-24gm (21810743)"; do
  echo "$camera: $("$bin/kavrix-describe" "$camera" | tail -n 1)"
done
echo "(kavrix-describe CAMERA prints the whole tree; kavrix-describe --xml FILE does the same for a file)"
