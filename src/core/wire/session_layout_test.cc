#include "core/wire/session_layout.h"

#include <gtest/gtest.h>

#include "core/wire/layout_test_fields.h"

namespace vantrell::wire {
namespace {

TEST(SessionLayout, OpcodesAsTheDevicesKnowThem) {
  const std::uint8_t opcodes[] = {kOpLogin,          kOpFetchConfigBlock,   kOpStoreConfigBlock,
                                  kOpCommitChanges,  kOpSendFirmware,       kOpFetchChallenge,
                                  kOpChangePassword, kOpStoreSmtpPassword,  kOpFetchSmtpPassword,
                                  kOpFetchPortMasks, kOpStreamConfigFile,   kOpFetchConfigFile,
                                  kOpFetchInfoText,  kOpSetNetworkSettings, kOpSetDefault};
  const std::uint8_t expected[] = {0x00, 0x08, 0x09, 0x0C, 0x0D, 0x14, 0x15, 0x17,
                                   0x18, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x29};
  ASSERT_EQ(sizeof opcodes, sizeof expected);
  for (std::size_t i = 0; i < sizeof opcodes; ++i) EXPECT_EQ(opcodes[i], expected[i]) << i;
  EXPECT_EQ(ack_reply::kSuccess, 0x01);
  EXPECT_EQ(ack_reply::kRefused, 0x00);
  EXPECT_EQ(ack_reply::kTransferGoOn, 0x00);
  EXPECT_EQ(ack_reply::kTransferRefused, 0xFF);
  EXPECT_EQ(stream_final_reply::kGroupRejected, -3);
}

TEST(SessionLayout, FixedRequestsFillTheirSizeAfterTheOpcode) {
  {
    namespace f = login_request;
    EXPECT_EQ(f::kSize, 33u);
    EXPECT_TRUE(Tiles(1, {{f::kUser, f::kUserSize}, {f::kDigest, kDigestSize}}, f::kSize));
  }
  {
    namespace f = change_password_request;
    EXPECT_EQ(f::kSize, 41u);
    EXPECT_TRUE(Tiles(1,
                      {{f::kTickLowFirst, kTickSize},
                       {f::kMaskedPassword, f::kPasswordSize},
                       {f::kTickHighFirst, kTickSize},
                       {f::kDigest, kDigestSize}},
                      f::kSize));
  }
  EXPECT_EQ(firmware_request::kSize, 5u);
  EXPECT_TRUE(Tiles(1, {{firmware_request::kFileSize, 4}}, firmware_request::kSize));
  EXPECT_EQ(stream_request::kSize, 29u);
  EXPECT_TRUE(Tiles(
      1, {{stream_request::kFileSize, 4}, {stream_request::kAddresses, address_settings::kSize}},
      stream_request::kSize));
  EXPECT_EQ(network_request::kSize, 27u);
  EXPECT_TRUE(Tiles(
      1, {{network_request::kUnused, 2}, {network_request::kAddresses, address_settings::kSize}},
      network_request::kSize));
  EXPECT_EQ(command_request::kSize, 11u);
  EXPECT_TRUE(Tiles(
      1,
      {{command_request::kLength, 2}, {command_request::kParameters, command_request::kSize - 3}},
      command_request::kSize));
  EXPECT_EQ(command_request::kHeaderSize, command_request::kParameters);
}

TEST(SessionLayout, AddressSettingsAreFiveAddressesAndAFlagWord) {
  namespace f = address_settings;
  EXPECT_EQ(f::kSize, 24u);
  EXPECT_TRUE(Tiles(0,
                    {{f::kIp, 4},
                     {f::kNetmask, 4},
                     {f::kGateway, 4},
                     {f::kDns1, 4},
                     {f::kDns2, 4},
                     {f::kIpConfigFlags, 4}},
                    f::kSize));
}

TEST(SessionLayout, FixedRepliesFillTheirSizeAfterTheOpcode) {
  EXPECT_EQ(ack_reply::kSize, 2u);
  EXPECT_TRUE(Tiles(0, {{ack_reply::kOpcode, 1}, {ack_reply::kStatus, 1}}, ack_reply::kSize));
  {
    namespace f = challenge_reply;
    EXPECT_EQ(f::kSize, 6u);
    EXPECT_EQ(f::kLengthValue, f::kChallengeSize);
    EXPECT_TRUE(Tiles(1, {{f::kLengthByte, 1}, {f::kChallenge, f::kChallengeSize}}, f::kSize));
  }
  {
    namespace f = port_masks_reply;
    EXPECT_EQ(f::kSize, 10u);
    EXPECT_TRUE(Tiles(1, {{f::kStatus, 1}, {f::kPortMask, 4}, {f::kTrunkPortMask, 4}}, f::kSize));
  }
  {
    namespace f = stream_final_reply;
    EXPECT_EQ(f::kSize, 32u);
    EXPECT_TRUE(Tiles(1, {{f::kStatus, 1}, {f::kGroupName, f::kGroupNameSize}}, f::kSize));
  }
}

TEST(SessionLayout, LengthPrefixedFramesAndTheMailPassword) {
  {
    namespace f = length_prefixed_reply;
    EXPECT_TRUE(Tiles(1, {{f::kLength, 2}}, f::kHeaderSize));
    EXPECT_TRUE(
        Tiles(1, {{f::kLength, 2}, {f::kLongLength, f::kLongLengthSize}}, f::kLongHeaderSize));
  }
  EXPECT_TRUE(Tiles(1, {{store_block_request::kLength, 2}}, store_block_request::kBlock));
  {
    // The shortest text: 16 masked bytes, L = 40, 43 bytes in all.
    namespace f = smtp_password;
    const std::size_t masked = f::kMinMasked;
    const std::size_t total = f::kMasked + masked + f::kTrailerSize;
    EXPECT_EQ(total, 43u);
    EXPECT_EQ(masked + f::kLengthOverhead, 40u);
    EXPECT_EQ(total, masked + f::kLengthOverhead + f::kFrameOverhead);
    EXPECT_TRUE(Tiles(1,
                      {{f::kLength, 2},
                       {f::kTickLowFirst, kTickSize},
                       {f::kMasked, masked},
                       {f::kMasked + masked + f::kTickHighFirstAfterMasked, kTickSize},
                       {f::kMasked + masked + f::kDigestAfterMasked, kDigestSize}},
                      total));
    EXPECT_EQ(f::kFieldSize, 46u);
  }
}

}  // namespace
}  // namespace vantrell::wire
