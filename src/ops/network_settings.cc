#include "ops/network_settings.h"

#include "config/config_item_ids.h"
#include "config/version_handlers.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "net/session.h"
#include "ops/export_configuration.h"

namespace vantrell {

const char kNotAccessibleServerText[] =
    "Your IP address is not accessable for this Meshvault Server.";

const char kNetworkSettingsWarning[] =
    "Warning!\nSome or all of your Tarn devices own network settings have been changed.\n"
    "Once the new settings have been updated,you may need to use the new network settings\n"
    "( IP address, Netmask, Gateway,  etc. ) to re-establish a Console session with your Tarn "
    "devices. Would you like to update network setting now ?  ";

namespace {

/// ipConfigFlags bits that the address mode items carry.
constexpr std::uint32_t kD8ModeBits = 0x1;     // DHCP
constexpr std::uint32_t kOtherModeBits = 0x3;  // DHCP, BOOTP

bool IsLongReply(const DeviceRecord& record) { return record.replyKind == 1; }

/// Opens a session to `record`'s address and logs in with its password.
bool OpenAndLogin(const DeviceRecord& record, Session& session, const Timing& timing) {
  return openSession(record.ipAddr, session, timing) == 0 &&
         login(session, "admin", FieldText(record.password)) == 0;
}

/// Takes the DNS servers and the address mode from a fetched block.
void TakeSettingsFromBlock(DeviceRecord& record, const ConfigBlock& block,
                           const ItemAccessors& accessors) {
  if (const auto dns1 = accessors.getNumber(block, item::D_CONF_ETH_DNSSIP)) record.dns1 = *dns1;
  if (!IsD8Family(record.modelId)) {
    if (const auto dns2 = accessors.getNumber(block, item::D_CONF_ETH_DNSSIP1)) {
      record.dns2 = *dns2;
    }
  }
  AdoptBlockAddressMode(record, block, accessors);
}

}  // namespace

bool AdoptBlockAddressMode(DeviceRecord& record, const ConfigBlock& block,
                           const ItemAccessors& accessors) {
  const bool d8 = IsD8Family(record.modelId);
  const auto mode = accessors.getNumber(block, AddressModeItem(accessors.generation()));
  if (!mode) return false;
  const std::uint32_t bits = d8 ? kD8ModeBits : kOtherModeBits;
  record.ipConfigFlags = (record.ipConfigFlags & ~bits) | (*mode & bits);
  return true;
}

int readNetworkSettings(DeviceRecord& record, ConfigBlock& block, const Timing& timing) {
  HandlerSelection handlers;
  if (!IsLongReply(record)) {
    handlers = selectHandlers(record.modelId, record.firmwareVersion);
    if (!handlers) return kNetworkSettingsNotSupported;
  }
  Session session;
  if (!OpenAndLogin(record, session, timing)) return kNetworkSettingsFailed;
  // A long-reply device's DNS servers and mode came with its details.
  if (IsLongReply(record)) return 0;
  if (fetchConfigBlock(session, block.Prepare(handlers.row->blockSize())) != 0) {
    block.Clear();
    return kNetworkSettingsFailed;
  }
  TakeSettingsFromBlock(record, block, *handlers.accessors);
  return 0;
}

int applyNetworkSettings(const DeviceRecord& listed, const DeviceRecord& edited, ConfigBlock& block,
                         const Timing& timing) {
  HandlerSelection handlers;
  if (!IsLongReply(listed)) {
    handlers = selectHandlers(edited.modelId, edited.firmwareVersion);
    if (!handlers) return kNetworkSettingsNotSupported;
    // Only a block fetched from this device may go back: anything else
    // would overwrite its whole configuration.
    if (block.size() != handlers.row->blockSize()) return kNetworkSettingsFailed;
  }
  Session session;
  if (!OpenAndLogin(listed, session, timing)) return kNetworkSettingsFailed;
  if (IsLongReply(listed)) {
    const int result = setNetworkSettings(session, edited);
    if (result == 0 || result == kSessionAddressApplied) {
      return result == 0 ? 0 : kNetworkSettingsApplied;
    }
    return kNetworkSettingsFailed;
  }
  // The password is set to itself, so it stays as it is.
  const std::string_view password = FieldText(edited.password);
  return writeBackBlock(session, edited, block, *handlers.accessors, password,
                        SmtpPasswordWrite::kFromDevice) == 0
             ? 0
             : kNetworkSettingsFailed;
}

namespace {

std::string NotSupportedText(const DeviceRecord& record) {
  return "The network settings of " + std::string(FieldText(record.modelName)) + " with firmware " +
         FormatFirmwareVersion(record.firmwareVersion) +
         " cannot be changed: this firmware version is not supported.";
}

}  // namespace

std::optional<NetworkSettingsMessage> ReadFailureMessage(int result, const DeviceRecord& record) {
  if (result == 0) return std::nullopt;
  if (result == kNetworkSettingsNotSupported) {
    return NetworkSettingsMessage{NotSupportedText(record), MessageIcon::kStop};
  }
  return NetworkSettingsMessage{kNotAccessibleServerText, MessageIcon::kInformation};
}

NetworkSettingsMessage ApplyOutcomeMessage(int result, const DeviceRecord& record) {
  if (result == 0) return {"Modify IP OK.", MessageIcon::kInformation};
  if (result > 0) return {"Modify IP Success.", MessageIcon::kInformation};
  if (result == kNetworkSettingsNotSupported) return {NotSupportedText(record), MessageIcon::kStop};
  return {kNotAccessibleServerText, MessageIcon::kInformation};
}

NetworkSettingsChange::NetworkSettingsChange(DeviceRecord& listed, ArpRouteBracket* bracket,
                                             const Timing& timing)
    : listed_(listed),
      bracket_(bracket),
      timing_(timing),
      block_(std::make_unique<ConfigBlock>()) {}

NetworkSettingsChange::~NetworkSettingsChange() {
  if (installed_ && bracket_) bracket_->Remove(listed_.ipAddr);
}

std::optional<NetworkSettingsMessage> NetworkSettingsChange::Read() {
  if (bracket_ && !installed_) bracket_->Install(listed_);
  installed_ = true;
  return ReadFailureMessage(readNetworkSettings(listed_, *block_, timing_), listed_);
}

int NetworkSettingsChange::Apply(const DeviceRecord& edited, NetworkSettingsMessage& message) {
  const int result = applyNetworkSettings(listed_, edited, *block_, timing_);
  message = ApplyOutcomeMessage(result, listed_);
  if (result >= 0) {
    if (bracket_) bracket_->Remove(listed_.ipAddr);
    listed_ = edited;
  }
  return result;
}

}  // namespace vantrell
