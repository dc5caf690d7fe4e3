#include "ui/window_backup.h"

#include <memory>

#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/selection_rights.h"
#include "ui/fleet_backup.h"
#include "ui/multiple_login.h"

namespace vantrell {
namespace {

/// The progress dialog over a BackupRun: "Stop" until every row is final,
/// then "Close".
class BackupDriver : public DialogDriver {
 public:
  BackupDriver(std::filesystem::path folder, std::vector<BackupDevice> devices,
               const WindowBackupPorts& ports)
      : folder_(std::move(folder)), devices_(std::move(devices)), ports_(ports) {}

  const Layout& layout() const override {
    static const Layout layout{
        kBackupDialogTitle, "Stop", {{"MAC Address", 120}, {"Progress", 250}}, true, false, 100};
    return layout;
  }
  void Open(RowTable& rows, DialogControls& controls) override {
    controls_ = &controls;
    run_ = std::make_unique<BackupRun>(folder_, devices_, ports_.bracket, ports_.timing, rows);
    run_->Open();
  }
  TickResult OnTick() override {
    if (!run_->OnTimer()) return TickResult::kContinue;
    if (!cancelled_) {
      completed_ = true;
      controls_->SetButtonText("Close");
    }
    return TickResult::kStopTimer;
  }
  void OnButton() override {
    cancelled_ = !completed_;
    run_->Cancel();
  }

  /// Whether every row ended before the button was pressed.
  bool completed() const { return completed_; }
  const BackupRun& run() const { return *run_; }

 private:
  std::filesystem::path folder_;
  std::vector<BackupDevice> devices_;
  const WindowBackupPorts& ports_;
  DialogControls* controls_ = nullptr;
  std::unique_ptr<BackupRun> run_;
  bool completed_ = false;
  bool cancelled_ = false;
};

}  // namespace

std::vector<std::size_t> VideoServersWithoutCredentials(const DeviceList& document,
                                                        const std::vector<std::size_t>& selected) {
  std::vector<std::size_t> asked;
  for (std::size_t index : selected) {
    const DeviceRecord& record = document[index];
    if (IsKavexModelId(record.modelId) && IsAccessible(record) &&
        FieldText(record.kavexUser).empty()) {
      asked.push_back(index);
    }
  }
  return asked;
}

void RunWindowBackup(DeviceList& document, const std::vector<int>& selectedRows,
                     const WindowBackupPorts& ports) {
  std::vector<std::size_t> selected;
  for (int row : selectedRows) {
    if (row >= 0 && static_cast<std::size_t>(row) < document.size()) {
      selected.push_back(static_cast<std::size_t>(row));
    }
  }
  if (selected.empty()) return;

  CCMultipleLogin login;
  for (std::size_t index : VideoServersWithoutCredentials(document, selected)) {
    login.addDevice(document, document[index], index);
  }
  if (!login.empty() && !ports.prompter.MultipleLogin(login)) return;

  const auto folder = ports.chooseFolder ? ports.chooseFolder() : std::nullopt;
  if (!folder) return;

  // The window keeps no search Progress cells: the details column stays empty.
  std::vector<BackupDevice> devices;
  for (std::size_t index : selected) devices.push_back({document[index], std::string()});
  BackupDriver driver(*folder, std::move(devices), ports);
  ports.dialogs.RunModal(driver);
  if (!driver.completed()) return;
  std::string error;
  if (!driver.run().WriteInventory(error)) ports.prompter.ShowMessage(error, MessageIcon::kStop);
}

}  // namespace vantrell
