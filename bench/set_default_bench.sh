#!/usr/bin/env bash
# End-to-end timing of `vantrell set-default` in a lab (scripts/lab.sh):
#   - 100 simulated switches with distinct addresses on segment 0, all named
#     in one command (their rows run at the same time);
#   - 10 switches sharing one address (their rows run one after another);
#   - a single switch, the reference for the ratios.
# Each run is timed from process start to exit (wall time). The simulator
# runs with --record; its clock is tied to the wall clock by one anchor
# request sent just before the runs, so the wall time splits into
#   search    process start to the first session request a device received
#             (the broadcast search until every named device is detailed,
#             plus the collection step and the first 100 ms timer tick),
#   sessions  first challenge to the last Set Default received,
#   tail      last Set Default to process exit (its acknowledgement, the
#             timer tick that sees every row final, printing, exit).
# Checks that every row reads "Done", the exit code is 0 and every device
# (for the shared address: its port owner, once per row) got one Set Default.
# Needs root; removes its labs at the end, also on failure.
#
#   sudo bench/set_default_bench.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR (default: build) must hold built vantrell and vantrell-sim.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$repo/build}")"
runs="${2:-1}"
cli="$build/src/cli/vantrell"
sim="$build/src/sim/vantrell-sim"
lab_distinct="vtdb$$"
lab_shared="vtds$$"
readonly DISTINCT=100 SHARED=10
readonly SHARED_ADDRESS=192.168.10.50
readonly COMMAND_LIMIT_S=120

[ "$(id -u)" -eq 0 ] || { echo "bench: needs root (network namespaces)" >&2; exit 1; }
if [ ! -x "$cli" ] || [ ! -x "$sim" ]; then
  echo "bench: build vantrell and vantrell-sim in $build first" >&2
  exit 1
fi
[[ "$runs" =~ ^[1-9][0-9]?$ ]] || { echo "bench: RUNS must be 1..99" >&2; exit 2; }
command -v jq >/dev/null || { echo "bench: jq not found" >&2; exit 1; }

work="$(mktemp -d)"
cleanup() {
  "$repo/scripts/lab.sh" down "$lab_distinct" >/dev/null 2>&1 || true
  "$repo/scripts/lab.sh" down "$lab_shared" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# mac_of INDEX: the MAC address of scenario device INDEX.
mac_of() { printf '02:56:D0:00:%02X:%02X' "$(($1 / 256))" "$(($1 % 256))"; }

# write_scenario FILE COUNT SHARED(0|1): COUNT switches of several families,
# at 192.168.10.20+i or all at SHARED_ADDRESS.
write_scenario() {
  local file="$1" count="$2" shared="$3" i ip model separator
  local models=(0x2508 0x3508 0x6008 0x0538 0x2518 0x3528)
  {
    echo '{"devices": ['
    for ((i = 0; i < count; i++)); do
      ip="192.168.10.$((20 + i))"
      [ "$shared" -eq 0 ] || ip="$SHARED_ADDRESS"
      model="${models[$((i % ${#models[@]}))]}"
      separator=","
      [ "$i" -eq $((count - 1)) ] && separator=""
      printf '  {"modelId": "%s", "serialNo": %d, "mac": "%s", "ip": "%s",' \
        "$model" "$((3000 + i))" "$(mac_of "$i")" "$ip"
      printf ' "firmwareVersion": "0x01020300", "name": "set-default bench %d",' "$i"
      printf ' "netmask": "255.255.255.0", "gateway": "192.168.10.254", "details": 86,'
      printf ' "segment": 0}%s\n' "$separator"
    done
    echo ']}'
  } >"$file"
}

# lab_up NAME COUNT SHARED: scenario, lab and simulator with --record.
lab_up() {
  local name="$1" count="$2" shared="$3" start
  write_scenario "$work/$name.json" "$count" "$shared"
  start="$(now)"
  "$repo/scripts/lab.sh" up "$name" "$work/$name.json" "$sim" --record "$work/$name.record" \
    >/dev/null
  echo "lab $name up with $count devices: $(elapsed "$start" "$(now)") s"
}

# Seconds to add to the simulator's record clock to get the wall clock (date
# +%s.%N), measured with one information-text request (0x21, served without
# a login) to ADDRESS: the wall time halfway between sending it and reading
# the first byte of the answer (0x21; the length bytes that follow may be
# zero, which `read` would skip), minus the time the simulator recorded.
clock_offset() {
  local name="$1" address="$2" times
  # shellcheck disable=SC2016 # expanded by the inner shell
  times="$("$repo/scripts/lab.sh" exec "$name" timeout 10 bash -c '
    exec 3<>"/dev/tcp/$1/4000" || exit 1
    before=$(date +%s.%N)
    printf "\x21" >&3
    read -r -t 5 -N 1 _ <&3 || exit 1
    after=$(date +%s.%N)
    exec 3>&-
    echo "$before $after"' bash "$address")"
  local recorded
  recorded="$(tail -n 1 "$work/$name.record" | jq -r 'select(.opcode == 33) | .t')"
  [ -n "$recorded" ] || { echo "bench: no anchor line in the record" >&2; return 1; }
  read -r before after <<<"$times"
  awk -v b="$before" -v a="$after" -v t="$recorded" 'BEGIN { printf "%.6f", (a + b) / 2 - t }'
}

declare -A wall_s after_s

# run_set_default LABEL LAB OFFSET EXPECTED_SETDEFAULTS MAC...: one timed run.
run_set_default() {
  local label="$1" name="$2" offset="$3" expected="$4"
  shift 4
  local record="$work/$name.record" from status=0 start end
  from=$(($(wc -l <"$record") + 1))
  start="$(now)"
  "$repo/scripts/lab.sh" exec "$name" timeout "$COMMAND_LIMIT_S" "$cli" set-default "$@" \
    >"$work/out.txt" 2>"$work/err.txt" || status=$?
  end="$(now)"
  local wall done_rows received first last
  wall="$(elapsed "$start" "$end")"
  done_rows="$(grep -c $'\tDone$' "$work/out.txt" || true)"
  tail -n +"$from" "$record" >"$work/run.record"
  received="$(jq -s '[.[] | select(.opcode == 41 and .result == "command acknowledged")] | length' \
    "$work/run.record")"
  first="$(jq -s 'map(.t) | min // empty' "$work/run.record")"
  last="$(jq -s '[.[] | select(.opcode == 41) | .t] | max // empty' "$work/run.record")"

  echo "  $label: exit code $status, $done_rows of $# rows \"Done\"," \
    "$received Set Default acknowledged"
  echo "    wall time:  ${wall} s"
  if [ -n "$first" ] && [ -n "$last" ]; then
    local search sessions tail_s
    search="$(awk -v s="$start" -v o="$offset" -v f="$first" 'BEGIN { printf "%.3f", f + o - s }')"
    sessions="$(elapsed "$first" "$last")"
    tail_s="$(awk -v e="$end" -v o="$offset" -v l="$last" 'BEGIN { printf "%.3f", e - (l + o) }')"
    echo "    search:     ${search} s   sessions: ${sessions} s   tail: ${tail_s} s"
    after_s[$label]="$(awk -v w="$wall" -v s="$search" 'BEGIN { printf "%.3f", w - s }')"
    echo "    after the search (sessions + tail): ${after_s[$label]} s"
  fi
  wall_s[$label]="$wall"
  if [ "$status" -ne 0 ] || [ "$done_rows" -ne $# ] || [ "$received" -ne "$expected" ]; then
    echo "    MISMATCH: expected exit code 0, $# rows Done, $expected Set Default"
    sed 's/^/    stderr: /' "$work/err.txt" | tail -n 5
  fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }'; }

distinct_macs=()
for ((i = 0; i < DISTINCT; i++)); do distinct_macs+=("$(mac_of "$i")"); done
shared_macs=("${distinct_macs[@]:0:$SHARED}")

lab_up "$lab_distinct" "$DISTINCT" 0
offset_distinct="$(clock_offset "$lab_distinct" 192.168.10.20)"
lab_up "$lab_shared" "$SHARED" 1
offset_shared="$(clock_offset "$lab_shared" "$SHARED_ADDRESS")"

for ((run = 1; run <= runs; run++)); do
  echo
  echo "run $run"
  run_set_default "single device" "$lab_distinct" "$offset_distinct" 1 "${distinct_macs[0]}"
  run_set_default "$DISTINCT distinct addresses" "$lab_distinct" "$offset_distinct" "$DISTINCT" \
    "${distinct_macs[@]}"
  run_set_default "$SHARED on one address" "$lab_shared" "$offset_shared" "$SHARED" \
    "${shared_macs[@]}"
  single="single device"
  echo "  ratio to a single device (wall time / after the search):"
  for label in "$DISTINCT distinct addresses" "$SHARED on one address"; do
    echo "    $label: $(ratio "${wall_s[$label]}" "${wall_s[$single]}")x /" \
      "$(ratio "${after_s[$label]:-0}" "${after_s[$single]:-0}")x"
  done
done

start="$(now)"
"$repo/scripts/lab.sh" down "$lab_distinct"
"$repo/scripts/lab.sh" down "$lab_shared"
echo
echo "labs down: $(elapsed "$start" "$(now)") s"
