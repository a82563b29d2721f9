#!/usr/bin/env bash
# aravis.sh CAMERA-PROGRAM [SECONDS]
#
# Aravis, the independent peer, against our test camera: its client discovers
# the camera and reads and writes its features, its receiver streams from it,
# and with the camera dropping 1 % of its stream packets, completes frames by
# asking for them again (and does not without resend). Prints the figures.
#
# Runs only in a throw-away namespace of cmake/netns-run.sh. Inside it, the
# camera and Aravis each get a network namespace of their own, joined by a
# veth pair of this script's (names end in its process id), with nothing else
# in them that Aravis could find or route by:
#
#   Aravis's namespace  kxhostdev<pid>  169.254.150.2/24
#   camera's namespace  kxcamdev<pid>   169.254.150.1/24
#
# so that discovery broadcasts and stream packets cross a link, as between
# two machines. Both namespaces end with the script.
set -euo pipefail

camera=$1
seconds=${2:-5}
if [ -z "${KAVRIX_HOST_NETNS:-}" ] || [ "$(readlink /proc/self/ns/net)" = "$KAVRIX_HOST_NETNS" ]; then
  echo "aravis.sh: not in a namespace of cmake/netns-run.sh; refusing to run" >&2
  exit 1
fi

host_link=kxhostdev$$
camera_link=kxcamdev$$
camera_ip=169.254.150.1
work=$(mktemp -d)
holders=()
camera_pid=
cleanup() {
  [ -z "$camera_pid" ] || kill -TERM "$camera_pid" 2>/dev/null || true
  [ "${#holders[@]}" -eq 0 ] || kill "${holders[@]}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A network namespace that lives as long as this script; prints its holder.
new_namespace() {
  unshare --net sleep infinity &
  local holder=$!
  for _ in $(seq 100); do
    [ "$(readlink "/proc/$holder/ns/net")" != "$(readlink /proc/self/ns/net)" ] && break
    sleep 0.05
  done
  holders+=("$holder")
  namespace_pid=$holder
}
new_namespace
host_pid=$namespace_pid
new_namespace
camera_pid_ns=$namespace_pid
in_host() { nsenter --net="/proc/$host_pid/ns/net" "$@"; }
in_camera() { nsenter --net="/proc/$camera_pid_ns/ns/net" "$@"; }
ip link add "$host_link" netns "$host_pid" type veth peer name "$camera_link" netns "$camera_pid_ns"
in_host ip link set lo up
in_host ip address add 169.254.150.2/24 dev "$host_link"
in_host ip link set "$host_link" up
in_camera ip link set lo up
in_camera ip address add "$camera_ip/24" dev "$camera_link"
in_camera ip link set "$camera_link" up

fail() { echo "FAILED: $*"; echo "--- camera log"; cat "$work/camera.log"; exit 1; }

start_camera() {
  # nsenter becomes the camera: its process id is the camera's.
  nsenter --net="/proc/$camera_pid_ns/ns/net" "$camera" --interface "$camera_link" "$@" 2>>"$work/camera.log" &
  camera_pid=$!
  for _ in $(seq 50); do
    grep -q "serving" "$work/camera.log" && return
    sleep 0.1
  done
  fail "the camera did not start"
}

stop_camera() {
  kill -TERM "$camera_pid"
  local status=0
  wait "$camera_pid" || status=$?
  camera_pid=
  [ "$status" -eq 0 ] || fail "the camera ended with status $status"
}

# The value of one of the receiver's statistics lines ("n_completed_buffers = 148").
figure() { sed -n "s/^$1 *= *\([0-9]*\)$/\1/p" "$work/receiver.log"; }

# Streams 640 x 480 for the test's seconds; sets completed, failures,
# requests and resent.
stream() {
  in_host arv-camera-test-0.8 -n "$camera_ip" -w 640 -h 480 --duration "$seconds" "$@" >"$work/receiver.log" 2>&1 ||
    { cat "$work/receiver.log"; fail "arv-camera-test-0.8 $*"; }
  completed=$(figure n_completed_buffers)
  failures=$(( $(figure n_failures) + $(figure n_timeouts) ))
  requests=$(figure n_resend_requests)
  resent=$(figure n_resent_packets)
  missing=$(figure n_missing_packets)
  echo "  $*: $completed frames completed, $failures failed; $requests resend requests, $resent packets resent, $missing missing"
}

echo "discovery and features"
start_camera
listed=
for _ in $(seq 10); do
  listed=$(in_host arv-tool-0.8 2>&1) || true
  [[ $listed == *"Kavrix-KX-1300-60gm-21810742 ($camera_ip)"* ]] && break
done
[[ $listed == *"Kavrix-KX-1300-60gm-21810742 ($camera_ip)"* ]] || fail "arv-tool-0.8 lists: $listed"
echo "  $listed"
in_host arv-tool-0.8 -a "$camera_ip" control Width=640 Height=480 >/dev/null || fail "writing Width and Height"
features=$(in_host arv-tool-0.8 -a "$camera_ip" control DeviceVendorName Width Height PixelFormat 'R[0x934]' 2>&1)
echo "$features" | sed 's/^/  /'
[[ $features == *"DeviceVendorName = Kavrix"*"Width = 640"*"Height = 480"*"PixelFormat = Mono8"* ]] ||
  fail "features read back: $features"

echo "streaming without loss"
stream
[ "$failures" -eq 0 ] && [ "$completed" -ge $((seconds * 30 * 9 / 10)) ] || fail "frames lost without loss"
stop_camera

echo "streaming with 1 % of the stream packets dropped by the camera"
start_camera --drop 0.01
stream
with_resend=$completed
[ "$requests" -gt 0 ] && [ "$resent" -gt 0 ] || fail "Aravis asked for no resend, or got nothing back"
# A loaded machine may delay a frame past the receiver's patience: 5 % may fail.
[ $((failures * 20)) -le $((completed + failures)) ] || fail "more than 5 % of the frames incomplete with resend"
stream --no-packet-resend
[ "$completed" -lt "$with_resend" ] || fail "as many frames complete without resend"
stop_camera

echo "streaming 64-bit block ids with 1 % dropped"
start_camera --drop 0.01
in_host arv-tool-0.8 -a "$camera_ip" control 'R[0x960]=0x40000000' >/dev/null || fail "writing the GVSP configuration"
stream
[ "$resent" -gt 0 ] && [ $((failures * 20)) -le $((completed + failures)) ] || fail "resend with 64-bit block ids"
stop_camera

grep -q "took control" "$work/camera.log" && grep -q "stream to 169.254.150.2" "$work/camera.log" &&
  grep -q "resend requests: [1-9]" "$work/camera.log" || fail "the camera's log lacks its events"
echo "--- camera log"
cat "$work/camera.log"
