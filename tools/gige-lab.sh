#!/usr/bin/env bash
# The GigE Vision lab: Aravis's fake camera in network namespace kxcam, the
# host side in kxhost, a veth pair with link-local addresses between them, so
# that discovery and stream traffic never reach the machine's own network.
# Commands, addresses and measured facts: tools/gige-lab.md.
set -euo pipefail

self=$(readlink -f "$0")
top=$(cd "$(dirname "$self")/.." && pwd)
state=/run/kavrix-lab

cam_ns=kxcam host_ns=kxhost cam2_ns=kxcam2
cam_if=kxcam0 host_if=kxhost0 cam2_if=kxcam1
cam_ip=169.254.100.1 host_ip=169.254.100.2 cam2_ip=169.254.200.1
host_subnet24=169.254.100.0/24
gvcp_port=3956
answer_limit=20 # seconds a camera has to answer discovery after its start

die() { echo "gige-lab: $*" >&2; exit 1; }

usage() {
  cat >&2 <<'EOF'
usage: gige-lab.sh up [MTU]            build the lab (removing any left over), start the camera
       gige-lab.sh down [--force]      stop its processes, delete its namespaces
       gige-lab.sh status              what is up; exits 1 when the lab is down
       gige-lab.sh host CMD...         run CMD in the host namespace (kxhost)
       gige-lab.sh cam CMD...          run CMD in the camera namespace (kxcam)
       gige-lab.sh loss PCT [gvsp|gvcp|all] | loss off | loss
                                       drop PCT % of what the camera sends; report counts
       gige-lab.sh other-subnet [off]  add (remove) a second camera outside the host's subnet
       gige-lab.sh camera stop|start   stop (restart) the lab's camera, keeping the rest of the lab
       gige-lab.sh ourcamera start PROGRAM [ARGS...] | silence | stop
                                       our test camera (PROGRAM, a kavrix-gige-camera) with ARGS on
                                       kxcam0 in place of the lab's camera; silence switches its
                                       silence on or off (SIGUSR1); stop ends it
EOF
  exit 2
}

# --- Safety: only the lab's own namespaces are configured or entered, and
# every address is link-local.

lab_ns() {
  case $1 in "$cam_ns" | "$host_ns" | "$cam2_ns") ;; *) die "not a lab namespace: $1" ;; esac
}

ns_exists() { [ -e "/run/netns/$1" ]; }

need_ns() {
  lab_ns "$1"
  ns_exists "$1" || die "namespace $1 is missing: run 'gige-lab.sh up'"
}

# ip -n enters the namespace before it does anything.
lab_ip() {
  need_ns "$1"
  ip -n "$@"
}

link_local() {
  [[ $1 =~ ^169\.254\.[0-9]{1,3}\.[0-9]{1,3}/(1[6-9]|2[0-9]|3[0-2])$ ]] || die "not a link-local address: $1"
}

lab_addr() { # add|del NS DEV ADDRESS/PREFIX
  link_local "$4"
  lab_ip "$2" addr "$1" "$4" dev "$3"
}

# Runs CMD in a lab namespace through the check of `inside`.
lab_exec() {
  need_ns "$1"
  ip netns exec "$1" "$self" inside "$@"
}

# inside NS CMD...: becomes CMD only when this process is in NS, and NS holds
# nothing but loopback and lab interfaces, so nothing sent can reach another
# network.
inside() {
  lab_ns "$1"
  local here there dev
  here=$(stat -L -c %d:%i /proc/self/ns/net)
  there=$(stat -L -c %d:%i "/run/netns/$1")
  [ "$here" = "$there" ] || die "not inside namespace $1"
  for dev in $(ip -o link show | awk -F': ' '{ sub(/@.*/, "", $2); print $2 }'); do
    case $dev in lo | kx*) ;; *) die "namespace $1 holds interface $dev" ;; esac
  done
  shift
  exec "$@"
}

as_root() { [ "$(id -u)" -eq 0 ] || die "network namespaces need root"; }

need() {
  local tool
  for tool; do command -v "$tool" >/dev/null || die "$tool is missing: run cmake/setup.sh"; done
}

# One lab per machine: changes to it are made one at a time. The lock is a
# file of its own (ip netns locks /run/netns); started cameras do not inherit it.
lock() {
  mkdir -p /run/lock
  exec 9>/run/lock/kavrix-lab
  flock -w 120 9 || die "another gige-lab.sh has held the lab for 2 minutes"
}

# --- Cameras

alive() { # PID...: one of them runs (a zombie awaiting its parent does not)
  local pid
  for pid; do
    [[ "$(cat "/proc/$pid/stat" 2>/dev/null)" =~ ^[0-9]+\ \(.*\)\ [^Z] ]] && return 0
  done
  return 1
}

# The command names of the lab's cameras, as the kernel cuts them to 15 bytes.
is_camera() { # PID
  case $(cat "/proc/$1/comm" 2>/dev/null) in arv-fake-gv-cam | kavrix-gige-cam) alive "$1" ;; *) return 1 ;; esac
}

camera_pids() { # the recorded cameras that still run
  local f pid
  for f in "$state"/*.pid; do
    [ -e "$f" ] || continue
    pid=$(cat "$f")
    if is_camera "$pid"; then echo "$pid"; fi
  done
  return 0
}

# A lab whose camera runs belongs to the work tree that made it: another work
# tree neither rebuilds nor ends it (a lab whose cameras died is left over).
check_owner() {
  [ -f "$state/owner" ] || return 0
  local owner
  owner=$(cat "$state/owner")
  if [ "$owner" != "$top" ] && [ -n "$(camera_pids)" ]; then
    die "the lab is in use by $owner; 'gige-lab.sh down --force' ends it"
  fi
}

listed() { # IP: the host's discovery lists a camera at IP
  lab_exec "$host_ns" arv-tool-0.8 2>/dev/null | grep -qF "($1)"
}

# start_camera NS DEV SERIAL IP NAME: started through `inside`, which execs, so
# the recorded pid is the camera's own.
start_camera() {
  local ns=$1 dev=$2 serial=$3 ip=$4 name=$5
  need_ns "$ns"
  run_camera "$ns" "$ip" "$name" arv-fake-gv-camera-0.8 -i "$dev" -s "$serial"
}

# run_camera NS IP NAME CMD...: CMD in NS, its pid and output kept as NAME,
# until a camera answers discovery at IP.
run_camera() {
  local ns=$1 ip=$2 name=$3 pid
  shift 3
  ip netns exec "$ns" "$self" inside "$ns" "$@" >"$state/$name.log" 2>&1 </dev/null 9<&- &
  pid=$!
  echo "$pid" >"$state/$name.pid"
  local deadline=$((SECONDS + answer_limit))
  until listed "$ip"; do
    alive "$pid" || die "camera $name exited: $(cat "$state/$name.log")"
    [ "$SECONDS" -lt "$deadline" ] || die "camera $name at $ip did not answer within $answer_limit s"
  done
}

# The recorded cameras, then whatever else still runs in the lab's namespaces
# (a test cut short): a namespace with a process in it outlives its deletion.
stop_processes() {
  local ns pids
  pids=$(camera_pids)
  for ns in "$cam2_ns" "$cam_ns" "$host_ns"; do
    if ns_exists "$ns"; then pids+=" $(ip netns pids "$ns")"; fi
  done
  # shellcheck disable=SC2086 # one word per pid
  end_pids $pids
}

end_pids() { # PID...: asked to end, then killed after 3 s
  [ $# -gt 0 ] || return 0
  kill "$@" 2>/dev/null || true
  local deadline=$((SECONDS + 3))
  while [ "$SECONDS" -lt "$deadline" ]; do
    alive "$@" || return 0
    sleep 0.1
  done
  kill -KILL "$@" 2>/dev/null || true
}

# --- Commands

up() {
  local mtu=${1:-1500}
  [[ $mtu =~ ^[0-9]+$ ]] || die "MTU must be a number: $mtu"
  need ip nft arv-fake-gv-camera-0.8 arv-tool-0.8
  check_owner
  remove_lab
  mkdir -p "$state"
  echo "$top" >"$state/owner"

  local ns
  for ns in "$cam_ns" "$host_ns"; do
    ip netns add "$ns"
    # IPv4 only: the link carries GigE Vision and ARP, nothing else to count.
    lab_exec "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
    lab_ip "$ns" link set lo up
  done
  # Made inside kxhost with its peer sent to kxcam: no lab interface ever
  # exists in the machine's own namespace.
  lab_ip "$host_ns" link add "$host_if" mtu "$mtu" type veth peer name "$cam_if" mtu "$mtu" netns "$cam_ns"
  lab_addr add "$cam_ns" "$cam_if" "$cam_ip/16"
  lab_addr add "$host_ns" "$host_if" "$host_ip/16"
  lab_ip "$cam_ns" link set "$cam_if" up
  lab_ip "$host_ns" link set "$host_if" up

  start_camera "$cam_ns" "$cam_if" GV01 "$cam_ip" camera
  echo "gige-lab: up: camera $cam_ip/16 on $cam_if in $cam_ns, host $host_ip/16 on $host_if in $host_ns, MTU $mtu"
}

remove_lab() {
  stop_processes
  local ns
  for ns in "$cam2_ns" "$cam_ns" "$host_ns"; do
    if ns_exists "$ns"; then ip netns del "$ns"; fi
  done
  rm -rf "$state"
}

down() {
  [ "${1:-}" = --force ] || check_owner
  remove_lab
  local ns
  for ns in "$cam2_ns" "$cam_ns" "$host_ns"; do
    ! ns_exists "$ns" || die "namespace $ns is still there"
  done
  echo "gige-lab: down"
}

# Loss is applied where the camera's packets leave it: a drop in the camera's
# output hook would fail its sendto, and one in the host's prerouting comes
# after a packet socket has seen the packet. netem drops at the camera veth's
# qdisc, nftables at its netdev egress hook (before the qdisc); netem cannot
# tell GVSP from GVCP, so those two classes always use nftables.
loss() {
  need_ns "$cam_ns"
  if [ $# -eq 0 ]; then
    loss_report
    return
  fi
  loss_off
  [ "$1" = off ] && return
  local pct=$1 class=${2:-all} match
  [[ $pct =~ ^([0-9]{1,3})(\.([0-9]))?$ ]] || die "loss is a percentage with at most one decimal: $pct"
  local permille=$((10#${BASH_REMATCH[1]} * 10 + 10#${BASH_REMATCH[3]:-0}))
  [ "$permille" -le 1000 ] || die "loss above 100 %: $pct"
  case $class in
    gvsp) match="udp sport != $gvcp_port" ;; # the stream leaves from a port of its own
    gvcp) match="udp sport $gvcp_port" ;;
    all) match="" ;;
    *) usage ;;
  esac
  local pick="numgen random mod 1000 < $permille"
  [ "$permille" -lt 1000 ] || pick=""
  if [ "$class" = all ] &&
    lab_exec "$cam_ns" tc qdisc replace dev "$cam_if" root netem loss "$pct%" 2>/dev/null; then
    echo "netem $class $pct" >"$state/loss"
  else
    local major minor
    IFS=.- read -r major minor _ <<<"$(uname -r)"
    ((major > 5 || (major == 5 && minor >= 16))) ||
      die "kernel $(uname -r) has neither netem nor the netdev egress hook (5.16)"
    lab_exec "$cam_ns" nft -f - <<EOF || die "nftables refused the loss rules (netdev egress hook, numgen)"
table netdev kxlab {
  chain egress {
    type filter hook egress device "$cam_if" priority filter; policy accept;
    $match counter comment "seen"
    $match $pick counter drop comment "dropped"
  }
}
EOF
    echo "nftables $class $pct" >"$state/loss"
  fi
  echo "gige-lab: loss $pct % of $class, $(cut -d' ' -f1 "$state/loss")"
}

loss_off() {
  if lab_exec "$cam_ns" nft list table netdev kxlab >/dev/null 2>&1; then
    lab_exec "$cam_ns" nft delete table netdev kxlab
  fi
  if lab_exec "$cam_ns" tc qdisc show dev "$cam_if" root | grep -q netem; then
    lab_exec "$cam_ns" tc qdisc del dev "$cam_if" root
  fi
  rm -f "$state/loss"
}

# "loss: <class> <pct> % (<how>): dropped D of S packets"
loss_report() {
  if [ ! -f "$state/loss" ]; then
    echo "loss: off"
    return
  fi
  local how class pct
  read -r how class pct <"$state/loss"
  if [ "$how" = netem ]; then
    echo "loss: $class $pct % (netem): $(lab_exec "$cam_ns" tc -s qdisc show dev "$cam_if" root | grep -o 'Sent.*')"
  else
    lab_exec "$cam_ns" nft list table netdev kxlab | awk -v c="$class" -v p="$pct" '
      /comment "seen"/ { for (i = 1; i < NF; i++) if ($i == "packets") seen = $(i + 1) }
      /comment "dropped"/ { for (i = 1; i < NF; i++) if ($i == "packets") dropped = $(i + 1) }
      END { printf "loss: %s %s %% (nftables): dropped %d of %d packets\n", c, p, dropped, seen }'
  fi
}

# A second camera on the same link whose address is outside the host's subnet:
# the host's address narrows to 169.254.100.0/24; the camera, 169.254.200.1/24,
# has a namespace of its own (its own routes) and reaches the link through a
# macvlan on the camera veth, so the loss rules see its packets too; an on-link
# route to the host's /24 lets it answer discovery. The host has no route to it.
other_subnet() {
  need_ns "$host_ns"
  other_subnet_off
  [ "${1:-}" = off ] && return

  ip netns add "$cam2_ns"
  lab_exec "$cam2_ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
  lab_ip "$cam2_ns" link set lo up
  lab_ip "$cam_ns" link add "$cam2_if" link "$cam_if" type macvlan mode bridge
  lab_ip "$cam_ns" link set "$cam2_if" netns "$cam2_ns"
  lab_addr add "$cam2_ns" "$cam2_if" "$cam2_ip/24"
  lab_ip "$cam2_ns" link set "$cam2_if" up
  link_local "$host_subnet24"
  lab_ip "$cam2_ns" route add "$host_subnet24" dev "$cam2_if"

  lab_addr del "$host_ns" "$host_if" "$host_ip/16"
  lab_addr add "$host_ns" "$host_if" "$host_ip/24"
  # The host has no route back to the camera: a reverse-path filter would drop
  # its answers (and the host's ARP replies to it).
  lab_exec "$host_ns" sysctl -qw net.ipv4.conf.all.rp_filter=0 "net.ipv4.conf.$host_if.rp_filter=0"

  start_camera "$cam2_ns" "$cam2_if" GV02 "$cam2_ip" camera2
  echo "gige-lab: other subnet: camera $cam2_ip/24 in $cam2_ns; host now $host_ip/24"
}

other_subnet_off() {
  ns_exists "$cam2_ns" || return 0
  # shellcheck disable=SC2046 # one word per pid
  end_pids $(ip netns pids "$cam2_ns")
  ip netns del "$cam2_ns"
  rm -f "$state/camera2.pid" "$state/camera2.log"
  lab_addr del "$host_ns" "$host_if" "$host_ip/24"
  lab_addr add "$host_ns" "$host_if" "$host_ip/16"
}

# The lab's first camera alone, as a camera that dies (or is switched off)
# and comes back: its namespace, link and addresses stay; a restarted camera
# starts from its power-on registers and block IDs.
camera() {
  need_ns "$cam_ns"
  local pid running=0
  pid=$(cat "$state/camera.pid" 2>/dev/null || true)
  if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = arv-fake-gv-cam ] && alive "$pid"; then
    running=1
  fi
  case ${1:-} in
    stop)
      if [ "$running" -eq 1 ]; then end_pids "$pid"; fi
      echo "gige-lab: camera stopped"
      ;;
    start)
      if [ "$running" -eq 1 ]; then
        echo "gige-lab: camera runs already"
        return
      fi
      start_camera "$cam_ns" "$cam_if" GV01 "$cam_ip" camera
      echo "gige-lab: camera started"
      ;;
    *) usage ;;
  esac
}

# Our test camera in the lab camera's place (it binds the same address and
# port): started with the caller's fault options on the camera veth, and
# stopped with SIGTERM, so that its log ends with what it sent and resent
# (tools/gige-lab.md, "Our test camera"). The lab's camera stays stopped
# until `camera start`.
ourcamera() {
  need_ns "$cam_ns"
  local pid
  pid=$(cat "$state/ourcamera.pid" 2>/dev/null || true)
  case ${1:-} in
    stop)
      if [ -n "$pid" ] && is_camera "$pid"; then end_pids "$pid"; fi
      rm -f "$state/ourcamera.pid"
      echo "gige-lab: our camera stopped"
      ;;
    silence)
      if [ -z "$pid" ] || ! is_camera "$pid"; then die "our camera does not run"; fi
      kill -USR1 "$pid"
      echo "gige-lab: our camera's silence switched"
      ;;
    start)
      [ $# -ge 2 ] || usage
      [ "$(basename "$2")" = kavrix-gige-camera ] || die "not our test camera: $2"
      local program
      program=$(readlink -f "$2")
      [ -x "$program" ] || die "not a program: $2"
      shift 2
      if [ -n "$pid" ] && is_camera "$pid"; then die "our camera runs already (pid $pid)"; fi
      camera stop >/dev/null
      run_camera "$cam_ns" "$cam_ip" ourcamera "$program" --interface "$cam_if" "$@"
      echo "gige-lab: our camera started: $*"
      ;;
    *) usage ;;
  esac
}

status() {
  local ns any=0 f
  for ns in "$cam_ns" "$host_ns" "$cam2_ns"; do
    ns_exists "$ns" || continue
    any=1
    echo "$ns:"
    lab_ip "$ns" -o link show | awk '{ sub(/[@:].*/, "", $2); print "  " $2 " " $4 " " $5 " " $9 }'
    lab_ip "$ns" -br -4 addr show | awk '{ print "  " $1 " " $3 }'
  done
  if [ "$any" -eq 0 ]; then
    echo "gige-lab: down"
    return 1
  fi
  for f in "$state"/*.pid; do
    [ -e "$f" ] || continue
    if alive "$(cat "$f")"; then
      echo "$(basename "$f" .pid): pid $(cat "$f") runs"
    else
      echo "$(basename "$f" .pid): pid $(cat "$f") has ended"
    fi
  done
  echo "owner: $(cat "$state/owner" 2>/dev/null || echo unknown)"
  loss_report
}

[ $# -gt 0 ] || usage
command=$1
shift
case $command in
  inside) inside "$@" ;;
  host | cam)
    as_root
    [ $# -gt 0 ] || usage
    ns=$host_ns
    [ "$command" = host ] || ns=$cam_ns
    need_ns "$ns"
    # The namespace entered from, for cmake/wine-netns-run.sh: inside the lab
    # that of process 1 may be unreadable.
    if [ -z "${KAVRIX_HOST_NETNS:-}" ]; then
      KAVRIX_HOST_NETNS=$(readlink /proc/self/ns/net)
      export KAVRIX_HOST_NETNS
    fi
    exec ip netns exec "$ns" "$self" inside "$ns" "$@"
    ;;
  up | down | loss | other-subnet | camera | ourcamera)
    as_root
    lock
    case $command in
      up) up "$@" ;;
      down) down "$@" ;;
      loss) loss "$@" ;;
      other-subnet) other_subnet "$@" ;;
      camera) camera "$@" ;;
      ourcamera) ourcamera "$@" ;;
    esac
    ;;
  status) as_root; status ;;
  *) usage ;;
esac
