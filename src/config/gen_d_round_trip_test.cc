// Export and import of a D8 configuration file, item by item and byte by
// byte: every item the file carries arrives with the exported value in a
// target block that held other values, and no byte outside the items moves.
//
// Items of the layouts that do not survive the round trip, and why:
// - D_CONF_ETH_MARK, D_CONF_ETH_SUM1, D_CONF_ETH_LEN1, kSpareWord104,
//   kSpareWord105: block bookkeeping, never written to the file; the
//   target keeps its own.
// - D_CONF_ETH_DNSSIP1: the writers leave the second DNS server out of the
//   file (the readers would take it); the target keeps its own.
// - D_CONF_ETH_FLAG_HIDE ("HidePicture"): the readers take it, but the D8
//   writers write no line for it, so an exported hide-picture setting is
//   lost and the target keeps its own.
// - kPasswordField: the file's "Password" becomes the edited record's
//   login password, not a block item; the block keeps its own bytes.
// - The redundancy word of GenD1/GenD2 (D_CONF_ETH_SPAN_REDUN) is written
//   whole but read as a flag: only 0 and 1 survive.
// - The redundancy word of GenD3/GenD4 travels as protocol, master and
//   coupling. With the ring off the import clears only the ring bit, so the
//   target's master and coupling bits stay; with the ring on the import
//   rebuilds the word from the protocol, so any other bit of the target is
//   dropped and any other bit of the source is lost. With the ring on the
//   spanning tree settings are written but not read: the target keeps them.
// - The trailing blanks of a text: the lookup cuts them, so a text that ends
//   in blanks arrives without them.
// - With a model whose port 7 or 8 is a fixed uplink, that port's MDI flag
//   and speed stay as the target has them (model 0x6008 applies all).

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/gen_d_layouts.h"
#include "config/gen_d_readers.h"
#include "config/gen_d_writers.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;

constexpr Generation kDGenerations[] = {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3,
                                        Generation::kGenD4};

/// The byte every byte of the target block starts as.
constexpr std::uint8_t kTargetPattern = 0xA5;
/// A model whose file carries and whose reader applies every port setting.
constexpr std::uint16_t kAllPortsModel = 0x6008;

/// Which values a fill stores: the exported device's or the target's.
enum class Side { kSource, kTarget };

/// The layout items that no D8 file carries as a block item.
const ConfigItemId kNeverCarried[] = {D_CONF_ETH_MARK,    D_CONF_ETH_SUM1,      D_CONF_ETH_LEN1,
                                      D_CONF_ETH_DNSSIP1, D_CONF_ETH_FLAG_HIDE, kPasswordField,
                                      kSpareWord104,      kSpareWord105};

/// A device of one generation whose fill remembers which items it set.
struct RoundTripDevice {
  RoundTripDevice(Generation g, Side s)
      : generation(g), side(s), block(blockSize(g)), accessors(MakeGenDAccessors(g)) {
    record = MakeZeroRecord();
    record.modelId = kAllPortsModel;
    SetFieldText(record.password, s == Side::kSource ? "exportpw" : "oldpass");
  }

  /// The source's or the target's value.
  std::uint32_t Pick(std::uint32_t source, std::uint32_t target) const {
    return side == Side::kSource ? source : target;
  }
  /// A text of `length` characters for the source (the longest the field
  /// takes), a short one for the target.
  std::string PickText(std::string_view tag, std::size_t length) const {
    if (side == Side::kTarget) return "t " + std::string(tag);
    std::string text = "s " + std::string(tag) + " ";
    for (std::size_t i = 0; text.size() < length; ++i) text += "abcdefghij0123456789"[i % 20];
    return text.substr(0, length);
  }

  void Put(ConfigItemId id, std::uint32_t value) {
    ASSERT_EQ(accessors->setNumber(block, id, value), ItemStatus::kOk) << id;
    carried.push_back(id);
  }
  void PutText(ConfigItemId id, const std::string& text) {
    ASSERT_EQ(accessors->setText(block, id, text), ItemStatus::kOk) << id;
    carried.push_back(id);
  }
  /// A field kept without being counted as carried by the file.
  void Keep(ConfigItemId id, std::uint32_t value) {
    ASSERT_EQ(accessors->setNumber(block, id, value), ItemStatus::kOk) << id;
  }

  /// The item as its field holds it; a masked item only in its own bits.
  std::optional<ItemValue> Value(ConfigItemId id) const {
    ItemValue value;
    if (accessors->getItem(block, id, value) != ItemStatus::kOk) return std::nullopt;
    const ItemField* row = FindItemField(GenDLayout(generation), id);
    if (row != nullptr &&
        (row->field.kind == FieldKind::kMaskedU32 || row->field.kind == FieldKind::kMaskedU8)) {
      value = std::get<std::uint32_t>(value) & row->field.mask;
    }
    return value;
  }

  Generation generation;
  Side side;
  ConfigBlock block;
  std::unique_ptr<ItemAccessors> accessors;
  DeviceRecord record;
  std::vector<ConfigItemId> carried;
};

void FillSpanningTree(RoundTripDevice& d) {
  d.Put(D_CONF_ETH_SPAN_BRIDGE_ID, d.Pick(40960, 4096));
  d.Put(D_CONF_ETH_SPAN_HELLO_TIME, d.Pick(10, 1));
  d.Put(D_CONF_ETH_SPAN_MAX_AGE, d.Pick(40, 6));
  d.Put(D_CONF_ETH_SPAN_FD_DELAY, d.Pick(30, 4));
  for (int p = 1; p <= 8; ++p) {
    const auto n = static_cast<std::uint32_t>(p);
    d.Put(SpanPortEnable(p), d.Pick(n % 2, (n + 1) % 2));
    d.Put(SpanPortId(p), d.Pick(250 - n, 16 * n));
    d.Put(SpanPathCost(p), d.Pick(65000 + n, 100 + n));
  }
}

/// Sets every item the file carries: to the source's values (texts as long
/// as the fields take) or to the target's, which differ from them in every
/// item. `ringOn` matters to GenD3 and GenD4 only.
void FillCarriedItems(RoundTripDevice& d, bool ringOn) {
  const Generation g = d.generation;
  d.Put(D_CONF_ETH_FLAG_DHCP, d.Pick(1, 0));
  d.Put(D_CONF_ETH_IPADDR, d.Pick(MakeIpv4(192, 168, 7, 10), MakeIpv4(10, 1, 1, 1)));
  d.Put(D_CONF_ETH_IPMASK, d.Pick(MakeIpv4(255, 255, 255, 255), MakeIpv4(255, 0, 0, 0)));
  d.Put(D_CONF_ETH_GATEWAY, d.Pick(MakeIpv4(192, 168, 7, 254), MakeIpv4(10, 1, 1, 254)));
  d.Put(D_CONF_ETH_DNSSIP, d.Pick(MakeIpv4(9, 9, 9, 9), MakeIpv4(1, 1, 1, 1)));
  d.PutText(D_CONF_ETH_TRAPS, d.PickText("trap", 30));
  d.PutText(D_CONF_ETH_COMMUNITY, d.PickText("community", 30));
  d.PutText(D_CONF_ETH_USERNAME, d.PickText("user", 16));
  d.PutText(D_CONF_ETH_NAME, d.PickText("name", 30));
  if (g == Generation::kGenD4) {
    d.PutText(D_CONF_ETH_LOCATION, d.PickText("location", 80));
  } else {
    d.PutText(D_CONF_ETH_LOCATION_OLD, d.PickText("location", 30));
  }
  d.PutText(D_CONF_ETH_SYSDESCR, d.PickText("descr", 30));
  d.PutText(D_CONF_ETH_CONTACT, d.PickText("contact", 30));
  d.Put(D_CONF_ETH_FLAG_WEB, d.Pick(1, 0));
  d.Put(D_CONF_ETH_FLAG_TELNET, d.Pick(0, 1));
  d.Keep(D_CONF_ETH_FLAG_HIDE, d.Pick(1, 0));  // not in the file: the target keeps its own
  d.Put(D_CONF_ETH_FLAG_FASTRECOVERY, d.Pick(0, 1));
  d.Put(D_CONF_ETH_MIRROR_PORT, d.Pick(8, 1));
  d.Put(D_CONF_ETH_TARGET_PORT, d.Pick(7, 2));
  d.Put(D_CONF_ETH_MIRROR_DIR, d.Pick(2, 1));
  d.PutText(D_CONF_ETH_WARN_SMTPSrv, d.PickText("smtp", 30));
  if (g != Generation::kGenD1) {
    d.PutText(D_CONF_ETH_WARN_SMTP_UNAME, d.PickText("account", 45));
    d.PutText(D_CONF_ETH_WARN_SMTP_PASSWD, d.PickText("secret", 45));
  }
  for (int k = 1; k <= 4; ++k) d.PutText(WarnTo(k), d.PickText("to" + std::to_string(k), 30));
  d.Put(D_CONF_ETH_WARN_SFLAG, d.Pick(g == Generation::kGenD4 ? 0x7F : 0x3F, 0x01));
  for (int p = 1; p <= 8; ++p) {
    const auto n = static_cast<std::uint32_t>(p);
    d.Put(PcfgDisable(p), d.Pick(n % 2, (n + 1) % 2));
    d.Put(PcfgFlag(p), d.Pick(n % 3, (n + 1) % 3));
    d.Put(PcfgSpeed(p), d.Pick(n % 5, (n + 2) % 5));
    d.Put(PcfgDevIp(p), d.Pick(MakeIpv4(172, 16, 0, static_cast<std::uint8_t>(p)),
                               MakeIpv4(10, 9, 9, static_cast<std::uint8_t>(p))));
    d.Put(WarnPortFlag(p), d.Pick(n % 8, (n + 3) % 8));
    d.Put(WarnPortLoad(p), d.Pick(100 - n, 10 * n));
    d.Put(WarnPortLoadTime(p), d.Pick(300 - n, n));
    if (g == Generation::kGenD4) {
      d.Put(RelayPortLink(p), d.Pick(n % 3, (n + 1) % 3));
      d.Put(RelayPortTraffic(p), d.Pick(p % 2 == 0 ? 0x04 : 0, p % 2 == 0 ? 0 : 0x04));
      d.Put(RelayPortLoad(p), d.Pick(100 - n, 9 * n));
      d.Put(RelayPortLoadTime(p), d.Pick(300 - n, n + 1));
    }
  }
  if (g == Generation::kGenD4) {
    d.Put(D_CONF_ETH_RELAY_SFLAG_NORMAL, d.Pick(0x01, 0));
    d.Put(D_CONF_ETH_RELAY_SFLAG_POWER1, d.Pick(0x10, 0));
    d.Put(D_CONF_ETH_RELAY_SFLAG_POWER2, d.Pick(0, 0x40));
  }
  if (g == Generation::kGenD1 || g == Generation::kGenD2) {
    d.Put(D_CONF_ETH_SPAN_REDUN, d.Pick(1, 0));
    FillSpanningTree(d);
  } else if (ringOn) {
    const std::uint32_t ring = g == Generation::kGenD4 ? 0x72 : 0x32;  // on, master, coupling
    d.Put(kRedundancyWord, d.Pick(ring, 0));
    FillSpanningTree(d);  // written, but not read while the ring is on
  } else {
    d.Put(kRedundancyWord, d.Pick(0, 0x02));  // the ring off; the target's on
    FillSpanningTree(d);
  }
}

/// Removes the spanning tree items from a list when the ring hides them.
std::vector<ConfigItemId> CarriedByFile(const RoundTripDevice& source, bool ringOn) {
  if (!ringOn || source.generation == Generation::kGenD1 ||
      source.generation == Generation::kGenD2) {
    return source.carried;
  }
  std::vector<ConfigItemId> ids;
  for (ConfigItemId id : source.carried) {
    bool spanning = id == D_CONF_ETH_SPAN_BRIDGE_ID || id == D_CONF_ETH_SPAN_HELLO_TIME ||
                    id == D_CONF_ETH_SPAN_MAX_AGE || id == D_CONF_ETH_SPAN_FD_DELAY;
    for (int p = 1; p <= 8; ++p) {
      spanning =
          spanning || id == SpanPortEnable(p) || id == SpanPortId(p) || id == SpanPathCost(p);
    }
    if (!spanning) ids.push_back(id);
  }
  return ids;
}

bool Contains(const std::vector<ConfigItemId>& ids, ConfigItemId id) {
  for (ConfigItemId i : ids) {
    if (i == id) return true;
  }
  return false;
}

/// The bytes of the generation's block that some layout item covers.
std::vector<bool> CoveredBytes(Generation g) {
  std::vector<bool> covered(blockSize(g), false);
  for (const ItemField& row : GenDLayout(g)) {
    for (std::size_t i = 0; i < FieldWidth(row.field); ++i) covered.at(row.field.offset + i) = true;
  }
  return covered;
}

void ExpectRoundTrip(Generation g, bool ringOn) {
  SCOPED_TRACE(std::string(GenerationName(g)) + (ringOn ? " ring on" : " ring off"));
  RoundTripDevice source(g, Side::kSource);
  for (std::size_t i = 0; i < source.block.size(); ++i) {
    source.block.SetByteAt(i, static_cast<std::uint8_t>(i * 7 + 3));
  }
  FillCarriedItems(source, ringOn);
  const std::vector<ConfigItemId> carried = CarriedByFile(source, ringOn);
  std::string file;
  ASSERT_TRUE(WriteGenDConfigFile(g, file, source.record, source.block, *source.accessors));

  RoundTripDevice target(g, Side::kTarget);
  for (std::size_t i = 0; i < target.block.size(); ++i) target.block.SetByteAt(i, kTargetPattern);
  FillCarriedItems(target, ringOn);
  const RoundTripDevice before = [&] {
    RoundTripDevice copy(g, Side::kTarget);
    copy.block = target.block;
    return copy;
  }();
  for (ConfigItemId id : carried) {
    ASSERT_NE(target.Value(id), source.Value(id)) << "target equals source in item " << id;
  }

  ASSERT_EQ(GenDReaderFor(g)(target.record, target.block, file, *target.accessors), 0u);

  EXPECT_STREQ(target.record.password, "exportpw");
  for (const ItemField& row : GenDLayout(g)) {
    if (Contains(carried, row.id)) {
      EXPECT_EQ(target.Value(row.id), source.Value(row.id)) << "carried item " << row.id;
    } else {
      EXPECT_EQ(target.Value(row.id), before.Value(row.id)) << "item not in the file " << row.id;
    }
  }
  const std::vector<bool> covered = CoveredBytes(g);
  std::size_t uncovered = 0;
  for (std::size_t i = 0; i < covered.size(); ++i) {
    if (covered[i]) continue;
    ++uncovered;
    EXPECT_EQ(target.block.ByteAt(i), kTargetPattern) << "byte " << i;
  }
  // The unused byte of each port record at least.
  EXPECT_GE(uncovered, 8u);
}

TEST(GenDRoundTrip, EveryCarriedItemArrivesAndNoOtherByteMoves) {
  for (Generation g : kDGenerations) ExpectRoundTrip(g, /*ringOn=*/false);
}

TEST(GenDRoundTrip, RingSettingsArriveAndTheTargetKeepsItsSpanningTree) {
  for (Generation g : {Generation::kGenD3, Generation::kGenD4}) ExpectRoundTrip(g, /*ringOn=*/true);
}

TEST(GenDRoundTrip, EveryLayoutItemIsEitherCarriedOrKnownToStayBehind) {
  for (Generation g : kDGenerations) {
    SCOPED_TRACE(GenerationName(g));
    RoundTripDevice source(g, Side::kSource);
    FillCarriedItems(source, /*ringOn=*/false);
    std::vector<ConfigItemId> accounted = source.carried;
    accounted.insert(accounted.end(), std::begin(kNeverCarried), std::end(kNeverCarried));
    for (const ItemField& row : GenDLayout(g)) {
      EXPECT_TRUE(Contains(accounted, row.id)) << "layout item " << row.id << " is not covered";
    }
  }
}

}  // namespace
}  // namespace vantrell
