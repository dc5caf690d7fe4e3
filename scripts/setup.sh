#!/usr/bin/env bash
# Installs everything VANTRELL Configurator needs to build, test and run on a
# Debian machine. Idempotent; runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libnl-3-dev libnl-route-3-dev nlohmann-json3-dev libssl-dev libcurl4-openssl-dev jq socat
  iproute2 procps libcap2-bin util-linux
  qt6-base-dev libx11-dev xvfb
  dpkg-dev file lintian libcap2-bin zsh
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
  sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
