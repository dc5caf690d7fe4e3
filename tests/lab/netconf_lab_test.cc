// End-to-end tests of `vantrell netconf` against the device simulator in a
// lab of network namespaces (scripts/lab.sh, scenario
// scripts/lab/netconf-test.json). The simulator runs with --record, so each
// test asserts what the device received: the block written back to a D8
// switch, the 0x22 request of a long-reply device, and nothing at all when
// the command must not store.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/netconf-test.json";
constexpr const char* kLabPrefix = "vtn";

constexpr int kOpLogin = 0x00;
constexpr int kOpFetchBlock = 0x08;
constexpr int kOpStoreBlock = 0x09;
constexpr int kOpCommit = 0x0C;
constexpr int kOpChallenge = 0x14;
constexpr int kOpChangePassword = 0x15;
constexpr int kOpSmtpPassword = 0x17;
constexpr int kOpFetchSmtpPassword = 0x18;
constexpr int kOpNetworkSettings = 0x22;

/// Devices of the scenario.
constexpr const char* kD8 = "02:56:40:00:00:01";          // 192.168.10.41, GenD2, "nc-pw", DHCP on
constexpr const char* kLongAcks = "02:56:40:00:00:02";    // 192.168.10.42, answers 0x22 0x01
constexpr const char* kLongResets = "02:56:40:00:00:03";  // 192.168.10.43, resets on 0x22
constexpr const char* kUnservedD8 = "02:56:40:00:00:04";  // 192.168.10.44, firmware 1.4.0.1
constexpr const char* kA8 =
    "02:56:40:00:00:05";  // 192.168.10.45, GenA2, "nc-a2", own mail password
/// Scenario positions of the long-reply devices (their lab interfaces).
constexpr int kLongAcksIndex = 1;
constexpr int kLongResetsIndex = 2;

/// Offsets in the GenD2 block of the D8 switch (1124 bytes).
constexpr std::size_t kGenD2Size = 1124;
constexpr std::size_t kIpOffset = 8;
constexpr std::size_t kFlagWordOffset = 20;
constexpr std::size_t kDns1Offset = 24;
constexpr std::size_t kTrapTextOffset = 40;

const char kNotStoredText[] = "Not stored: answer the warning with --yes to store.";

/// The one lab of this test process ("vtn<pid>").
[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab(kLabPrefix, kScenario);

/// Puts `address` on the interface of scenario device `index` as well,
/// as a real device does when it takes a new address.
bool AddDeviceAddress(int index, const std::string& address) {
  return TheLab().DevExec({"ip", "address", "add", address + "/24", "dev",
                           TheLab().name() + "m" + std::to_string(index)});
}

/// The device's address in a `search --json` run, or "" when not listed.
std::string ListedAddress(const CommandRun& search, const std::string& mac) {
  const json list = json::parse(search.out, nullptr, false);
  if (!list.is_array()) return "";
  for (const json& device : list) {
    if (device.value("mac", "") == mac) return device.value("ip", "");
  }
  return "";
}

// ---------------------------------------------------------------------------
// D8 switch: the block write-back.

class NetconfD8Lab : public SharedLabTest {};

TEST_F(NetconfD8Lab, WithoutYesNothingIsStoredAndTheChangesAreListed) {
  const CommandRun run = Run({"--password", "nc-pw", "netconf", kD8, "--gateway", "192.168.10.1"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out,
            std::string("Gateway\t192.168.10.254 -> 192.168.10.1\n") + kNotStoredText + "\n");
  EXPECT_NE(run.err.find("Would you like to update network setting now ?"), std::string::npos)
      << run.err;
  // Only the read step: login and the block.
  EXPECT_EQ(Opcodes(run.received), (std::vector<int>{kOpChallenge, kOpLogin, kOpFetchBlock}))
      << Dump(run.received);
}

TEST_F(NetconfD8Lab, NewAddressIsStoredInTheBlockWithTheModeAndPasswordKept) {
  const CommandRun run =
      Run({"--yes", "--password", "nc-pw", "netconf", kD8, "--ip", "192.168.10.91"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Modify IP OK.\n");
  ASSERT_EQ(Opcodes(run.received),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpFetchBlock, kOpChallenge, kOpLogin,
                              kOpStoreBlock, kOpChangePassword, kOpSmtpPassword, kOpCommit}))
      << Dump(run.received);
  const json store = First(run.received, kOpStoreBlock);
  const std::string request = Unhex(Text(store, "bytes"));
  ASSERT_EQ(request.size(), 3 + kGenD2Size) << store.dump();
  const std::string block = request.substr(3);
  EXPECT_EQ(block.substr(kIpOffset, 12),
            std::string("\xC0\xA8\x0A\x5B\xFF\xFF\xFF\x00\xC0\xA8\x0A\xFE", 12));
  // DHCP stays on: the mode came from the block, not from the short reply.
  EXPECT_EQ(block[kFlagWordOffset], '\x01');
  EXPECT_EQ(block.substr(kDns1Offset, 4), std::string("\x0A\x00\x00\x35", 4));
  EXPECT_EQ(block.substr(kTrapTextOffset, 12), "Line 4 block");
  EXPECT_EQ(Text(First(run.received, kOpChangePassword), "newPassword"), "nc-pw");
  EXPECT_NE(Text(First(run.received, kOpCommit), "result").find("block"), std::string::npos)
      << Dump(run.received);
}

TEST_F(NetconfD8Lab, UnservedFirmwareFailsBeforeAnythingIsSent) {
  const CommandRun run = Run({"--yes", "netconf", kUnservedD8, "--ip", "192.168.10.94"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out,
            "The network settings of ORV-D8 with firmware 1.4 cannot be changed: this firmware "
            "version is not supported.\n");
  EXPECT_TRUE(run.received.empty()) << Dump(run.received);
}

TEST_F(NetconfD8Lab, SecondDnsServerAndBootpDoNotApply) {
  for (const auto& option :
       std::vector<std::vector<std::string>>{{"--dns2", "10.0.0.2"}, {"--mode", "bootp"}}) {
    std::vector<std::string> args = {"--yes", "--password", "nc-pw", "netconf", kD8};
    args.insert(args.end(), option.begin(), option.end());
    const CommandRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2) << option[0];
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(First(run.received, kOpStoreBlock), json::object()) << Dump(run.received);
  }
}

// ---------------------------------------------------------------------------
// A8/R8 switch: the device keeps its mail-server password apart from the block.

class NetconfA8Lab : public SharedLabTest {};

TEST_F(NetconfA8Lab, WriteBackStoresTheDevicesOwnMailPassword) {
  const CommandRun run =
      Run({"--yes", "--password", "nc-a2", "netconf", kA8, "--ip", "192.168.10.95"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Modify IP OK.\n");
  ASSERT_EQ(Opcodes(run.received),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpFetchBlock, kOpChallenge, kOpLogin,
                              kOpFetchSmtpPassword, kOpStoreBlock, kOpChangePassword,
                              kOpSmtpPassword, kOpCommit}))
      << Dump(run.received);
  // The block came without the password; the write-back asked for it first.
  EXPECT_EQ(Text(First(run.received, kOpSmtpPassword), "smtpPassword"), "a2-own-mail");
  EXPECT_EQ(Text(First(run.received, kOpChangePassword), "newPassword"), "nc-a2");
  EXPECT_EQ(Text(First(run.received, kOpCommit), "result"),
            "committed password, smtpPassword, block")
      << Dump(run.received);
}

// ---------------------------------------------------------------------------
// Long-reply devices: 0x22.

class NetconfLongReplyLab : public SharedLabTest {};

TEST_F(NetconfLongReplyLab, MulticastAddressIsRefusedWithTheDialogMessage) {
  const CommandRun run = Run({"--yes", "netconf", kLongAcks, "--ip", "224.0.0.1"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("IP address cannot be broadcast or multicast address"), std::string::npos)
      << run.err;
  EXPECT_EQ(Opcodes(run.received), (std::vector<int>{kOpChallenge, kOpLogin}))
      << Dump(run.received);
}

TEST_F(NetconfLongReplyLab, AcknowledgedChangeIsOkAndTheDeviceIsFoundAtItsNewAddress) {
  const CommandRun run = Run(
      {"--yes", "--json", "netconf", "192.168.10.42", "--ip", "192.168.10.92", "--mode", "off"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(json::parse(run.out, nullptr, false),
            (json{{"mac", kLongAcks}, {"result", "Modify IP OK."}}))
      << run.out;
  ASSERT_EQ(Opcodes(run.received),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpChallenge, kOpLogin, kOpNetworkSettings}))
      << Dump(run.received);
  const json request = First(run.received, kOpNetworkSettings);
  // The other settings are the device's own, from its 178-byte details.
  EXPECT_EQ(Text(request, "bytes"),
            "220000"
            "c0a80a5c"
            "ffffff00"
            "c0a80afe"
            "0a000035"
            "0a000036"
            "00000000");
  EXPECT_EQ(Text(request, "ipAddr"), "192.168.10.92");

  // The simulator answers from the new address once its interface has it.
  ASSERT_TRUE(AddDeviceAddress(kLongAcksIndex, "192.168.10.92"));
  const CommandRun search = Run({"--json", "search"});
  EXPECT_EQ(ListedAddress(search, kLongAcks), "192.168.10.92") << search.out;
}

TEST_F(NetconfLongReplyLab, DeviceThatResetsTheConnectionIsSuccess) {
  const CommandRun run = Run({"--yes", "netconf", kLongResets, "--ip", "192.168.10.93"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Modify IP Success.\n");
  const json request = First(run.received, kOpNetworkSettings);
  // BOOTP (flags 2, from the 98-byte details) travels unchanged.
  EXPECT_EQ(Text(request, "bytes"),
            "220000"
            "c0a80a5d"
            "ffffff00"
            "c0a80afe"
            "0a000035"
            "00000000"
            "02000000")
      << Dump(run.received);

  ASSERT_TRUE(AddDeviceAddress(kLongResetsIndex, "192.168.10.93"));
  const CommandRun search = Run({"--json", "search"});
  EXPECT_EQ(ListedAddress(search, kLongResets), "192.168.10.93") << search.out;
}

}  // namespace
}  // namespace vantrell::lab
