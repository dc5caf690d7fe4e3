#include "cli/search_session.h"

#include <thread>

#include "cli/console.h"
#include "net/details_query.h"
#include "platform/tick.h"
#include "ui/search_dialog.h"

namespace vantrell {
namespace {

/// Keeps the "Progress" cells of the dialog's list.
class ProgressCells : public RowTable {
 public:
  void DeleteAllRows() override { cells_.clear(); }
  void InsertRow(int row, std::string_view) override {
    cells_.insert(cells_.begin() + row, std::string());
  }
  void SetCell(int row, int column, std::string_view text) override {
    if (column == kSearchColProgress) cells_.at(static_cast<std::size_t>(row)) = text;
  }
  const std::vector<std::string>& cells() const { return cells_; }

 private:
  std::vector<std::string> cells_;
};

}  // namespace

SearchOutcome RunSearchSession(const SearchRequest& request, Console& console) {
  using Clock = std::chrono::steady_clock;
  SearchOutcome outcome;
  ProgressCells cells;
  std::string lastStatus;
  const Timing timing = request.timing;
  CSearchDlg::Ports ports{
      cells,
      [&](const std::string& text) {
        if (text != lastStatus) console.Progress(text);
        lastStatus = text;
      },
      request.bracket,
      [timing](DeviceRecord& record) { return QueryDeviceDetails(record, timing); },
      [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); },
      // The full list is said also with --quiet.
      [&console](const std::string& text) { console.Error(text); }};

  const Clock::time_point start = Clock::now();
  const std::uint32_t startTick = TickCountMs();
  CSearchDlg dialog(outcome.devices, request.sourceFilter, ports, timing);
  dialog.Start([&](SearchContext& context) {
    SearchWorker(context, request.endpoints, timing, console);
  });
  const auto period = std::chrono::milliseconds(timing.searchTickMs);
  Clock::time_point nextTick = start + period;
  for (;;) {
    std::this_thread::sleep_until(nextTick);
    nextTick = std::max(nextTick + period, Clock::now());
    if (dialog.OnTimer()) break;
    if (request.enough && request.enough(outcome.devices, cells.cells())) {
      dialog.Cancel();
      break;
    }
  }
  outcome.progress = cells.cells();
  outcome.total = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  std::lock_guard lock(dialog.context().searchLock);
  if (dialog.context().lastNewDeviceTick != 0) {
    outcome.lastNewDevice =
        std::chrono::milliseconds(dialog.context().lastNewDeviceTick - startTick);
  }
  return outcome;
}

}  // namespace vantrell
