#include "ui/multi_device_dialog.h"

#include <algorithm>

#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "ops/send_command.h"

namespace vantrell {

/// A row's worker thread and whether it has ended.
MultiDeviceDialog::MultiDeviceDialog(std::vector<std::shared_ptr<DeviceJob>> rows,
                                     RowWorker worker, StateText stateText, Ports ports)
    : rows_(std::move(rows)),
      slots_(rows_.size()),
      worker_(std::move(worker)),
      stateText_(std::move(stateText)),
      ports_(std::move(ports)) {}

MultiDeviceDialog::~MultiDeviceDialog() { Cancel(); }

void MultiDeviceDialog::Open() {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i]->state = kRowWaiting;
    ports_.rows.InsertRow(static_cast<int>(i), FormatMac(rows_[i]->record.mac));
    ports_.rows.SetCell(static_cast<int>(i), 1, "Wait..");
  }
  timerRunning_ = true;
}

bool MultiDeviceDialog::MayStart(std::size_t index) const {
  // Devices sharing an address run one after another, in row order: none of
  // them may be running, and no earlier one may still be waiting (an earlier
  // row can end while the timer walks past its successor, which must not let
  // a later row overtake it and run beside it).
  for (std::size_t other = 0; other < rows_.size(); ++other) {
    if (other == index || rows_[other]->record.ipAddr != rows_[index]->record.ipAddr) continue;
    const int state = rows_[other]->state;
    if (state == kRowRunning || (other < index && state == kRowWaiting)) return false;
  }
  return true;
}

bool MultiDeviceDialog::HasFreeSlot() const {
  if (ports_.maxRunning == 0) return true;
  const auto running = std::count_if(rows_.begin(), rows_.end(), [](const auto& row) {
    return row->state == kRowRunning;
  });
  return static_cast<std::size_t>(running) < ports_.maxRunning;
}

void MultiDeviceDialog::StartRow(std::size_t index) {
  const std::shared_ptr<DeviceJob> row = rows_[index];
  if (ports_.bracket) {
    ports_.bracket->Remove(row->record.ipAddr);
    ports_.bracket->Install(row->record);
  }
  row->state = kRowRunning;
  slots_[index] = RowWorkerThread::Start([row, worker = worker_] { row->state = worker(*row); });
}

bool MultiDeviceDialog::OnTimer() {
  if (!timerRunning_) return true;
  bool pending = false;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i]->state == kRowWaiting && MayStart(i) && HasFreeSlot()) StartRow(i);
    // The state is read before the text: a row that ends in between shows
    // its final text now or is still counted as pending, so the dialog
    // never says "Close" over a stale "Wait..".
    const int state = rows_[i]->state;
    ports_.rows.SetCell(static_cast<int>(i), 1, stateText_(*rows_[i]));
    pending = pending || state == kRowWaiting || state == kRowRunning;
  }
  if (pending) return false;
  if (ports_.setButtonText) ports_.setButtonText("Close");
  timerRunning_ = false;
  return true;
}

void MultiDeviceDialog::Cancel() {
  timerRunning_ = false;
  for (const auto& row : rows_) row->Cancel();
  for (auto& slot : slots_) {
    if (slot) slot->JoinOrDetach();
  }
}

std::string SendCommandStateText(const DeviceJob& row) {
  switch (row.state.load()) {
    case kCommandDone:
      return "Done";
    case kCommandFailed:
      return "Fail";
    default:
      return "Wait..";
  }
}

}  // namespace vantrell
