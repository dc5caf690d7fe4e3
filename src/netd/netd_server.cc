#include "netd/netd_server.h"

#include <sys/socket.h>

#include <array>
#include <cerrno>

namespace vantrell {
namespace {

NetdAnswer Answer(const NetdRequest& request, BracketKeeper& keeper,
                  const std::function<int()>& cleanUp) {
  switch (request.kind) {
    case NetdRequestKind::kAdd:
      return keeper.Add(request);
    case NetdRequestKind::kRemove:
      return keeper.Remove(request.deviceAddr);
    case NetdRequestKind::kRemoveAll:
      break;
    case NetdRequestKind::kCleanup: {
      NetdAnswer answer;
      answer.kind = request.kind;
      answer.removed = static_cast<std::uint32_t>(cleanUp ? cleanUp() : 0);
      return answer;
    }
  }
  keeper.RemoveAll();
  NetdAnswer answer;
  answer.kind = NetdRequestKind::kRemoveAll;
  return answer;
}

}  // namespace

void ServeClient(int socket, BracketKeeper& keeper, const std::function<int()>& cleanUp,
                 const std::atomic<bool>& stop) {
  std::array<std::uint8_t, kNetdRequestSize + 1> buffer{};
  while (!stop) {
    const ssize_t n = ::recv(socket, buffer.data(), buffer.size(), MSG_TRUNC);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || static_cast<std::size_t>(n) != kNetdRequestSize) break;
    const std::optional<NetdRequest> request =
        DecodeNetdRequest(std::span(buffer.data(), kNetdRequestSize));
    if (!request) break;  // not our client's program: end, and clean up
    const auto answer = EncodeNetdAnswer(Answer(*request, keeper, cleanUp));
    if (::send(socket, answer.data(), answer.size(), MSG_NOSIGNAL) < 0) break;
  }
  keeper.RemoveAll();
}

}  // namespace vantrell
