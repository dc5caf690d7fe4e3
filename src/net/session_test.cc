// The session functions against a scripted device on loopback.
#include "net/session.h"

#include "support/scripted_device.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <thread>
#include <variant>

namespace vantrell {
namespace {

using namespace std::chrono_literals;
using namespace vantrell::test_support;

const Ipv4 kLoopback = MakeIpv4(127, 0, 0, 1);

DeviceRecord Device() {
  DeviceRecord record = MakeZeroRecord();
  record.serialNo = 0x1234;
  SetFieldText(record.password, "secret");
  return record;
}

Session Open(ScriptedDevice& device) {
  Session session;
  EXPECT_EQ(openSession(kLoopback, session, device.timing()), 0);
  return session;
}

int LoginWith(const Bytes& challengeReply, const Bytes& loginReply, std::vector<Bytes>* seen) {
  std::vector<Step> steps{Expect{1}, Send{challengeReply}};
  if (!loginReply.empty()) {
    steps.push_back(Expect{33});
    steps.push_back(Send{loginReply});
  }
  ScriptedDevice device(steps);
  Session session = Open(device);
  const int rc = login(session, "admin", "secret");
  session.connection.reset();
  *seen = device.received();
  return rc;
}

TEST(SessionLogin, ChallengeThenDigestAsAdmin) {
  std::vector<Bytes> seen;
  EXPECT_EQ(LoginWith({0x14, 0x04, 0xDE, 0xAD, 0xBE, 0xEF}, {0x00, 0x01}, &seen), 0);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], Bytes{0x14});
  EXPECT_EQ(seen[1].size(), 33u);
  EXPECT_EQ(seen[1][17], 0xEF);  // MD5("secret", DE AD BE EF) begins with EF 5B
  EXPECT_EQ(seen[1][18], 0x5B);
}

TEST(SessionLogin, BadChallengeFailsBeforeTheLoginRequest) {
  std::vector<Bytes> seen;
  EXPECT_EQ(LoginWith({0x14, 0x04, 0xDE, 0xAD, 0xBE}, {}, &seen), -1);
  EXPECT_EQ(LoginWith({0x14, 0x05, 0xDE, 0xAD, 0xBE, 0xEF}, {}, &seen), -1);
  ASSERT_EQ(seen.size(), 1u);
}

TEST(SessionLogin, RefusalsFail) {
  std::vector<Bytes> seen;
  EXPECT_EQ(LoginWith({0x14, 0x04, 1, 2, 3, 4}, {0x00, 0x00}, &seen), -1);
  EXPECT_EQ(LoginWith({0x14, 0x04, 1, 2, 3, 4}, {0x01, 0x01}, &seen), -1);
}

TEST(SessionOpen, NobodyListeningFails) {
  Session session;
  Timing timing;
  timing.devicePort = 1;  // nothing listens on loopback port 1
  EXPECT_EQ(openSession(kLoopback, session, timing), -1);
  EXPECT_FALSE(session.connection);
}

TEST(SessionBlock, LongerBlockKeepsTheFirstCapacityBytes) {
  Bytes reply{0x08, 0x00, 0x06, 1, 2, 3, 4, 5, 6};
  ScriptedDevice device({Expect{1}, Send{reply}});
  Session session = Open(device);
  std::uint8_t buffer[4] = {};
  std::size_t kept = 0;
  EXPECT_EQ(fetchConfigBlock(session, buffer, &kept), 0);
  EXPECT_EQ(kept, 4u);
  EXPECT_THAT(buffer, ::testing::ElementsAre(1, 2, 3, 4));
}

TEST(SessionBlock, EmptyBlockFailsAndStoreNeedsTheAck) {
  {
    ScriptedDevice device({Expect{1}, Send{{0x08, 0x00, 0x00}}});
    Session session = Open(device);
    std::uint8_t buffer[4];
    EXPECT_EQ(fetchConfigBlock(session, buffer), -1);
  }
  {
    ScriptedDevice device({Expect{5}, Send{{0x09, 0x01}}, Expect{1}, Send{{0x0C, 0x00}}});
    Session session = Open(device);
    const Bytes block = {0xAA, 0xBB};
    EXPECT_EQ(storeConfigBlock(session, block), 0);
    EXPECT_EQ(commitChanges(session), -1);
    session.connection.reset();
    EXPECT_EQ(device.received()[0], (Bytes{0x09, 0x00, 0x02, 0xAA, 0xBB}));
  }
}

std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("vantrell-session-" + std::to_string(::getpid()) + "-" + name);
}

TEST(SessionConfigFile, ZeroHeaderLengthIsFollowedByA32BitLength) {
  Bytes reply{0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 'h', 'e', 'l', 'l', 'o'};
  ScriptedDevice device({Expect{1}, Send{reply}});
  Session session = Open(device);
  const auto path = TempPath("config.txt");
  ASSERT_EQ(fetchConfigFile(session, path), 0);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "hello");
  std::filesystem::remove(path);
}

TEST(SessionConfigFile, ShortTransferLeavesNoFile) {
  ScriptedDevice device({Expect{1}, Send{{0x20, 0x00, 0x09, 'a', 'b'}}, Reset{}});
  Session session = Open(device);
  const auto path = TempPath("short.txt");
  EXPECT_EQ(fetchConfigFile(session, path), -1);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SessionConfigFile, AnnouncementAbove16MiBFailsAtOnce) {
  // 16 MiB is taken; one byte more fails before anything is read or written.
  for (const std::uint32_t announced : {0x01000000u, 0x01000001u}) {
    Bytes reply{0x20, 0x00, 0x00};
    for (int shift = 24; shift >= 0; shift -= 8) {
      reply.push_back(static_cast<std::uint8_t>(announced >> shift));
    }
    reply.push_back('x');
    ScriptedDevice device({Expect{1}, Send{reply}, Pause{300}});
    Session session = Open(device);
    const auto path = TempPath("huge.txt");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fetchConfigFile(session, path), -1);
    EXPECT_FALSE(std::filesystem::exists(path));
    if (announced > 0x01000000u) {
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    } else {
      // Within the cap: the transfer starts and fails on the missing bytes.
      EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    }
  }
}

TEST(SessionTransfers, DrippingDeviceEndsAtTheOverallLimit) {
  // One byte every 100 ms: each read well within replyMs, but the whole
  // transfer stops at transferLimitMs (shortened to 400 ms here), for the
  // file, the block and the information text alike.
  std::vector<Step> drip;
  for (int i = 0; i < 12; ++i) {
    drip.push_back(Pause{100});
    drip.push_back(Send{{'a'}});
  }
  const auto run = [&](Bytes header, const std::function<int(Session&)>& fetch) {
    std::vector<Step> steps{Expect{1}, Send{std::move(header)}};
    steps.insert(steps.end(), drip.begin(), drip.end());
    ScriptedDevice device(steps);
    Timing timing = device.timing();
    timing.transferLimitMs = 400;
    Session session;
    EXPECT_EQ(openSession(kLoopback, session, timing), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fetch(session), -1);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(380));
    EXPECT_LT(took, std::chrono::milliseconds(900));
    session.connection->Abort();
  };
  const auto path = TempPath("drip.txt");
  run({0x20, 0x00, 0x0C}, [&](Session& session) { return fetchConfigFile(session, path); });
  EXPECT_FALSE(std::filesystem::exists(path));
  run({0x08, 0x00, 0x0C}, [](Session& session) {
    std::uint8_t block[12];
    return fetchConfigBlock(session, block);
  });
  run({0x21, 0x00, 0x0C}, [](Session& session) {
    char text[64];
    return fetchInfoText(session, text);
  });
}

TEST(SessionInfoText, TooLongTextFailsWithoutReadingIt) {
  ScriptedDevice device({Expect{1}, Send{{0x21, 0x04, 0x00}}});
  Session session = Open(device);
  char text[1024] = "old";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(fetchInfoText(session, text), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 400ms);
  EXPECT_STREQ(text, "");
}

TEST(SessionInfoText, TextIsTerminated) {
  ScriptedDevice device({Expect{1}, Send{{0x21, 0x00, 0x04, 'A', '\t', 'B', '\n'}}});
  Session session = Open(device);
  char text[1024];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(fetchInfoText(session, text), 0);
  EXPECT_STREQ(text, "A\tB\n");
}

TEST(SessionStream, RefusedGroupIsNamed) {
  const auto path = TempPath("stream.txt");
  std::ofstream(path, std::ios::binary) << std::string(2500, 'c');
  Bytes final(32, 0);
  final[0] = 0x1F;
  final[1] = 0xFD;
  std::memcpy(&final[2], "QoS", 3);
  ScriptedDevice device({Expect{29}, Send{{0x1F, 0x00}}, Expect{2500}, Send{final}});
  Session session = Open(device);
  std::string group;
  EXPECT_EQ(streamConfigFile(session, Device(), path, group), kSessionGroupRejected);
  EXPECT_EQ(group, "QoS");
  session.connection.reset();
  const auto seen = device.received();
  EXPECT_THAT(Bytes(seen[0].begin(), seen[0].begin() + 5),
              ::testing::ElementsAre(0x1F, 0xC4, 0x09, 0x00, 0x00));
  EXPECT_EQ(seen[1].size(), 2500u);
  std::filesystem::remove(path);
}

TEST(SessionStream, SilentDeviceTimesOutAndMissingFileFails) {
  const auto path = TempPath("silent.txt");
  std::ofstream(path, std::ios::binary) << "x";
  {
    ScriptedDevice device({Expect{29}, Send{{0x1F, 0x00}}, Expect{1}, Pause{600}});
    Session session = Open(device);
    std::string group;
    EXPECT_EQ(streamConfigFile(session, Device(), path, group), kSessionTimeout);
  }
  {
    ScriptedDevice device({});
    Session session = Open(device);
    std::string group;
    int openError = 0;
    EXPECT_EQ(streamConfigFile(session, Device(), TempPath("missing"), group, &openError), -1);
    EXPECT_EQ(openError, ENOENT);
  }
  std::filesystem::remove(path);
}

TEST(SessionNetworkSettings, ResetMeansTheAddressWasApplied) {
  ScriptedDevice device({Expect{27}, Reset{}});
  Session session = Open(device);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(setNetworkSettings(session, Device()), kSessionAddressApplied);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST(SessionNetworkSettings, AckAndRefusal) {
  {
    ScriptedDevice device({Expect{27}, Send{{0x22, 0x01}}});
    Session session = Open(device);
    EXPECT_EQ(setNetworkSettings(session, Device()), 0);
  }
  {
    ScriptedDevice device({Expect{27}, Send{{0x22, 0x00}}});
    Session session = Open(device);
    EXPECT_EQ(setNetworkSettings(session, Device()), -1);
  }
}

TEST(SessionMasks, PortMasksLowByteFirstAndCommands) {
  ScriptedDevice device({Expect{1}, Send{{0x1E, 0x00, 0x01, 0x02, 0x00, 0x00, 0xFF, 0, 0, 0x80}},
                         Expect{11}, Send{{0x31, 0x01}}});
  Session session = Open(device);
  std::uint32_t ports = 0, trunks = 0;
  EXPECT_EQ(fetchPortMasks(session, ports, trunks), 0);
  EXPECT_EQ(ports, 0x0201u);
  EXPECT_EQ(trunks, 0x800000FFu);
  EXPECT_EQ(sendCommand(session, 0x31), 0);
}

TEST(SessionAbort, AnotherThreadEndsAPendingWaitAtOnce) {
  ScriptedDevice device({Expect{1}, Pause{800}});
  Session session = Open(device);
  session.timing.replyMs = 5000;
  std::thread canceller([connection = session.connection] {
    std::this_thread::sleep_for(50ms);
    connection->Abort();
    connection->Abort();  // twice is harmless
  });
  const auto start = std::chrono::steady_clock::now();
  std::uint8_t buffer[8];
  EXPECT_EQ(fetchConfigBlock(session, buffer), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  canceller.join();
  EXPECT_EQ(sendCommand(session, 0x31), -1);
}

}  // namespace
}  // namespace vantrell
