#pragma once
/// The simulator's web side: every video server (model ID low byte 0x80 or
/// 0x88) listens on its webPort at its address (the first video server of
/// the scenario at an (address, port) owns it) and answers the CGI paths of
/// VideoWeb; one request per connection, closed after the answer.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/event_loop.h"
#include "sim/listener_set.h"
#include "sim/recorder.h"
#include "sim/sim_device.h"
#include "sim/stream_connection.h"
#include "sim/udp_responder.h"
#include "sim/web_request.h"

namespace vantrell::sim {

struct WebServerOptions {
  bool verbose = false;
  std::size_t maxConnections = 64;
  /// A connection that moves no byte for this long is closed.
  int idleLimitMs = 60000;
  int sweepMs = 1000;
};

class WebServer {
 public:
  /// The loop, the devices and the recorder (may be null) must outlive the
  /// server. A webPort of 0 listens on a free port (see BoundPort()).
  WebServer(EventLoop& loop, std::vector<SimDevice>& devices, WebServerOptions options,
            Recorder* recorder, LogSink log);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  /// Opens the listening sockets. Returns 0, or -1 with the reasons in *error.
  int Start(std::string* error);
  /// Re-opens the listeners after device addresses changed.
  void DevicesChanged();
  /// The port the device's web server listens on; 0 when it has none.
  std::uint16_t BoundPort(std::size_t device) const;
  std::size_t ListenerCount() const { return listeners_.Count(); }

 private:
  struct Connection;

  std::vector<ListenEndpoint> WantedEndpoints() const;
  void Accept(std::size_t device, int fd, Ipv4 peerIp, std::uint16_t peerPort);
  void OnData(std::uint64_t id, std::span<const std::uint8_t> bytes);
  void Answer(Connection& connection);
  void ScheduleSweep();
  void Sweep();
  void Log(const std::string& line) const;

  EventLoop& loop_;
  std::vector<SimDevice>& devices_;
  WebServerOptions options_;
  Recorder* recorder_;
  LogSink log_;
  ListenerSet listeners_;
  std::map<std::uint64_t, std::unique_ptr<Connection>> connections_;
  std::uint64_t nextId_ = 1;
  EventLoop::TimerId sweepTimer_ = 0;
};

}  // namespace vantrell::sim
