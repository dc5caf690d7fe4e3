#include "cli/cleanup_command.h"

#include <string>

namespace vantrell {

int RunCleanupCommand(CliContext& context) {
  // Without a helper nothing of ours can be in the tables; the notice on
  // stderr says how to install one.
  NetdClient* helper = context.helper();
  if (!helper) return kExitOk;
  NetdRequest request;
  request.kind = NetdRequestKind::kCleanup;
  const std::optional<NetdAnswer> answer = helper->Exchange(request);
  const unsigned removed = answer ? answer->removed : 0;
  if (context.options.json) {
    context.console.out() << "{\"removed\": " + std::to_string(removed) + "}"
                          << "\n";
  } else {
    context.console.out() << "Removed " << removed << " entries left by ended runs.\n";
  }
  return kExitOk;
}

}  // namespace vantrell
