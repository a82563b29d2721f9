#!/usr/bin/env bash
# The second part of `make bench-gige`: our receiver (kavrix-host continuous
# through the driver and gige/libtli.so) and Aravis's (arv-camera-test-0.8)
# on our test camera, kavrix-gige-camera, with the same loss at the camera
# (its --drop knob, the same seed: the same packets), one after the other in
# the same run. Each figure is printed with Aravis's and the ratio; a missed
# target makes the run fail at its end.
#   cmake/netns-run.sh tools/bench-gige-camera.sh build/native/bin [FPS]
#
# Runs only in a throw-away namespace of cmake/netns-run.sh, which needs no
# lab lock. Inside it the cameras and the receivers get a network namespace
# each, joined by a veth pair (MTU 1500) of this script's:
#
#   receivers' namespace  kxbenchhost<pid>  169.254.160.100/24
#   cameras' namespace    kxbenchcam<pid>   169.254.160.1/24 (.2, .3, .4)
#
# Both run as root there: our packet ring against Aravis's packet socket.
set -euo pipefail
self=$(readlink -f "$0")
here=$(dirname "$self")

bin=$(cd "${1:?usage: tools/bench-gige-camera.sh BIN_FOLDER [FPS]}" && pwd)
# 2048x2048 frames a second: what the shared 2-core machine sends and takes
# without loss of its own (the camera's sending thread takes a core).
rate=${2:-20}
if [ -z "${KAVRIX_HOST_NETNS:-}" ] || [ "$(readlink /proc/self/ns/net)" = "$KAVRIX_HOST_NETNS" ]; then
  echo "bench-gige-camera: not in a namespace of cmake/netns-run.sh; refusing to run" >&2
  exit 1
fi
camera_program="$bin/kavrix-gige-camera"
export KAVRIX_TLI="$bin/gige/libtli.so"
for file in "$camera_program" "$KAVRIX_TLI" "$bin/kavrix-host"; do
  [ -x "$file" ] || [ -f "$file" ] || { echo "bench-gige-camera: $file is missing" >&2; exit 1; }
done
work="$(cd "$here/.." && pwd)/build/bench-gige/camera"
rm -rf "$work"
mkdir -p "$work"
missed=()
camera_pid=
holders=()
cleanup() {
  [ -z "$camera_pid" ] || kill -TERM "$camera_pid" 2>/dev/null || true
  [ "${#holders[@]}" -eq 0 ] || kill "${holders[@]}" 2>/dev/null || true
}
trap cleanup EXIT
fail() { echo "bench-gige-camera: $*" >&2; exit 1; }

# A network namespace that lives as long as this script.
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
host_ns=$namespace_pid
new_namespace
camera_ns=$namespace_pid
in_host() { nsenter --net="/proc/$host_ns/ns/net" "$@"; }
in_camera() { nsenter --net="/proc/$camera_ns/ns/net" "$@"; }
host_link=kxbenchhost$$
camera_link=kxbenchcam$$
ip link add "$host_link" netns "$host_ns" type veth peer name "$camera_link" netns "$camera_ns"
in_host ip link set lo up
in_host ip address add 169.254.160.100/24 dev "$host_link"
in_host ip link set "$host_link" up
in_camera ip link set lo up
for n in 1 2 3 4; do in_camera ip address add "169.254.160.$n/24" dev "$camera_link"; done
in_camera ip link set "$camera_link" up

# camera_config NAME MODEL COUNT: a configuration of COUNT cameras named
# NAME1, NAME2, ... (their user-defined names, which both receivers list).
camera_config() {
  local file="$work/$1.ini" n
  {
    printf '[interface]\nname = bench\n\n'
    for n in $(seq "$3"); do printf '[device]\nmodel = %s\nname = %s%d\nserial = %d\n\n' "$2" "$1" "$n" $((40000000 + n)); done
  } > "$file"
  echo "$file"
}
# start_camera CONFIG [OPTION...]: the camera program, its log in camera.log.
start_camera() {
  : > "$work/camera.log"
  # nsenter becomes the camera: its process id is the camera's.
  nsenter --net="/proc/$camera_ns/ns/net" "$camera_program" --interface "$camera_link" --config "$@" 2>>"$work/camera.log" &
  camera_pid=$!
  for _ in $(seq 50); do
    grep -q "serving" "$work/camera.log" && return
    sleep 0.1
  done
  fail "the camera did not start: $(cat "$work/camera.log")"
}
stop_camera() {
  kill -TERM "$camera_pid"
  wait "$camera_pid" || fail "the camera ended badly: $(cat "$work/camera.log")"
  camera_pid=
}
camera_set() { # IP FEATURE=VALUE...
  local ip=$1
  shift
  in_host arv-tool-0.8 -a "$ip" control "$@" >/dev/null || fail "cannot set $* on $ip"
}
# The camera's counts of the last stream to the receivers it logged since
# the mark: "frames packets dropped resent".
mark() { wc -l < "$work/camera.log"; }
camera_counts() { # MARK
  tail -n +"$(($1 + 1))" "$work/camera.log" |
    sed -n 's/.*stopped: \([0-9]*\) frames, \([0-9]*\) packets sent, \([0-9]*\) dropped, \([0-9]*\) resent.*/\1 \2 \3 \4/p' |
    tail -n 1
}
value() { sed -n "s/^$2 *= *\([0-9]*\).*/\1/p" "$1" | tail -n 1; }
thread_ns() { awk -v n="$2" '$1 == "thread" && $2 == n { s += $3; f = 1 } END { print f ? s : "-" }' "$1.times"; }
measure() { # OUT PROGRAM...: in the receivers' namespace, with its threads' times
  local out=$1
  shift
  in_host "$here/bench-gige.sh" --measure "$out" "$@"
  grep -q '^status 0$' "$out.times" || fail "$(basename "$out") failed:
$(cat "$out")"
}

# Each receiver prints "complete seen receiving-ns" for its run; its output
# is kept in $work/NAME.
aravis() { # NAME IP SECONDS
  local out="$work/$1"
  measure "$out" arv-camera-test-0.8 -n "$2" --duration "$3"
  local done
  done=$(value "$out" n_completed_buffers)
  echo "$done $((done + $(value "$out" n_failures) + $(value "$out" n_timeouts) + $(value "$out" n_underruns))) $(thread_ns "$out" arv_gv_stream)"
}
ours() { # NAME CAMERA-NAME WIDTH HEIGHT SECONDS
  local out="$work/$1" system="$work/$1.system"
  mkdir -p "$system"
  printf '[%s]\nWidth=%s\nHeight=%s\n' "$2" "$3" "$4" > "$system/Kavrix.ini"
  measure "$out" "$bin/kavrix-host" --system-path "$system" continuous "$2" --seconds "$5"
  local stream done incomplete underruns
  stream=$(grep -m1 '^Stream:' "$out") || fail "$1 printed no statistics:
$(cat "$out")"
  read -r done incomplete underruns <<< "$(sed 's/[^0-9 ]//g' <<< "$stream")"
  echo "$done $((done + incomplete + underruns)) $(thread_ns "$out" kavrix-gvsp)"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a != "-" && b != "-" && b > 0) printf "%.2f", a / b; else print "-" }'; }
# The share of frames complete: of those the receiver saw, or of those the
# camera sent where that is more (less the one its stop may cut short).
share() { awk -v d="$1" -v s="$2" -v c="$3" 'BEGIN { c -= 1; n = s > c ? s : c; printf "%.2f", (n > 0 ? 100 * d / n : 0) }'; }
per() { awk -v a="$1" -v b="$2" 'BEGIN { if (a != "-" && b > 0) printf "%.2f", a / b; else print "-" }'; }
ms_per_frame() { awk -v ns="$1" -v n="$2" 'BEGIN { if (ns != "-" && n > 0) printf "%.3f", ns / 1e6 / n; else print "-" }'; }
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "-" && a + 0 >= b) }'; }
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "-" && a + 0 <= b) }'; }
check() { # TEXT CONDITION
  if eval "$2"; then echo "    target $1: met"; else echo "    target $1: MISSED"; missed+=("$1"); fi
}

# lossy NAME DROP FRAMES: one KX-5000 at 2048x2048 and $rate frames a
# second, the camera dropping the share DROP of its stream packets; each
# receiver streams for FRAMES frames, and 5 % more, as a loaded machine may
# slow the camera. Sets o_* and a_* (complete, seen,
# receiving ns, camera frames, dropped, resent) and prints the figures.
lossy() {
  local name=$1 drop=$2 seconds=$((($3 * 21 / 20 + rate - 1) / rate + 1)) at
  local options=()
  [ "$drop" = 0 ] || options=(--drop "$drop")
  start_camera "$(camera_config Big KX-5000-24gm 1)" "${options[@]}"
  local features=(Width=2048 Height=2048 AcquisitionFrameRateAuto=Off AcquisitionFrameRateAbs="$rate")
  camera_set 169.254.160.1 "${features[@]}"
  at=$(mark)
  read -r a_done a_seen a_ns <<< "$(aravis "$name-aravis" 169.254.160.1 "$seconds")"
  read -r a_frames _ a_dropped a_resent <<< "$(camera_counts "$at")"
  camera_set 169.254.160.1 "${features[@]}"
  at=$(mark)
  read -r o_done o_seen o_ns <<< "$(ours "$name-ours" Big1 2048 2048 "$seconds")"
  read -r o_frames _ o_dropped o_resent <<< "$(camera_counts "$at")"
  stop_camera
  cp "$work/camera.log" "$work/$name-camera.log"
  o_share=$(share "$o_done" "$o_seen" "$o_frames")
  a_share=$(share "$a_done" "$a_seen" "$a_frames")
  printf '  complete: ours %d of %d (%s %%), Aravis %d of %d (%s %%), ratio %s\n' \
    "$o_done" "$((o_seen > o_frames - 1 ? o_seen : o_frames - 1))" "$o_share" \
    "$a_done" "$((a_seen > a_frames - 1 ? a_seen : a_frames - 1))" "$a_share" "$(ratio "$o_share" "$a_share")"
  if [ "$drop" != 0 ]; then
    o_per=$(per "$o_resent" "$o_dropped")
    a_per=$(per "$a_resent" "$a_dropped")
    printf '  resent per lost packet (the camera'"'"'s counts): ours %s (%d of %d), Aravis %s (%d of %d), ratio %s\n' \
      "$o_per" "$o_resent" "$o_dropped" "$a_per" "$a_resent" "$a_dropped" "$(ratio "$o_per" "$a_per")"
  fi
  o_ms=$(ms_per_frame "$o_ns" "$o_done")
  a_ms=$(ms_per_frame "$a_ns" "$a_done")
  printf '  receiving thread per complete frame: ours %s ms, Aravis %s ms, ratio %s\n' "$o_ms" "$a_ms" "$(ratio "$o_ms" "$a_ms")"
}

echo "== Our test camera (kavrix-gige-camera) in a namespace of its own, MTU 1500; 2048x2048 at $rate frames a second"
echo "(\"ours\" is kavrix-host continuous through the driver and gige/libtli.so, packet ring;"
echo " \"Aravis\" is arv-camera-test-0.8, packet socket; ratio = ours / Aravis; \"N of M\": M is what"
echo " the receiver saw, or what the camera sent less one where that is more)"

echo
echo "== (d0) No loss: the baseline of processor time"
lossy d0 0 $((rate * 20))
o_ms0=$o_ms
a_ms0=$a_ms

echo
echo "== (a) 1 % of the stream packets dropped at the camera, at least 2,000 frames"
lossy a 0.01 2000
check "at least 2,000 frames at 1 % loss" "[ $o_done -ge 2000 ]"
check "at least 99.9 % complete at 1 % loss" "at_least '$o_share' 99.9"
check "at most 1.5 resent packets per lost packet" "at_most '$o_per' 1.5"
o_ms1=$o_ms
a_ms1=$a_ms

echo
echo "== (b) 5 % of the stream packets dropped at the camera"
lossy b 0.05 $((rate * 30))
check "at least 99 % complete at 5 % loss" "at_least '$o_share' 99"

echo
echo "== (d) Processor time of the receiving thread per frame, 1 % loss against none"
o_cost=$(ratio "$o_ms1" "$o_ms0")
a_cost=$(ratio "$a_ms1" "$a_ms0")
printf '  ours %s ms at 1 %%, %s ms without loss (x%s); Aravis %s ms, %s ms (x%s); at 1 %% ours / Aravis %s\n' \
  "$o_ms1" "$o_ms0" "$o_cost" "$a_ms1" "$a_ms0" "$a_cost" "$(ratio "$o_ms1" "$a_ms1")"
# Our time without loss varies by half under the shared machine's load
# (0.78 to 1.18 ms over three runs), so the target is the same run's peer.
check "ours with resend at 1 % at most Aravis's" "at_most '$(ratio "$o_ms1" "$a_ms1")' 1"

echo
echo "== (c) Four KX-1300 cameras, 1024x1024 at 25 frames a second each, through one host interface, no loss"
seconds=20
start_camera "$(camera_config Cam KX-1300-60gm 4)"
set_all() { for n in 1 2 3 4; do camera_set "169.254.160.$n" Width=1024 Height=1024 AutoFrameRate=Manual FrameRate=25; done; }
# The frames the cameras sent to one run, from their logs since the mark.
sent_since() { tail -n +"$(($1 + 1))" "$work/camera.log" | sed -n 's/.*stopped: \([0-9]*\) frames.*/\1/p' | awk '{ s += $1 } END { print s + 0 }'; }
set_all
at=$(mark)
# Waits for the receivers of a run alone (the namespaces' holders run on).
wait_for() { local pid; for pid in "$@"; do wait "$pid"; done; }
runs=()
for n in 1 2 3 4; do
  aravis "c-aravis-$n" "169.254.160.$n" $seconds > "$work/c-aravis-$n.result" &
  runs+=($!)
done
wait_for "${runs[@]}"
a_sent=$(sent_since "$at")
set_all
at=$(mark)
runs=()
for n in 1 2 3 4; do
  ours "c-ours-$n" "Cam$n" 1024 1024 $seconds > "$work/c-ours-$n.result" &
  runs+=($!)
done
wait_for "${runs[@]}"
o_sent=$(sent_since "$at")
stop_camera
cp "$work/camera.log" "$work/c-camera.log"
sum() { cat "$work"/c-"$1"-?.result | awk -v f="$2" '{ s += $f } END { print s }'; }
o_done=$(sum ours 1)
o_seen=$(sum ours 2)
a_done=$(sum aravis 1)
a_seen=$(sum aravis 2)
printf '  ours %d of %d frames complete (%s frames/s together), Aravis %d of %d (%s frames/s), ratio %s\n' \
  "$o_done" "$o_seen" "$(per "$o_done" $seconds)" "$a_done" "$a_seen" "$(per "$a_done" $seconds)" "$(ratio "$o_done" "$a_done")"
echo "  (the cameras sent ours $o_sent frames, Aravis $a_sent; complete per camera: ours $(cut -d' ' -f1 "$work"/c-ours-?.result | tr '\n' ' ')Aravis $(cut -d' ' -f1 "$work"/c-aravis-?.result | tr '\n' ' '))"
dropped=$(sed -n 's/^Dropped:[[:space:]]*\([0-9]*\).*/\1/p' "$work"/c-ours-? | awk '{ s += $1 } END { print s + 0 }')
check "four cameras, nothing lost" "[ $o_done -eq $o_seen ] && [ $o_done -ge $((4 * 25 * seconds * 95 / 100)) ] && [ $dropped -eq 0 ]"

echo "(each program's output, thread times and the camera's logs: $work)"
if [ ${#missed[@]} -ne 0 ]; then
  echo "bench-gige-camera: missed: ${missed[*]}"
  exit 1
fi
