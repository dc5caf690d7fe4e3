#include "config/gen_a_encodings.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

TEST(GenAEncodings, InvertedDisableByteAndInvertedBit) {
  auto b = Bytes({1, 7, 0, 0, 0});
  EXPECT_EQ(ReadInvertedDisable(b, 0), 0u);
  EXPECT_EQ(ReadInvertedDisable(b, 1), 1u);
  EXPECT_EQ(WriteInvertedDisable(b, 0, 1), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(WriteInvertedDisable(b, 0, 5), ItemStatus::kOk);
  EXPECT_EQ(b[0], 1);
  // Bit 4 of the word at 1 (byte 1 = 0x07: bit 4 clear -> function on).
  EXPECT_EQ(ReadInvertedBit(b, 1, 4), 1u);
  EXPECT_EQ(WriteInvertedBit(b, 1, 4, 0), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x17);
  EXPECT_EQ(WriteInvertedBit(b, 1, 4, 2), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x07);
  EXPECT_FALSE(ReadInvertedDisable(b, 5).has_value());
  EXPECT_EQ(WriteInvertedBit(b, 2, 0, 0), ItemStatus::kOutsideBlock);
}

TEST(GenAEncodings, ModeBitsAndTwoBitField) {
  auto b = Bytes({0xFF, 0, 0, 0});
  EXPECT_EQ(ReadModeBits(b, 0), 1u);  // bit 0 wins
  EXPECT_EQ(WriteModeBits(b, 0, 2), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xFE);
  EXPECT_EQ(ReadModeBits(b, 0), 2u);
  EXPECT_EQ(WriteModeBits(b, 0, 3), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xFC);
  EXPECT_EQ(ReadModeBits(b, 0), 0u);
  b[0] = 0xF6;  // MDI bits 1-0 = 10, FDX bit 2 set
  EXPECT_EQ(ReadTwoBitField(b, 0), 2u);
  EXPECT_EQ(WriteTwoBitField(b, 0, 1), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xF5);
  EXPECT_EQ(WriteTwoBitField(b, 0, 7), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xF4);
}

TEST(GenAEncodings, CheckedHighNibbleAndBridgePriority) {
  auto b = Bytes({2, 0x35, 0x00, 0x80});
  EXPECT_EQ(WriteCheckedU8(b, 0, 4, 0, 3), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[0], 2);
  EXPECT_EQ(WriteCheckedU8(b, 0, 3, 0, 3), ItemStatus::kOk);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(ReadHighNibble(b, 1), 3u);
  EXPECT_EQ(WriteHighNibble(b, 1, 16), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteHighNibble(b, 1, 9), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x90);
  // Bridge priority word 0x8000 reads 8; storing 15 writes 0xF000.
  EXPECT_EQ(ReadBridgePriority(b, 2), 8u);
  EXPECT_EQ(WriteBridgePriority(b, 2, 15), ItemStatus::kOk);
  EXPECT_EQ(b[2], 0x00);
  EXPECT_EQ(b[3], 0xF0);
  EXPECT_EQ(WriteBridgePriority(b, 2, 16), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[3], 0xF0);
  std::vector<std::uint8_t> word = Bytes({0x14, 0, 0, 0});
  EXPECT_EQ(WriteCheckedU16(word, 0, 19, 20, 600), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteCheckedU16(word, 0, 600, 20, 600), ItemStatus::kOk);
  EXPECT_EQ(word[0], 0x58);
  EXPECT_EQ(word[1], 0x02);
}

TEST(GenAEncodings, StrictBitIgnoresValuesOtherThanZeroAndOne) {
  auto b = Bytes({0x12, 0, 0, 0});
  EXPECT_EQ(WriteStrictBit(b, 0, 1, 2), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[0], 0x12);
  EXPECT_EQ(WriteStrictBit(b, 0, 4, 0), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0x02);
}

TEST(GenAEncodings, RelayChoiceInWordsAndBytes) {
  // Enable word with bit 4 set and select word with bit 4 set reads 2.
  auto b = Bytes({0x10, 0, 0, 0, 0x10, 0, 0, 0});
  const RelayBits power1{0, 4, 4, 4};
  EXPECT_EQ(ReadRelayChoice(b, power1), 2u);
  EXPECT_EQ(WriteRelayChoice(b, power1, 1), ItemStatus::kOk);  // clears the select bit
  EXPECT_EQ(b[0], 0x10);
  EXPECT_EQ(b[4], 0x00);
  EXPECT_EQ(ReadRelayChoice(b, power1), 1u);
  EXPECT_EQ(WriteRelayChoice(b, power1, 3), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteRelayChoice(b, power1, 0), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0x00);
  const RelayBits traffic{1, 5, 2, 1};
  EXPECT_EQ(WriteRelayChoice(b, traffic, 2), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x04);
  EXPECT_EQ(b[5], 0x04);
}

TEST(GenAEncodings, LinkChoiceWritesExactlyTheState) {
  auto b = Bytes({0xF0, 0xF3});
  EXPECT_EQ(ReadLinkChoice(b, 0, 1), 0u);
  const std::uint8_t enable[] = {0xF0, 0xF1, 0xF1, 0xF2, 0xF2};
  const std::uint8_t select[] = {0xF0, 0xF0, 0xF1, 0xF0, 0xF2};
  for (std::uint32_t v = 0; v <= 4; ++v) {
    EXPECT_EQ(WriteLinkChoice(b, 0, 1, v), ItemStatus::kOk);
    EXPECT_EQ(b[0], enable[v]) << v;
    EXPECT_EQ(b[1], select[v]) << v;
    EXPECT_EQ(ReadLinkChoice(b, 0, 1), v);
  }
  EXPECT_EQ(WriteLinkChoice(b, 0, 1, 5), ItemStatus::kOutOfRange);
}

TEST(GenAEncodings, AccessEntry) {
  auto b = Bytes({0, 0, 0, 0, 255, 255, 255, 0});
  EXPECT_EQ(ReadAccessEntry(b, 0, 4), "");
  EXPECT_EQ(WriteAccessAddress(b, 0, ItemValue(std::string("192.168.127.253"))), ItemStatus::kOk);
  EXPECT_EQ(ReadAccessEntry(b, 0, 4), "192.168.127.253/255.255.255.0");
  EXPECT_EQ(WriteAccessAddress(b, 0, ItemValue(std::string("1.2.3"))), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[0], 192);
}

TEST(GenAEncodings, IngressRateRecord) {
  // Bytes 2, 0x23: policy 2, rate "512K", flags 0, 1, 0.
  auto b = Bytes({2, 0x23});
  std::string text;
  EXPECT_EQ(ReadIngressRate(b, 0, text), ItemStatus::kOk);
  EXPECT_EQ(text, "2 512K 0 1 0");
  // Policy 1, "16M" (not storable: index 3 kept), flags 1, 0, 1 -> 1, 0x53.
  EXPECT_EQ(WriteIngressRate(b, 0, "1 16M 1 0 1"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 0x53);
  // A bad policy keeps byte 0; the flags are applied anyway.
  EXPECT_EQ(WriteIngressRate(b, 0, "9 8M 0 0 0"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 0x07);
  // Missing flags keep what the block holds; no policy changes nothing.
  b[1] = 0x70;
  EXPECT_EQ(WriteIngressRate(b, 0, "3 NL"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(b[1], 0x70);
  EXPECT_EQ(WriteIngressRate(b, 0, "x"), ItemStatus::kOutOfRange);
  // Rate index 11-15 has no name: nothing is read from outside the names.
  b[1] = 0x0C;
  text = "kept";
  EXPECT_EQ(ReadIngressRate(b, 0, text), ItemStatus::kOutOfRange);
  EXPECT_EQ(text, "kept");
}

TEST(GenAEncodings, EgressRateByte) {
  auto b = Bytes({10});
  std::string name;
  EXPECT_EQ(ReadEgressRate(b, 0, name), ItemStatus::kOk);
  EXPECT_EQ(name, "64M");
  EXPECT_EQ(WriteEgressRateName(b, 0, "64M"), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteEgressRateName(b, 0, "2M"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 5);
  b[0] = 11;
  EXPECT_EQ(ReadEgressRate(b, 0, name), ItemStatus::kOutOfRange);
  b[0] = 200;
  EXPECT_EQ(ReadEgressRate(b, 0, name), ItemStatus::kOutOfRange);
}

TEST(GenAEncodings, SnmpVersionCode) {
  auto b = Bytes({3});
  std::uint32_t version = 99;
  EXPECT_EQ(ReadSnmpVersion(b, 0, version), ItemStatus::kOk);
  EXPECT_EQ(version, 1u);
  EXPECT_EQ(WriteSnmpVersion(b, 0, 2), ItemStatus::kOk);
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(WriteSnmpVersion(b, 0, 3), ItemStatus::kOutOfRange);
  b[0] = 7;
  EXPECT_EQ(ReadSnmpVersion(b, 0, version), ItemStatus::kOutOfRange);
}

TEST(GenAEncodings, Text40TakesFortyCharactersWithoutTerminator) {
  std::vector<std::uint8_t> b(41, 0xAA);
  const std::string long_text(45, 'x');
  EXPECT_EQ(WriteText40(b, 0, long_text), ItemStatus::kOk);
  EXPECT_EQ(ReadText40(b, 0), std::string(40, 'x'));
  EXPECT_EQ(b[40], 0xAA);
  EXPECT_EQ(WriteText40(b, 0, "pool.ntp "), ItemStatus::kOk);
  EXPECT_EQ(ReadText40(b, 0), "pool.ntp ");
  EXPECT_EQ(b[9], 0);
  EXPECT_EQ(WriteText40(b, 2, "x"), ItemStatus::kOutsideBlock);
}

TEST(GenAEncodings, VidListText) {
  EXPECT_EQ(a8vlan::ParseVidList("5,,x7"), (std::vector<std::uint16_t>{5, 7}));
  EXPECT_EQ(a8vlan::ParseVidList("0,4095"), std::vector<std::uint16_t>{});
  EXPECT_EQ(a8vlan::ParseVidList("2,88,54"), (std::vector<std::uint16_t>{2, 88, 54}));
  EXPECT_FALSE(a8vlan::ParseVidList("").has_value());
  EXPECT_FALSE(a8vlan::ParseVidList("\r5").has_value());
  // A digit run longer than seven digits keeps its first seven: out of range.
  EXPECT_EQ(a8vlan::ParseVidList("123456789,3"), std::vector<std::uint16_t>{3});
  std::string many;
  for (int i = 1; i <= 70; ++i) many += std::to_string(i) + ",";
  EXPECT_EQ(a8vlan::ParseVidList(many)->size(), 64u);
}

std::vector<std::uint8_t> A8Block() { return std::vector<std::uint8_t>(8508, 0); }

void SetEntry(std::vector<std::uint8_t>& b, std::size_t e, std::uint16_t word,
              std::uint32_t members) {
  WriteU16(b, a8vlan::EntryOffset(e), word);
  WriteU32(b, a8vlan::EntryOffset(e) + 4, members);
}

TEST(GenAEncodings, VlanTableUpkeepAndLists) {
  auto b = A8Block();
  SetEntry(b, 0, 0x8000 | 1, 0);
  SetEntry(b, 1, 0x6000, 0xFFFF);  // free, bits 13 and 14 set
  // PVID 100: the first free entry becomes valid (bits 15, 12), VID 100, no members.
  EXPECT_EQ(a8vlan::WritePvid(b, 3, 100), ItemStatus::kOk);
  EXPECT_EQ(*ReadU32(b, a8vlan::PortWordOffset(3)), 100u);
  EXPECT_EQ(*ReadU16(b, a8vlan::EntryOffset(1)), 0xF000 | 100);
  EXPECT_EQ(*ReadU32(b, a8vlan::EntryOffset(1) + 4), 0u);
  // Storing it again changes nothing.
  EXPECT_EQ(a8vlan::WritePvid(b, 4, 100), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(b, a8vlan::EntryOffset(2)), 0);
  EXPECT_EQ(a8vlan::WritePvid(b, 4, 4095), ItemStatus::kOutOfRange);
  // Lists leave out VIDs 0 and 4095 and list 4094.
  SetEntry(b, 2, 0x8000 | 4095, a8vlan::FixedBit(2));
  SetEntry(b, 3, 0x8000 | 0, a8vlan::FixedBit(2));
  SetEntry(b, 4, 0x8000 | 4094, a8vlan::FixedBit(2));
  SetEntry(b, 5, 0x0000 | 7, a8vlan::FixedBit(2));  // not valid
  EXPECT_EQ(a8vlan::FormatVidList(b, 2, a8vlan::Membership::kFixed), "4094");
  EXPECT_EQ(a8vlan::FormatVidList(b, 2, a8vlan::Membership::kForbidden), "");
  a8vlan::ClearTable(b);
  EXPECT_EQ(*ReadU16(b, a8vlan::EntryOffset(4)), 4094);
  EXPECT_EQ(*ReadU32(b, a8vlan::EntryOffset(4) + 4), 0u);
}

TEST(GenAEncodings, VlanUpkeepWithFullTableChangesNothing) {
  auto b = A8Block();
  for (std::size_t e = 0; e < a8vlan::kEntries; ++e) SetEntry(b, e, 0x8000 | (e + 1), 0);
  const auto before = b;
  a8vlan::EnsureEntry(b, 999);
  EXPECT_EQ(b, before);
  EXPECT_EQ(a8vlan::WriteManagementVid(b, 999), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(b, a8vlan::kManagementVid), 999);
}

TEST(GenAFileElements, TimeZonesRateLegendAndTosGroups) {
  EXPECT_EQ(kTimeZoneNames[35], "(GMT+03:00)Mairobi");
  EXPECT_EQ(kTimeZoneNames[61], "(GMT+12:00)Auckland, Wllington");
  std::string out;
  ConfigTextWriter file(out);
  WriteTimeZoneLines(file);
  EXPECT_EQ(out.substr(0, 44), "# \t--> 0  : (GMT-12:00)Eniwetok, Kwajalein\r\n");
  EXPECT_NE(out.find("# \t--> 62 : (GMT+12:00)Fiji, Kamchatka, Marshall Is.\r\n"),
            std::string::npos);
  EXPECT_EQ(TosGroupComment(1), "#[ToS1(0x00)|ToS2(0x04)|ToS3(0x08)|ToS4(0x0C)]\n");
  EXPECT_EQ(TosGroupComment(12), "#[ToS45(0xB0)|ToS46(Bx04)|ToS47(0xB8)|ToS48(0xBC)]\n");
  EXPECT_EQ(TosGroupComment(16), "#[ToS61(0xF0)|ToS62(0xF4)|ToS63(0xF8)|ToS64(0xFC)]\n");
  out.clear();
  WriteTosGroups(file, [](int k) -> std::optional<std::uint32_t> {
    if (k == 2) return std::nullopt;
    return static_cast<std::uint32_t>(k % 4);
  });
  EXPECT_EQ(out.substr(0, 70),
            "#[ToS1(0x00)|ToS2(0x04)|ToS3(0x08)|ToS4(0x0C)]\r\nToSMap1-4 1||3|0\r\n\r\n#[");
}

TEST(GenAFileElements, PortListsAndMacs) {
  EXPECT_EQ(FormatPortList(0x85, 8), "1,3,8");
  EXPECT_EQ(FormatPortList(0x300, 8), "");
  EXPECT_EQ(FormatPortList(0x200, 12), "10");
  EXPECT_EQ(ParsePortList("5,8", 8), 0x90u);
  EXPECT_EQ(ParsePortList("5,8,", 8), 0x90u);
  EXPECT_EQ(ParsePortList("", 8), 0u);
  EXPECT_FALSE(ParsePortList("9", 8).has_value());
  EXPECT_FALSE(ParsePortList("1,,2", 8).has_value());
  EXPECT_FALSE(ParsePortList(",", 8).has_value());
  EXPECT_FALSE(ParsePortList("1;2", 8).has_value());
  EXPECT_EQ(ParsePortList("12", 12), 0x800u);
  const std::uint8_t mac[6] = {0x01, 0x3F, 0xC2, 0x01, 0x02, 0x03};
  EXPECT_EQ(FormatMacDashed(mac), "01-3F-C2-01-02-03");
  EXPECT_EQ(ParseMacDashed("01-3f-C2-01-02-03"),
            (std::array<std::uint8_t, 6>{0x01, 0x3F, 0xC2, 0x01, 0x02, 0x03}));
  EXPECT_FALSE(ParseMacDashed("01-3F-C2-01-02-0").has_value());
  EXPECT_FALSE(ParseMacDashed("01:3F:C2:01:02:03").has_value());
  EXPECT_TRUE(IsFibreUplinkModel(Generation::kGenA1, 0x05C8));
  EXPECT_FALSE(IsFibreUplinkModel(Generation::kGenA2, 0x05C8));
  EXPECT_FALSE(IsFibreUplinkModel(Generation::kGenA1, 0x0538));
  EXPECT_TRUE(IsFibreUplinkModel(Generation::kGenA2, 0x0518));
}

}  // namespace
}  // namespace vantrell
