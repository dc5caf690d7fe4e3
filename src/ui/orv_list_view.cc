#include "ui/orv_list_view.h"

#include <arpa/inet.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "config/config_block.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "net/details_query.h"
#include "net/search_worker.h"
#include "ops/device_info.h"
#include "ops/export_configuration.h"
#include "ops/video_server_export.h"
#include "ops/network_settings.h"
#include "ops/password_commands.h"
#include "ops/selection_rights.h"
#include "ops/send_command.h"
#include "ui/import_dialog.h"
#include "ui/main_menu.h"
#include "ui/multi_device_dialog.h"
#include "ui/netconf_form.h"
#include "ui/one_device_dialog.h"
#include "ui/search_dialog.h"
#include "ui/upgrade_command.h"

namespace vantrell {
namespace {

/// View update hint 90 with nothing selected.
constexpr int kNoDevice = -1;

const std::vector<DialogDriver::Column> kProgressColumns(int macWidth, int progressWidth) {
  return {{"MAC Address", macWidth}, {"Progress", progressWidth}};
}

/// CSearchDlg "Broadcast Search" in a modal dialog.
class SearchDriver : public DialogDriver {
 public:
  SearchDriver(DeviceList& document, Ipv4 sourceFilter, const OrvListView::Services& services,
               std::function<void(const std::string&)> reportLimit)
      : document_(document),
        sourceFilter_(sourceFilter),
        services_(services),
        reportLimit_(std::move(reportLimit)) {}

  const Layout& layout() const override {
    static const Layout layout{
        "Broadcast Search",
        "Stop",
        {{"Model", 110}, {"IP Address", 100}, {"MAC Address", 120}, {"Progress", 100}},
        false,
        true,
        200,
        false};
    return layout;
  }

  void Open(RowTable& rows, DialogControls& controls) override {
    CSearchDlg::Ports ports{
        rows,
        [&controls](const std::string& text) { controls.SetStatusText(text); },
        services_.bracket,
        services_.detailsQuery,
        services_.sleep,
        reportLimit_,
        [&controls](const std::function<bool()>& finished) { controls.WaitServing(finished); }};
    dialog_ = std::make_unique<CSearchDlg>(document_, sourceFilter_, ports, services_.timing);
    dialog_->Start(services_.searchWorker);
  }
  TickResult OnTick() override {
    return dialog_->OnTimer() ? TickResult::kEndDialog : TickResult::kContinue;
  }
  void OnButton() override { dialog_->Cancel(); }

 private:
  DeviceList& document_;
  Ipv4 sourceFilter_;
  const OrvListView::Services& services_;
  std::function<void(const std::string&)> reportLimit_;
  std::unique_ptr<CSearchDlg> dialog_;
};

/// CUnlockDlg and SetPassword.
class OneDeviceDriver : public DialogDriver {
 public:
  OneDeviceDriver(SingleDeviceJob& job, int macWidth, std::function<void(SingleDeviceJob&)> worker)
      : job_(job), worker_(std::move(worker)) {
    layout_ = {"Dialog", "OK", kProgressColumns(macWidth, 100), true, false, 100};
  }
  const Layout& layout() const override { return layout_; }
  void Open(RowTable& rows, DialogControls& controls) override {
    dialog_ = std::make_unique<OneDeviceDialog>(
        job_, OneDeviceDialog::Ports{
                  rows, [&controls](std::string_view text) { controls.SetButtonText(text); },
                  [&controls](const std::function<bool()>& finished) {
                    controls.WaitServing(finished);
                  }});
    dialog_->Open(worker_);
  }
  TickResult OnTick() override {
    return dialog_->OnTimer() ? TickResult::kStopTimer : TickResult::kContinue;
  }
  void OnButton() override { dialog_->PressButton(); }

 private:
  SingleDeviceJob& job_;
  std::function<void(SingleDeviceJob&)> worker_;
  Layout layout_;
  std::unique_ptr<OneDeviceDialog> dialog_;
};

/// SendCMD "Send CMD Process".
class SendCommandDriver : public DialogDriver {
 public:
  SendCommandDriver(std::vector<std::shared_ptr<DeviceJob>> rows,
                    const OrvListView::Services& services)
      : rows_(std::move(rows)), services_(services) {}
  const Layout& layout() const override {
    static const Layout layout{
        "Send CMD Process", "Stop", kProgressColumns(100, 100), true, false, 100};
    return layout;
  }
  void Open(RowTable& rows, DialogControls& controls) override {
    dialog_ = std::make_unique<MultiDeviceDialog>(
        rows_, services_.sendCommandWorker, SendCommandStateText,
        MultiDeviceDialog::Ports{
            rows, [&controls](std::string_view text) { controls.SetButtonText(text); },
            services_.bracket});
    dialog_->Open();
  }
  TickResult OnTick() override {
    return dialog_->OnTimer() ? TickResult::kStopTimer : TickResult::kContinue;
  }
  void OnButton() override { dialog_->Cancel(); }

 private:
  std::vector<std::shared_ptr<DeviceJob>> rows_;
  const OrvListView::Services& services_;
  std::unique_ptr<MultiDeviceDialog> dialog_;
};

/// The import asks the operator through the window's dialogs: CLoginIDPwd
/// for a video server, CNetconf in review mode for a file's addresses.
class PrompterImportOperator : public ImportOperator {
 public:
  explicit PrompterImportOperator(Prompter& prompter) : prompter_(prompter) {}
  std::optional<LoginEntry> LoginIdPassword() override { return prompter_.LoginIdPassword(); }
  std::optional<DeviceRecord> ReviewAddressSettings(const DeviceRecord&,
                                                    const DeviceRecord& fileSettings,
                                                    AddressChangeMask mask) override {
    return prompter_.EditNetworkSettings(fileSettings, mask, NetconfPurpose::kImportReview);
  }

 private:
  Prompter& prompter_;
};

/// CImportFile "Import Configuration": the one-shot start timer runs the
/// whole import inside its tick; "OK" (enabled at the end) closes it.
class ImportDriver : public DialogDriver {
 public:
  ImportDriver(std::vector<ImportTarget> targets, Prompter& prompter,
               const OrvListView::Services& services)
      : targets_(std::move(targets)),
        prompter_(prompter),
        operator_(prompter),
        services_(services),
        layout_(ImportDialogLayout()) {}
  const Layout& layout() const override { return layout_; }
  void Open(RowTable& rows, DialogControls& controls) override {
    dialog_ = std::make_unique<ImportDialog>(
        std::move(targets_),
        ImportDialog::Ports{rows, prompter_, operator_,
                            [&controls](bool enabled) { controls.SetButtonEnabled(enabled); },
                            [&controls](int row) { controls.RedrawRow(row); },
                            [&controls](bool on) { controls.SetWaitCursor(on); }, services_.bracket,
                            services_.timing});
    dialog_->Open();
  }
  TickResult OnTick() override {
    // One shot: later ticks (from message boxes opened during the run)
    // only stop the timer.
    if (!fired_) {
      fired_ = true;
      dialog_->OnTimer();
    }
    return TickResult::kStopTimer;
  }
  void OnButton() override {}

 private:
  std::vector<ImportTarget> targets_;
  Prompter& prompter_;
  PrompterImportOperator operator_;
  const OrvListView::Services& services_;
  Layout layout_;
  std::unique_ptr<ImportDialog> dialog_;
  bool fired_ = false;
};

template <std::size_t N>
int CompareText(const char (&a)[N], const char (&b)[N]) {
  return FieldText(a).compare(FieldText(b));
}

}  // namespace

std::array<std::string, kDeviceColumnCount> DeviceRowTexts(const DeviceRecord& record) {
  return {std::string(FieldText(record.modelName)),
          FormatIpv4(record.ipAddr),
          FormatMac(record.mac),
          StatusText(record),
          std::string(FieldText(record.serverName)),
          std::string(FieldText(record.location))};
}

bool ColumnLess(int column, const DeviceRecord& a, const DeviceRecord& b) {
  switch (column) {
    case kColModel:
      return CompareText(a.modelName, b.modelName) < 0;
    case kColIpAddress:
      return ntohl(a.ipAddr) < ntohl(b.ipAddr);
    case kColMacAddress:
      return a.mac < b.mac;
    case kColStatus:
      return a.statusFlags < b.statusFlags;
    case kColName:
      return CompareText(a.serverName, b.serverName) < 0;
    case kColLocation:
      return CompareText(a.location, b.location) < 0;
    default:
      return false;
  }
}

std::string WebConsoleUrl(const DeviceRecord& record) {
  std::string url = "http://" + FormatIpv4(record.ipAddr);
  if (IsKavexName(FieldText(record.modelName))) url += ":" + std::to_string(record.webPort);
  return url;
}

OrvListView::OrvListView(DeviceList& document, Ports ports, Services services)
    : document_(document), ports_(std::move(ports)), services_(std::move(services)) {
  sortDescending_.fill(true);
}

OrvListView::~OrvListView() { RemoveListedBrackets(); }

void OrvListView::RemoveListedBrackets() {
  if (!services_.bracket) return;
  for (const DeviceRecord& record : document_) services_.bracket->Remove(record.ipAddr);
}

const DeviceRecord* OrvListView::Focused() const {
  const int row = ports_.list.FocusedRow();
  if (row < 0 || static_cast<std::size_t>(row) >= document_.size()) return nullptr;
  return &document_[static_cast<std::size_t>(row)];
}

std::vector<const DeviceRecord*> OrvListView::SelectedRecords() const {
  std::vector<const DeviceRecord*> records;
  for (int row : ports_.list.SelectedRows()) {
    if (row >= 0 && static_cast<std::size_t>(row) < document_.size()) {
      records.push_back(&document_[static_cast<std::size_t>(row)]);
    }
  }
  return records;
}

void OrvListView::RefreshRows() {
  for (std::size_t i = 0; i < document_.size(); ++i) {
    const auto texts = DeviceRowTexts(document_[i]);
    for (int column = 0; column < kDeviceColumnCount; ++column) {
      ports_.list.SetCell(static_cast<int>(i), column, texts[static_cast<std::size_t>(column)]);
    }
  }
  SelectDevice();
}

void OrvListView::SelectDevice() {
  if (document_.empty()) return;
  const int row = ports_.list.FocusedRow();
  if (row < 0 || static_cast<std::size_t>(row) >= document_.size()) return;
  ports_.list.SelectAndFocus(row);
  DeviceRecord& record = document_[static_cast<std::size_t>(row)];
  if (record.replyKind != 1) {
    ports_.showDevice(row);
    return;
  }
  if (services_.fetchInfoText && services_.fetchInfoText(record)) {
    ports_.showDevice(row);
    return;
  }
  ports_.prompter.ShowMessage(CannotConnectText(record), MessageIcon::kStop);
  ports_.showDevice(kNoDevice);
}

bool OrvListView::CheckSelectionRights() {
  const std::vector<const DeviceRecord*> selected = SelectedRecords();
  const auto refusal = vantrell::CheckSelectionRights(selected);
  if (!refusal) return true;
  ports_.prompter.ShowMessage(*refusal, MessageIcon::kStop);
  return false;
}

bool OrvListView::CommandEnabled(int id) const {
  const std::size_t n = ports_.list.SelectedRows().size();
  const DeviceRecord* f = Focused();
  const bool single = f && n <= 1 && IsAccessible(*f);
  const bool kavex = f && IsKavexName(FieldText(f->modelName));
  switch (id) {
    case kCmdUpgradeFirmware:
    case kCmdSetDefault:
      return n > 0;
    case kCmdImportConfiguration:
      return f && IsAccessible(*f) && IsUsable(*f);
    case kCmdExportConfiguration:
      return single && IsUsable(*f);
    case kCmdWebConsole:
      return single;
    case kCmdChangePassword:
      return single && !kavex;
    case kCmdUnlock:
      return single && (f->statusFlags & kStatusProtected) && FieldText(f->password).empty() &&
             !kavex;
    case kCmdModifyIp:
      return single && IsUsable(*f) && (!kavex || (f->modelId & 0xFF) != 0x80);
    default:
      return true;
  }
}

void OrvListView::OnCommand(int id) {
  switch (id) {
    case kCmdBroadcastSearch:
      return BroadcastSearch();
    case kCmdSpecifyIp:
      return SpecifyIpAddress();
    case kCmdUnlock:
      return Unlock();
    case kCmdChangePassword:
      return ChangePassword();
    case kCmdExportConfiguration:
      return ExportConfiguration();
    case kCmdModifyIp:
      return ModifyIpAddress();
    case kCmdImportConfiguration:
      return ImportConfiguration();
    case kCmdSetDefault:
      return SetDefault();
    case kCmdWebConsole:
      return WebConsole();
    case kCmdUpgradeFirmware:
      return UpgradeFirmware();
    default:
      return;
  }
}

void OrvListView::OnDoubleClick() {
  const DeviceRecord* f = Focused();
  if (!f) return;
  OnCommand(IsKavexName(FieldText(f->modelName)) ? kCmdWebConsole : kCmdModifyIp);
}

bool OrvListView::ShowsContextMenu(bool pointInsideClientArea) const {
  return pointInsideClientArea && Focused() != nullptr;
}

void OrvListView::OnColumnClick(int column) {
  if (column < 0 || column >= kDeviceColumnCount) return;
  bool& descending = sortDescending_[static_cast<std::size_t>(column)];
  if (descending) {
    document_.Sort([column](const DeviceRecord& a, const DeviceRecord& b) {
      return ColumnLess(column, b, a);
    });
  } else {
    document_.Sort([column](const DeviceRecord& a, const DeviceRecord& b) {
      return ColumnLess(column, a, b);
    });
  }
  RefreshRows();
  descending = !descending;
}

void OrvListView::RunSearch(Ipv4 sourceFilter) {
  ports_.showDevice(kNoDevice);
  // The new search drops every listed record (a refresh after Set Default
  // or Upgrade among them): what was installed for them goes first.
  RemoveListedBrackets();
  SearchDriver driver(document_, sourceFilter, services_, ports_.showStatusMessage);
  ports_.dialogs.RunModal(driver);
  ports_.list.DeleteAllRows();
  for (std::size_t i = 0; i < document_.size(); ++i) {
    ports_.list.InsertRow(static_cast<int>(i), FieldText(document_[i].modelName));
  }
  if (!document_.empty()) ports_.list.SelectAndFocus(0);
  RefreshRows();
  ports_.list.TakeKeyboardFocus();
}

void OrvListView::BroadcastSearch() { RunSearch(kAllOnesIpv4); }

void OrvListView::SpecifyIpAddress() {
  const std::optional<std::uint32_t> address = ports_.prompter.SpecifyIp();
  if (!address) return;
  RunSearch(htonl(*address));
}

void OrvListView::Unlock() {
  const int row = ports_.list.FocusedRow();
  if (!Focused()) return;
  const std::optional<std::string> typed = ports_.prompter.InputPassword();
  if (!typed) return;
  SingleDeviceJob job(document_[static_cast<std::size_t>(row)]);
  CopyTrimmedPassword(job.password, *typed);
  OneDeviceDriver driver(job, 120, services_.unlockWorker);
  ports_.dialogs.RunModal(driver);
  RefreshRows();
}

void OrvListView::ChangePassword() {
  const int row = ports_.list.FocusedRow();
  if (!Focused()) return;
  const std::optional<PasswordChange> typed = ports_.prompter.ChangePassword();
  if (!typed) return;
  SingleDeviceJob job(document_[static_cast<std::size_t>(row)]);
  CopyTrimmedPassword(job.oldPassword, typed->oldPassword);
  CopyTrimmedPassword(job.newPassword, typed->newPassword);
  OneDeviceDriver driver(job, 100, services_.changePasswordWorker);
  ports_.dialogs.RunModal(driver);
  RefreshRows();
}

void OrvListView::ExportConfiguration() {
  const int row = ports_.list.FocusedRow();
  if (!Focused()) return;
  const auto path = ports_.prompter.SaveFileName(kConfigurationFileDialog);
  if (!path) return;
  DeviceRecord& record = document_[static_cast<std::size_t>(row)];
  if (IsKavexModelId(record.modelId)) {
    return RunVideoServerExport(record, *path, ports_.prompter, services_.exportVideoServer);
  }
  const int result = services_.exportConfiguration(record, *path);
  ports_.prompter.ShowMessage(ExportResultText(result, record), MessageIcon::kInformation);
}

void OrvListView::ModifyIpAddress() {
  const int row = ports_.list.FocusedRow();
  if (!Focused()) return;
  DeviceRecord& record = document_[static_cast<std::size_t>(row)];
  auto block = std::make_unique<ConfigBlock>();
  if (services_.bracket) services_.bracket->Install(record);
  const int read = services_.readNetworkSettings ? services_.readNetworkSettings(record, *block)
                                                 : kNetworkSettingsFailed;
  if (const auto failure = ReadFailureMessage(read, record)) {
    ports_.prompter.ShowMessage(failure->text, failure->icon);
  } else {
    const std::optional<DeviceRecord> edited =
        ports_.prompter.EditNetworkSettings(record, 0, NetconfPurpose::kModify);
    if (edited && !(*edited == record) &&
        ports_.prompter.Ask(kNetworkSettingsWarning, MessageIcon::kStop, PromptButtons::kYesNo) ==
            PromptAnswer::kYes) {
      const int result = services_.applyNetworkSettings
                             ? services_.applyNetworkSettings(record, *edited, *block)
                             : kNetworkSettingsFailed;
      const NetworkSettingsMessage outcome = ApplyOutcomeMessage(result, record);
      ports_.prompter.ShowMessage(outcome.text, outcome.icon);
      if (result >= 0) {
        if (services_.bracket) services_.bracket->Remove(record.ipAddr);
        record = *edited;
        RefreshRows();
      }
    }
  }
  if (services_.bracket) services_.bracket->Remove(record.ipAddr);
}

void OrvListView::ImportConfiguration() {
  if (!Focused()) return;
  const auto path = ports_.prompter.OpenFileName(kImportFileDialog);
  if (!path) return;
  std::vector<DeviceRecord> records;
  for (const DeviceRecord* selected : SelectedRecords()) records.push_back(*selected);
  ImportDriver driver(MakeImportTargets(records, *path), ports_.prompter, services_);
  ports_.dialogs.RunModal(driver);
}

void OrvListView::SetDefault() {
  if (!CheckSelectionRights()) return;
  CommandRows collected = CollectCommandRows(SelectedRecords(), kSetDefaultOpcode);
  if (collected.refusal) {
    ports_.prompter.ShowMessage(*collected.refusal, MessageIcon::kStop);
    return;
  }
  {
    SendCommandDriver driver(collected.rows, services_);
    ports_.dialogs.RunModal(driver);
  }
  if (ports_.prompter.Ask(kRefreshQuestion, MessageIcon::kNone, PromptButtons::kYesNo) ==
      PromptAnswer::kYes) {
    BroadcastSearch();
  }
}

void OrvListView::WebConsole() {
  const DeviceRecord* f = Focused();
  if (!f || !services_.openUrl) return;
  services_.openUrl(WebConsoleUrl(*f));
}

void OrvListView::UpgradeFirmware() {
  RunUpgradeCommand(document_, ports_.list.SelectedRows(),
                    {services_.upgradeSwitchWorker, services_.upgradeVideoServerWorker},
                    {ports_.prompter, ports_.dialogs, services_.bracket,
                     [this] { BroadcastSearch(); }});
}

OrvListView::Services SystemListServices(ArpRouteBracket* bracket, MessageSink& messages,
                                         std::function<void(const std::string&)> openUrl,
                                         const Timing& timing) {
  OrvListView::Services services;
  services.searchWorker = [&messages, timing](SearchContext& context) {
    SearchWorker(context, SystemSearchEndpoints(), timing, messages);
  };
  services.detailsQuery = [timing](DeviceRecord& record) {
    return QueryDeviceDetails(record, timing);
  };
  services.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  services.fetchInfoText = [bracket, timing](DeviceRecord& record) {
    return FetchDeviceInfoText(record, bracket, timing);
  };
  services.unlockWorker = [bracket, timing](SingleDeviceJob& job) {
    RunUnlock(job, bracket, timing);
  };
  services.changePasswordWorker = [bracket, timing](SingleDeviceJob& job) {
    RunChangePassword(job, bracket, timing);
  };
  services.sendCommandWorker = [timing](DeviceJob& job) { return RunSendCommand(job, timing); };
  services.exportConfiguration = [bracket, timing](DeviceRecord& record,
                                                   const std::filesystem::path& path) {
    return ExportDeviceConfiguration(record, path, bracket, timing);
  };
  services.readNetworkSettings = [timing](DeviceRecord& record, ConfigBlock& block) {
    return readNetworkSettings(record, block, timing);
  };
  services.applyNetworkSettings = [timing](const DeviceRecord& listed, const DeviceRecord& edited,
                                           ConfigBlock& block) {
    return applyNetworkSettings(listed, edited, block, timing);
  };
  services.exportVideoServer = [bracket, timing](const DeviceRecord& record,
                                                 const std::filesystem::path& path) {
    return ExportVideoServerParameters(record, path, bracket, timing);
  };
  const UpgradeWorkers upgrade = SystemUpgradeWorkers(timing);
  services.upgradeSwitchWorker = upgrade.switchWorker;
  services.upgradeVideoServerWorker = upgrade.videoServerWorker;
  services.openUrl = std::move(openUrl);
  services.bracket = bracket;
  services.timing = timing;
  return services;
}

}  // namespace vantrell
