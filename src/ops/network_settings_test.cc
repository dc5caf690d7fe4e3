#include "ops/network_settings.h"

#include <gtest/gtest.h>

#include "config/config_item_ids.h"
#include "config/gen_d_layouts.h"
#include "support/scripted_device.h"
#include "support/smtp_password_reply.h"

namespace vantrell {
namespace {

using namespace vantrell::test_support;

constexpr std::uint16_t kD8 = 0x6008;
constexpr std::uint32_t kGenD2Firmware = 0x01040100;
constexpr std::size_t kGenD2Size = 1124;
// Offsets in the D8 blocks.
constexpr std::size_t kIpOffset = 8;
constexpr std::size_t kFlagWordOffset = 20;
constexpr std::size_t kDns1Offset = 24;
constexpr std::size_t kSmtpPasswordOffset = 946;
constexpr std::size_t kSmtpPasswordSlot = 46;

std::vector<Step> LoginThen(std::vector<Step> rest) {
  std::vector<Step> steps = {Expect{1}, Send{{0x14, 0x04, 1, 2, 3, 4}}, Expect{33},
                             Send{{0x00, 0x01}}};
  steps.insert(steps.end(), rest.begin(), rest.end());
  return steps;
}

DeviceRecord Device(std::uint16_t modelId, std::uint32_t firmware, std::uint32_t replyKind) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  record.firmwareVersion = firmware;
  record.replyKind = replyKind;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.gateway = MakeIpv4(192, 168, 10, 254);
  SetFieldText(record.modelName, "ORV-D8");
  SetFieldText(record.password, "pw");
  return record;
}

/// A GenD2 block as a device keeps it: DHCP on, DNS servers set, and a
/// recognisable byte pattern elsewhere.
Bytes D8Block() {
  Bytes block(kGenD2Size);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
  // Address, netmask, gateway as the details query reported them.
  const Bytes addresses = {192, 168, 10, 41, 255, 255, 255, 0, 192, 168, 10, 254};
  std::copy(addresses.begin(), addresses.end(), block.begin() + kIpOffset);
  std::fill_n(block.begin() + kSmtpPasswordOffset, kSmtpPasswordSlot, 0);
  block[kFlagWordOffset] = 0x01;  // DHCP
  const Bytes dns1 = {10, 0, 0, 53};
  std::copy(dns1.begin(), dns1.end(), block.begin() + kDns1Offset);
  return block;
}


TEST(NetworkSettingsBlock, ChangingTheAddressKeepsTheModeAndEveryOtherByte) {
  DeviceRecord record = Device(kD8, kGenD2Firmware, 0);
  ConfigBlock block;
  const Bytes original = D8Block();
  {
    ScriptedDevice device(LoginThen({Expect{1}, Send{BlockReply(original)}}));
    ASSERT_EQ(readNetworkSettings(record, block, device.timing()), 0);
    EXPECT_EQ(device.received().at(2), Bytes{0x08});
  }
  EXPECT_EQ(block.size(), kGenD2Size);
  EXPECT_EQ(record.dns1, MakeIpv4(10, 0, 0, 53));
  EXPECT_EQ(record.dns2, 0u);  // no second DNS server on the D8 family
  // The short reply never carried the mode; the block holds it.
  EXPECT_EQ(record.ipConfigFlags, 1u);

  DeviceRecord edited = record;
  edited.ipAddr = MakeIpv4(192, 168, 10, 99);
  ScriptedDevice device(
      LoginThen({Expect{3 + kGenD2Size}, Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}},
                 Expect{43}, Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}}));
  EXPECT_EQ(applyNetworkSettings(record, edited, block, device.timing()), 0);
  const auto seen = device.received();
  ASSERT_EQ(seen.size(), 6u);
  const Bytes& store = seen[2];
  ASSERT_EQ(store.size(), 3 + kGenD2Size);
  EXPECT_EQ(store[0], 0x09);
  EXPECT_EQ(store[1], 0x04);
  EXPECT_EQ(store[2], 0x64);
  Bytes expected = original;
  expected[kIpOffset + 3] = 99;
  EXPECT_EQ(Bytes(store.begin() + 3, store.end()), expected);
  EXPECT_EQ(seen[3][0], 0x15);
  EXPECT_EQ(seen[4][0], 0x17);
  EXPECT_EQ(seen[5], Bytes{0x0C});
}

TEST(NetworkSettingsBlock, A8R8DeviceGetsItsOwnMailPasswordBack) {
  constexpr std::size_t kGenA2Size = 12364;
  DeviceRecord record = Device(0x0508, 0x01020000, 0);  // GenA2
  ConfigBlock block;
  {
    // The device hands out its block without the mail-server password.
    ScriptedDevice device(LoginThen({Expect{1}, Send{BlockReply(Bytes(kGenA2Size, 0))}}));
    ASSERT_EQ(readNetworkSettings(record, block, device.timing()), 0);
  }
  DeviceRecord edited = record;
  edited.ipAddr = MakeIpv4(192, 168, 10, 99);
  ScriptedDevice device(
      LoginThen({Expect{1}, Send{SmtpPasswordReply(record, "own-mail")}, Expect{3 + kGenA2Size},
                 Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}}, Expect{43}, Send{{0x17, 0x01}},
                 Expect{1}, Send{{0x0C, 0x01}}}));
  EXPECT_EQ(applyNetworkSettings(record, edited, block, device.timing()), 0);
  const auto seen = device.received();
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[2], Bytes{0x18});  // asked before anything is stored
  EXPECT_EQ(seen[3][0], 0x09);
  EXPECT_EQ(std::string(seen[3].begin() + 3 + 5286, seen[3].begin() + 3 + 5295),
            std::string("own-mail\0", 9));
  EXPECT_EQ(seen[4][0], 0x15);
  EXPECT_EQ(StoredSmtpPassword(record, seen[5]), "own-mail");
  EXPECT_EQ(seen[6], Bytes{0x0C});
}

TEST(NetworkSettingsBlock, ModeChosenInTheDialogIsWhatIsStored) {
  DeviceRecord record = Device(kD8, kGenD2Firmware, 0);
  ConfigBlock block;
  {
    ScriptedDevice device(LoginThen({Expect{1}, Send{BlockReply(D8Block())}}));
    ASSERT_EQ(readNetworkSettings(record, block, device.timing()), 0);
  }
  DeviceRecord edited = record;
  edited.ipConfigFlags = 0;  // "Disable"
  ScriptedDevice device(LoginThen({Expect{3 + kGenD2Size}, Send{{0x09, 0x00}}}));
  EXPECT_EQ(applyNetworkSettings(record, edited, block, device.timing()), kNetworkSettingsFailed);
  const auto seen = device.received();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2].at(3 + kFlagWordOffset), 0x00);
  EXPECT_EQ(seen[2].at(3 + kFlagWordOffset + 1), D8Block()[kFlagWordOffset + 1]);
}

TEST(NetworkSettingsBlock, ShortBlockLeavesNoOldBytesBehind) {
  DeviceRecord record = Device(kD8, kGenD2Firmware, 0);
  ConfigBlock block(kGenD2Size);
  for (std::size_t i = 0; i < kGenD2Size; ++i) block.SetByteAt(i, 0xEE);
  ScriptedDevice device(LoginThen({Expect{1}, Send{BlockReply(Bytes(30, 0x01))}}));
  ASSERT_EQ(readNetworkSettings(record, block, device.timing()), 0);
  EXPECT_EQ(block.ByteAt(29), 0x01);
  EXPECT_EQ(block.ByteAt(30), 0x00);
  EXPECT_EQ(block.ByteAt(kGenD2Size - 1), 0x00);
}

TEST(NetworkSettingsBlock, AdoptsTheModeBitsOfTheFamily) {
  auto accessors = MakeGenDAccessors(Generation::kGenD4);
  ConfigBlock block(accessors->blockSize());
  DeviceRecord record = Device(kD8, 0x02000600, 0);
  record.ipConfigFlags = 0x3;
  ASSERT_TRUE(AdoptBlockAddressMode(record, block, *accessors));
  EXPECT_EQ(record.ipConfigFlags, 0x2u);  // only bit 0 belongs to the D8 family
  block.SetByteAt(kFlagWordOffset, 0x01);
  ASSERT_TRUE(AdoptBlockAddressMode(record, block, *accessors));
  EXPECT_EQ(record.ipConfigFlags, 0x3u);
}

TEST(NetworkSettingsFailures, UnservedFirmwareFailsBeforeAnythingIsSent) {
  ScriptedDevice device({});
  for (const auto& [model, firmware] :
       {std::pair{kD8, 0x01040001u}, std::pair{kD8, 0x00090000u},
        std::pair<std::uint16_t, std::uint32_t>{0x3508, 0x01010080u}}) {
    DeviceRecord record = Device(model, firmware, 0);
    ConfigBlock block;
    EXPECT_EQ(readNetworkSettings(record, block, device.timing()), kNetworkSettingsNotSupported);
    EXPECT_EQ(applyNetworkSettings(record, record, block, device.timing()),
              kNetworkSettingsNotSupported);
    const auto message = ReadFailureMessage(kNetworkSettingsNotSupported, record);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->icon, MessageIcon::kStop);
    EXPECT_NE(message->text.find("not supported"), std::string::npos);
    EXPECT_NE(ApplyOutcomeMessage(kNetworkSettingsNotSupported, record).text, "Modify IP OK.");
  }
  EXPECT_TRUE(device.received().empty());
}

TEST(NetworkSettingsFailures, BlockThatWasNotReadIsNeverStored) {
  ScriptedDevice device({});
  DeviceRecord record = Device(kD8, kGenD2Firmware, 0);
  ConfigBlock empty;
  EXPECT_EQ(applyNetworkSettings(record, record, empty, device.timing()), kNetworkSettingsFailed);
  ConfigBlock otherGeneration(656);
  EXPECT_EQ(applyNetworkSettings(record, record, otherGeneration, device.timing()),
            kNetworkSettingsFailed);
  EXPECT_TRUE(device.received().empty());
}

TEST(NetworkSettingsFailures, RefusedLoginOrMissingBlockIsTheAccessMessage) {
  DeviceRecord record = Device(kD8, kGenD2Firmware, 0);
  ConfigBlock block;
  {
    ScriptedDevice device(
        {Expect{1}, Send{{0x14, 0x04, 1, 2, 3, 4}}, Expect{33}, Send{{0x00, 0x00}}});
    EXPECT_EQ(readNetworkSettings(record, block, device.timing()), kNetworkSettingsFailed);
  }
  {
    ScriptedDevice device(LoginThen({Expect{1}, Send{{0x08, 0x00}}}));
    EXPECT_EQ(readNetworkSettings(record, block, device.timing()), kNetworkSettingsFailed);
    EXPECT_EQ(block.size(), 0u);
  }
  const auto message = ReadFailureMessage(kNetworkSettingsFailed, record);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->text, "Your IP address is not accessable for this Meshvault Server.");
  EXPECT_EQ(message->icon, MessageIcon::kInformation);
  EXPECT_FALSE(ReadFailureMessage(0, record));
}

/// The 27-byte 0x22 request the edited record should produce.
Bytes NetworkSettingsRequest(const DeviceRecord& edited) {
  Bytes bytes = {0x22, 0x00, 0x00};
  for (Ipv4 address : {edited.ipAddr, edited.netmask, edited.gateway, edited.dns1, edited.dns2}) {
    for (int i = 0; i < 4; ++i) bytes.push_back(Ipv4Octet(address, i));
  }
  for (int i = 0; i < 4; ++i) bytes.push_back((edited.ipConfigFlags >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(NetworkSettingsLongReply, ReadNeedsOnlyTheLogin) {
  DeviceRecord record = Device(0x1280, 0x01000000, 1);
  record.dns1 = MakeIpv4(10, 0, 0, 1);
  ConfigBlock block;
  ScriptedDevice device(LoginThen({}));
  ASSERT_EQ(readNetworkSettings(record, block, device.timing()), 0);
  EXPECT_EQ(record.dns1, MakeIpv4(10, 0, 0, 1));
  EXPECT_EQ(device.received().size(), 2u);
}

TEST(NetworkSettingsLongReply, ResetMeansTheDeviceTookTheAddress) {
  DeviceRecord listed = Device(0x1280, 0x01000000, 1);
  DeviceRecord edited = listed;
  edited.ipAddr = MakeIpv4(192, 168, 10, 99);
  edited.dns2 = MakeIpv4(8, 8, 4, 4);
  edited.ipConfigFlags = 0x2;
  ConfigBlock block;
  ScriptedDevice device(LoginThen({Expect{27}, Reset{}}));
  EXPECT_EQ(applyNetworkSettings(listed, edited, block, device.timing()), kNetworkSettingsApplied);
  EXPECT_EQ(device.received().at(2), NetworkSettingsRequest(edited));
  EXPECT_EQ(ApplyOutcomeMessage(kNetworkSettingsApplied, listed).text, "Modify IP Success.");
}

TEST(NetworkSettingsLongReply, AcknowledgementIsOkAndRefusalFails) {
  DeviceRecord listed = Device(0x1280, 0x01000000, 1);
  ConfigBlock block;
  {
    ScriptedDevice device(LoginThen({Expect{27}, Send{{0x22, 0x01}}}));
    EXPECT_EQ(applyNetworkSettings(listed, listed, block, device.timing()), 0);
  }
  EXPECT_EQ(ApplyOutcomeMessage(0, listed).text, "Modify IP OK.");
  ScriptedDevice device(LoginThen({Expect{27}, Send{{0x22, 0x00}}}));
  EXPECT_EQ(applyNetworkSettings(listed, listed, block, device.timing()), kNetworkSettingsFailed);
  EXPECT_EQ(ApplyOutcomeMessage(kNetworkSettingsFailed, listed).text,
            "Your IP address is not accessable for this Meshvault Server.");
}

TEST(NetworkSettingsChangeTest, StoredChangeReplacesTheListedRecordAFailedOneKeepsIt) {
  DeviceRecord listed = Device(0x1280, 0x01000000, 1);
  const Ipv4 oldGateway = listed.gateway;
  NetworkSettingsChange change(listed, nullptr);
  DeviceRecord edited = listed;
  edited.gateway = MakeIpv4(127, 0, 0, 254);
  EXPECT_TRUE(change.Changed(edited));
  EXPECT_FALSE(change.Changed(listed));
  NetworkSettingsMessage message;
  {
    ScriptedDevice device(LoginThen({Expect{27}, Send{{0x22, 0x00}}}));
    NetworkSettingsChange failing(listed, nullptr, device.timing());
    EXPECT_EQ(failing.Apply(edited, message), kNetworkSettingsFailed);
    EXPECT_EQ(listed.gateway, oldGateway);
  }
  ScriptedDevice device(LoginThen({Expect{27}, Send{{0x22, 0x01}}}));
  NetworkSettingsChange storing(listed, nullptr, device.timing());
  EXPECT_EQ(storing.Apply(edited, message), 0);
  EXPECT_EQ(message.text, "Modify IP OK.");
  EXPECT_EQ(listed.gateway, MakeIpv4(127, 0, 0, 254));
}

}  // namespace
}  // namespace vantrell
