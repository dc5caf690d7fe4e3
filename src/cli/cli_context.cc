#include "cli/cli_context.h"

#include "cli/results.h"
#include "platform/interrupt_exit.h"

namespace vantrell {
namespace {

std::unique_ptr<NetdClient> StartHelper(Console& console) {
  NetdStart start = StartNetdHelper();
  if (!start.client) console.Progress(start.notice);
  return std::move(start.client);
}

/// The part of the window's rights message that sends the operator to Unlock.
constexpr std::string_view kUnlockAdvice = "Please select \"unlock\" function";

}  // namespace

int RefuseRun(Console& console, bool json, std::string_view message) {
  console.Error(message);
  if (message.find(kUnlockAdvice) != std::string_view::npos) console.Error(kPasswordOptionHint);
  if (json) PrintJson(console.out(), {{"error", std::string(message)}});
  return kExitUsage;
}

CliContext::CliContext(const CliOptions& options, Console& console)
    : options(options),
      console(console),
      helper_(StartHelper(console)),
      bracket_(helper_.get(), console) {
  // On a signal the helper sees end of file and removes every bracket
  // before the program exits.
  if (helper_) interruptStep_ = AddInterruptStep([helper = helper_.get()] { helper->Close(); });
}

CliContext::~CliContext() {
  if (interruptStep_ != 0) RemoveInterruptStep(interruptStep_);
}

}  // namespace vantrell
