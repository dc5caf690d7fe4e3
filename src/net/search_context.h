#pragma once
/// What the search dialog and its worker thread share while a search runs.

#include <cstdint>
#include <mutex>

#include "core/device_list.h"

namespace vantrell {

struct SearchContext {
  /// Guards countdownMs, stopRequested, found, lastNewDeviceTick and
  /// limitReached.
  std::mutex searchLock;
  /// Inactivity countdown; re-armed by every newly heard device.
  std::uint32_t countdownMs = 5000;
  /// Set by the dialog; the worker ends when it sees it.
  bool stopRequested = false;
  /// The devices heard, in order of arrival, unique by MAC address.
  DeviceList found;
  /// Replies are accepted only from this source; all ones accepts any.
  Ipv4 sourceFilter = kAllOnesIpv4;
  /// Tick at which the last new device was heard (0 before any).
  std::uint32_t lastNewDeviceTick = 0;
  /// Set when a new device was heard while `found` held the most devices a
  /// search lists; that device was dropped.
  bool limitReached = false;
};

}  // namespace vantrell
