#include "cli/search_command.h"

#include <cstdio>

#include "cli/device_selection.h"
#include "ui/inventory.h"
#include "cli/results.h"
#include "cli/search_output.h"

namespace vantrell {
namespace {

std::string SummaryLine(const SearchOutcome& outcome) {
  char text[128];
  std::snprintf(text, sizeof text, "found %zu devices in %.3f s (last new device after %.3f s)",
                outcome.devices.size(), outcome.total.count() / 1000.0,
                outcome.lastNewDevice.count() / 1000.0);
  return text;
}

}  // namespace

int RunSearchCommand(CliContext& context) {
  const CliOptions& options = context.options;
  if (!options.args.empty()) return context.Refuse("search takes no arguments");
  if (options.json && options.Flag("--csv")) return context.Refuse("give only one of --json and --csv");
  SearchRequest request;
  if (const auto ip = options.Value("--ip")) {
    const auto address = ParseIpv4(*ip);
    if (!address) return context.Refuse("invalid address " + *ip);
    request.sourceFilter = *address;
  }
  if (!MakeSearchEndpoints(context, request.endpoints)) return kExitUsage;
  request.bracket = &context.bracket();
  request.timing = context.timing;

  const SearchOutcome outcome = RunSearchSession(request, context.console);
  context.console.Progress(SummaryLine(outcome));
  if (options.json) {
    PrintJson(context.console.out(), SearchJson(outcome.devices, outcome.progress));
  } else if (options.Flag("--csv")) {
    context.console.out() << InventoryCsv(outcome.devices, outcome.progress);
  } else {
    context.console.out() << SearchTable(outcome.devices, outcome.progress);
  }
  return kExitOk;
}

}  // namespace vantrell
