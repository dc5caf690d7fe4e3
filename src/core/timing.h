#pragma once
/// Every time-out and period of the device protocols, with the values that
/// ship. Protocol functions take them from here so tests can shorten them.

#include <cstdint>

namespace vantrell {

/// UDP and TCP port on which devices listen.
inline constexpr std::uint16_t kDevicePort = 4000;

struct Timing {
  /// Device port to which requests go.
  std::uint16_t devicePort = kDevicePort;
  /// Period of the search requests.
  int searchCycleMs = 1000;
  /// Longest single wait of the search worker (also its stop latency).
  int searchWaitMs = 200;
  /// Search dialog timer period and the inactivity countdown it counts down.
  int searchTickMs = 200;
  int searchCountdownMs = 5000;
  /// Details query: attempts, wait per attempt, and the dialog's retries.
  int detailsAttempts = 3;
  int detailsWaitMs = 100;
  int detailsRuns = 10;
  int detailsRetryPauseMs = 50;
};

}  // namespace vantrell
