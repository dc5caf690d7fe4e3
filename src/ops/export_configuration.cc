#include "ops/export_configuration.h"

#include "config/config_item_ids.h"
#include "config/version_handlers.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "platform/atomic_file.h"

namespace vantrell {
namespace {

/// Offset of the admin password in the modular model's block.
constexpr std::size_t kM26AdminPasswordOffset = 92;
constexpr mode_t kConfigFileMode = 0600;

int WriteFile(const std::filesystem::path& path, std::string_view text) {
  AtomicFile file(path, kConfigFileMode);
  return file.Write(WithCrLf(text)) && file.Commit() ? 0 : kExportFileFailed;
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
    const std::string_view password = FieldText(record.password);
    for (std::size_t i = 0; i <= password.size() && kM26AdminPasswordOffset + i < block.size();
         ++i) {
      block.SetByteAt(kM26AdminPasswordOffset + i,
                      i < password.size() ? static_cast<std::uint8_t>(password[i]) : 0);
    }
    if (fetchPortMasks(session, record.portMask, record.trunkPortMask) != 0) {
      return kExportDeviceFailed;
    }
  }
  fetchSmtpPassword(session, record, record.smtpPassword);
  std::string text;
  handlers.row->writeConfigFile(text, record, block, *handlers.accessors);
  return WriteFile(path, text);
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
    case 0:
      return "Export configuration to file OK.";
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

int writeBackBlock(Session& session, const DeviceRecord& edited, ConfigBlock& block,
                   ItemAccessors& accessors, std::string_view currentPassword) {
  using namespace item;
  const bool d8 = IsD8Family(edited.modelId);
  accessors.setNumber(block, d8 ? D_CONF_ETH_FLAG_DHCP : D_CONF_ETH_FLAG_AUTOIP,
                      edited.ipConfigFlags);
  accessors.setNumber(block, D_CONF_ETH_IPADDR, edited.ipAddr);
  accessors.setNumber(block, D_CONF_ETH_IPMASK, edited.netmask);
  accessors.setNumber(block, D_CONF_ETH_GATEWAY, edited.gateway);
  accessors.setNumber(block, D_CONF_ETH_DNSSIP, edited.dns1);
  if (!d8) accessors.setNumber(block, D_CONF_ETH_DNSSIP1, edited.dns2);

  if (storeConfigBlock(session, std::span(block.bytes().data(), accessors.blockSize())) != 0) {
    return -1;
  }
  // Masked requests are keyed with the password the session logged in with.
  DeviceRecord keyed = edited;
  SetFieldText(keyed.password, currentPassword);
  if (changePassword(session, keyed, FieldText(edited.password)) != 0) return -1;
  char smtp[kSmtpFieldSize] = {};
  if (const auto text = accessors.getText(block, D_CONF_ETH_WARN_SMTP_PASSWD)) {
    SetFieldText(smtp, *text);
  }
  if (storeSmtpPassword(session, keyed, FieldText(smtp)) != 0) return -1;
  return commitChanges(session);
}

}  // namespace vantrell
