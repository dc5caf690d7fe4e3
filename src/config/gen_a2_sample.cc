#include "config/gen_a2_sample.h"

#include <array>
#include <string>

#include "config/config_item_ids.h"
#include "config/gen_a2_layout.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;
using gen_a2::kLogicalPorts;
using gen_a2::kPorts;

constexpr std::uint8_t kBackgroundFactor = 37;
constexpr std::uint8_t kBackgroundOffset = 11;

/// Uncovered bytes: a pattern. List areas: unused marks cleared.
void FillBackground(ConfigBlock& block) {
  auto bytes = block.bytes();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * kBackgroundFactor + kBackgroundOffset);
  }
  gen_a2::ClearListTables(bytes, gen_a2::ClearScope::kAllLists);
  for (std::size_t v = 0; v < a8vlan::kEntries; ++v) {
    WriteU32(bytes, a8vlan::EntryOffset(v) + a8vlan::kMembershipAt, 0);
  }
  for (std::size_t n = 0; n < gen_a2::kIgmpEntries; ++n) {
    const std::size_t at = gen_a2::kIgmpTable + gen_a2::kIgmpEntrySize * n;
    WriteU16(bytes, at, ReadU16(bytes, at).value_or(0) & ~gen_a2::kIgmpVidMask);
  }
}

class SampleBuilder {
 public:
  SampleBuilder(const GenA2SampleOptions& options, ConfigBlock& block)
      : o_(options), v_(options.variant != 0 ? 1 : 0), block_(block) {}

  void Build() {
    System();
    Ports();
    Network();
    Snmp();
    Time();
    Redundancy();
    Qos();
    Vlan();
    Igmp();
    Multicast();
    Rates();
    Unicast();
    Warnings();
    DeviceIps();
    Mirror();
  }

 private:
  void N(ConfigItemId id, std::uint32_t value) { a_.setNumber(block_, id, value); }
  void T(ConfigItemId id, const std::string& text) { a_.setText(block_, id, text); }
  std::uint32_t Pick(std::uint32_t a, std::uint32_t b) const { return v_ ? b : a; }
  std::string Pick(const char* a, const char* b) const { return v_ ? b : a; }
  bool Member(int port) const { return o_.trunking && (port == 3 || port == 4); }

  void System() {
    T(D_CONF_ETH_NAMEA8, Pick("Line 3 switch", "Spare switch B"));
    T(D_CONF_ETH_LOCATIONA8, Pick("Hall B, cabinet 4, rail 2", "Store room"));
    T(D_CONF_ETH_SYSDESCR, Pick("Packaging line", "Test bench"));
    T(D_CONF_ETH_CONTACT, Pick("maintenance ext. 214", "it-desk"));
    N(D_CONF_ETH_FLAG_WEBA8, Pick(1, 0));
    N(D_CONF_ETH_FLAG_TELNETA8, Pick(0, 1));
    T(D_CONF_ETH_USERPWD, Pick("operator1", "guestuser9"));
    N(D_CONF_GRANTIP_INUSED, Pick(1, 0));
    for (int k = 1; k <= 10; ++k) {
      const auto at = static_cast<ConfigItemId>(k - 1);
      const bool used = k <= (v_ ? 2 : 3);
      N(D_CONF_GRANTIP_IP1 + at,
        used ? MakeIpv4(192, 168, static_cast<std::uint8_t>(10 + k + v_), 0) : 0);
      N(kGrantIpNetmask1 + at, used ? MakeIpv4(255, 255, 255, 0) : 0);
    }
    N(D_CONF_ETH_FLAG_FASTRECOVERY, Pick(1, 0));
  }

  void Ports() {
    for (int p = 1; p <= kPorts; ++p) {
      const auto k = static_cast<std::uint32_t>(p);
      N(PcfgDisable(p), k == 5 + v_ ? 0 : 1);
      N(PcfgFlag(p), (k + v_) % 3);
      N(PcfgFdx(p), (k + v_) % 2);
      N(PcfgSpeed(p), Member(p) ? 1 + v_ : (k + v_) % 5);
      N(D_CONF_ETH_PORTTRUNKING_P1 + (k - 1), Member(p) ? 1 : 0);
      N(D_CONF_PORT_LOCK1 + (k - 1), (k + v_) % 2);
    }
  }

  void Network() {
    N(D_CONF_ETH_FLAG_AUTOIP, 0);
    N(D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 10, static_cast<std::uint8_t>(20 + v_)));
    N(D_CONF_ETH_IPMASK, v_ ? MakeIpv4(255, 255, 0, 0) : MakeIpv4(255, 255, 255, 0));
    N(D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 10, static_cast<std::uint8_t>(254 - v_)));
    N(D_CONF_ETH_DNSSIP, MakeIpv4(192, 168, 10, static_cast<std::uint8_t>(2 + v_)));
    N(D_CONF_ETH_DNSSIP1, MakeIpv4(192, 168, 11, static_cast<std::uint8_t>(2 + v_)));
  }

  void Snmp() {
    N(D_CONF_SNMP_VERSION, Pick(0, 1));
    T(D_CONF_SNMP_V1V2CROCOMM, Pick("public", "monitor"));
    T(D_CONF_SNMP_V1V2CRWCOMM, Pick("private", "control"));
    N(D_CONF_SNMP_V3AAUTHTYPE, Pick(1, 2));
    N(D_CONF_SNMP_V3AADEE, Pick(1, 0));
    T(D_CONF_SNMP_V3ADATAENCR, Pick("adminkey-0815", "otheradminkey"));
    N(D_CONF_SNMP_V3UAUTHTYPE, Pick(2, 0));
    N(D_CONF_SNMP_V3UADEE, Pick(1, 0));
    T(D_CONF_SNMP_V3UDATAENCR, Pick("userkey-4711", "otheruserkey"));
    T(D_CONF_SNMP_TRAPSERVER, Pick("192.168.10.5", "traps.example.net"));
    T(D_CONF_SNMP_TRAPCOMM, Pick("trapcomm", "alerts"));
  }

  void Time() {
    N(D_CONF_ETH_DTIME_TZONE, Pick(23, 49));
    T(D_CONF_ETH_DTIME_SRV1, Pick("pool.example.org", "192.168.10.3"));
    T(D_CONF_ETH_DTIME_SRV2, Pick("time.example.net", "192.168.10.4"));
    N(D_CONF_ETH_DTIME_PERIOD, Pick(600, 3600));
  }

  void Redundancy() {
    // The spanning tree is on in both variants; the ring settings, which its
    // file does not carry, are the same in both.
    N(D_CONF_ETHA8_REDUN_PROTOCOL, 0);
    N(D_CONF_ETH_REDUN_MASTER, 0);
    N(D_CONF_ETH_REDUN_PORT1, 1);
    N(D_CONF_ETH_REDUN_PORT2, 2);
    N(D_CONF_ETH_REDUN_COUPLING, 0);
    N(D_CONF_ETH_REDUN_CPL_PORT, 3);
    N(D_CONF_ETH_REDUN_CPL_CTRLPORT, 4);
    for (int k = 1; k <= kLogicalPorts; ++k) {
      const auto at = static_cast<ConfigItemId>(k - 1);
      const bool trunk = k > kPorts;
      const bool enabled = trunk ? (o_.trunking && k == kPorts + 1) : !Member(k);
      N(D_CONF_ETH_SPAN_PORT1_EN + at, enabled ? 1 : 0);
      N(D_CONF_ETH_SPAN_PORT1_ID + at, (static_cast<std::uint32_t>(k) + 7 + v_) % 16);
      N(D_CONF_ETH_SPAN_PATH1_COST + at, 200000 + 1000 * static_cast<std::uint32_t>(k) + v_);
    }
    N(D_CONF_ETH_SPAN_HELLO_TIME, Pick(2, 1));
    N(D_CONF_ETH_SPAN_MAX_AGE, Pick(20, 18));
    N(D_CONF_ETH_SPAN_FD_DELAY, Pick(15, 12));
    N(D_CONF_ETH_SPAN_BRIDGE_ID, Pick(0x8000, 0x7000));
  }

  void Qos() {
    N(D_CONF_QOS_SCHEDULE, Pick(0, 1));
    for (int p = 1; p <= kPorts; ++p) {
      const auto k = static_cast<std::uint32_t>(p);
      N(D_CONF_QOS_INSPECT1_TOS + (k - 1), (k + v_) % 2);
      N(D_CONF_QOS_INSPECT1_COS + (k - 1), (k + v_ + 1) % 2);
      N(D_CONF_QOS_PRIORITY1 + (k - 1), (k + v_) % 4);
    }
    for (std::uint32_t c = 0; c < 8; ++c) N(D_CONF_COSMAP0 + c, (c / 2 + v_) % 4);
    for (int k = 1; k <= 64; ++k) N(TosMapEntry(k), (static_cast<std::uint32_t>(k) / 16 + v_) % 4);
  }

  /// Ports 1-4 are access ports, 5-8 trunk ports with fixed and forbidden
  /// lists; in the filled form port 5 names enough VLANs for all 64 entries.
  void Vlan() {
    N(D_CONF_VLAN_SYS_VID, Pick(1, 2));
    for (int p = 1; p <= kPorts; ++p) {
      const auto at = static_cast<ConfigItemId>(4 * (p - 1));
      const bool access = p <= 4;
      N(D_CONF_VLAN_TYPE1 + at, access ? 1 : 0);
      N(D_CONF_VLAN_PVID1 + at, access ? Pick(1, 2) : 100 + static_cast<std::uint32_t>(p) + v_);
      if (access) continue;
      std::string fixed = v_ ? "11,21" : "10,20";
      if (o_.fillLists && p == 5) {
        for (int vid = 0; vid < 60; ++vid) fixed += "," + std::to_string(1000 + vid + v_);
      }
      T(D_CONF_VLAN_FIXVID1 + at, fixed);
      T(D_CONF_VLAN_FRBVID1 + at, v_ ? "31" : "30");
    }
  }

  /// One IGMP entry per VLAN entry in use, at the same index.
  void Igmp() {
    N(D_CONF_IGMPSNOOP_ENABLE, Pick(1, 0));
    N(D_CONF_IGMPSNOOP_QUERY_PERIDO, Pick(125, 250));
    for (std::size_t n = 0; n < a8vlan::kEntries; ++n) {
      const auto word = ReadU16(block_.bytes(), a8vlan::EntryOffset(n)).value_or(0);
      if (!(word & a8vlan::kValidBit)) continue;
      if (!o_.fillLists && n >= 4) break;
      gen_a2::IgmpEntry entry;
      entry.vid = word & a8vlan::kVidMask;
      entry.snooping = (n + v_) % 2 == 0;
      entry.querier = (n + v_) % 3 == 0;
      entry.routerPorts = static_cast<std::uint16_t>(UsablePorts((n * 0x51 + v_) & 0x0FFF));
      gen_a2::PutIgmpEntry(block_.bytes(), n, entry);
    }
  }

  /// A mask without the trunk members and unused trunks.
  std::uint32_t UsablePorts(std::uint32_t mask) const {
    if (!o_.trunking) return mask;
    return mask & ~(0x0Cu | 0xE00u);
  }

  void Multicast() {
    const std::size_t count = o_.fillLists ? gen_a2::kMulticastEntries : 3;
    for (std::size_t n = 0; n < count; ++n) {
      const std::array<std::uint8_t, 6> mac = {0x01,
                                               0x00,
                                               0x5E,
                                               static_cast<std::uint8_t>(v_),
                                               static_cast<std::uint8_t>(n >> 8),
                                               static_cast<std::uint8_t>(n)};
      const std::uint32_t mask = UsablePorts(((n * 0x2B + 1 + v_) & 0x0FFF) | 0x01);
      gen_a2::PutMulticastEntry(block_.bytes(), mac, mask);
    }
  }

  void Rates() {
    static constexpr const char* kNames[] = {"NL", "128K", "256K", "512K", "1M", "2M", "4M", "8M"};
    for (int p = 1; p <= kPorts; ++p) {
      const auto k = static_cast<std::uint32_t>(p);
      std::string ingress = std::to_string((k + v_) % 4) + " " + kNames[(k + v_) % 8] + " " +
                            std::to_string(k % 2) + " " + std::to_string((k + v_) % 2) + " " +
                            std::to_string((k / 2) % 2);
      T(D_CONF_RATE_LIMIT_INGRESS_P1 + (k - 1), ingress);
      N(D_CONF_RATE_LIMIT_ENGRESS_RATE1 + (k - 1), (k * 3 + v_) % 8);
    }
  }

  void Unicast() {
    const std::size_t count = o_.fillLists ? gen_a2::kUnicastEntries : 2;
    for (std::size_t n = 0; n < count; ++n) {
      const std::array<std::uint8_t, 6> mac = {0x00,
                                               0x11,
                                               0x22,
                                               static_cast<std::uint8_t>(v_),
                                               static_cast<std::uint8_t>(n >> 8),
                                               static_cast<std::uint8_t>(n)};
      gen_a2::PutUnicastEntry(block_.bytes(), mac, static_cast<std::uint8_t>((n + v_) % 8),
                              static_cast<std::uint8_t>((n + v_) % 4));
    }
  }

  void Warnings() {
    T(D_CONF_ETH_WARN_SMTPSrv, Pick("mail.example.com", "192.168.10.9"));
    T(D_CONF_ETH_WARN_SMTP_UNAME, Pick("switch-alerts", "alerts2"));
    T(D_CONF_ETH_WARN_SMTP_PASSWD, Pick("mailpw", "othermailpw"));
    for (int k = 1; k <= 4; ++k) {
      T(WarnTo(k), (v_ ? "desk" : "ops") + std::to_string(k) + "@example.com");
    }
    N(D_CONF_ETH_WARN_SFLAGA8, Pick(0x0013, 0x1240));
    N(D_CONF_RELAY_SFLAG_NORMAL1, Pick(1, 0));
    N(D_CONF_RELAY_SFLAG_NORMAL2, Pick(0, 1));
    N(D_CONF_ETH_RELAY_SFLAG_POWER1, Pick(1, 2));
    N(D_CONF_ETH_RELAY_SFLAG_POWER2, Pick(2, 0));
    N(D_CONF_RELAY_SFLAG_DI1_ON2OFF, Pick(1, 2));
    N(D_CONF_RELAY_SFLAG_DI1_OFF2ON, Pick(2, 0));
    N(D_CONF_RELAY_SFLAG_DI2_ON2OFF, Pick(0, 1));
    N(D_CONF_RELAY_SFLAG_DI2_OFF2ON, Pick(2, 0));
    for (int p = 1; p <= kPorts; ++p) {
      const auto k = static_cast<std::uint32_t>(p);
      N(WarnPortFlag(p), (k + v_) % 8);
      N(WarnPortLoad(p), 40 + 5 * k + v_);
      N(WarnPortLoadTime(p), 10 * k + v_);
      N(RelayPortLink(p), (k + v_) % 5);
      N(RelayPortTraffic(p), (k + v_) % 3);
      N(RelayPortLoad(p), 60 + 3 * k + v_);
      N(RelayPortLoadTime(p), 5 * k + v_);
    }
  }

  void DeviceIps() {
    for (int k = 1; k <= kLogicalPorts; ++k) {
      std::uint32_t address = 0;
      if (k <= kPorts && !Member(k) && k != 6) {
        address = MakeIpv4(192, 168, 20, static_cast<std::uint8_t>(100 + k + v_));
      } else if (k == kPorts + 1 && o_.trunking) {
        address = MakeIpv4(192, 168, 20, static_cast<std::uint8_t>(150 + v_));
      }
      N(D_CONF_ETH_PCFG_DEVIP1 + static_cast<ConfigItemId>(k - 1), address);
    }
  }

  void Mirror() {
    N(D_CONF_ETH_MIRROR_PORT, Pick(2, 0));
    N(D_CONF_ETH_TARGET_PORT, Pick(6, 0));
    N(D_CONF_ETH_MIRROR_DIR, Pick(2, 1));
  }

  const GenA2SampleOptions& o_;
  std::uint32_t v_;
  ConfigBlock& block_;
  GenA2Accessors a_;
};

}  // namespace

ConfigBlock MakeGenA2SampleBlock(const GenA2SampleOptions& options) {
  ConfigBlock block(gen_a2::kBlockSize);
  FillBackground(block);
  SampleBuilder(options, block).Build();
  return block;
}

}  // namespace vantrell
