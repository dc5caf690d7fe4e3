#!/usr/bin/env bash
# End-to-end timing of `vantrell restore` in a lab (scripts/lab.sh): 50
# simulated D8 switches (ORV-D8-G1, model 0x6018, firmware 1.4.1.0, block
# generation GenD2) with distinct addresses on segment 0. Every switch is
# saved with `vantrell backup --all`; the files are then edited (a new
# ServerName each) so that every switch differs from its file. Timed, from
# process start to exit (wall time): `--yes restore` of one switch (the
# reference, a folder holding only its file), `--yes restore --all` of the
# 50 (each is exported and compared, then each gets its file), and a second
# `restore --all` of the 50, now all "Unchanged" (export and comparison
# only). Checks exit codes and row texts ("Import Success", "Unchanged").
# Needs root; removes its lab at the end, also on failure.
#
#   sudo bench/restore_bench.sh [BUILD_DIR]
#
# BUILD_DIR (default: build) must hold built vantrell and vantrell-sim.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build}")"
lab="vtrb$$"
readonly DEVICES=50
readonly MODEL=0x6018
readonly FIRMWARE=0x01040100
readonly COMMAND_LIMIT_S=300
readonly MAC_PREFIX=02:56:D2:00
readonly SERIAL_BASE=5000
readonly NAME="restore bench"
# shellcheck source=bench/lab_bench.sh
source "$repo/bench/lab_bench.sh"


macs=()
for ((i = 0; i < DEVICES; i++)); do macs+=("$(mac_of "$i")"); done

# file_of MAC: the name backup gives the MAC's file.
file_of() { echo "${1//:/-}.cfg"; }

# edit_names FOLDER TAG: a new ServerName in each file of FOLDER.
edit_names() {
  local f
  for f in "$1"/*.cfg; do sed -i "s/^ServerName[[:space:]].*/ServerName\t\t$2$(basename "$f" .cfg | tail -c 3)/" "$f"; done
}

# expect ROWS TEXT: checks that the last run exited 0 with ROWS rows TEXT.
failed=0
expect() {
  local rows
  rows="$(grep -c $'\t'"$2"'$' "$work/out.txt" || true)"
  echo "  exit code $status, $rows rows \"$2\", wall time ${wall} s," \
    "per device $(per_device "$wall" "$1") ms"
  if [ "$status" -ne 0 ] || [ "$rows" -ne "$1" ]; then
    echo "  MISMATCH: expected exit code 0 and $1 rows \"$2\""
    grep -v $'\t'"$2"'$' "$work/out.txt" | head -n 5 | sed 's/^/  stdout: /'
    sed 's/^/  stderr: /' "$work/err.txt" | tail -n 5
    failed=1
  fi
}

lab_up

run_cli "$work/out.txt" "$work/err.txt" backup "$work/all" --all
echo "backup of $DEVICES devices: exit code $status, wall time ${wall} s"
[ "$status" -eq 0 ] || { echo "bench: backup failed" >&2; exit 1; }
mkdir -p "$work/one"
cp "$work/all/$(file_of "${macs[0]}")" "$work/one/"
edit_names "$work/one" "one"
edit_names "$work/all" "all"

run_cli "$work/out.txt" "$work/err.txt" --yes restore "$work/one" "${macs[0]}"
echo "restore of 1 device (reference):"
expect 1 "Import Success"
run_cli "$work/out.txt" "$work/err.txt" --yes restore "$work/all" --all
echo "restore of $DEVICES devices, every one changed:"
expect "$DEVICES" "Import Success"
run_cli "$work/out.txt" "$work/err.txt" --yes restore "$work/all" --all
echo "restore of $DEVICES devices, none changed:"
expect "$DEVICES" "Unchanged"

start="$(now)"
"$repo/scripts/lab.sh" down "$lab"
echo "lab down: $(elapsed "$start" "$(now)") s"
exit "$failed"
