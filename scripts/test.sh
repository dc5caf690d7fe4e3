#!/usr/bin/env bash
# Installs everything, then builds and runs the whole test suite: the suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, a short run of every
# fuzz target, the normal build with its Debian package checked by lintian,
# and the suite on the normal build. Run as root (the lab tests build network
# namespaces); exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${FUZZ_SECONDS:-20}
JOBS=${JOBS:-2}

bash scripts/setup.sh

echo "== sanitizer build (ASan + UBSan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRELL_WERROR=ON \
  -DVANTRELL_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$JOBS" --timeout 600)

echo "== fuzz targets (${FUZZ_SECONDS}s each)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANTRELL_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$JOBS" --target fuzz_all
for target in build-fuzz/fuzz/*_fuzz; do
  corpus="fuzz/corpus/$(basename "$target")"
  mkdir -p "build-fuzz/corpus/$(basename "$target")"
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  echo "-- $(basename "$target")"
  "$target" -max_total_time="$FUZZ_SECONDS" -print_final_stats=0 \
    "build-fuzz/corpus/$(basename "$target")" "${seeds[@]}" 2>&1 | tail -n 2
done

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRELL_WERROR=ON \
  -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j "$JOBS"

echo "== Debian package (from the build above) and lintian"
deb="$(VANTRELL_PACKAGE_BUILD="$PWD/build" JOBS="$JOBS" bash scripts/package.sh | tail -n 1)"
bash scripts/check_package.sh "$deb"

# The suite runs last, so its summary closes the output.
(cd build && ctest --output-on-failure -j "$JOBS" --timeout 600)
