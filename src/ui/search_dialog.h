#pragma once
/// The behaviour of the search dialog "Broadcast Search": it runs the search
/// worker, copies newly heard devices into the document's list, queries each
/// one's details inside the ARP/route bracket, counts the inactivity
/// countdown down in timer ticks and ends the search when it reaches zero or
/// when the operator stops it. The window drives it with its 200 ms timer;
/// tests call OnTimer() themselves.

#include <functional>
#include <string>
#include <thread>

#include "core/device_list.h"
#include "core/timing.h"
#include "net/search_context.h"
#include "ui/row_table.h"

namespace vantrell {

class ArpRouteBracket;

/// Column indexes of the dialog's list.
enum SearchColumn { kSearchColModel = 0, kSearchColIp, kSearchColMac, kSearchColProgress };

inline constexpr const char* kProgressGetInfo = "Get info.";
inline constexpr const char* kProgressFinish = "Finish";
inline constexpr const char* kProgressTimeout = "Timeout";

class CSearchDlg {
 public:
  /// The worker body, run on its own thread (SearchWorker in the program).
  using WorkerFn = std::function<void(SearchContext&)>;
  /// One details query of a record: 0 on success (QueryDeviceDetails).
  using DetailsFn = std::function<int(DeviceRecord&)>;
  /// Pause between failed details runs.
  using SleepFn = std::function<void(int ms)>;

  struct Ports {
    RowTable& rows;
    std::function<void(const std::string&)> setStatusText;
    ArpRouteBracket* bracket = nullptr;  ///< null: no bracket
    DetailsFn details;
    SleepFn sleep;
  };

  /// Empties the document's list; the search starts with Start().
  CSearchDlg(DeviceList& document, Ipv4 sourceFilter, Ports ports, Timing timing = {});
  ~CSearchDlg();
  CSearchDlg(const CSearchDlg&) = delete;
  CSearchDlg& operator=(const CSearchDlg&) = delete;

  /// The dialog's initialisation: status text, worker thread started.
  void Start(WorkerFn worker);

  /// One timer tick. Returns true when this tick ended the search (the
  /// worker has been joined); the dialog then closes with result 0.
  bool OnTimer();

  /// The cancel path ("Stop", Esc, close box): stops and joins the worker.
  void Cancel();

  bool ended() const { return ended_; }
  SearchContext& context() { return context_; }

 private:
  void RunDetailsStep();
  bool FetchDetails(DeviceRecord& record);
  bool CountDownAndCopy(std::uint32_t& countdownMs, std::size_t& foundCount);
  void AddRow(std::size_t index, const DeviceRecord& record);
  void ShowStatus(std::size_t count, std::uint32_t countdownMs);
  void StopWorker();

  DeviceList& document_;
  Ports ports_;
  Timing timing_;
  SearchContext context_;
  std::thread worker_;
  bool ended_ = false;
};

}  // namespace vantrell
