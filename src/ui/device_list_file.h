#pragma once
/// "Save List As..." of the List Server menu: the listed devices written as
/// the inventory CSV (the columns `search --csv` prints), whole or not at
/// all, and the message the operator gets when the file cannot be written.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/device_list.h"
#include "ui/prompter.h"

namespace vantrell {

/// The save dialog of Save List As, and the name it offers.
inline const FileDialogRequest kDeviceListFileDialog{
    "CSV files (*.csv)|*.csv|All files (*.*)|*.*||", "csv"};
inline constexpr const char* kDeviceListFileName = "devices.csv";

/// "Cannot save the device list to PATH:\nREASON".
std::string DeviceListSaveFailedText(const std::filesystem::path& path, std::string_view reason);

/// Writes the inventory of `devices` (`progress`: their search Progress
/// cells, where known) to `path`, replacing it whole only once complete.
/// Nothing on success, otherwise the message for the operator.
std::optional<std::string> SaveDeviceList(const std::filesystem::path& path,
                                          const DeviceList& devices,
                                          const std::vector<std::string>& progress = {});

/// The command after its save dialog gave `path`: the file written, a stop
/// message box on failure.
void RunSaveListAs(const DeviceList& devices, const std::filesystem::path& path,
                   Prompter& prompter);

}  // namespace vantrell
