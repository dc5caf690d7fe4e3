#include "netd/netd_server.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <thread>

#include "netd/fake_net_tables.h"

namespace vantrell {
namespace {

using test_support::FakeNetTables;
using test_support::kLanAddress;

/// A helper's conversation on one end of a socket pair, served on a thread.
class Conversation {
 public:
  explicit Conversation(FakeNetTables& tables) : keeper_(tables) {
    int ends[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends), 0);
    client_ = ends[0];
    server_ = ends[1];
    thread_ = std::thread([this] {
      ServeClient(
          server_, keeper_, [] { return 3; }, stop_);
      ::close(server_);
    });
  }
  ~Conversation() { End(); }

  /// Sends bytes, returns the answer's bytes (empty at end of file).
  std::vector<std::uint8_t> Ask(std::span<const std::uint8_t> request) {
    ::send(client_, request.data(), request.size(), 0);
    std::array<std::uint8_t, 64> buffer{};
    const ssize_t n = ::recv(client_, buffer.data(), buffer.size(), 0);
    return std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + std::max<ssize_t>(n, 0));
  }
  /// Closes the client's end and waits until the helper has cleaned up.
  void End() {
    if (client_ >= 0) ::close(client_);
    client_ = -1;
    if (thread_.joinable()) thread_.join();
  }

 private:
  BracketKeeper keeper_;
  std::atomic<bool> stop_{false};
  int client_ = -1;
  int server_ = -1;
  std::thread thread_;
};

std::array<std::uint8_t, kNetdRequestSize> AddForeign() {
  return EncodeNetdRequest(NetdRequest{NetdRequestKind::kAdd,
                                       kLanAddress,
                                       MakeIpv4(172, 16, 4, 9),
                                       {0x00, 0x60, 0xE9, 0x12, 0x34, 0x56}});
}

TEST(NetdServer, AnswersRequestsAndRemovesEverythingAtEndOfFile) {
  FakeNetTables tables;
  Conversation conversation(tables);
  EXPECT_EQ(conversation.Ask(AddForeign()),
            (std::vector<std::uint8_t>{0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(tables.neighbours.size(), 1u);
  EXPECT_EQ(tables.routes.size(), 1u);
  NetdRequest cleanup;
  cleanup.kind = NetdRequestKind::kCleanup;
  EXPECT_EQ(conversation.Ask(EncodeNetdRequest(cleanup)),
            (std::vector<std::uint8_t>{0x04, 0x05, 0x00, 0x00, 0, 0, 0, 0, 3, 0, 0, 0}));
  conversation.End();  // a client killed with SIGKILL looks just like this
  EXPECT_TRUE(tables.neighbours.empty());
  EXPECT_TRUE(tables.routes.empty());
}

TEST(NetdServer, AnIllFormedRequestEndsTheConversationAndCleansUp) {
  FakeNetTables tables;
  Conversation conversation(tables);
  conversation.Ask(AddForeign());
  auto bad = AddForeign();
  bad[19] = 0xFF;
  EXPECT_TRUE(conversation.Ask(bad).empty());  // end of file instead of an answer
  EXPECT_TRUE(tables.neighbours.empty());
  EXPECT_TRUE(tables.routes.empty());
}

TEST(NetdServer, RemoveAllIsAnswered) {
  FakeNetTables tables;
  Conversation conversation(tables);
  conversation.Ask(AddForeign());
  NetdRequest all;
  all.kind = NetdRequestKind::kRemoveAll;
  EXPECT_EQ(conversation.Ask(EncodeNetdRequest(all))[0], 0x03);
  EXPECT_TRUE(tables.neighbours.empty());
}

}  // namespace
}  // namespace vantrell
