#include "ui/search_dialog.h"

#include <cstdio>

#include "core/text_forms.h"
#include "net/arp_route_bracket.h"

namespace vantrell {

CSearchDlg::CSearchDlg(DeviceList& document, Ipv4 sourceFilter, Ports ports, Timing timing)
    : document_(document), ports_(std::move(ports)), timing_(timing) {
  document_.clear();
  context_.countdownMs = static_cast<std::uint32_t>(timing_.searchCountdownMs);
  context_.sourceFilter = sourceFilter;
}

CSearchDlg::~CSearchDlg() { StopWorker(); }

void CSearchDlg::Start(WorkerFn worker) {
  ShowStatus(0, 0);
  worker_ = std::thread([this, worker = std::move(worker)] { worker(context_); });
}

bool CSearchDlg::OnTimer() {
  if (ended_) return false;
  RunDetailsStep();
  std::uint32_t countdownMs = 0;
  std::size_t foundCount = 0;
  const bool expired = CountDownAndCopy(countdownMs, foundCount);
  ShowStatus(foundCount, countdownMs);
  if (!expired) return false;
  StopWorker();
  ended_ = true;
  return true;
}

void CSearchDlg::Cancel() {
  StopWorker();
  ended_ = true;
}

void CSearchDlg::RunDetailsStep() {
  for (std::size_t i = 0; i < document_.size(); ++i) {
    DeviceRecord& record = document_[i];
    if (record.detailsFetched) continue;
    const bool answered = FetchDetails(record);
    ports_.rows.SetCell(static_cast<int>(i), kSearchColProgress,
                        answered ? kProgressFinish : kProgressTimeout);
    record.detailsFetched = 1;
  }
}

bool CSearchDlg::FetchDetails(DeviceRecord& record) {
  if (ports_.bracket) ports_.bracket->Install(record);
  bool answered = false;
  for (int run = 0; run < timing_.detailsRuns && !answered; ++run) {
    answered = ports_.details(record) == 0;
    if (!answered && ports_.sleep) ports_.sleep(timing_.detailsRetryPauseMs);
  }
  if (ports_.bracket) ports_.bracket->Remove(record.ipAddr);
  return answered;
}

bool CSearchDlg::CountDownAndCopy(std::uint32_t& countdownMs, std::size_t& foundCount) {
  std::lock_guard lock(context_.searchLock);
  const auto tick = static_cast<std::uint32_t>(timing_.searchTickMs);
  if (context_.countdownMs > tick) {
    context_.countdownMs -= tick;
  } else {
    context_.countdownMs = 0;
    context_.stopRequested = true;
  }
  foundCount = context_.found.size();
  for (std::size_t i = document_.size(); i < foundCount; ++i) {
    document_.append(context_.found[i]);
    AddRow(i, context_.found[i]);
  }
  countdownMs = context_.countdownMs;
  return countdownMs == 0;
}

void CSearchDlg::AddRow(std::size_t index, const DeviceRecord& record) {
  const int row = static_cast<int>(index);
  ports_.rows.InsertRow(row, FieldText(record.modelName));
  ports_.rows.SetCell(row, kSearchColIp, FormatIpv4(record.ipAddr));
  ports_.rows.SetCell(row, kSearchColMac, FormatMac(record.mac));
  ports_.rows.SetCell(row, kSearchColProgress, kProgressGetInfo);
}

void CSearchDlg::ShowStatus(std::size_t count, std::uint32_t countdownMs) {
  if (!ports_.setStatusText) return;
  char text[64];
  std::snprintf(text, sizeof text, "Total Count = %d, timeout = %dsec\n", static_cast<int>(count),
                static_cast<int>(countdownMs / 1000));
  ports_.setStatusText(text);
}

void CSearchDlg::StopWorker() {
  {
    std::lock_guard lock(context_.searchLock);
    context_.stopRequested = true;
  }
  if (worker_.joinable()) worker_.join();
}

}  // namespace vantrell
