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
lab="vtr$$"
readonly DEVICES=50
readonly MODEL=0x6018
readonly FIRMWARE=0x01040100
readonly COMMAND_LIMIT_S=300
readonly MAC_PREFIX=02:56:D1:00
readonly SERIAL_BASE=5000
readonly NAME="import bench"
# shellcheck source=bench/lab_bench.sh
source "$repo/bench/lab_bench.sh"


macs=()
for ((i = 0; i < DEVICES; i++)); do macs+=("$(mac_of "$i")"); done

lab_up

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
