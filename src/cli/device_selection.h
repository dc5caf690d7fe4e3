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

/// How many devices a command acts on.
enum class DeviceCount { kOne, kMany };

/// Runs the search and picks the named devices, then those of the fleet
/// selection options (--from names more; --all, --model and --subnet pick
/// from the whole search, which then runs to its end). A name that matches
/// no device, or more than one (devices that share an address), an empty
/// selection, or more than one device for a one-device command, is a
/// refusal that has been reported already. When the fleet options are used,
/// the selection is printed on stderr (MAC<TAB>address a line, unless
/// --quiet) before anything is sent.
DeviceSelection SelectNamedDevices(CliContext& context, const std::vector<std::string>& names,
                                   DeviceCount count = DeviceCount::kMany);

/// True when a fleet selection option stands on the command line, so that
/// a command may be given no device names.
bool HasFleetSelection(const CliOptions& options);

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
