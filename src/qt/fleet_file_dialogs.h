#pragma once
/// The file dialogs of the window's fleet commands: the save dialog of
/// Save List As (CSV, offering "devices.csv") and the folder dialog of
/// Backup Configurations.

#include <filesystem>
#include <optional>

class QWidget;

namespace vantrell {

/// The save dialog (asks before overwriting); nothing on Cancel.
std::optional<std::filesystem::path> AskDeviceListFile(QWidget* parent);

/// An existing folder; nothing on Cancel.
std::optional<std::filesystem::path> AskBackupFolder(QWidget* parent);

}  // namespace vantrell
