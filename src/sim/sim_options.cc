#include "sim/sim_options.h"

namespace vantrell::sim {
namespace {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::string SimUsage() {
  return "usage: vantrell-sim --scenario FILE [--port N] [--ready-file PATH] [--record FILE]\n"
         "                    [--verbose]\n"
         "  --scenario FILE    JSON scenario listing the simulated devices\n"
         "  --port N           UDP port and TCP session port (default 4000)\n"
         "  --ready-file PATH  write \"ready\" to PATH once listening\n"
         "  --record FILE      one JSON line per session and web request received\n"
         "  --verbose          one line on stderr per datagram, session and web request\n";
}

SimOptionsParse ParseSimOptions(std::span<const std::string_view> args) {
  SimOptionsParse result;
  SimOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> inlineValue;
    if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != name.npos) {
      inlineValue = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const auto flag = [&]() {
      if (inlineValue) result.error = std::string(name) + " takes no value";
      return !inlineValue;
    };
    const auto value = [&]() -> std::optional<std::string_view> {
      if (inlineValue) return inlineValue;
      if (i + 1 < args.size()) return args[++i];
      result.error = std::string(name) + " needs a value";
      return std::nullopt;
    };
    if (name == "--help" || name == "-h") {
      if (!flag()) return result;
      options.help = true;
    } else if (name == "--verbose") {
      if (!flag()) return result;
      options.verbose = true;
    } else if (name == "--scenario") {
      const auto text = value();
      if (!text) return result;
      options.scenarioPath = std::string(*text);
    } else if (name == "--ready-file") {
      const auto text = value();
      if (!text) return result;
      options.readyFile = std::string(*text);
    } else if (name == "--record") {
      const auto text = value();
      if (!text) return result;
      options.recordFile = std::string(*text);
    } else if (name == "--port") {
      const auto text = value();
      if (!text) return result;
      const std::optional<std::uint16_t> port = ParsePort(*text);
      if (!port) {
        result.error = "--port: \"" + std::string(*text) + "\" is not a port number 1..65535";
        return result;
      }
      options.port = *port;
    } else {
      result.error = "unknown argument \"" + std::string(args[i]) + "\"";
      return result;
    }
  }
  if (!options.help && options.scenarioPath.empty()) {
    result.error = "--scenario FILE is required";
    return result;
  }
  result.options = options;
  return result;
}

}  // namespace vantrell::sim
