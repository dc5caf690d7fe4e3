#include "config/gen_d_layouts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;

constexpr Generation kDGenerations[] = {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3,
                                        Generation::kGenD4};

ConfigBlock PatternBlock(std::size_t size) {
  ConfigBlock block(size);
  for (std::size_t i = 0; i < size; ++i) block.SetByteAt(i, static_cast<std::uint8_t>(i * 7 + 3));
  return block;
}

std::uint32_t Number(const ItemAccessors& accessors, const ConfigBlock& block, ConfigItemId id) {
  const auto number = accessors.getNumber(block, id);
  EXPECT_TRUE(number.has_value()) << id;
  return number.value_or(0xDEADBEEF);
}

std::string Text(const ItemAccessors& accessors, const ConfigBlock& block, ConfigItemId id) {
  const auto text = accessors.getText(block, id);
  EXPECT_TRUE(text.has_value()) << id;
  return text.value_or("<none>");
}

std::uint16_t Le16At(const ConfigBlock& block, std::size_t offset) {
  return static_cast<std::uint16_t>(*block.ByteAt(offset) | (*block.ByteAt(offset + 1) << 8));
}

std::uint32_t Le32At(const ConfigBlock& block, std::size_t offset) {
  return Le16At(block, offset) | (static_cast<std::uint32_t>(Le16At(block, offset + 2)) << 16);
}

std::string BytesAt(const ConfigBlock& block, std::size_t offset, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i)
    text.push_back(static_cast<char>(*block.ByteAt(offset + i)));
  return text;
}

/// The bits of the field's bytes that belong to the item (as a little-endian
/// word over the field's width); other bits of those bytes must stay.
std::uint32_t ItemBits(const BlockField& field) {
  switch (field.kind) {
    case FieldKind::kBit:
      return field.mask;
    case FieldKind::kNibble:
      return 0x0F;
    case FieldKind::kLo16:
      return 0x0000FFFF;
    case FieldKind::kHi16:
      return 0xFFFF0000;
    case FieldKind::kMaskedU32:
    case FieldKind::kMaskedU8:
      return field.mask;
    default:
      return 0xFFFFFFFF;
  }
}

/// A value the field can hold, derived from the ID so that neighbours differ.
ItemValue ValueFor(const ItemField& row) {
  const std::uint32_t id = row.id;
  const BlockField& f = row.field;
  switch (f.kind) {
    case FieldKind::kU8:
      return (id * 37 + 1) & 0xFF;
    case FieldKind::kU16:
    case FieldKind::kLo16:
    case FieldKind::kHi16:
      return (id * 2654435761u + 5) & 0xFFFF;
    case FieldKind::kU32:
      return id * 2654435761u;
    case FieldKind::kIpv4:
      return MakeIpv4(10, static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id), 9);
    case FieldKind::kBit:
      return id & 1;
    case FieldKind::kNibble:
      return (id * 5) & 0x0F;
    case FieldKind::kTimes100:
      return id % 600;
    case FieldKind::kMaskedU32:
    case FieldKind::kMaskedU8:
      return (id & 1) ? 0xFFFFFFFFu : 0u;
    case FieldKind::kBlank16:
    case FieldKind::kBlank16Terminated:
    case FieldKind::kText:
    case FieldKind::kNameText: {
      const std::size_t length = f.kind == FieldKind::kBlank16 ? 16 : f.maxChars;
      std::string text;
      while (text.size() < length) text += "#" + std::to_string(id) + "-";
      text.resize(length);
      text.back() = 'z';
      return text;
    }
    default:
      ADD_FAILURE() << "an encoding the D8 layouts do not use, item " << id;
      break;
  }
  return 0u;
}

/// What getItem yields after setItem stored `value` into a fresh field.
bool ReadsBackAs(const ItemField& row, const ItemValue& value, const ItemValue& got) {
  if (row.field.kind == FieldKind::kMaskedU32 || row.field.kind == FieldKind::kMaskedU8) {
    const std::uint32_t mask = row.field.mask;
    return (std::get<std::uint32_t>(got) & mask) == (std::get<std::uint32_t>(value) & mask);
  }
  return got == value;
}

TEST(GenDLayouts, SizesAndSharing) {
  EXPECT_EQ(blockSize(Generation::kGenD1), 656u);
  EXPECT_EQ(blockSize(Generation::kGenD2), 1124u);
  EXPECT_EQ(blockSize(Generation::kGenD3), 1124u);
  EXPECT_EQ(blockSize(Generation::kGenD4), 1256u);
  EXPECT_EQ(blockSize(Generation::kGenM1), ConfigBlock::kCapacity);
  EXPECT_EQ(GenDLayout(Generation::kGenD3).data(), GenDLayout(Generation::kGenD2).data());
  EXPECT_TRUE(GenDLayout(Generation::kGenA1).empty());
  EXPECT_EQ(MakeGenDAccessors(Generation::kGenM1), nullptr);
  EXPECT_EQ(MakeGenD3Accessors()->generation(), Generation::kGenD3);
  EXPECT_EQ(MakeGenD4Accessors()->blockSize(), 1256u);
}

TEST(GenDLayouts, EachItemOnceAndInsideItsBlock) {
  for (Generation g : kDGenerations) {
    std::set<ConfigItemId> ids;
    for (const ItemField& row : GenDLayout(g)) {
      EXPECT_TRUE(ids.insert(row.id).second) << GenerationName(g) << " item " << row.id;
      EXPECT_TRUE(FieldFits(blockSize(g), row.field.offset, FieldWidth(row.field))) << row.id;
    }
  }
}

/// The bytes that no item of the layout covers.
std::set<std::size_t> UncoveredBytes(Generation g) {
  std::set<std::size_t> free;
  for (std::size_t i = 0; i < blockSize(g); ++i) free.insert(i);
  for (const ItemField& row : GenDLayout(g)) {
    for (std::size_t i = 0; i < FieldWidth(row.field); ++i) free.erase(row.field.offset + i);
  }
  return free;
}

std::set<std::size_t> Range(std::size_t first, std::size_t last) {
  std::set<std::size_t> bytes;
  for (std::size_t i = first; i <= last; ++i) bytes.insert(i);
  return bytes;
}

TEST(GenDLayouts, OnlyTheListedBytesBelongToNoItem) {
  std::set<std::size_t> common = {299};
  for (int p = 0; p < 8; ++p) common.insert(300 + 8 * p + 3);  // 4th byte of each port record
  EXPECT_EQ(UncoveredBytes(Generation::kGenD1), common);

  std::set<std::size_t> d2 = common;
  d2.merge(Range(364, 607));
  d2.merge(Range(992, 1123));
  EXPECT_EQ(UncoveredBytes(Generation::kGenD2), d2);

  std::set<std::size_t> d4 = d2;
  d4.merge(Range(176, 215));  // the old location field
  EXPECT_EQ(UncoveredBytes(Generation::kGenD4), d4);
}

TEST(GenDLayouts, D1SharesHeadAndSpanningTreeWithD2) {
  const auto d2 = GenDLayout(Generation::kGenD2);
  int shared = 0;
  for (const ItemField& row : GenDLayout(Generation::kGenD1)) {
    if (row.field.offset >= 364 && row.field.offset < 608) continue;
    const ItemField* other = FindItemField(d2, row.id);
    ASSERT_NE(other, nullptr) << row.id;
    EXPECT_EQ(other->field.offset, row.field.offset) << row.id;
    EXPECT_EQ(other->field.kind, row.field.kind) << row.id;
    ++shared;
  }
  EXPECT_EQ(shared, 87);
}

TEST(GenDAccessors, SetItemTouchesNothingOutsideTheItem) {
  for (Generation g : kDGenerations) {
    auto accessors = MakeGenDAccessors(g);
    for (const ItemField& row : GenDLayout(g)) {
      SCOPED_TRACE(std::string(GenerationName(g)) + " item " + std::to_string(row.id));
      const ConfigBlock before = PatternBlock(blockSize(g));
      ConfigBlock block = before;
      ASSERT_EQ(accessors->setItem(block, row.id, ValueFor(row)), ItemStatus::kOk);
      const std::size_t first = row.field.offset;
      const std::size_t width = FieldWidth(row.field);
      for (std::size_t i = 0; i < block.size(); ++i) {
        if (i >= first && i < first + width) continue;
        ASSERT_EQ(block.ByteAt(i), before.ByteAt(i)) << "byte " << i;
      }
      if (width <= 4) {
        std::uint32_t was = 0, now = 0;
        for (std::size_t i = 0; i < width; ++i) {
          was |= static_cast<std::uint32_t>(*before.ByteAt(first + i)) << (8 * i);
          now |= static_cast<std::uint32_t>(*block.ByteAt(first + i)) << (8 * i);
        }
        EXPECT_EQ(was & ~ItemBits(row.field), now & ~ItemBits(row.field));
      }
    }
  }
}

TEST(GenDAccessors, EveryItemRoundTrips) {
  for (Generation g : kDGenerations) {
    auto accessors = MakeGenDAccessors(g);
    ConfigBlock block = PatternBlock(blockSize(g));
    // Each item alone, and the value 1 for every bit item.
    for (const ItemField& row : GenDLayout(g)) {
      SCOPED_TRACE(std::string(GenerationName(g)) + " item " + std::to_string(row.id));
      for (const ItemValue& value :
           {ValueFor(row), row.field.kind == FieldKind::kBit ? ItemValue(1u) : ValueFor(row)}) {
        ASSERT_EQ(accessors->setItem(block, row.id, value), ItemStatus::kOk);
        ItemValue got;
        ASSERT_EQ(accessors->getItem(block, row.id, got), ItemStatus::kOk);
        EXPECT_TRUE(ReadsBackAs(row, value, got));
      }
    }
    // All items set first, then all read: no item overwrites another.
    ConfigBlock all(blockSize(g));
    for (const ItemField& row : GenDLayout(g)) {
      ASSERT_EQ(accessors->setItem(all, row.id, ValueFor(row)), ItemStatus::kOk);
    }
    for (const ItemField& row : GenDLayout(g)) {
      ItemValue got;
      ASSERT_EQ(accessors->getItem(all, row.id, got), ItemStatus::kOk);
      EXPECT_TRUE(ReadsBackAs(row, ValueFor(row), got)) << GenerationName(g) << " item " << row.id;
    }
  }
}

TEST(GenDAccessors, UnhandledItemsLeaveBlockAndValueAlone) {
  const std::pair<Generation, std::set<ConfigItemId>> cases[] = {
      {Generation::kGenD1, {0, 11, 29, 150, 151, 152, 187, 446, 999, 0xFFFFFFFF}},
      {Generation::kGenD2, {0, 11, 29, 152, 155, 171, 187, 446, 999}},
      {Generation::kGenD3, {0, 152, 187}},
      {Generation::kGenD4, {0, 17, 29, 446, 701, 999}},
  };
  for (const auto& [g, ids] : cases) {
    auto accessors = MakeGenDAccessors(g);
    for (ConfigItemId id : ids) {
      ConfigBlock block = PatternBlock(blockSize(g));
      const ConfigBlock before = block;
      ItemValue out = std::string("untouched");
      EXPECT_EQ(accessors->getItem(block, id, out), ItemStatus::kNotHandled) << id;
      EXPECT_EQ(std::get<std::string>(out), "untouched");
      EXPECT_EQ(accessors->setItem(block, id, ItemValue(1u)), ItemStatus::kNotHandled) << id;
      EXPECT_EQ(accessors->setItem(block, id, ItemValue(std::string("x"))),
                ItemStatus::kNotHandled);
      EXPECT_EQ(block, before);
    }
  }
}

TEST(GenD2Accessors, ItemsAtTheirOffsets) {
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block(1124);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 1, 10)), ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 8, 4), "\xC0\xA8\x01\x0A");
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_FLAG_TELNET, 1u), ItemStatus::kOk);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_FLAG_FASTRECOVERY, 1u), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 20), 0x12u);
  ASSERT_EQ(d2->setText(block, D_CONF_ETH_NAME, "Line 4"), ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 136, 7), std::string("Line 4\0", 7));
  ASSERT_EQ(d2->setItem(block, PcfgDevIp(8), MakeIpv4(10, 0, 0, 8)), ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 360, 4), std::string("\x0A\x00\x00\x08", 4));
  ASSERT_EQ(d2->setNumber(block, PcfgSpeed(2), 4), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(310), 4);
  ASSERT_EQ(d2->setItem(block, SpanPathCost(8), 0x1234u), ItemStatus::kOk);
  EXPECT_EQ(Le16At(block, 638), 0x1234);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_SPAN_BRIDGE_ID, 32768u), ItemStatus::kOk);
  EXPECT_EQ(Le16At(block, 646), 32768);
  ASSERT_EQ(d2->setItem(block, kRedundancyWord, 0x32u), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 648), 0x32u);
  ASSERT_EQ(d2->setItem(block, WarnTo(4), std::string("ops@example.com")), ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 816, 15), "ops@example.com");
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_WARN_SFLAG, 0x4Au), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 856), 0x4Au);
  ASSERT_EQ(d2->setItem(block, WarnPortFlag(8), 7u), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(867), 7);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_WARN_SMTP_PASSWD, std::string("qb73#5mR")),
            ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 946, 9), std::string("qb73#5mR\0", 9));
  EXPECT_EQ(Text(*d2, block, D_CONF_ETH_WARN_SMTP_PASSWD), "qb73#5mR");
}

TEST(GenD1Accessors, MailGroupSitsLowerWithoutSmtpAccount) {
  auto d1 = MakeGenD1Accessors();
  ConfigBlock block(656);
  ASSERT_EQ(d1->setItem(block, D_CONF_ETH_WARN_MAILS, std::string("mail.example.com")),
            ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 364, 16), "mail.example.com");
  ASSERT_EQ(d1->setItem(block, WarnTo(4), std::string("d")), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(524), 'd');
  ASSERT_EQ(d1->setItem(block, D_CONF_ETH_WARN_SFLAG, 0x13u), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 564), 0x13u);
  ASSERT_EQ(d1->setItem(block, WarnPortFlag(1), 5u), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(568), 5);
  ASSERT_EQ(d1->setItem(block, WarnPortLoad(8), 75u), ItemStatus::kOk);
  ASSERT_EQ(d1->setItem(block, WarnPortLoadTime(8), 300u), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 604), (300u << 16) | 75u);
  ASSERT_EQ(d1->setItem(block, kSpareWord105, 0xABCDu), ItemStatus::kOk);
  EXPECT_EQ(Le16At(block, 654), 0xABCD);
  // The writer's store of the SMTP password changes nothing in GenD1.
  const ConfigBlock before = block;
  EXPECT_EQ(d1->setItem(block, D_CONF_ETH_WARN_SMTP_PASSWD, std::string("pw")),
            ItemStatus::kNotHandled);
  EXPECT_EQ(block, before);
}

TEST(GenD4Accessors, RelayWordAndPortBytesWrittenBitByBit) {
  auto d4 = MakeGenD4Accessors();
  ConfigBlock block(1256);
  ASSERT_TRUE(block.SetByteAt(1125, 0x80));  // a bit no relay item owns
  ASSERT_EQ(d4->setItem(block, D_CONF_ETH_RELAY_SFLAG_NORMAL, 0xFFu), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 1124), 0x8001u);
  ASSERT_EQ(d4->setItem(block, D_CONF_ETH_RELAY_SFLAG_POWER1, 0x10u), ItemStatus::kOk);
  ASSERT_EQ(d4->setItem(block, D_CONF_ETH_RELAY_SFLAG_POWER2, 0x01u), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 1124), 0x8011u);
  EXPECT_EQ(Number(*d4, block, D_CONF_ETH_RELAY_SFLAG_POWER2), 0x8011u);  // the whole word
  ASSERT_EQ(d4->setItem(block, D_CONF_ETH_RELAY_SFLAG_NORMAL, 0u), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 1124), 0x8010u);

  ASSERT_TRUE(block.SetByteAt(1130, 0xF0));
  ASSERT_EQ(d4->setItem(block, RelayPortLink(3), 0x02u), ItemStatus::kOk);
  ASSERT_EQ(d4->setItem(block, RelayPortTraffic(3), 0xFFu), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(1130), 0xF6);
  EXPECT_EQ(Number(*d4, block, RelayPortLink(3)), 0xF6u);
  ASSERT_EQ(d4->setItem(block, RelayPortLink(3), 0x01u), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(1130), 0xF5);

  ASSERT_EQ(d4->setItem(block, RelayPortLoad(1), 80u), ItemStatus::kOk);
  ASSERT_EQ(d4->setItem(block, RelayPortLoadTime(1), 30u), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 1136), (30u << 16) | 80u);
  const std::string location(80, 'L');
  ASSERT_EQ(d4->setItem(block, D_CONF_ETH_LOCATION, location + "tail"), ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 1168, 88), location + std::string(8, '\0'));
  EXPECT_EQ(Text(*d4, block, D_CONF_ETH_LOCATION), location);
}

// The edge cases of the accessor contract.

TEST(GenDAccessorEdges, BitItemSetToTwoIsCleared) {
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block(1124);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_FLAG_DHCP, 1u), ItemStatus::kOk);
  EXPECT_EQ(Number(*d2, block, D_CONF_ETH_FLAG_DHCP), 1u);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_FLAG_DHCP, 2u), ItemStatus::kOk);
  EXPECT_EQ(Number(*d2, block, D_CONF_ETH_FLAG_DHCP), 0u);
  EXPECT_EQ(Le32At(block, 20), 0u);
}

TEST(GenDAccessorEdges, MdiFlagKeepsTheHighNibble) {
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block(1124);
  ASSERT_TRUE(block.SetByteAt(301, 0xC3));
  ASSERT_EQ(d2->setItem(block, PcfgFlag(1), 5u), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(301), 0xC5);
  // 0x15 does not fit the nibble: refused, the byte stays as it was.
  EXPECT_EQ(d2->setItem(block, PcfgFlag(1), 0x15u), ItemStatus::kOutOfRange);
  EXPECT_EQ(block.ByteAt(301), 0xC5);
  EXPECT_EQ(Number(*d2, block, PcfgFlag(1)), 5u);
}

TEST(GenDAccessorEdges, ThresholdKeepsTheDurationHalf) {
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block(1124);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_WARN_PLOADTIME1, 300u), ItemStatus::kOk);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_WARN_PLOAD1, 0xFFFFu), ItemStatus::kOk);
  EXPECT_EQ(Le32At(block, 868), 0x012CFFFFu);
  // Above 0xFFFF: refused instead of keeping only the low 16 bits.
  EXPECT_EQ(d2->setItem(block, D_CONF_ETH_WARN_PLOAD1, 0x10064u), ItemStatus::kOutOfRange);
  EXPECT_EQ(Le32At(block, 868), 0x012CFFFFu);
  EXPECT_EQ(Number(*d2, block, D_CONF_ETH_WARN_PLOADTIME1), 300u);
}

TEST(GenDAccessorEdges, HelloTimeIsKeptTimesAHundred) {
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block(1124);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_SPAN_HELLO_TIME, 2u), ItemStatus::kOk);
  EXPECT_EQ(Le16At(block, 640), 200);
  ASSERT_TRUE(block.SetByteAt(642, 250));
  EXPECT_EQ(Number(*d2, block, D_CONF_ETH_SPAN_MAX_AGE), 2u);
  EXPECT_EQ(d2->setItem(block, D_CONF_ETH_SPAN_FD_DELAY, 700u), ItemStatus::kOutOfRange);
  EXPECT_EQ(Le16At(block, 644), 0);
}

TEST(GenDAccessorEdges, NamesAndUserNames) {
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block = PatternBlock(1124);
  const std::string name31 = "ORV-D8 in cabinet 7, row B-left";
  ASSERT_EQ(name31.size(), 31u);
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_NAME, name31), ItemStatus::kOk);
  EXPECT_EQ(Text(*d2, block, D_CONF_ETH_NAME), name31.substr(0, 30));
  EXPECT_EQ(block.ByteAt(166), 0);
  EXPECT_EQ(block.ByteAt(167), 0);
  EXPECT_EQ(block.ByteAt(168), static_cast<std::uint8_t>(168 * 7 + 3));  // kept past byte 31

  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_USERNAME, std::string("operator16chars!")),
            ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 72, 16), "operator16chars!");
  EXPECT_EQ(block.ByteAt(88), static_cast<std::uint8_t>(88 * 7 + 3));  // no terminator
  EXPECT_EQ(Text(*d2, block, D_CONF_ETH_USERNAME), "operator16chars!");
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_USERNAME, std::string("ops")), ItemStatus::kOk);
  EXPECT_EQ(BytesAt(block, 72, 16), "ops             ");
  EXPECT_EQ(Text(*d2, block, D_CONF_ETH_USERNAME), "ops");
}

TEST(GenDAccessorEdges, OldLocationIsNotAGenD4Item) {
  auto d4 = MakeGenD4Accessors();
  ConfigBlock block = PatternBlock(1256);
  ItemValue out = 0x5555u;
  EXPECT_EQ(d4->getItem(block, D_CONF_ETH_LOCATION_OLD, out), ItemStatus::kNotHandled);
  EXPECT_EQ(std::get<std::uint32_t>(out), 0x5555u);
}

TEST(GenDAccessorEdges, WrongKindAndListIndex) {
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block(1124);
  EXPECT_EQ(d2->setItem(block, D_CONF_ETH_IPADDR, std::string("10.0.0.1")), ItemStatus::kWrongKind);
  EXPECT_EQ(d2->setItem(block, D_CONF_ETH_NAME, 5u), ItemStatus::kWrongKind);
  EXPECT_EQ(block, ConfigBlock(1124));
  // The list index means nothing to the D8 family.
  ASSERT_EQ(d2->setItem(block, D_CONF_ETH_MIRROR_PORT, 9, 3u), ItemStatus::kOk);
  EXPECT_EQ(block.ByteAt(296), 3);
  ItemValue out;
  ASSERT_EQ(d2->getItem(block, D_CONF_ETH_MIRROR_PORT, 17, out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::uint32_t>(out), 3u);
}

TEST(GenDAccessorEdges, ShortBlockIsNeverReadOrWrittenPastItsEnd) {
  // A GenD2 block that arrived with only 656 bytes.
  auto d2 = MakeGenD2Accessors();
  ConfigBlock block = PatternBlock(656);
  const ConfigBlock before = block;
  ItemValue out = std::string("kept");
  EXPECT_EQ(d2->getItem(block, D_CONF_ETH_WARN_SMTPSrv, out), ItemStatus::kOutsideBlock);
  EXPECT_EQ(d2->getItem(block, D_CONF_ETH_WARN_SMTP_PASSWD, out), ItemStatus::kOutsideBlock);
  EXPECT_EQ(std::get<std::string>(out), "kept");
  EXPECT_EQ(d2->setItem(block, D_CONF_ETH_WARN_SMTP_PASSWD, std::string("x")),
            ItemStatus::kOutsideBlock);
  EXPECT_EQ(d2->setItem(block, WarnPortLoad(1), 1u), ItemStatus::kOutsideBlock);
  EXPECT_EQ(block, before);
  EXPECT_EQ(d2->setItem(block, kSpareWord105, 1u), ItemStatus::kOk);  // 654..655 still inside
  ConfigBlock empty;
  EXPECT_EQ(d2->getItem(empty, D_CONF_ETH_MARK, out), ItemStatus::kOutsideBlock);
}

}  // namespace
}  // namespace vantrell
