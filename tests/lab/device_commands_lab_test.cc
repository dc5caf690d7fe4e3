// End-to-end tests of `vantrell info`, `unlock`, `passwd` and `set-default`
// against the device simulator in a lab of network namespaces (scripts/lab.sh,
// scenario scripts/lab/commands-test.json). The simulator runs with --record,
// so every test asserts what each device received during its command: the
// exact request bytes, their order and their arrival times.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/commands-test.json";

/// Session opcodes as the record file shows them (decimal numbers).
constexpr int kOpLogin = 0x00;
constexpr int kOpCommit = 0x0C;
constexpr int kOpChallenge = 0x14;
constexpr int kOpChangePassword = 0x15;
constexpr int kOpInfoText = 0x21;
constexpr int kOpSetDefault = 0x29;

/// Devices of the scenario.
constexpr const char* kShortD8 = "02:56:30:00:00:01";     // 192.168.10.31, answers 150 ms late
constexpr const char* kLongR8 = "02:56:30:00:00:02";      // 192.168.10.32, infoText, protected
constexpr const char* kLockedA8 = "02:56:30:00:00:03";    // password "alpha"
constexpr const char* kClosedR8 = "02:56:30:00:00:04";    // protected and inaccessible
constexpr const char* kPasswordD8 = "02:56:30:00:00:05";  // "old-pw", serial 0x0123
constexpr const char* kKeptA8 = "02:56:30:00:00:06";      // "keep-me"
constexpr const char* kTriplet[] = {"02:56:30:00:00:07", "02:56:30:00:00:08",
                                    "02:56:30:00:00:09"};  // all on 192.168.10.50
constexpr const char* kRefusesLogin = "02:56:30:00:00:0A";
constexpr const char* kLockedA8W = "02:56:30:00:00:0B";      // "gamma"
constexpr const char* kFarA8 = "02:56:30:00:00:0C";          // 10.77.0.9, "far-pw"
constexpr const char* kSecondSegment = "02:56:30:00:01:01";  // 192.168.20.31, 150 ms late

const std::string kLongR8InfoText =
    "Model Name\tORV-R8-F2 Info Edition\nUptime\t3 days\nPorts\t8 x 100M\t2 x 1G\n";

/// The 33-byte login request: 0x00, "admin" padded with zero bytes to 16,
/// MD5(password, challenge).
std::string LoginBytes(std::string_view password, std::string_view challenge) {
  std::string user("admin");
  user.resize(16, '\0');
  return std::string(1, '\0') + user + Md5(std::string(password) + std::string(challenge));
}

/// The one lab of this test process ("vtl<pid>").
[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtl", kScenario);

/// The request bytes of a record line.
std::string Bytes(const json& line) { return Unhex(Text(line, "bytes")); }

/// Checks a challenge-and-login pair of the record: the login is the 33-byte
/// request with the digest of `password` over the challenge just given.
void ExpectLogin(const json& challenge, const json& login, std::string_view password,
                 const std::string& result) {
  EXPECT_EQ(Opcode(challenge), kOpChallenge) << challenge.dump();
  EXPECT_EQ(Text(challenge, "bytes"), "14");
  const std::string challengeBytes = Unhex(Text(challenge, "challenge"));
  ASSERT_EQ(challengeBytes.size(), 4u) << challenge.dump();
  EXPECT_EQ(Opcode(login), kOpLogin) << login.dump();
  EXPECT_EQ(Bytes(login).size(), 33u);
  EXPECT_EQ(Text(login, "bytes"), Hex(LoginBytes(password, challengeBytes)))
      << "login digest is not MD5(\"" << password << "\", challenge)";
  EXPECT_EQ(Text(login, "user"), "admin");
  EXPECT_EQ(Text(login, "result"), result);
}

void ExpectNothingReceived(const CommandRun& run) {
  EXPECT_EQ(run.received.size(), 0u) << "the devices received:\n" << Dump(run.received);
}

/// Checks one Set Default session: challenge, accepted login with an empty
/// password, the 11-byte command, acknowledged.
void ExpectSetDefaultSession(const std::vector<json>& session) {
  ASSERT_EQ(Opcodes(session), (std::vector<int>{kOpChallenge, kOpLogin, kOpSetDefault}))
      << Dump(session);
  ExpectLogin(session[0], session[1], "", "login accepted");
  EXPECT_EQ(Text(session[2], "bytes"), "290b000000000000000000");
  EXPECT_EQ(Text(session[2], "command"), "Set Default");
  EXPECT_EQ(Text(session[2], "result"), "command acknowledged");
}

// ---------------------------------------------------------------------------
// Fixtures: one per ctest entry (group), each in its own process and lab.

class CommandLabTest : public SharedLabTest {
 protected:
  /// Static neighbours of the workstation: the lab makes none, so every
  /// line is one a command left behind.
  static std::string PermanentNeighbours() {
    return TheLab().Exec({"ip", "-4", "neigh", "show", "nud", "permanent"}).out;
  }

  /// Host routes (/32) of the workstation to `address`, in any table.
  static std::string HostRoutesTo(const std::string& address) {
    const std::string routes =
        TheLab().Exec({"ip", "-4", "route", "show", "table", "all"}).out;
    std::istringstream lines(routes);
    std::string line;
    std::string found;
    while (std::getline(lines, line)) {
      if (line.rfind(address + " ", 0) == 0 || line.rfind(address + "/32 ", 0) == 0) {
        found += line + "\n";
      }
    }
    return found;
  }
};

// ---------------------------------------------------------------------------
// info

class InfoLab : public CommandLabTest {};

TEST_F(InfoLab, ShortReplySwitchPrintsItsInformationLinesWithoutASession) {
  const CommandRun run = Run({"info", kShortD8});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Model          ORV-D8\n"
            "Name           Info D8\n"
            "IP Address     192.168.10.31\n"
            "Netmask        255.255.255.0\n"
            "Gateway        192.168.10.254\n"
            "MAC Address    02:56:30:00:00:01\n"
            "Serial No      00031\n"
            "Firmware Ver.  1.2.3\n");
  ExpectNothingReceived(run);
}

// The device is protected and was not unlocked: the information text is
// served before a login, and no login is tried.
TEST_F(InfoLab, LongReplyDeviceNamedByAddressShowsItsInformationTextFetchedWithoutLogin) {
  const CommandRun run = Run({"info", "192.168.10.32"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Model Name     ORV-R8-F2 Info Edition\n"
            "Uptime         3 days\n"
            "Ports          8 x 100M\t2 x 1G\n");
  ASSERT_EQ(run.received.size(), 1u) << Dump(run.received);
  const json& request = run.received[0];
  EXPECT_EQ(Text(request, "mac"), kLongR8);
  EXPECT_EQ(Text(request, "ip"), "192.168.10.32");
  EXPECT_EQ(Text(request, "proto"), "tcp");
  EXPECT_EQ(Opcode(request), kOpInfoText);
  EXPECT_EQ(Text(request, "bytes"), "21");
  EXPECT_EQ(Text(request, "result"), "info text, 70 bytes");
}

TEST_F(InfoLab, JsonCarriesTheListFieldsAndTheInformationText) {
  const CommandRun run = Run({"info", "02-56-30-00-00-02", "--json"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const json info = json::parse(run.out, nullptr, false);
  ASSERT_TRUE(info.is_object()) << run.out;
  std::set<std::string> keys;
  for (const auto& item : info.items()) keys.insert(item.key());
  EXPECT_EQ(keys, (std::set<std::string>{"model", "modelId", "ip", "mac", "interface", "status",
                                         "name", "location", "netmask", "gateway", "dns1", "dns2",
                                         "ipConfigFlags", "firmware", "firmwareVersion", "serial",
                                         "replyKind", "details", "infoText"}));
  EXPECT_EQ(info.value("infoText", ""), kLongR8InfoText);
  EXPECT_EQ(info.value("mac", ""), kLongR8);
  EXPECT_EQ(info.value("ip", ""), "192.168.10.32");
  EXPECT_EQ(info.value("model", ""), "ORV-R8-F2 Info Edition");
  EXPECT_EQ(info.value("modelId", 0), 0x2528);
  EXPECT_EQ(info.value("status", ""), "Locked");
  EXPECT_EQ(info.value("name", ""), "Long reply R8");
  EXPECT_EQ(info.value("location", ""), "Hall C");
  EXPECT_EQ(info.value("firmware", ""), "3.1.2");
  EXPECT_EQ(info.value("serial", ""), "00032");
  EXPECT_EQ(info.value("replyKind", -1), 1);
  EXPECT_EQ(info.value("details", ""), "Finish");
  EXPECT_EQ(Opcodes(run.received), std::vector<int>{kOpInfoText}) << Dump(run.received);
}

// ---------------------------------------------------------------------------
// unlock

class UnlockLab : public CommandLabTest {};

TEST_F(UnlockLab, RightPasswordLogsInWithTheDigestOfTheChallenge) {
  const CommandRun run = Run({"unlock", kLockedA8, "--password", "alpha"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "02:56:30:00:00:03\tOK..\n");
  // A password given as an argument still works, with a warning (also with --quiet).
  EXPECT_EQ(run.err,
            "vantrell: warning: --password on the command line can be read by other local "
            "users; use VANTRELL_PASSWORD, --password-file FILE or --password -\n");
  ASSERT_EQ(run.received.size(), 2u) << Dump(run.received);
  EXPECT_EQ(LinesOf(run.received, kLockedA8).size(), 2u);
  ExpectLogin(run.received[0], run.received[1], "alpha", "login accepted");
}

TEST_F(UnlockLab, WrongPasswordFails) {
  const CommandRun run = Run({"unlock", kLockedA8, "--password", "alpha2"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "02:56:30:00:00:03\tFail..\n");
  ASSERT_EQ(run.received.size(), 2u) << Dump(run.received);
  ExpectLogin(run.received[0], run.received[1], "alpha2", "login refused: wrong password digest");
}

TEST_F(UnlockLab, BlanksAroundThePasswordAreRemovedBeforeTheDigest) {
  const CommandRun run = Run({"unlock", kLockedA8, "--password", "  alpha  "});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "02:56:30:00:00:03\tOK..\n");
  ASSERT_EQ(run.received.size(), 2u) << Dump(run.received);
  ExpectLogin(run.received[0], run.received[1], "alpha", "login accepted");
}

TEST_F(UnlockLab, InaccessibleDeviceIsRefusedBeforeAnythingIsSent) {
  const CommandRun run = Run({"unlock", kClosedR8, "--password", "beta"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err,
            "vantrell: warning: --password on the command line can be read by other local "
            "users; use VANTRELL_PASSWORD, --password-file FILE or --password -\n"
            "02:56:30:00:00:04 is not accessable!\n");
  EXPECT_EQ(run.out, "");
  ExpectNothingReceived(run);
}

// ---------------------------------------------------------------------------
// passwd

class PasswdLab : public CommandLabTest {};

// The 41-byte request: 0x15, T (4 bytes, low first), the new password padded
// to 16 bytes and masked with MD5(old password, serial low first, T as sent),
// T high first, MD5(new password, serial low first, T high first).
void ExpectChangePasswordRequest(const json& line, std::string_view oldPassword,
                                 std::string_view newPassword, std::string_view serialLowFirst) {
  const std::string bytes = Bytes(line);
  ASSERT_EQ(bytes.size(), 41u) << line.dump();
  EXPECT_EQ(bytes[0], '\x15');
  const std::string tickLowFirst = bytes.substr(1, 4);
  const std::string tickHighFirst = bytes.substr(21, 4);
  EXPECT_EQ(Hex(tickHighFirst), Hex(std::string(tickLowFirst.rbegin(), tickLowFirst.rend())));
  const std::string key =
      Md5(std::string(oldPassword) + std::string(serialLowFirst) + tickLowFirst);
  std::string unmasked = bytes.substr(5, 16);
  for (std::size_t i = 0; i < unmasked.size(); ++i) unmasked[i] ^= key[i];
  std::string padded(newPassword);
  padded.resize(16, '\0');
  EXPECT_EQ(Hex(unmasked), Hex(padded));
  EXPECT_EQ(Hex(bytes.substr(25, 16)),
            Hex(Md5(std::string(newPassword) + std::string(serialLowFirst) + tickHighFirst)));
}

TEST_F(PasswdLab, ChangeIsSentMaskedAndCommittedAndTheNewPasswordUnlocks) {
  const CommandRun run = Run({"passwd", kPasswordD8, "--password", "old-pw", "--new", "new-pw"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "02:56:30:00:00:05\tOK..\n");
  ASSERT_EQ(Opcodes(run.received),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpChangePassword, kOpCommit}))
      << Dump(run.received);
  EXPECT_EQ(LinesOf(run.received, kPasswordD8).size(), 4u);
  ExpectLogin(run.received[0], run.received[1], "old-pw", "login accepted");
  ExpectChangePasswordRequest(run.received[2], "old-pw", "new-pw", std::string("\x23\x01", 2));
  EXPECT_EQ(Text(run.received[2], "newPassword"), "new-pw");
  EXPECT_EQ(Text(run.received[2], "result"), "password staged until commit");
  EXPECT_EQ(Text(run.received[3], "bytes"), "0c");
  EXPECT_EQ(Text(run.received[3], "result"), "committed password");

  const CommandRun unlock = Run({"unlock", kPasswordD8, "--password", "new-pw"});
  EXPECT_EQ(unlock.exitCode, 0) << unlock.err;
  EXPECT_EQ(unlock.out, "02:56:30:00:00:05\tOK..\n");
  ASSERT_EQ(unlock.received.size(), 2u) << Dump(unlock.received);
  ExpectLogin(unlock.received[0], unlock.received[1], "new-pw", "login accepted");
}

TEST_F(PasswdLab, WrongOldPasswordFailsAtTheLoginAndSendsNoChange) {
  const CommandRun run = Run({"passwd", kKeptA8, "--password", "nope", "--new", "other"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "02:56:30:00:00:06\tFail..\n");
  ASSERT_EQ(Opcodes(run.received), (std::vector<int>{kOpChallenge, kOpLogin}))
      << Dump(run.received);
  ExpectLogin(run.received[0], run.received[1], "nope", "login refused: wrong password digest");
}

// ---------------------------------------------------------------------------
// set-default

class SetDefaultLab : public CommandLabTest {};

// Only the first of the three devices owns the session port of the shared
// address, so every session lands there; the first device answers 100 ms
// late, so a session that overlapped another would interleave its requests.
TEST_F(SetDefaultLab, ThreeDevicesOnOneAddressRunOneAfterAnother) {
  const CommandRun run = Run({"set-default", kTriplet[0], kTriplet[1], kTriplet[2]});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "02:56:30:00:00:07\tDone\n"
            "02:56:30:00:00:08\tDone\n"
            "02:56:30:00:00:09\tDone\n");
  ASSERT_EQ(run.received.size(), 9u) << Dump(run.received);
  for (int session = 0; session < 3; ++session) {
    SCOPED_TRACE("session " + std::to_string(session));
    const std::vector<json> lines(run.received.begin() + 3 * session,
                                  run.received.begin() + 3 * session + 3);
    ExpectSetDefaultSession(lines);
    for (const json& line : lines) EXPECT_EQ(Text(line, "ip"), "192.168.10.50");
    if (session > 0) {
      // The previous session's Set Default was answered 100 ms after it
      // arrived; only then may the next row start.
      EXPECT_GE(Time(lines[0]), Time(run.received[3 * session - 1]) + 0.095) << Dump(run.received);
    }
  }
  EXPECT_EQ(PermanentNeighbours(), "");
}

// Both Done devices answer 150 ms late: rows that run at the same time put
// both challenges before either Set Default.
TEST_F(SetDefaultLab, DifferentAddressesRunAtOnceAndARefusedLoginFailsOnlyItsRow) {
  const CommandRun run = Run({"set-default", kShortD8, kSecondSegment, kRefusesLogin, "--json"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  const json expected = json::array({{{"mac", kShortD8}, {"result", "Done"}},
                                     {{"mac", kSecondSegment}, {"result", "Done"}},
                                     {{"mac", kRefusesLogin}, {"result", "Fail"}}});
  EXPECT_EQ(json::parse(run.out, nullptr, false), expected) << run.out;

  const std::vector<json> first = LinesOf(run.received, kShortD8);
  const std::vector<json> second = LinesOf(run.received, kSecondSegment);
  const std::vector<json> refused = LinesOf(run.received, kRefusesLogin);
  EXPECT_EQ(run.received.size(), first.size() + second.size() + refused.size())
      << Dump(run.received);
  {
    SCOPED_TRACE(kShortD8);
    ExpectSetDefaultSession(first);
  }
  {
    SCOPED_TRACE(kSecondSegment);
    ExpectSetDefaultSession(second);
  }
  ASSERT_EQ(Opcodes(refused), (std::vector<int>{kOpChallenge, kOpLogin})) << Dump(refused);
  ExpectLogin(refused[0], refused[1], "", "login refused: refuseLogin");
  if (first.size() == 3 && second.size() == 3) {
    EXPECT_LT(Time(second[0]), Time(first[2])) << Dump(run.received);
    EXPECT_LT(Time(first[0]), Time(second[2])) << Dump(run.received);
  }
  EXPECT_EQ(PermanentNeighbours(), "");
}

TEST_F(SetDefaultLab, LockedDeviceInTheSelectionStopsTheCommandBeforeAnythingIsSent) {
  const CommandRun run = Run({"set-default", kShortD8, kLockedA8W});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err,
            "02:56:30:00:00:0B is password protected.\n"
            " Please select \"unlock\" function to get the rights.\n"
            "Give the device's password with --password (or --password-file, "
            "VANTRELL_PASSWORD).\n");
  EXPECT_EQ(run.out, "");
  ExpectNothingReceived(run);
}

TEST_F(SetDefaultLab, DeviceThatIsNotFoundStopsTheCommandBeforeAnythingIsSent) {
  const CommandRun run = Run({"set-default", kShortD8, "02:56:30:00:00:99"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "device 02:56:30:00:00:99 not found\n");
  EXPECT_EQ(run.out, "");
  ExpectNothingReceived(run);
}

// ---------------------------------------------------------------------------
// A device outside the segment's subnet: reachable only through the static
// ARP entry and host route that the command installs, and removes again.

class ForeignSubnetLab : public CommandLabTest {
 protected:
  static void ExpectNoBracketLeft() {
    EXPECT_EQ(PermanentNeighbours(), "");
    EXPECT_EQ(HostRoutesTo("10.77.0.9"), "");
    const CommandResult route = TheLab().Exec({"ip", "-4", "route", "get", "10.77.0.9"});
    EXPECT_NE(route.exitCode, 0) << "10.77.0.9 still reachable: " << route.out;
  }
};

TEST_F(ForeignSubnetLab, UnlockReachesTheDeviceAndRemovesTheBracket) {
  const CommandRun run = Run({"unlock", "10.77.0.9", "--password", "far-pw"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "02:56:30:00:00:0C\tOK..\n");
  ASSERT_EQ(run.received.size(), 2u) << Dump(run.received);
  EXPECT_EQ(Text(run.received[1], "ip"), "10.77.0.9");
  EXPECT_EQ(Text(run.received[1], "mac"), kFarA8);
  ExpectLogin(run.received[0], run.received[1], "far-pw", "login accepted");
  ExpectNoBracketLeft();
}

TEST_F(ForeignSubnetLab, SetDefaultReachesTheDeviceAndRemovesTheBracket) {
  const CommandRun run = Run({"set-default", kFarA8, "--password", "far-pw"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "02:56:30:00:00:0C\tDone\n");
  ASSERT_EQ(Opcodes(run.received), (std::vector<int>{kOpChallenge, kOpLogin, kOpSetDefault}))
      << Dump(run.received);
  ExpectLogin(run.received[0], run.received[1], "far-pw", "login accepted");
  EXPECT_EQ(Text(First(run.received, kOpSetDefault), "bytes"), "290b000000000000000000");
  EXPECT_EQ(Text(run.received[2], "ip"), "10.77.0.9");
  ExpectNoBracketLeft();
}

}  // namespace
}  // namespace vantrell::lab
