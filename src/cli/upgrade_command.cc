#include "cli/upgrade_command.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/device_selection.h"
#include "cli/input_file.h"
#include "cli/results.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/firmware_upgrade.h"
#include "ops/video_server_export.h"
#include "ui/upgrade_firm.h"

namespace vantrell {
namespace {

constexpr const char* kUsage = "usage: vantrell upgrade FILE DEVICE...";

/// The row texts, with a progress line on stderr whenever a row moves on to
/// another step (percentages in steps of 10).
class ProgressRows : public RowTable {
 public:
  ProgressRows(Console& console, const std::vector<std::shared_ptr<UpgradeJob>>& rows)
      : console_(console), rows_(rows) {}
  void DeleteAllRows() override { texts.clear(); }
  void InsertRow(int, std::string_view) override { texts.emplace_back(); }
  void SetCell(int row, int column, std::string_view text) override {
    if (column != 1) return;
    std::string& current = texts.at(static_cast<std::size_t>(row));
    if (current == text) return;
    const bool report = Coarse(current) != Coarse(text) && text != "Wait..";
    current = text;
    if (report) {
      console_.Progress(FormatMac(rows_.at(static_cast<std::size_t>(row))->record.mac) + "\t" +
                        current);
    }
  }
  std::vector<std::string> texts;

 private:
  /// "Transmit - 47%" counts as "Transmit - 40%".
  static std::string Coarse(std::string_view text) {
    const auto percent = text.find('%');
    const auto dash = text.rfind(' ', percent);
    if (percent == std::string_view::npos || dash == std::string_view::npos) {
      return std::string(text);
    }
    const int value = std::atoi(std::string(text.substr(dash + 1, percent - dash - 1)).c_str());
    return std::string(text.substr(0, dash + 1)) + std::to_string(value / 10 * 10);
  }

  Console& console_;
  const std::vector<std::shared_ptr<UpgradeJob>>& rows_;
};

}  // namespace

std::optional<std::string> KavexOptionsRefusal(const CliOptions& options) {
  if (options.kavexUser.size() > kKavexFieldLength) {
    return "--kavex-user is longer than " + std::to_string(kKavexFieldLength) + " bytes";
  }
  if (options.kavexPassword.size() > kKavexFieldLength) {
    return "--kavex-password is longer than " + std::to_string(kKavexFieldLength) + " bytes";
  }
  return std::nullopt;
}

int RunUpgradeCommand(CliContext& context) {
  const CliOptions& options = context.options;
  if (options.args.size() < (HasFleetSelection(options) ? 1u : 2u)) return context.Refuse(kUsage);
  if (const auto refusal = KavexOptionsRefusal(options)) return context.Refuse(*refusal);
  // The window's open dialog accepts only an existing file; here an image
  // that cannot be read, a directory or an empty file ends the command
  // before the search.
  const std::string filePath = options.args[0];
  if (const auto refusal = FirmwareImageRefusal(filePath)) return context.Refuse(*refusal);

  const std::vector<std::string> names(options.args.begin() + 1, options.args.end());
  DeviceSelection selection = SelectNamedDevices(context, names);
  if (selection.error) return selection.error;
  std::vector<const DeviceRecord*> chosen;
  for (std::size_t index : selection.picked) {
    DeviceRecord& record = selection.search.devices[index];
    // The multiple-login dialog with the options' texts applied to all.
    if (IsKavexModelId(record.modelId)) {
      StoreKavexCredentials(record, options.kavexUser, options.kavexPassword);
    }
    chosen.push_back(&record);
  }
  UpgradeRows collected = CollectUpgradeRows(chosen);
  if (collected.refusal) return context.Refuse(*collected.refusal);
  SetUpgradeFile(collected.rows, filePath);

  ProgressRows rows(context.console, collected.rows);
  const Timing timing = context.timing;
  Console* messages = &context.console;
  CUpgradeFirm dialog(
      collected.rows,
      {[timing, messages](UpgradeJob& job) { return RunSwitchUpgrade(job, messages, timing); },
       [timing](UpgradeJob& job) { return RunVideoServerUpgrade(job, timing); }},
      {rows, nullptr, &context.bracket()});
  dialog.Open();
  RunTimer([&] {
    dialog.OnTimer1();
    dialog.OnTimer2();
    return !dialog.timer1Running() && !dialog.timer2Running();
  });
  dialog.Cancel();
  for (const auto& row : collected.rows) context.bracket().Remove(row->record.ipAddr);

  std::vector<DeviceResult> results;
  bool allDone = true;
  for (std::size_t i = 0; i < collected.rows.size(); ++i) {
    results.push_back({collected.rows[i]->record.mac, rows.texts.at(i)});
    allDone = allDone && collected.rows[i]->state == kUpgradeDone;
  }
  PrintResults(context, results);
  return allDone ? kExitOk : kExitFailed;
}

}  // namespace vantrell
