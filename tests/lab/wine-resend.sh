#!/usr/bin/env bash
# Runs in the lab's host namespace: the Windows build under Wine streams from
# our test camera while the camera drops 1 % of its stream packets, and every
# frame comes whole by resend. 512x512: Wine's cost per datagram keeps larger
# frames out of reach on these machines.
# usage: wine-resend.sh CAMERA-PROGRAM KAVRIX-HOST.EXE
set -euo pipefail

camera=$1 host=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
lab=$top/tools/gige-lab.sh
# The camera is a Linux program, made by the native build.
if [ ! -x "$camera" ]; then
  echo "wine-resend: $camera is not built (the native build makes it)"
  exit 77
fi

folder=$(dirname "$host")/wine-resend
mkdir -p "$folder"
printf '[General]\r\nLogLevel=1\r\n[Kavrix KX-1300-]\r\nWidth=512\r\nHeight=512\r\n' >"$folder/Kavrix.ini"
windows() { printf 'Z:%s' "${1//\//\\}"; }

trap '"$lab" ourcamera stop >/dev/null; "$lab" camera start >/dev/null' EXIT
"$lab" ourcamera start "$camera" --drop 0.01 >/dev/null

report=$(KAVRIX_TLI=$(windows "$(dirname "$host")/gige/tli.dll") "$top/cmake/wine-netns-run.sh" "$host" \
  --system-path "$(windows "$folder")" continuous "Kavrix KX-1300-" --seconds 4 2>&1) || { echo "$report"; exit 1; }
echo "$report"
[[ $report =~ delivered\ ([0-9]+),\ incomplete\ 0, ]] && [ "${BASH_REMATCH[1]}" -ge 60 ] || exit 1
[[ $report =~ resend\ requests\ [1-9][0-9]*,\ resent\ [1-9] ]] || exit 1
