#pragma once
/// The two forms in which `vantrell search` prints the devices it found:
/// an aligned table and the JSON array that scripts read.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/device_list.h"

namespace vantrell {

/// Columns Model, IP Address, MAC Address, Status, Name, Location, Firmware,
/// Serial; one line per device, header first. `progress` holds the
/// "Progress" cell of each device: "Timeout" shows in the Status column.
std::string SearchTable(const DeviceList& devices, const std::vector<std::string>& progress = {});

/// One object per device with exactly the keys scripts rely on; `progress`
/// holds the "Progress" cell of each device.
/// Device texts are valid UTF-8 (JsonText).
nlohmann::json SearchJson(const DeviceList& devices, const std::vector<std::string>& progress);

/// `info --json`: the device's search object with "infoText" added.
nlohmann::json InfoJson(const DeviceRecord& record, const std::string& progress);

}  // namespace vantrell
