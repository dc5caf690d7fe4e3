#include "ui/netconf_form.h"

#include "core/model_table.h"
#include "core/text_forms.h"

#include <arpa/inet.h>

namespace vantrell {

const char kNetconfTipText[] = "Tip: Click the check box to select/un-select change item.   ";
const char kNetconfImportExplanation[] =
    "This dialog displays the import file settings which will be applied to selected server. "
    "You can make any modification before pressing \"OK\".";

namespace {

constexpr std::uint32_t kFlagDhcp = 0x1;
constexpr std::uint32_t kFlagBootp = 0x2;
/// Low byte of the video-server model IDs that offer no BOOTP.
constexpr std::uint8_t kNoBootpModelLowByte = 0x88;

/// The change-mask bit of each field's check box, in field order.
constexpr std::array<AddressChangeMask, kAddressFieldCount> kFieldMaskBits = {
    kChangeIpAddr, kChangeNetmask, kChangeGateway, kChangeDns1, kChangeDns2};

Ipv4* AddressSlot(DeviceRecord& record, AddressField field) {
  switch (field) {
    case AddressField::kIpAddr:
      return &record.ipAddr;
    case AddressField::kNetmask:
      return &record.netmask;
    case AddressField::kGateway:
      return &record.gateway;
    case AddressField::kDns1:
      return &record.dns1;
    case AddressField::kDns2:
      return &record.dns2;
  }
  return &record.ipAddr;
}

AddressMode ModeFromFlags(std::uint32_t flags, bool d8) {
  if (!d8 && (flags & kFlagBootp)) return AddressMode::kBootp;
  if (flags & kFlagDhcp) return AddressMode::kDhcp;
  return AddressMode::kDisable;
}

std::uint32_t FlagsWithMode(std::uint32_t flags, AddressMode mode, bool d8) {
  if (d8) return mode == AddressMode::kDhcp ? (flags | kFlagDhcp) : (flags & ~kFlagDhcp);
  flags &= ~(kFlagDhcp | kFlagBootp);
  if (mode == AddressMode::kDhcp) flags |= kFlagDhcp;
  if (mode == AddressMode::kBootp) flags |= kFlagBootp;
  return flags;
}

/// A netmask of leading one bits, at least one (0.0.0.0 is no subnet).
bool IsSubnetMask(Ipv4 netmask) {
  const std::uint32_t hostBits = ~ntohl(netmask);
  return hostBits != 0xFFFFFFFFu && (hostBits & (hostBits + 1)) == 0;
}

}  // namespace

const char kZeroAddressText[] = "IP address cannot be 0.0.0.0";
const char kNotSubnetMaskText[] = "Netmask is not a valid subnet mask";
const char kGatewayOutsideText[] = "Gateway is not in the subnet of the IP address";

std::optional<std::string_view> FixedAddressRefusal(const DeviceRecord& edited) {
  if (edited.ipAddr == 0) return kZeroAddressText;
  if (!IsSubnetMask(edited.netmask)) return kNotSubnetMaskText;
  const bool sameSubnet = (edited.gateway & edited.netmask) == (edited.ipAddr & edited.netmask);
  if (edited.gateway != 0 && !sameSubnet) return kGatewayOutsideText;
  return std::nullopt;
}

std::string_view AddressFieldLabel(AddressField field) {
  switch (field) {
    case AddressField::kIpAddr:
      return "IP Address";
    case AddressField::kNetmask:
      return "Netmask";
    case AddressField::kGateway:
      return "Gateway";
    case AddressField::kDns1:
      return "DNS IP";
    case AddressField::kDns2:
      return "DNS 2 IP";
  }
  return "";
}

std::string_view AddressCheckMessage(AddressField field) {
  switch (field) {
    case AddressField::kIpAddr:
      return "IP address cannot be broadcast or multicast address";
    case AddressField::kNetmask:
      return "Netmask cannot be broadcast or multicast address";
    case AddressField::kGateway:
      return "Gateway cannot be broadcast or multicast address";
    case AddressField::kDns1:
      return "DNS IP cannot be broadcast or multicast address";
    case AddressField::kDns2:
      return "DNS2 IP cannot be broadcast or multicast address";
  }
  return "";
}

Ipv4 AddressOf(const DeviceRecord& record, AddressField field) {
  switch (field) {
    case AddressField::kIpAddr:
      return record.ipAddr;
    case AddressField::kNetmask:
      return record.netmask;
    case AddressField::kGateway:
      return record.gateway;
    case AddressField::kDns1:
      return record.dns1;
    case AddressField::kDns2:
      return record.dns2;
  }
  return record.ipAddr;
}

NetconfForm::NetconfForm(const DeviceRecord& record, AddressChangeMask mask, NetconfPurpose purpose)
    : record_(record), purpose_(purpose) {
  autoIpChecked_ = (mask & kChangeAutoIp) != 0;
  for (AddressField field : kAddressFields) {
    checked_[Index(field)] = (mask & kFieldMaskBits[Index(field)]) != 0;
    addresses_[Index(field)] = AddressOf(record, field);
  }
  mode_ = ModeFromFlags(record.ipConfigFlags, IsD8());
}

bool NetconfForm::IsD8() const { return IsD8Family(record_.modelId); }

std::string NetconfForm::modelNameText() const { return std::string(FieldText(record_.modelName)); }
std::string NetconfForm::macText() const { return FormatMac(record_.mac); }
std::string NetconfForm::serialText() const { return FormatSerial(record_.serialNo); }

bool NetconfForm::fieldVisible(AddressField field) const {
  return !(field == AddressField::kDns2 && IsD8());
}

bool NetconfForm::bootpVisible() const {
  return !IsD8() && (record_.modelId & 0xFF) != kNoBootpModelLowByte;
}

std::string_view NetconfForm::dhcpLabel() const { return IsD8() ? "Enable" : "DHCP"; }

bool NetconfForm::modeOffered(AddressMode mode) const {
  return mode != AddressMode::kBootp || bootpVisible();
}

bool NetconfForm::SetMode(AddressMode mode) {
  if (!modeOffered(mode)) return false;
  mode_ = mode;
  return true;
}

NetconfForm::OkResult NetconfForm::PressOk() const {
  DeviceRecord edited = record_;
  if (autoIpChecked_) edited.ipConfigFlags = FlagsWithMode(edited.ipConfigFlags, mode_, IsD8());
  // Every field is taken, checked or not: a disabled one still holds the
  // value it was opened with (or was given before its box was cleared).
  for (AddressField field : kAddressFields) *AddressSlot(edited, field) = address(field);
  for (AddressField field : kAddressFields) {
    if (!IsUsableHostAddress(address(field))) {
      return {std::nullopt, std::string(AddressCheckMessage(field))};
    }
  }
  // With a fixed address the device would be unreachable after storing an
  // unusable setting; the mode is the one OK stores. The import's review
  // shows a file's settings and keeps the five checks only.
  const bool fixed = ModeFromFlags(edited.ipConfigFlags, IsD8()) == AddressMode::kDisable;
  if (purpose_ == NetconfPurpose::kModify && fixed) {
    if (const auto refusal = FixedAddressRefusal(edited)) {
      return {std::nullopt, std::string(*refusal)};
    }
  }
  return {edited, ""};
}

}  // namespace vantrell
