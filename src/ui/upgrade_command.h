#pragma once
/// The commands of the device list view that belong to firmware and video
/// servers: Upgrade Firmware (video servers' credentials first, the rights
/// walk, the open dialog for the image, CUpgradeFirm, the refresh question)
/// and the parameter export of a video server with its login retry.

#include <filesystem>
#include <functional>
#include <vector>

#include "core/device_list.h"
#include "ops/firmware_upgrade.h"
#include "ui/prompter.h"
#include "ui/upgrade_firm.h"

namespace vantrell {

class ArpRouteBracket;

/// The open dialog for the firmware image.
inline const FileDialogRequest kFirmwareFileDialog{kFirmwareFileFilter, kFirmwareFileExtension};

/// The network work of the upgrade; tests substitute fakes.
struct UpgradeWorkers {
  /// A switch row; `messages` shows the message of an unreadable file.
  std::function<int(UpgradeJob&, MessageSink* messages)> switchWorker;
  std::function<int(UpgradeJob&)> videoServerWorker;
};

/// The real workers with `timing`.
UpgradeWorkers SystemUpgradeWorkers(const Timing& timing = {});

struct UpgradeCommandPorts {
  Prompter& prompter;
  ModalDialogHost& dialogs;
  ArpRouteBracket* bracket = nullptr;
  /// The broadcast search, when the operator wants the list refreshed.
  std::function<void()> broadcastSearch;
};

/// Command 32775 on the selected rows of the device list, in list order.
/// The multiple-login dialog comes up only when the last selected row is a
/// video server; otherwise every video server goes with the credentials
/// its record already holds.
void RunUpgradeCommand(DeviceList& document, const std::vector<int>& selectedRows,
                       const UpgradeWorkers& workers, const UpgradeCommandPorts& ports);

/// The parameter export of a video server after the first save dialog
/// gave `path`: the download, its message, and after refused credentials
/// the login dialog, the credentials stored in the record and the whole
/// command again from the save dialog (as often as the operator logs in).
/// `exportParameters` is ExportVideoServerParameters inside its bracket.
void RunVideoServerExport(
    DeviceRecord& record, std::filesystem::path path, Prompter& prompter,
    const std::function<int(const DeviceRecord&, const std::filesystem::path&)>& exportParameters);

}  // namespace vantrell
