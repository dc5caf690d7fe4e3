#include "sim/device_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace vantrell::sim {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

Bytes FromHex(std::string_view hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(
        static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

/// "old" -> "new-pass", serial 42, T = 0x01020304 (computed outside this code).
const char* const kChangeOldToNewPass =
    "15040302017c751dfa3574924a0f7565c54fb89ca801020304d80e611c910af8f6745fbbeaffdae6de";
/// Mail-server password "abc" under the key of "old", serial 42, same T.
const char* const kSmtpAbcUnderOld =
    "17002804030201737209d74515e1390f7565c54fb89ca801020304503ffb3c1bd28034b5caa4156a908578";

class DeviceSessionTest : public ::testing::Test {
 protected:
  DeviceSessionTest() : recorder_([this](const std::string& line) { lines_.push_back(line); }) {
    device_.modelId = 0x6008;
    device_.serialNo = 42;
    device_.mac = {2, 0, 0, 0, 0, 7};
    device_.ip = MakeIpv4(127, 0, 0, 7);
    device_.password = "old";
    device_.statusFlags = 1;
    device_.configBlock = {1, 2, 3, 4};
  }

  DeviceSession& Session() {
    if (!session_) {
      SessionSources sources;
      sources.challenge = [] { return Challenge{1, 2, 3, 4}; };
      sources.tick = [] { return 0x0A0B0C0Du; };
      session_ = std::make_unique<DeviceSession>(device_, &recorder_, sources);
    }
    return *session_;
  }

  /// Feeds bytes and collects every step they produce.
  std::vector<SessionStep> Feed(const Bytes& bytes) {
    Session().Receive(bytes);
    std::vector<SessionStep> steps;
    while (std::optional<SessionStep> step = Session().Next()) steps.push_back(std::move(*step));
    return steps;
  }

  /// Feeds a request that must produce exactly one step and returns its reply.
  Bytes Reply(const Bytes& request) {
    std::vector<SessionStep> steps = Feed(request);
    EXPECT_EQ(steps.size(), 1u);
    return steps.empty() ? Bytes{} : steps.front().reply;
  }

  /// The login answering challenge 01 02 03 04.
  static Bytes LoginRequest(const std::string& password) {
    Bytes login(33, 0);
    std::copy(kLoginUser.begin(), kLoginUser.end(), login.begin() + 1);
    const Md5Digest digest = LoginDigest(password, {1, 2, 3, 4});
    std::copy(digest.begin(), digest.end(), login.begin() + 17);
    return login;
  }

  void LogIn(const std::string& password) {
    ASSERT_THAT(Reply({0x14}), ElementsAre(0x14, 0x04, 1, 2, 3, 4));
    ASSERT_THAT(Reply(LoginRequest(password)), ElementsAre(0x00, 0x01));
  }

  json Line(std::size_t i) const { return json::parse(lines_.at(i)); }

  SimDevice device_;
  std::vector<std::string> lines_;
  Recorder recorder_;
  std::unique_ptr<DeviceSession> session_;
};

TEST_F(DeviceSessionTest, BeforeLoginOnlyChallengeLoginAndInfoText) {
  device_.infoText = "Hi\n";
  EXPECT_THAT(Reply({0x21}), ElementsAre(0x21, 0x00, 0x03, 'H', 'i', '\n'));
  EXPECT_THAT(Reply({0x08}), ElementsAre(0x08, 0x00));
  EXPECT_THAT(Reply({0x0C}), ElementsAre(0x0C, 0x00));
  // For the transfers status 0 would mean "go on": refused with 0xFF.
  EXPECT_THAT(Reply({0x0D, 4, 0, 0, 0}), ElementsAre(0x0D, 0xFF));
  EXPECT_THAT(Reply(Bytes(29, 0x1F)), ElementsAre(0x1F, 0xFF));
  EXPECT_THAT(Reply({0x29, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ElementsAre(0x29, 0x00));
  // A login without a challenge is refused.
  EXPECT_THAT(Reply(Bytes(33, 0)), ElementsAre(0x00, 0x00));
  EXPECT_EQ(Line(1)["result"], "refused: not logged in");
  EXPECT_THAT(Line(6)["result"].get<std::string>(), HasSubstr("no challenge"));
  EXPECT_FALSE(Session().LoggedIn());
}

TEST_F(DeviceSessionTest, ChallengeAnswersOneLoginOnly) {
  LogIn("old");
  EXPECT_TRUE(Session().LoggedIn());
  EXPECT_EQ(Line(1)["user"], "admin");
  EXPECT_EQ(Line(1)["result"], "login accepted");
  // Replaying the same login without a new challenge fails and logs out.
  EXPECT_THAT(Reply(LoginRequest("old")), ElementsAre(0x00, 0x00));
  EXPECT_FALSE(Session().LoggedIn());
}

TEST_F(DeviceSessionTest, RefuseLoginFaultAndWrongPassword) {
  device_.faults.refuseLogin = true;
  ASSERT_EQ(Reply({0x14}).size(), 6u);
  EXPECT_THAT(Reply(LoginRequest("old")), ElementsAre(0x00, 0x00));
  EXPECT_EQ(Line(1)["result"], "login refused: refuseLogin");
  device_.faults.refuseLogin = false;
  ASSERT_EQ(Reply({0x14}).size(), 6u);
  EXPECT_THAT(Reply(LoginRequest("Old")), ElementsAre(0x00, 0x00));
  EXPECT_EQ(Line(3)["result"], "login refused: wrong password digest");
}

TEST_F(DeviceSessionTest, PasswordAndMailPasswordTakeEffectOnCommit) {
  LogIn("old");
  EXPECT_THAT(Reply(FromHex(kChangeOldToNewPass)), ElementsAre(0x15, 0x01));
  EXPECT_EQ(device_.password, "old");  // not before the commit
  // The session keeps the key of the password it logged in with.
  EXPECT_THAT(Reply(FromHex(kSmtpAbcUnderOld)), ElementsAre(0x17, 0x01));
  EXPECT_THAT(Reply({0x0C}), ElementsAre(0x0C, 0x01));
  EXPECT_EQ(device_.password, "new-pass");
  EXPECT_EQ(device_.smtpPassword, "abc");
  EXPECT_EQ(device_.statusFlags & 1, 1);
  EXPECT_EQ(Line(2)["newPassword"], "new-pass");
  EXPECT_EQ(Line(2)["bytes"], kChangeOldToNewPass);
  EXPECT_EQ(Line(3)["smtpPassword"], "abc");
  EXPECT_EQ(Line(4)["result"], "committed password, smtpPassword");
}

TEST_F(DeviceSessionTest, UncommittedChangesAreDroppedWithTheConnection) {
  LogIn("old");
  EXPECT_THAT(Reply({0x09, 0x00, 0x02, 0xAA, 0xBB}), ElementsAre(0x09, 0x01));
  EXPECT_THAT(Reply({0x08}), ElementsAre(0x08, 0x00, 0x04, 1, 2, 3, 4));
  Session().ConnectionEnded("closed by peer");
  EXPECT_EQ(device_.configBlock, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(Line(lines_.size() - 1)["result"],
            "uncommitted changes dropped (block): closed by peer");
}

TEST_F(DeviceSessionTest, RefusedOpcodesAndBadMasking) {
  device_.faults.refuseOpcodes = {0x0C};
  LogIn("old");
  EXPECT_THAT(Reply({0x09, 0x00, 0x01, 0xAA}), ElementsAre(0x09, 0x01));
  EXPECT_THAT(Reply({0x0C}), ElementsAre(0x0C, 0x00));
  EXPECT_EQ(device_.configBlock, (Bytes{1, 2, 3, 4}));
  device_.password = "other";  // a session logged in with another password
  LogIn("other");
  EXPECT_THAT(Reply(FromHex(kChangeOldToNewPass)), ElementsAre(0x15, 0x00));
  EXPECT_THAT(Line(lines_.size() - 1)["result"].get<std::string>(), HasSubstr("refused"));
  // A block of 0 bytes is refused.
  EXPECT_THAT(Reply({0x09, 0x00, 0x00}), ElementsAre(0x09, 0x00));
}

TEST_F(DeviceSessionTest, MailPasswordReplyAndPortMasks) {
  device_.password = "secret";
  device_.smtpPassword = "mail";
  device_.portMask = 0x0000FFFF;
  device_.trunkPortMask = 0x300;
  LogIn("secret");
  EXPECT_EQ(
      HexText(Reply({0x18})),
      "1800280d0c0b0aa21cba183f772771f6f3478db6cf9a990a0b0c0d6a8a32d94da9f73024a478f88aa2d20d");
  EXPECT_THAT(Reply({0x1E}), ElementsAre(0x1E, 0x01, 0xFF, 0xFF, 0, 0, 0, 3, 0, 0));
}

TEST_F(DeviceSessionTest, A8R8BlockIsHandedOutWithoutTheMailPassword) {
  device_.modelId = 0x0508;
  device_.smtpPassword = "mail";
  device_.configBlock.assign(8508, 0x61);
  LogIn("old");
  const Bytes reply = Reply({0x08});
  ASSERT_EQ(reply.size(), 3u + 8508u);
  EXPECT_EQ(reply[3 + 5285], 0x61);
  EXPECT_EQ(Bytes(reply.begin() + 3 + 5286, reply.begin() + 3 + 5332), Bytes(46, 0));
  EXPECT_EQ(reply[3 + 5332], 0x61);
  // The stored block keeps what 0x09 put there; only 0x17 sets the password.
  EXPECT_EQ(device_.configBlock[5286], 0x61);
  EXPECT_EQ(device_.smtpPassword, "mail");
}

TEST_F(DeviceSessionTest, FirmwareInPiecesWithStatusAndDelays) {
  device_.faults.replyDelayMs = 20;
  device_.faults.firmwareSaveMs = 100;
  device_.faults.firmwareStatus = 0xF9;
  LogIn("old");
  std::vector<SessionStep> steps = Feed({0x0D, 0x05, 0, 0, 0, 'a', 'b'});
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_THAT(steps[0].reply, ElementsAre(0x0D, 0x00));
  EXPECT_EQ(steps[0].delayMs, 20);
  EXPECT_TRUE(Feed({'c', 'd'}).empty());
  steps = Feed({'e', 0x14});  // the last image byte, then the next request
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_THAT(steps[0].reply, ElementsAre(0x0D, 0xF9));
  EXPECT_EQ(steps[0].delayMs, 120);
  EXPECT_THAT(steps[1].reply, ElementsAre(0x14, 0x04, 1, 2, 3, 4));
  const json record = Line(2);
  EXPECT_EQ(record["bytes"], "0d05000000");
  EXPECT_EQ(record["imageLength"], 5);
  EXPECT_EQ(record["imageMd5"], "ab56b4d92b40713acc5af89985d4b786");  // MD5("abcde")
}

TEST_F(DeviceSessionTest, FirmwareFaults) {
  device_.faults.firmwareCloseWithoutAnswer = true;
  LogIn("old");
  std::vector<SessionStep> steps = Feed({0x0D, 0x01, 0, 0, 0, 'x'});
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_TRUE(steps[1].reply.empty());
  EXPECT_EQ(steps[1].then, SessionStep::Then::kClose);

  device_.faults.firmwareCloseWithoutAnswer = false;
  device_.faults.firmwareFirstReply = 0x01;
  session_.reset();
  LogIn("old");
  steps = Feed({0x0D, 0x01, 0, 0, 0, 0x14});  // the byte after the header is a request again
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_THAT(steps[0].reply, ElementsAre(0x0D, 0x01));
  EXPECT_THAT(steps[1].reply, ElementsAre(0x14, 0x04, 1, 2, 3, 4));
  // Too large an image: "out of memory".
  EXPECT_THAT(Reply({0x0D, 0, 0, 0, 0x10}), ElementsAre(0x0D, 0xFE));
}

TEST_F(DeviceSessionTest, InterruptedFirmwareIsRecorded) {
  LogIn("old");
  Feed({0x0D, 0x10, 0, 0, 0, 1, 2, 3});
  Session().ConnectionEnded("closed by peer");
  const json record = Line(lines_.size() - 1);
  EXPECT_EQ(record["imageLength"], 3);
  EXPECT_EQ(record["result"], "transfer incomplete: closed by peer after 3 of 16 bytes");
}

TEST_F(DeviceSessionTest, StalledFirmwareStopsTakingTheImage) {
  device_.faults.firmwareStallAfter = 3;
  LogIn("old");
  std::vector<SessionStep> steps = Feed({0x0D, 0x06, 0, 0, 0, 1, 2});
  ASSERT_EQ(steps.size(), 1u);
  // One step at a time, as the server takes them: after the stall step it
  // reads nothing until the step's delay has passed.
  Session().Receive(Bytes{3, 4, 5});
  const std::optional<SessionStep> stall = Session().Next();
  ASSERT_TRUE(stall);
  EXPECT_TRUE(stall->reply.empty());
  EXPECT_EQ(stall->delayMs, 600000);
  EXPECT_EQ(stall->then, SessionStep::Then::kContinue);
  EXPECT_EQ(Session().Buffered(), 2u);  // bytes 4 and 5 stay unread
  Session().ConnectionEnded("closed by peer");
  EXPECT_EQ(Line(lines_.size() - 1)["result"],
            "transfer incomplete: closed by peer after 3 of 6 bytes");
}

TEST_F(DeviceSessionTest, StreamedFileRejectedGroupOrTaken) {
  device_.faults.streamFinalStatus = -3;
  device_.faults.streamGroupName = "QoS";
  device_.configFile = "before";
  LogIn("old");
  Bytes header = FromHex(
      "1f03000000"
      "7f000009ffffff007f00000108080808"
      "0000000000000000");
  std::vector<SessionStep> steps = Feed(header);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_THAT(steps[0].reply, ElementsAre(0x1F, 0x00));
  steps = Feed({'a', 'b', 'c'});
  ASSERT_EQ(steps.size(), 1u);
  ASSERT_EQ(steps[0].reply.size(), 32u);
  EXPECT_THAT(Bytes(steps[0].reply.begin(), steps[0].reply.begin() + 6),
              ElementsAre(0x1F, 0xFD, 'Q', 'o', 'S', 0));
  EXPECT_FALSE(steps[0].newAddresses);
  EXPECT_EQ(device_.configFile, "before");

  device_.faults.streamFinalStatus = 0;
  Feed(header);
  steps = Feed({'x', 'y', 'z'});
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].reply[1], 0);
  EXPECT_EQ(device_.configFile, "xyz");
  ASSERT_TRUE(steps[0].newAddresses);
  EXPECT_EQ(steps[0].newAddresses->ip, MakeIpv4(127, 0, 0, 9));
  EXPECT_EQ(Line(lines_.size() - 1)["fileMd5"], "d16fb36f0911f878998c136191af705e");  // "xyz"

  // A header with 255.255.255.255 (an unreadable address in the file) moves nothing.
  std::fill(header.begin() + 5, header.begin() + 9, 0xFF);
  Feed(header);
  steps = Feed({'1', '2', '3'});
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].reply[1], 0);
  EXPECT_FALSE(steps[0].newAddresses);
  EXPECT_EQ(device_.configFile, "123");
}

TEST_F(DeviceSessionTest, NetworkSettingsAnswerOrReset) {
  LogIn("old");
  const Bytes request = FromHex(
      "220000"
      "7f000008ff000000"
      "7f0000017f0000027f00000300000000");
  std::vector<SessionStep> steps = Feed(request);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_THAT(steps[0].reply, ElementsAre(0x22, 0x01));
  ASSERT_TRUE(steps[0].newAddresses);
  EXPECT_EQ(steps[0].newAddresses->ip, MakeIpv4(127, 0, 0, 8));
  EXPECT_EQ(steps[0].newAddresses->dns2, MakeIpv4(127, 0, 0, 3));

  device_.faults.resetOnNetworkSettings = true;
  steps = Feed(request);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_TRUE(steps[0].reply.empty());
  EXPECT_EQ(steps[0].then, SessionStep::Then::kReset);
  EXPECT_TRUE(steps[0].newAddresses);

  Bytes broadcast = request;
  broadcast[6] = 0xFF;  // 127.0.0.255 is no host address
  EXPECT_THAT(Reply(broadcast), ElementsAre(0x22, 0x00));
}

TEST_F(DeviceSessionTest, CommandAndBrokenFraming) {
  LogIn("old");
  EXPECT_THAT(Reply({0x29, 0x0B, 0, 1, 2, 3, 4, 5, 6, 7, 8}), ElementsAre(0x29, 0x01));
  EXPECT_EQ(Line(2)["command"], "Set Default");
  EXPECT_EQ(Line(2)["parameters"], "0102030405060708");
  std::vector<SessionStep> steps = Feed({0x77, 0xFF, 0xFF});
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].then, SessionStep::Then::kClose);
  EXPECT_TRUE(Feed({0x14}).empty());  // nothing more is read
}

}  // namespace
}  // namespace vantrell::sim
