#!/usr/bin/env bash
# Builds the Debian package of VANTRELL Configurator with CPack and prints
# the path of the .deb as its last line. Installs what it needs through
# scripts/setup.sh (as root, or with sudo when not root) and builds only
# the package's programs and documents.
#
#   bash scripts/package.sh            Release build in build-package/
#   VANTRELL_PACKAGE_BUILD=DIR bash scripts/package.sh
#                                      reuse the build folder DIR (CI reuses
#                                      its RelWithDebInfo build; the package
#                                      strips the programs either way)
#
# The programs are configured for the prefix /usr, where the package puts
# them (the window and the command line find the helper there).
set -euo pipefail

case "${1:-}" in
  "") ;;
  -h | --help)
    sed -n '2,/^set -euo/p' "$0" | sed -e '/^set -euo/d' -e 's/^# \{0,1\}//'
    exit 0
    ;;
  *)
    echo "package: takes no arguments (see --help)" >&2
    exit 2
    ;;
esac

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VANTRELL_PACKAGE_BUILD:-$repo/build-package}"
jobs="${JOBS:-2}"

bash "$repo/scripts/setup.sh" >&2

configure=(-S "$repo" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON)
if [ ! -f "$build/CMakeCache.txt" ]; then
  configure+=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
fi
cmake "${configure[@]}" >&2
cmake --build "$build" -j "$jobs" --target vantrell_package_contents >&2

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB) >&2
debs=("$build"/packages/*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || {
  echo "package: expected one .deb in $build/packages" >&2
  exit 1
}
echo "${debs[0]}"
