#!/usr/bin/env bash
# The configuration dialog of each simulated camera, rendered under Wine on a
# virtual display to PNG files, one with a validation error in the status bar:
#     tools/screenshots.sh build/mingw/bin OUT_FOLDER
set -euo pipefail
bin=${1:?usage: tools/screenshots.sh BIN_FOLDER OUT_FOLDER}
out=${2:?usage: tools/screenshots.sh BIN_FOLDER OUT_FOLDER}
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
shoot() {
  "$top/cmake/wine-x-screenshot.sh" "$out/$1" "$bin/dialog-demo.exe" "${@:2}"
}
shoot dialog-kx1300.png "Kavrix KX-1300-60gm (21810742)"
shoot dialog-kx5000.png "Kavrix KX-5000-24gm (21810743)"
shoot dialog-kx1300-invalid.png "Kavrix KX-1300-60gm (21810742)" invalid
