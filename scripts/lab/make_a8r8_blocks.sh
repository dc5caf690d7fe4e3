#!/bin/bash
# Writes the configuration blocks of the two A8/R8 devices of a8r8.json:
#   a8r8-gena1.block  (8508 bytes, firmware 1.0.0.0)
#   a8r8-gena2.block  (12364 bytes, firmware 1.2.0.0, ports 3 and 4 in trunk group 1)
# with the configurator's own block code, built in BUILD (default build/).
# Usage: scripts/lab/make_a8r8_blocks.sh [BUILD]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/block_tool.sh"
run_block_tool "${1:-}" <<'CC'
#include <cstdio>
#include <fstream>

#include "config/config_item_ids.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a2_sample.h"
#include "core/ipv4.h"

using namespace vantrell;
using namespace vantrell::item;

static bool Save(const char* path, const ConfigBlock& block) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(block.bytes().data()),
            static_cast<std::streamsize>(block.size()));
  return static_cast<bool>(out);
}

/// A first-generation switch as it leaves commissioning.
static ConfigBlock GenA1Block() {
  ConfigBlock block(8508);
  auto accessors = MakeGenA1Accessors();
  auto& a = *accessors;
  a.setText(block, D_CONF_ETH_NAMEA8, "Conveyor 2 switch");
  a.setText(block, D_CONF_ETH_LOCATIONA8, "Hall A, column 12");
  a.setText(block, D_CONF_ETH_SYSDESCR, "Conveyor control");
  a.setText(block, D_CONF_ETH_CONTACT, "maintenance ext. 210");
  a.setNumber(block, D_CONF_ETH_FLAG_WEBA8, 1);
  a.setNumber(block, D_CONF_ETH_FLAG_TELNETA8, 1);
  a.setNumber(block, D_CONF_ETH_FLAG_AUTOIP, 0);
  a.setNumber(block, D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 10, 30));
  a.setNumber(block, D_CONF_ETH_IPMASK, MakeIpv4(255, 255, 255, 0));
  a.setNumber(block, D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 10, 254));
  a.setNumber(block, D_CONF_ETH_DNSSIP, MakeIpv4(192, 168, 10, 2));
  a.setText(block, D_CONF_ETH_TRAPS, "192.168.10.5");
  a.setText(block, D_CONF_ETH_COMMUNITY, "public");
  a.setText(block, D_CONF_ETH_USERPWD, "operator");
  a.setNumber(block, D_CONF_ETH_DTIME_TZONE, 23);
  a.setNumber(block, D_CONF_ETH_DTIME_PERIOD, 600);
  a.setText(block, D_CONF_ETH_DTIME_SRV1, "pool.example.org");
  for (int p = 1; p <= 8; ++p) {
    a.setNumber(block, PcfgDisable(p), 1);
    a.setNumber(block, PcfgSpeed(p), 0);
    a.setNumber(block, SpanPortEnable(p), 1);
    a.setNumber(block, SpanPortId(p), 8);
    a.setNumber(block, SpanPathCost(p), 200000);
    a.setNumber(block, D_CONF_VLAN_TYPE1 + 4 * static_cast<ConfigItemId>(p - 1), 1);
    a.setNumber(block, D_CONF_VLAN_PVID1 + 4 * static_cast<ConfigItemId>(p - 1), 1);
    a.setNumber(block, WarnPortLoad(p), 80);
    a.setNumber(block, WarnPortLoadTime(p), 30);
  }
  a.setNumber(block, D_CONF_ETH_SPAN_HELLO_TIME, 2);
  a.setNumber(block, D_CONF_ETH_SPAN_MAX_AGE, 20);
  a.setNumber(block, D_CONF_ETH_SPAN_FD_DELAY, 15);
  a.setNumber(block, D_CONF_ETH_SPAN_BRIDGE_ID, 8);
  a.setNumber(block, D_CONF_VLAN_SYS_VID, 1);
  a.setNumber(block, D_CONF_IGMPSNOOP_QUERY_PERIDO, 125);
  a.setText(block, D_CONF_ETH_WARN_SMTPSrv, "mail.example.com");
  a.setText(block, D_CONF_ETH_WARN_TO1, "ops1@example.com");
  a.setNumber(block, D_CONF_ETH_WARN_SFLAGA8, 0x13);
  a.setNumber(block, D_CONF_ETH_MIRROR_DIR, 1);
  return block;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  const bool ok = Save((dir + "/a8r8-gena1.block").c_str(), GenA1Block()) &&
                  Save((dir + "/a8r8-gena2.block").c_str(),
                       MakeGenA2SampleBlock({0, /*trunking=*/true, /*fillLists=*/false}));
  return ok ? 0 : 1;
}
CC
echo "wrote $here/a8r8-gena1.block and $here/a8r8-gena2.block"
