#include "sim/session_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "platform/digest.h"
#include "sim/loopback_test_client.h"

namespace vantrell::sim {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;
using testing::LoopbackClient;
using testing::ReceiveEnd;
using Clock = std::chrono::steady_clock;

Bytes FromHex(std::string_view hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(
        static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  char two[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(two, sizeof two, "%02x", b);
    text += two;
  }
  return text;
}

SimDevice Device(std::uint8_t last, std::string password) {
  SimDevice device;
  device.modelId = 0x6008;
  device.serialNo = 42;
  device.mac = {0x02, 0, 0, 0, 0, last};
  device.ip = MakeIpv4(127, 0, 0, last);
  device.password = std::move(password);
  return device;
}

/// A session server on loopback with its loop in a thread; the device
/// addresses are 127.0.0.x with the x of the test.
class SessionServerTest : public ::testing::Test {
 protected:
  /// Starts with `recorder`, or with one that keeps the lines in memory.
  void Start(std::unique_ptr<Recorder> recorder = nullptr) {
    recorder_ = recorder ? std::move(recorder)
                         : std::make_unique<Recorder>([this](const std::string& line) {
                             std::lock_guard lock(mutex_);
                             lines_.push_back(line);
                           });
    SessionServerOptions options;
    options.port = 0;
    server_.emplace(loop_, devices_, options, recorder_.get(), nullptr);
    server_->SetDevicesChangedHandler([this] { ++devicesChanged_; });
    std::string error;
    ASSERT_EQ(server_->Start(&error), 0) << error;
    port_ = server_->Port();
    ASSERT_NE(port_, 0);
    thread_ = std::thread([this] { loop_.Run(); });
  }

  /// Stops the loop; after this the test may read the devices.
  void Stop() {
    loop_.Stop();
    if (thread_.joinable()) thread_.join();
  }

  void TearDown() override {
    Stop();
    server_.reset();
  }

  bool Connect(LoopbackClient& client, std::uint8_t last) {
    return client.Connect(MakeIpv4(127, 0, 0, last), port_);
  }

  /// Asks for a challenge and logs in; returns the device's status byte.
  int LogIn(LoopbackClient& client, std::string_view password) {
    if (!client.Send(Bytes{0x14})) return -1;
    const Bytes challenge = client.Receive(6);
    if (challenge.size() != 6 || challenge[0] != 0x14 || challenge[1] != 0x04) return -1;
    Bytes login(33, 0);
    std::copy(std::string_view("admin").begin(), std::string_view("admin").end(),
              login.begin() + 1);
    Md5Builder md5;
    md5.Add(password).Add(std::span(challenge).subspan(2, 4));
    const Md5Digest digest = md5.Finish();
    std::copy(digest.begin(), digest.end(), login.begin() + 17);
    client.Send(login);
    const Bytes answer = client.Receive(2);
    return answer.size() == 2 && answer[0] == 0x00 ? answer[1] : -1;
  }

  /// Reads a reply of opcode, 16-bit high-first length and payload.
  Bytes LengthPrefixed(LoopbackClient& client, std::uint8_t opcodeValue) {
    const Bytes header = client.Receive(3);
    if (header.size() != 3 || header[0] != opcodeValue) return {};
    return client.Receive(static_cast<std::size_t>(header[1] << 8 | header[2]));
  }

  std::vector<json> Records() {
    std::lock_guard lock(mutex_);
    std::vector<json> records;
    for (const std::string& line : lines_) records.push_back(json::parse(line));
    return records;
  }

  /// The records with this opcode, waiting up to 2 s for at least `count`.
  std::vector<json> RecordsOf(int opcodeValue, std::size_t count = 1) {
    const auto end = Clock::now() + std::chrono::seconds(2);
    std::vector<json> found;
    do {
      found.clear();
      for (const json& r : Records()) {
        if (r.contains("opcode") && r["opcode"] == opcodeValue) found.push_back(r);
      }
      if (found.size() >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (Clock::now() < end);
    return found;
  }

  std::vector<SimDevice> devices_;
  EventLoop loop_;
  std::unique_ptr<Recorder> recorder_;
  std::optional<SessionServer> server_;
  std::thread thread_;
  std::uint16_t port_ = 0;
  std::mutex mutex_;
  std::vector<std::string> lines_;
  std::atomic<int> devicesChanged_{0};
};

TEST_F(SessionServerTest, LoginAcceptedRefusedAndFaulty) {
  devices_ = {Device(41, "secret"), Device(42, "")};
  devices_[1].faults.refuseLogin = true;
  Start();
  LoopbackClient good;
  ASSERT_TRUE(Connect(good, 41));
  EXPECT_EQ(LogIn(good, "secret"), 0x01);
  LoopbackClient wrong;
  ASSERT_TRUE(Connect(wrong, 41));
  EXPECT_EQ(LogIn(wrong, "Secret"), 0x00);
  LoopbackClient refused;
  ASSERT_TRUE(Connect(refused, 42));
  EXPECT_EQ(LogIn(refused, ""), 0x00);
  const std::vector<json> logins = RecordsOf(0x00, 3);
  ASSERT_EQ(logins.size(), 3u);
  EXPECT_EQ(logins[0]["result"], "login accepted");
  EXPECT_EQ(logins[0]["mac"], "02:00:00:00:00:29");
  EXPECT_EQ(logins[0]["ip"], "127.0.0.41");
  EXPECT_EQ(logins[1]["result"], "login refused: wrong password digest");
  EXPECT_EQ(logins[2]["result"], "login refused: refuseLogin");
}

TEST_F(SessionServerTest, InfoTextWithoutLoginAndLateAnswers) {
  devices_ = {Device(43, "pw")};
  devices_[0].infoText = "Line 1\n\tLine 2";
  devices_[0].faults.replyDelayMs = 300;
  Start();
  LoopbackClient client;
  ASSERT_TRUE(Connect(client, 43));
  const auto start = Clock::now();
  ASSERT_TRUE(client.Send(Bytes{0x21}));
  const Bytes text = LengthPrefixed(client, 0x21);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(290));
  EXPECT_EQ(std::string(text.begin(), text.end()), "Line 1\n\tLine 2");
  // Two requests sent at once are answered in order, each late.
  ASSERT_TRUE(client.Send(Bytes{0x08, 0x21}));
  EXPECT_THAT(client.Receive(2), ElementsAre(0x08, 0x00));
  EXPECT_EQ(LengthPrefixed(client, 0x21).size(), 14u);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(890));
}

TEST_F(SessionServerTest, BlockRoundTripAndPasswordChangeOnCommit) {
  devices_ = {Device(44, "old")};
  devices_[0].configBlock.resize(1124);
  for (std::size_t i = 0; i < 1124; ++i) devices_[0].configBlock[i] = static_cast<std::uint8_t>(i);
  Start();
  {
    LoopbackClient client;
    ASSERT_TRUE(Connect(client, 44));
    ASSERT_EQ(LogIn(client, "old"), 0x01);
    ASSERT_TRUE(client.Send(Bytes{0x08}));
    Bytes block = LengthPrefixed(client, 0x08);
    ASSERT_EQ(block.size(), 1124u);
    EXPECT_EQ(block[1123], 1123 & 0xFF);
    block[0] = 0xEE;
    Bytes store = {0x09, 0x04, 0x64};  // 1124 = 0x0464
    store.insert(store.end(), block.begin(), block.end());
    ASSERT_TRUE(client.Send(store));
    EXPECT_THAT(client.Receive(2), ElementsAre(0x09, 0x01));
    // "old" -> "new-pass", serial 42, T = 0x01020304 (computed outside this code).
    ASSERT_TRUE(client.Send(FromHex(
        "15040302017c751dfa3574924a0f7565c54fb89ca801020304d80e611c910af8f6745fbbeaffdae6de")));
    EXPECT_THAT(client.Receive(2), ElementsAre(0x15, 0x01));
    ASSERT_TRUE(client.Send(Bytes{0x0C}));
    EXPECT_THAT(client.Receive(2), ElementsAre(0x0C, 0x01));
  }
  LoopbackClient again;
  ASSERT_TRUE(Connect(again, 44));
  ASSERT_EQ(LogIn(again, "new-pass"), 0x01);
  ASSERT_TRUE(again.Send(Bytes{0x08}));
  const Bytes block = LengthPrefixed(again, 0x08);
  ASSERT_EQ(block.size(), 1124u);
  EXPECT_EQ(block[0], 0xEE);
  const std::vector<json> changes = RecordsOf(0x15);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0]["bytes"],
            "15040302017c751dfa3574924a0f7565c54fb89ca801020304d80e611c910af8f6745fbbeaffdae6de");
  EXPECT_EQ(changes[0]["newPassword"], "new-pass");
  EXPECT_EQ(RecordsOf(0x09)[0]["blockLength"], 1124);
}

TEST_F(SessionServerTest, NetworkSettingsResetMovesTheDevice) {
  // Two devices share 127.0.0.45; the first owns the port there.
  devices_ = {Device(45, "a"), Device(45, "b")};
  devices_[1].mac[5] = 0x99;
  devices_[0].faults.resetOnNetworkSettings = true;
  Start();
  {
    LoopbackClient client;
    ASSERT_TRUE(Connect(client, 45));
    ASSERT_EQ(LogIn(client, "a"), 0x01);
    ASSERT_TRUE(
        client.Send(FromHex("220000"
                            "7f00002eff000000"
                            "7f0000017f0000027f00000301000000")));
    ReceiveEnd end;
    EXPECT_TRUE(client.Receive(2, &end).empty());
    EXPECT_EQ(end, ReceiveEnd::kReset);
  }
  // The first device now answers at 127.0.0.46, the second at the old address.
  LoopbackClient moved;
  ASSERT_TRUE(Connect(moved, 46));
  EXPECT_EQ(LogIn(moved, "a"), 0x01);
  LoopbackClient stayed;
  ASSERT_TRUE(Connect(stayed, 45));
  EXPECT_EQ(LogIn(stayed, "b"), 0x01);
  const std::vector<json> logins = RecordsOf(0x00, 3);
  ASSERT_EQ(logins.size(), 3u);
  EXPECT_EQ(logins[1]["ip"], "127.0.0.46");
  EXPECT_EQ(logins[2]["mac"], "02:00:00:00:00:99");
  const json settings = RecordsOf(0x22)[0];
  EXPECT_EQ(settings["ipAddr"], "127.0.0.46");
  EXPECT_EQ(settings["ipConfigFlags"], 1);
  Stop();
  EXPECT_EQ(devicesChanged_.load(), 1);
  EXPECT_EQ(devices_[0].ip, MakeIpv4(127, 0, 0, 46));
  EXPECT_EQ(devices_[0].netmask, MakeIpv4(255, 0, 0, 0));
  EXPECT_EQ(devices_[0].dns2, MakeIpv4(127, 0, 0, 3));
}

/// Sends a firmware image the way the workstation does: header, first
/// reply, pieces of at most 1024 bytes. Returns the final reply.
Bytes SendImage(LoopbackClient& client, const Bytes& image, ReceiveEnd* end) {
  const auto size = static_cast<std::uint32_t>(image.size());
  client.Send(Bytes{0x0D, static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                    static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)});
  const Bytes first = client.Receive(2);
  if (first != Bytes{0x0D, 0x00}) return first;
  for (std::size_t at = 0; at < image.size(); at += 1024) {
    client.Send(std::span(image).subspan(at, std::min<std::size_t>(1024, image.size() - at)));
  }
  return client.Receive(2, end);
}

TEST_F(SessionServerTest, FirmwareFinalStatusesAndCloseWithoutAnswer) {
  const std::vector<std::uint8_t> statuses = {0x01, 0xF9, 0xFA, 0xFC, 0xFE, 0x00};
  for (std::size_t i = 0; i < statuses.size(); ++i) {
    devices_.push_back(Device(static_cast<std::uint8_t>(50 + i), "fw"));
    devices_.back().faults.firmwareStatus = statuses[i];
  }
  devices_.push_back(Device(60, "fw"));
  devices_.back().faults.firmwareCloseWithoutAnswer = true;
  devices_.push_back(Device(61, "fw"));
  devices_.back().faults.firmwareFirstReply = 0x01;
  Start();
  Bytes image(3000);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  for (std::size_t i = 0; i < statuses.size(); ++i) {
    LoopbackClient client;
    ASSERT_TRUE(Connect(client, static_cast<std::uint8_t>(50 + i)));
    ASSERT_EQ(LogIn(client, "fw"), 0x01);
    EXPECT_THAT(SendImage(client, image, nullptr), ElementsAre(0x0D, statuses[i])) << i;
  }
  LoopbackClient silent;
  ASSERT_TRUE(Connect(silent, 60));
  ASSERT_EQ(LogIn(silent, "fw"), 0x01);
  ReceiveEnd end;
  EXPECT_TRUE(SendImage(silent, image, &end).empty());
  EXPECT_EQ(end, ReceiveEnd::kClosed);
  LoopbackClient refusing;
  ASSERT_TRUE(Connect(refusing, 61));
  ASSERT_EQ(LogIn(refusing, "fw"), 0x01);
  EXPECT_THAT(SendImage(refusing, image, nullptr), ElementsAre(0x0D, 0x01));

  const std::vector<json> transfers = RecordsOf(0x0D, 8);
  ASSERT_EQ(transfers.size(), 8u);
  const std::string md5 = Hex(Md5(image));
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(transfers[i]["imageLength"], 3000) << i;
    EXPECT_EQ(transfers[i]["imageMd5"], md5) << i;
    EXPECT_EQ(transfers[i]["bytes"], "0db80b0000") << i;
  }
  EXPECT_EQ(transfers[1]["result"], "image taken; final status 0xF9");
  EXPECT_EQ(transfers[6]["result"], "image taken; closed without answer");
  EXPECT_EQ(transfers[7]["result"], "first reply 0x01; no image taken");
}

TEST_F(SessionServerTest, StreamedFileRejectedWithGroupName) {
  devices_ = {Device(62, "s")};
  devices_[0].faults.streamFinalStatus = -3;
  devices_[0].faults.streamGroupName = "QoS";
  Start();
  LoopbackClient client;
  ASSERT_TRUE(Connect(client, 62));
  ASSERT_EQ(LogIn(client, "s"), 0x01);
  const std::string file = "[Meshvault Server Configuration File]\r\nModelName ORV\r\n";
  Bytes header = {0x1F, static_cast<std::uint8_t>(file.size()), 0, 0, 0};
  const Bytes addresses = FromHex("7f00003eff0000007f000001000000000000000000000000");
  header.insert(header.end(), addresses.begin(), addresses.end());
  ASSERT_EQ(header.size(), 29u);
  ASSERT_TRUE(client.Send(header));
  EXPECT_THAT(client.Receive(2), ElementsAre(0x1F, 0x00));
  ASSERT_TRUE(client.Send(file));
  const Bytes final = client.Receive(32);
  ASSERT_EQ(final.size(), 32u);
  EXPECT_THAT(Bytes(final.begin(), final.begin() + 6), ElementsAre(0x1F, 0xFD, 'Q', 'o', 'S', 0));
  const json record = RecordsOf(0x1F)[0];
  EXPECT_EQ(record["fileLength"], file.size());
  EXPECT_EQ(record["fileMd5"], Hex(Md5(file)));
}

TEST_F(SessionServerTest, SetDefaultCommandAndRecordFile) {
  const std::string path = ::testing::TempDir() + "vts_session_record.jsonl";
  std::string error;
  std::unique_ptr<Recorder> file = Recorder::OpenFile(path, &error);
  ASSERT_TRUE(file) << error;
  devices_ = {Device(63, "x")};
  Start(std::move(file));

  LoopbackClient client;
  ASSERT_TRUE(Connect(client, 63));
  ASSERT_EQ(LogIn(client, "x"), 0x01);
  ASSERT_TRUE(client.Send(Bytes{0x29, 0x0B, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_THAT(client.Receive(2), ElementsAre(0x29, 0x01));
  Stop();

  std::ifstream in(path);
  std::vector<json> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2]["proto"], "tcp");
  EXPECT_EQ(lines[2]["opcode"], 0x29);
  EXPECT_EQ(lines[2]["bytes"], "290b000000000000000000");
  EXPECT_EQ(lines[2]["command"], "Set Default");
  EXPECT_EQ(lines[2]["result"], "command acknowledged");
  EXPECT_TRUE(lines[2]["t"].is_number());
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vantrell::sim
