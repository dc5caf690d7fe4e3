#include "platform/netd_client.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <functional>
#include <thread>

namespace vantrell {
namespace {

namespace fs = std::filesystem;

TEST(NetdClient, TheHelperIsLookedForBesideTheProgramInTheBuildTreeThenInLibexec) {
  const fs::path folder = fs::read_symlink("/proc/self/exe").parent_path();
  const std::vector<fs::path> candidates = NetdHelperCandidates();
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0], folder / "vantrell-netd");
  EXPECT_EQ(candidates[1], folder.parent_path() / "netd" / "vantrell-netd");
  EXPECT_TRUE(candidates[2].string().ends_with("/libexec/vantrell/vantrell-netd")) << candidates[2];
  EXPECT_TRUE(candidates[2].is_absolute());
}

TEST(NetdClient, TheNoticeSaysWhereTheCapabilityGoes) {
  const std::string text = NetdMissingText("/usr/libexec/vantrell/vantrell-netd");
  EXPECT_TRUE(
      text.starts_with("The network helper /usr/libexec/vantrell/vantrell-netd is "
                       "missing or lacks the CAP_NET_ADMIN capability"))
      << text;
  EXPECT_NE(text.find("\"sudo setcap cap_net_admin+ep /usr/libexec/vantrell/vantrell-netd\""),
            std::string::npos);
}

/// A client talking to a forked stand-in for the helper that answers each
/// request with `answer(request bytes)` (nothing: no answer, end).
std::unique_ptr<NetdClient> ClientOf(
    const std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>&)>& answer) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends) != 0) return nullptr;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ends[0]);
    std::array<std::uint8_t, 64> buffer{};
    for (;;) {
      const ssize_t n = ::recv(ends[1], buffer.data(), buffer.size(), 0);
      if (n <= 0) ::_exit(0);
      const auto reply = answer(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + n));
      if (reply.empty()) ::_exit(0);
      ::send(ends[1], reply.data(), reply.size(), 0);
    }
  }
  ::close(ends[1]);
  return std::make_unique<NetdClient>(ends[0], child);
}

NetdRequest RemoveRequest() {
  NetdRequest request;
  request.kind = NetdRequestKind::kRemove;
  request.deviceAddr = MakeIpv4(10, 77, 0, 9);
  return request;
}

TEST(NetdClient, AnswersAreCheckedAgainstTheRequest) {
  auto echo = ClientOf([](const std::vector<std::uint8_t>& request) {
    NetdAnswer answer;
    answer.kind = static_cast<NetdRequestKind>(request[0]);
    answer.route = RouteOutcome::kInstalled;
    const auto bytes = EncodeNetdAnswer(answer);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  });
  const std::optional<NetdAnswer> answer = echo->Exchange(RemoveRequest());
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->route, RouteOutcome::kInstalled);

  auto wrongKind = ClientOf([](const std::vector<std::uint8_t>&) {
    const auto bytes = EncodeNetdAnswer(NetdAnswer{});  // answers kAdd to a kRemove
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  });
  EXPECT_FALSE(wrongKind->Exchange(RemoveRequest()));

  auto garbage = ClientOf([](const std::vector<std::uint8_t>&) {
    return std::vector<std::uint8_t>(kNetdAnswerSize + 3, 0x01);
  });
  EXPECT_FALSE(garbage->Exchange(RemoveRequest()));
}

TEST(NetdClient, ThreadsShareOneHelperAndEachGetsItsOwnAnswer) {
  auto echo = ClientOf([](const std::vector<std::uint8_t>& request) {
    NetdAnswer answer;
    answer.kind = static_cast<NetdRequestKind>(request[0]);
    answer.removed = request[8] + 256u * request[11];  // the device address's first and last
    const auto bytes = EncodeNetdAnswer(answer);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  });
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        NetdRequest request = RemoveRequest();
        request.kind = i % 2 ? NetdRequestKind::kRemove : NetdRequestKind::kCleanup;
        request.deviceAddr =
            MakeIpv4(static_cast<std::uint8_t>(t), 0, 0, static_cast<std::uint8_t>(i));
        const auto answer = echo->Exchange(request);
        if (!answer || answer->kind != request.kind ||
            answer->removed != static_cast<std::uint32_t>(t + 256 * i)) {
          ++wrong;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, 0);
}

TEST(NetdClient, AHelperThatEndedFailsEveryRequestAndCloseReapsIt) {
  auto gone =
      ClientOf([](const std::vector<std::uint8_t>&) { return std::vector<std::uint8_t>{}; });
  EXPECT_FALSE(gone->Exchange(RemoveRequest()));
  EXPECT_FALSE(gone->Exchange(RemoveRequest()));
  gone->Close();
  gone->Close();                                   // once is enough; twice is harmless
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);  // no child left to reap
}

}  // namespace
}  // namespace vantrell
