#pragma once
/// The simulator's UDP side on port 4000: one socket bound to 0.0.0.0 with
/// IP_PKTINFO that receives discovery and details requests for every
/// simulated device and sends each device's replies from the device's own
/// address on the interface where the request arrived. Late details answers
/// wait in the event loop's timer queue. The interface address table is read
/// at start, every few seconds, and when a datagram arrives on an interface
/// the table does not know.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/timing.h"
#include "sim/event_loop.h"
#include "sim/reply_planner.h"
#include "sim/sim_device.h"

namespace vantrell::sim {

/// Receives one line of log text (no line end).
using LogSink = std::function<void(const std::string&)>;

struct UdpResponderOptions {
  /// Port to bind; 0 picks a free one (see UdpResponder::Port()).
  std::uint16_t port = kDevicePort;
  /// Requested receive buffer: a broadcast arrives once per interface, and
  /// with a few hundred interfaces hundreds of datagrams arrive per second.
  int receiveBufferBytes = 4 << 20;
  /// One log line per datagram received and sent.
  bool verbose = false;
  /// Period of the address table refresh.
  int addressRefreshMs = 5000;
  /// Shortest time between refreshes caused by datagrams on unknown interfaces.
  int unknownInterfaceRefreshMs = 1000;
  /// Late details answers waiting at most; further ones are dropped.
  std::size_t maxPendingLateReplies = 4096;
};

class UdpResponder {
 public:
  /// The loop and the devices stay owned by the caller and must outlive the
  /// responder.
  UdpResponder(EventLoop& loop, const std::vector<SimDevice>& devices, UdpResponderOptions options,
               LogSink log);
  ~UdpResponder();
  UdpResponder(const UdpResponder&) = delete;
  UdpResponder& operator=(const UdpResponder&) = delete;

  /// Opens and binds the socket and starts answering. Returns 0, or -1 with
  /// the reason in *error.
  int Start(std::string* error);

  /// The bound port (after Start).
  std::uint16_t Port() const { return port_; }

  /// Reads the interface address table again and re-assigns devices.
  void RefreshAddressTable();

  /// Call after a device's address changed.
  void DevicesChanged();

 private:
  void OnReadable();
  bool ReceiveOne();
  void Handle(const InboundDatagram& datagram);
  void Dispatch(OutboundDatagram out);
  void SendNow(const OutboundDatagram& out);
  void ReportInterfaces(const std::vector<std::optional<int>>& before);
  void SchedulePeriodicRefresh();
  void Log(const std::string& line) const;

  EventLoop& loop_;
  const std::vector<SimDevice>& devices_;
  UdpResponderOptions options_;
  LogSink log_;
  ReplyPlanner planner_;
  int fd_ = -1;
  std::uint16_t port_ = 0;
  bool tableLoaded_ = false;
  bool tableWarned_ = false;
  EventLoop::Clock::time_point lastRefresh_{};
  EventLoop::TimerId refreshTimer_ = 0;
  std::set<EventLoop::TimerId> lateReplies_;
  std::set<std::size_t> sendFailureReported_;
};

}  // namespace vantrell::sim
