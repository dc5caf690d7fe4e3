#!/usr/bin/env bash
# End-to-end timing of `vantrell upgrade` in a lab (scripts/lab.sh) with a
# 4 MiB image:
#   - 50 simulated switches with distinct addresses, all named in one command
#     (their rows transfer at the same time);
#   - one switch alone, the reference for the ratio.
# Each run is timed from process start to exit (wall time, which includes
# the broadcast search). The simulator runs with --record, so the transfer
# phase is measured on its clock: the first challenge received to the last
# image taken. Throughput of the single switch (image bytes over its
# header-to-image-taken time) is set against a plain TCP copy of the same file
# with socat over the same path (workstation namespace to the device
# namespace), and against a copy on the workstation's loopback, in the same
# run. Checks that every row reads "Done" and every image arrived whole (MD5).
# Needs root; removes its lab at the end, also on failure.
#
#   sudo bench/upgrade_bench.sh [BUILD_DIR]
#
# BUILD_DIR (default: build) must hold built vantrell and vantrell-sim.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build}")"
cli="$build/src/cli/vantrell"
sim="$build/src/sim/vantrell-sim"
lab="vtub$$"
readonly COUNT=50 IMAGE_BYTES=$((4 << 20)) COPY_PORT=5999 COMMAND_LIMIT_S=600

[ "$(id -u)" -eq 0 ] || { echo "bench: needs root (network namespaces)" >&2; exit 1; }
if [ ! -x "$cli" ] || [ ! -x "$sim" ]; then
  echo "bench: build vantrell and vantrell-sim in $build first" >&2
  exit 1
fi
for tool in jq socat md5sum; do
  command -v "$tool" >/dev/null || { echo "bench: $tool not found (scripts/setup.sh)" >&2; exit 1; }
done

work="$(mktemp -d)"
cleanup() {
  "$repo/scripts/lab.sh" down "$lab" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
mac_of() { printf '02:56:E0:00:00:%02X' "$1"; }
ip_of() { echo "192.168.10.$((20 + $1))"; }

{
  echo '{"devices": ['
  for ((i = 0; i < COUNT; i++)); do
    separator=","
    [ "$i" -eq $((COUNT - 1)) ] && separator=""
    printf '  {"modelId": "0x6018", "serialNo": %d, "mac": "%s", "ip": "%s",' \
      "$((5000 + i))" "$(mac_of "$i")" "$(ip_of "$i")"
    printf ' "firmwareVersion": "0x01020300", "name": "upgrade bench %d",' "$i"
    printf ' "netmask": "255.255.255.0", "details": 86, "segment": 0}%s\n' "$separator"
  done
  echo ']}'
} >"$work/scenario.json"
head -c "$IMAGE_BYTES" /dev/urandom >"$work/image.rom"
image_md5="$(md5sum "$work/image.rom" | cut -d' ' -f1)"

start="$(now)"
"$repo/scripts/lab.sh" up "$lab" "$work/scenario.json" "$sim" --record "$work/record" >/dev/null
echo "lab $lab up with $COUNT switches: $(elapsed "$start" "$(now)") s"

# run_upgrade LABEL MAC...: one timed run; sets wall and transfer.
run_upgrade() {
  local label="$1"
  shift
  local lines_before begin end out
  lines_before="$(wc -l <"$work/record")"
  begin="$(now)"
  out="$("$repo/scripts/lab.sh" exec "$lab" timeout "$COMMAND_LIMIT_S" \
    "$cli" --quiet upgrade "$work/image.rom" "$@")" || {
    echo "bench: $label: vantrell upgrade failed" >&2
    echo "$out" >&2
    exit 1
  }
  end="$(now)"
  wall="$(elapsed "$begin" "$end")"
  local done_rows
  done_rows="$(grep -c $'\tDone$' <<<"$out" || true)"
  [ "$done_rows" -eq "$#" ] || { echo "bench: $label: $done_rows of $# rows Done" >&2; exit 1; }
  tail -n +"$((lines_before + 1))" "$work/record" >"$work/$label.lines"
  local taken
  taken="$(jq -s --arg md5 "$image_md5" \
    '[.[] | select(.opcode == 13 and .imageMd5 == $md5)] | length' "$work/$label.lines")"
  [ "$taken" -eq "$#" ] || { echo "bench: $label: $taken of $# images arrived whole" >&2; exit 1; }
  transfer="$(jq -s '([.[] | select(.opcode == 13) | .t] | max) -
                     ([.[] | select(.opcode == 20) | .t] | min)' "$work/$label.lines")"
}

macs=()
for ((i = 0; i < COUNT; i++)); do macs+=("$(mac_of "$i")"); done

run_upgrade many "${macs[@]}"
many_wall="$wall" many_transfer="$transfer"
run_upgrade one "$(mac_of 0)"
one_wall="$wall" one_transfer="$transfer"
# The single switch's own image time: its login answered to its image taken.
one_image_s="$(jq -s '([.[] | select(.opcode == 13) | .t] | max) -
                      ([.[] | select(.opcode == 0) | .t] | max)' "$work/one.lines")"

# Plain copies of the same file over the same path, and on loopback; each
# copy less the same copy of an empty file (the start-up of socat and of the
# namespace switch).
: >"$work/empty"
# socat_copy ADDRESS FILE: seconds for one copy to a listener at ADDRESS.
socat_copy() {
  local address="$1" file="$2" listener begin
  if [ "$address" = 127.0.0.1 ]; then
    "$repo/scripts/lab.sh" exec "$lab" timeout 60 socat -u \
      "TCP-LISTEN:$COPY_PORT,bind=$address,reuseaddr" OPEN:/dev/null &
  else
    "$repo/scripts/lab.sh" devexec "$lab" timeout 60 socat -u \
      "TCP-LISTEN:$COPY_PORT,bind=$address,reuseaddr" OPEN:/dev/null &
  fi
  listener=$!
  sleep 0.3
  begin="$(now)"
  "$repo/scripts/lab.sh" exec "$lab" timeout 60 socat -u "OPEN:$file" "TCP:$address:$COPY_PORT"
  elapsed "$begin" "$(now)"
  wait "$listener" || true
}
"$repo/scripts/lab.sh" exec "$lab" ip link set lo up
target="$(ip_of 0)"
copy_s="$(awk -v a="$(socat_copy "$target" "$work/image.rom")" -v b="$(socat_copy "$target" "$work/empty")" 'BEGIN { printf "%.3f", a - b }')"
loop_s="$(awk -v a="$(socat_copy 127.0.0.1 "$work/image.rom")" -v b="$(socat_copy 127.0.0.1 "$work/empty")" 'BEGIN { printf "%.3f", a - b }')"

mib() { awk -v b="$IMAGE_BYTES" -v s="$1" 'BEGIN { if (s > 0) printf "%.1f", b / 1048576 / s; else print "n/a" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

echo
echo "image: $((IMAGE_BYTES / 1048576)) MiB"
printf '%-28s %10s %14s\n' "run" "wall (s)" "transfer (s)"
printf '%-28s %10s %14.3f\n' "$COUNT switches, one run" "$many_wall" "$many_transfer"
printf '%-28s %10s %14.3f\n' "1 switch" "$one_wall" "$one_transfer"
echo "ratio $COUNT : 1   wall $(ratio "$many_wall" "$one_wall")   transfer $(ratio "$many_transfer" "$one_transfer")"
echo "aggregate throughput, $COUNT switches: $(awk -v n="$COUNT" -v b="$IMAGE_BYTES" -v s="$many_transfer" 'BEGIN { printf "%.1f", n * b / 1048576 / s }') MiB/s"
echo "single switch image: $(printf '%.3f' "$one_image_s") s = $(mib "$one_image_s") MiB/s"
echo "socat copy, same path:  ${copy_s} s = $(mib "$copy_s") MiB/s"
echo "socat copy, loopback:   ${loop_s} s = $(mib "$loop_s") MiB/s"
echo "session transfer against the plain copy over the same path: $(ratio "$one_image_s" "$copy_s") times as long"
