#pragma once
/// The behaviour of the search dialog "Broadcast Search": it runs the search
/// worker, copies newly heard devices into the document's list, has each
/// one's details queried inside the ARP/route bracket (off the timer, a
/// bounded number at once, see DetailsQueries), counts the inactivity
/// countdown down in timer ticks and ends the search when it reaches zero
/// and the queries under way are done, when the search has run its longest
/// time, or when the operator stops it. No tick ever waits for a thread.
/// The window drives it with its 200 ms timer; tests call OnTimer()
/// themselves.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/device_list.h"
#include "core/timing.h"
#include "net/search_context.h"
#include "ui/details_queries.h"
#include "ui/row_table.h"

namespace vantrell {

class ArpRouteBracket;

/// Column indexes of the dialog's list.
enum SearchColumn { kSearchColModel = 0, kSearchColIp, kSearchColMac, kSearchColProgress };

inline constexpr const char* kProgressGetInfo = "Get info.";
inline constexpr const char* kProgressFinish = "Finish";
inline constexpr const char* kProgressTimeout = "Timeout";
/// Said once when a search heard more devices than it lists:
/// "Search limit reached: 4096 devices.".
std::string SearchLimitText(int deviceLimit);

class CSearchDlg {
 public:
  /// The worker body, run on its own thread (SearchWorker in the program).
  using WorkerFn = std::function<void(SearchContext&)>;
  /// One details query of a record: 0 on success (QueryDeviceDetails).
  using DetailsFn = std::function<int(DeviceRecord&)>;
  /// Pause between failed details runs.
  using SleepFn = std::function<void(int ms)>;
  /// Waits until `finished` holds, on the dialog's thread: the window keeps
  /// serving its event loop meanwhile (a worker may wait for a message box).
  using WaitFn = std::function<void(const std::function<bool()>& finished)>;

  struct Ports {
    RowTable& rows;
    std::function<void(const std::string&)> setStatusText;
    /// null: no bracket. Its calls are made one at a time.
    ArpRouteBracket* bracket = nullptr;
    DetailsFn details;
    SleepFn sleep;
    /// Told once, with SearchLimitText, when the search list is full.
    std::function<void(const std::string&)> reportLimit = {};
    /// Empty: a plain wait.
    WaitFn wait = {};
    /// Millisecond clock of the longest search; empty: TickCountMs.
    std::function<std::uint32_t()> clockMs = {};
  };

  /// Empties the document's list; the search starts with Start().
  CSearchDlg(DeviceList& document, Ipv4 sourceFilter, Ports ports, Timing timing = {});
  ~CSearchDlg();
  CSearchDlg(const CSearchDlg&) = delete;
  CSearchDlg& operator=(const CSearchDlg&) = delete;

  /// The dialog's initialisation: status text, worker thread started.
  void Start(WorkerFn worker);

  /// One timer tick. Returns true when this tick ended the search (the
  /// worker and the details threads have ended and been joined); the
  /// dialog then closes with result 0.
  bool OnTimer();

  /// The cancel path ("Stop", Esc, close box): stops the worker and the
  /// details queries and waits for them through the wait port.
  void Cancel();

  bool ended() const { return ended_; }
  SearchContext& context() { return context_; }
  /// Whether the worker has returned.
  bool workerEnded() const { return workerDone_; }
  /// Details queries queued or running.
  std::size_t detailsPending() const { return queries_->Pending(); }

 private:
  void CollectDetails(bool answeredOnly);
  bool FetchDetails(DeviceRecord& record, const std::atomic<bool>& stop);
  bool CountDownAndCopy(std::uint32_t& countdownMs, std::size_t& foundCount);
  void AddRow(std::size_t index, const DeviceRecord& record);
  void ShowStatus(std::size_t count, std::uint32_t countdownMs);
  bool LongestTimeReached() const;
  void EndPendingAsTimeout();
  void RequestStop();
  bool ThreadsDone() const;
  void JoinThreads();

  DeviceList& document_;
  Ports ports_;
  Timing timing_;
  SearchContext context_;
  std::thread worker_;
  std::atomic<bool> workerDone_{false};
  std::mutex bracketLock_;
  std::unique_ptr<DetailsQueries> queries_;
  std::uint32_t startMs_ = 0;
  bool limitReported_ = false;
  /// The countdown ran out or the longest time passed: no more copying,
  /// the end waits for the threads.
  bool ending_ = false;
  bool ended_ = false;
};

}  // namespace vantrell
