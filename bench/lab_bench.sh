# Sourced by the lab benches (import, restore, backup): the checks before a
# run, the work folder and lab removed at exit, timing helpers and a
# scenario of DEVICES D8 switches of one model and firmware.
# The bench sets repo, build, lab, DEVICES, MODEL, FIRMWARE, MAC_PREFIX,
# SERIAL_BASE, NAME and COMMAND_LIMIT_S before sourcing; this file sets cli,
# sim and work.

cli="$build/src/cli/vantrell"
sim="$build/src/sim/vantrell-sim"

[ "$(id -u)" -eq 0 ] || { echo "bench: needs root (network namespaces)" >&2; exit 1; }
if [ ! -x "$cli" ] || [ ! -x "$sim" ]; then
  echo "bench: build vantrell and vantrell-sim in $build first" >&2
  exit 1
fi
[[ "${runs:-1}" =~ ^[1-9][0-9]?$ ]] || { echo "bench: RUNS must be 1..99" >&2; exit 2; }

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
mac_of() { printf '%s:%02X:%02X' "$MAC_PREFIX" "$(($1 / 256))" "$(($1 % 256))"; }

# write_scenario FILE: DEVICES switches at 192.168.10.20+i.
write_scenario() {
  local file="$1" i separator
  {
    echo '{"devices": ['
    for ((i = 0; i < DEVICES; i++)); do
      separator=","
      [ "$i" -eq $((DEVICES - 1)) ] && separator=""
      printf '  {"modelId": "%s", "serialNo": %d, "mac": "%s", "ip": "192.168.10.%d",' \
        "$MODEL" "$((SERIAL_BASE + i))" "$(mac_of "$i")" "$((20 + i))"
      printf ' "firmwareVersion": "%s", "name": "%s %d",' "$FIRMWARE" "$NAME" "$i"
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

# lab_up: writes the scenario and brings the lab up.
lab_up() {
  local start
  write_scenario "$work/scenario.json"
  start="$(now)"
  "$repo/scripts/lab.sh" up "$lab" "$work/scenario.json" "$sim" >/dev/null
  echo "lab $lab up with $DEVICES devices: $(elapsed "$start" "$(now)") s"
}
