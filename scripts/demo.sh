#!/usr/bin/env bash
# Shows the configurator finding a dozen simulated devices, without touching
# the machine's own network: installs the build dependencies, builds the
# command line and the device simulator, builds a lab of two network
# namespaces (scripts/lab.sh) with the devices of scripts/lab/demo.json, runs
# `vantrell search` on the lab's workstation and prints the device table,
# then one device's `vantrell info` and the first lines of its
# `vantrell export`. Everything it made is removed at the end, also on
# failure or Ctrl-C. Run it as root, or with sudo:
#
#   bash scripts/demo.sh           search, print the table, info and export
#   bash scripts/demo.sh --json    print the search as JSON instead
#   bash scripts/demo.sh --shell   afterwards, open a shell on the lab's
#                                  workstation (vantrell on PATH); leaving
#                                  the shell removes the lab
#
# VANTRELL_BUILD_DIR chooses the build folder (default: build-demo).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VANTRELL_BUILD_DIR:-$repo/build-demo}"
lab="vtcd$$"
# The device whose details and configuration the demo shows at the end.
shown_device=02:56:D0:00:00:01
export_lines=30
json=()
shell=0

for arg in "$@"; do
  case "$arg" in
    --json) json=(--json) ;;
    --shell) shell=1 ;;
    -h | --help)
      sed -n '2,/^set -euo/p' "$0" | sed -e '/^set -euo/d' -e 's/^# \{0,1\}//'
      exit 0
      ;;
    *)
      echo "demo: unknown option $arg" >&2
      exit 2
      ;;
  esac
done

if [ "$(id -u)" -ne 0 ]; then
  echo "demo: the lab needs network namespaces: run it as root, or with sudo" >&2
  exit 1
fi

step() { printf '\n== %s\n' "$*"; }

step "dependencies"
bash "$repo/scripts/setup.sh"

step "build ($build)"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" -j2 vantrell vantrell-sim
cli="$build/src/cli/vantrell"
sim="$build/src/sim/vantrell-sim"

work="$(mktemp -d)"
cleanup() {
  bash "$repo/scripts/lab.sh" down "$lab" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

step "lab $lab: workstation 192.168.10.1 (segment 0) and 192.168.20.1 (segment 1)"
bash "$repo/scripts/lab.sh" up "$lab" "$repo/scripts/lab/demo.json" "$sim"

step "vantrell search ${json[*]}"
bash "$repo/scripts/lab.sh" exec "$lab" "$cli" search "${json[@]}"

step "vantrell info $shown_device"
bash "$repo/scripts/lab.sh" exec "$lab" "$cli" --quiet info "$shown_device"

step "vantrell export $shown_device press-line-1.cfg (its first $export_lines lines)"
bash "$repo/scripts/lab.sh" exec "$lab" "$cli" --quiet export "$shown_device" "$work/press-line-1.cfg"
head -n "$export_lines" "$work/press-line-1.cfg" | tr -d '\r'

if [ "$shell" -eq 1 ]; then
  step "shell on the lab's workstation; try: vantrell search --json, vantrell info 10.77.0.5; exit to finish"
  bash "$repo/scripts/lab.sh" exec "$lab" env PATH="$build/src/cli:$PATH" PS1="[lab $lab] \\w# " \
    bash --norc -i || true
fi
