#!/usr/bin/env bash
# netns-run.sh COMMAND [ARGUMENT...]
#
# Runs a command in a throw-away network namespace of its own, which has no
# way out to the machine's network, and passes on its exit status. The
# namespace holds, besides loopback, the lab that the network tests of os/
# count on:
#
#   veth-kx0  169.254.10.1/16                    MTU 9000, up
#   veth-kx1  169.254.20.1/16, 169.254.30.1/16   MTU 9000, up (the other end of veth-kx0)
#   veth-kx2  169.254.40.1/24                    MTU 1500, no link (its other end, veth-kx3, is down)
#
# The command also runs in a process namespace of its own: when it ends, or
# when this script is killed, every process it left is ended, and the kernel
# removes the namespace with its links. Nothing stays behind.
#
# Root runs it as it is; another user gets a user namespace in which it is
# root (the capabilities then hold in the lab only).
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
  [ "$#" -gt 0 ] || { echo "usage: $0 COMMAND [ARGUMENT...]" >&2; exit 2; }
  user=()
  [ "$(id -u)" -eq 0 ] || user=(--user --map-root-user)
  # The namespace of the caller, which the lab must not be.
  KAVRIX_HOST_NETNS=$(readlink /proc/self/ns/net)
  export KAVRIX_HOST_NETNS
  exec unshare "${user[@]}" --net --pid --fork --kill-child --mount-proc -- "$0" --inside "$@"
fi
shift

# The first process of its own process namespace, in a network namespace
# other than the caller's: only so through the unshare above.
if [ "$$" -ne 1 ] || [ -z "${KAVRIX_HOST_NETNS:-}" ] ||
   [ "$(readlink /proc/self/ns/net)" = "$KAVRIX_HOST_NETNS" ]; then
  echo "netns-run: not in a namespace of its own; refusing to run" >&2
  exit 1
fi

# The adapters' files in /sys are those of the namespace that mounts it.
mount -t sysfs sysfs /sys
# IPv4 only: no IPv6 chatter on the links.
sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
ip link set lo up
ip link add veth-kx0 type veth peer name veth-kx1
ip link set veth-kx0 mtu 9000
ip link set veth-kx1 mtu 9000
ip address add 169.254.10.1/16 broadcast + dev veth-kx0
ip address add 169.254.20.1/16 broadcast + dev veth-kx1
ip address add 169.254.30.1/16 broadcast + dev veth-kx1
# Wine binds a UDP socket bound to an adapter's address to the adapter
# itself, so its datagrams to the other adapter's address cross the link:
# taken there although their source is a local address (accept_local).
for link in veth-kx0 veth-kx1; do
  sysctl -qw "net.ipv4.conf.$link.accept_local=1" "net.ipv4.conf.$link.rp_filter=0"
  # Broadcasts go to a link address the other end does not take: its packet
  # sockets see them, its IP layer drops them, so a broadcast reaches the
  # host's sockets once, by the adapter it left, as on a link to another host.
  ip link set "$link" broadcast 02:00:00:00:00:ff
done
# And the address resolution, whose requests are link broadcasts too, is fixed.
mac() { cat "/sys/class/net/$1/address"; }
ip neighbour replace 169.254.20.1 lladdr "$(mac veth-kx1)" dev veth-kx0 nud permanent
ip neighbour replace 169.254.30.1 lladdr "$(mac veth-kx1)" dev veth-kx0 nud permanent
ip neighbour replace 169.254.10.1 lladdr "$(mac veth-kx0)" dev veth-kx1 nud permanent
ip link add veth-kx2 type veth peer name veth-kx3
ip address add 169.254.40.1/24 broadcast + dev veth-kx2
ip link set veth-kx0 up
ip link set veth-kx1 up
ip link set veth-kx2 up

# Not exec: as the namespace's first process this shell stays until the
# command ends, and its end ends whatever the command left.
status=0
"$@" || status=$?
exit "$status"
