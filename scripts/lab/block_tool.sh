# Sourced by the make_*_block(s).sh scripts: run_block_tool [BUILD] compiles
# the C++ program read from stdin against the configurator's own core and
# config libraries in BUILD (default build/) and runs it with this folder as
# its one argument, where it writes its blocks.
run_block_tool() {
  local here root build
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  root=$(cd "$here/../.." && pwd)
  build=${1:-$root/build}
  block_tool_work=$(mktemp -d)  # global: the EXIT trap runs after the function
  trap 'rm -rf "$block_tool_work"' EXIT
  local work=$block_tool_work
  cat > "$work/block_tool.cc"
  local flags=()
  if grep -q '^VANTRELL_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    flags=(-fsanitize=address,undefined)
  fi
  c++ -std=c++20 "${flags[@]}" -I"$root/src" "$work/block_tool.cc" -o "$work/block_tool" \
    "$build/src/config/libvantrell_config.a" "$build/src/core/libvantrell_core.a"
  "$work/block_tool" "$here"
}
