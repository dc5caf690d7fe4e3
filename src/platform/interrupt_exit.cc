#include "platform/interrupt_exit.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <initializer_list>
#include <map>
#include <mutex>
#include <thread>

#include "platform/atomic_file.h"

namespace vantrell {
namespace {

/// The registered steps; never destroyed, since the waiting thread may use
/// them while the process exits.
struct Steps {
  std::mutex mutex;
  std::map<int, std::function<void()>> steps;
  int next = 1;
};

Steps& TheSteps() {
  static Steps* steps = new Steps;
  return *steps;
}

/// The ending signals this program takes over: those not ignored at start
/// (`nohup`, or a background job of a shell, ignores some on purpose).
sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      sigaddset(&set, signal);
    }
  }
  return set;
}

/// Writes out what `stream` holds unless another thread has it locked: the
/// main thread may be blocked inside a read or write of it (a password
/// prompt waiting in getline holds stdin, a full pipe holds stdout), and
/// waiting for it would keep the program from ending.
void FlushUnlessBusy(FILE* stream) {
  if (::ftrylockfile(stream) != 0) return;
  ::fflush_unlocked(stream);
  ::funlockfile(stream);
}

[[noreturn]] void WaitAndExit(sigset_t signals) {
  int signal = 0;
  while (sigwait(&signals, &signal) != 0) {
  }
  RemoveUncommittedFiles();
  {
    Steps& steps = TheSteps();
    std::lock_guard lock(steps.mutex);
    for (auto& [handle, step] : steps.steps) step();
  }
  FlushUnlessBusy(stdout);
  FlushUnlessBusy(stderr);
  ::_exit(ExitStatusForSignal(signal));
}

}  // namespace

void ExitCleanlyOnSignals() {
  ::signal(SIGPIPE, SIG_IGN);
  const sigset_t signals = EndingSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread(WaitAndExit, signals).detach();
}

int AddInterruptStep(std::function<void()> step) {
  Steps& steps = TheSteps();
  std::lock_guard lock(steps.mutex);
  const int handle = steps.next++;
  steps.steps.emplace(handle, std::move(step));
  return handle;
}

void RemoveInterruptStep(int handle) {
  Steps& steps = TheSteps();
  std::lock_guard lock(steps.mutex);
  steps.steps.erase(handle);
}

}  // namespace vantrell
