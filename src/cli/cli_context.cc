#include "cli/cli_context.h"

#include "platform/capability.h"

namespace vantrell {
namespace {

std::unique_ptr<NetTables> OpenTables(Console& console) {
  if (HasNetAdminCapability()) return MakeSystemNetTables();
  console.Progress(kNetAdminMissingText);
  return nullptr;
}

}  // namespace

CliContext::CliContext(const CliOptions& options, Console& console)
    : options(options),
      console(console),
      tables_(OpenTables(console)),
      bracket_(tables_.get(), console) {}

}  // namespace vantrell
