#pragma once
/// The simulator's TCP session side: one listening socket per distinct
/// device address on the session port (the first device of the scenario at
/// an address owns it), one DeviceSession per accepted connection, late
/// answers through the event loop's timers, and the move of a device that
/// takes a new address (its listener follows it).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/timing.h"
#include "sim/device_session.h"
#include "sim/event_loop.h"
#include "sim/listener_set.h"
#include "sim/recorder.h"
#include "sim/sim_device.h"
#include "sim/stream_connection.h"
#include "sim/udp_responder.h"

namespace vantrell::sim {

struct SessionServerOptions {
  /// Port to listen on at every device address; 0 picks a free one for the
  /// first address and uses it for all (see SessionServer::Port()).
  std::uint16_t port = kDevicePort;
  bool verbose = false;
  /// Connections open at most; further ones are closed at once.
  std::size_t maxConnections = 256;
  /// A connection that moves no byte for this long is closed (unless an
  /// answer of the device is still due).
  int idleLimitMs = 300000;
  /// Period of the idle check.
  int sweepMs = 1000;
  /// Input held while an answer waits, before reading stops.
  std::size_t maxHeldInput = 1 << 20;
};

class SessionServer {
 public:
  /// The loop, the devices and the recorder (may be null) must outlive the
  /// server. The server changes devices: passwords, blocks, addresses.
  SessionServer(EventLoop& loop, std::vector<SimDevice>& devices, SessionServerOptions options,
                Recorder* recorder, LogSink log);
  ~SessionServer();
  SessionServer(const SessionServer&) = delete;
  SessionServer& operator=(const SessionServer&) = delete;

  /// Opens the listening sockets. Returns 0, or -1 with the reasons in *error.
  int Start(std::string* error);
  /// The session port (after Start).
  std::uint16_t Port() const { return port_; }

  /// Called after a device took new address settings, once the server's own
  /// listeners have followed.
  void SetDevicesChangedHandler(std::function<void()> handler) {
    devicesChanged_ = std::move(handler);
  }
  /// Re-opens the listeners after device addresses changed elsewhere.
  void DevicesChanged();

  std::size_t ConnectionCount() const { return connections_.size(); }
  /// Replaces the challenge and tick sources of later sessions (tests).
  void SetSessionSources(SessionSources sources) { sources_ = std::move(sources); }

 private:
  struct Connection;

  std::vector<ListenEndpoint> WantedEndpoints() const;
  std::vector<std::string> Reconcile();
  void Accept(std::size_t device, int fd, Ipv4 peerIp, std::uint16_t peerPort);
  Connection* Find(std::uint64_t id);
  void Pump(std::uint64_t id);
  void Execute(Connection& connection, SessionStep step);
  void FinishIfDone(Connection& connection);
  void TakeAddresses(std::size_t device, const AddressSettings& settings);
  void ScheduleSweep();
  void Sweep();
  void Log(const std::string& line) const;

  EventLoop& loop_;
  std::vector<SimDevice>& devices_;
  SessionServerOptions options_;
  Recorder* recorder_;
  LogSink log_;
  SessionSources sources_;
  ListenerSet listeners_;
  std::uint16_t port_ = 0;
  std::function<void()> devicesChanged_;
  std::map<std::uint64_t, std::unique_ptr<Connection>> connections_;
  std::uint64_t nextId_ = 1;
  EventLoop::TimerId sweepTimer_ = 0;
};

}  // namespace vantrell::sim
