#include "ui/import_dialog.h"

#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "ui/netconf_form.h"

namespace vantrell {

// The import's mask is the review form's mask.
static_assert(address_change::kDns1 == kChangeDns1);
static_assert(address_change::kIpAddr == kChangeIpAddr);
static_assert(address_change::kNetmask == kChangeNetmask);
static_assert(address_change::kGateway == kChangeGateway);
static_assert(address_change::kDns2 == kChangeDns2);
static_assert(address_change::kAutoIp == kChangeAutoIp);

namespace {
/// Column 0 holds the MAC address, column 1 the progress text.
constexpr int kProgressColumn = 1;
}  // namespace

std::vector<ImportTarget> MakeImportTargets(const std::vector<DeviceRecord>& records,
                                            const std::filesystem::path& path) {
  std::vector<ImportTarget> targets;
  targets.reserve(records.size());
  for (const DeviceRecord& record : records) targets.push_back({record, path});
  return targets;
}

DialogDriver::Layout ImportDialogLayout() {
  DialogDriver::Layout layout;
  layout.title = kImportDialogTitle;
  layout.buttonText = kImportOkButtonText;
  layout.columns = {{"MAC Address", 120}, {"Progress", 250}};
  layout.centredColumns = true;
  layout.statusText = false;
  layout.timerPeriodMs = kImportStartDelayMs;
  return layout;
}

ImportDialog::ImportDialog(std::vector<ImportTarget> targets, Ports ports)
    : targets_(std::move(targets)),
      ports_(std::move(ports)),
      rowTexts_(targets_.size(), std::string(kImportWaitText)) {}

void ImportDialog::Open() {
  SetOkEnabled(false);
  ports_.rows.DeleteAllRows();
  rowTexts_.assign(targets_.size(), std::string(kImportWaitText));
  for (std::size_t i = 0; i < targets_.size(); ++i) {
    const int row = static_cast<int>(i);
    ports_.rows.InsertRow(row, FormatMac(targets_[i].record.mac));
    ports_.rows.SetCell(row, kProgressColumn, kImportWaitText);
  }
}

void ImportDialog::OnTimer() {
  if (state_ != State::kWaiting) return;
  runImport();
}

void ImportDialog::runImport() {
  if (state_ != State::kWaiting) return;
  state_ = State::kRunning;
  for (std::size_t i = 0; i < targets_.size(); ++i) {
    if (ImportRow(i) == RowEnd::kStopRun) {
      state_ = State::kStoppedByFileError;
      return;
    }
  }
  state_ = State::kFinished;
  SetOkEnabled(true);
}

ImportDialog::RowEnd ImportDialog::ImportRow(std::size_t index) {
  SetRowText(index, kImportingText);
  if (IsKavexModelId(targets_[index].record.modelId)) {
    ImportVideoServerRow(index);
    return RowEnd::kNext;
  }
  return ImportSwitchRow(index);
}

void ImportDialog::ImportVideoServerRow(std::size_t index) {
  ImportTarget& target = targets_[index];
  std::string bytes;
  int errorCode = 0;
  if (ReadImportFile(target.path, bytes, errorCode) && bytes.find('\0') != std::string::npos) {
    Show({{kVideoServerBinaryFileText, MessageIcon::kStop}});
    SetRowText(index, kImportFailText);
    return;
  }
  const std::optional<LoginEntry> login = ports_.op.LoginIdPassword();
  if (!login) {
    SetRowText(index, kImportCanceledText);
    return;
  }
  SetFieldText(target.record.kavexUser, login->user);
  SetFieldText(target.record.kavexPassword, login->password);
  WaitCursor(true);
  const int result = ImportVideoServer(target.record, target.path, ports_.timing);
  WaitCursor(false);
  SetRowText(index, result == kImportOk ? kImportSuccessText : kImportFailText);
}

ImportDialog::RowEnd ImportDialog::ImportSwitchRow(std::size_t index) {
  const ImportTarget& target = targets_[index];
  const DeviceRecord& record = target.record;
  std::string bytes;
  int errorCode = 0;
  if (!ReadImportFile(target.path, bytes, errorCode)) {
    Show({{CannotOpenFileText(errorCode), MessageIcon::kStop}});
    return RowEnd::kStopRun;
  }
  ImportFileScan scan = ScanImportFile(bytes, record);
  bytes.clear();
  switch (scan.outcome) {
    case ImportFileScan::Outcome::kFormatError:
      Show({{std::string(kFileFormatErrorText), MessageIcon::kStop}});
      return RowEnd::kStopRun;
    case ImportFileScan::Outcome::kModelMismatch:
      Show({{std::string(kModelMismatchText), MessageIcon::kStop}});
      SetRowText(index, kModelMismatchRowText);
      return RowEnd::kNext;
    case ImportFileScan::Outcome::kPassed:
      break;
  }
  // A device that cannot take this file is refused before anything is
  // asked or sent.
  if (const auto refusal = ImportRefusal(record, scan.compressed)) {
    Show({{*refusal, MessageIcon::kStop}});
    SetRowText(index, kImportFailText);
    return RowEnd::kNext;
  }

  if (ports_.bracket) ports_.bracket->Install(record);
  std::string_view rowText;
  std::optional<DeviceRecord> edited = scan.edited;
  if (target.keepAddress) {
    KeepDeviceAddressSettings(record, *edited);
  } else if (scan.mask != 0) {
    edited = ports_.op.ReviewAddressSettings(record, scan.edited, scan.mask);
  }
  if (!edited) {
    rowText = kImportCanceledText;
  } else {
    WaitCursor(true);
    const ImportOutcome outcome =
        importToDevice(record, *edited, target.path, ports_.timing,
                       target.keepAddress ? AddressSettingsFrom::kDevice
                                          : AddressSettingsFrom::kFileOrReview);
    WaitCursor(false);
    Show(outcome.messages);
    rowText = ImportRowText(outcome.result);
  }
  if (ports_.bracket) ports_.bracket->Remove(record.ipAddr);
  SetRowText(index, rowText);
  return RowEnd::kNext;
}

void ImportDialog::SetRowText(std::size_t index, std::string_view text) {
  rowTexts_.at(index) = std::string(text);
  ports_.rows.SetCell(static_cast<int>(index), kProgressColumn, text);
  if (ports_.redrawRow) ports_.redrawRow(static_cast<int>(index));
}

void ImportDialog::Show(const std::vector<ImportMessage>& messages) {
  for (const ImportMessage& message : messages)
    ports_.messages.ShowMessage(message.text, message.icon);
}

void ImportDialog::SetOkEnabled(bool enabled) {
  okEnabled_ = enabled;
  if (ports_.enableOk) ports_.enableOk(enabled);
}

void ImportDialog::WaitCursor(bool on) {
  if (ports_.waitCursor) ports_.waitCursor(on);
}

}  // namespace vantrell
