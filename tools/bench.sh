#!/usr/bin/env bash
# Runs every benchmark of a build: tools/bench.sh build/native/bin
# A benchmark that misses its target (or fails) does not stop the others;
# the run fails at the end, naming them.
set -euo pipefail
bin=${1:?usage: tools/bench.sh BIN_FOLDER}
missed=()
for bench in "$bin"/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || missed+=("$(basename "$bench")")
done
if [ ${#missed[@]} -ne 0 ]; then
  echo "missed a target or failed: ${missed[*]}"
  exit 1
fi
