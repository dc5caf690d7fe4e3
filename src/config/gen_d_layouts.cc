#include "config/gen_d_layouts.h"

#include <array>
#include <cstddef>

namespace vantrell {
namespace {

using namespace item;

constexpr int kPorts = 8;
constexpr int kMailRecipients = 4;

/// Text sizes of the D8 blocks.
constexpr std::uint16_t kShortText = 30;      // most texts: 30 characters ...
constexpr std::uint16_t kShortTextSlot = 40;  // ... in a 40-byte slot
constexpr std::uint16_t kCommunitySlot = 32;  // the community: 30 in 32
constexpr std::uint16_t kNameFill = 32;       // the name is NUL-filled up to byte 31
constexpr std::uint16_t kSmtpText = 45;       // SMTP account and password: 45 in 46
constexpr std::uint16_t kSmtpTextSlot = 46;
constexpr std::uint16_t kLongLocation = 80;  // GenD4 location: 80 in 88
constexpr std::uint16_t kLongLocationSlot = 88;

constexpr std::size_t kMaxFields = 160;

using Layout = LayoutTable<kMaxFields>;

/// Offsets 0 to 363, common to every D8 block: header, addresses, flag
/// word, server texts, mirror bytes, and the eight port records.
constexpr void AddHead(Layout& l) {
  l.Add(D_CONF_ETH_MARK, U32Field(0));
  l.Add(D_CONF_ETH_SUM1, U16Field(4));
  l.Add(D_CONF_ETH_LEN1, U16Field(6));
  l.Add(D_CONF_ETH_IPADDR, Ipv4Field(8));
  l.Add(D_CONF_ETH_IPMASK, Ipv4Field(12));
  l.Add(D_CONF_ETH_GATEWAY, Ipv4Field(16));
  // Flag word at 20.
  l.Add(D_CONF_ETH_FLAG_DHCP, WordBitField(20, 0));
  l.Add(D_CONF_ETH_FLAG_FASTRECOVERY, WordBitField(20, 1));
  l.Add(D_CONF_ETH_FLAG_HIDE, WordBitField(20, 2));
  l.Add(D_CONF_ETH_FLAG_WEB, WordBitField(20, 3));
  l.Add(D_CONF_ETH_FLAG_TELNET, WordBitField(20, 4));
  l.Add(D_CONF_ETH_DNSSIP, Ipv4Field(24));
  l.Add(D_CONF_ETH_DNSSIP1, Ipv4Field(28));
  l.Add(D_CONF_ETH_TRAPS, TextField(32, kShortText, kShortTextSlot));
  l.Add(D_CONF_ETH_USERNAME, Blank16Field(72));
  l.Add(kPasswordField, Blank16Field(88));
  l.Add(D_CONF_ETH_COMMUNITY, TextField(104, kShortText, kCommunitySlot));
  l.Add(D_CONF_ETH_NAME, NameTextField(136, kShortText, kShortTextSlot, kNameFill));
  l.Add(D_CONF_ETH_LOCATION_OLD, TextField(176, kShortText, kShortTextSlot));
  l.Add(D_CONF_ETH_SYSDESCR, TextField(216, kShortText, kShortTextSlot));
  l.Add(D_CONF_ETH_CONTACT, TextField(256, kShortText, kShortTextSlot));
  l.Add(D_CONF_ETH_MIRROR_PORT, U8Field(296));
  l.Add(D_CONF_ETH_TARGET_PORT, U8Field(297));
  l.Add(D_CONF_ETH_MIRROR_DIR, U8Field(298));
  // Port records of 8 bytes from 300: +0 disable, +1 MDI flag, +2 speed,
  // +3 unused, +4 device IP.
  for (int p = 1; p <= kPorts; ++p) {
    const std::uint32_t record = 300 + 8 * (p - 1);
    l.Add(PcfgDisable(p), U8Field(record + 0));
    l.Add(PcfgFlag(p), NibbleField(record + 1));
    l.Add(PcfgSpeed(p), U8Field(record + 2));
    l.Add(PcfgDevIp(p), Ipv4Field(record + 4));
  }
}

/// Offsets 608 to 655, common to every D8 block: spanning tree per port,
/// times, bridge ID, redundancy word, two spare words.
constexpr void AddSpanningTree(Layout& l) {
  for (int p = 1; p <= kPorts; ++p) {
    l.Add(SpanPortEnable(p), U8Field(608 + (p - 1)));
    l.Add(SpanPortId(p), U8Field(616 + (p - 1)));
    l.Add(SpanPathCost(p), U16Field(624 + 2 * (p - 1)));
  }
  l.Add(D_CONF_ETH_SPAN_HELLO_TIME, Times100Field(640));
  l.Add(D_CONF_ETH_SPAN_MAX_AGE, Times100Field(642));
  l.Add(D_CONF_ETH_SPAN_FD_DELAY, Times100Field(644));
  l.Add(D_CONF_ETH_SPAN_BRIDGE_ID, U16Field(646));
  l.Add(kRedundancyWord, U32Field(648));
  l.Add(kSpareWord104, U16Field(652));
  l.Add(kSpareWord105, U16Field(654));
}

/// Where the e-mail warning group lies in a block.
struct MailGroup {
  std::uint32_t server;      ///< text 30 in 40
  std::uint32_t recipients;  ///< four texts 30 in 40
  std::uint32_t systemEvents;
  std::uint32_t portEvents;  ///< one byte per port
  std::uint32_t portLoads;   ///< one word per port: threshold low, duration high
};

constexpr void AddMailWarning(Layout& l, const MailGroup& g) {
  l.Add(D_CONF_ETH_WARN_SMTPSrv, TextField(g.server, kShortText, kShortTextSlot));
  for (int k = 1; k <= kMailRecipients; ++k) {
    l.Add(WarnTo(k),
          TextField(g.recipients + kShortTextSlot * (k - 1), kShortText, kShortTextSlot));
  }
  l.Add(D_CONF_ETH_WARN_SFLAG, U32Field(g.systemEvents));
  for (int p = 1; p <= kPorts; ++p) {
    l.Add(WarnPortFlag(p), U8Field(g.portEvents + (p - 1)));
    l.Add(WarnPortLoad(p), Lo16Field(g.portLoads + 4 * (p - 1)));
    l.Add(WarnPortLoadTime(p), Hi16Field(g.portLoads + 4 * (p - 1)));
  }
}

constexpr Layout BuildGenD1() {
  Layout l;
  AddHead(l);
  AddSpanningTree(l);
  AddMailWarning(
      l,
      {.server = 364, .recipients = 404, .systemEvents = 564, .portEvents = 568, .portLoads = 576});
  return l;
}

constexpr Layout BuildGenD2() {
  Layout l;
  AddHead(l);
  AddSpanningTree(l);
  AddMailWarning(
      l,
      {.server = 656, .recipients = 696, .systemEvents = 856, .portEvents = 860, .portLoads = 868});
  l.Add(D_CONF_ETH_WARN_SMTP_UNAME, TextField(900, kSmtpText, kSmtpTextSlot));
  l.Add(D_CONF_ETH_WARN_SMTP_PASSWD, TextField(946, kSmtpText, kSmtpTextSlot));
  return l;
}

/// Relay warning bits: the word at 1124 and the port bytes from 1128 are
/// read whole and written only in the bits of their item.
constexpr std::uint32_t kRelayNormalBit = 0x01;
constexpr std::uint32_t kRelayPower1Bit = 0x10;
constexpr std::uint32_t kRelayPower2Bit = 0x40;
constexpr std::uint8_t kRelayLinkBits = 0x03;
constexpr std::uint8_t kRelayTrafficBit = 0x04;

constexpr Layout BuildGenD4() {
  Layout l = BuildGenD2();
  l.Remove(D_CONF_ETH_LOCATION_OLD);
  l.Add(D_CONF_ETH_RELAY_SFLAG_NORMAL, MaskedU32Field(1124, kRelayNormalBit));
  l.Add(D_CONF_ETH_RELAY_SFLAG_POWER1, MaskedU32Field(1124, kRelayPower1Bit));
  l.Add(D_CONF_ETH_RELAY_SFLAG_POWER2, MaskedU32Field(1124, kRelayPower2Bit));
  for (int p = 1; p <= kPorts; ++p) {
    l.Add(RelayPortLink(p), MaskedU8Field(1128 + (p - 1), kRelayLinkBits));
    l.Add(RelayPortTraffic(p), MaskedU8Field(1128 + (p - 1), kRelayTrafficBit));
    l.Add(RelayPortLoad(p), Lo16Field(1136 + 4 * (p - 1)));
    l.Add(RelayPortLoadTime(p), Hi16Field(1136 + 4 * (p - 1)));
  }
  l.Add(D_CONF_ETH_LOCATION, TextField(1168, kLongLocation, kLongLocationSlot));
  return l;
}

constexpr Layout kGenD1 = BuildGenD1();
constexpr Layout kGenD2 = BuildGenD2();
constexpr Layout kGenD4 = BuildGenD4();

static_assert(kGenD1.count == 117);
static_assert(kGenD2.count == 119);
static_assert(kGenD4.count == 154);

static_assert(kGenD1.Inside(blockSize(Generation::kGenD1)));
static_assert(kGenD2.Inside(blockSize(Generation::kGenD2)));
static_assert(kGenD4.Inside(blockSize(Generation::kGenD4)));

}  // namespace

std::span<const ItemField> GenDLayout(Generation generation) {
  switch (generation) {
    case Generation::kGenD1:
      return kGenD1.view();
    case Generation::kGenD2:
    case Generation::kGenD3:
      return kGenD2.view();
    case Generation::kGenD4:
      return kGenD4.view();
    default:
      return {};
  }
}

std::unique_ptr<ItemAccessors> MakeGenDAccessors(Generation generation) {
  const auto layout = GenDLayout(generation);
  if (layout.empty()) return nullptr;
  return std::make_unique<LayoutAccessors>(generation, layout);
}

std::unique_ptr<ItemAccessors> MakeGenD1Accessors() {
  return MakeGenDAccessors(Generation::kGenD1);
}
std::unique_ptr<ItemAccessors> MakeGenD2Accessors() {
  return MakeGenDAccessors(Generation::kGenD2);
}
std::unique_ptr<ItemAccessors> MakeGenD3Accessors() {
  return MakeGenDAccessors(Generation::kGenD3);
}
std::unique_ptr<ItemAccessors> MakeGenD4Accessors() {
  return MakeGenDAccessors(Generation::kGenD4);
}

}  // namespace vantrell
