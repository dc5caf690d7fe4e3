#pragma once
/// The inventory of the devices a search found, one CSV row a device, as
/// `search --csv` prints it and `backup` writes it beside its files.

#include <string>
#include <string_view>
#include <vector>

#include "core/device_list.h"

namespace vantrell {

/// model, ip, mac, status, name, location, firmware, serial, netmask,
/// gateway, dns1, dns2, dhcp, interface, details.
const std::vector<std::string>& InventoryColumns();

/// The fields of one device in the order of InventoryColumns; `progress` is
/// its search "Progress" cell (the details column). Device texts have their
/// control characters replaced by blanks.
std::vector<std::string> InventoryFields(const DeviceRecord& record, std::string_view progress);

/// "off", "dhcp" or "bootp" from the address mode bits.
std::string_view AddressModeWord(std::uint32_t ipConfigFlags);

/// The header line and one line a device (CSV, CR LF line ends).
std::string InventoryCsv(const DeviceList& devices, const std::vector<std::string>& progress);

}  // namespace vantrell
