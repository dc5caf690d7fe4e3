#include "cli/search_command.h"

#include <net/if.h>

#include <cstdio>
#include <memory>

#include "cli/console.h"
#include "cli/search_output.h"
#include "cli/search_session.h"
#include "net/arp_route_bracket.h"
#include "platform/capability.h"
#include "platform/net_tables.h"

namespace vantrell {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;

/// Interface indexes of the --interface names; nothing when one is unknown.
std::optional<std::vector<int>> InterfaceIndexes(const CliOptions& options, Console& console) {
  std::vector<int> indexes;
  for (const std::string& name : options.interfaces) {
    const unsigned index = if_nametoindex(name.c_str());
    if (index == 0) {
      console.Error("unknown interface " + name);
      return std::nullopt;
    }
    indexes.push_back(static_cast<int>(index));
  }
  return indexes;
}

std::string SummaryLine(const SearchOutcome& outcome) {
  char text[128];
  std::snprintf(text, sizeof text, "found %zu devices in %.3f s (last new device after %.3f s)",
                outcome.devices.size(), outcome.total.count() / 1000.0,
                outcome.lastNewDevice.count() / 1000.0);
  return text;
}

}  // namespace

int RunSearchCommand(const CliOptions& options, Console& console) {
  if (!options.args.empty()) {
    console.Error("search takes no arguments");
    return kExitUsage;
  }
  SearchRequest request;
  if (const auto ip = options.Value("--ip")) {
    const auto address = ParseIpv4(*ip);
    if (!address) {
      console.Error("invalid address " + *ip);
      return kExitUsage;
    }
    request.sourceFilter = *address;
  }
  const auto interfaces = InterfaceIndexes(options, console);
  if (!interfaces) return kExitUsage;
  request.endpoints = SystemSearchEndpoints(*interfaces);

  std::unique_ptr<NetTables> tables;
  if (HasNetAdminCapability()) {
    tables = MakeSystemNetTables();
  } else {
    console.Progress(kNetAdminMissingText);
  }
  ArpRouteBracket bracket(tables.get(), console);
  request.bracket = &bracket;

  const SearchOutcome outcome = RunSearchSession(request, console);
  console.Progress(SummaryLine(outcome));
  if (options.json) {
    console.out() << SearchJson(outcome.devices, outcome.progress).dump(2) << "\n";
  } else {
    console.out() << SearchTable(outcome.devices);
  }
  return kExitOk;
}

}  // namespace vantrell
