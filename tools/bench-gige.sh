#!/usr/bin/env bash
# The benchmark of `make bench-gige`: our GigE Vision receiver (the driver
# with our producer, driven by kavrix-host as a host drives it) side by side
# with Aravis's (arv-camera-test-0.8) on the lab's fake camera, with the same
# camera settings, in the same run (tools/gige-lab.md). Each figure is printed
# with Aravis's and the ratio; a missed target makes the run fail at its end.
#   flock /run/lock/kavrix-lab-session tools/bench-gige.sh build/native/bin
# Every program runs in the lab's host namespace; the lab comes down at the
# end, also on failure.
set -euo pipefail
self=$(readlink -f "$0")

# --measure OUT PROGRAM...: runs inside kxhost. Runs the program, samples the
# processor time of each of its threads until it ends (the receiving
# threads end with the acquisition, before the program), and writes its
# output to OUT, its wall time and its threads' times to OUT.times.
if [ "${1:-}" = "--measure" ]; then
  out=$2
  shift 2
  start=$(date +%s%N)
  "$@" > "$out" 2>&1 &
  pid=$!
  declare -A names=() times=()
  while read -r _ _ state _ 2>/dev/null < "/proc/$pid/stat" && [ "$state" != Z ]; do
    for task in /proc/"$pid"/task/*; do
      # schedstat: nanoseconds on a processor, user and system.
      { read -r name < "$task/comm" && read -r ns _ < "$task/schedstat"; } 2>/dev/null || continue
      names[$task]=$name
      times[$task]=$ns
    done
    sleep 0.02
  done
  status=0
  wait "$pid" || status=$?
  {
    echo "wall_ms $((($(date +%s%N) - start) / 1000000))"
    echo "status $status"
    for task in "${!names[@]}"; do echo "thread ${names[$task]} ${times[$task]}"; done
  } > "$out.times"
  exit 0
fi

bin=$(cd "${1:?usage: tools/bench-gige.sh BIN_FOLDER}" && pwd)
here=$(dirname "$self")
lab="$here/gige-lab.sh"
work="$(cd "$here/.." && pwd)/build/bench-gige"
camera_ip=169.254.100.1
camera="Aravis Fake (GV01)"
seconds=10
export KAVRIX_TLI="$bin/gige/libtli.so"
[ -f "$KAVRIX_TLI" ] || { echo "bench-gige: $KAVRIX_TLI is missing; build the target gige_tli" >&2; exit 1; }
# An ordinary user: no CAP_NET_RAW (no packet socket), no CAP_NET_ADMIN (a
# receive buffer of at most net.core.rmem_max).
nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups --inh-caps=-all --bounding-set=-all)
missed=()

rm -rf "$work"
mkdir -p "$work"
trap '"$lab" down >/dev/null || echo "bench-gige: the lab did not come down: tools/gige-lab.sh down" >&2' EXIT

fail() { echo "bench-gige: $*" >&2; exit 1; }
# Writes the camera's registers and features; they stay for the next run.
camera_set() { "$lab" host arv-tool-0.8 -a "$camera_ip" control "$@" >/dev/null || fail "cannot set $*"; }
# The camera's own count of what it sent: a counting rule where its packets
# leave it (the lab's loss rule at 0 %), started afresh before each run.
# frame=(WIDTH HEIGHT PACKET-SIZE) describes the frames of the run.
frame=()
count_from_now() { "$lab" loss 0 gvsp >/dev/null; }
camera_frames() {
  local seen per_frame
  seen=$("$lab" loss | sed -n 's/.* of \([0-9]*\) packets.*/\1/p')
  # Leader, payload packets, trailer; each payload packet carries the packet
  # size less its IP, UDP and stream headers (36 bytes).
  per_frame=$(((frame[0] * frame[1] + frame[2] - 37) / (frame[2] - 36) + 2))
  echo $((seen / per_frame))
}
measure() { # NAME PROGRAM...
  local name=$1
  shift
  "$lab" host "$self" --measure "$work/$name" "$@"
  grep -q '^status 0$' "$work/$name.times" || fail "$name failed:
$(cat "$work/$name")"
}
value() { sed -n "s/^$2 *= *\([0-9]*\).*/\1/p" "$work/$1" | tail -n 1; }
thread_ns() { awk -v n="$2" '$1 == "thread" && $2 == n { s += $3; f = 1 } END { print f ? s : "-" }' "$work/$1.times"; }
wall_ms() { awk '$1 == "wall_ms" { print $2 }' "$work/$1.times"; }

# aravis NAME [nobody] ARGS...: arv-camera-test, Aravis's receiver. Prints
# the frames it completed, those it saw (completed, failed, timed out, or
# no buffer for), its receiving thread's time and the frames the camera sent.
aravis() {
  local name=$1
  shift
  local prefix=()
  if [ "$1" = nobody ]; then prefix=("${nobody[@]}"); shift; fi
  count_from_now
  measure "$name" "${prefix[@]}" arv-camera-test-0.8 -n "$camera_ip" --duration "$seconds" "$@"
  local done sent
  done=$(value "$name" n_completed_buffers)
  sent=$((done + $(value "$name" n_failures) + $(value "$name" n_timeouts) + $(value "$name" n_underruns)))
  echo "$done $sent $(thread_ns "$name" arv_gv_stream) $(camera_frames)"
}

# ours NAME [nobody] WIDTH HEIGHT: kavrix-host continuous through the driver,
# with the image size as stored settings. Prints as aravis does; the frames
# seen are those the producer delivered whole, incomplete, or had no buffer for.
ours() {
  local name=$1
  shift
  local prefix=()
  if [ "$1" = nobody ]; then prefix=("${nobody[@]}"); shift; fi
  local system="$work/$name.system"
  mkdir -p "$system"
  printf '[%s]\nWidth=%s\nHeight=%s\n' "$camera" "$1" "$2" > "$system/Kavrix.ini"
  chmod -R a+rwX "$system"
  count_from_now
  measure "$name" "${prefix[@]}" "$bin/kavrix-host" --system-path "$system" continuous "$camera" --seconds "$seconds"
  local stream done incomplete underruns sent
  stream=$(grep -m1 '^Stream:' "$work/$name") || fail "$name printed no statistics:
$(cat "$work/$name")"
  read -r done incomplete underruns <<< "$(sed 's/[^0-9 ]//g' <<< "$stream")"
  sent=$((done + incomplete + underruns))
  echo "$done $sent $(thread_ns "$name" kavrix-gvsp) $(camera_frames)"
}

# How each receiver got the packets: ours from its statistics, Aravis's
# packet size from its output and its path from its privileges.
receiving() { # OURS ARAVIS ARAVIS-PATH
  sed -n 's/^Receiving:[[:space:]]*/    ours: /p' "$work/$1"
  echo "    Aravis: packet size $(value "$2" "gv packet size"), $3"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a != "-" && b != "-" && b > 0) printf "%.2f", a / b; else print "-" }'; }
percent() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b > 0 ? 100 * a / b : 0) }'; }
ms_per_frame() { awk -v ns="$1" -v n="$2" 'BEGIN { if (n > 0 && ns != "-") printf "%.2f", ns / 1e6 / n; else print "-" }'; }
check() { # TEXT CONDITION: met when the shell's test of the condition succeeds
  if eval "$2"; then echo "    target $1: met"; else echo "    target $1: MISSED"; missed+=("$1"); fi
}
# The frames a run was offered: what the receiver saw, or what the camera
# counted where that is more.
offered() { echo $(($1 > $2 ? $1 : $2)); }
# Every frame the receiver saw came whole, and it missed at most the one the
# camera may have sent between the receiver's stop and the camera's.
all_whole() { [ "$2" -gt 0 ] && [ "$1" -eq "$2" ] && [ "$1" -ge $(($3 - 1)) ]; }
# A <= FACTOR * B for decimal numbers; false when either is missing ("-").
at_most() { awk -v a="$1" -v f="$2" -v b="$3" 'BEGIN { exit !(a != "-" && b != "-" && a + 0 <= f * b) }'; }

echo "== The lab (MTU 1500); the fake camera at 25 frames a second unless said"
"$lab" up
echo "(each receiver runs $seconds s; \"ours\" is kavrix-host continuous through the driver and"
echo " gige/libtli.so; \"Aravis\" is arv-camera-test-0.8; ratio = ours / Aravis; \"N of M\": M is"
echo " what the camera counted it sent, or what the receiver saw where that is more)"

echo
echo "== (a) Frames complete with no tuning, as an ordinary user (UDP, the system's default buffer)"
for side in 512 2048; do
  frame=($side $side 1400)
  camera_set Width=$side Height=$side AcquisitionFrameRate=25
  read -r a_done a_seen _ a_camera <<< "$(aravis "a-aravis-$side" nobody -w $side -h $side -f 25)"
  camera_set Width=$side Height=$side AcquisitionFrameRate=25
  read -r o_done o_seen _ o_camera <<< "$(ours "a-ours-$side" nobody $side $side)"
  o_sent=$(offered "$o_seen" "$o_camera")
  a_sent=$(offered "$a_seen" "$a_camera")
  o_pct=$(percent "$o_done" "$o_sent")
  a_pct=$(percent "$a_done" "$a_sent")
  printf '  %sx%s: ours %d of %d complete (%s %%), Aravis %d of %d (%s %%), ratio %s\n' $side $side \
    "$o_done" "$o_sent" "$o_pct" "$a_done" "$a_sent" "$a_pct" "$(ratio "$o_pct" "$a_pct")"
  receiving "a-ours-$side" "a-aravis-$side" "UDP socket, the system's default buffer"
  check "every frame complete at ${side}x$side" "all_whole $o_done $o_seen $o_camera"
done

# cpu MTU PACKET-SIZE: the receiving thread's processor time per 2048x2048
# frame, packet ring (root) and UDP as an ordinary user; Aravis's UDP with a
# frame-sized buffer (-a).
cpu() {
  local mtu=$1 packet=$2 path
  frame=(2048 2048 "$packet")
  for path in ring udp; do
    local as=() aravis_options=(-i "$packet") aravis_path="packet socket (root)"
    if [ $path = udp ]; then
      as=(nobody)
      aravis_options+=(-a)
      aravis_path="UDP socket with a frame-sized buffer (-a), ordinary user"
    fi
    camera_set Width=2048 Height=2048 AcquisitionFrameRate=25
    read -r a_done a_seen a_ns a_camera <<< "$(aravis "b-aravis-$path-$mtu" "${as[@]}" -w 2048 -h 2048 -f 25 "${aravis_options[@]}")"
    camera_set Width=2048 Height=2048 AcquisitionFrameRate=25 "R[0xd04]=$packet"
    read -r o_done o_seen o_ns o_camera <<< "$(ours "b-ours-$path-$mtu" "${as[@]}" 2048 2048)"
    local o_ms a_ms o_sent a_sent
    o_sent=$(offered "$o_seen" "$o_camera")
    a_sent=$(offered "$a_seen" "$a_camera")
    o_ms=$(ms_per_frame "$o_ns" "$o_done")
    a_ms=$(ms_per_frame "$a_ns" "$a_done")
    printf '  MTU %s, %s: ours %s ms (%d of %d frames complete), Aravis %s ms (%d of %d), ratio %s\n' "$mtu" $path \
      "$o_ms" "$o_done" "$o_sent" "$a_ms" "$a_done" "$a_sent" "$(ratio "$o_ms" "$a_ms")"
    receiving "b-ours-$path-$mtu" "b-aravis-$path-$mtu" "$aravis_path"
    if [ $path = ring ]; then
      check "packet ring at MTU $mtu at most Aravis's packet socket" "at_most $o_ms 1 $a_ms"
    else
      check "UDP at MTU $mtu at most 0.9 x Aravis's UDP with -a" "at_most $o_ms 0.9 $a_ms"
    fi
  done
}

echo
echo "== (b) Processor time of the receiving thread per 2048x2048 frame (its whole run / frames complete)"
cpu 1500 1400

echo
echo "== (c) The fake camera at its fastest (a frame period of 1 ms asked), 2048x2048, packet ring"
frame=(2048 2048 1400)
camera_set Width=2048 Height=2048 "R[0xd04]=1400"
read -r a_done a_seen _ a_camera <<< "$(aravis c-aravis -w 2048 -h 2048 -f 1000)"
camera_set Width=2048 Height=2048 AcquisitionFramePeriod=1000
read -r o_done o_seen _ o_camera <<< "$(ours c-ours 2048 2048)"
o_sent=$(offered "$o_seen" "$o_camera")
a_sent=$(offered "$a_seen" "$a_camera")
dropped=$(sed -n 's/^Dropped:[[:space:]]*\([0-9]*\).*/\1/p' "$work/c-ours")
o_rate=$(awk -v n="$o_done" -v s=$seconds 'BEGIN { printf "%.1f", n / s }')
a_rate=$(awk -v n="$a_done" -v s=$seconds 'BEGIN { printf "%.1f", n / s }')
printf '  ours %s frames/s (%d of %d complete, %s dropped by the driver), Aravis %s frames/s (%d of %d), ratio %s\n' \
  "$o_rate" "$o_done" "$o_sent" "$dropped" "$a_rate" "$a_done" "$a_sent" "$(ratio "$o_rate" "$a_rate")"
check "nothing lost at the camera's fastest" "all_whole $o_done $o_seen $o_camera && [ '$dropped' = 0 ]"

echo
echo "== (d) Discovery of one camera: the whole listing program, median of 5"
for run in 1 2 3 4 5; do
  measure "d-ours-$run" "$bin/kavrix-host" --system-path "$work" list
  grep -qxF "  $camera" "$work/d-ours-$run" || fail "kavrix-host list did not list $camera:
$(cat "$work/d-ours-$run")"
  measure "d-aravis-$run" arv-tool-0.8
  grep -q "Aravis-Fake-GV01" "$work/d-aravis-$run" || fail "arv-tool-0.8 did not list the camera"
done
median() { for run in 1 2 3 4 5; do wall_ms "d-$1-$run"; done | sort -n | sed -n 3p; }
o_ms=$(median ours)
a_ms=$(median aravis)
printf '  ours %s ms (kavrix-host list), Aravis %s ms (arv-tool-0.8), ratio %s\n' "$o_ms" "$a_ms" "$(ratio "$o_ms" "$a_ms")"
check "discovery within 0.5 s" "[ $o_ms -le 500 ]"

echo
echo "== The lab again, at MTU 9000"
"$lab" up 9000
echo
echo "== (b) Processor time of the receiving thread per 2048x2048 frame, jumbo frames (packet size 9000)"
cpu 9000 9000

echo
echo "== The lab comes down"
trap - EXIT
"$lab" down
echo "(each program's output and thread times: $work)"
if [ ${#missed[@]} -ne 0 ]; then
  echo "bench-gige: missed: ${missed[*]}"
  exit 1
fi
