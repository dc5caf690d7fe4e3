#include "ui/upgrade_firm.h"

#include <algorithm>

#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"

namespace vantrell {
namespace {

constexpr const char* kWaitText = "Wait..";
constexpr const char* kDoneText = "Done";
constexpr const char* kRebootingText = "Transmit Completed, Wait for Rebooting...";
constexpr int kProgressColumn = 1;
constexpr int kPercentCap = 100;

std::string TransmitText(int percent) { return "Transmit - " + std::to_string(percent) + "%"; }

bool IsFinal(int state) { return state == kUpgradeDone || state == kUpgradeFailed; }

/// Timer 2 walks the rows whose model name says "Kavex", timer 1 the rest;
/// the transfer opcode (taken from the model ID) plays no part in it.
bool WalkedByTimer2(const UpgradeJob& row) { return IsKavexName(FieldText(row.record.modelName)); }

}  // namespace

int SavingProgressStep(std::uint32_t fileSize) {
  if (fileSize == 0) return 35;
  return static_cast<int>(10000u / (fileSize / 10240u + 150u));
}

/// A row's worker thread and whether it has ended.
CUpgradeFirm::CUpgradeFirm(std::vector<std::shared_ptr<UpgradeJob>> rows, Workers workers,
                           Ports ports)
    : rows_(std::move(rows)),
      slots_(rows_.size()),
      shownFinal_(rows_.size(), false),
      workers_(std::move(workers)),
      ports_(std::move(ports)) {}

CUpgradeFirm::~CUpgradeFirm() { Cancel(); }

void CUpgradeFirm::Open() {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    UpgradeJob& row = *rows_[i];
    row.state = kUpgradeWaiting;
    row.progress = 0;
    ports_.rows.InsertRow(static_cast<int>(i), FormatMac(row.record.mac));
    ports_.rows.SetCell(static_cast<int>(i), kProgressColumn, kWaitText);
    // Each timer runs when it has a row to walk, so that no row is left
    // waiting when a name and a model ID disagree.
    if (WalkedByTimer2(row)) {
      timer2Running_ = true;
    } else {
      timer1Running_ = true;
    }
  }
  ShowCloseWhenAllFinal();
}

bool CUpgradeFirm::MayStart(std::size_t index) const {
  for (std::size_t earlier = 0; earlier < index; ++earlier) {
    if (rows_[earlier]->state == kUpgradeTransmitting &&
        rows_[earlier]->record.ipAddr == rows_[index]->record.ipAddr) {
      return false;
    }
  }
  return true;
}

void CUpgradeFirm::StartRow(std::size_t index, const RowWorker& worker) {
  const std::shared_ptr<UpgradeJob> row = rows_[index];
  if (ports_.bracket) {
    ports_.bracket->Remove(row->record.ipAddr);
    ports_.bracket->Install(row->record);
  }
  row->state = kUpgradeTransmitting;
  slots_[index] = RowWorkerThread::Start([row, worker] {
    row->state = worker ? worker(*row) : static_cast<int>(kUpgradeFailed);
  });
}

std::string CUpgradeFirm::SwitchRowText(UpgradeJob& row, int state) {
  switch (state) {
    case kUpgradeTransmitting:
      return TransmitText(row.progress);
    case kUpgradeSaving: {
      row.progress = std::min(row.progress + SavingProgressStep(row.fileSize), kSavingProgressCap);
      return "Save Firmware - " + std::to_string(row.progress / 100) + "%";
    }
    case kUpgradeDone:
      return kDoneText;
    case kUpgradeFailed:
      return SwitchUpgradeResultText(row.result);
    default:
      return kWaitText;
  }
}

std::string CUpgradeFirm::VideoServerRowText(UpgradeJob& row, int state) {
  switch (state) {
    case kUpgradeTransmitting: {
      const int shown = std::min(row.progress.load(), kPercentCap);
      row.progress = shown;
      return TransmitText(shown);
    }
    case kUpgradeDone:
      return kRebootingText;
    case kUpgradeFailed:
      return VideoServerUpgradeResultText(row.result);
    default:
      return kWaitText;
  }
}

void CUpgradeFirm::OnTimer1() {
  if (!timer1Running_) return;
  bool pending = false;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    UpgradeJob& row = *rows_[i];
    if (WalkedByTimer2(row)) continue;
    if (row.state == kUpgradeWaiting && MayStart(i)) StartRow(i, workers_.switchWorker);
    // One reading of the state decides both the text and whether the row
    // is final, so a worker ending meanwhile cannot leave a stale text.
    const int state = row.state;
    ports_.rows.SetCell(static_cast<int>(i), kProgressColumn, SwitchRowText(row, state));
    shownFinal_[i] = IsFinal(state);
    pending = pending || !shownFinal_[i];
  }
  if (!pending) timer1Running_ = false;
  ShowCloseWhenAllFinal();
}

void CUpgradeFirm::OnTimer2() {
  if (!timer2Running_) return;
  bool pending = false;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    UpgradeJob& row = *rows_[i];
    if (!WalkedByTimer2(row)) continue;
    if (row.state == kUpgradeWaiting && MayStart(i)) StartRow(i, workers_.videoServerWorker);
    const int state = row.state;
    ports_.rows.SetCell(static_cast<int>(i), kProgressColumn, VideoServerRowText(row, state));
    shownFinal_[i] = IsFinal(state);
    pending = pending || !shownFinal_[i];
  }
  if (!pending) timer2Running_ = false;
  ShowCloseWhenAllFinal();
}

void CUpgradeFirm::ShowCloseWhenAllFinal() {
  if (closeShown_) return;
  // Every row shows its final text.
  if (!std::all_of(shownFinal_.begin(), shownFinal_.end(), [](bool shown) { return shown; })) {
    return;
  }
  closeShown_ = true;
  if (ports_.setButtonText) ports_.setButtonText("Close");
}

void CUpgradeFirm::Cancel() {
  timer1Running_ = false;
  timer2Running_ = false;
  for (const auto& row : rows_) {
    row->httpCancel = true;
    row->Cancel();
  }
  for (auto& slot : slots_) {
    if (slot) slot->JoinOrDetach();
  }
}

UpgradeFirmDriver::UpgradeFirmDriver(std::vector<std::shared_ptr<UpgradeJob>> rows,
                                     CUpgradeFirm::Workers workers, ArpRouteBracket* bracket)
    : rows_(std::move(rows)), workers_(std::move(workers)), bracket_(bracket) {}

const DialogDriver::Layout& UpgradeFirmDriver::layout() const {
  static const Layout layout{
      "Upgrade Firmware", "Cancel", {{"MAC Address", 100}, {"Progress", 300}}, true, false, 100};
  return layout;
}

void UpgradeFirmDriver::Open(RowTable& rows, DialogControls& controls) {
  dialog_ = std::make_unique<CUpgradeFirm>(
      rows_, workers_,
      CUpgradeFirm::Ports{
          rows, [&controls](std::string_view text) { controls.SetButtonText(text); }, bracket_});
  dialog_->Open();
}

TickResult UpgradeFirmDriver::OnTick() {
  dialog_->OnTimer1();
  dialog_->OnTimer2();
  return dialog_->timer1Running() || dialog_->timer2Running() ? TickResult::kContinue
                                                              : TickResult::kStopTimer;
}

void UpgradeFirmDriver::OnButton() {
  if (dialog_) dialog_->Cancel();
}

void ModalDialogHost::RunUpgradeModal(UpgradeFirmDriver& driver) { RunModal(driver); }

}  // namespace vantrell
