#include "platform/interrupt_exit.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/atomic_file.h"

namespace vantrell {
namespace {

namespace fs = std::filesystem;

/// What a child that half-wrote a file and got `signal` left behind.
struct Ending {
  int status = -1;
  bool stepRan = false;
  std::size_t filesLeft = 0;
};

Ending EndChildWith(int signal, bool ignoredAtStart = false) {
  const fs::path folder =
      fs::temp_directory_path() / ("vantrell-interrupt-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const pid_t child = ::fork();
  if (child == 0) {
    if (ignoredAtStart) ::signal(signal, SIG_IGN);
    ExitCleanlyOnSignals();
    AddInterruptStep([&] { std::ofstream(folder / "step-ran") << "yes"; });
    AtomicFile export_(folder / "switch.ini");
    export_.Write(std::string_view("half a file"));
    ::kill(::getpid(), signal);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ::_exit(0);  // the signal was not taken over
  }
  Ending ending;
  ::waitpid(child, &ending.status, 0);
  ending.stepRan = fs::exists(folder / "step-ran");
  fs::remove(folder / "step-ran");
  ending.filesLeft = static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
  fs::remove_all(folder);
  return ending;
}

TEST(InterruptExit, EachEndingSignalRemovesTheHalfFileRunsTheStepsAndExitsWith128PlusIt) {
  for (const auto& [signal, code] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
    const Ending ending = EndChildWith(signal);
    ASSERT_TRUE(WIFEXITED(ending.status)) << "died of signal " << signal << " instead of exiting";
    EXPECT_EQ(WEXITSTATUS(ending.status), code);
    EXPECT_TRUE(ending.stepRan) << signal;
    EXPECT_EQ(ending.filesLeft, 0u) << signal;
  }
}

TEST(InterruptExit, ASignalIgnoredAtStartStaysIgnored) {
  const Ending ending = EndChildWith(SIGHUP, /*ignoredAtStart=*/true);
  ASSERT_TRUE(WIFEXITED(ending.status));
  EXPECT_EQ(WEXITSTATUS(ending.status), 0);
  EXPECT_FALSE(ending.stepRan);
}

TEST(InterruptExit, BrokenPipeIsAnErrorNotADeath) {
  const pid_t child = ::fork();
  if (child == 0) {
    ExitCleanlyOnSignals();
    int ends[2];
    if (::pipe(ends) != 0) ::_exit(2);
    ::close(ends[0]);
    const bool failed = ::write(ends[1], "x", 1) < 0 && errno == EPIPE;
    ::_exit(failed ? 7 : 3);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
}

}  // namespace
}  // namespace vantrell
