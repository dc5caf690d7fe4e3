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
cli="$build/src/cli/vantrell"
sim="$build/src/sim/vantrell-sim"
lab="vtb$$"
readonly DEVICES=100
readonly MODEL=0x6018
readonly FIRMWARE=0x01040100
readonly COMMAND_LIMIT_S=300

[ "$(id -u)" -eq 0 ] || { echo "bench: needs root (network namespaces)" >&2; exit 1; }
if [ ! -x "$cli" ] || [ ! -x "$sim" ]; then
  echo "bench: build vantrell and vantrell-sim in $build first" >&2
  exit 1
fi
[[ "$runs" =~ ^[1-9][0-9]?$ ]] || { echo "bench: RUNS must be 1..99" >&2; exit 2; }

work="$(mktemp -d)"
cleanup() {
  "$repo/scripts/lab.sh" down "$lab" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

mac_of() { printf '02:56:D2:00:%02X:%02X' "$(($1 / 256))" "$(($1 % 256))"; }

# write_scenario FILE: DEVICES switches at 192.168.10.20+i.
write_scenario() {
  local file="$1" i separator
  {
    echo '{"devices": ['
    for ((i = 0; i < DEVICES; i++)); do
      separator=","
      [ "$i" -eq $((DEVICES - 1)) ] && separator=""
      printf '  {"modelId": "%s", "serialNo": %d, "mac": "%s", "ip": "192.168.10.%d",' \
        "$MODEL" "$((6000 + i))" "$(mac_of "$i")" "$((20 + i))"
      printf ' "firmwareVersion": "%s", "name": "backup bench %d",' "$FIRMWARE" "$i"
      printf ' "netmask": "255.255.255.0", "gateway": "192.168.10.254", "details": 86,'
      printf ' "segment": 0}%s\n' "$separator"
    done
    echo ']}'
  } >"$file"
}

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

write_scenario "$work/scenario.json"
start="$(now)"
"$repo/scripts/lab.sh" up "$lab" "$work/scenario.json" "$sim" >/dev/null
echo "lab $lab up with $DEVICES devices: $(elapsed "$start" "$(now)") s"

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
