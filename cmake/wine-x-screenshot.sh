#!/usr/bin/env bash
# Saves a PNG of a Windows program's window, run under Wine on a virtual X
# display:
#     cmake/wine-x-screenshot.sh OUT.png PROGRAM.exe [ARGS...]
# The program prints "ready LEFT TOP RIGHT BOTTOM" (its window's screen
# rectangle) once it has drawn itself; the picture is cut to that rectangle,
# widened by MARGIN pixels (default 0) for popups that reach past it, SETTLE
# seconds (default 1) after "ready" so the last paint has reached the display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
[ "$#" -ge 2 ] || { echo "usage: $0 OUT.png PROGRAM [ARGS...]" >&2; exit 2; }

if [ -z "${KAVRIX_SCREENSHOT_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env KAVRIX_SCREENSHOT_DISPLAY=1 "$0" "$@"
fi

out=$1
shift
convert=/usr/bin/convert
[ -x "$convert" ] || convert=$(command -v convert)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

"$top/cmake/wine-run.sh" "$@" >"$log" 2>/dev/null &
pid=$!
ready=""
for _ in $(seq 1 600); do
  ready=$(grep -m1 '^ready ' "$log" || true)
  [ -n "$ready" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$ready" ]; then
  echo "wine-x-screenshot: $1 did not get ready" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
# Let the last paint reach the X server.
sleep "${SETTLE:-1}"
read -r _ left top_ right bottom <<<"$(echo "$ready" | tr -d '\r')"
margin=${MARGIN:-0}
left=$((left > margin ? left - margin : 0))
top_=$((top_ > margin ? top_ - margin : 0))
width=$((right - left + margin))
height=$((bottom - top_ + margin))
# The root picture can miss the contents of popups (a drop-down calendar), so
# each of the program's windows is read by itself and laid over it, bottom first.
work=$(mktemp -d)
trap 'rm -f "$log"; rm -rf "$work"' EXIT
xwd -root -silent | "$convert" xwd:- "$work/screen.png"
program=$(basename "$1")
xwininfo -root -tree | awk -v program="\"$program\"" '
  index($0, program) && $0 ~ /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ +\+-?[0-9]+\+-?[0-9]+$/ {
    split($NF, at, "+"); split($(NF-1), size, "x")
    if (size[1] > 1 && size[2] + 0 > 1) print $1, at[2], at[3]
  }' | tac >"$work/windows"
n=0
while read -r id x y; do
  if xwd -id "$id" -silent 2>/dev/null | "$convert" xwd:- "$work/w$n.png" 2>/dev/null; then
    "$convert" "$work/screen.png" "$work/w$n.png" -geometry "+$x+$y" -composite "$work/screen.png"
  fi
  n=$((n + 1))
done <"$work/windows"
"$convert" "$work/screen.png" -crop "${width}x${height}+${left}+${top_}" +repage "png:$out"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "wine-x-screenshot: wrote $out"
