// Ctrl-C at the no-echo password prompt, on a real terminal: the program
// ends at once with 130 and the terminal has its echo back.

#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "cli/secrets.h"
#include "platform/interrupt_exit.h"

namespace vantrell {
namespace {

/// Reads from the terminal until `text` appears or two seconds pass.
bool WaitForText(int terminal, const std::string& text) {
  std::string seen;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < deadline && seen.find(text) == std::string::npos) {
    char buffer[256];
    const ssize_t n = ::read(terminal, buffer, sizeof buffer);
    if (n > 0) seen.append(buffer, static_cast<std::size_t>(n));
    else std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return seen.find(text) != std::string::npos;
}

TEST(PromptInterrupt, CtrlCAtThePromptEndsWith130AndGivesTheEchoBack) {
  int terminal = -1;
  const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(child, 0);
  if (child == 0) {
    ExitCleanlyOnSignals();
    SystemSecretSources().ask("Password: ");
    ::_exit(0);  // the prompt returned: Ctrl-C did not end the program
  }
  ASSERT_TRUE(WaitForText(terminal, "Password: "));
  // The prompt is written before the echo goes off.
  termios during{};
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(::tcgetattr(terminal, &during), 0);
    if ((during.c_lflag & ECHO) == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(during.c_lflag & ECHO, 0u);

  ASSERT_EQ(::write(terminal, "\x03", 1), 1);
  int status = 0;
  pid_t ended = 0;
  for (int i = 0; i < 300 && ended == 0; ++i) {
    ended = ::waitpid(child, &status, WNOHANG);
    if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended == 0) ::kill(child, SIGKILL), ::waitpid(child, &status, 0);
  ASSERT_EQ(ended, child) << "the program did not end within 3 s of Ctrl-C";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  termios after{};
  ASSERT_EQ(::tcgetattr(terminal, &after), 0);
  EXPECT_NE(after.c_lflag & ECHO, 0u);
  ::close(terminal);
}

}  // namespace
}  // namespace vantrell
