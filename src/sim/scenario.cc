#include "sim/scenario.h"

#include <fstream>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "core/generation_table.h"
#include "core/ipv4.h"
#include "core/text_forms.h"
#include "core/wire/details_layout.h"

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
/// Flood replies per discovery request: enough to pass any search's list
/// within seconds.
constexpr std::uint64_t kMaxFloodMacsPerRequest = 1024;
/// Longest texts a device keeps for the session protocol and its web server.
constexpr std::size_t kMaxInfoTextBytes = 0xFFFF;  // 16-bit length field
constexpr std::size_t kMaxConfigFileBytes = 4u << 20;
constexpr std::size_t kMaxWebCredentialLength = 64;

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

const json& RequireField(const json& object, const std::string& path, const char* key) {
  if (!object.contains(key)) throw FieldError(path + "." + key, "is required");
  return object[key];
}

/// A status byte: -128..255, as a number or numeric string ("0xF9", "-3").
std::uint8_t ReadStatusByte(const json& value, const std::string& path) {
  if (value.is_number_integer() && !value.is_number_unsigned()) {
    const std::int64_t number = value.get<std::int64_t>();
    if (number < -128) throw FieldError(path, Quoted(value) + " is out of range -128..255");
    return static_cast<std::uint8_t>(static_cast<std::int8_t>(number));
  }
  if (value.is_string() && value.get<std::string>().starts_with("-")) {
    const std::string text = value.get<std::string>();
    const std::uint64_t magnitude = ParseNumericString(path, text.substr(1));
    if (magnitude > 128) throw FieldError(path, Quoted(value) + " is out of range -128..255");
    return static_cast<std::uint8_t>(static_cast<std::int8_t>(-static_cast<int>(magnitude)));
  }
  return static_cast<std::uint8_t>(ReadUnsigned(value, path, 0xFF));
}

std::string ReadLimitedText(const json& value, const std::string& path, std::size_t limit) {
  std::string text = ReadText(value, path);
  if (text.size() > limit) {
    throw FieldError(path, "is " + std::to_string(text.size()) + " bytes long, at most " +
                               std::to_string(limit) + " fit");
  }
  return text;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (name.starts_with("/") || directory.empty()) return name;
  return directory.ends_with("/") ? directory + name : directory + "/" + name;
}

/// The bytes of a file named in the scenario, at most `limit` of them.
std::string ReadNamedFile(const json& value, const std::string& path, const std::string& directory,
                          std::size_t limit) {
  const std::string name = JoinPath(directory, ReadText(value, path));
  std::ifstream file(name, std::ios::binary);
  if (!file) throw FieldError(path, "cannot open \"" + name + "\"");
  std::string bytes;
  char buffer[65536];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(file.gcount()));
    if (bytes.size() > limit) {
      throw FieldError(path, "\"" + name + "\" is longer than " + std::to_string(limit) + " bytes");
    }
  }
  if (file.bad()) throw FieldError(path, "cannot read \"" + name + "\"");
  return bytes;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// Hexadecimal digits, two per byte; blanks and colons between bytes are allowed.
std::vector<std::uint8_t> ReadHexBytes(const json& value, const std::string& path) {
  const std::string text = ReadText(value, path);
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (char c : text) {
    if (high < 0 && (c == ' ' || c == ':' || c == '\n' || c == '\t')) continue;
    const int digit = HexDigit(c);
    if (digit < 0) throw FieldError(path, "holds '" + std::string(1, c) + "', not a hex digit");
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
      high = -1;
    }
  }
  if (high >= 0) throw FieldError(path, "has an odd number of hex digits");
  return bytes;
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
    case wire::details_reply::kBasicSize:
      return DetailsForm::k86;
    case wire::details_reply::kNetworkSize:
      return DetailsForm::k98;
    case wire::details_reply::kLocationFormSize:
      return DetailsForm::k178;
    case wire::details_reply::kModulesSize:
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

HttpAnswer ReadHttpAnswer(const json& value, const std::string& path, std::string& literal) {
  const std::string text = ReadText(value, path);
  if (text == "success") return HttpAnswer::kSuccess;
  if (text == "sizeMismatch") return HttpAnswer::kSizeMismatch;
  if (text == "unauthorized") return HttpAnswer::kUnauthorized;
  literal = text;
  return HttpAnswer::kLiteral;
}

std::vector<std::uint8_t> ReadOpcodeList(const json& value, const std::string& path) {
  if (!value.is_array()) throw FieldError(path, "is not a JSON array");
  std::vector<std::uint8_t> opcodes;
  for (std::size_t i = 0; i < value.size(); ++i) {
    opcodes.push_back(static_cast<std::uint8_t>(
        ReadUnsigned(value[i], path + "[" + std::to_string(i) + "]", 0xFF)));
  }
  return opcodes;
}

/// The session and web faults of ReadFaults.
void ReadSessionFaults(const json& value, const std::string& path, SimFaults& faults) {
  const auto has = [&](const char* key) { return value.contains(key); };
  const auto field = [&](const char* key) { return path + "." + key; };
  const auto delay = [&](const char* key) {
    return static_cast<int>(ReadUnsigned(value[key], field(key), kMaxDetailsDelayMs));
  };
  if (has("refuseLogin")) faults.refuseLogin = ReadBool(value["refuseLogin"], field("refuseLogin"));
  if (has("replyDelayMs")) faults.replyDelayMs = delay("replyDelayMs");
  if (has("resetOnNetworkSettings")) {
    faults.resetOnNetworkSettings =
        ReadBool(value["resetOnNetworkSettings"], field("resetOnNetworkSettings"));
  }
  if (has("refuseOpcodes")) {
    faults.refuseOpcodes = ReadOpcodeList(value["refuseOpcodes"], field("refuseOpcodes"));
  }
  if (has("firmwareFirstReply")) {
    faults.firmwareFirstReply =
        ReadStatusByte(value["firmwareFirstReply"], field("firmwareFirstReply"));
  }
  if (has("firmwareStatus")) {
    faults.firmwareStatus = ReadStatusByte(value["firmwareStatus"], field("firmwareStatus"));
  }
  if (has("firmwareCloseWithoutAnswer")) {
    faults.firmwareCloseWithoutAnswer =
        ReadBool(value["firmwareCloseWithoutAnswer"], field("firmwareCloseWithoutAnswer"));
  }
  if (has("firmwareSaveMs")) faults.firmwareSaveMs = delay("firmwareSaveMs");
  if (has("firmwareStallAfter")) {
    faults.firmwareStallAfter = static_cast<std::uint32_t>(
        ReadUnsigned(value["firmwareStallAfter"], field("firmwareStallAfter"), 0xFFFFFFFFu));
  }
  if (has("streamFirstReply")) {
    faults.streamFirstReply = ReadStatusByte(value["streamFirstReply"], field("streamFirstReply"));
  }
  if (has("streamFinalStatus")) {
    const std::uint8_t status =
        ReadStatusByte(value["streamFinalStatus"], field("streamFinalStatus"));
    faults.streamFinalStatus = static_cast<std::int8_t>(status);
  }
  if (has("streamGroupName")) {
    faults.streamGroupName =
        ReadLimitedText(value["streamGroupName"], field("streamGroupName"), kMaxGroupNameLength);
  }
  if (has("longFileHeader")) {
    faults.longFileHeader = ReadBool(value["longFileHeader"], field("longFileHeader"));
  }
  if (has("fileLengthClaim")) {
    faults.fileLengthClaim = static_cast<std::uint32_t>(
        ReadUnsigned(value["fileLengthClaim"], field("fileLengthClaim"), 0xFFFFFFFFu));
  }
  if (has("httpStallAfter")) {
    faults.httpStallAfter = static_cast<std::uint32_t>(
        ReadUnsigned(value["httpStallAfter"], field("httpStallAfter"), 0xFFFFFFFFu));
  }
  if (has("httpAnswer")) {
    faults.httpAnswer =
        ReadHttpAnswer(value["httpAnswer"], field("httpAnswer"), faults.httpAnswerText);
  }
}

SimFaults ReadFaults(const json& value, const std::string& path,
                     std::vector<std::string>& warnings) {
  RequireObject(value, path);
  WarnUnknownKeys(
      value, path,
      {"discoveryNoise", "noiseOnly", "detailsDelayMs", "announcedMac", "detailsFrom", "floodMacs",
       "refuseLogin", "replyDelayMs",
       "resetOnNetworkSettings", "refuseOpcodes", "firmwareFirstReply", "firmwareStatus",
       "firmwareCloseWithoutAnswer", "firmwareSaveMs", "firmwareStallAfter", "streamFirstReply",
       "streamFinalStatus",
       "streamGroupName", "longFileHeader", "httpAnswer", "httpStallAfter", "fileLengthClaim"},
      warnings);
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
  if (value.contains("announcedMac")) {
    faults.announcedMac = ReadMac(value["announcedMac"], path + ".announcedMac");
  }
  if (value.contains("detailsFrom")) {
    faults.detailsFrom = ReadIpv4(value["detailsFrom"], path + ".detailsFrom");
  }
  if (value.contains("floodMacs")) {
    faults.floodMacs = static_cast<int>(
        ReadUnsigned(value["floodMacs"], path + ".floodMacs", kMaxFloodMacsPerRequest));
  }
  ReadSessionFaults(value, path, faults);
  return faults;
}

/// configBlock: {"size": N, "pattern": "zero"|"counter"}, {"hex": "..."} or
/// {"file": "path"}.
std::vector<std::uint8_t> ReadConfigBlock(const json& value, const std::string& path,
                                          const std::string& directory,
                                          std::vector<std::string>& warnings) {
  RequireObject(value, path);
  WarnUnknownKeys(value, path, {"size", "pattern", "hex", "file"}, warnings);
  const int forms = static_cast<int>(value.contains("size")) +
                    static_cast<int>(value.contains("hex")) +
                    static_cast<int>(value.contains("file"));
  if (forms != 1) throw FieldError(path, "needs exactly one of \"size\", \"hex\" or \"file\"");
  std::vector<std::uint8_t> block;
  if (value.contains("size")) {
    const auto size =
        static_cast<std::size_t>(ReadUnsigned(value["size"], path + ".size", kMaxConfigBlockSize));
    std::string pattern = "zero";
    if (value.contains("pattern")) pattern = ReadText(value["pattern"], path + ".pattern");
    if (pattern != "zero" && pattern != "counter") {
      throw FieldError(path + ".pattern", "is neither \"zero\" nor \"counter\"");
    }
    block.resize(size);
    if (pattern == "counter") {
      for (std::size_t i = 0; i < size; ++i) block[i] = static_cast<std::uint8_t>(i);
    }
  } else if (value.contains("hex")) {
    block = ReadHexBytes(value["hex"], path + ".hex");
  } else {
    const std::string bytes =
        ReadNamedFile(value["file"], path + ".file", directory, kMaxConfigBlockSize);
    block.assign(bytes.begin(), bytes.end());
  }
  if (block.size() > kMaxConfigBlockSize) {
    throw FieldError(path, "holds " + std::to_string(block.size()) + " bytes, at most " +
                               std::to_string(kMaxConfigBlockSize) + " fit");
  }
  return block;
}

/// configFile: the text itself or {"file": "path"}.
std::string ReadConfigFile(const json& value, const std::string& path, const std::string& directory,
                           std::vector<std::string>& warnings) {
  if (value.is_string()) return ReadLimitedText(value, path, kMaxConfigFileBytes);
  RequireObject(value, path);
  WarnUnknownKeys(value, path, {"file"}, warnings);
  return ReadNamedFile(RequireField(value, path, "file"), path + ".file", directory,
                       kMaxConfigFileBytes);
}

/// Password, mail-server password, port masks, texts, block and web
/// credentials.
void ReadSessionState(const json& value, const std::string& path, const std::string& directory,
                      SimDevice& device, std::vector<std::string>& warnings) {
  const auto has = [&](const char* key) { return value.contains(key); };
  const auto field = [&](const char* key) { return path + "." + key; };
  const auto text = [&](const char* key, std::size_t limit) {
    return ReadLimitedText(value[key], field(key), limit);
  };
  if (has("password")) device.password = text("password", kMaxDevicePasswordLength);
  if (has("smtpPassword")) device.smtpPassword = text("smtpPassword", kMaxSmtpPasswordLength);
  if (has("portMask")) {
    device.portMask =
        static_cast<std::uint32_t>(ReadUnsigned(value["portMask"], field("portMask"), 0xFFFFFFFF));
  }
  if (has("trunkPortMask")) {
    device.trunkPortMask = static_cast<std::uint32_t>(
        ReadUnsigned(value["trunkPortMask"], field("trunkPortMask"), 0xFFFFFFFF));
  }
  if (has("infoText")) device.infoText = text("infoText", kMaxInfoTextBytes);
  if (has("configFile")) {
    device.configFile =
        ReadConfigFile(value["configFile"], field("configFile"), directory, warnings);
  }
  if (has("configBlock")) {
    device.configBlock =
        ReadConfigBlock(value["configBlock"], field("configBlock"), directory, warnings);
  } else {
    device.configBlock.assign(GenerationBlockSize(device.modelId, device.firmwareVersion), 0);
  }
  if (has("kavexUser")) device.kavexUser = text("kavexUser", kMaxWebCredentialLength);
  if (has("kavexPassword")) device.kavexPassword = text("kavexPassword", kMaxWebCredentialLength);
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

SimDevice ReadDevice(const json& value, const std::string& path, const std::string& directory,
                     std::vector<std::string>& warnings) {
  RequireObject(value, path);
  WarnUnknownKeys(value, path, {"modelId",       "serialNo",     "mac",          "ip",
                                "webPort",       "reply",        "modelName",    "firmwareVersion",
                                "statusFlags",   "name",         "location",     "netmask",
                                "gateway",       "dns1",         "dns2",         "ipConfigFlags",
                                "modules",       "details",      "faults",       "segment",
                                "prefix",        "password",     "smtpPassword", "portMask",
                                "trunkPortMask", "infoText",     "configFile",   "configBlock",
                                "kavexUser",     "kavexPassword"},
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
  ReadSessionState(value, path, directory, device, warnings);
  return device;
}

Scenario ReadScenario(const json& document, const std::string& directory,
                      std::vector<std::string>& warnings) {
  if (!document.is_object()) throw FieldError("scenario", "is not a JSON object");
  WarnUnknownKeys(document, "", {"devices"}, warnings);
  if (!document.contains("devices")) throw FieldError("devices", "is required");
  const json& list = document["devices"];
  if (!list.is_array()) throw FieldError("devices", "is not a JSON array");
  Scenario scenario;
  for (std::size_t i = 0; i < list.size(); ++i) {
    scenario.devices.push_back(
        ReadDevice(list[i], "devices[" + std::to_string(i) + "]", directory, warnings));
  }
  return scenario;
}

}  // namespace

ScenarioLoad ParseScenario(std::string_view jsonText, const std::string& baseDirectory) {
  ScenarioLoad load;
  json document;
  try {
    document = json::parse(jsonText);
  } catch (const json::exception& e) {
    load.error = std::string("not valid JSON: ") + e.what();
    return load;
  }
  try {
    load.scenario = ReadScenario(document, baseDirectory, load.warnings);
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
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  return ParseScenario(text.str(), directory);
}

std::size_t GenerationBlockSize(std::uint16_t modelId, std::uint32_t firmwareVersion) {
  const GenerationRow* row = FindGenerationRow(modelId, firmwareVersion);
  return row ? row->blockBytes : 0;
}

}  // namespace vantrell::sim
