#include "config/gen_m1_sample_block.h"

#include <string>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"
#include "config/gen_m1_block.h"
#include "core/ipv4.h"

namespace vantrell::gen_m1 {
namespace {

using namespace item;

constexpr std::uint8_t kTrk1Members[] = {2, 3};    // 1-3, 1-4
constexpr std::uint8_t kTrk2Members[] = {24, 25};  // G-1, G-2

bool InTrunk(const SampleOptions& options, std::size_t port) {
  if (!options.trunks) return false;
  return port == 2 || port == 3 || port == 24 || port == 25;
}

void SetPorts(GenM1Accessors& a, ConfigBlock& b, const SampleOptions& options) {
  for (std::size_t i = 0; i < kPortCount; ++i) {
    const auto n = static_cast<std::uint32_t>(i);
    const bool member = InTrunk(options, i);
    a.setNumber(b, kM1PortEnable, n % 5 == 4 ? 0 : 1, i);
    a.setNumber(b, kM1PortSpeed, i >= 24 && i < 26 ? 5 : n % 5, i);
    a.setNumber(b, kM1PortFdx, n % 2, i);
    a.setNumber(b, kM1PortMdi, n % 3, i);
    a.setNumber(b, kM1StpEnable, member ? 1 : n % 2, i);
    a.setNumber(b, kM1StpId, member ? 128 : (n % 16) * 16, i);
    a.setNumber(b, kM1StpCost, member ? 200000 : 20000 + n, i);
    a.setNumber(b, kM1InspectCos, member ? 1 : n % 2, i);
    a.setNumber(b, kM1PortPriority, member ? 3 : n % 8, i);
    a.setNumber(b, kM1GmrpEnable, member ? 0 : n % 2, i);
    a.setNumber(b, kM1MfbMode, member ? 2 : 1 + n % 3, i);
    if (i < kPhysicalPorts) {
      a.setNumber(b, kM1RliSet, n % 10, i);
      a.setNumber(b, kM1Dot1xEnable, member ? 0 : n % 2, i);
    }
    a.setNumber(b, kM1EwPortEvents, n % 8, i);
    a.setNumber(b, kM1EwTrafThreshold, 10 + n, i);
    a.setNumber(b, kM1EwTrafDuration, 250 + n, i);
    a.setNumber(b, kM1RwPortLink, member ? 0 : n % 5, i);
    a.setNumber(b, kM1RwPortTraf, n % 3, i);
    a.setNumber(b, kM1RwTrafThreshold, member ? 0 : 50 + n, i);
    a.setNumber(b, kM1RwTrafDuration, member ? 1 : 280 + n % 20, i);
    a.setNumber(b, kM1DeviceIp, member || i % 4 == 1 ? 0 : MakeIpv4(10, 1, 2, 100 + n), i);
  }
  // VLANs in the order a file brings them (type, PVID, forbidden list,
  // fixed list, port by port), so that reading the device's own file
  // rebuilds the VLAN table entry for entry. Ports a file does not carry
  // keep the management VLAN and no lists.
  SetItemContext trunkPort;
  trunkPort.portTypeIsTrunk = true;
  for (std::size_t i = 0; i < kPortCount; ++i) {
    const bool member = InTrunk(options, i);
    const bool carried = (options.portMask >> i) & 1u;
    const bool vlanTrunk = carried && !member && i % 3 == 0;
    a.setNumber(b, kM1VlanType, vlanTrunk ? 0 : 1, i);
    a.setNumber(b, kM1VlanPvid, member || !carried ? 1 : 1 + static_cast<std::uint32_t>(i % 3), i);
    if (!vlanTrunk) continue;
    a.setItem(b, kM1FrbVid, i, ItemValue(std::string("999")), trunkPort);
    a.setItem(b, kM1FixVid, i, ItemValue(std::string("100,200,") + std::to_string(300 + i)),
              trunkPort);
  }
  if (options.trunks) {
    for (std::uint8_t port : kTrk1Members) {
      a.setNumber(b, kM1PortTrunkGroup, 1, port);
      a.setNumber(b, kM1PortTrunkType, 1, port);
    }
    for (std::uint8_t port : kTrk2Members) a.setNumber(b, kM1PortTrunkGroup, 2, port);
    // The trunk type the file shows is the trunk entry's own.
    a.setNumber(b, kM1PortTrunkType, 1, kFirstTrunkEntry);
    // Trk2 spans the ToS groups of G-1 and G-2: it takes their setting.
    const std::size_t trk2Qos = 865 + kFirstTrunkEntry + 1;
    b.SetByteAt(trk2Qos, static_cast<std::uint8_t>(*b.ByteAt(trk2Qos) | 1));
  }
}

void SetTables(ConfigBlock& b, const SampleOptions& options) {
  auto bytes = b.bytes();
  const std::size_t igmp = options.fullLists ? kIgmpEntries : 2;
  for (std::size_t v = 0; v < igmp; ++v) {
    const std::size_t entry = kIgmpTable + v * kIgmpEntrySize;
    WriteU16(bytes, entry,
             static_cast<std::uint16_t>((v == 0 ? 1 : 100 + v) | kIgmpSnooping |
                                        (v % 2 ? kIgmpQuerier : 0)));
    WriteU32(bytes, entry + 4, v % 2 ? 0x11u : 0u);  // 1-1, 2-1
  }
  const std::size_t statics = options.fullLists ? kMulticastEntries : 3;
  for (std::size_t k = 0; k < statics; ++k) {
    const std::size_t m = kMulticastTable + k * kStaticEntrySize;
    const std::uint8_t mac[6] = {
        0x01, 0x00, 0x5E, 0x7F, static_cast<std::uint8_t>(k >> 8), static_cast<std::uint8_t>(k)};
    std::copy(mac, mac + 6, bytes.begin() + static_cast<long>(m));
    WriteU32(bytes, m + kStaticPort, 0x11u << (k % 2));  // 1-1, 2-1 or 1-2, 2-2
    bytes[m + kStaticUsed] = 1;
    const std::size_t u = kUnicastTable + k * kStaticEntrySize;
    const std::uint8_t ucast[6] = {
        0x0A, 0x3F, 0xC2, 0x01, static_cast<std::uint8_t>(k >> 8), static_cast<std::uint8_t>(k)};
    std::copy(ucast, ucast + 6, bytes.begin() + static_cast<long>(u));
    WriteU32(bytes, u + kStaticPort, static_cast<std::uint32_t>(k % 2 ? 4 : 8));
    bytes[u + kStaticUsed] = 1;
  }
}

void SetUsers(GenM1Accessors& a, ConfigBlock& b, const SampleOptions& options) {
  const std::size_t users = options.fullLists ? kDot1xUserCount : 2;
  for (std::size_t k = 0; k < users; ++k) {
    a.setText(b, kM1Dot1xDbUser, "user" + std::to_string(k + 1), k);
    a.setText(b, kM1Dot1xDbPasswd, "pw" + std::to_string(1000 + k), k);
    a.setText(b, kM1Dot1xDbDesr, "Operator desk " + std::to_string(k + 1), k);
  }
}

}  // namespace

DeviceRecord SampleRecord(const SampleOptions& options) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = 0x0726;
  record.firmwareVersion = 0x00010200;
  record.ipAddr = MakeIpv4(192, 168, 1, 10);
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.portMask = options.portMask;
  record.trunkPortMask = 0x03FFFFFF;
  for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
    const bool empty = !options.allSlotsPopulated && (slot == 1 || slot == 4);
    record.moduleType[slot] = empty ? 0 : static_cast<std::uint8_t>(1 + slot % 2);
  }
  SetFieldText(record.password, "Adm1n-Secret");
  SetFieldText(record.smtpPassword, "mail pass 7");
  return record;
}

ConfigBlock SampleBlock(const SampleOptions& options) {
  ConfigBlock b(kBlockSize);
  GenM1Accessors a;
  a.setNumber(b, D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 1, 10));
  a.setNumber(b, D_CONF_ETH_IPMASK, MakeIpv4(255, 255, 255, 0));
  a.setNumber(b, D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 1, 254));
  a.setNumber(b, D_CONF_ETH_DNSSIP, MakeIpv4(192, 168, 1, 2));
  a.setNumber(b, D_CONF_ETH_DNSSIP1, MakeIpv4(192, 168, 1, 3));
  a.setNumber(b, kIpConfigMode, 0);
  a.setNumber(b, kM1FastRecovery, 1);
  a.setNumber(b, kM1WebConfig, 1);
  a.setNumber(b, kM1TelnetConsole, 0);
  a.setNumber(b, kM1ResetPasswdEn, 1);
  a.setNumber(b, kM1CfOperationEn, 1);
  a.setNumber(b, kM1CfConfigEn, 0);
  a.setNumber(b, kM1CfFirmEn, 1);
  a.setText(b, kM1TrapServer, "192.168.1.50");
  a.setText(b, kPasswordField, "Adm1n-Secret", 1);
  a.setText(b, kM1TrapCommunity, "trapcomm");
  a.setText(b, D_CONF_ETH_NAMEA8, "Line 4 backbone");
  a.setText(b, D_CONF_ETH_LOCATION, "Hall C, rack 2, top unit");
  a.setText(b, D_CONF_ETH_SYSDESCRA8, "Modular switch");
  a.setText(b, D_CONF_ETH_CONTACT, "Plant IT, ext. 414");
  for (std::size_t c = 0; c < 8; ++c) a.setNumber(b, kM1CosMap, c / 2, c);
  for (std::size_t k = 0; k < 64; ++k) a.setNumber(b, kM1TosMap, k / 8, k);
  a.setNumber(b, D_CONF_ETH_MIRROR_PORT, 6);                        // 2-2
  a.setNumber(b, D_CONF_ETH_TARGET_PORT, options.trunks ? 27 : 7);  // Trk1 or 2-3
  a.setNumber(b, D_CONF_ETH_MIRROR_DIR, 2);
  a.setNumber(b, D_CONF_VLAN_SYS_VID, 1);
  a.setNumber(b, D_CONF_GRANTIP_INUSED, 1);
  for (std::size_t n = 0; n < 10; ++n) {
    if (n == 3) continue;
    a.setNumber(b, kM1AccessIp, MakeIpv4(10, 0, static_cast<std::uint8_t>(n), 1), n);
    a.setNumber(b, kM1AccessIpNetmask, MakeIpv4(255, 255, 255, 0), n);
  }
  a.setNumber(b, D_CONF_ETH_DTIME_PERIOD, 3600);
  a.setNumber(b, D_CONF_ETH_DTIME_TZONE, 23);
  a.setText(b, D_CONF_ETH_DTIME_SRV1, "pool.ntp.example");
  a.setText(b, D_CONF_ETH_DTIME_SRV2, "192.168.1.3");
  a.setNumber(b, D_CONF_QOS_SCHEDULE, 1);
  a.setNumber(b, kM1InspectTosPortGroup, 1, 0);
  a.setNumber(b, kM1InspectTosPortGroup, 0, 1);
  a.setNumber(b, kM1InspectTosPortGroup, 1, 2);
  a.setNumber(b, kM1InspectTosPortGroup, 1, 3);
  a.setNumber(b, kM1InspectTosPortGroup, 1, 4);
  a.setNumber(b, D_CONF_ETH_REDUN_PORT1, 9);   // 3-1
  a.setNumber(b, D_CONF_ETH_REDUN_PORT2, 10);  // 3-2
  a.setNumber(b, kM1Coupling, 1);
  a.setNumber(b, kM1ControlPort, 13);   // 4-1
  a.setNumber(b, kM1CouplingPort, 14);  // 4-2
  a.setText(b, D_CONF_ETH_WARN_SMTPSrv, "mail.example.com");
  for (std::size_t n = 0; n < 4; ++n) {
    a.setText(b, kM1EmailAddress, "ops" + std::to_string(n + 1) + "@example.com", n);
  }
  a.setText(b, D_CONF_ETH_WARN_SMTP_UNAME, "switch-alerts");
  a.setText(b, D_CONF_ETH_WARN_SMTP_PASSWD, "mail pass 7");
  a.setNumber(b, D_CONF_ETH_WARN_SFLAGA8, 0x1213);
  a.setNumber(b, kM1Relay1Override, 1);
  a.setNumber(b, kM1Relay2Override, 0);
  a.setNumber(b, kM1PowerInput1Failure, 1);
  a.setNumber(b, kM1PowerInput2Failure, 2);
  a.setNumber(b, kM1RwDi1N2F, 1);
  a.setNumber(b, kM1RwDi1F2N, 2);
  a.setNumber(b, kM1RwDi2N2F, 0);
  a.setNumber(b, kM1RwDi2F2N, 1);
  a.setNumber(b, D_CONF_ETH_SPAN_HELLO_TIME, 2);
  a.setNumber(b, D_CONF_ETH_SPAN_MAX_AGE, 20);
  a.setNumber(b, D_CONF_ETH_SPAN_FD_DELAY, 15);
  a.setNumber(b, kM1BridgeId, 0x7000);
  a.setNumber(b, D_CONF_ETH_REDUN_PROTOCOL, 0);
  a.setNumber(b, D_CONF_ETH_REDUN_MASTER, 1);
  a.setNumber(b, D_CONF_IGMPSNOOP_ENABLE, 1);
  a.setNumber(b, kM1QueryPeriod, 125);
  a.setText(b, kM1ReadCommunity, "public");
  a.setText(b, kM1ReadWriteCommunity, "private");
  a.setNumber(b, D_CONF_SNMP_VERSION, 0);
  a.setNumber(b, D_CONF_SNMP_V3AADEE, 1);
  a.setNumber(b, D_CONF_SNMP_V3UADEE, 0);
  a.setNumber(b, kM1AdminAuthType, 1);
  a.setNumber(b, kM1UserAuthType, 2);
  a.setText(b, kM1AdminDataEncryption, "admin-key-123");
  a.setText(b, kM1UserDataEncryption, "user-key");
  a.setNumber(b, kM1Dot1xDataBase, 3);
  a.setNumber(b, kM1Dot1xReAuthPeriod, 3600);
  a.setNumber(b, kM1Dot1xReAuth, 1);
  a.setText(b, kM1RadiusServer, "radius.example.com");
  a.setText(b, kM1RadiusSerKey, "radius key");
  a.setNumber(b, kM1RadiusSerPort, 1812);
  a.setNumber(b, kM1BspEnable, 1);
  a.setNumber(b, kM1IncludeMulticast, 1);
  a.setText(b, kPasswordField, "userpass1", 0);  // 8+ characters for SNMP V3
  SetPorts(a, b, options);
  SetTables(b, options);
  SetUsers(a, b, options);
  return b;
}

}  // namespace vantrell::gen_m1
