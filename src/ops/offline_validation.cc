#include "ops/offline_validation.h"

#include <algorithm>
#include <cstdio>

#include "config/config_block.h"
#include "config/gen_a1_reader.h"
#include "config/gen_a2_reader.h"
#include "config/gen_d_readers.h"
#include "config/gen_m1_reader.h"
#include "config/version_handlers.h"
#include "core/device_record.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/config_import.h"

namespace vantrell {
namespace {

/// The login password the GenA2 reader compares with the SNMPv3 admin
/// authentication: the device's own is unknown offline, so one long enough
/// for that check stands in, and the check never fires.
constexpr std::string_view kStandInLoginPassword = "offline-check";

/// The widest port masks of the modular model: all 30 port indices present,
/// all 26 physical ports able to trunk.
constexpr std::uint32_t kM1AllPorts = 0x3FFFFFFF;
constexpr std::uint32_t kM1AllTrunkPorts = 0x03FFFFFF;

/// The groups without an import message.
struct SilentGroup {
  ValidationFlags bit;
  std::string_view name;
  std::string_view message;
};
constexpr SilentGroup kSilentGroups[] = {
    {validation::kPasswords, "passwords", "A password value breaks its rule."},
    {validation::kWrongModelLine, "model line",
     "The ModelName line is missing or names another model."},
    {validation::kWrongFirstLine, "first line",
     "The first line is not the configuration file header."},
    {validation::kBlockRefused, "block", "The block cannot take the generation's settings."},
};

/// The model table's row of a file's model name. The A8 names stand on two
/// lines (0x35.. and 0x05..); the 0x05 line is taken, since its readers
/// accept every valid port 7 and 8 setting, where the 0x35 line's fixed
/// uplinks would list the settings of a file exported from a 0x05 device.
const ModelTableRow* ModelOfName(std::string_view name) {
  const ModelTableRow* found = nullptr;
  for (const ModelTableRow& row : ModelTable()) {
    if (row.name == name) found = &row;
  }
  return found;
}

DeviceRecord OfflineRecord(const ModelTableRow& model, std::uint32_t firmwareVersion) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = model.modelId;
  record.firmwareVersion = firmwareVersion;
  SetFieldText(record.modelName, model.name);
  SetFieldText(record.password, kStandInLoginPassword);
  if (IsM26Model(model.modelId)) {
    record.portMask = kM1AllPorts;
    record.trunkPortMask = kM1AllTrunkPorts;
  }
  return record;
}

/// The generation's reader with its problem list, as the import runs it.
FileReadResult ReadWithProblems(Generation generation, DeviceRecord& edited, ConfigBlock& block,
                                std::string_view fileText, ItemAccessors& accessors) {
  switch (generation) {
    case Generation::kGenA1:
      return ReadGenA1File(edited, block, fileText, accessors);
    case Generation::kGenA2: {
      GenA2ReadResult read = ReadGenA2File(edited, block, fileText, accessors);
      return {read.flags, std::move(read.problems)};
    }
    case Generation::kGenM1:
      return ReadGenM1ConfigFileWithProblems(edited, block, fileText, accessors);
    default:
      return ReadGenDConfigFileWithProblems(generation, edited, block, fileText, accessors);
  }
}

std::vector<OfflineProblem> Described(const std::vector<FileProblem>& problems) {
  std::vector<OfflineProblem> described;
  described.reserve(problems.size());
  for (const FileProblem& problem : problems) {
    GroupDescription group = DescribeGroup(problem.group);
    described.push_back({problem.line, problem.key, problem.group, std::move(group.name),
                         std::move(group.message)});
  }
  // By line, those tied to no line last.
  std::stable_sort(described.begin(), described.end(),
                   [](const OfflineProblem& a, const OfflineProblem& b) {
                     const unsigned lineA = a.line == 0 ? ~0u : static_cast<unsigned>(a.line);
                     const unsigned lineB = b.line == 0 ? ~0u : static_cast<unsigned>(b.line);
                     return lineA < lineB;
                   });
  return described;
}

/// The import's gzip, header and model tests; fills the model fields.
OfflineRefusal FileTests(std::string_view bytes, OfflineValidation& result,
                         const ModelTableRow*& model) {
  if (IsGzipFile(bytes)) return OfflineRefusal::kCompressed;
  ImportFileReader file(bytes);
  if (!HeaderLineMatches(file)) return OfflineRefusal::kFileFormat;
  const std::size_t afterHeader = file.position();
  const auto fileModel = ReadModelLineName(file);
  if (!fileModel || fileModel->empty()) return OfflineRefusal::kNoModelLine;
  result.fileModelName = std::string(*fileModel);
  model = ModelOfName(*fileModel);
  if (!model) return OfflineRefusal::kUnknownModel;
  result.modelId = model->modelId;
  file.Seek(afterHeader);
  if (!ModelLineMatches(file, model->name)) return OfflineRefusal::kModelMismatch;
  return OfflineRefusal::kNone;
}

}  // namespace

GroupDescription DescribeGroup(ValidationFlags group) {
  for (const ValidationGroup& known : ValidationGroups()) {
    if (known.bit == group) {
      return {std::string(known.name), ValidationMessageText(known.name)};
    }
  }
  for (const SilentGroup& silent : kSilentGroups) {
    if (silent.bit == group) return {std::string(silent.name), std::string(silent.message)};
  }
  char name[24];
  std::snprintf(name, sizeof name, "group 0x%08X", group);
  return {name, std::string("An invalid setting of ") + name + "."};
}

std::string GenerationRangeText(const GenerationRow& row) {
  std::string text = std::string(row.name) + " " + FormatFirmwareVersion(row.firmwareLow);
  if (row.firmwareHigh == kNoUpperBound) return text + " and later";
  return text + " to " + FormatFirmwareVersion(row.firmwareHigh);
}

std::vector<const GenerationRow*> GenerationsOfModel(std::uint16_t modelId) {
  std::vector<const GenerationRow*> rows;
  for (const GenerationRow& row : kGenerationTable) {
    if (row.modelTest && row.modelTest(modelId)) rows.push_back(&row);
  }
  return rows;
}

OfflineValidation ValidateConfigurationFile(std::string_view bytes,
                                            std::optional<std::uint32_t> firmwareVersion) {
  OfflineValidation result;
  const ModelTableRow* model = nullptr;
  result.refusal = FileTests(bytes, result, model);
  if (result.refusal != OfflineRefusal::kNone) return result;

  if (firmwareVersion) {
    result.generation = FindGenerationRow(model->modelId, *firmwareVersion);
    result.firmwareVersion = *firmwareVersion;
    if (!result.generation) {
      result.refusal = OfflineRefusal::kFirmwareOutOfRange;
      return result;
    }
  } else {
    const auto generations = GenerationsOfModel(model->modelId);
    if (generations.size() != 1) {
      result.refusal = OfflineRefusal::kFirmwareNeeded;
      return result;
    }
    result.generation = generations.front();
    result.firmwareVersion = result.generation->firmwareLow;
  }

  HandlerSelection handlers = selectHandlers(model->modelId, result.firmwareVersion);
  if (!handlers || !handlers.row->readConfigFile) {
    result.refusal = OfflineRefusal::kNotSupported;
    return result;
  }
  const Generation generation = result.generation->generation;
  DeviceRecord edited = OfflineRecord(*model, result.firmwareVersion);
  result.withoutDevicePortMasks = generation == Generation::kGenM1;
  ConfigBlock block(blockSize(generation));
  const FileReadResult read =
      ReadWithProblems(generation, edited, block, bytes, *handlers.accessors);
  result.problems = Described(read.problems);
  return result;
}

}  // namespace vantrell
