#!/usr/bin/env bash
# End-to-end timing of the broadcast search with many devices: 200 simulated
# devices on segment 0 of a lab (scripts/lab.sh) plus 20 on a foreign subnet
# (10.77.0.0/24) of the same segment, which are detailed through the ARP/route
# bracket; SILENT of them (default 10, every 22nd) never answer the details
# query. Runs `vantrell search --json` on the lab's workstation and reports
# what it found and how long it took: the search's own times from the CLI's
# summary line, the wall time, and the time of the last discovery and details
# reply from the simulator's --verbose log. Needs root; removes the lab at
# the end.
#
#   sudo bench/search_bench.sh [BUILD_DIR] [RUNS] [SILENT]
#
# BUILD_DIR (default: build) must hold built vantrell and vantrell-sim.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build}")"
runs="${2:-1}"
silent="${3:-10}"
cli="$build/src/cli/vantrell"
sim="$build/src/sim/vantrell-sim"
lab="vtcb$$"
readonly SAME_SUBNET=200 FOREIGN=20
readonly INACTIVITY_S=5

[ "$(id -u)" -eq 0 ] || { echo "bench: needs root (network namespaces)" >&2; exit 1; }
if [ ! -x "$cli" ] || [ ! -x "$sim" ]; then
  echo "bench: build vantrell and vantrell-sim in $build first" >&2
  exit 1
fi
[[ "$runs" =~ ^[1-9][0-9]?$ ]] || { echo "bench: RUNS must be 1..99" >&2; exit 2; }
[[ "$silent" =~ ^[0-9]+$ ]] && [ "$silent" -le 10 ] || { echo "bench: SILENT must be 0..10" >&2; exit 2; }

work="$(mktemp -d)"
cleanup() {
  "$repo/scripts/lab.sh" down "$lab" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# Scenario: every family, so both request kinds ('I' for the D8 series, 'H'
# for the rest) carry more known devices than fit into one request.
models=(0x6008 0x2518 0x3528 0x0548 0x0726 0x6028 0x25A8 0x35B8)
scenario="$work/bench.json"
{
  echo '{"devices": ['
  total=$((SAME_SUBNET + FOREIGN))
  for ((i = 0; i < total; i++)); do
    if [ "$i" -lt "$SAME_SUBNET" ]; then
      ip="192.168.10.$((20 + i))"
    else
      ip="10.77.0.$((5 + i - SAME_SUBNET))"
    fi
    details=86
    model="${models[$((i % ${#models[@]}))]}"
    [ "$model" = 0x0726 ] && details=1186
    [ $((i % 22)) -eq 21 ] && [ $((i / 22)) -lt "$silent" ] && details='"none"'

    separator=","
    [ "$i" -eq $((total - 1)) ] && separator=""
    printf '  {"modelId": "%s", "serialNo": %d, "mac": "02:56:B0:00:%02X:%02X", "ip": "%s",' \
      "$model" "$((1000 + i))" "$((i / 256))" "$((i % 256))" "$ip"
    printf ' "firmwareVersion": "0x01020300", "name": "bench %d", "netmask": "255.255.255.0",' "$i"
    printf ' "gateway": "192.168.10.254", "details": %s, "segment": 0, "prefix": 24}%s\n' \
      "$details" "$separator"
  done
  echo ']}'
} >"$scenario"
expected=$((SAME_SUBNET + FOREIGN))
expected_finish=$((expected - silent))

start="$(now)"
"$repo/scripts/lab.sh" up "$lab" "$scenario" "$sim" --verbose >/dev/null
up_s="$(elapsed "$start" "$(now)")"
echo "lab up with $expected devices ($silent silent to the details query) and the simulator: ${up_s} s"

sim_log="${VANTRELL_LAB_STATE:-/run/vantrell-lab}/$lab/sim.log"

# From the simulator's log lines since line $1: seconds from the first request
# it received to its last discovery reply, to its first and to its last
# details reply.
reply_times() {
  tail -n +"$1" "$sim_log" | awk '
    / recv / && first == "" { first = $2 }
    /discovery reply/ { discovery = $2 }
    /details reply/ { if (details_first == "") details_first = $2; details = $2 }
    END {
      if (first == "" || details == "") { print "none"; exit }
      printf "%.3f %.3f %.3f\n", discovery - first, details_first - first, details - first
    }'
}

for ((run = 1; run <= runs; run++)); do
  log_from=$(($(wc -l <"$sim_log") + 1))
  start="$(now)"
  status=0
  "$repo/scripts/lab.sh" exec "$lab" timeout 300 "$cli" search --json \
    >"$work/out.json" 2>"$work/err.txt" || status=$?
  wall_s="$(elapsed "$start" "$(now)")"

  listed="$(jq 'length' "$work/out.json")"
  unique="$(jq '[.[].mac] | unique | length' "$work/out.json")"
  finished="$(jq '[.[] | select(.details == "Finish")] | length' "$work/out.json")"
  timed_out="$(jq '[.[] | select(.details == "Timeout")] | length' "$work/out.json")"
  foreign="$(jq '[.[] | select(.ip | startswith("10.77.0."))] | length' "$work/out.json")"
  summary="$(grep -E '^found [0-9]+ devices in' "$work/err.txt" | tail -1 || true)"

  echo
  echo "run $run: exit code $status"
  echo "  devices found:        $listed (distinct MACs $unique, expected $expected)"
  echo "  of them foreign:      $foreign (expected $FOREIGN)"
  echo "  details \"Finish\":     $finished (expected $expected_finish), \"Timeout\": $timed_out"
  echo "  wall time of search:  ${wall_s} s (process start to exit, namespace entry included)"
  read -r last_discovery first_details last_details < <(reply_times "$log_from") || true
  if [ "${last_discovery:-none}" != none ]; then
    echo "  simulator clock, from the first request it received:"
    echo "    details replies:    first ${first_details} s, last ${last_details} s"
    echo "    last discovery:     ${last_discovery} s (devices beyond the 32 listed per"
    echo "                        request kind answer every cycle until the end)"
  fi
  if [[ "$summary" =~ in\ ([0-9.]+)\ s\ \(last\ new\ device\ after\ ([0-9.]+)\ s\) ]]; then
    total_s="${BASH_REMATCH[1]}"
    last_s="${BASH_REMATCH[2]}"
    # The countdown is re-armed to 5000 ms by the last new device and ends
    # after 25 ticks of 200 ms, the first of which may come at once.
    floor_low="$(awk -v l="$last_s" -v w="$INACTIVITY_S" 'BEGIN { printf "%.3f", l + w - 0.2 }')"
    floor_high="$(awk -v l="$last_s" -v w="$INACTIVITY_S" 'BEGIN { printf "%.3f", l + w }')"
    echo "  search time (CLI):    ${total_s} s"
    echo "  last new device at:   ${last_s} s after the start"
    echo "  floor:                ${floor_low}..${floor_high} s = last new device + ${INACTIVITY_S} s"
    echo "                        inactivity (25 ticks), plus whatever time the details"
    echo "                        queries hold the 200 ms timer"
    echo "  above the floor:      $(elapsed "$floor_high" "$total_s") s"
    echo "  search / floor:       $(awk -v t="$total_s" -v f="$floor_high" 'BEGIN { printf "%.3f", t / f }')"
  else
    echo "  the CLI printed no summary line; only the wall time is known"
  fi
  if [ "$listed" -ne "$expected" ] || [ "$unique" -ne "$expected" ] || [ "$status" -ne 0 ] ||
    [ "$finished" -ne "$expected_finish" ]; then
    echo "  MISMATCH: expected $expected distinct devices, $expected_finish detailed, exit code 0"
  fi
done

start="$(now)"
"$repo/scripts/lab.sh" down "$lab"
echo
echo "lab down: $(elapsed "$start" "$(now)") s"
