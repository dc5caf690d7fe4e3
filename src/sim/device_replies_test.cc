#include "sim/device_replies.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace vantrell::sim {
namespace {

using ::testing::ElementsAreArray;

Datagram Hex(const std::string& text) {
  std::istringstream in(text);
  Datagram bytes;
  std::string byte;
  while (in >> byte) bytes.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
  return bytes;
}

Datagram Slice(const Datagram& bytes, std::size_t at, std::size_t size) {
  return Datagram(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                  bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
}

Datagram TextField(const std::string& text, std::size_t size) {
  Datagram field(size, 0);
  std::copy_n(text.begin(), std::min(text.size(), size), field.begin());
  return field;
}

SimDevice SwitchD8() {
  SimDevice device;
  device.modelId = 0x6018;
  device.serialNo = 0x0102;
  device.mac = {0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC};
  device.ip = MakeIpv4(192, 168, 10, 20);
  device.webPort = 8080;
  device.firmwareVersion = 0x01020304;
  device.statusFlags = 0x03;
  device.name = "Line 3 switch";
  device.netmask = MakeIpv4(255, 255, 255, 0);
  device.gateway = MakeIpv4(192, 168, 10, 254);
  device.dns1 = MakeIpv4(192, 168, 10, 2);
  device.dns2 = MakeIpv4(8, 8, 4, 4);
  device.ipConfigFlags = 0x00000102;
  device.location = "Hall B";
  return device;
}

const Ipv4 kWorkstation = MakeIpv4(192, 168, 10, 1);
constexpr std::uint16_t kSequence = 0xBEEF;

// Discovery reply --------------------------------------------------------

TEST(DiscoveryReplyTest, ShortFormBytes) {
  const Datagram reply = EncodeDiscoveryReply(SwitchD8(), kSequence, kWorkstation);
  EXPECT_THAT(reply, ElementsAreArray(Hex("c9 00 00 18  ef be  00 00 1f 90  18 60  02 01"
                                          "  c0 a8 0a 01  00 11 22 aa bb cc")));
}

TEST(DiscoveryReplyTest, AnnouncedMacReplacesTheDevicesOwn) {
  SimDevice device = SwitchD8();
  device.faults.announcedMac = MacAddress{0x01, 0x00, 0x5E, 0x00, 0x00, 0x01};
  EXPECT_THAT(EncodeDiscoveryReply(device, kSequence, kWorkstation),
              ElementsAreArray(Hex("c9 00 00 18  ef be  00 00 1f 90  18 60  02 01"
                                   "  c0 a8 0a 01  01 00 5e 00 00 01")));
}

TEST(DiscoveryReplyTest, LongFormCarriesModelNameZeroPadded) {
  SimDevice device = SwitchD8();
  device.reply = DiscoveryForm::kLong;
  device.modelName = "Kavex VS-2000";
  const Datagram reply = EncodeDiscoveryReply(device, kSequence, kWorkstation);
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_THAT(Slice(reply, 0, 4), ElementsAreArray(Hex("c9 00 00 40")));
  EXPECT_THAT(
      Slice(reply, 4, 20),
      ElementsAreArray(Slice(EncodeDiscoveryReply(SwitchD8(), kSequence, kWorkstation), 4, 20)));
  EXPECT_THAT(Slice(reply, 24, 40), ElementsAreArray(TextField("Kavex VS-2000", 40)));
}

TEST(DiscoveryReplyTest, LongModelNameTruncatedAtFortyBytes) {
  SimDevice device = SwitchD8();
  device.reply = DiscoveryForm::kLong;
  device.modelName = std::string(40, 'N') + "overflow";
  const Datagram reply = EncodeDiscoveryReply(device, kSequence, kWorkstation);
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_THAT(Slice(reply, 24, 40), ElementsAreArray(Datagram(40, 'N')));
}

TEST(DiscoveryReplyTest, WebPortIsLow16BitsOfBigEndianWord) {
  SimDevice device = SwitchD8();
  device.webPort = 0xABCD;
  const Datagram reply = EncodeDiscoveryReply(device, 0x0001, kWorkstation);
  EXPECT_THAT(Slice(reply, 4, 6), ElementsAreArray(Hex("01 00  00 00 ab cd")));
}

// Discovery noise --------------------------------------------------------

TEST(DiscoveryNoiseTest, EachVariantBreaksExactlyOneThing) {
  const SimDevice device = SwitchD8();
  const Datagram good = EncodeDiscoveryReply(device, kSequence, kWorkstation);

  Datagram expected = good;
  expected[4] = 0xF0;  // sequence + 1, low byte first
  EXPECT_EQ(EncodeDiscoveryNoise(device, DiscoveryNoise::kSequence, kSequence, kWorkstation),
            expected);

  expected = good;
  const Datagram notWorkstation = Hex("3f 57 f5 fe");
  std::copy(notWorkstation.begin(), notWorkstation.end(), expected.begin() + 14);
  EXPECT_EQ(EncodeDiscoveryNoise(device, DiscoveryNoise::kInterface, kSequence, kWorkstation),
            expected);

  expected = good;
  expected[0] = 0xC8;
  EXPECT_EQ(EncodeDiscoveryNoise(device, DiscoveryNoise::kFirstByte, kSequence, kWorkstation),
            expected);

  expected = good;
  expected[3] = 25;
  expected.push_back(0);
  EXPECT_EQ(EncodeDiscoveryNoise(device, DiscoveryNoise::kLength, kSequence, kWorkstation),
            expected);
}

TEST(DiscoveryNoiseTest, LengthNoiseOfLongReplyIsAlso25Bytes) {
  SimDevice device = SwitchD8();
  device.reply = DiscoveryForm::kLong;
  device.modelName = "Kavex";
  const Datagram noise =
      EncodeDiscoveryNoise(device, DiscoveryNoise::kLength, kSequence, kWorkstation);
  ASSERT_EQ(noise.size(), 25u);
  EXPECT_EQ(noise[0], 0xC9);
  EXPECT_EQ(noise[24], 'K');
}

TEST(DiscoveryNoiseTest, SequenceNoiseWrapsAround) {
  const Datagram noise =
      EncodeDiscoveryNoise(SwitchD8(), DiscoveryNoise::kSequence, 0xFFFF, kWorkstation);
  EXPECT_THAT(Slice(noise, 4, 2), ElementsAreArray(Hex("00 00")));
}

// Details reply ----------------------------------------------------------

TEST(DetailsReplyTest, Form86Bytes) {
  const Datagram reply = EncodeDetailsReply(SwitchD8(), DetailsForm::k86, kSequence);
  ASSERT_EQ(reply.size(), 86u);
  EXPECT_THAT(Slice(reply, 0, 6), ElementsAreArray(Hex("81 00 00 56 ef be")));
  EXPECT_THAT(Slice(reply, 6, 16), ElementsAreArray(Datagram(16, 0)));
  EXPECT_THAT(Slice(reply, 22, 6), ElementsAreArray(Hex("04 03 02 01  03 00")));
  EXPECT_THAT(Slice(reply, 28, 30), ElementsAreArray(TextField("Line 3 switch", 30)));
  EXPECT_THAT(Slice(reply, 58, 20), ElementsAreArray(Datagram(20, 0)));
  EXPECT_THAT(Slice(reply, 78, 8), ElementsAreArray(Hex("ff ff ff 00  c0 a8 0a fe")));
}

TEST(DetailsReplyTest, NameOfThirtyBytesFillsFieldAndLongerIsCut) {
  SimDevice device = SwitchD8();
  device.name = std::string(30, 'a') + "bc";
  const Datagram reply = EncodeDetailsReply(device, DetailsForm::k86, kSequence);
  EXPECT_THAT(Slice(reply, 28, 30), ElementsAreArray(Datagram(30, 'a')));
  EXPECT_EQ(reply[58], 0);
}

TEST(DetailsReplyTest, Form98AddsDnsAndFlags) {
  const Datagram reply = EncodeDetailsReply(SwitchD8(), DetailsForm::k98, kSequence);
  ASSERT_EQ(reply.size(), 98u);
  EXPECT_THAT(Slice(reply, 0, 6), ElementsAreArray(Hex("81 00 00 62 ef be")));
  EXPECT_THAT(Slice(reply, 78, 20), ElementsAreArray(Hex("ff ff ff 00  c0 a8 0a fe  c0 a8 0a 02"
                                                         "  08 08 04 04  02 01 00 00")));
}

TEST(DetailsReplyTest, Form178AddsLocation) {
  SimDevice device = SwitchD8();
  device.location = std::string(80, 'L') + "cut";
  const Datagram reply = EncodeDetailsReply(device, DetailsForm::k178, 0x0102);
  ASSERT_EQ(reply.size(), 178u);
  EXPECT_THAT(Slice(reply, 0, 6), ElementsAreArray(Hex("81 00 00 b2 02 01")));
  EXPECT_THAT(Slice(reply, 86, 12), ElementsAreArray(Hex("c0 a8 0a 02  08 08 04 04  02 01 00 00")));
  EXPECT_THAT(Slice(reply, 98, 80), ElementsAreArray(Datagram(80, 'L')));
}

TEST(DetailsReplyTest, Form1186CarriesEightModuleSlots) {
  SimDevice device = SwitchD8();
  device.modelId = 0x0726;
  device.modules[0] = {1, "M-FX4", "4 x 100BASE-FX"};
  device.modules[3] = {2, std::string(16, 'n'), std::string(120, 'd')};
  device.modules[7] = {1, "last", "last slot"};
  const Datagram reply = EncodeDetailsReply(device, DetailsForm::k1186, kSequence);
  ASSERT_EQ(reply.size(), 1186u);
  EXPECT_THAT(Slice(reply, 0, 6), ElementsAreArray(Hex("81 00 04 a2 ef be")));
  EXPECT_THAT(Slice(reply, 78, 8), ElementsAreArray(Hex("ff ff ff 00  c0 a8 0a fe")));
  EXPECT_THAT(Slice(reply, 86, 4), ElementsAreArray(Hex("00 00 00 00")));  // no DNS here
  EXPECT_THAT(Slice(reply, 90, 8), ElementsAreArray(Hex("01 00 00 02 00 00 00 01")));
  EXPECT_THAT(Slice(reply, 98, 16), ElementsAreArray(TextField("M-FX4", 16)));
  EXPECT_THAT(Slice(reply, 98 + 3 * 16, 16), ElementsAreArray(Datagram(16, 'n')));
  EXPECT_THAT(Slice(reply, 98 + 7 * 16, 16), ElementsAreArray(TextField("last", 16)));
  EXPECT_THAT(Slice(reply, 226, 120), ElementsAreArray(TextField("4 x 100BASE-FX", 120)));
  EXPECT_THAT(Slice(reply, 226 + 3 * 120, 120), ElementsAreArray(Datagram(120, 'd')));
  EXPECT_THAT(Slice(reply, 226 + 7 * 120, 120), ElementsAreArray(TextField("last slot", 120)));
}

TEST(DetailsReplyTest, NoneFormIsEmptyAndDeviceFormIsUsed) {
  SimDevice device = SwitchD8();
  device.details = DetailsForm::kNone;
  EXPECT_TRUE(EncodeDetailsReply(device, kSequence).empty());
  device.details = DetailsForm::k178;
  EXPECT_EQ(EncodeDetailsReply(device, kSequence).size(), 178u);
}

}  // namespace
}  // namespace vantrell::sim
