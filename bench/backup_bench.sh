#!/usr/bin/env bash
# End-to-end timing of `vantrell backup` in a lab (scripts/lab.sh): 100
# simulated D8 switches (ORV-D8-G1, model 0x6018, firmware 1.4.1.0) with
# distinct addresses on segment 0. Each run backs up one device (the
# reference), then all 100 with --all. The figure is the wall time after
# the search: from the first selection line on stderr (printed when the
# search has ended and before anything is sent) to the command's exit.
# Checks the exit code, one "Export configuration to file OK." row a device,
# one file a device and inventory.csv with a row a device.
# Needs root; removes its lab at the end, also on failure.
#
#   sudo bench/backup_bench.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR (default: build) must hold built vantrell and vantrell-sim.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build}")"
runs="${2:-1}"
lab="vtb$$"
readonly DEVICES=100
readonly MODEL=0x6018
readonly FIRMWARE=0x01040100
readonly COMMAND_LIMIT_S=300
readonly MAC_PREFIX=02:56:D2:00
readonly SERIAL_BASE=6000
readonly NAME="backup bench"
# shellcheck source=bench/lab_bench.sh
source "$repo/bench/lab_bench.sh"

# run_backup DIR ARGS...: the backup in the lab; sets `status` and `after`
# (seconds from the end of the search to the exit).
run_backup() {
  local folder="$1" searched finished
  shift
  status=0
  "$repo/scripts/lab.sh" exec "$lab" timeout "$COMMAND_LIMIT_S" "$cli" backup "$folder" "$@" \
    >"$work/out.txt" 2> >(while IFS= read -r line; do echo "$(now) $line"; done >"$work/err.txt") ||
    status=$?
  finished="$(now)"
  wait
  searched="$(grep -a -m1 -E "^[0-9.]+ ([0-9A-F]{2}:){5}[0-9A-F]{2}"$'\t' "$work/err.txt" | cut -d' ' -f1 || true)"
  after="$(elapsed "${searched:-$finished}" "$finished")"
}

# check FOLDER COUNT: COUNT OK rows, files and inventory rows.
check() {
  local folder="$1" count="$2" ok files rows
  ok="$(grep -c $'\tExport configuration to file OK.$' "$work/out.txt" || true)"
  files="$(find "$folder" -name '*.cfg' | wc -l)"
  rows="$(($(wc -l <"$folder/inventory.csv") - 1))"
  if [ "$status" -ne 0 ] || [ "$ok" -ne "$count" ] || [ "$files" -ne "$count" ] ||
    [ "$rows" -ne "$count" ]; then
    echo "  MISMATCH: exit code $status, $ok OK rows, $files files, $rows inventory rows" \
      "(expected 0 and $count each)"
    sed 's/^/  stderr: /' "$work/err.txt" | tail -n 5
    return 1
  fi
}

lab_up

failed=0
for ((run = 1; run <= runs; run++)); do
  rm -rf "$work/one" "$work/all"
  run_backup "$work/one" --subnet 192.168.10.20/32
  one="$after"
  check "$work/one" 1 || failed=1
  run_backup "$work/all" --all
  check "$work/all" "$DEVICES" || failed=1
  echo "run $run: backup after the search: 1 device ${one} s, $DEVICES devices ${after} s" \
    "($(awk -v a="$after" -v b="$one" 'BEGIN { printf "%.2f", a / b }') times)"
done

"$repo/scripts/lab.sh" down "$lab" >/dev/null
exit "$failed"
