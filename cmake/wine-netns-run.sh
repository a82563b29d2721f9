#!/usr/bin/env bash
# wine-netns-run.sh PROGRAM.exe [ARGUMENT...]
#
# Runs a Windows program under Wine inside the lab network namespace the
# caller is in (cmake/netns-run.sh, or `ip netns exec <lab> ...`), and passes
# on its exit status.
#
# Under Wine the sockets belong to the wineserver, not to the program: a
# wineserver outside the lab would put the program's traffic on the
# machine's network. So the program gets a wineserver of its own, started
# here inside the lab, on a Wine prefix of its own: the project's prefix
# (.deps/wine, or WINE_NETNS_BASE) seen through an overlay whose changes live
# in memory, so the project's prefix and its wineserver are never touched.
# The overlay, a private /tmp (where Wine keeps its server's socket; the
# program must not lie there) and all changes vanish with the run.
#
# Refuses to run unless it is in a network namespace other than the
# machine's (KAVRIX_HOST_NETNS names the machine's, netns-run.sh sets it;
# otherwise that of process 1), every IPv4 address there is a loopback or
# link-local one (169.254.0.0/16), and the wineserver it started runs in
# that same namespace.
set -euo pipefail

fail() {
  echo "wine-netns-run: $*; refusing to run" >&2
  exit 1
}

top=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
  [ "$#" -gt 0 ] || { echo "usage: $0 PROGRAM.exe [ARGUMENT...]" >&2; exit 2; }
  if [ -z "${KAVRIX_HOST_NETNS:-}" ]; then
    KAVRIX_HOST_NETNS=$(readlink /proc/1/ns/net 2>/dev/null || true)
    export KAVRIX_HOST_NETNS
  fi
  # A mount namespace of its own for the overlay and the private /tmp.
  user=()
  [ "$(id -u)" -eq 0 ] || user=(--user --map-root-user)
  exec unshare "${user[@]}" --mount --propagation private -- "$0" --inside "$@"
fi
shift

here=$(readlink /proc/self/ns/net)
[ -n "${KAVRIX_HOST_NETNS:-}" ] || fail "cannot tell the machine's network namespace (set KAVRIX_HOST_NETNS)"
[ "$here" != "$KAVRIX_HOST_NETNS" ] || fail "this is the machine's network namespace ($here)"
while read -r address; do
  case "$address" in
    127.*|169.254.*) ;;
    *) fail "the namespace has the address $address, which is no lab address" ;;
  esac
done < <(ip -4 -o address show | awk '{print $4}')

base=$(readlink -f "${WINE_NETNS_BASE:-$top/.deps/wine}")
[ -f "$base/system.reg" ] || fail "no Wine prefix at $base (run make setup)"

# A private /tmp that still shows the machine's (the tree, the programs and
# the prefix may live there): the machine's /tmp below, this namespace's
# writes above, on a tmpfs over /mnt, which only this namespace sees.
mount -t tmpfs -o mode=755 tmpfs /mnt
mkdir -p /mnt/machine-tmp /mnt/tmp-upper /mnt/tmp-work
mount --bind /tmp /mnt/machine-tmp
mount -t overlay overlay -o lowerdir=/mnt/machine-tmp,upperdir=/mnt/tmp-upper,workdir=/mnt/tmp-work /tmp
chmod 1777 /tmp
mkdir -p /mnt/prefix-upper /mnt/prefix-work /tmp/prefix
mount -t overlay overlay -o "lowerdir=$base,upperdir=/mnt/prefix-upper,workdir=/mnt/prefix-work" /tmp/prefix
export WINEPREFIX=/tmp/prefix
export WINEDEBUG="${WINEDEBUG:--all}"

# Foreground, so its process number is known; it ends 5 s after its last
# program (under netns-run.sh also with the namespace's other processes).
wineserver -f -p5 &
server=$!
# Its socket in the private /tmp: /tmp/.wine-<uid>/server-*/ upstream,
# /tmp/wine-<random>/server-*/ in Debian's Wine.
listening() {
  compgen -G "/tmp/.wine-*/server-*/socket" >/dev/null || compgen -G "/tmp/wine-*/server-*/socket" >/dev/null
}
for _ in $(seq 200); do
  listening && break
  kill -0 "$server" 2>/dev/null || fail "the wineserver did not start"
  sleep 0.05
done
listening || fail "the wineserver did not start"
[[ "$(readlink "/proc/$server/exe")" == */wineserver* ]] || fail "process $server is no wineserver"
[ "$(readlink "/proc/$server/ns/net")" = "$(readlink /proc/self/ns/net)" ] ||
  fail "the wineserver (process $server) is not in this network namespace"

status=0
wine "$@" || status=$?
wineserver -k 2>/dev/null || true
wait "$server" 2>/dev/null || true
exit "$status"
