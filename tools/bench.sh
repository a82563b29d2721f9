#!/usr/bin/env bash
# Runs every benchmark of a build: tools/bench.sh build/native/bin
# Each runs even when one before it misses its target; the exit status says
# whether all met theirs.
set -uo pipefail
bin=${1:?usage: tools/bench.sh BIN_FOLDER}
status=0
for bench in "$bin"/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
exit $status
