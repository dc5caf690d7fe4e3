#include "sim/session_messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantrell::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

/// Bytes from a hex text (test vectors computed outside this code).
Bytes FromHex(std::string_view hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(
        static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

constexpr std::uint16_t kSerial = 42;  // S = 2A 00
// T = 0x01020304: 04 03 02 01 low byte first, 01 02 03 04 high byte first.

TEST(SessionLoginTest, AcceptsTheDigestOfPasswordAndChallenge) {
  // "admin" + 11 zero bytes, MD5("secret" 01 02 03 04).
  const Bytes request =
      FromHex("0061646d696e00000000000000000000002c5fdfeaaf56b865c58a2fa09b7b2c61");
  ASSERT_EQ(request.size(), 33u);
  const Challenge challenge{1, 2, 3, 4};
  const LoginCheck good = CheckLogin(request, "secret", challenge);
  EXPECT_TRUE(good.accepted) << good.why;
  EXPECT_EQ(good.user, "admin");

  EXPECT_FALSE(CheckLogin(request, "Secret", challenge).accepted);
  EXPECT_FALSE(CheckLogin(request, "secret", Challenge{1, 2, 3, 5}).accepted);

  Bytes junkAfterUser = request;
  junkAfterUser[16] = 'x';  // the last byte of the user field must stay zero
  EXPECT_THAT(CheckLogin(junkAfterUser, "secret", challenge).why, HasSubstr("user field"));
  Bytes otherUser = request;
  otherUser[1] = 'A';
  EXPECT_FALSE(CheckLogin(otherUser, "secret", challenge).accepted);
  EXPECT_FALSE(CheckLogin(std::span(request).first(32), "secret", challenge).accepted);
}

TEST(SessionMaskedTextTest, ChangePasswordWithFixedTick) {
  // Old password "old", new "new-pass", serial 42, T = 0x01020304.
  const Bytes request =
      FromHex("15040302017c751dfa3574924a0f7565c54fb89ca801020304d80e611c910af8f6745fbbeaffdae6de");
  ASSERT_EQ(request.size(), 41u);
  const MaskedText decoded = DecodeChangePassword(request, "old", kSerial);
  ASSERT_TRUE(decoded.ok) << decoded.why;
  EXPECT_EQ(decoded.text, "new-pass");

  // The key of another password leaves garbage after the text.
  EXPECT_FALSE(DecodeChangePassword(request, "older", kSerial).ok);
  // Another serial number changes key and digest.
  EXPECT_FALSE(DecodeChangePassword(request, "old", 43).ok);
  Bytes tickDisagrees = request;
  tickDisagrees[24] = 0x05;
  EXPECT_THAT(DecodeChangePassword(tickDisagrees, "old", kSerial).why, HasSubstr("tick"));
  Bytes badDigest = request;
  badDigest[40] ^= 1;
  EXPECT_THAT(DecodeChangePassword(badDigest, "old", kSerial).why, HasSubstr("digest"));
}

TEST(SessionMaskedTextTest, ChangePasswordToEmptyAndToSixteenCharacters) {
  // Empty new password: the masked field is the key itself, digest MD5(S, T).
  const Bytes toEmpty =
      FromHex("150403020112106ad74515e1390f7565c54fb89ca801020304f6addd7875b90a091ebd0cd337adaadd");
  const MaskedText empty = DecodeChangePassword(toEmpty, "old", kSerial);
  ASSERT_TRUE(empty.ok) << empty.why;
  EXPECT_EQ(empty.text, "");
  EXPECT_EQ(HexText(MaskKey("old", kSerial, {4, 3, 2, 1})),
            HexText(std::span(toEmpty).subspan(5, 16)));

  // From no password to 16 characters: the field holds no padding at all.
  const Bytes full =
      FromHex("15040302017185ec6be61d4fcf558acc78ded72d4b0102030411b9057dc67cc9e1dbf1ff941150e42a");
  const MaskedText sixteen = DecodeChangePassword(full, "", kSerial);
  ASSERT_TRUE(sixteen.ok) << sixteen.why;
  EXPECT_EQ(sixteen.text, "0123456789abcdef");
}

TEST(SessionMaskedTextTest, MailServerPasswordOfThreeAndTwentyCharacters) {
  // "abc": m = 16 masked bytes, L = 40, 43 bytes in all.
  const Bytes three = FromHex(
      "17002804030201737209d74515e1390f7565c54fb89ca801020304503ffb3c1bd28034b5caa4156a908578");
  ASSERT_EQ(three.size(), 43u);
  EXPECT_EQ(FrameRequest(three).size, 43u);
  const MaskedText short3 = DecodeStoreSmtpPassword(three, "old", kSerial);
  ASSERT_TRUE(short3.ok) << short3.why;
  EXPECT_EQ(short3.text, "abc");

  // 20 characters: m = 20, L = 44, 47 bytes.
  const Bytes twenty = FromHex(
      "17002c04030201737209b320738651661f0ea922d6f3d8636219a3010203048a7111dc9c7138c12960562dcef59f"
      "a0");
  ASSERT_EQ(twenty.size(), 47u);
  EXPECT_EQ(FrameRequest(twenty).size, 47u);
  const MaskedText long20 = DecodeStoreSmtpPassword(twenty, "old", kSerial);
  ASSERT_TRUE(long20.ok) << long20.why;
  EXPECT_EQ(long20.text, "abcdefghijklmnopqrst");

  EXPECT_FALSE(DecodeStoreSmtpPassword(three, "new", kSerial).ok);
  Bytes wrongLength = three;
  wrongLength[2] = 0x29;  // L = 41 while 43 bytes came
  EXPECT_THAT(DecodeStoreSmtpPassword(wrongLength, "old", kSerial).why, HasSubstr("length"));
}

TEST(SessionMaskedTextTest, MailServerPasswordReplyWithTheDevicesTick) {
  // Text "mail", key password "secret", serial 42, device tick 0x0A0B0C0D.
  const Bytes reply = EncodeSmtpPasswordReply("mail", "secret", kSerial, 0x0A0B0C0D);
  EXPECT_EQ(
      HexText(reply),
      "1800280d0c0b0aa21cba183f772771f6f3478db6cf9a990a0b0c0d6a8a32d94da9f73024a478f88aa2d20d");
  // An empty text still fills 16 masked bytes.
  EXPECT_EQ(EncodeSmtpPasswordReply("", "secret", kSerial, 1).size(), 43u);
  EXPECT_EQ(EncodeSmtpPasswordReply(std::string(45, 'x'), "", kSerial, 1).size(), 72u);
}

TEST(SessionAddressTest, StreamHeaderOfTwentyNineBytes) {
  const Bytes header = FromHex(
      "1f34120000"  // size 0x1234, low byte first
      "c0a80114ffffff00c0a801fe08080808"
      "0000000001000000");  // dns2 0.0.0.0, flags 1 low byte first
  ASSERT_EQ(header.size(), 29u);
  EXPECT_EQ(FrameRequest(header).size, 29u);
  const std::optional<StreamHeader> decoded = DecodeStreamHeader(header);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->fileSize, 0x1234u);
  EXPECT_EQ(decoded->addresses.ip, MakeIpv4(192, 168, 1, 20));
  EXPECT_EQ(decoded->addresses.netmask, MakeIpv4(255, 255, 255, 0));
  EXPECT_EQ(decoded->addresses.gateway, MakeIpv4(192, 168, 1, 254));
  EXPECT_EQ(decoded->addresses.dns1, MakeIpv4(8, 8, 8, 8));
  EXPECT_EQ(decoded->addresses.dns2, 0u);
  EXPECT_EQ(decoded->addresses.ipConfigFlags, 1u);
  EXPECT_FALSE(DecodeStreamHeader(std::span(header).first(28)));
}

TEST(SessionAddressTest, NetworkSettingsOfTwentySevenBytes) {
  const Bytes request = FromHex(
      "22abcd"  // bytes 1-2 carry no value
      "0a000005ffff0000"
      "0a0000010a0000020a00000302000000");
  ASSERT_EQ(request.size(), 27u);
  const std::optional<AddressSettings> a = DecodeNetworkSettings(request);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->ip, MakeIpv4(10, 0, 0, 5));
  EXPECT_EQ(a->netmask, MakeIpv4(255, 255, 0, 0));
  EXPECT_EQ(a->gateway, MakeIpv4(10, 0, 0, 1));
  EXPECT_EQ(a->dns1, MakeIpv4(10, 0, 0, 2));
  EXPECT_EQ(a->dns2, MakeIpv4(10, 0, 0, 3));
  EXPECT_EQ(a->ipConfigFlags, 2u);
}

TEST(SessionFramingTest, EveryRequestLength) {
  const auto size = [](const Bytes& b) { return FrameRequest(b); };
  EXPECT_EQ(size({0x14}).size, 1u);
  EXPECT_EQ(size({0x00, 'a'}).kind, RequestFrame::Kind::kNeedMore);
  EXPECT_EQ(size(Bytes(33, 0)).size, 33u);
  EXPECT_EQ(size({0x0D, 1, 0, 0, 0, 0xAA}).size, 5u);  // the image is not part of it
  EXPECT_EQ(size({0x09, 0x00}).kind, RequestFrame::Kind::kNeedMore);
  EXPECT_EQ(size({0x09, 0x00, 0x02, 7}).kind, RequestFrame::Kind::kNeedMore);
  EXPECT_EQ(size({0x09, 0x00, 0x02, 7, 8}).size, 5u);
  EXPECT_EQ(size(Bytes(41, 0x15)).size, 41u);
  EXPECT_EQ(size(Bytes(27, 0x22)).size, 27u);

  // The 11-byte command: opcode, length 11 low byte first, 8 bytes.
  const Bytes setDefault = {0x29, 0x0B, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(size(setDefault).size, 11u);
  const std::optional<CommandRequest> command = DecodeCommand(setDefault);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->opcode, 0x29);
  EXPECT_EQ(command->length, 11);
  EXPECT_EQ(command->parameters, Bytes(8, 0));
  EXPECT_EQ(size({0x29, 0x00, 0x0B}).kind, RequestFrame::Kind::kInvalid);  // 2816 bytes
  EXPECT_EQ(size({0x29, 0x02, 0x00}).kind, RequestFrame::Kind::kInvalid);
}

TEST(SessionRepliesTest, FixedRepliesByteForByte) {
  EXPECT_THAT(EncodeChallengeReply({9, 8, 7, 6}), ElementsAre(0x14, 0x04, 9, 8, 7, 6));
  EXPECT_THAT(EncodePortMasksReply(0x0000FFFF, 0x00000300),
              ElementsAre(0x1E, 0x01, 0xFF, 0xFF, 0, 0, 0x00, 0x03, 0, 0));
  const Bytes block = {1, 2, 3};
  EXPECT_THAT(EncodeLengthPrefixed(0x08, block), ElementsAre(0x08, 0x00, 0x03, 1, 2, 3));
  EXPECT_THAT(EncodeConfigFileReply("ab", false), ElementsAre(0x20, 0x00, 0x02, 'a', 'b'));
  EXPECT_THAT(EncodeConfigFileReply("ab", true),
              ElementsAre(0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 'a', 'b'));
  EXPECT_THAT(EncodeConfigFileReply("", false), ElementsAre(0x20, 0, 0, 0, 0, 0, 0));
  EXPECT_THAT(EncodeConfigFileReply("ab", false, 0x01000001),
              ElementsAre(0x20, 0, 0, 0x01, 0x00, 0x00, 0x01, 'a', 'b'));
  const Bytes big = EncodeConfigFileReply(std::string(70000, 'x'), false);
  EXPECT_THAT(Bytes(big.begin(), big.begin() + 7), ElementsAre(0x20, 0, 0, 0x00, 0x01, 0x11, 0x70));

  const Bytes final = EncodeStreamFinalReply(-3, "QoS");
  ASSERT_EQ(final.size(), 32u);
  EXPECT_THAT(Bytes(final.begin(), final.begin() + 6), ElementsAre(0x1F, 0xFD, 'Q', 'o', 'S', 0));
  EXPECT_EQ(EncodeStreamFinalReply(0, std::string(40, 'g'))[31], 0);  // always terminated
}

}  // namespace
}  // namespace vantrell::sim
