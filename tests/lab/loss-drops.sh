#!/usr/bin/env bash
# Runs in the lab's host namespace: with 10 % GVSP loss, the lab drops about a
# tenth of the fake camera's stream packets while Aravis's receiver runs.
set -euo pipefail

lab="$(dirname "$0")/../../tools/gige-lab.sh"
trap '"$lab" loss off >/dev/null' EXIT
"$lab" loss 10 gvsp >/dev/null

receiver=$(arv-camera-test-0.8 -n 169.254.100.1 -w 512 -h 512 -f 25 -a --no-packet-socket --duration 2 2>&1) ||
  { echo "$receiver"; exit 1; }
[[ $receiver =~ n_received_packets\ *=\ *[1-9] ]] || { echo "$receiver"; exit 1; }

report=$("$lab" loss)
echo "$report"
[[ $report =~ dropped\ ([0-9]+)\ of\ ([0-9]+)\ packets ]] || exit 1
dropped=${BASH_REMATCH[1]} seen=${BASH_REMATCH[2]}
# 2 s at 25 fps of 195 packets: about 9750 seen and 975 dropped (sd 30).
[ "$seen" -ge 2000 ] && [ "$dropped" -ge $((seen * 8 / 100)) ] && [ "$dropped" -le $((seen * 12 / 100)) ]
