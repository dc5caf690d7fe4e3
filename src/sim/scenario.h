#pragma once
/// The scenario file: a JSON document that lists the devices one simulator
/// process plays, with their identity, settings and faults.
///
/// Numbers are JSON numbers or strings ("0x6008" hexadecimal, "42"
/// decimal). Required per device: modelId, mac, ip. Unknown fields are kept
/// as warnings (a later simulator may read them); "segment" and "prefix"
/// belong to the lab script and are accepted silently. A device without a
/// configBlock keeps a zero-filled block of its generation's size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/sim_device.h"

namespace vantrell::sim {

struct Scenario {
  std::vector<SimDevice> devices;
};

struct ScenarioLoad {
  std::optional<Scenario> scenario;   ///< set on success
  std::string error;                  ///< one line naming the field, set on failure
  std::vector<std::string> warnings;  ///< unknown fields, one line each
};

/// Parses the JSON text of a scenario. Relative file names inside it
/// (configBlock.file, configFile.file) are taken from `baseDirectory`
/// (empty: the current directory).
ScenarioLoad ParseScenario(std::string_view jsonText, const std::string& baseDirectory = "");

/// Reads and parses a scenario file; an unreadable file is an error too.
/// Relative file names inside it are taken from the file's own directory.
ScenarioLoad LoadScenarioFile(const std::string& path);

/// The size of the configuration block that a switch of this model keeps
/// at this firmware version, by its row of the generation table
/// (core/generation_table.h); 0 for a model or version that keeps none
/// (video servers, unknown versions).
std::size_t GenerationBlockSize(std::uint16_t modelId, std::uint32_t firmwareVersion);

}  // namespace vantrell::sim
