#include "net/session_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantrell {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

// Fixed inputs: password "secret", serial 0x1234 (sent 34 12), T = 0x01020304.
constexpr std::uint32_t kTick = 0x01020304;
const Bytes kKey = {0x83, 0x2F, 0xE3, 0x05, 0x41, 0xA8, 0x2E, 0xFA,
                    0x30, 0x97, 0x81, 0xEF, 0xA1, 0x58, 0x72, 0x00};

DeviceRecord Device() {
  DeviceRecord record = MakeZeroRecord();
  record.serialNo = 0x1234;
  SetFieldText(record.password, "secret");
  return record;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
  return Bytes(bytes.begin() + static_cast<long>(from),
               bytes.begin() + static_cast<long>(from + count));
}

TEST(SessionCodec, MaskKeyIsMd5OfPasswordSerialAndTick) {
  const auto tick = TickBytesLe(kTick);
  EXPECT_THAT(tick, ElementsAre(0x04, 0x03, 0x02, 0x01));
  EXPECT_THAT(MaskKey("secret", 0x1234, tick), ElementsAreArray(kKey));
}

TEST(SessionCodec, LoginRequestPadsAdminWithElevenZeros) {
  const std::uint8_t challenge[4] = {0xDE, 0xAD, 0xBE, 0xEF};
  const Bytes request = BuildLoginRequest("admin", "secret", challenge);
  ASSERT_EQ(request.size(), 33u);
  EXPECT_EQ(request[0], 0x00);
  EXPECT_THAT(Slice(request, 1, 16),
              ElementsAre('a', 'd', 'm', 'i', 'n', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_THAT(Slice(request, 17, 16),
              ElementsAre(0xEF, 0x5B, 0xCC, 0xBB, 0xE0, 0xF0, 0x14, 0xDC, 0xD7, 0xDE, 0xB6, 0x72,
                          0xDE, 0x2A, 0x30, 0x54));
}

TEST(SessionCodec, ChangePasswordSixteenCharactersFillTheMaskedField) {
  const Bytes request = BuildChangePasswordRequest(Device(), "0123456789abcdefEXTRA", kTick);
  ASSERT_EQ(request.size(), 41u);
  EXPECT_EQ(request[0], 0x15);
  EXPECT_THAT(Slice(request, 1, 4), ElementsAre(0x04, 0x03, 0x02, 0x01));
  EXPECT_THAT(Slice(request, 5, 16),
              ElementsAre(0xB3, 0x1E, 0xD1, 0x36, 0x75, 0x9D, 0x18, 0xCD, 0x08, 0xAE, 0xE0, 0x8D,
                          0xC2, 0x3C, 0x17, 0x66));
  EXPECT_THAT(Slice(request, 21, 4), ElementsAre(0x01, 0x02, 0x03, 0x04));
  EXPECT_THAT(Slice(request, 25, 16),
              ElementsAre(0xBB, 0xC6, 0x85, 0xB5, 0x5B, 0x09, 0x8B, 0x1E, 0x96, 0x10, 0x51, 0x6E,
                          0x1B, 0x43, 0x41, 0x8A));
}

TEST(SessionCodec, ChangeToEmptyPasswordSendsTheKeyItself) {
  const Bytes request = BuildChangePasswordRequest(Device(), "", kTick);
  ASSERT_EQ(request.size(), 41u);
  EXPECT_EQ(Slice(request, 5, 16), kKey);
  EXPECT_THAT(Slice(request, 25, 16),
              ElementsAre(0x54, 0xCF, 0x5D, 0x64, 0x7B, 0x29, 0x57, 0xB3, 0x27, 0x24, 0xB1, 0x0D,
                          0x36, 0x97, 0x4A, 0xB7));
}

TEST(SessionCodec, SmtpPasswordOfThreeCharactersIsMaskedWithItsPadding) {
  const Bytes request = BuildStoreSmtpPasswordRequest(Device(), "abc", kTick);
  ASSERT_EQ(request.size(), 43u);
  EXPECT_THAT(Slice(request, 0, 7), ElementsAre(0x17, 0x00, 40, 0x04, 0x03, 0x02, 0x01));
  EXPECT_THAT(Slice(request, 7, 16),
              ElementsAre(0xE2, 0x4D, 0x80, 0x05, 0x41, 0xA8, 0x2E, 0xFA, 0x30, 0x97, 0x81, 0xEF,
                          0xA1, 0x58, 0x72, 0x00));
  EXPECT_THAT(Slice(request, 23, 4), ElementsAre(0x01, 0x02, 0x03, 0x04));
  EXPECT_THAT(Slice(request, 27, 16),
              ElementsAre(0x74, 0xF0, 0x4C, 0x27, 0x66, 0xA8, 0xC6, 0xBC, 0x65, 0x2F, 0x0C, 0x5D,
                          0x50, 0xDB, 0x9A, 0x59));
}

TEST(SessionCodec, SmtpPasswordOfTwentyCharactersRepeatsTheKey) {
  const Bytes request = BuildStoreSmtpPasswordRequest(Device(), "abcdefghijklmnopqrst", kTick);
  ASSERT_EQ(request.size(), 47u);
  EXPECT_THAT(Slice(request, 0, 3), ElementsAre(0x17, 0x00, 44));
  EXPECT_THAT(Slice(request, 7, 20),
              ElementsAre(0xE2, 0x4D, 0x80, 0x61, 0x24, 0xCE, 0x49, 0x92, 0x59, 0xFD, 0xEA, 0x83,
                          0xCC, 0x36, 0x1D, 0x70, 0xF2, 0x5D, 0x90, 0x71));
  EXPECT_THAT(Slice(request, 31, 16),
              ElementsAre(0x97, 0x5E, 0xAF, 0x3A, 0x92, 0x30, 0x60, 0xF7, 0x61, 0x48, 0x8B, 0xA5,
                          0x72, 0x21, 0x30, 0x5D));
}

/// A fetchSmtpPassword answer as a device builds it with its own T.
Bytes SmtpReply(std::string_view text, std::uint16_t announced) {
  Bytes reply{0x18, static_cast<std::uint8_t>(announced >> 8),
              static_cast<std::uint8_t>(announced), 0x04, 0x03, 0x02, 0x01};
  for (std::size_t i = 0; i < text.size(); ++i) {
    reply.push_back(static_cast<std::uint8_t>(text[i]) ^ kKey[i % 16]);
  }
  reply.resize(reply.size() + 20, 0xAA);  // T again and a digest, not examined
  return reply;
}

TEST(SessionCodec, SmtpPasswordAnswerIsUnmaskedWithTheDevicesTick) {
  char out[kSmtpFieldSize];
  ASSERT_TRUE(DecodeSmtpPasswordReply(Device(), SmtpReply("mail-pass", 24 + 9), out));
  EXPECT_STREQ(out, "mail-pass");
  const std::string longest(45, 'x');
  ASSERT_TRUE(DecodeSmtpPasswordReply(Device(), SmtpReply(longest, 24 + 45), out));
  EXPECT_EQ(std::string(out), longest);
}

TEST(SessionCodec, SmtpPasswordAnswerNeverOverrunsTheField) {
  char out[kSmtpFieldSize];
  const std::string tooLong(46, 'x');
  EXPECT_FALSE(DecodeSmtpPasswordReply(Device(), SmtpReply(tooLong, 24 + 46), out));
  EXPECT_STREQ(out, "");
  // Announces more text than arrived.
  Bytes cut = SmtpReply("abc", 24 + 30);
  cut.resize(7 + 10);
  EXPECT_FALSE(DecodeSmtpPasswordReply(Device(), cut, out));
  EXPECT_FALSE(DecodeSmtpPasswordReply(Device(), SmtpReply("abc", 100), out));
  EXPECT_FALSE(DecodeSmtpPasswordReply(Device(), SmtpReply("abc", 23), out));
  EXPECT_FALSE(DecodeSmtpPasswordReply(Device(), Bytes{0x18, 0x00}, out));
  Bytes wrongOpcode = SmtpReply("abc", 27);
  wrongOpcode[0] = 0x17;
  EXPECT_FALSE(DecodeSmtpPasswordReply(Device(), wrongOpcode, out));
  EXPECT_STREQ(out, "");
}

TEST(SessionCodec, AddressSettingsRequestsAndCommands) {
  DeviceRecord record = Device();
  record.ipAddr = MakeIpv4(192, 168, 1, 10);
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.gateway = MakeIpv4(192, 168, 1, 1);
  record.dns1 = MakeIpv4(8, 8, 8, 8);
  record.dns2 = MakeIpv4(8, 8, 4, 4);
  record.ipConfigFlags = 0x0102;
  const Bytes settings = {192, 168, 1, 10, 255, 255, 255, 0, 192, 168, 1, 1,
                          8,   8,   8, 8,  8,   8,   4,   4, 0x02, 0x01, 0, 0};
  const Bytes network = BuildNetworkSettingsRequest(record);
  ASSERT_EQ(network.size(), 27u);
  EXPECT_THAT(Slice(network, 0, 3), ElementsAre(0x22, 0, 0));
  EXPECT_EQ(Slice(network, 3, 24), settings);

  const Bytes stream = BuildStreamConfigFileHeader(record, 0x00012345);
  ASSERT_EQ(stream.size(), 29u);
  EXPECT_THAT(Slice(stream, 0, 5), ElementsAre(0x1F, 0x45, 0x23, 0x01, 0x00));
  EXPECT_EQ(Slice(stream, 5, 24), settings);

  EXPECT_THAT(BuildCommandRequest(0x31), ElementsAre(0x31, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  const Bytes block = {1, 2, 3};
  EXPECT_THAT(BuildStoreConfigBlockRequest(block), ElementsAre(0x09, 0x00, 0x03, 1, 2, 3));
}

}  // namespace
}  // namespace vantrell
