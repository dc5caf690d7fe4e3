/// vantrell-sim: plays the devices of a scenario file on UDP port 4000, on
/// the TCP session port of every device address and on the web ports of
/// the video servers, until SIGTERM or SIGINT.

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/event_loop.h"
#include "sim/recorder.h"
#include "sim/scenario.h"
#include "sim/session_server.h"
#include "sim/sim_options.h"
#include "sim/udp_responder.h"
#include "sim/web_server.h"

namespace {

using namespace vantrell::sim;

constexpr int kExitFailure = 1;
constexpr int kExitBadInput = 2;

const auto kStartTime = std::chrono::steady_clock::now();

/// One stderr line, stamped with the seconds since start.
void LogLine(const std::string& line) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - kStartTime).count();
  std::fprintf(stderr, "vantrell-sim %9.3f %s\n", seconds, line.c_str());
}

/// Writes "ready\n" through a temporary file, so a reader never sees it half written.
bool WriteReadyFile(const std::string& path) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream file(temporary, std::ios::trunc);
    file << "ready\n";
    if (!file.flush()) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

/// Blocks SIGTERM and SIGINT and returns a descriptor that reports them.
int OpenSignalFd() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) return -1;
  return signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const SimOptionsParse parsed = ParseSimOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "vantrell-sim: %s\n%s", parsed.error.c_str(), SimUsage().c_str());
    return kExitBadInput;
  }
  const SimOptions& options = *parsed.options;
  if (options.help) {
    std::fputs(SimUsage().c_str(), stdout);
    return 0;
  }

  ScenarioLoad load = LoadScenarioFile(options.scenarioPath);
  if (!load.scenario) {
    std::fprintf(stderr, "vantrell-sim: scenario %s: %s\n", options.scenarioPath.c_str(),
                 load.error.c_str());
    return kExitBadInput;
  }
  for (const std::string& warning : load.warnings) {
    std::fprintf(stderr, "vantrell-sim: scenario %s: warning: %s\n", options.scenarioPath.c_str(),
                 warning.c_str());
  }
  std::vector<SimDevice> devices = std::move(load.scenario->devices);

  std::unique_ptr<Recorder> recorder;
  if (!options.recordFile.empty()) {
    std::string error;
    recorder = Recorder::OpenFile(options.recordFile, &error);
    if (!recorder) {
      std::fprintf(stderr, "vantrell-sim: %s\n", error.c_str());
      return kExitFailure;
    }
  }

  signal(SIGPIPE, SIG_IGN);
  const int signalFd = OpenSignalFd();
  EventLoop loop;
  if (signalFd < 0 || !loop.Ok()) {
    std::perror("vantrell-sim: cannot set up the event loop");
    return kExitFailure;
  }
  loop.WatchReadable(signalFd, [&] {
    signalfd_siginfo info;
    while (read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    }
    loop.Stop();
  });

  UdpResponderOptions udpOptions;
  udpOptions.port = options.port;
  udpOptions.verbose = options.verbose;
  UdpResponder responder(loop, devices, udpOptions, LogLine);
  std::string error;
  if (responder.Start(&error) != 0) {
    std::fprintf(stderr, "vantrell-sim: %s\n", error.c_str());
    return kExitFailure;
  }

  SessionServerOptions sessionOptions;
  sessionOptions.port = options.port;
  sessionOptions.verbose = options.verbose;
  SessionServer sessions(loop, devices, sessionOptions, recorder.get(), LogLine);
  WebServerOptions webOptions;
  webOptions.verbose = options.verbose;
  WebServer web(loop, devices, webOptions, recorder.get(), LogLine);
  // A device that took a new address moves on every side.
  sessions.SetDevicesChangedHandler([&] {
    responder.DevicesChanged();
    web.DevicesChanged();
  });
  if (sessions.Start(&error) != 0 || web.Start(&error) != 0) {
    std::fprintf(stderr, "vantrell-sim: %s\n", error.c_str());
    return kExitFailure;
  }
  if (!options.readyFile.empty() && !WriteReadyFile(options.readyFile)) {
    std::fprintf(stderr, "vantrell-sim: cannot write the ready file %s\n",
                 options.readyFile.c_str());
    return kExitFailure;
  }
  if (options.verbose) {
    LogLine("answering " + std::to_string(devices.size()) + " devices on UDP port " +
            std::to_string(responder.Port()) + ", TCP session port " +
            std::to_string(sessions.Port()) + ", " + std::to_string(web.ListenerCount()) +
            " web servers");
  }
  const int result = loop.Run();
  close(signalFd);
  return result == 0 ? 0 : kExitFailure;
}
