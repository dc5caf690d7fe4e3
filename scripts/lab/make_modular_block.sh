#!/bin/bash
# Writes the configuration block of the modular device of modular.json:
#   modular.block  (21136 bytes, firmware 0.1.2.0; slots 2 and 5 empty;
#                   1-3, 1-4 in Trk1 (LACP), G-1, G-2 in Trk2; every list in use)
# with the configurator's own block code, built in BUILD (default build/).
# Usage: scripts/lab/make_modular_block.sh [BUILD]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/block_tool.sh"
run_block_tool "${1:-}" <<'CC'
#include <fstream>

#include "config/config_item_ids.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_sample_block.h"
#include "core/ipv4.h"

using namespace vantrell;
using namespace vantrell::item;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  // The same options as the lab test's expectations: ports of slots 2 and 5 absent.
  const gen_m1::SampleOptions options{0x3FF0FF0F, false, true, false};
  ConfigBlock block = gen_m1::SampleBlock(options);
  gen_m1::GenM1Accessors a;
  // The addresses of modular.json.
  a.setNumber(block, D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 10, 26));
  a.setNumber(block, D_CONF_ETH_IPMASK, MakeIpv4(255, 255, 255, 0));
  a.setNumber(block, D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 10, 254));
  a.setNumber(block, D_CONF_ETH_DNSSIP, MakeIpv4(192, 168, 10, 2));
  a.setNumber(block, D_CONF_ETH_DNSSIP1, MakeIpv4(192, 168, 11, 2));
  std::ofstream out(std::string(argv[1]) + "/modular.block", std::ios::binary);
  out.write(reinterpret_cast<const char*>(block.bytes().data()),
            static_cast<std::streamsize>(block.size()));
  return out ? 0 : 1;
}
CC
echo "wrote $here/modular.block"
