#include "cli/diff_command.h"

#include <optional>
#include <string>
#include <vector>

#include "cli/device_export.h"
#include "cli/device_selection.h"
#include "cli/diff_output.h"
#include "cli/fleet_selection.h"
#include "cli/input_file.h"
#include "cli/results.h"
#include "cli/upgrade_command.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/config_diff.h"

namespace vantrell {
namespace {

constexpr const char* kUsage = "usage: vantrell diff A B (each a FILE or a DEVICE)";

/// A reading message that names the file ("FILE: ...").
std::string FileError(const std::string& path, const std::string& error) {
  return error.starts_with(path + ":") ? error : path + ": " + error;
}

/// Exports each named device into `bytes` at the argument's place. 0, or
/// the refusal's exit code.
int ExportDevices(CliContext& context, const std::vector<std::size_t>& argumentOfDevice,
                  std::vector<std::string>& bytes) {
  std::vector<std::string> names;
  for (std::size_t argument : argumentOfDevice) names.push_back(context.options.args[argument]);
  DeviceSelection selection = SelectNamedDevices(context, names);
  if (selection.error) return selection.error;
  for (std::size_t i = 0; i < argumentOfDevice.size(); ++i) {
    DeviceRecord& record = selection.search.devices[selection.picked.at(i)];
    if (const auto refusal = ExportRefusal(record)) return context.Refuse(*refusal);
    if (IsKavexModelId(record.modelId)) {
      if (const auto refusal = KavexOptionsRefusal(context.options)) {
        return context.Refuse(*refusal);
      }
    }
    const ExportRun run = ExportToMemory(context, record, bytes[argumentOfDevice[i]]);
    if (run.result != 0) {
      const std::string message = run.message.substr(0, run.message.find('\n'));
      return context.Refuse(FormatMac(record.mac) + ": " + message);
    }
  }
  return kExitOk;
}

void PrintDifferences(CliContext& context, const std::vector<ConfigDifference>& differences) {
  if (context.options.json) {
    PrintJson(context.console.out(), DifferencesJson(differences));
    return;
  }
  for (const ConfigDifference& difference : differences) {
    context.console.out() << DifferenceLine(difference) << "\n";
  }
}

}  // namespace

int RunDiffCommand(CliContext& context) {
  const std::vector<std::string>& args = context.options.args;
  if (args.size() != 2) return context.Refuse(kUsage);
  // The files are read before the search, so that a wrong name ends the
  // command before anything is sent.
  std::vector<std::string> bytes(args.size());
  std::vector<std::size_t> devices;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (IsDeviceName(args[i])) {
      devices.push_back(i);
      continue;
    }
    std::string error;
    const auto text = ReadImportFileOnce(args[i], error);
    if (!text) return context.Refuse(FileError(args[i], error));
    bytes[i] = *text;
  }
  if (!devices.empty()) {
    if (const int refused = ExportDevices(context, devices, bytes)) return refused;
  }
  const std::vector<ConfigDifference> differences = DiffConfigFiles(bytes[0], bytes[1]);
  PrintDifferences(context, differences);
  return differences.empty() ? kExitOk : kExitFailed;
}

}  // namespace vantrell
