#include "ui/upgrade_command.h"

#include "core/model_table.h"
#include "net/http_texts.h"
#include "ops/video_server_export.h"
#include "ui/multiple_login.h"
#include "ui/orv_list_view.h"

namespace vantrell {

UpgradeWorkers SystemUpgradeWorkers(const Timing& timing) {
  UpgradeWorkers workers;
  workers.switchWorker = [timing](UpgradeJob& job, MessageSink* messages) {
    return RunSwitchUpgrade(job, messages, timing);
  };
  workers.videoServerWorker = [timing](UpgradeJob& job) {
    return RunVideoServerUpgrade(job, timing);
  };
  return workers;
}

void RunUpgradeCommand(DeviceList& document, const std::vector<int>& selectedRows,
                       const UpgradeWorkers& workers, const UpgradeCommandPorts& ports) {
  std::vector<std::size_t> selected;
  for (int row : selectedRows) {
    if (row >= 0 && static_cast<std::size_t>(row) < document.size()) {
      selected.push_back(static_cast<std::size_t>(row));
    }
  }
  // The selected video servers get their credentials first, but the dialog
  // comes up only when the walk ends on a video server.
  CCMultipleLogin login;
  for (std::size_t index : selected) login.addDevice(document, document[index], index);
  if (!selected.empty() && IsKavexModelId(document[selected.back()].modelId) &&
      !ports.prompter.MultipleLogin(login)) {
    return;
  }

  std::vector<const DeviceRecord*> records;
  for (std::size_t index : selected) records.push_back(&document[index]);
  UpgradeRows collected = CollectUpgradeRows(records);
  if (collected.refusal) {
    ports.prompter.ShowMessage(*collected.refusal, MessageIcon::kStop);
    return;
  }
  const auto path = ports.prompter.OpenFileName(kFirmwareFileDialog);
  if (!path) return;
  SetUpgradeFile(collected.rows, path->string());

  {
    Prompter& prompter = ports.prompter;
    CUpgradeFirm::Workers rowWorkers{[&prompter, worker = workers.switchWorker](UpgradeJob& job) {
                                       return worker ? worker(job, &prompter)
                                                     : static_cast<int>(kUpgradeFailed);
                                     },
                                     workers.videoServerWorker};
    UpgradeFirmDriver driver(collected.rows, rowWorkers, ports.bracket);
    ports.dialogs.RunUpgradeModal(driver);
  }
  if (ports.prompter.Ask(kRefreshQuestion, MessageIcon::kNone, PromptButtons::kYesNo) ==
          PromptAnswer::kYes &&
      ports.broadcastSearch) {
    ports.broadcastSearch();
  }
}

void RunVideoServerExport(
    DeviceRecord& record, std::filesystem::path path, Prompter& prompter,
    const std::function<int(const DeviceRecord&, const std::filesystem::path&)>& exportParameters) {
  if (!exportParameters) return;
  for (;;) {
    const int result = exportParameters(record, path);
    if (result != kDownloadUnauthorized) {
      prompter.ShowMessage(VideoExportResultText(result), MessageIcon::kInformation);
      return;
    }
    prompter.ShowMessage(kVideoLoginErrorText, MessageIcon::kNone);
    const std::optional<LoginEntry> entry = prompter.LoginIdPassword();
    if (!entry) return;
    StoreKavexCredentials(record, entry->user, entry->password);
    // The whole command again, from its save dialog.
    const auto next = prompter.SaveFileName(kConfigurationFileDialog);
    if (!next) return;
    path = *next;
  }
}

}  // namespace vantrell
