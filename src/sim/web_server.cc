#include "sim/web_server.h"

#include <unistd.h>

#include "core/model_table.h"
#include "core/text_forms.h"
#include "platform/digest.h"
#include "sim/session_messages.h"
#include "sim/video_web.h"

namespace vantrell::sim {

struct WebServer::Connection {
  Connection(EventLoop& loop, int fd) : stream(loop, fd) {}

  std::size_t device = 0;
  std::string peer;
  StreamConnection stream;
  WebRequestReader reader;
  bool continueSent = false;
  bool answered = false;
  std::uint64_t bytesIn = 0;
  /// Stopped reading (SimFaults::httpStallAfter): kept open, never swept.
  bool stalled = false;
};

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

/// The request as the record file shows it.
nlohmann::json RequestRecord(const WebRequest& request) {
  nlohmann::json headers = nlohmann::json::object();
  for (const auto& [name, value] : request.headers) {
    if (!headers.contains(name)) headers[name] = value;
  }
  return {{"method", request.method},          {"path", request.target},
          {"version", request.version},        {"headers", headers},
          {"bodyLength", request.body.size()}, {"bodyMd5", HexText(Md5(AsBytes(request.body)))}};
}

}  // namespace

WebServer::WebServer(EventLoop& loop, std::vector<SimDevice>& devices, WebServerOptions options,
                     Recorder* recorder, LogSink log)
    : loop_(loop),
      devices_(devices),
      options_(options),
      recorder_(recorder),
      log_(std::move(log)),
      listeners_(loop, [this](std::size_t device, int fd, Ipv4 peerIp, std::uint16_t peerPort) {
        Accept(device, fd, peerIp, peerPort);
      }) {}

WebServer::~WebServer() {
  if (sweepTimer_) loop_.Cancel(sweepTimer_);
  connections_.clear();
}

void WebServer::Log(const std::string& line) const {
  if (log_) log_(line);
}

std::vector<ListenEndpoint> WebServer::WantedEndpoints() const {
  std::vector<ListenEndpoint> wanted;
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    const SimDevice& d = devices_[i];
    if (d.ip == 0 || !IsKavexModelId(d.modelId)) continue;
    wanted.push_back({d.ip, d.webPort, i});
  }
  return wanted;
}

int WebServer::Start(std::string* error) {
  const std::vector<std::string> errors = listeners_.Reconcile(WantedEndpoints());
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

void WebServer::DevicesChanged() {
  for (const std::string& problem : listeners_.Reconcile(WantedEndpoints())) {
    Log("warning: " + problem);
  }
}

std::uint16_t WebServer::BoundPort(std::size_t device) const {
  if (device >= devices_.size()) return 0;
  return listeners_.BoundPort(devices_[device].ip, devices_[device].webPort);
}

void WebServer::Accept(std::size_t device, int fd, Ipv4 peerIp, std::uint16_t peerPort) {
  const std::string peer = FormatIpv4(peerIp) + ":" + std::to_string(peerPort);
  if (connections_.size() >= options_.maxConnections) {
    Log("warning: web request from " + peer + " refused: too many connections");
    close(fd);
    return;
  }
  const std::uint64_t id = nextId_++;
  auto connection = std::make_unique<Connection>(loop_, fd);
  connection->device = device;
  connection->peer = peer;
  Connection& c = *connection;
  connections_.emplace(id, std::move(connection));
  c.stream.Start([this, id](std::span<const std::uint8_t> bytes) { OnData(id, bytes); },
                 [this, id](const std::string&) {
                   const auto found = connections_.find(id);
                   if (found == connections_.end()) return;
                   Connection& c = *found->second;
                   if (!c.answered) c.stream.Close();  // gave up before the request was whole
                 },
                 [this, id] { connections_.erase(id); });
}

void WebServer::OnData(std::uint64_t id, std::span<const std::uint8_t> bytes) {
  const auto found = connections_.find(id);
  if (found == connections_.end()) return;
  Connection& c = *found->second;
  if (c.answered || c.stalled) return;  // anything after the request is ignored
  const std::uint32_t stallAfter = devices_[c.device].faults.httpStallAfter;
  c.bytesIn += bytes.size();
  if (stallAfter > 0 && c.bytesIn >= stallAfter) {
    // Neither reads nor answers any more; the sender's buffers fill.
    c.stalled = true;
    c.stream.PauseReading();
    if (options_.verbose) Log("web request from " + c.peer + " stalled");
    return;
  }
  const WebRequestReader::State state = c.reader.Feed(bytes);
  if (state == WebRequestReader::State::kNeedMore) {
    if (c.reader.WantsContinue() && !c.continueSent) {
      c.continueSent = true;
      c.stream.Send(AsBytes("HTTP/1.1 100 Continue\r\n\r\n"));
    }
    return;
  }
  Answer(c);
}

void WebServer::Answer(Connection& c) {
  c.answered = true;
  SimDevice& device = devices_[c.device];
  WebAnswer answer;
  nlohmann::json record;
  if (c.reader.CurrentState() == WebRequestReader::State::kBad) {
    answer = BadRequestAnswer(c.reader.BadStatus(), c.reader.BadReason());
    record = RequestRecord(c.reader.Request());
    record["result"] = "bad request: " + c.reader.BadReason();
  } else {
    WebOutcome outcome = AnswerVideoServerRequest(device, c.reader.Request());
    answer = std::move(outcome.answer);
    record = RequestRecord(c.reader.Request());
    record.update(outcome.record);
  }
  record["status"] = answer.status;
  if (options_.verbose) {
    Log("web " + c.reader.Request().method + " " + c.reader.Request().target + " from " + c.peer +
        ": " + std::to_string(answer.status));
  }
  Record(recorder_, device, "http", std::move(record));
  c.stream.Send(AsBytes(SerializeAnswer(answer, c.reader.Request().version)));
  c.stream.CloseAfterSending();
}

void WebServer::ScheduleSweep() {
  sweepTimer_ = loop_.After(std::chrono::milliseconds(options_.sweepMs), [this] {
    sweepTimer_ = 0;
    Sweep();
    ScheduleSweep();
  });
}

void WebServer::Sweep() {
  const auto now = std::chrono::steady_clock::now();
  for (auto& [id, c] : connections_) {
    if (!c->stream.IsOpen() || c->stalled) continue;
    if (now - c->stream.LastActivity() < std::chrono::milliseconds(options_.idleLimitMs)) continue;
    if (options_.verbose) Log("web connection from " + c->peer + " idle; closed");
    c->stream.Close();
  }
}

}  // namespace vantrell::sim
