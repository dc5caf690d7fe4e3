#include "cli/device_commands.h"

#include <unistd.h>

#include "cli/browser.h"
#include "cli/device_export.h"
#include "cli/device_selection.h"
#include "core/device_text.h"
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

/// 0 when the command has `count` arguments, the first of them its DEVICE,
/// or one fewer when a fleet selection option names the device; else the
/// refusal's exit code.
int ExpectArguments(CliContext& context, std::size_t count, const char* usage) {
  const std::size_t given = context.options.args.size();
  if (given == count || (given + 1 == count && HasFleetSelection(context.options))) return kExitOk;
  return context.Refuse(std::string("usage: vantrell ") + usage);
}

/// The DEVICE argument of a one-device command (none when a fleet selection
/// option names it), after ExpectArguments passed.
std::vector<std::string> DeviceArgument(const CliContext& context, std::size_t count) {
  if (context.options.args.size() < count) return {};
  return {context.options.args.front()};
}

/// The search and the one device a one-device command with `count`
/// arguments acts on.
DeviceSelection SelectOneDevice(CliContext& context, std::size_t count) {
  return SelectNamedDevices(context, DeviceArgument(context, count), DeviceCount::kOne);
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
    PrintJson(context.console.out(),
              InfoJson(record, index < search.progress.size() ? search.progress[index] : ""));
    return;
  }
  for (const InfoLine& line : InfoPaneLines(record)) {
    std::string text = line.label;
    if (!line.value.empty()) text += std::string(text.size() < 15 ? 15 - text.size() : 1, ' ') + line.value;
    context.console.out() << PrintableText(text, "\t") << "\n";
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

/// The window offers Change Password whatever the lock state, and asks for
/// the old password; here the old password is --password, so a protected
/// device without it is refused as every command refuses it.
std::optional<std::string> PasswdRefusal(const DeviceRecord& record) {
  if (!IsAccessible(record)) return NotAccessibleText(record);
  if (IsKavexName(FieldText(record.modelName))) {
    return FormatMac(record.mac) + " is a video server: Change password does not apply";
  }
  if (!IsUsable(record)) return PasswordProtectedText(record);
  return std::nullopt;
}

/// `export DEVICE -`: the file goes to stdout (through a private
/// temporary file, written as every export writes it), the outcome to stderr.
ExportRun ExportToStdout(CliContext& context, DeviceRecord& record) {
  std::string bytes;
  ExportRun run = ExportToMemory(context, record, bytes);
  if (run.result == 0) {
    context.console.out() << bytes;
    context.console.out().flush();
  }
  return run;
}

}  // namespace

int RunExportCommand(CliContext& context) {
  if (const int usage = ExpectArguments(context, 2, "export DEVICE FILE")) return usage;
  DeviceSelection selection = SelectOneDevice(context, 2);
  if (selection.error) return selection.error;
  DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  if (const auto refusal = ExportRefusal(record)) return context.Refuse(*refusal);
  if (IsKavexModelId(record.modelId)) {
    if (const auto refusal = KavexOptionsRefusal(context.options)) return context.Refuse(*refusal);
  }
  const std::string& path = context.options.args.back();
  const bool toStdout = path == "-";
  const ExportRun run =
      toStdout ? ExportToStdout(context, record) : ExportToFile(context, record, path);
  PrintOutcome(context, record, run.message, toStdout);
  return run.result == 0 ? kExitOk : kExitFailed;
}

int RunWebCommand(CliContext& context) {
  if (const int usage = ExpectArguments(context, 1, "web DEVICE [--no-open]")) return usage;
  DeviceSelection selection = SelectOneDevice(context, 1);
  if (selection.error) return selection.error;
  const DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  const std::string url = WebConsoleUrl(record);
  PrintResults(context, {{record.mac, url}});
  if (context.options.Flag("--no-open")) return kExitOk;
  const BrowserStart started = StartBrowser(url, geteuid() == 0);
  if (!started.note.empty()) context.console.Error(started.note);
  return started.failed ? kExitFailed : kExitOk;
}

int RunInfoCommand(CliContext& context) {
  if (const int usage = ExpectArguments(context, 1, "info DEVICE")) return usage;
  DeviceSelection selection = SelectOneDevice(context, 1);
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
  if (const int usage = ExpectArguments(context, 1, "unlock DEVICE --password PW")) return usage;
  DeviceSelection selection = SelectOneDevice(context, 1);
  if (selection.error) return selection.error;
  DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  SetFieldText(record.password, "");
  if (const auto refusal = UnlockRefusal(record)) return context.Refuse(*refusal);
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.password, context.options.password);
  return RunOneDeviceDialog(context, job, [&context](SingleDeviceJob& j) {
    RunUnlock(j, &context.bracket(), context.timing);
  });
}

int RunPasswdCommand(CliContext& context) {
  constexpr const char* kUsage = "passwd DEVICE --new NEW [--password OLD]";
  // --new, --new-password-file or VANTRELL_NEW_PASSWORD (ResolveSecrets),
  // at most 16 characters.
  const auto newPassword = context.options.Value("--new");
  if (!newPassword) return context.Refuse(std::string("usage: vantrell ") + kUsage);
  if (const int usage = ExpectArguments(context, 1, kUsage)) return usage;
  DeviceSelection selection = SelectOneDevice(context, 1);
  if (selection.error) return selection.error;
  DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  if (const auto refusal = PasswdRefusal(record)) return context.Refuse(*refusal);
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.oldPassword, context.options.password);
  CopyTrimmedPassword(job.newPassword, *newPassword);
  return RunOneDeviceDialog(context, job, [&context](SingleDeviceJob& j) {
    RunChangePassword(j, &context.bracket(), context.timing);
  });
}

int RunSetDefaultCommand(CliContext& context) {
  if (context.options.args.empty() && !HasFleetSelection(context.options)) {
    return context.Refuse("usage: vantrell set-default DEVICE...");
  }
  DeviceSelection selection = SelectNamedDevices(context, context.options.args);
  if (selection.error) return selection.error;
  std::vector<const DeviceRecord*> chosen;
  for (std::size_t index : selection.picked) chosen.push_back(&selection.search.devices[index]);
  CommandRows collected = CollectCommandRows(chosen, kSetDefaultOpcode);
  if (collected.refusal) return context.Refuse(*collected.refusal);
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
