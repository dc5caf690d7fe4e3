#include "cli/device_commands.h"

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "cli/device_selection.h"
#include "cli/results.h"
#include "cli/search_output.h"
#include "cli/upgrade_command.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/http_texts.h"
#include "ops/device_info.h"
#include "ops/export_configuration.h"
#include "ops/password_commands.h"
#include "ops/selection_rights.h"
#include "ops/send_command.h"
#include "ops/video_server_export.h"
#include "ui/info_lines.h"
#include "ui/multi_device_dialog.h"
#include "ui/one_device_dialog.h"
#include "ui/orv_list_view.h"

namespace vantrell {
namespace {

/// A report list that keeps only the "Progress" texts.
class ProgressTexts : public RowTable {
 public:
  void DeleteAllRows() override { texts.clear(); }
  void InsertRow(int row, std::string_view) override { texts.insert(texts.begin() + row, ""); }
  void SetCell(int row, int column, std::string_view text) override {
    if (column == 1) texts.at(static_cast<std::size_t>(row)) = text;
  }
  std::vector<std::string> texts;
};

bool ExpectArguments(CliContext& context, std::size_t count, const char* usage) {
  if (context.options.args.size() == count) return true;
  context.console.Error(std::string("usage: vantrell ") + usage);
  return false;
}

/// Runs a one-device dialog with `worker` and prints its final row text.
int RunOneDeviceDialog(CliContext& context, SingleDeviceJob& job,
                       std::function<void(SingleDeviceJob&)> worker) {
  ProgressTexts rows;
  OneDeviceDialog dialog(job, {rows, nullptr});
  dialog.Open(std::move(worker));
  RunTimer([&] { return dialog.OnTimer(); });
  dialog.PressButton();
  PrintResults(context, {{job.record.mac, rows.texts.at(0)}});
  return job.state == kJobSucceeded ? kExitOk : kExitFailed;
}

void PrintInfo(CliContext& context, const SearchOutcome& search, std::size_t index) {
  const DeviceRecord& record = search.devices[index];
  if (context.options.json) {
    DeviceList one;
    one.append(record);
    nlohmann::json info =
        SearchJson(one, {index < search.progress.size() ? search.progress[index] : ""})[0];
    info["infoText"] = std::string(FieldText(record.infoText));
    context.console.out() << info.dump(2) << "\n";
    return;
  }
  for (const InfoLine& line : InfoPaneLines(record)) {
    std::string text = line.label;
    if (!line.value.empty()) text += std::string(text.size() < 15 ? 15 - text.size() : 1, ' ') + line.value;
    context.console.out() << text << "\n";
  }
}

/// The window's enabling rule of Unlock, as a refusal message.
std::optional<std::string> UnlockRefusal(const DeviceRecord& record) {
  if (!IsAccessible(record)) return NotAccessibleText(record);
  if (IsKavexName(FieldText(record.modelName))) {
    return FormatMac(record.mac) + " is a video server: Unlock does not apply";
  }
  if (!(record.statusFlags & kStatusProtected)) {
    return FormatMac(record.mac) + " is not password protected";
  }
  return std::nullopt;
}

std::optional<std::string> PasswdRefusal(const DeviceRecord& record) {
  if (!IsAccessible(record)) return NotAccessibleText(record);
  if (IsKavexName(FieldText(record.modelName))) {
    return FormatMac(record.mac) + " is a video server: Change password does not apply";
  }
  return std::nullopt;
}

/// Prints the outcome message of a single-device command without a
/// progress row: the text on stdout, or {"mac", "result"} with --json.
void PrintOutcome(CliContext& context, const DeviceRecord& record, const std::string& message) {
  if (context.options.json) {
    context.console.out() << nlohmann::json{{"mac", FormatMac(record.mac)}, {"result", message}}
                                 .dump(2)
                          << "\n";
  } else {
    context.console.out() << message << "\n";
  }
}

/// The window's enabling rule of Export Configuration, as a refusal.
std::optional<std::string> ExportRefusal(const DeviceRecord& record) {
  if (!IsAccessible(record)) return NotAccessibleText(record);
  if (!IsUsable(record)) return PasswordProtectedText(record);
  return std::nullopt;
}

/// The parameter export of a video server with --kavex-user and
/// --kavex-password. Refused credentials end with the window's message
/// (its login dialog has nothing new to offer here).
int ExportVideoServer(CliContext& context, DeviceRecord& record) {
  if (const auto refusal = KavexOptionsRefusal(context.options)) {
    context.console.Error(*refusal);
    return kExitUsage;
  }
  StoreKavexCredentials(record, context.options.kavexUser, context.options.kavexPassword);
  const int result = ExportVideoServerParameters(record, context.options.args[1],
                                                 &context.bracket(), context.timing);
  PrintOutcome(context, record,
               result == kDownloadUnauthorized ? kVideoLoginErrorText : VideoExportResultText(result));
  return result == 0 ? kExitOk : kExitFailed;
}

}  // namespace

int RunExportCommand(CliContext& context) {
  if (!ExpectArguments(context, 2, "export DEVICE FILE")) return kExitUsage;
  DeviceSelection selection =
      SelectNamedDevices(context, {context.options.args[0]}, true);
  if (selection.error) return selection.error;
  DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  if (const auto refusal = ExportRefusal(record)) {
    context.console.ShowMessage(*refusal, MessageIcon::kStop);
    return kExitUsage;
  }
  if (IsKavexModelId(record.modelId)) return ExportVideoServer(context, record);
  const int result =
      ExportDeviceConfiguration(record, context.options.args[1], &context.bracket(), context.timing);
  PrintOutcome(context, record, ExportResultText(result, record));
  return result == 0 ? kExitOk : kExitFailed;
}

int RunWebCommand(CliContext& context) {
  if (!ExpectArguments(context, 1, "web DEVICE [--no-open]")) return kExitUsage;
  DeviceSelection selection = SelectNamedDevices(context, context.options.args, true);
  if (selection.error) return selection.error;
  const DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  const std::string url = WebConsoleUrl(record);
  PrintOutcome(context, record, url);
  if (context.options.Flag("--no-open")) return kExitOk;
  if (std::system("command -v xdg-open >/dev/null 2>&1") != 0) {
    context.console.Error("xdg-open is not installed: open " + url + " in a browser");
    return kExitOk;
  }
  const std::string command = "xdg-open '" + url + "' >/dev/null 2>&1 &";
  return std::system(command.c_str()) == 0 ? kExitOk : kExitFailed;
}

int RunInfoCommand(CliContext& context) {
  if (!ExpectArguments(context, 1, "info DEVICE")) return kExitUsage;
  DeviceSelection selection = SelectNamedDevices(context, context.options.args, true);
  if (selection.error) return selection.error;
  const std::size_t index = selection.picked.at(0);
  DeviceRecord& record = selection.search.devices[index];
  int code = kExitOk;
  if (record.replyKind == 1 &&
      !FetchDeviceInfoText(record, &context.bracket(), context.timing)) {
    context.console.ShowMessage(CannotConnectText(record), MessageIcon::kStop);
    code = kExitFailed;
  }
  PrintInfo(context, selection.search, index);
  return code;
}

int RunUnlockCommand(CliContext& context) {
  if (!ExpectArguments(context, 1, "unlock DEVICE --password PW")) return kExitUsage;
  DeviceSelection selection = SelectNamedDevices(context, context.options.args, true);
  if (selection.error) return selection.error;
  DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  SetFieldText(record.password, "");
  if (const auto refusal = UnlockRefusal(record)) {
    context.console.ShowMessage(*refusal, MessageIcon::kStop);
    return kExitUsage;
  }
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.password, context.options.password);
  return RunOneDeviceDialog(context, job, [&context](SingleDeviceJob& j) {
    RunUnlock(j, &context.bracket(), context.timing);
  });
}

int RunPasswdCommand(CliContext& context) {
  const auto newPassword = context.options.Value("--new");
  if (!newPassword || !ExpectArguments(context, 1, "passwd DEVICE --new NEW [--password OLD]")) {
    if (!newPassword) context.console.Error("usage: vantrell passwd DEVICE --new NEW [--password OLD]");
    return kExitUsage;
  }
  DeviceSelection selection = SelectNamedDevices(context, context.options.args, true);
  if (selection.error) return selection.error;
  DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  if (const auto refusal = PasswdRefusal(record)) {
    context.console.ShowMessage(*refusal, MessageIcon::kStop);
    return kExitUsage;
  }
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.oldPassword, context.options.password);
  CopyTrimmedPassword(job.newPassword, *newPassword);
  return RunOneDeviceDialog(context, job, [&context](SingleDeviceJob& j) {
    RunChangePassword(j, &context.bracket(), context.timing);
  });
}

int RunSetDefaultCommand(CliContext& context) {
  if (context.options.args.empty()) {
    context.console.Error("usage: vantrell set-default DEVICE...");
    return kExitUsage;
  }
  DeviceSelection selection = SelectNamedDevices(context, context.options.args);
  if (selection.error) return selection.error;
  std::vector<const DeviceRecord*> chosen;
  for (std::size_t index : selection.picked) chosen.push_back(&selection.search.devices[index]);
  CommandRows collected = CollectCommandRows(chosen, kSetDefaultOpcode);
  if (collected.refusal) {
    context.console.ShowMessage(*collected.refusal, MessageIcon::kStop);
    return kExitUsage;
  }
  ProgressTexts rows;
  const Timing timing = context.timing;
  MultiDeviceDialog dialog(
      collected.rows, [timing](DeviceJob& job) { return RunSendCommand(job, timing); },
      SendCommandStateText, {rows, nullptr, &context.bracket()});
  dialog.Open();
  RunTimer([&] { return dialog.OnTimer(); });
  for (const auto& row : collected.rows) context.bracket().Remove(row->record.ipAddr);
  std::vector<DeviceResult> results;
  bool allDone = true;
  for (std::size_t i = 0; i < collected.rows.size(); ++i) {
    results.push_back({collected.rows[i]->record.mac, rows.texts.at(i)});
    allDone = allDone && collected.rows[i]->state == kCommandDone;
  }
  PrintResults(context, results);
  return allDone ? kExitOk : kExitFailed;
}

}  // namespace vantrell
