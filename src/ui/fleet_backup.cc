#include "ui/fleet_backup.h"

#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

#include "core/csv.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/export_configuration.h"
#include "ops/selection_rights.h"
#include "ops/video_server_export.h"
#include "net/http_texts.h"
#include "platform/atomic_file.h"
#include "platform/digest.h"
#include "ui/inventory.h"

namespace vantrell {
namespace {

/// Final row states.
enum BackupRowState : int { kBackupSucceeded = 2, kBackupFailed = 3 };

/// The largest file whose digest the inventory records; exports are far
/// smaller.
constexpr std::uintmax_t kDigestLimit = 64u << 20;

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string FirstLine(std::string_view text) { return std::string(text.substr(0, text.find('\n'))); }

/// The digest of the file at `path`, empty when there is none.
std::string FileDigest(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kDigestLimit) return {};
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return file.bad() ? std::string() : Sha256Hex(bytes);
}

/// The rights check of Export Configuration as a row text, or nothing.
std::optional<std::string> RefusedRowText(const DeviceRecord& record) {
  if (!IsAccessible(record)) return kBackupNotAccessibleText;
  if (!IsUsable(record)) return kBackupProtectedText;
  return std::nullopt;
}

}  // namespace

struct BackupRun::Row : DeviceJob {
  Row(const BackupDevice& device) : DeviceJob(device.record), details(device.details) {}
  std::string details;
  /// Written by the row's worker before its final state, read after it.
  BackupOutcome outcome;
};

std::string BackupFileName(const MacAddress& mac) {
  std::string name = FormatMac(mac);
  for (char& c : name) {
    if (c == ':') c = '-';
  }
  return name + ".cfg";
}

BackupRun::BackupRun(std::filesystem::path folder, std::vector<BackupDevice> devices,
                     ArpRouteBracket* bracket, const Timing& timing, RowTable& rows,
                     std::size_t concurrency)
    : folder_(std::move(folder)) {
  std::vector<std::shared_ptr<DeviceJob>> jobs;
  for (const BackupDevice& device : devices) {
    rows_.push_back(std::make_shared<Row>(device));
    jobs.push_back(rows_.back());
  }
  const std::filesystem::path target = folder_;
  auto worker = [target, timing](DeviceJob& job) {
    Row& row = static_cast<Row&>(job);
    const std::string name = BackupFileName(row.record.mac);
    const std::filesystem::path path = target / name;
    int result = 0;
    if (const auto refused = RefusedRowText(row.record)) {
      row.outcome.result = *refused;
      result = -1;
    } else if (IsKavexModelId(row.record.modelId)) {
      // The dialog holds the device's ARP entry and route around the row.
      result = ExportVideoServerParameters(row.record, path, nullptr, timing);
      row.outcome.result =
          result == kDownloadUnauthorized ? kVideoLoginErrorText : VideoExportResultText(result);
    } else {
      result = exportConfiguration(row.record, path, timing);
      row.outcome.result = FirstLine(ExportResultText(result, row.record));
    }
    row.outcome.succeeded = result == 0;
    row.outcome.sha256 = FileDigest(path);
    if (!row.outcome.sha256.empty()) row.outcome.file = name;
    row.outcome.time = UtcNow();
    return row.outcome.succeeded ? kBackupSucceeded : kBackupFailed;
  };
  auto stateText = [](const DeviceJob& job) -> std::string {
    const Row& row = static_cast<const Row&>(job);
    const int state = row.state.load();
    return state == kBackupSucceeded || state == kBackupFailed ? row.outcome.result
                                                               : kBackupWaitText;
  };
  MultiDeviceDialog::Ports ports{rows, nullptr, bracket};
  ports.maxRunning = concurrency;
  dialog_ = std::make_unique<MultiDeviceDialog>(std::move(jobs), worker, stateText, ports);
}

std::vector<BackupOutcome> BackupRun::Outcomes() const {
  std::vector<BackupOutcome> outcomes;
  for (const auto& row : rows_) outcomes.push_back(row->outcome);
  return outcomes;
}

bool BackupRun::WriteInventory(std::string& error) const {
  std::vector<std::string> header = InventoryColumns();
  header.insert(header.end(), {"file", "sha256", "time", "result"});
  std::string text = CsvLine(header);
  for (const auto& row : rows_) {
    std::vector<std::string> fields = InventoryFields(row->record, row->details);
    fields.insert(fields.end(),
                  {row->outcome.file, row->outcome.sha256, row->outcome.time, row->outcome.result});
    text += CsvLine(fields);
  }
  AtomicFile file(folder_ / kBackupInventoryName);
  if (file.Write(text) && file.Commit()) return true;
  error = (folder_ / kBackupInventoryName).string() + ": " + std::strerror(file.error());
  return false;
}

}  // namespace vantrell
