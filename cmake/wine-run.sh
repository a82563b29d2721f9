#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix and passes on
# its exit status.
top=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$top/.deps/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
