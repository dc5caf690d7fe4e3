#pragma once
// A network helper for tests of the layers above it: logs every request as
// a line ("add 172.16.0.5 if 10.9.0.1 00:60:E9:00:00:01", "remove 172.16.0.5"),
// keeps the set of addresses bracketed and answers what the test sets.

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/ipv4.h"
#include "core/text_forms.h"
#include "platform/netd_client.h"

namespace vantrell::test_support {

class RecordingNetdChannel : public NetdChannel {
 public:
  std::optional<NetdAnswer> Exchange(const NetdRequest& request) override {
    std::lock_guard lock(mutex);
    NetdAnswer answer = addAnswer;
    answer.kind = request.kind;
    switch (request.kind) {
      case NetdRequestKind::kAdd:
        log.push_back("add " + FormatIpv4(request.deviceAddr) + " if " +
                      FormatIpv4(request.interfaceAddr) + " " + FormatMac(request.mac));
        installed.insert(request.deviceAddr);
        return answer;
      case NetdRequestKind::kRemove:
        log.push_back("remove " + FormatIpv4(request.deviceAddr));
        installed.erase(request.deviceAddr);
        return removeAnswer.kind == request.kind ? removeAnswer : NetdAnswer{request.kind};
      default:
        log.push_back("other");
        return NetdAnswer{request.kind};
    }
  }

  std::mutex mutex;
  std::vector<std::string> log;
  std::set<Ipv4> installed;
  NetdAnswer addAnswer{NetdRequestKind::kAdd, NeighbourOutcome::kInstalled};
  NetdAnswer removeAnswer{NetdRequestKind::kRemove};
};

}  // namespace vantrell::test_support
