#pragma once
/// "Backup Configurations..." of the window: the selected devices backed up
/// into one folder by BackupRun (a file a device named by its MAC, then
/// inventory.csv) in a progress dialog with one row a device, as the other
/// multi-device dialogs show them. Video servers whose credentials the
/// window does not know yet get them first, all in one multiple-login
/// dialog; devices the rights refuse end with their row text.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/device_list.h"
#include "core/timing.h"
#include "ui/prompter.h"

namespace vantrell {

class ArpRouteBracket;

/// The progress dialog's title.
inline constexpr const char* kBackupDialogTitle = "Backup Configurations";

/// Where the command reaches the operator and the network.
struct WindowBackupPorts {
  Prompter& prompter;
  ModalDialogHost& dialogs;
  /// The folder dialog; nothing on Cancel.
  std::function<std::optional<std::filesystem::path>()> chooseFolder;
  ArpRouteBracket* bracket = nullptr;
  Timing timing;
};

/// The selected rows' video servers that are accessible and have no user
/// name stored: those the login dialog asks for.
std::vector<std::size_t> VideoServersWithoutCredentials(const DeviceList& document,
                                                        const std::vector<std::size_t>& selected);

/// The command on the selected rows of the device list, in list order:
/// the credentials (Cancel ends the command), the folder dialog, the
/// progress dialog, then inventory.csv (a stop message box when it cannot be
/// written). A run stopped before every row ended writes no inventory: the
/// folder keeps the one an earlier backup left.
void RunWindowBackup(DeviceList& document, const std::vector<int>& selectedRows,
                     const WindowBackupPorts& ports);

}  // namespace vantrell
