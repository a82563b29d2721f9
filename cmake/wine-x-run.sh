#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X display of its own (Xvfb),
# for tests that open real windows; passes on the program's exit status.
top=$(cd "$(dirname "$0")/.." && pwd)
exec xvfb-run -a -s "-screen 0 1024x768x24" "$top/cmake/wine-run.sh" "$@"
