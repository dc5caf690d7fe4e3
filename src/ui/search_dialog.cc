#include "ui/search_dialog.h"

#include <cstdio>

#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "platform/tick.h"

namespace vantrell {

std::string SearchLimitText(int deviceLimit) {
  return "Search limit reached: " + std::to_string(deviceLimit) + " devices.";
}

CSearchDlg::CSearchDlg(DeviceList& document, Ipv4 sourceFilter, Ports ports, Timing timing)
    : document_(document), ports_(std::move(ports)), timing_(timing) {
  document_.clear();
  context_.countdownMs = static_cast<std::uint32_t>(timing_.searchCountdownMs);
  context_.sourceFilter = sourceFilter;
  if (!ports_.clockMs) ports_.clockMs = TickCountMs;
  startMs_ = ports_.clockMs();
  queries_ = std::make_unique<DetailsQueries>(
      timing_.detailsConcurrency, [this](DeviceRecord& record, const std::atomic<bool>& stop) {
        return FetchDetails(record, stop);
      });
}

CSearchDlg::~CSearchDlg() {
  RequestStop();
  queries_->Stop();
  JoinThreads();
}

void CSearchDlg::Start(WorkerFn worker) {
  ShowStatus(0, 0);
  startMs_ = ports_.clockMs();
  worker_ = std::thread([this, worker = std::move(worker)] {
    worker(context_);
    workerDone_ = true;
  });
}

bool CSearchDlg::OnTimer() {
  if (ended_) return false;
  CollectDetails(false);
  if (!ending_ && LongestTimeReached()) {
    ending_ = true;
    RequestStop();
    EndPendingAsTimeout();
  }
  std::uint32_t countdownMs = 0;
  std::size_t foundCount = 0;
  if (!ending_ && CountDownAndCopy(countdownMs, foundCount)) ending_ = true;
  if (ending_) {
    {
      std::lock_guard lock(context_.searchLock);
      foundCount = context_.found.size();
      countdownMs = context_.countdownMs;
    }
    // Queries still under way when the longest time comes end as Timeout.
    if (LongestTimeReached()) EndPendingAsTimeout();
  }
  ShowStatus(foundCount, countdownMs);
  if (!ending_ || !ThreadsDone()) return false;
  queries_->Stop();
  JoinThreads();
  CollectDetails(false);
  ended_ = true;
  return true;
}

void CSearchDlg::Cancel() {
  if (ended_) return;
  ending_ = true;
  RequestStop();
  queries_->Stop();
  if (ports_.wait) ports_.wait([this] { return workerDone_ && queries_->Idle(); });
  JoinThreads();
  // A query cut short by the stop says nothing about the device.
  CollectDetails(true);
  ended_ = true;
}

void CSearchDlg::CollectDetails(bool answeredOnly) {
  for (DetailsQueries::Finished& finished : queries_->TakeFinished()) {
    if (answeredOnly && !finished.answered) continue;
    DeviceRecord& record = document_[finished.index];
    record = finished.record;
    record.detailsFetched = 1;
    ports_.rows.SetCell(static_cast<int>(finished.index), kSearchColProgress,
                        finished.answered ? kProgressFinish : kProgressTimeout);
  }
}

bool CSearchDlg::FetchDetails(DeviceRecord& record, const std::atomic<bool>& stop) {
  if (ports_.bracket) {
    std::lock_guard lock(bracketLock_);
    ports_.bracket->Install(record);
  }
  bool answered = false;
  for (int run = 0; run < timing_.detailsRuns && !answered && !stop; ++run) {
    answered = ports_.details(record) == 0;
    if (!answered && ports_.sleep) ports_.sleep(timing_.detailsRetryPauseMs);
  }
  if (ports_.bracket) {
    std::lock_guard lock(bracketLock_);
    ports_.bracket->Remove(record.ipAddr);
  }
  return answered;
}

bool CSearchDlg::CountDownAndCopy(std::uint32_t& countdownMs, std::size_t& foundCount) {
  std::size_t firstNew = 0;
  bool limitReached = false;
  {
    std::lock_guard lock(context_.searchLock);
    const auto tick = static_cast<std::uint32_t>(timing_.searchTickMs);
    if (context_.countdownMs > tick) {
      context_.countdownMs -= tick;
    } else {
      context_.countdownMs = 0;
      context_.stopRequested = true;
    }
    foundCount = context_.found.size();
    firstNew = document_.size();
    for (std::size_t i = firstNew; i < foundCount; ++i) {
      document_.append(context_.found[i]);
      AddRow(i, context_.found[i]);
    }
    countdownMs = context_.countdownMs;
    limitReached = context_.limitReached;
  }
  if (limitReached && !limitReported_) {
    limitReported_ = true;
    if (ports_.reportLimit) ports_.reportLimit(SearchLimitText(timing_.searchDeviceLimit));
  }
  const bool expired = countdownMs == 0;
  // A device copied by the tick that ends the search gets no query.
  if (!expired) {
    for (std::size_t i = firstNew; i < foundCount; ++i) queries_->Add(i, document_[i]);
  }
  return expired;
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

bool CSearchDlg::LongestTimeReached() const {
  // The stop is asked for early enough that the request runs under way, the
  // worker's last wait and one tick to notice all fit before the limit.
  const int stopLeadMs = timing_.detailsAttempts * timing_.detailsWaitMs +
                         timing_.detailsRetryPauseMs + timing_.searchWaitMs + timing_.searchTickMs;
  const auto elapsed = static_cast<int>(ports_.clockMs() - startMs_);
  return elapsed >= timing_.searchLimitMs - stopLeadMs;
}

void CSearchDlg::EndPendingAsTimeout() {
  for (std::size_t index : queries_->Stop()) {
    document_[index].detailsFetched = 1;
    ports_.rows.SetCell(static_cast<int>(index), kSearchColProgress, kProgressTimeout);
  }
}

void CSearchDlg::RequestStop() {
  std::lock_guard lock(context_.searchLock);
  context_.stopRequested = true;
}

bool CSearchDlg::ThreadsDone() const { return workerDone_ && queries_->Pending() == 0; }

void CSearchDlg::JoinThreads() {
  if (worker_.joinable()) worker_.join();
  queries_->Join();
}

}  // namespace vantrell
