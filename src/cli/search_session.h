#pragma once
/// Runs the search dialog's behaviour to its end without a window: the
/// search worker on the chosen interfaces, the 200 ms timer, the details
/// queries inside the ARP/route bracket. Every command of the command line
/// that names devices starts with it.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "core/device_list.h"
#include "core/timing.h"
#include "net/search_worker.h"

namespace vantrell {

class ArpRouteBracket;
class Console;

struct SearchRequest {
  SearchEndpoints endpoints;
  Ipv4 sourceFilter = kAllOnesIpv4;
  ArpRouteBracket* bracket = nullptr;
  Timing timing;
  /// Asked after every tick; true ends the search at once (the devices a
  /// command needs are all found and detailed).
  std::function<bool(const DeviceList&, const std::vector<std::string>& progress)> enough;
};

struct SearchOutcome {
  DeviceList devices;
  /// The search dialog's "Progress" cell of each device.
  std::vector<std::string> progress;
  std::chrono::milliseconds total{0};
  /// From the start to the last newly heard device (0 when none).
  std::chrono::milliseconds lastNewDevice{0};
};

SearchOutcome RunSearchSession(const SearchRequest& request, Console& console);

}  // namespace vantrell
