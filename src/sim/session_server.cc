#include "sim/session_server.h"

#include <unistd.h>

#include "core/text_forms.h"

namespace vantrell::sim {

struct SessionServer::Connection {
  Connection(EventLoop& loop, int fd, SimDevice& device, Recorder* recorder, SessionSources sources)
      : stream(loop, fd), session(device, recorder, std::move(sources)) {}

  std::size_t device = 0;
  std::string peer;
  StreamConnection stream;
  DeviceSession session;
  EventLoop::TimerId stepTimer = 0;  ///< an answer that is due later
  bool peerEnded = false;
  bool ended = false;  ///< the session has been told the connection is over
};

SessionServer::SessionServer(EventLoop& loop, std::vector<SimDevice>& devices,
                             SessionServerOptions options, Recorder* recorder, LogSink log)
    : loop_(loop),
      devices_(devices),
      options_(options),
      recorder_(recorder),
      log_(std::move(log)),
      sources_(DefaultSessionSources()),
      listeners_(loop, [this](std::size_t device, int fd, Ipv4 peerIp, std::uint16_t peerPort) {
        Accept(device, fd, peerIp, peerPort);
      }) {}

SessionServer::~SessionServer() {
  if (sweepTimer_) loop_.Cancel(sweepTimer_);
  for (auto& [id, connection] : connections_) {
    if (connection->stepTimer) loop_.Cancel(connection->stepTimer);
  }
  connections_.clear();
}

void SessionServer::Log(const std::string& line) const {
  if (log_) log_(line);
}

std::vector<ListenEndpoint> SessionServer::WantedEndpoints() const {
  std::vector<ListenEndpoint> wanted;
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    if (devices_[i].ip == 0) continue;  // 0.0.0.0 would take every address
    wanted.push_back({devices_[i].ip, port_, i});
  }
  return wanted;
}

std::vector<std::string> SessionServer::Reconcile() {
  return listeners_.Reconcile(WantedEndpoints());
}

int SessionServer::Start(std::string* error) {
  port_ = options_.port;
  std::vector<ListenEndpoint> wanted = WantedEndpoints();
  if (port_ == 0 && !wanted.empty()) {
    // Let the first address pick a free port, then use it everywhere.
    const std::vector<std::string> errors = listeners_.Reconcile({wanted.front()});
    if (!errors.empty()) {
      if (error) *error = errors.front();
      return -1;
    }
    port_ = listeners_.BoundPort(wanted.front().ip, 0);
  }
  const std::vector<std::string> errors = Reconcile();
  if (!errors.empty()) {
    if (error) {
      *error = errors.front();
      if (errors.size() > 1) *error += " (and " + std::to_string(errors.size() - 1) + " more)";
    }
    return -1;
  }
  ScheduleSweep();
  return 0;
}

void SessionServer::DevicesChanged() {
  for (const std::string& problem : Reconcile()) Log("warning: " + problem);
}

SessionServer::Connection* SessionServer::Find(std::uint64_t id) {
  const auto found = connections_.find(id);
  return found == connections_.end() ? nullptr : found->second.get();
}

void SessionServer::Accept(std::size_t device, int fd, Ipv4 peerIp, std::uint16_t peerPort) {
  const std::string peer = FormatIpv4(peerIp) + ":" + std::to_string(peerPort);
  if (connections_.size() >= options_.maxConnections) {
    Log("warning: session from " + peer + " refused: too many connections");
    close(fd);
    return;
  }
  const std::uint64_t id = nextId_++;
  auto connection = std::make_unique<Connection>(loop_, fd, devices_[device], recorder_, sources_);
  connection->device = device;
  connection->peer = peer;
  Connection& c = *connection;
  connections_.emplace(id, std::move(connection));
  if (options_.verbose) {
    Log("session from " + peer + " to " + FormatMac(devices_[device].mac) + " " +
        FormatIpv4(devices_[device].ip));
  }
  c.stream.Start(
      [this, id](std::span<const std::uint8_t> bytes) {
        Connection* c = Find(id);
        if (!c) return;
        c->session.Receive(bytes);
        Pump(id);
      },
      [this, id](const std::string& how) {
        Connection* c = Find(id);
        if (!c) return;
        c->peerEnded = true;
        if (!c->stream.IsOpen() && !c->ended) {
          c->ended = true;
          c->session.ConnectionEnded(how);
          return;
        }
        Pump(id);
      },
      [this, id] {
        Connection* c = Find(id);
        if (!c) return;
        if (c->stepTimer) loop_.Cancel(c->stepTimer);
        if (!c->ended) c->session.ConnectionEnded("connection lost");
        if (options_.verbose) Log("session from " + c->peer + " closed");
        connections_.erase(id);
      });
}

void SessionServer::Pump(std::uint64_t id) {
  Connection* c = Find(id);
  while (c && c->stream.IsOpen() && !c->stepTimer) {
    std::optional<SessionStep> step = c->session.Next();
    if (!step) break;
    if (options_.verbose) {
      Log("session from " + c->peer + ": " + step->note +
          (step->delayMs > 0 ? " (answer in " + std::to_string(step->delayMs) + " ms)" : ""));
    }
    if (step->delayMs > 0) {
      c->stepTimer = loop_.After(std::chrono::milliseconds(step->delayMs),
                                 [this, id, step = std::move(*step)]() mutable {
                                   Connection* c = Find(id);
                                   if (!c) return;
                                   c->stepTimer = 0;
                                   Execute(*c, std::move(step));
                                   Pump(id);
                                 });
      break;
    }
    Execute(*c, std::move(*step));
  }
  if (!c || !c->stream.IsOpen()) return;
  if (c->stepTimer && c->session.Buffered() > options_.maxHeldInput) {
    c->stream.PauseReading();
  } else {
    c->stream.ResumeReading();
  }
  FinishIfDone(*c);
}

void SessionServer::FinishIfDone(Connection& c) {
  if (!c.peerEnded || c.stepTimer || c.ended) return;
  c.ended = true;
  c.session.ConnectionEnded("closed by peer");
  c.stream.CloseAfterSending();
}

void SessionServer::Execute(Connection& c, SessionStep step) {
  // The device listens at its new address before the workstation can see
  // the answer (or the reset); the open connection keeps its addresses.
  if (step.newAddresses) TakeAddresses(c.device, *step.newAddresses);
  if (!step.reply.empty()) c.stream.Send(step.reply);
  switch (step.then) {
    case SessionStep::Then::kContinue:
      break;
    case SessionStep::Then::kClose:
      c.ended = true;
      c.session.ConnectionEnded("closed by the device");
      c.stream.CloseAfterSending();
      break;
    case SessionStep::Then::kReset:
      c.ended = true;
      c.session.ConnectionEnded("reset by the device");
      c.stream.Reset();
      break;
  }
}

void SessionServer::TakeAddresses(std::size_t index, const AddressSettings& settings) {
  SimDevice& device = devices_[index];
  const Ipv4 before = device.ip;
  device.ip = settings.ip;
  device.netmask = settings.netmask;
  device.gateway = settings.gateway;
  device.dns1 = settings.dns1;
  device.dns2 = settings.dns2;
  device.ipConfigFlags = settings.ipConfigFlags;
  if (device.ip != before) {
    Log("device " + FormatMac(device.mac) + " moved from " + FormatIpv4(before) + " to " +
        FormatIpv4(device.ip));
    DevicesChanged();
  }
  if (devicesChanged_) devicesChanged_();
}

void SessionServer::ScheduleSweep() {
  sweepTimer_ = loop_.After(std::chrono::milliseconds(options_.sweepMs), [this] {
    sweepTimer_ = 0;
    Sweep();
    ScheduleSweep();
  });
}

void SessionServer::Sweep() {
  const auto now = std::chrono::steady_clock::now();
  const auto limit = std::chrono::milliseconds(options_.idleLimitMs);
  for (auto& [id, c] : connections_) {
    if (c->stepTimer || !c->stream.IsOpen()) continue;
    if (now - c->stream.LastActivity() < limit) continue;
    if (options_.verbose) Log("session from " + c->peer + " idle; closed");
    c->ended = true;
    c->session.ConnectionEnded("idle time-out");
    c->stream.Close();  // erased from the map on a later turn
  }
}

}  // namespace vantrell::sim
