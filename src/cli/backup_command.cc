#include "cli/backup_command.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cli/device_selection.h"
#include "cli/results.h"
#include "cli/upgrade_command.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "ops/video_server_export.h"
#include "ui/fleet_backup.h"

namespace vantrell {
namespace {

constexpr const char* kUsage = "usage: vantrell backup DIR [DEVICE...] [--all|--model GLOB|--subnet CIDR|--from FILE]";

/// The run's timer: a row that ends lets the next one start at the next
/// tick, so a short tick keeps every slot busy.
constexpr int kBackupTickMs = 10;

/// Row texts as they end, one progress line each on stderr.
class BackupProgress : public RowTable {
 public:
  explicit BackupProgress(Console& console) : console_(console) {}
  void DeleteAllRows() override { rows_.clear(); }
  void InsertRow(int row, std::string_view mac) override {
    rows_.insert(rows_.begin() + row, {std::string(mac), kBackupWaitText});
  }
  void SetCell(int row, int column, std::string_view text) override {
    if (column != 1) return;
    auto& [mac, shown] = rows_.at(static_cast<std::size_t>(row));
    if (shown == text) return;
    shown = text;
    console_.Progress(mac + ": " + shown);
  }

 private:
  Console& console_;
  std::vector<std::pair<std::string, std::string>> rows_;
};

/// Makes DIR (private to the user: the files hold passwords) unless it is
/// a folder already. False, with the refusal, for anything else.
bool PrepareFolder(const std::string& folder, std::string& error) {
  std::error_code ignored;
  if (std::filesystem::is_directory(folder, ignored)) return true;
  if (std::filesystem::exists(folder, ignored)) {
    error = folder + ": not a folder";
    return false;
  }
  if (::mkdir(folder.c_str(), 0700) == 0) return true;
  error = folder + ": " + std::strerror(errno);
  return false;
}

}  // namespace

int RunBackupCommand(CliContext& context) {
  const CliOptions& options = context.options;
  if (options.args.empty() || (options.args.size() == 1 && !HasFleetSelection(options))) {
    return context.Refuse(kUsage);
  }
  if (const auto refusal = KavexOptionsRefusal(options)) return context.Refuse(*refusal);
  const std::string folder = options.args.front();
  std::string error;
  if (!PrepareFolder(folder, error)) return context.Refuse(error);

  const std::vector<std::string> names(options.args.begin() + 1, options.args.end());
  DeviceSelection selection = SelectNamedDevices(context, names);
  if (selection.error) return selection.error;
  std::vector<BackupDevice> devices;
  for (std::size_t index : selection.picked) {
    DeviceRecord record = selection.search.devices[index];
    if (IsKavexModelId(record.modelId)) {
      StoreKavexCredentials(record, options.kavexUser, options.kavexPassword);
    }
    devices.push_back({record, index < selection.search.progress.size()
                                   ? selection.search.progress[index]
                                   : std::string()});
  }

  BackupProgress rows(context.console);
  BackupRun run(folder, devices, &context.bracket(), context.timing, rows);
  run.Open();
  RunTimer([&] { return run.OnTimer(); }, kBackupTickMs);
  for (const BackupDevice& device : devices) context.bracket().Remove(device.record.ipAddr);

  const std::vector<BackupOutcome> outcomes = run.Outcomes();
  std::vector<DeviceResult> results;
  bool allSucceeded = true;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    results.push_back({devices[i].record.mac, outcomes[i].result});
    allSucceeded = allSucceeded && outcomes[i].succeeded;
  }
  PrintResults(context, results);
  if (!run.WriteInventory(error)) {
    context.console.Error(error);
    return kExitFailed;
  }
  return allSucceeded ? kExitOk : kExitFailed;
}

}  // namespace vantrell
