#!/usr/bin/env bash
# Runs every benchmark of a build: tools/bench.sh build/native/bin
set -euo pipefail
bin=${1:?usage: tools/bench.sh BIN_FOLDER}
for bench in "$bin"/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench"
done
