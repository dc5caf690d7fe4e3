#include "ops/config_import.h"

#include <cstring>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "config/c_number_parse.h"
#include "config/file_lookup.h"
#include "config/gen_a2_layout.h"
#include "config/validation.h"
#include "config/version_handlers.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/http_config_post.h"
#include "net/session.h"
#include "ops/export_configuration.h"
#include "ops/network_settings.h"

namespace vantrell {
namespace {

constexpr std::string_view kModelNameKeyPrefix = "ModelName";

/// Prefixes of the address keys of the pre-scan, in the order they are tested.
constexpr std::string_view kAutoIpKey = "AUTOIP";
constexpr std::string_view kIpAddressKey = "IPAddress";
constexpr std::string_view kNetmaskKey = "Netmask";
constexpr std::string_view kGatewayKey = "Gateway";
constexpr std::string_view kDns2Key = "DNSIP1";
constexpr std::string_view kDns1Key = "DNSIP";

std::string_view SkipCSpace(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  return text.substr(i);
}

/// One "%s" conversion: skips white space and takes the following
/// non-white characters; `rest` gets what follows.
std::string_view ScanToken(std::string_view text, std::string_view& rest) {
  text = SkipCSpace(text);
  std::size_t end = 0;
  while (end < text.size() && !IsCSpace(text[end])) ++end;
  rest = text.substr(end);
  return text.substr(0, end);
}

/// An address value of the pre-scan: "inet_addr" of the value, or 0.0.0.0
/// for an empty value where `emptyIsZero`.
Ipv4 AddressValue(std::string_view value, bool emptyIsZero) {
  if (value.empty() && emptyIsZero) return 0;
  return CInetAddr(value);
}

/// Stores a scanned address and marks the setting when it differs from the device's.
void TakeAddress(Ipv4& slot, Ipv4 value, Ipv4 deviceValue, AddressChangeMask bit,
                 AddressChangeMask& mask) {
  slot = value;
  if (value != deviceValue) mask |= bit;
}

std::string ModelAndFirmware(const DeviceRecord& record) {
  return std::string(FieldText(record.modelName)) + " with firmware " +
         FormatFirmwareVersion(record.firmwareVersion);
}

ImportMessage Plain(std::string_view text) { return {std::string(text), MessageIcon::kNone}; }
ImportMessage Stop(std::string text) { return {std::move(text), MessageIcon::kStop}; }

bool LogIn(Session& session, const DeviceRecord& row, const Timing& timing) {
  return openSession(row.ipAddr, session, timing) == 0 &&
         login(session, "admin", FieldText(row.password)) == 0;
}

/// replyKind 1: the device parses the file itself.
ImportOutcome StreamToDevice(Session& session, const DeviceRecord& edited,
                             const std::filesystem::path& path) {
  ImportOutcome outcome;
  int openError = -1;
  outcome.result = streamConfigFile(session, edited, path, outcome.groupName, &openError);
  switch (outcome.result) {
    case 0:
      break;
    case kSessionGroupRejected:
      outcome.result = kImportGroupRejected;
      outcome.messages.push_back(Plain(GroupRejectedText(outcome.groupName)));
      break;
    case kSessionTimeout:
      outcome.result = kImportTimedOut;
      outcome.messages.push_back(Plain(kImportProcessTimeoutText));
      break;
    default:
      outcome.result = kImportFailed;
      if (openError >= 0) outcome.messages.push_back(Stop(CannotOpenFileText(openError)));
      outcome.messages.push_back(Plain(kImportProcessFailText));
      break;
  }
  return outcome;
}

/// True when the file has a line with the SMTP password's key.
bool FileCarriesSmtpPassword(std::string_view fileText) {
  ConfigFileLookup file(fileText);
  return !IsNotFound(file.findValueTextShort("D_CONF_ETH_WARN_SMTP_PASSWD"));
}

/// The address mode the write-back stores: the edited record's when the
/// file's AUTOIP line or the review changed it, otherwise the block's after
/// the reader ran, which is the file's mode line (D8 "DHCP") or the
/// device's own; a record from a short details reply never holds the mode.
void TakeAddressMode(const DeviceRecord& row, DeviceRecord& edited, const ConfigBlock& block,
                     const ItemAccessors& accessors) {
  if (edited.ipConfigFlags == row.ipConfigFlags) AdoptBlockAddressMode(edited, block, accessors);
}

/// The other switches: fetch, read, validate, write back.
ImportOutcome ApplyToBlock(Session& session, const DeviceRecord& row, DeviceRecord& edited,
                           std::string_view fileText, HandlerSelection& handlers,
                           AddressSettingsFrom addresses) {
  ImportOutcome outcome;
  ConfigBlock block;
  block.Prepare(handlers.row->blockSize());
  std::size_t received = 0;
  if (fetchConfigBlock(session, block.bytes(), &received) != 0) return outcome;
  // A short block is handed to the reader as short, which refuses it.
  block.Resize(received);
  // The modular model's reader needs the device's trunk-capable ports; a
  // record from a search alone has none, which would reset every trunk.
  if (IsM26Model(edited.modelId) &&
      fetchPortMasks(session, edited.portMask, edited.trunkPortMask) != 0) {
    outcome.messages.push_back(Plain(kImportProcessFailText));
    return outcome;
  }

  const ValidationFlags flags =
      handlers.row->readConfigFile(edited, block, fileText, *handlers.accessors);
  if (flags != 0) {
    // GenA2 shows a rejected relay traffic threshold alone before the group message.
    if (const auto notice = TakeGenA2ReaderNotice(*handlers.accessors)) {
      outcome.messages.push_back(Plain(*notice));
    }
    if (const auto message = showValidationMessage(flags)) {
      outcome.messages.push_back({message->text, message->icon});
    } else if (flags & validation::kBlockRefused) {
      outcome.messages.push_back(Plain(kImportProcessFailText));
    }
    return outcome;
  }
  if (addresses == AddressSettingsFrom::kDevice) {
    KeepDeviceAddressSettings(row, edited);
  } else {
    TakeAddressMode(row, edited, block, *handlers.accessors);
  }
  // A file without an SMTP password value stores the device's own.
  const SmtpPasswordWrite smtp = FileCarriesSmtpPassword(fileText) ? SmtpPasswordWrite::kFromBlock
                                                                   : SmtpPasswordWrite::kFromDevice;
  if (writeBackBlock(session, edited, block, *handlers.accessors, FieldText(row.password), smtp) !=
      0) {
    outcome.messages.push_back(Plain(kImportProcessFailText));
    return outcome;
  }
  outcome.result = kImportOk;
  return outcome;
}

}  // namespace

std::string GroupRejectedText(std::string_view groupName) {
  return "The " + std::string(groupName) +
         " function of the Configuration File has invaild settings !";
}

std::string CannotOpenFileText(int errorCode) {
  return "Can not open configuration file, error code: " + std::to_string(errorCode);
}

std::optional<std::string_view> ImportFileReader::ReadLine(std::size_t bufferSize) {
  if (AtEnd() || bufferSize < 2) return std::nullopt;
  const std::size_t limit = std::min(bufferSize - 1, bytes_.size() - position_);
  std::string_view piece = bytes_.substr(position_, limit);
  const std::size_t lineEnd = piece.find('\n');
  if (lineEnd != std::string_view::npos) piece = piece.substr(0, lineEnd + 1);
  position_ += piece.size();
  const std::size_t nul = piece.find('\0');
  if (nul != std::string_view::npos) piece = piece.substr(0, nul);
  return piece;
}

LineTokens ScanTwoTokens(std::string_view line) {
  LineTokens tokens;
  std::string_view rest;
  tokens.first = ScanToken(line, rest);
  if (!tokens.first.empty()) tokens.second = ScanToken(rest, rest);
  return tokens;
}

bool IsGzipFile(std::string_view bytes) {
  return bytes.size() >= 3 && static_cast<std::uint8_t>(bytes[0]) == kGzipMagic[0] &&
         static_cast<std::uint8_t>(bytes[1]) == kGzipMagic[1] &&
         static_cast<std::uint8_t>(bytes[2]) == kGzipMagic[2];
}

bool HeaderLineMatches(ImportFileReader& file) {
  const auto line = file.ReadLine();
  if (!line) return false;
  return line->starts_with(kConfigFileHeader.substr(0, kConfigFileHeader.size() - 1));
}

bool ModelLineMatches(ImportFileReader& file, std::string_view modelName) {
  const auto fileModel = ReadModelLineName(file);
  return !fileModel || modelName.starts_with(*fileModel);
}

std::optional<std::string_view> ReadModelLineName(ImportFileReader& file) {
  while (const auto line = file.ReadLine()) {
    const LineTokens tokens = ScanTwoTokens(*line);
    if (tokens.first.starts_with(kModelNameKeyPrefix)) return tokens.second;
  }
  return std::nullopt;
}

AddressChangeMask preScanNetworkSettings(ImportFileReader& file, const DeviceRecord& row,
                                         DeviceRecord& edited) {
  using namespace address_change;
  edited = row;
  AddressChangeMask mask = 0;
  int recognised = 0;
  while (recognised < kPreScanLines) {
    const auto line = file.ReadLine();
    if (!line) break;
    if (line->starts_with('#')) continue;
    const auto [key, value] = ScanTwoTokens(*line);
    if (key.starts_with(kAutoIpKey)) {
      edited.ipConfigFlags = static_cast<std::uint32_t>(CAtoi(value));
      if (edited.ipConfigFlags != row.ipConfigFlags) mask |= kAutoIp;
    } else if (key.starts_with(kIpAddressKey)) {
      TakeAddress(edited.ipAddr, AddressValue(value, false), row.ipAddr, kIpAddr, mask);
    } else if (key.starts_with(kNetmaskKey)) {
      TakeAddress(edited.netmask, AddressValue(value, true), row.netmask, kNetmask, mask);
    } else if (key.starts_with(kGatewayKey)) {
      TakeAddress(edited.gateway, AddressValue(value, true), row.gateway, kGateway, mask);
    } else if (key.starts_with(kDns2Key)) {
      TakeAddress(edited.dns2, AddressValue(value, true), row.dns2, kDns2, mask);
    } else if (key.starts_with(kDns1Key)) {
      TakeAddress(edited.dns1, AddressValue(value, true), row.dns1, kDns1, mask);
    } else {
      continue;
    }
    ++recognised;
  }
  return mask;
}

ImportFileScan ScanImportFile(std::string_view bytes, const DeviceRecord& row) {
  ImportFileScan scan;
  scan.edited = row;
  ImportFileReader file(bytes);
  if (IsGzipFile(bytes)) {
    scan.compressed = true;
    file.Seek(std::size(kGzipMagic));
  } else {
    if (!HeaderLineMatches(file)) {
      scan.outcome = ImportFileScan::Outcome::kFormatError;
      return scan;
    }
    if (!ModelLineMatches(file, FieldText(row.modelName))) {
      scan.outcome = ImportFileScan::Outcome::kModelMismatch;
      return scan;
    }
  }
  scan.mask = preScanNetworkSettings(file, row, scan.edited);
  scan.outcome = ImportFileScan::Outcome::kPassed;
  return scan;
}

bool ReadImportFile(const std::filesystem::path& path, std::string& bytes, int& errorCode) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    errorCode = errno != 0 ? errno : ENOENT;
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    errorCode = errno != 0 ? errno : EIO;
    return false;
  }
  return true;
}

std::optional<std::string> ImportRefusal(const DeviceRecord& row, bool compressedFile) {
  if (row.replyKind == 1) return std::nullopt;
  const HandlerSelection handlers = selectHandlers(row.modelId, row.firmwareVersion);
  if (!handlers || !handlers.row->readConfigFile) {
    return "The configuration of " + ModelAndFirmware(row) +
           " cannot be imported: this firmware version is not supported.";
  }
  if (compressedFile) {
    return "A compressed configuration file cannot be imported into " + ModelAndFirmware(row) +
           ": it takes only an uncompressed configuration file.";
  }
  return std::nullopt;
}

ImportOutcome importToDevice(const DeviceRecord& row, DeviceRecord& edited,
                             const std::filesystem::path& path, const Timing& timing,
                             AddressSettingsFrom addresses) {
  ImportOutcome outcome;
  Session session;
  if (row.replyKind == 1) {
    if (!LogIn(session, row, timing)) return outcome;
    return StreamToDevice(session, edited, path);
  }
  std::string bytes;
  int errorCode = 0;
  if (!ReadImportFile(path, bytes, errorCode)) return outcome;
  if (const auto refusal = ImportRefusal(row, IsGzipFile(bytes))) {
    outcome.messages.push_back(Stop(*refusal));
    return outcome;
  }
  if (!LogIn(session, row, timing)) return outcome;
  return ImportBlockThroughSession(session, row, edited, bytes, addresses);
}

ImportOutcome ImportBlockThroughSession(Session& session, const DeviceRecord& row,
                                        DeviceRecord& edited, std::string_view fileBytes,
                                        AddressSettingsFrom addresses) {
  ImportOutcome outcome;
  if (const auto refusal = ImportRefusal(row, IsGzipFile(fileBytes))) {
    outcome.messages.push_back(Stop(*refusal));
    return outcome;
  }
  HandlerSelection handlers = selectHandlers(row.modelId, row.firmwareVersion);
  if (!handlers || !handlers.row->readConfigFile) return outcome;  // refused above
  return ApplyToBlock(session, row, edited, fileBytes, handlers, addresses);
}

void KeepDeviceAddressSettings(const DeviceRecord& row, DeviceRecord& edited) {
  edited.ipAddr = row.ipAddr;
  edited.netmask = row.netmask;
  edited.gateway = row.gateway;
  edited.dns1 = row.dns1;
  edited.dns2 = row.dns2;
  edited.ipConfigFlags = row.ipConfigFlags;
}

std::optional<Ipv4> FixedAddressOfFile(std::string_view bytes, const DeviceRecord& model) {
  // Scanned against a device with no address, every address line shows.
  DeviceRecord probe = MakeZeroRecord();
  probe.modelId = model.modelId;
  std::memcpy(probe.modelName, model.modelName, sizeof probe.modelName);
  const ImportFileScan scan = ScanImportFile(bytes, probe);
  if (scan.outcome != ImportFileScan::Outcome::kPassed || scan.compressed) return std::nullopt;
  if ((scan.edited.ipConfigFlags & 0x3) != 0 || scan.edited.ipAddr == 0) return std::nullopt;
  // The pre-scan reads AUTOIP; the D8 files keep their mode in the DHCP line.
  if (IsD8Family(model.modelId)) {
    ConfigFileLookup file(bytes);
    const std::string dhcp = file.findValueToken("D_CONF_ETH_FLAG_DHCP");
    if (!IsNotFound(dhcp) && CAtoi(dhcp) != 0) return std::nullopt;
  }
  return scan.edited.ipAddr;
}

int ImportVideoServer(const DeviceRecord& record, const std::filesystem::path& path,
                      const Timing& timing) {
  return importViaHttp(record, path.string(), timing) == 0 ? kImportOk : kImportFailed;
}

std::string_view ImportRowText(int result) {
  if (result == kImportOk) return kImportSuccessText;
  if (result == kImportTimedOut) return kImportTimeoutText;
  return kImportFailText;
}

}  // namespace vantrell
