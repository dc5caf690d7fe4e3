#pragma once
/// The numbers that select one configuration item in a block: one numbering
/// for every firmware generation, so the same ID means the same setting
/// wherever a generation's accessors handle it. Constants carry the D_CONF
/// name that the writers and readers pair with the ID; several names share
/// an ID where generations call the same setting differently. Items without
/// such a name are named after what they hold. The constants are generated
/// from the item table (config_items.def), which declares each item once
/// with its catalogue row.

#include <cstdint>

namespace vantrell {

/// The numeric identifier of one configuration setting.
using ConfigItemId = std::uint32_t;

namespace item {

#define CONFIG_ITEM(id, name, fileKey, label, type) inline constexpr ConfigItemId name = id;
#define CONFIG_ID_NO_ROW(id, name) inline constexpr ConfigItemId name = id;
#include "config/config_items.def"

// Indexed families. Each returns 0 (no item) for an index outside its range.

/// Port p = 1..8 of a family whose IDs step by `step` from `first`.
constexpr ConfigItemId PortItem(ConfigItemId first, int port, int step = 1) {
  return port >= 1 && port <= 8 ? first + static_cast<ConfigItemId>(step * (port - 1)) : 0;
}
constexpr ConfigItemId PcfgDisable(int port) { return PortItem(D_CONF_ETH_PCFG_DISABLE1, port, 6); }
constexpr ConfigItemId PcfgFlag(int port) { return PortItem(D_CONF_ETH_PCFG_FLAG1, port, 6); }
constexpr ConfigItemId PcfgSpeed(int port) { return PortItem(D_CONF_ETH_PCFG_SPEED1, port, 6); }
constexpr ConfigItemId PcfgFdx(int port) { return PortItem(D_CONF_ETH_PCFG_FDX1, port, 6); }
constexpr ConfigItemId PcfgDevIp(int port) { return PortItem(D_CONF_ETH_PCFG_DEVIP1, port); }
constexpr ConfigItemId SpanPortEnable(int port) { return PortItem(D_CONF_ETH_SPAN_PORT1_EN, port); }
constexpr ConfigItemId SpanPortId(int port) { return PortItem(D_CONF_ETH_SPAN_PORT1_ID, port); }
constexpr ConfigItemId SpanPathCost(int port) { return PortItem(D_CONF_ETH_SPAN_PATH1_COST, port); }
constexpr ConfigItemId WarnPortFlag(int port) { return PortItem(D_CONF_ETH_WARN_PFLAG1, port); }
constexpr ConfigItemId WarnPortLoad(int port) { return PortItem(D_CONF_ETH_WARN_PLOAD1, port); }
constexpr ConfigItemId WarnPortLoadTime(int port) {
  return PortItem(D_CONF_ETH_WARN_PLOADTIME1, port);
}
constexpr ConfigItemId RelayPortLink(int port) {
  return PortItem(D_CONF_ETH_RELAY_PFLAG_LINK1, port);
}
constexpr ConfigItemId RelayPortTraffic(int port) {
  return PortItem(D_CONF_ETH_RELAY_PFLAG_TRAF1, port);
}
constexpr ConfigItemId RelayPortLoad(int port) { return PortItem(D_CONF_ETH_RELAY_PLOAD1, port); }
constexpr ConfigItemId RelayPortLoadTime(int port) {
  return PortItem(D_CONF_ETH_RELAY_PLOADTIME1, port);
}

/// E-mail address k = 1..4.
constexpr ConfigItemId WarnTo(int k) {
  return k >= 1 && k <= 4 ? D_CONF_ETH_WARN_TO1 + (k - 1) : 0;
}

/// Entry k = 1..64 of the ToS map: 234 + k up to 8, 308 + k up to 35, 309 + k
/// beyond (344 is not used). D_CONF_TOSMAP_1_4 stands for entries 1 to 4, and
/// so on in fours.
constexpr ConfigItemId TosMapEntry(int k) {
  if (k >= 1 && k <= 8) return static_cast<ConfigItemId>(234 + k);
  if (k >= 9 && k <= 35) return static_cast<ConfigItemId>(308 + k);
  if (k >= 36 && k <= 64) return static_cast<ConfigItemId>(309 + k);
  return 0;
}

}  // namespace item
}  // namespace vantrell
