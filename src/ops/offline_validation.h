#pragma once
/// Checking a configuration file without a device: the import's file tests
/// (gzip, header line, model line), the generation picked from the file's
/// model and a firmware version, and the generation's own reader run on a
/// fresh block of that generation, which lists every value the import would
/// refuse or leave out, with its line, key and function group.
///
/// Nothing here shows anything or touches the network; the caller prints
/// the problems.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/validation.h"
#include "core/generation_table.h"

namespace vantrell {

/// One problem of the file, ready to be shown.
struct OfflineProblem {
  int line = 0;               ///< 1-based; 0 for a check tied to no one line
  std::string key;            ///< the file key; may be empty
  ValidationFlags group = 0;  ///< the function group's bit
  std::string groupName;      ///< "port", ... or the short name of a group without a message
  /// The group's import message (ValidationMessageText, two lines), or the
  /// short text of a group without one.
  std::string message;

  bool operator==(const OfflineProblem&) const = default;
};

/// The name and message of a group: ValidationGroups() and
/// ValidationMessageText for the groups with a message; for the others
/// "passwords" ("A password value breaks its rule."), "model line",
/// "first line", "block", or "group 0x..." for a bit no group has.
struct GroupDescription {
  std::string name;
  std::string message;
};
GroupDescription DescribeGroup(ValidationFlags group);

/// Why a file cannot be checked at all.
enum class OfflineRefusal {
  kNone,
  kCompressed,          ///< a gzip stream: only a device that parses the file takes it
  kFileFormat,          ///< the first line is not the header ("File format error.")
  kNoModelLine,         ///< no model line, or one without a model name
  kUnknownModel,        ///< the model line names no model of the model table
  kModelMismatch,       ///< the import's model test fails for the named model
  kFirmwareNeeded,      ///< the model has several generations and no firmware was given
  kFirmwareOutOfRange,  ///< no generation of the model serves the firmware given
  kNotSupported,        ///< the serving generation has no reader
};

/// A generation a model may have, with its firmware range as the
/// information pane writes versions: "GenD2 1.4.1 to 1.5", "GenD4 2.0.6 and later".
std::string GenerationRangeText(const GenerationRow& row);
/// The generations serving `modelId`, in table order.
std::vector<const GenerationRow*> GenerationsOfModel(std::uint16_t modelId);

struct OfflineValidation {
  OfflineRefusal refusal = OfflineRefusal::kNone;
  /// The model name of the file's model line (also for an unknown model).
  std::string fileModelName;
  /// Of the model table's row with that name (of two A8 rows, the 0x05 line's).
  std::uint16_t modelId = 0;
  /// The generation read with; set when refusal is kNone or kNotSupported.
  const GenerationRow* generation = nullptr;
  /// The firmware the reader was given: the one asked for, or the lowest
  /// of the model's only generation.
  std::uint32_t firmwareVersion = 0;
  /// The modular model: read with every port taken as present and able to
  /// trunk, since the device's port masks are not known.
  bool withoutDevicePortMasks = false;
  /// Every problem, by line; those tied to no line (0) come last, each group
  /// of equal lines in the reader's order.
  std::vector<OfflineProblem> problems;
};

/// Checks the whole file's bytes as they would be imported into a device
/// of the file's model with `firmwareVersion` (needed only where the model
/// has several generations).
OfflineValidation ValidateConfigurationFile(std::string_view bytes,
                                            std::optional<std::uint32_t> firmwareVersion);

}  // namespace vantrell
