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
  /// Details queries of one search running at the same time.
  int detailsConcurrency = 32;
  /// Longest search, however many new devices keep arriving, and the most
  /// devices one search lists.
  int searchLimitMs = 120000;
  int searchDeviceLimit = 4096;

  /// Session protocol on TCP port 4000.
  int connectMs = 2000;
  int replyMs = 5000;          ///< each reply, each piece of a reply
  int storeMs = 15000;         ///< block, network settings, stream acknowledgements
  int commitMs = 40000;
  int streamFinalMs = 150000;  ///< the device digesting a streamed configuration file
  int resetPauseMs = 2000;     ///< after a device reset the connection to take a new address

  /// HTTP transfers of the video servers. The configuration post on our own
  /// socket: the length of each wait for the connection, for sending the
  /// header, and for the body and the answer, and the count of waits that
  /// end empty after which each phase fails.
  int httpConnectWaitMs = 5000;
  int httpConnectWaits = 5;
  int httpHeaderWaitMs = 5000;
  int httpHeaderWaits = 4;
  int httpBodyWaitMs = 1000;
  int httpBodyWaits = 4;
  /// Firmware post and configuration download (HTTP client): connection
  /// set-up, and the longest stretch without a byte moving either way.
  int httpClientConnectMs = 30000;
  int httpFirmwareIdleMs = 300000;  ///< the device may store the image before answering
  int httpDownloadIdleMs = 60000;
  /// The firmware post while its body is still going out: the longest
  /// stretch in which the device takes no byte.
  int httpUploadIdleMs = 60000;
  /// Longest transfer of a length the device announces (the configuration
  /// file and block, the information text, the configuration download),
  /// however slowly its bytes come.
  int transferLimitMs = 120000;
  /// Longest delay before any HTTP transfer notices its cancel flag.
  int httpCancelPollMs = 100;
};

}  // namespace vantrell
