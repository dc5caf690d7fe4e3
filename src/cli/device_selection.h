#pragma once
/// Finding the devices a command names: the broadcast search, ended early
/// once every named device has been found and detailed, and the matching
/// of MAC addresses and IPv4 addresses against the list.

#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/search_session.h"

namespace vantrell {

struct DeviceSelection {
  SearchOutcome search;
  /// Indexes into search.devices, in the order the devices were named.
  std::vector<std::size_t> picked;
  /// 0, or the exit code when a device was not found or the name is invalid.
  int error = kExitOk;
};

/// Runs the search and picks the named devices. A name that matches no
/// device, or (with `single`) more than one, is an error that the console
/// has reported already.
DeviceSelection SelectNamedDevices(CliContext& context, const std::vector<std::string>& names,
                                   bool single = false);

/// The search endpoints of the --interface options; false when a name is
/// not an interface of this machine (reported on the console).
bool MakeSearchEndpoints(CliContext& context, SearchEndpoints& endpoints);

/// Puts --password into every protected record, as if the operator had
/// unlocked it in the window.
void ApplyPassword(CliContext& context, DeviceRecord& record);

}  // namespace vantrell
