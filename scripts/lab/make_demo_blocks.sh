#!/bin/bash
# Writes what the switches of demo.json hand out when asked for their
# configuration, consistent with what they announce (address, netmask,
# gateway, name server, name, location, address mode):
#   demo/<MAC>.block  the configuration block of each switch with a short
#                     reply, from a realistic sample of its generation
#   demo/<MAC>.cfg    the configuration file of the long-reply switch
# with the configurator's own block code, built in BUILD (default build/).
# Each switch names its file in demo.json ("configBlock" or "configFile");
# run this again after changing a device there or the block layouts.
# Usage: scripts/lab/make_demo_blocks.sh [BUILD]
# (VANTRELL_BLOCK_SCENARIO names another scenario of this folder to write
# the files of, such as fleet-test.json.)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/block_tool.sh"
mkdir -p "$here/demo"
run_block_tool "${1:-}" <<'CC'
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "config/config_item_ids.h"
#include "config/gen_a2_sample.h"
#include "config/gen_m1_sample_block.h"
#include "config/version_handlers.h"
#include "core/device_record.h"
#include "core/ipv4.h"
#include "core/model_table.h"

using namespace vantrell;
using namespace vantrell::item;
using nlohmann::json;

static std::uint32_t Number(const json& device, const char* key, std::uint32_t fallback = 0) {
  if (!device.contains(key)) return fallback;
  const json& value = device[key];
  if (value.is_number()) return value.get<std::uint32_t>();
  return static_cast<std::uint32_t>(std::stoul(value.get<std::string>(), nullptr, 0));
}

static std::string Text(const json& device, const char* key) {
  return device.contains(key) ? device[key].get<std::string>() : std::string();
}

static Ipv4 Address(const json& device, const char* key) {
  return device.contains(key) ? ParseIpv4(device[key].get<std::string>()).value_or(0) : 0;
}

/// A sample of the generation where there is one, else a block of zeros.
static ConfigBlock BaseBlock(Generation generation, std::size_t size) {
  if (generation == Generation::kGenA2) return MakeGenA2SampleBlock();
  if (generation == Generation::kGenM1) {
    // Slots 2 and 5 empty, as the demo's modular switch has its modules.
    return gen_m1::SampleBlock({0x3FF0FF0F, false, true, false});
  }
  ConfigBlock block(size);
  return block;
}

/// The device's announced settings written into its block.
static void SetAnnounced(ItemAccessors& a, ConfigBlock& block, const json& device,
                         bool d8) {
  a.setNumber(block, D_CONF_ETH_IPADDR, Address(device, "ip"));
  a.setNumber(block, D_CONF_ETH_IPMASK, Address(device, "netmask"));
  a.setNumber(block, D_CONF_ETH_GATEWAY, Address(device, "gateway"));
  a.setNumber(block, D_CONF_ETH_DNSSIP, Address(device, "dns1"));
  if (!d8) a.setNumber(block, D_CONF_ETH_DNSSIP1, Address(device, "dns2"));
  a.setText(block, D_CONF_ETH_NAME, Text(device, "name"));
  // One of the two location items is the generation's; the other is refused.
  a.setText(block, D_CONF_ETH_LOCATION, Text(device, "location"));
  a.setText(block, D_CONF_ETH_LOCATION_OLD, Text(device, "location"));
  const ConfigItemId mode = d8 ? D_CONF_ETH_FLAG_DHCP
                            : a.generation() == Generation::kGenM1 ? kIpConfigMode
                                                                   : D_CONF_ETH_FLAG_AUTOIP;
  a.setNumber(block, mode, Number(device, "ipConfigFlags"));
  // SNMPv1/v2c only: SNMPv3 needs a login password of 8 characters, and the
  // demo's switches have none.
  a.setNumber(block, D_CONF_SNMP_VERSION, 1);
}

static DeviceRecord Record(const json& device) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = static_cast<std::uint16_t>(Number(device, "modelId"));
  record.firmwareVersion = Number(device, "firmwareVersion");
  record.ipAddr = Address(device, "ip");
  record.netmask = Address(device, "netmask");
  record.gateway = Address(device, "gateway");
  record.dns1 = Address(device, "dns1");
  record.dns2 = Address(device, "dns2");
  record.ipConfigFlags = Number(device, "ipConfigFlags");
  const std::string model = device.contains("modelName")
                                ? Text(device, "modelName")
                                : std::string(LookupModelName(record.modelId).value_or(""));
  SetFieldText(record.modelName, model);
  SetFieldText(record.serverName, Text(device, "name"));
  SetFieldText(record.location, Text(device, "location"));
  return record;
}

static bool Save(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  const char* named = std::getenv("VANTRELL_BLOCK_SCENARIO");
  const json scenario = json::parse(std::ifstream(dir + "/" + (named ? named : "demo.json")));
  int written = 0;
  for (const json& device : scenario["devices"]) {
    const bool block = device.contains("configBlock");
    const bool file = device.contains("configFile") && device["configFile"].is_object();
    if (!block && !file) continue;
    const std::string name = (block ? device["configBlock"] : device["configFile"])["file"];
    const DeviceRecord record = Record(device);
    HandlerSelection handlers = selectHandlers(record.modelId, record.firmwareVersion);
    if (!handlers) {
      std::fprintf(stderr, "%s: no handler for this model and firmware\n", name.c_str());
      return 1;
    }
    ItemAccessors& a = *handlers.accessors;
    ConfigBlock data = BaseBlock(a.generation(), a.blockSize());
    SetAnnounced(a, data, device, IsD8Family(record.modelId));
    std::string bytes;
    if (block) {
      bytes.assign(reinterpret_cast<const char*>(data.bytes().data()), a.blockSize());
    } else {
      handlers.row->writeConfigFile(bytes, record, data, a);
    }
    if (!Save(dir + "/" + name, bytes)) return 1;
    ++written;
  }
  std::printf("wrote %d files\n", written);
  return 0;
}
CC
