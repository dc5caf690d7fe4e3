#include "ops/export_configuration.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/config_catalogue.h"
#include "config/config_item_ids.h"
#include "config/export_notes.h"
#include "config/generation.h"
#include "config/version_handlers.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "platform/atomic_file.h"

namespace vantrell {
namespace {

/// The modular model keeps the admin password as item 14, list index 1.
constexpr std::size_t kM26AdminPasswordIndex = 1;
constexpr mode_t kConfigFileMode = 0600;

/// An address setting of the write-back; 255.255.255.255 is no usable value.
void StoreHostAddress(ItemAccessors& accessors, ConfigBlock& block, ConfigItemId id,
                      Ipv4 address) {
  if (address != kAllOnesIpv4) accessors.setNumber(block, id, address);
}

int WriteFile(const std::filesystem::path& path, std::string_view text) {
  AtomicFile file(path, kConfigFileMode);
  return file.Write(WithCrLf(text)) && file.Commit() ? 0 : kExportFileFailed;
}

/// What the last export on this thread could not write faithfully; shown
/// with its result by ExportResultText.
thread_local std::vector<std::string> pendingExportProblems;

constexpr std::string_view kSmtpPasswordUnknownText =
    "The SMTP password could not be read from the device: the file does not carry it, and "
    "importing the file keeps the password a device has.";

/// Turns the value line of the SMTP password into a comment: a password
/// that could not be fetched is unknown, and an empty value would erase the
/// password of any device that imports the file. True when a line changed.
bool LeaveOutSmtpPasswordValue(std::string& text) {
  const std::string_view key = catalogueFileKey("D_CONF_ETH_WARN_SMTP_PASSWD");
  bool changed = false;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line = std::string_view(text).substr(start, end - start);
    const bool keyed = line.starts_with(key) && line.size() > key.size() &&
                       (line[key.size()] == '\t' || line[key.size()] == ' ' ||
                        line[key.size()] == '\r' || line[key.size()] == '\n');
    if (!keyed) {
      start = end;
      continue;
    }
    const std::string comment =
        "# " + std::string(key) + " is not written: the device did not give it.\r\n";
    text.replace(start, end - start, comment);
    start += comment.size();
    changed = true;
  }
  return changed;
}

/// The text that writeBackBlock stores with 0x17, or nothing when it must
/// send none. kFromDevice, for a generation that keeps the mail-server
/// password apart from its block (and has item 151): the device's own, as
/// it answered (also put into item 151, so the stored block agrees), or
/// nothing when it did not answer. Otherwise the block's item 151 (empty
/// where the block has none).
std::optional<std::string> SmtpPasswordToStore(Session& session, const DeviceRecord& keyed,
                                               ConfigBlock& block, ItemAccessors& accessors,
                                               SmtpPasswordWrite source) {
  using item::D_CONF_ETH_WARN_SMTP_PASSWD;
  std::optional<std::string> blockText = accessors.getText(block, D_CONF_ETH_WARN_SMTP_PASSWD);
  if (source == SmtpPasswordWrite::kFromBlock || !KeepsMailPasswordApart(accessors.generation()) ||
      !blockText) {
    return blockText.value_or(std::string());
  }
  char smtp[kSmtpFieldSize] = {};
  if (fetchSmtpPassword(session, keyed, smtp) != 0) return std::nullopt;
  accessors.setText(block, D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(smtp));
  return std::string(FieldText(smtp));
}

/// The block-based export of a device served by a handler row.
int ExportBlock(Session& session, DeviceRecord& record, const std::filesystem::path& path) {
  HandlerSelection handlers = selectHandlers(record.modelId, record.firmwareVersion);
  if (!handlers || !handlers.row->writeConfigFile) return kExportNotSupported;
  ConfigBlock block;
  block.Prepare(handlers.row->blockSize());
  std::size_t received = 0;
  if (fetchConfigBlock(session, block.bytes(), &received) != 0) return kExportDeviceFailed;
  if (IsM26Model(record.modelId)) {
    // A blank16 field: a 16-character password fills it without a
    // terminator, so the trap community that follows stays intact.
    handlers.accessors->setText(block, item::kPasswordField, FieldText(record.password),
                                kM26AdminPasswordIndex);
    if (fetchPortMasks(session, record.portMask, record.trunkPortMask) != 0) {
      return kExportDeviceFailed;
    }
  }
  const bool smtpPasswordKnown = fetchSmtpPassword(session, record, record.smtpPassword) == 0;
  std::string text;
  TakeExportProblems();
  handlers.row->writeConfigFile(text, record, block, *handlers.accessors);
  std::vector<std::string> problems = TakeExportProblems();
  // GenD2 to GenD4 files take the password from the block, not from the answer.
  if (!smtpPasswordKnown && KeepsMailPasswordApart(handlers.accessors->generation()) &&
      LeaveOutSmtpPasswordValue(text)) {
    problems.emplace_back(kSmtpPasswordUnknownText);
  }
  const int result = WriteFile(path, text);
  if (result == 0) pendingExportProblems = std::move(problems);
  return result;
}

}  // namespace

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

int exportConfiguration(DeviceRecord& record, const std::filesystem::path& path,
                        const Timing& timing) {
  if (record.replyKind != 1) {
    const HandlerSelection handlers = selectHandlers(record.modelId, record.firmwareVersion);
    if (!handlers || !handlers.row->writeConfigFile) return kExportNotSupported;
  }
  Session session;
  if (openSession(record.ipAddr, session, timing) != 0 ||
      login(session, "admin", FieldText(record.password)) != 0) {
    return kExportDeviceFailed;
  }
  if (record.replyKind == 1) {
    return fetchConfigFile(session, path) == 0 ? 0 : kExportDeviceFailed;
  }
  return ExportBlock(session, record, path);
}

std::string ExportResultText(int result, const DeviceRecord& record) {
  switch (result) {
    case 0: {
      std::string text = "Export configuration to file OK.";
      for (const std::string& problem : std::exchange(pendingExportProblems, {})) {
        text += "\n" + problem;
      }
      return text;
    }
    case kExportNotSupported:
      return "The configuration of " + std::string(FieldText(record.modelName)) +
             " with firmware " + FormatFirmwareVersion(record.firmwareVersion) +
             " cannot be exported: this firmware version is not supported.";
    case kExportFileFailed:
      return "The configuration file could not be written.";
    default:
      return "Your IP address is not accessable for this Meshvault Server.";
  }
}

int ExportDeviceConfiguration(DeviceRecord& record, const std::filesystem::path& path,
                     ArpRouteBracket* bracket, const Timing& timing) {
  if (bracket) bracket->Install(record);
  const int result = exportConfiguration(record, path, timing);
  if (bracket) bracket->Remove(record.ipAddr);
  return result;
}

ConfigItemId AddressModeItem(Generation generation) {
  switch (generation) {
    case Generation::kGenD1:
    case Generation::kGenD2:
    case Generation::kGenD3:
    case Generation::kGenD4:
      return item::D_CONF_ETH_FLAG_DHCP;
    case Generation::kGenM1:
      return item::kIpConfigMode;
    default:
      return item::D_CONF_ETH_FLAG_AUTOIP;
  }
}

bool AddressModeAccepted(Generation generation, std::uint32_t mode) {
  constexpr std::uint32_t kBootp = 2;
  return AddressModeItem(generation) == item::D_CONF_ETH_FLAG_DHCP || mode <= kBootp;
}

int writeBackBlock(Session& session, const DeviceRecord& edited, ConfigBlock& block,
                   ItemAccessors& accessors, std::string_view currentPassword,
                   SmtpPasswordWrite smtpPassword) {
  using namespace item;
  // Masked requests are keyed with the password the session logged in with.
  DeviceRecord keyed = edited;
  SetFieldText(keyed.password, currentPassword);
  const std::optional<std::string> smtpText =
      SmtpPasswordToStore(session, keyed, block, accessors, smtpPassword);
  // Settings that no reader would accept (an address mode beyond BOOTP, an
  // all-ones address from an unreadable file value) never reach the block:
  // it keeps what the device or the file's accepted value put there.
  if (AddressModeAccepted(accessors.generation(), edited.ipConfigFlags)) {
    accessors.setNumber(block, AddressModeItem(accessors.generation()), edited.ipConfigFlags);
  }
  const bool d8 = IsD8Family(edited.modelId);
  StoreHostAddress(accessors, block, D_CONF_ETH_IPADDR, edited.ipAddr);
  accessors.setNumber(block, D_CONF_ETH_IPMASK, edited.netmask);
  StoreHostAddress(accessors, block, D_CONF_ETH_GATEWAY, edited.gateway);
  StoreHostAddress(accessors, block, D_CONF_ETH_DNSSIP, edited.dns1);
  if (!d8) StoreHostAddress(accessors, block, D_CONF_ETH_DNSSIP1, edited.dns2);

  if (storeConfigBlock(session, std::span(block.bytes().data(), accessors.blockSize())) != 0) {
    return -1;
  }
  if (changePassword(session, keyed, FieldText(edited.password)) != 0) return -1;
  if (smtpText && storeSmtpPassword(session, keyed, *smtpText) != 0) return -1;
  return commitChanges(session);
}

}  // namespace vantrell
