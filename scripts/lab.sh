#!/usr/bin/env bash
# A network lab of two namespaces for trying the configurator against the
# device simulator without touching the machine's own network.
#
#   scripts/lab.sh up NAME SCENARIO.json SIMBIN [SIM OPTIONS...]
#   scripts/lab.sh exec NAME CMD [ARGS...]      run CMD on the workstation
#   scripts/lab.sh devexec NAME CMD [ARGS...]   run CMD in the device namespace
#   scripts/lab.sh status NAME                  addresses, routes, simulator
#   scripts/lab.sh down NAME                    remove everything (idempotent)
#
# NAME: 3 to 11 characters, lower-case letters and digits, starting with
# "vt" (for example vtc1); interface names NAMEm<i> must fit 15 characters. Namespaces NAME-ws and NAME-dev are created and
# every interface inside them starts with NAME.
#
# Workstation namespace NAME-ws:
#   NAMEw0  192.168.10.1/24  segment 0
#   NAMEw1  192.168.20.1/24  segment 1
# Device namespace NAME-dev:
#   NAMEd0, NAMEd1           peers of NAMEw0 and NAMEw1
#   NAMEm<i>                 one macvlan (mode bridge) per scenario device i,
#                            on the peer of its "segment" (default 0), with the
#                            device's "mac" and "ip"/"prefix" (default 24)
# The simulator runs in NAME-dev with --scenario SCENARIO.json and
# --ready-file; `up` returns once it is ready (at most 10 s). SIMBIN "-"
# builds the namespaces only, without a simulator.
#
# A device whose address lies outside its segment's subnet is reachable from
# the workstation only once a /32 host route on that segment exists (the
# configurator installs it with a static ARP entry); the workstation has no
# other route. Its replies reach the workstation because the simulator sends
# on the arrival interface, and reverse-path filtering is off in both
# namespaces. A device interface answers ARP only for its own address, and
# IPv6 is off, so the segments carry only the lab's own traffic.
# `down` stops every process still inside the lab's namespaces.
set -euo pipefail

readonly STATE_ROOT="${VANTRELL_LAB_STATE:-/run/vantrell-lab}"
readonly READY_TIMEOUT_S=10
readonly STOP_TIMEOUT_S=5
readonly -a SEGMENT_ADDR=(192.168.10.1 192.168.20.1)
readonly SEGMENT_PREFIX=24

die() {
  echo "lab: $*" >&2
  exit 1
}

usage() {
  sed -n '2,/^set -euo/p' "$0" | sed -e '/^set -euo/d' -e 's/^# \{0,1\}//' >&2
  exit 2
}

check_name() {
  [[ "$1" =~ ^vt[a-z0-9]{1,9}$ ]] || die "invalid lab name '$1' (vt + 1..9 of [a-z0-9])"
}

need_root() {
  [ "$(id -u)" -eq 0 ] || die "needs root (network namespaces)"
  command -v ip >/dev/null || die "ip (iproute2) not found"
}

ns_exists() { [ -e "/run/netns/$1" ]; }

# Writes sysctl values inside a namespace: pairs of key value.
ns_sysctl() {
  local ns="$1"
  shift
  local script=""
  while [ $# -ge 2 ]; do
    script+="echo $2 > /proc/sys/${1//.//} 2>/dev/null || true;"
    shift 2
  done
  ip netns exec "$ns" sh -c "$script"
}

# Emits the `ip -batch` lines that create the macvlan of every device.
device_batch() {
  local name="$1" scenario="$2"
  jq -r '
    .devices | to_entries[] |
    [ .key,
      (.value.mac // error("device \(.key): mac missing")),
      (.value.ip // error("device \(.key): ip missing")),
      ((.value.segment // 0) | tostring),
      ((.value.prefix // 24) | tostring) ] | @tsv' "$scenario" |
    while IFS=$'\t' read -r index mac address segment prefix; do
      [[ "$mac" =~ ^([0-9A-Fa-f]{2}[:-]){5}[0-9A-Fa-f]{2}$ ]] || die "device $index: bad mac $mac"
      [[ "$address" =~ ^([0-9]{1,3}\.){3}[0-9]{1,3}$ ]] || die "device $index: bad ip $address"
      [[ "$segment" =~ ^[01]$ ]] || die "device $index: segment must be 0 or 1"
      if ! [[ "$prefix" =~ ^[0-9]+$ ]] || [ "$prefix" -lt 1 ] || [ "$prefix" -gt 32 ]; then
        die "device $index: prefix must be 1..32"
      fi
      local link="${name}m${index}"
      [ "${#link}" -le 15 ] || die "interface name $link too long; use a shorter lab name"
      echo "link add ${link} link ${name}d${segment} address ${mac} type macvlan mode bridge"
      echo "address add ${address}/${prefix} dev ${link}"
      echo "link set ${link} up"
    done
}

start_simulator() {
  local name="$1" scenario="$2" simbin="$3"
  shift 3
  local state="$STATE_ROOT/$name"
  local ready="$state/ready" log="$state/sim.log"
  rm -f "$ready"
  ip netns exec "$name-dev" "$simbin" --scenario "$scenario" --ready-file "$ready" "$@" \
    </dev/null >"$log" 2>&1 &
  local pid=$!
  local waited=0 limit=$((READY_TIMEOUT_S * 20))
  while [ ! -s "$ready" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      cat "$log" >&2 || true
      die "simulator exited before it was ready"
    fi
    [ "$waited" -lt "$limit" ] || {
      cat "$log" >&2 || true
      die "simulator not ready after ${READY_TIMEOUT_S}s"
    }
    sleep 0.05
    waited=$((waited + 1))
  done
}

cmd_up() {
  [ $# -ge 3 ] || usage
  local name="$1" scenario="$2" simbin="$3"
  shift 3
  check_name "$name"
  need_root
  command -v jq >/dev/null || die "jq not found (scripts/setup.sh installs it)"
  [ -r "$scenario" ] || die "cannot read scenario $scenario"
  scenario="$(realpath "$scenario")"
  if [ "$simbin" != "-" ]; then
    [ -x "$simbin" ] || die "simulator $simbin is not executable"
    simbin="$(realpath "$simbin")"
  fi
  if ns_exists "$name-ws" || ns_exists "$name-dev" || [ -d "$STATE_ROOT/$name" ]; then
    die "lab $name exists; run: $0 down $name"
  fi
  # Check the scenario before anything is made.
  local batch
  batch="$(device_batch "$name" "$scenario")" || die "bad scenario $scenario"

  cleanup_name="$name"
  trap 'echo "lab: up failed, cleaning up" >&2; cmd_down "$cleanup_name" >/dev/null 2>&1' EXIT
  mkdir -p "$STATE_ROOT/$name"
  ip netns add "$name-ws"
  ip netns add "$name-dev"

  local common=(net.ipv4.conf.all.rp_filter 0 net.ipv4.conf.default.rp_filter 0
    net.ipv6.conf.all.disable_ipv6 1 net.ipv6.conf.default.disable_ipv6 1)
  ns_sysctl "$name-ws" "${common[@]}"
  # One device's interface answers ARP only for its own address, so the
  # workstation learns the right MAC even without a static entry.
  ns_sysctl "$name-dev" "${common[@]}" \
    net.ipv4.conf.all.arp_ignore 1 net.ipv4.conf.default.arp_ignore 1 \
    net.ipv4.conf.all.arp_announce 2 net.ipv4.conf.default.arp_announce 2

  local seg
  {
    echo "link set lo up"
    for seg in 0 1; do
      echo "link add ${name}w${seg} type veth peer name ${name}d${seg} netns ${name}-dev"
      echo "address add ${SEGMENT_ADDR[$seg]}/${SEGMENT_PREFIX} dev ${name}w${seg}"
      echo "link set ${name}w${seg} up"
    done
  } | ip -n "$name-ws" -batch -
  {
    echo "link set lo up"
    for seg in 0 1; do
      echo "link set ${name}d${seg} up"
    done
    [ -z "$batch" ] || printf '%s\n' "$batch"
  } | ip -n "$name-dev" -batch -
  if [ "$simbin" != "-" ]; then
    start_simulator "$name" "$scenario" "$simbin" "$@"
  fi
  trap - EXIT
  echo "lab $name up: $(jq '.devices | length' "$scenario") devices"
}

# Stops every process that runs inside a namespace of the lab (the
# simulator, an interrupted command): TERM, then KILL after STOP_TIMEOUT_S.
stop_namespace_processes() {
  local ns="$1" pids waited=0
  pids="$(ip netns pids "$ns" 2>/dev/null || true)"
  [ -n "$pids" ] || return 0
  # shellcheck disable=SC2086
  kill -TERM $pids 2>/dev/null || true
  while [ -n "$(ip netns pids "$ns" 2>/dev/null || true)" ] &&
    [ "$waited" -lt $((STOP_TIMEOUT_S * 20)) ]; do
    sleep 0.05
    waited=$((waited + 1))
  done
  pids="$(ip netns pids "$ns" 2>/dev/null || true)"
  # shellcheck disable=SC2086
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
}

cmd_down() {
  [ $# -eq 1 ] || usage
  local name="$1"
  check_name "$name"
  need_root
  local ns
  for ns in "$name-ws" "$name-dev"; do
    if ns_exists "$ns"; then
      stop_namespace_processes "$ns"
      ip netns del "$ns" 2>/dev/null || true
    fi
  done
  rm -rf "${STATE_ROOT:?}/$name"
  if ns_exists "$name-ws" || ns_exists "$name-dev"; then
    die "could not remove lab $name"
  fi
  return 0
}

cmd_exec() {
  [ $# -ge 2 ] || usage
  local name="$1"
  shift
  check_name "$name"
  ns_exists "$name-ws" || die "lab $name is not up"
  exec ip netns exec "$name-ws" "$@"
}

cmd_devexec() {
  [ $# -ge 2 ] || usage
  local name="$1"
  shift
  check_name "$name"
  ns_exists "$name-dev" || die "lab $name is not up"
  exec ip netns exec "$name-dev" "$@"
}

cmd_status() {
  [ $# -eq 1 ] || usage
  local name="$1" state="$STATE_ROOT/$1"
  check_name "$name"
  ns_exists "$name-ws" || die "lab $name is not up"
  echo "== $name-ws"
  ip -n "$name-ws" -br address
  ip -n "$name-ws" route
  ip -n "$name-ws" neigh
  echo "== $name-dev: $(ip -n "$name-dev" -br link | grep -c "^${name}m") device interfaces"
  echo "processes in $name-dev: $(ip netns pids "$name-dev" | tr '\n' ' ')"
  [ ! -f "$state/sim.log" ] || echo "simulator log: $state/sim.log"
}

[ $# -ge 1 ] || usage
command="$1"
shift
case "$command" in
  up) cmd_up "$@" ;;
  down) cmd_down "$@" ;;
  exec) cmd_exec "$@" ;;
  devexec) cmd_devexec "$@" ;;
  status) cmd_status "$@" ;;
  -h | --help | help) usage ;;
  *) usage ;;
esac
