#include "sim/udp_responder.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

namespace vantrell::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr auto kWaitLimit = std::chrono::seconds(2);

struct Received {
  Bytes bytes;
  Ipv4 fromIp = 0;
  std::uint16_t fromPort = 0;
};

/// A test client on 127.0.0.1 that talks only to loopback addresses.
class LoopbackClient {
 public:
  LoopbackClient() {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = MakeIpv4(127, 0, 0, 1);
    bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
  }
  ~LoopbackClient() { close(fd_); }

  void Send(const Bytes& bytes, Ipv4 to, std::uint16_t port) {
    ASSERT_EQ(Ipv4Octet(to, 0), 127) << "tests send to loopback only";
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = to;
    address.sin_port = htons(port);
    ASSERT_EQ(sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address),
                     sizeof address),
              static_cast<ssize_t>(bytes.size()));
  }

  /// Collects datagrams until `count` arrived or `limit` passed.
  std::vector<Received> Collect(std::size_t count, Clock::duration limit = kWaitLimit) {
    std::vector<Received> all;
    const Clock::time_point end = Clock::now() + limit;
    while (all.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
      if (left.count() <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      Received r;
      r.bytes.resize(2048);
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t n = recvfrom(fd_, r.bytes.data(), r.bytes.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &length);
      if (n < 0) break;
      r.bytes.resize(static_cast<std::size_t>(n));
      r.fromIp = from.sin_addr.s_addr;
      r.fromPort = ntohs(from.sin_port);
      all.push_back(std::move(r));
    }
    return all;
  }

 private:
  int fd_ = -1;
};

SimDevice Device(std::uint16_t modelId, std::uint8_t last, DetailsForm details) {
  SimDevice device;
  device.modelId = modelId;
  device.mac = {0x02, 0, 0, 0, 0, last};
  device.ip = MakeIpv4(127, 0, 0, last);
  device.details = details;
  device.name = "dev" + std::to_string(last);
  return device;
}

/// Runs a responder on a free port in its own loop thread.
class UdpResponderLoopbackTest : public ::testing::Test {
 protected:
  void Start() {
    UdpResponderOptions options;
    options.port = 0;
    options.verbose = true;
    responder_.emplace(loop_, devices_, options, [this](const std::string& line) {
      std::lock_guard lock(logMutex_);
      log_.push_back(line);
    });
    std::string error;
    ASSERT_EQ(responder_->Start(&error), 0) << error;
    port_ = responder_->Port();
    ASSERT_NE(port_, 0);
    thread_ = std::thread([this] { loop_.Run(); });
  }

  void TearDown() override {
    loop_.Stop();
    if (thread_.joinable()) thread_.join();
    responder_.reset();
  }

  std::vector<SimDevice> devices_ = {
      Device(0x3508, 2, DetailsForm::k86),
      Device(0x0726, 3, DetailsForm::k1186),
      Device(0x6008, 4, DetailsForm::k98),
  };
  EventLoop loop_;
  std::optional<UdpResponder> responder_;
  std::thread thread_;
  std::uint16_t port_ = 0;
  std::mutex logMutex_;
  std::vector<std::string> log_;
  LoopbackClient client_;
};

TEST_F(UdpResponderLoopbackTest, DiscoveryRepliesComeFromEachDeviceAddress) {
  Start();
  client_.Send({0x48, 0, 0, 6, 0x21, 0x43}, MakeIpv4(127, 0, 0, 1), port_);
  std::vector<Received> replies = client_.Collect(3, std::chrono::milliseconds(500));
  ASSERT_EQ(replies.size(), 2u);  // the D8 at 127.0.0.4 stays quiet on 'H'
  std::sort(replies.begin(), replies.end(),
            [](const Received& a, const Received& b) { return a.bytes[23] < b.bytes[23]; });
  for (std::size_t i = 0; i < 2; ++i) {
    const std::uint8_t last = static_cast<std::uint8_t>(2 + i);
    EXPECT_EQ(replies[i].fromIp, MakeIpv4(127, 0, 0, last));
    EXPECT_EQ(replies[i].fromPort, port_);
    ASSERT_EQ(replies[i].bytes.size(), 24u);
    EXPECT_EQ(replies[i].bytes[0], 0xC9);
    EXPECT_EQ(replies[i].bytes[4], 0x21);
    EXPECT_EQ(replies[i].bytes[5], 0x43);
    EXPECT_EQ(Bytes(replies[i].bytes.begin() + 14, replies[i].bytes.begin() + 18),
              (Bytes{127, 0, 0, 1}));
    EXPECT_EQ(replies[i].bytes[23], last);
  }

  client_.Send({0x49, 0, 0, 6, 0x21, 0x43}, MakeIpv4(127, 0, 0, 1), port_);
  replies = client_.Collect(2, std::chrono::milliseconds(500));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].fromIp, MakeIpv4(127, 0, 0, 4));
  EXPECT_EQ(replies[0].bytes[10], 0x08);
  EXPECT_EQ(replies[0].bytes[11], 0x60);
}

TEST_F(UdpResponderLoopbackTest, DetailsReplyComesFromTheAskedAddress) {
  Start();
  client_.Send({0x01, 0, 0, 6, 0x05, 0x00}, MakeIpv4(127, 0, 0, 3), port_);
  const std::vector<Received> replies = client_.Collect(1);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].fromIp, MakeIpv4(127, 0, 0, 3));
  EXPECT_EQ(replies[0].fromPort, port_);
  ASSERT_EQ(replies[0].bytes.size(), 1186u);
  EXPECT_EQ(replies[0].bytes[0], 0x81);
  EXPECT_EQ(replies[0].bytes[1], 0x00);
  EXPECT_EQ(replies[0].bytes[4], 0x05);
  EXPECT_EQ(std::string(replies[0].bytes.begin() + 28, replies[0].bytes.begin() + 32), "dev3");
}

TEST_F(UdpResponderLoopbackTest, LateDetailsReplyKeepsItsDelay) {
  devices_[0].faults.detailsDelayMs = 150;
  Start();
  const Clock::time_point sent = Clock::now();
  client_.Send({0x01, 0, 0, 6, 0x07, 0x00}, MakeIpv4(127, 0, 0, 2), port_);
  EXPECT_TRUE(client_.Collect(1, std::chrono::milliseconds(100)).empty());
  const std::vector<Received> replies = client_.Collect(1);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(150));
  EXPECT_EQ(replies[0].fromIp, MakeIpv4(127, 0, 0, 2));
  EXPECT_EQ(replies[0].bytes.size(), 86u);
}

TEST_F(UdpResponderLoopbackTest, VerboseLogHasOneLinePerDatagram) {
  Start();
  client_.Send({0x01, 0, 0, 6, 0x09, 0x00}, MakeIpv4(127, 0, 0, 4), port_);
  ASSERT_EQ(client_.Collect(1).size(), 1u);
  loop_.Stop();
  thread_.join();
  std::vector<std::string> traffic;
  for (const std::string& line : log_) {
    if (line.starts_with("recv ") || line.starts_with("send ")) traffic.push_back(line);
  }
  ASSERT_EQ(traffic.size(), 2u);
  EXPECT_THAT(traffic[0], ::testing::StartsWith("recv 6 bytes from 127.0.0.1:"));
  EXPECT_THAT(traffic[1], ::testing::StartsWith("send 98 bytes from 127.0.0.4 to 127.0.0.1:"));
}

TEST(UdpResponderTest, SecondResponderOnTheSamePortFailsToStart) {
  EventLoop loop;
  const std::vector<SimDevice> devices;
  UdpResponderOptions options;
  options.port = 0;
  UdpResponder first(loop, devices, options, nullptr);
  ASSERT_EQ(first.Start(nullptr), 0);
  options.port = first.Port();
  UdpResponder second(loop, devices, options, nullptr);
  std::string error;
  EXPECT_EQ(second.Start(&error), -1);
  EXPECT_THAT(error, ::testing::StartsWith("cannot bind UDP port " + std::to_string(options.port)));
}

}  // namespace
}  // namespace vantrell::sim
