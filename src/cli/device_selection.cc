#include "cli/device_selection.h"

#include <net/if.h>

#include <algorithm>

#include "cli/fleet_selection.h"
#include "core/text_forms.h"
#include "platform/address_table.h"

namespace vantrell {
namespace {

/// A device name: a MAC address or a dotted IPv4 address.
struct DeviceName {
  std::string text;
  std::optional<MacAddress> mac;
  std::optional<Ipv4> ip;

  bool Matches(const DeviceRecord& record) const {
    return mac ? record.mac == *mac : record.ipAddr == *ip;
  }
};

std::vector<std::size_t> Matches(const DeviceList& devices, const DeviceName& name) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (name.Matches(devices[i])) found.push_back(i);
  }
  return found;
}

/// True once every named device is listed and its details query ran.
bool AllNamedDetailed(const std::vector<DeviceName>& names, const DeviceList& devices) {
  return std::all_of(names.begin(), names.end(), [&](const DeviceName& name) {
    const auto found = Matches(devices, name);
    return !found.empty() && std::all_of(found.begin(), found.end(), [&](std::size_t i) {
      return devices[i].detailsFetched != 0;
    });
  });
}

}  // namespace

bool HasSearchAddress(const std::optional<std::vector<InterfaceAddress>>& table, int ifIndex) {
  if (!table) return false;
  return std::any_of(table->begin(), table->end(), [ifIndex](const InterfaceAddress& row) {
    return row.ifIndex == ifIndex && row.address != 0 && row.address != MakeIpv4(127, 0, 0, 1);
  });
}

bool MakeSearchEndpoints(CliContext& context, SearchEndpoints& endpoints) {
  std::vector<int> indexes;
  const auto table = context.options.interfaces.empty() ? std::nullopt : ReadAddressTable();
  for (const std::string& name : context.options.interfaces) {
    const unsigned index = if_nametoindex(name.c_str());
    if (index == 0) {
      context.Refuse("unknown interface " + name);
      return false;
    }
    if (!HasSearchAddress(table, static_cast<int>(index))) {
      context.Refuse("interface " + name + " has no IPv4 address to search on");
      return false;
    }
    indexes.push_back(static_cast<int>(index));
  }
  endpoints = SystemSearchEndpoints(indexes);
  return true;
}

void ApplyPassword(CliContext& context, DeviceRecord& record) {
  if (record.statusFlags & kStatusProtected) SetFieldText(record.password, context.options.password);
}

namespace {

/// Refuses the selection when it is empty or too large for the command;
/// otherwise prints it (fleet options only) and takes the password.
int FinishSelection(CliContext& context, DeviceSelection& selection, const FleetSelection& fleet,
                    DeviceCount count) {
  if (selection.picked.empty()) return context.Refuse("no device matches the selection");
  if (count == DeviceCount::kOne && selection.picked.size() > 1) {
    return context.Refuse(context.options.command + " takes one device; the selection names " +
                          std::to_string(selection.picked.size()) + " devices");
  }
  for (std::size_t index : selection.picked) {
    DeviceRecord& record = selection.search.devices[index];
    ApplyPassword(context, record);
    if (fleet.Active()) {
      context.console.Progress(FormatMac(record.mac) + "\t" + FormatIpv4(record.ipAddr));
    }
  }
  return kExitOk;
}

void PickOnce(std::vector<std::size_t>& picked, std::size_t index) {
  if (std::find(picked.begin(), picked.end(), index) == picked.end()) picked.push_back(index);
}

}  // namespace

bool HasFleetSelection(const CliOptions& options) {
  return options.Flag("--all") || options.Value("--model") || options.Value("--subnet") ||
         options.Value("--from");
}

DeviceSelection SelectNamedDevices(CliContext& context, const std::vector<std::string>& texts,
                                   DeviceCount count) {
  DeviceSelection selection;
  std::string fleetError;
  const auto fleet = ParseFleetSelection(context.options, fleetError);
  if (!fleet) {
    selection.error = context.Refuse(fleetError);
    return selection;
  }
  std::vector<std::string> allTexts = texts;
  allTexts.insert(allTexts.end(), fleet->fromNames.begin(), fleet->fromNames.end());
  std::vector<DeviceName> names;
  for (const std::string& text : allTexts) {
    DeviceName name{text, ParseMac(text), std::nullopt};
    if (!name.mac) name.ip = ParseIpv4(text);
    if (!name.mac && !name.ip) {
      selection.error = context.Refuse("invalid device " + text + " (a MAC or IPv4 address)");
      return selection;
    }
    names.push_back(name);
  }
  SearchRequest request;
  if (!MakeSearchEndpoints(context, request.endpoints)) {
    selection.error = kExitUsage;
    return selection;
  }
  request.bracket = &context.bracket();
  request.timing = context.timing;
  // A filter needs the whole list; names alone may end the search early.
  if (!fleet->Filters()) {
    request.enough = [&names](const DeviceList& devices, const std::vector<std::string>&) {
      return AllNamedDetailed(names, devices);
    };
  }
  selection.search = RunSearchSession(request, context.console);

  for (const DeviceName& name : names) {
    const auto found = Matches(selection.search.devices, name);
    if (found.empty()) {
      selection.error = context.Refuse("device " + name.text + " not found");
      return selection;
    }
    // An address that several listed devices share names none of them:
    // acting on all would reach devices the operator did not mean.
    if (found.size() > 1) {
      selection.error =
          context.Refuse("device " + name.text + " names " + std::to_string(found.size()) +
                         " devices; name it by its MAC address");
      return selection;
    }
    PickOnce(selection.picked, found.front());
  }
  for (std::size_t i = 0; i < selection.search.devices.size(); ++i) {
    if (fleet->Admits(selection.search.devices[i])) PickOnce(selection.picked, i);
  }
  selection.error = FinishSelection(context, selection, *fleet, count);
  return selection;
}

}  // namespace vantrell
