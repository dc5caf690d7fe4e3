#pragma once
/// The search worker: broadcasts the discovery requests once a second on
/// every local IPv4 address and collects the devices that answer.

#include <functional>
#include <optional>
#include <vector>

#include "core/message.h"
#include "core/timing.h"
#include "net/search_context.h"

namespace vantrell {

/// Where the worker listens and sends.
struct SearchEndpoints {
  /// The local addresses to bind one socket each to (127.0.0.1 and 0.0.0.0
  /// are left out); nothing when the address table cannot be read.
  std::function<std::optional<std::vector<Ipv4>>()> localAddresses;
  /// Where the requests go; the limited broadcast address normally.
  Ipv4 destination = kAllOnesIpv4;
};

/// Every address of the workstation's address table, or of the listed
/// interface indexes only when `interfaces` is not empty.
SearchEndpoints SystemSearchEndpoints(std::vector<int> interfaces = {});

/// Runs until the context's stopRequested is set. Returns 0 in every case.
int SearchWorker(SearchContext& context, const SearchEndpoints& endpoints, const Timing& timing,
                 MessageSink& messages);

}  // namespace vantrell
