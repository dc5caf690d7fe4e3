#include "cli/validate_command.h"

#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_context.h"
#include "cli/input_file.h"
#include "cli/results.h"
#include "core/device_text.h"
#include "core/text_forms.h"
#include "ops/config_import.h"
#include "ops/offline_validation.h"

namespace vantrell {
namespace {

constexpr const char* kUsage = "usage: vantrell validate FILE [--firmware X.Y.Z]";

std::optional<std::string> UsageError(const CliOptions& options) {
  if (options.args.size() != 1) return kUsage;
  for (const auto& [name, value] : options.values) {
    if (name != "--firmware") return "option " + name + " does not apply to validate";
  }
  for (const std::string& name : options.flags) {
    return "option " + name + " does not apply to validate";
  }
  return std::nullopt;
}

std::string RangesOf(std::uint16_t modelId) {
  std::string text;
  for (const GenerationRow* row : GenerationsOfModel(modelId)) {
    if (!text.empty()) text += ", ";
    text += GenerationRangeText(*row);
  }
  return text;
}

/// The message of a refusal, after "FILE: ".
std::string RefusalText(const OfflineValidation& result, const CliOptions& options) {
  const std::string model = result.fileModelName;
  switch (result.refusal) {
    case OfflineRefusal::kCompressed:
      return "a compressed configuration file cannot be validated: only a device that parses "
             "the file itself takes it";
    case OfflineRefusal::kFileFormat:
      return std::string(kFileFormatErrorText);
    case OfflineRefusal::kNoModelLine:
      return std::string(kModelMismatchText) + " (no ModelName line naming a model)";
    case OfflineRefusal::kModelMismatch:
      return std::string(kModelMismatchText);
    case OfflineRefusal::kUnknownModel:
      return "unknown model '" + model + "' in the ModelName line";
    case OfflineRefusal::kFirmwareNeeded:
      return model + " has several firmware generations; give --firmware X.Y.Z: " +
             RangesOf(result.modelId);
    case OfflineRefusal::kFirmwareOutOfRange:
      return "no generation of " + model + " serves firmware " + *options.Value("--firmware") +
             ": " + RangesOf(result.modelId);
    case OfflineRefusal::kNotSupported:
      return "the configuration of " + model + " with firmware " +
             FormatFirmwareVersion(result.firmwareVersion) +
             " cannot be checked: this firmware version is not supported.";
    case OfflineRefusal::kNone:
      break;
  }
  return {};
}

/// "FILE:LINE: KEY: message", the message's line feed a blank; no "LINE"
/// for line 0 and no "KEY: " for a problem without a key.
std::string ProblemLine(const std::string& file, const OfflineProblem& problem) {
  std::string line = file + ":";
  if (problem.line != 0) line += std::to_string(problem.line) + ":";
  line += " ";
  if (!problem.key.empty()) line += problem.key + ": ";
  std::string message = problem.message;
  for (char& c : message) {
    if (c == '\n') c = ' ';
  }
  return PrintableText(line + message);
}

nlohmann::json JsonProblems(const std::string& file, const std::vector<OfflineProblem>& problems) {
  nlohmann::json array = nlohmann::json::array();
  for (const OfflineProblem& problem : problems) {
    array.push_back({{"file", JsonText(file)},
                     {"line", problem.line},
                     {"key", JsonText(problem.key)},
                     {"group", problem.groupName},
                     {"message", problem.message}});
  }
  return array;
}

}  // namespace

int RunValidateCommand(const CliOptions& options, Console& console) {
  if (const auto usage = UsageError(options)) return RefuseRun(console, options.json, *usage);
  std::optional<std::uint32_t> firmware;
  if (const auto text = options.Value("--firmware")) {
    firmware = ParseFirmwareVersion(*text);
    if (!firmware) {
      return RefuseRun(console, options.json,
                       "--firmware: '" + *text +
                           "' is not a firmware version (X.Y or X.Y.Z, hexadecimal fields as "
                           "the information pane shows them)");
    }
  }
  const std::string& path = options.args.front();
  std::string error;
  const auto bytes = ReadImportFileOnce(path, error);
  if (!bytes) return RefuseRun(console, options.json, error);

  const OfflineValidation result = ValidateConfigurationFile(*bytes, firmware);
  if (result.refusal != OfflineRefusal::kNone) {
    return RefuseRun(console, options.json, path + ": " + RefusalText(result, options));
  }
  console.Progress(path + ": " + result.fileModelName + ", " +
                   std::string(GenerationName(result.generation->generation)));
  if (options.json) {
    if (result.withoutDevicePortMasks) console.Error(path + ": " + kWithoutPortMasksNote);
    PrintJson(console.out(), JsonProblems(path, result.problems));
  } else {
    std::ostream& out = console.out();
    if (result.withoutDevicePortMasks)
      out << PrintableText(path) << ": " << kWithoutPortMasksNote << "\n";
    for (const OfflineProblem& problem : result.problems) out << ProblemLine(path, problem) << "\n";
    if (result.problems.empty()) out << PrintableText(path) << ": no problems found\n";
    out.flush();
  }
  return result.problems.empty() ? kExitOk : kExitFailed;
}

}  // namespace vantrell
