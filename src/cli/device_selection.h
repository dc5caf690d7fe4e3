#pragma once
/// Finding the devices a command names: the broadcast search, ended early
/// once every named device has been found and detailed, and the matching
/// of MAC addresses and IPv4 addresses against the list.

#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/search_session.h"
#include "platform/address_table.h"

namespace vantrell {

struct DeviceSelection {
  SearchOutcome search;
  /// Indexes into search.devices, in the order the devices were named.
  std::vector<std::size_t> picked;
  /// 0, or the exit code when a device was not found or the name is invalid.
  int error = kExitOk;
};

/// Runs the search and picks the named devices. A name that matches no
/// device, or more than one (devices that share an address), is a refusal
/// that has been reported already.
DeviceSelection SelectNamedDevices(CliContext& context, const std::vector<std::string>& names);

/// The search endpoints of the --interface options; false when a name is
/// not an interface of this machine or it has no IPv4 address that the
/// search binds to (refused on the console).
bool MakeSearchEndpoints(CliContext& context, SearchEndpoints& endpoints);

/// True when the address table holds an address of interface `ifIndex`
/// that the search binds to (neither 0.0.0.0 nor 127.0.0.1).
bool HasSearchAddress(const std::optional<std::vector<InterfaceAddress>>& table, int ifIndex);

/// Puts --password into every protected record, as if the operator had
/// unlocked it in the window.
void ApplyPassword(CliContext& context, DeviceRecord& record);

}  // namespace vantrell
