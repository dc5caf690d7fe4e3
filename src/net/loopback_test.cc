// The details query and the search worker against a device played on
// loopback: nothing here leaves 127.0.0.0/8.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "core/byte_order.h"
#include "net/details_query.h"
#include "net/search_worker.h"
#include "platform/udp_socket.h"

namespace vantrell {
namespace {

using namespace std::chrono_literals;

/// A device on a loopback address that answers each request with what
/// `answer` returns (nothing: stay quiet) and remembers the requests.
class LoopbackDevice {
 public:
  using Answer = std::function<std::vector<std::vector<std::uint8_t>>(
      const std::vector<std::uint8_t>& request)>;

  /// With `replyFrom`, the answers leave from a socket of that address
  /// instead (a third party answering in the device's place).
  LoopbackDevice(Ipv4 address, Answer answer, std::optional<Ipv4> replyFrom = std::nullopt)
      : answer_(std::move(answer)) {
    socket_.emplace(std::move(*UdpSocket::Open()));
    EXPECT_EQ(socket_->Bind(address, 0), 0);
    port_ = socket_->LocalPort();
    if (replyFrom) {
      spoofer_.emplace(std::move(*UdpSocket::Open()));
      EXPECT_EQ(spoofer_->Bind(*replyFrom, 0), 0);
    }
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackDevice() {
    stop_ = true;
    thread_.join();
  }

  std::uint16_t port() const { return port_; }
  std::vector<std::vector<std::uint8_t>> requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void Serve() {
    const int fd = socket_->fd();
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!stop_ && std::chrono::steady_clock::now() < deadline) {
      if (!WaitReadable(std::span(&fd, 1), 10)[0]) continue;
      std::vector<std::uint8_t> request(2048);
      Ipv4 source = 0;
      std::uint16_t sourcePort = 0;
      const int length = socket_->ReceiveFrom(request, &source, &sourcePort);
      if (length < 0) continue;
      request.resize(static_cast<std::size_t>(length));
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
      }
      UdpSocket& sender = spoofer_ ? *spoofer_ : *socket_;
      for (const auto& reply : answer_(request)) sender.SendTo(reply, source, sourcePort);
    }
  }

  Answer answer_;
  std::optional<UdpSocket> socket_;
  std::optional<UdpSocket> spoofer_;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::vector<std::uint8_t>> requests_;
  std::thread thread_;
};

const Ipv4 kDeviceAddr = MakeIpv4(127, 0, 0, 5);
const Ipv4 kWorkstationAddr = MakeIpv4(127, 0, 0, 2);

std::vector<std::uint8_t> DetailsReply(const std::vector<std::uint8_t>& request,
                                       std::uint8_t status) {
  std::vector<std::uint8_t> reply(86, 0);
  reply[0] = 0x81;
  reply[1] = status;
  reply[4] = request[4];
  reply[5] = request[5];
  reply[22 + 3] = 0x02;  // firmware 2.0, low byte first
  std::memcpy(&reply[28], "loop", 4);
  return reply;
}

Timing FastTiming(std::uint16_t port) {
  Timing timing;
  timing.devicePort = port;
  timing.searchCycleMs = 100;
  timing.searchWaitMs = 20;
  return timing;
}

TEST(DetailsQueryLoopback, FillsTheRecordFromTheFirstAcceptableReply) {
  LoopbackDevice device(kDeviceAddr, [](const auto& request) {
    return std::vector{DetailsReply(request, 1), DetailsReply(request, 0)};
  });
  DeviceRecord record = MakeZeroRecord();
  record.ipAddr = kDeviceAddr;
  ASSERT_EQ(QueryDeviceDetails(record, FastTiming(device.port())), 0);
  EXPECT_EQ(record.firmwareVersion, 0x02000000u);
  EXPECT_EQ(FieldText(record.serverName), "loop");
  // The refused first reply ended the first attempt; the second read the good one.
  for (int i = 0; i < 100 && device.requests().size() < 2; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(device.requests().size(), 2u);
  EXPECT_THAT(device.requests()[0], ::testing::ElementsAre(0x01, 0x00, 0x00, 0x06, ::testing::_,
                                                           ::testing::Le(0x7F)));
}

TEST(DetailsQueryLoopback, ReplyFromAnotherAddressIsNeverSeen) {
  // A third party answers every request at once with a perfect reply; the
  // device itself stays silent. The query must neither take the reply nor
  // end its attempts early.
  LoopbackDevice device(
      kDeviceAddr,
      [](const auto& request) {
        return std::vector<std::vector<std::uint8_t>>{DetailsReply(request, 0)};
      },
      MakeIpv4(127, 0, 0, 9));
  DeviceRecord record = MakeZeroRecord();
  record.ipAddr = kDeviceAddr;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(QueryDeviceDetails(record, FastTiming(device.port())), -1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 290ms);
  EXPECT_EQ(device.requests().size(), 3u);
  EXPECT_EQ(record.firmwareVersion, 0u);
  EXPECT_EQ(FieldText(record.serverName), "");
}

TEST(DetailsQueryLoopback, UnreachablePortStillWaitsEachAttempt) {
  // Nothing listens: the system reports the port unreachable on the
  // connected socket at once; each attempt still waits its 100 ms.
  UdpSocket probe = std::move(*UdpSocket::Open());
  ASSERT_EQ(probe.Bind(kDeviceAddr, 0), 0);
  Timing timing = FastTiming(probe.LocalPort());
  probe = std::move(*UdpSocket::Open());  // frees the port
  DeviceRecord record = MakeZeroRecord();
  record.ipAddr = kDeviceAddr;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(QueryDeviceDetails(record, timing), -1);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, 290ms);
  EXPECT_LT(elapsed, 1000ms);
}

TEST(DetailsQueryLoopback, SilentDeviceFailsAfterThreeAttempts) {
  LoopbackDevice device(kDeviceAddr, [](const auto&) { return std::vector<std::vector<std::uint8_t>>{}; });
  DeviceRecord record = MakeZeroRecord();
  record.ipAddr = kDeviceAddr;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(QueryDeviceDetails(record, FastTiming(device.port())), -1);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, 290ms);
  EXPECT_LT(elapsed, 1000ms);
  EXPECT_EQ(device.requests().size(), 3u);
  EXPECT_EQ(record, [] {
    DeviceRecord r = MakeZeroRecord();
    r.ipAddr = kDeviceAddr;
    return r;
  }());
}

/// A short discovery reply for `request` heard on the workstation address.
std::vector<std::uint8_t> DiscoveryReply(const std::vector<std::uint8_t>& request,
                                         std::uint8_t macTail) {
  std::vector<std::uint8_t> reply(24, 0);
  reply[0] = 0xC9;
  reply[4] = request[4];
  reply[5] = request[5];
  StoreLe16(&reply[10], 0x3508);
  StoreRaw32(&reply[14], kWorkstationAddr);
  const std::uint8_t mac[6] = {0x00, 0x60, 0xE9, 0x00, 0x00, macTail};
  std::memcpy(&reply[18], mac, 6);
  return reply;
}

struct RecordingSink : MessageSink {
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    std::lock_guard lock(mutex);
    messages.emplace_back(text);
    icons.push_back(icon);
  }
  std::mutex mutex;
  std::vector<std::string> messages;
  std::vector<MessageIcon> icons;
};

SearchEndpoints LoopbackEndpoints() {
  SearchEndpoints endpoints;
  endpoints.localAddresses = [] {
    return std::optional(std::vector<Ipv4>{0, MakeIpv4(127, 0, 0, 1), kWorkstationAddr});
  };
  endpoints.destination = kDeviceAddr;
  return endpoints;
}

TEST(SearchWorkerLoopback, CollectsDevicesOnceAndReArmsTheCountdown) {
  LoopbackDevice device(kDeviceAddr, [](const auto& request) {
    if (request[0] != 'H') return std::vector<std::vector<std::uint8_t>>{};
    return std::vector{DiscoveryReply(request, 1), DiscoveryReply(request, 2),
                       DiscoveryReply(request, 1)};
  });
  SearchContext context;
  context.countdownMs = 123;
  RecordingSink sink;
  std::thread worker([&] { SearchWorker(context, LoopbackEndpoints(), FastTiming(device.port()), sink); });

  const auto deadline = std::chrono::steady_clock::now() + 3s;
  for (;;) {
    std::this_thread::sleep_for(10ms);
    std::lock_guard lock(context.searchLock);
    if (device.requests().size() >= 4 || std::chrono::steady_clock::now() > deadline) {
      context.stopRequested = true;
      break;
    }
  }
  const auto stopAt = std::chrono::steady_clock::now();
  worker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 200ms);

  ASSERT_EQ(context.found.size(), 2u);
  EXPECT_EQ(context.found[0].mac[5], 1);
  EXPECT_EQ(context.found[1].mac[5], 2);
  EXPECT_EQ(context.found[0].localIfAddr, kWorkstationAddr);
  EXPECT_EQ(context.found[0].ipAddr, kDeviceAddr);
  EXPECT_EQ(context.countdownMs, 5000u);
  EXPECT_TRUE(sink.messages.empty());

  // One socket (127.0.0.1 and 0.0.0.0 are left out): 'I' then 'H' each cycle,
  // one sequence number for the whole search, known devices listed later.
  const auto requests = device.requests();
  ASSERT_GE(requests.size(), 4u);
  EXPECT_EQ(requests[0][0], 'I');
  EXPECT_EQ(requests[1][0], 'H');
  EXPECT_EQ(requests[1].size(), 6u);
  EXPECT_EQ(requests[3][0], 'H');
  EXPECT_EQ(requests[3].size(), 18u);
  EXPECT_EQ(LoadLe16(&requests[3][4]), LoadLe16(&requests[0][4]));
  EXPECT_LE(LoadLe16(&requests[0][4]), 32767);
}

TEST(SearchWorkerLoopback, FullListDropsNewDevicesWithoutReArming) {
  // Five new devices per cycle against a limit of three: the fourth and
  // fifth are dropped, flag the limit and leave the countdown alone; the
  // known ones are still heard.
  LoopbackDevice device(kDeviceAddr, [](const auto& request) {
    std::vector<std::vector<std::uint8_t>> replies;
    if (request[0] != 'H') return replies;
    for (std::uint8_t tail = 1; tail <= 5; ++tail) replies.push_back(DiscoveryReply(request, tail));
    return replies;
  });
  SearchContext context;
  RecordingSink sink;
  Timing timing = FastTiming(device.port());
  timing.searchDeviceLimit = 3;
  std::thread worker([&] { SearchWorker(context, LoopbackEndpoints(), timing, sink); });
  const auto deadline = std::chrono::steady_clock::now() + 3s;
  for (;;) {
    std::this_thread::sleep_for(10ms);
    std::lock_guard lock(context.searchLock);
    if (context.limitReached) context.countdownMs = 0;  // a re-arm would show
    if (device.requests().size() >= 4 || std::chrono::steady_clock::now() > deadline) {
      context.stopRequested = true;
      break;
    }
  }
  worker.join();
  ASSERT_EQ(context.found.size(), 3u);
  EXPECT_EQ(context.found[2].mac[5], 3);
  EXPECT_TRUE(context.limitReached);
  EXPECT_EQ(context.countdownMs, 0u);
}

TEST(SearchWorkerLoopback, UnreadableAddressTableEndsTheWorkerWithItsMessage) {
  SearchContext context;
  RecordingSink sink;
  SearchEndpoints endpoints;
  endpoints.localAddresses = [] { return std::optional<std::vector<Ipv4>>{}; };
  EXPECT_EQ(SearchWorker(context, endpoints, Timing{}, sink), 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "broadcast_search table not found.");
  EXPECT_EQ(sink.icons[0], MessageIcon::kStop);
  EXPECT_TRUE(context.found.empty());
}

}  // namespace
}  // namespace vantrell
