#pragma once
/// The simulator's command line:
///   vantrell-sim --scenario FILE [--port N] [--ready-file PATH] [--record FILE] [--verbose]

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/timing.h"

namespace vantrell::sim {

struct SimOptions {
  std::string scenarioPath;
  std::uint16_t port = kDevicePort;
  std::string readyFile;   ///< empty: none
  std::string recordFile;  ///< empty: none
  bool verbose = false;
  bool help = false;  ///< --help: print the usage and exit 0
};

struct SimOptionsParse {
  std::optional<SimOptions> options;  ///< set on success
  std::string error;                  ///< set on failure
};

/// Parses the arguments after the program name. Options take their value
/// as the next argument or after "=" ("--port=4000").
SimOptionsParse ParseSimOptions(std::span<const std::string_view> args);

/// The usage text, ending with a line feed.
std::string SimUsage();

}  // namespace vantrell::sim
