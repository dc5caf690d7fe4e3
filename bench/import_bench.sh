#!/usr/bin/env bash
# End-to-end timing of `vantrell import` in a lab (scripts/lab.sh): 50
# simulated D8 switches (ORV-D8-G1, model 0x6018, firmware 1.4.1.0, block
# generation GenD2) with distinct addresses on segment 0. The file of the
# first switch is exported with `vantrell export`, then imported with
# `vantrell --yes import --keep-address FILE MAC...` into all 50 in one
# command (the file is a template: each switch keeps its own address). Each
# command is timed from process start to exit (wall time); the import's time
# per device is its wall time divided by 50 (the rows run at the same time,
# so this is a throughput figure, not one device's latency). An import into
# a single device is timed first in each run as the reference.
# Checks that the export succeeds, the import exits with 0 and every row
# reads "Import Success".
# Needs root; removes its lab at the end, also on failure.
#
#   sudo bench/import_bench.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR (default: build) must hold built vantrell and vantrell-sim.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build}")"
runs="${2:-1}"
cli="$build/src/cli/vantrell"
sim="$build/src/sim/vantrell-sim"
lab="vtr$$"
readonly DEVICES=50
readonly MODEL=0x6018
readonly FIRMWARE=0x01040100
readonly COMMAND_LIMIT_S=300

[ "$(id -u)" -eq 0 ] || { echo "bench: needs root (network namespaces)" >&2; exit 1; }
if [ ! -x "$cli" ] || [ ! -x "$sim" ]; then
  echo "bench: build vantrell and vantrell-sim in $build first" >&2
  exit 1
fi
[[ "$runs" =~ ^[1-9][0-9]?$ ]] || { echo "bench: RUNS must be 1..99" >&2; exit 2; }
command -v jq >/dev/null || { echo "bench: jq not found" >&2; exit 1; }

work="$(mktemp -d)"
cleanup() {
  "$repo/scripts/lab.sh" down "$lab" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
per_device() { awk -v w="$1" -v n="$2" 'BEGIN { printf "%.1f", 1000 * w / n }'; }

# mac_of INDEX: the MAC address of scenario device INDEX.
mac_of() { printf '02:56:D1:00:%02X:%02X' "$(($1 / 256))" "$(($1 % 256))"; }

# write_scenario FILE: DEVICES switches of one model and firmware at
# 192.168.10.20+i.
write_scenario() {
  local file="$1" i separator
  {
    echo '{"devices": ['
    for ((i = 0; i < DEVICES; i++)); do
      separator=","
      [ "$i" -eq $((DEVICES - 1)) ] && separator=""
      printf '  {"modelId": "%s", "serialNo": %d, "mac": "%s", "ip": "192.168.10.%d",' \
        "$MODEL" "$((5000 + i))" "$(mac_of "$i")" "$((20 + i))"
      printf ' "firmwareVersion": "%s", "name": "import bench %d",' "$FIRMWARE" "$i"
      printf ' "netmask": "255.255.255.0", "gateway": "192.168.10.254", "details": 86,'
      printf ' "segment": 0}%s\n' "$separator"
    done
    echo ']}'
  } >"$file"
}

# run_cli OUT ERR ARGS...: the configurator in the lab; sets `status` and `wall`.
run_cli() {
  local out="$1" err="$2" start
  shift 2
  status=0
  start="$(now)"
  "$repo/scripts/lab.sh" exec "$lab" timeout "$COMMAND_LIMIT_S" "$cli" "$@" >"$out" 2>"$err" ||
    status=$?
  wall="$(elapsed "$start" "$(now)")"
}

macs=()
for ((i = 0; i < DEVICES; i++)); do macs+=("$(mac_of "$i")"); done

write_scenario "$work/scenario.json"
start="$(now)"
"$repo/scripts/lab.sh" up "$lab" "$work/scenario.json" "$sim" >/dev/null
echo "lab $lab up with $DEVICES devices: $(elapsed "$start" "$(now)") s"

file="$work/exported.ini"
run_cli "$work/out.txt" "$work/err.txt" export "${macs[0]}" "$file"
echo "export of ${macs[0]}: exit code $status, wall time ${wall} s, $(wc -c <"$file" 2>/dev/null || echo 0) bytes"
if [ "$status" -ne 0 ] || [ ! -s "$file" ]; then
  echo "bench: export failed" >&2
  sed 's/^/  stderr: /' "$work/err.txt" | tail -n 5 >&2
  exit 1
fi

failed=0
for ((run = 1; run <= runs; run++)); do
  run_cli "$work/out.txt" "$work/err.txt" --yes import "$file" "${macs[1]}"
  echo "run $run: import into 1 device (reference): exit code $status, wall time ${wall} s"
  grep -q $'\tImport Success$' "$work/out.txt" || { echo "  MISMATCH: no \"Import Success\""; failed=1; }
  run_cli "$work/out.txt" "$work/err.txt" --yes import --keep-address "$file" "${macs[@]}"
  ok_rows="$(grep -c $'\tImport Success$' "$work/out.txt" || true)"
  echo "run $run: import into $DEVICES devices: exit code $status, $ok_rows of $DEVICES rows" \
    "\"Import Success\""
  echo "  wall time:  ${wall} s   per device: $(per_device "$wall" "$DEVICES") ms"
  if [ "$status" -ne 0 ] || [ "$ok_rows" -ne "$DEVICES" ]; then
    echo "  MISMATCH: expected exit code 0 and $DEVICES rows \"Import Success\""
    grep -v $'\tImport Success$' "$work/out.txt" | head -n 5 | sed 's/^/  row: /'
    sed 's/^/  stderr: /' "$work/err.txt" | tail -n 5
    failed=1
  fi
done

start="$(now)"
"$repo/scripts/lab.sh" down "$lab"
echo "lab down: $(elapsed "$start" "$(now)") s"
exit "$failed"
