#include "cli/cli_context.h"

#include "cli/results.h"
#include "platform/capability.h"

namespace vantrell {
namespace {

std::unique_ptr<NetTables> OpenTables(Console& console) {
  if (HasNetAdminCapability()) return MakeSystemNetTables();
  console.Progress(kNetAdminMissingText);
  return nullptr;
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
      tables_(OpenTables(console)),
      bracket_(tables_.get(), console) {}

}  // namespace vantrell
