#include "sim/scenario.h"

#include <fstream>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "core/ipv4.h"
#include "core/text_forms.h"

namespace vantrell::sim {
namespace {

using nlohmann::json;

/// A field that cannot be used; carries the path of the field.
class FieldError : public std::runtime_error {
 public:
  FieldError(const std::string& path, const std::string& what)
      : std::runtime_error(path + ": " + what) {}
};

/// Longest late answer a scenario may ask for.
constexpr std::uint64_t kMaxDetailsDelayMs = 600000;

std::string Quoted(const json& value) { return value.dump(); }

std::uint64_t ParseNumericString(const std::string& path, const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::size_t start = hex ? 2 : 0;
  const unsigned base = hex ? 16 : 10;
  if (text.size() == start) throw FieldError(path, "\"" + text + "\" is not a number");
  std::uint64_t value = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      throw FieldError(
          path, "\"" + text + "\" is not a " + (hex ? "hexadecimal" : "decimal") + " number");
    }
    if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / base) {
      throw FieldError(path, "\"" + text + "\" is too large");
    }
    value = value * base + digit;
  }
  return value;
}

/// A JSON number or numeric string in 0..max.
std::uint64_t ReadUnsigned(const json& value, const std::string& path, std::uint64_t max) {
  std::uint64_t result = 0;
  if (value.is_number_unsigned()) {
    result = value.get<std::uint64_t>();
  } else if (value.is_number_integer()) {
    throw FieldError(path, Quoted(value) + " is negative");
  } else if (value.is_number_float()) {
    throw FieldError(path, Quoted(value) + " is not a whole number");
  } else if (value.is_string()) {
    result = ParseNumericString(path, value.get<std::string>());
  } else {
    throw FieldError(path, Quoted(value) + " is not a number or a numeric string");
  }
  if (result > max) {
    throw FieldError(path, Quoted(value) + " is out of range 0.." + std::to_string(max));
  }
  return result;
}

std::string ReadText(const json& value, const std::string& path) {
  if (!value.is_string()) throw FieldError(path, Quoted(value) + " is not a string");
  return value.get<std::string>();
}

Ipv4 ReadIpv4(const json& value, const std::string& path) {
  const std::optional<Ipv4> address = ParseIpv4(ReadText(value, path));
  if (!address) throw FieldError(path, Quoted(value) + " is not a dotted IPv4 address");
  return *address;
}

MacAddress ReadMac(const json& value, const std::string& path) {
  const std::optional<MacAddress> mac = ParseMac(ReadText(value, path));
  if (!mac) throw FieldError(path, Quoted(value) + " is not a MAC address like 00:11:22:33:44:55");
  return *mac;
}

bool ReadBool(const json& value, const std::string& path) {
  if (!value.is_boolean()) throw FieldError(path, Quoted(value) + " is not true or false");
  return value.get<bool>();
}

const json& RequireObject(const json& value, const std::string& path) {
  if (!value.is_object()) throw FieldError(path, "is not a JSON object");
  return value;
}

/// Adds a warning for every key of `object` that is not in `known`.
void WarnUnknownKeys(const json& object, const std::string& path,
                     std::initializer_list<std::string_view> known,
                     std::vector<std::string>& warnings) {
  for (const auto& item : object.items()) {
    bool isKnown = false;
    for (std::string_view name : known) isKnown = isKnown || item.key() == name;
    if (!isKnown) {
      warnings.push_back((path.empty() ? "" : path + ".") + item.key() + ": unknown field ignored");
    }
  }
}

DiscoveryForm ReadDiscoveryForm(const json& value, const std::string& path) {
  const std::string text = ReadText(value, path);
  if (text == "short") return DiscoveryForm::kShort;
  if (text == "long") return DiscoveryForm::kLong;
  throw FieldError(path, Quoted(value) + " is neither \"short\" nor \"long\"");
}

DetailsForm ReadDetailsForm(const json& value, const std::string& path) {
  if (value.is_string() && value.get<std::string>() == "none") return DetailsForm::kNone;
  switch (ReadUnsigned(value, path, 0xFFFF)) {
    case 86:
      return DetailsForm::k86;
    case 98:
      return DetailsForm::k98;
    case 178:
      return DetailsForm::k178;
    case 1186:
      return DetailsForm::k1186;
    default:
      throw FieldError(path, Quoted(value) + " is not 86, 98, 178, 1186 or \"none\"");
  }
}

DiscoveryNoise ReadNoise(const json& value, const std::string& path) {
  const std::string text = ReadText(value, path);
  if (text == "sequence") return DiscoveryNoise::kSequence;
  if (text == "interface") return DiscoveryNoise::kInterface;
  if (text == "firstByte") return DiscoveryNoise::kFirstByte;
  if (text == "length") return DiscoveryNoise::kLength;
  throw FieldError(
      path, Quoted(value) + " is not \"sequence\", \"interface\", \"firstByte\" or \"length\"");
}

SimFaults ReadFaults(const json& value, const std::string& path,
                     std::vector<std::string>& warnings) {
  RequireObject(value, path);
  WarnUnknownKeys(value, path, {"discoveryNoise", "noiseOnly", "detailsDelayMs"}, warnings);
  SimFaults faults;
  if (value.contains("discoveryNoise")) {
    const json& list = value["discoveryNoise"];
    const std::string listPath = path + ".discoveryNoise";
    if (!list.is_array()) throw FieldError(listPath, "is not a JSON array");
    for (std::size_t i = 0; i < list.size(); ++i) {
      faults.discoveryNoise.push_back(ReadNoise(list[i], listPath + "[" + std::to_string(i) + "]"));
    }
  }
  if (value.contains("noiseOnly")) {
    faults.noiseOnly = ReadBool(value["noiseOnly"], path + ".noiseOnly");
  }
  if (value.contains("detailsDelayMs")) {
    faults.detailsDelayMs = static_cast<int>(
        ReadUnsigned(value["detailsDelayMs"], path + ".detailsDelayMs", kMaxDetailsDelayMs));
  }
  return faults;
}

SimModule ReadModule(const json& value, const std::string& path,
                     std::vector<std::string>& warnings) {
  RequireObject(value, path);
  WarnUnknownKeys(value, path, {"type", "name", "desc"}, warnings);
  SimModule module;
  module.type = value.contains("type")
                    ? static_cast<std::uint8_t>(ReadUnsigned(value["type"], path + ".type", 0xFF))
                    : 1;
  if (value.contains("name")) module.name = ReadText(value["name"], path + ".name");
  if (value.contains("desc")) module.desc = ReadText(value["desc"], path + ".desc");
  return module;
}

void ReadModules(const json& value, const std::string& path, SimDevice& device,
                 std::vector<std::string>& warnings) {
  if (!value.is_array()) throw FieldError(path, "is not a JSON array");
  if (value.size() > device.modules.size()) {
    throw FieldError(path, "lists " + std::to_string(value.size()) + " modules, at most 8 fit");
  }
  for (std::size_t slot = 0; slot < value.size(); ++slot) {
    device.modules[slot] =
        ReadModule(value[slot], path + "[" + std::to_string(slot) + "]", warnings);
  }
}

const json& RequireField(const json& object, const std::string& path, const char* key) {
  if (!object.contains(key)) throw FieldError(path + "." + key, "is required");
  return object[key];
}

SimDevice ReadDevice(const json& value, const std::string& path,
                     std::vector<std::string>& warnings) {
  RequireObject(value, path);
  WarnUnknownKeys(value, path, {"modelId",     "serialNo", "mac",       "ip",
                                "webPort",     "reply",    "modelName", "firmwareVersion",
                                "statusFlags", "name",     "location",  "netmask",
                                "gateway",     "dns1",     "dns2",      "ipConfigFlags",
                                "modules",     "details",  "faults",    "segment",
                                "prefix"},
                  warnings);
  SimDevice device;
  const auto field = [&](const char* key) { return path + "." + key; };
  device.modelId = static_cast<std::uint16_t>(
      ReadUnsigned(RequireField(value, path, "modelId"), field("modelId"), 0xFFFF));
  device.mac = ReadMac(RequireField(value, path, "mac"), field("mac"));
  device.ip = ReadIpv4(RequireField(value, path, "ip"), field("ip"));

  const auto has = [&](const char* key) { return value.contains(key); };
  const auto u16 = [&](const char* key) {
    return static_cast<std::uint16_t>(ReadUnsigned(value[key], field(key), 0xFFFF));
  };
  const auto u32 = [&](const char* key) {
    return static_cast<std::uint32_t>(ReadUnsigned(value[key], field(key), 0xFFFFFFFF));
  };
  if (has("serialNo")) device.serialNo = u16("serialNo");
  if (has("webPort")) device.webPort = u16("webPort");
  if (has("reply")) device.reply = ReadDiscoveryForm(value["reply"], field("reply"));
  if (has("modelName")) device.modelName = ReadText(value["modelName"], field("modelName"));
  if (has("firmwareVersion")) device.firmwareVersion = u32("firmwareVersion");
  if (has("statusFlags")) {
    device.statusFlags =
        static_cast<std::uint8_t>(ReadUnsigned(value["statusFlags"], field("statusFlags"), 0xFF));
  }
  if (has("name")) device.name = ReadText(value["name"], field("name"));
  if (has("location")) device.location = ReadText(value["location"], field("location"));
  if (has("netmask")) device.netmask = ReadIpv4(value["netmask"], field("netmask"));
  if (has("gateway")) device.gateway = ReadIpv4(value["gateway"], field("gateway"));
  if (has("dns1")) device.dns1 = ReadIpv4(value["dns1"], field("dns1"));
  if (has("dns2")) device.dns2 = ReadIpv4(value["dns2"], field("dns2"));
  if (has("ipConfigFlags")) device.ipConfigFlags = u32("ipConfigFlags");
  if (has("modules")) ReadModules(value["modules"], field("modules"), device, warnings);
  if (has("details")) device.details = ReadDetailsForm(value["details"], field("details"));
  if (has("faults")) device.faults = ReadFaults(value["faults"], field("faults"), warnings);
  return device;
}

Scenario ReadScenario(const json& document, std::vector<std::string>& warnings) {
  if (!document.is_object()) throw FieldError("scenario", "is not a JSON object");
  WarnUnknownKeys(document, "", {"devices"}, warnings);
  if (!document.contains("devices")) throw FieldError("devices", "is required");
  const json& list = document["devices"];
  if (!list.is_array()) throw FieldError("devices", "is not a JSON array");
  Scenario scenario;
  for (std::size_t i = 0; i < list.size(); ++i) {
    scenario.devices.push_back(ReadDevice(list[i], "devices[" + std::to_string(i) + "]", warnings));
  }
  return scenario;
}

}  // namespace

ScenarioLoad ParseScenario(std::string_view jsonText) {
  ScenarioLoad load;
  json document;
  try {
    document = json::parse(jsonText);
  } catch (const json::exception& e) {
    load.error = std::string("not valid JSON: ") + e.what();
    return load;
  }
  try {
    load.scenario = ReadScenario(document, load.warnings);
  } catch (const std::exception& e) {
    load.error = e.what();
    load.warnings.clear();
  }
  return load;
}

ScenarioLoad LoadScenarioFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    ScenarioLoad load;
    load.error = "cannot open \"" + path + "\"";
    return load;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    ScenarioLoad load;
    load.error = "cannot read \"" + path + "\"";
    return load;
  }
  return ParseScenario(text.str());
}

}  // namespace vantrell::sim
