#include "cli/restore_command.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/device_export.h"
#include "cli/device_selection.h"
#include "cli/diff_output.h"
#include "cli/input_file.h"
#include "cli/results.h"
#include "cli/upgrade_command.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/config_diff.h"
#include "ops/config_import.h"
#include "ops/export_configuration.h"
#include "ops/video_server_export.h"
#include "ui/fleet_backup.h"
#include "ui/import_dialog.h"
#include "ui/netconf_form.h"

namespace vantrell {
namespace {

constexpr const char* kUsage =
    "usage: vantrell restore DIR [DEVICE...] [--all|--model GLOB|--subnet CIDR|--from FILE] "
    "[--yes]";

/// Row texts of restore beyond those of export and import.
constexpr const char* kRestoreNoFileText = "No file";
constexpr const char* kRestoreUnchangedText = "Unchanged";
constexpr const char* kRestoreNotConfirmedText = "Not restored: confirm with --yes";

/// A report list that keeps nothing; the runs keep their row texts themselves.
class NoRows : public RowTable {
 public:
  void DeleteAllRows() override {}
  void InsertRow(int, std::string_view) override {}
  void SetCell(int, int, std::string_view) override {}
};

/// The import's questions answered as `import --yes` answers them: the
/// video servers' login from --kavex-user and --kavex-password, the
/// review of the file's address settings with "OK" as the file filled it in.
class RestoreOperator : public ImportOperator {
 public:
  RestoreOperator(CliContext& context) : context_(context) {}

  std::optional<LoginEntry> LoginIdPassword() override {
    return LoginEntry{context_.options.kavexUser, context_.options.kavexPassword};
  }

  std::optional<DeviceRecord> ReviewAddressSettings(const DeviceRecord&,
                                                    const DeviceRecord& fileSettings,
                                                    AddressChangeMask mask) override {
    const NetconfForm::OkResult ok =
        NetconfForm(fileSettings, mask, NetconfPurpose::kImportReview).PressOk();
    if (!ok.edited) context_.console.ShowMessage(ok.message, MessageIcon::kNone);
    return ok.edited;
  }

 private:
  CliContext& context_;
};

/// One selected device on its way through the restore.
struct RestoreRow {
  DeviceRecord record;
  std::string fileBytes;
  std::vector<ConfigDifference> differences;
  std::string result;       ///< the row text, once known
  bool succeeded = false;   ///< unchanged or restored
  bool toImport = false;    ///< differs from its file and --yes was given
};

/// Reads each device's file from `folder`; a device without one, or whose
/// file cannot be read, gets its final row text.
void ReadFiles(const std::filesystem::path& folder, std::vector<RestoreRow>& rows) {
  for (RestoreRow& row : rows) {
    const std::filesystem::path path = folder / BackupFileName(row.record.mac);
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
      row.result = kRestoreNoFileText;
      continue;
    }
    std::string error;
    const auto bytes = ReadImportFileOnce(path.string(), error);
    if (!bytes) {
      row.result = path.string() + ": " + error;
      continue;
    }
    row.fileBytes = *bytes;
  }
}

/// The window stops a whole import at the first switch whose file does not
/// start with the header line; such a file is refused on its own row here.
bool HeaderRefused(const RestoreRow& row) {
  if (IsKavexModelId(row.record.modelId) || IsGzipFile(row.fileBytes)) return false;
  ImportFileReader file(row.fileBytes);
  return !HeaderLineMatches(file);
}

/// Exports every device that has a file (side by side, as backup does, into
/// a private temporary folder) and compares it with its file.
void CompareWithDevices(CliContext& context, std::vector<RestoreRow>& rows) {
  std::vector<BackupDevice> devices;
  std::vector<RestoreRow*> exported;
  for (RestoreRow& row : rows) {
    if (!row.result.empty()) continue;
    devices.push_back({row.record, ""});
    exported.push_back(&row);
  }
  if (devices.empty()) return;
  const PrivateFolder folder;
  if (folder.path().empty()) {
    for (RestoreRow* row : exported) row->result = ExportResultText(kExportFileFailed, row->record);
    return;
  }
  NoRows noRows;
  BackupRun run(folder.path(), devices, &context.bracket(), context.timing, noRows);
  run.Open();
  RunTimer([&] { return run.OnTimer(); });
  for (const BackupDevice& device : devices) context.bracket().Remove(device.record.ipAddr);
  const std::vector<BackupOutcome> outcomes = run.Outcomes();
  for (std::size_t i = 0; i < exported.size(); ++i) {
    RestoreRow& row = *exported[i];
    std::string deviceBytes, error;
    const auto bytes = outcomes[i].succeeded
                           ? ReadImportFileOnce(
                                 (std::filesystem::path(folder.path()) / outcomes[i].file).string(),
                                 error)
                           : std::nullopt;
    if (!bytes) {
      row.result = outcomes[i].succeeded ? error : outcomes[i].result;
      continue;
    }
    row.differences = DiffConfigFiles(*bytes, row.fileBytes);
  }
}

/// Decides what happens to each compared device.
void PlanImports(const CliOptions& options, std::vector<RestoreRow>& rows) {
  for (RestoreRow& row : rows) {
    if (!row.result.empty()) continue;
    if (row.differences.empty()) {
      row.result = kRestoreUnchangedText;
      row.succeeded = true;
    } else if (HeaderRefused(row)) {
      row.result = std::string(kFileFormatErrorText);
    } else if (!options.yes) {
      row.result = kRestoreNotConfirmedText;
    } else {
      row.toImport = true;
    }
  }
}

/// Imports each device's own file into it through the import dialog; a
/// frozen copy of each file is what the dialog reads.
void ImportFiles(CliContext& context, std::vector<RestoreRow>& rows) {
  std::vector<FrozenFile> frozen;
  std::vector<ImportTarget> targets;
  std::vector<RestoreRow*> imported;
  for (RestoreRow& row : rows) {
    if (!row.toImport) continue;
    auto copy = FrozenFile::Make(row.fileBytes);
    if (!copy) {
      row.result = CannotOpenFileText(errno);
      continue;
    }
    targets.push_back({row.record, copy->path()});
    frozen.push_back(std::move(*copy));
    imported.push_back(&row);
  }
  if (targets.empty()) return;
  NoRows rowTable;
  RestoreOperator op(context);
  ImportDialog dialog(std::move(targets), {rowTable, context.console, op, nullptr, nullptr,
                                           nullptr, &context.bracket(), context.timing});
  dialog.Open();
  RunTimer(
      [&] {
        dialog.OnTimer();
        return true;
      },
      kImportStartDelayMs);
  for (std::size_t i = 0; i < imported.size(); ++i) {
    imported[i]->result = dialog.rowTexts().at(i);
    imported[i]->succeeded = imported[i]->result == kImportSuccessText;
  }
}

/// "MAC<TAB>KEY<TAB>DEVICE VALUE<TAB>FILE VALUE[<TAB>address]" lines, or
/// with --json one array of {"mac", "result", "differences"}.
void PrintRows(CliContext& context, const std::vector<RestoreRow>& rows) {
  if (context.options.json) {
    nlohmann::json array = nlohmann::json::array();
    for (const RestoreRow& row : rows) {
      array.push_back({{"mac", FormatMac(row.record.mac)},
                       {"result", row.result},
                       {"differences", DifferencesJson(row.differences)}});
    }
    PrintJson(context.console.out(), array);
    return;
  }
  for (const RestoreRow& row : rows) {
    for (const ConfigDifference& difference : row.differences) {
      context.console.out() << FormatMac(row.record.mac) << '\t' << DifferenceLine(difference)
                            << "\n";
    }
  }
  std::vector<DeviceResult> results;
  for (const RestoreRow& row : rows) results.push_back({row.record.mac, row.result});
  PrintResults(context, results);
}

}  // namespace

int RunRestoreCommand(CliContext& context) {
  const CliOptions& options = context.options;
  if (options.args.empty() || (options.args.size() == 1 && !HasFleetSelection(options))) {
    return context.Refuse(kUsage);
  }
  if (const auto refusal = KavexOptionsRefusal(options)) return context.Refuse(*refusal);
  const std::filesystem::path folder = options.args.front();
  std::error_code ignored;
  if (!std::filesystem::is_directory(folder, ignored)) {
    return context.Refuse(folder.string() + ": not a folder");
  }

  const std::vector<std::string> names(options.args.begin() + 1, options.args.end());
  DeviceSelection selection = SelectNamedDevices(context, names);
  if (selection.error) return selection.error;
  std::vector<RestoreRow> rows;
  for (std::size_t index : selection.picked) {
    RestoreRow row;
    row.record = selection.search.devices[index];
    if (IsKavexModelId(row.record.modelId)) {
      StoreKavexCredentials(row.record, options.kavexUser, options.kavexPassword);
    }
    rows.push_back(std::move(row));
  }

  ReadFiles(folder, rows);
  CompareWithDevices(context, rows);
  PlanImports(options, rows);
  ImportFiles(context, rows);
  PrintRows(context, rows);
  const bool allSucceeded =
      std::all_of(rows.begin(), rows.end(), [](const RestoreRow& row) { return row.succeeded; });
  return allSucceeded ? kExitOk : kExitFailed;
}

}  // namespace vantrell
