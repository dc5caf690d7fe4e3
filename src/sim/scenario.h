#pragma once
/// The scenario file: a JSON document that lists the devices one simulator
/// process plays, with their identity, settings and faults.
///
/// Numbers are JSON numbers or strings ("0x6008" hexadecimal, "42"
/// decimal). Required per device: modelId, mac, ip. Unknown fields are kept
/// as warnings (a later simulator may read them); "segment" and "prefix"
/// belong to the lab script and are accepted silently.

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

/// Parses the JSON text of a scenario.
ScenarioLoad ParseScenario(std::string_view jsonText);

/// Reads and parses a scenario file; an unreadable file is an error too.
ScenarioLoad LoadScenarioFile(const std::string& path);

}  // namespace vantrell::sim
