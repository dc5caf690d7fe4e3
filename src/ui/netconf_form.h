#pragma once
/// The behaviour of CNetconf "Modify IP Address", free of any toolkit: the
/// check boxes that enable the address fields and the mode buttons, the
/// mode buttons offered per family, the hidden fields, and the five address
/// checks of OK. Modify IP Address opens it with an empty change mask; the
/// import opens it in review mode with the mask of the address settings
/// that its file changes and the file's values in the record.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/device_record.h"

namespace vantrell {

/// Which address settings a configuration file changes; decides which
/// check boxes start checked.
using AddressChangeMask = std::uint32_t;
inline constexpr AddressChangeMask kChangeDns1 = 0x1;
inline constexpr AddressChangeMask kChangeIpAddr = 0x2;
inline constexpr AddressChangeMask kChangeNetmask = 0x4;
inline constexpr AddressChangeMask kChangeGateway = 0x8;
inline constexpr AddressChangeMask kChangeDns2 = 0x400;
inline constexpr AddressChangeMask kChangeAutoIp = 0x80000000u;

/// The five address fields, in the order OK checks them.
enum class AddressField { kIpAddr, kNetmask, kGateway, kDns1, kDns2 };
inline constexpr std::size_t kAddressFieldCount = 5;
inline constexpr std::array<AddressField, kAddressFieldCount> kAddressFields = {
    AddressField::kIpAddr, AddressField::kNetmask, AddressField::kGateway, AddressField::kDns1,
    AddressField::kDns2};

/// The radio group "Disable", "DHCP" (or "Enable"), "Bootp".
enum class AddressMode { kDisable = 0, kDhcp = 1, kBootp = 2 };

/// Who opened the dialog.
enum class NetconfPurpose {
  kModify,        ///< Modify IP Address
  kImportReview,  ///< the import's review of a file's address settings
};

/// The check box beside an address field: "IP Address", "Netmask",
/// "Gateway", "DNS IP", "DNS 2 IP".
std::string_view AddressFieldLabel(AddressField field);
/// The field's value in a record.
Ipv4 AddressOf(const DeviceRecord& record, AddressField field);

/// "Tip: Click the check box to select/un-select change item.   "
extern const char kNetconfTipText[];
/// The explanation shown (with an information icon) in review mode only.
extern const char kNetconfImportExplanation[];

class NetconfForm {
 public:
  /// Opens the form on `record` (the copy to edit) with the check boxes of
  /// `mask` checked.
  NetconfForm(const DeviceRecord& record, AddressChangeMask mask,
              NetconfPurpose purpose = NetconfPurpose::kModify);

  // The three texts.
  std::string modelNameText() const;
  std::string macText() const;
  std::string serialText() const;

  // What is shown.
  bool explanationVisible() const { return purpose_ == NetconfPurpose::kImportReview; }
  bool fieldVisible(AddressField field) const;
  bool bootpVisible() const;
  /// "Enable" on the D8 family, "DHCP" otherwise.
  std::string_view dhcpLabel() const;
  /// A mode button that is shown.
  bool modeOffered(AddressMode mode) const;

  // Check boxes and what they enable.
  bool autoIpChecked() const { return autoIpChecked_; }
  bool fieldChecked(AddressField field) const { return checked_[Index(field)]; }
  bool modeButtonsEnabled() const { return autoIpChecked_; }
  bool fieldEnabled(AddressField field) const { return fieldChecked(field); }
  /// A click on a check box.
  void SetAutoIpChecked(bool checked) { autoIpChecked_ = checked; }
  void SetFieldChecked(AddressField field, bool checked) { checked_[Index(field)] = checked; }

  // Values.
  AddressMode mode() const { return mode_; }
  /// Selects a mode button; false (nothing changes) for a hidden button.
  bool SetMode(AddressMode mode);
  Ipv4 address(AddressField field) const { return addresses_[Index(field)]; }
  /// Typing into a field (the control holds its value even while disabled).
  void SetAddress(AddressField field, Ipv4 address) { addresses_[Index(field)] = address; }

  /// What OK leads to: the edited record, or the message of the first
  /// address that fails its check, then, for Modify IP Address with the
  /// mode "Disable", of a setting that FixedAddressRefusal refuses (shown in
  /// a plain message box; the dialog stays open).
  struct OkResult {
    std::optional<DeviceRecord> edited;
    std::string message;
  };
  OkResult PressOk() const;

 private:
  static std::size_t Index(AddressField field) { return static_cast<std::size_t>(field); }
  bool IsD8() const;

  DeviceRecord record_;
  NetconfPurpose purpose_;
  bool autoIpChecked_ = false;
  std::array<bool, kAddressFieldCount> checked_{};
  AddressMode mode_ = AddressMode::kDisable;
  std::array<Ipv4, kAddressFieldCount> addresses_{};
};

/// The message of OK when `field` is not a usable host address, e.g.
/// "IP address cannot be broadcast or multicast address".
std::string_view AddressCheckMessage(AddressField field);

/// The messages of OK, after the five address checks, for a setting that
/// leaves a device with a fixed address ("Disable") unreachable.
extern const char kZeroAddressText[];     ///< "IP address cannot be 0.0.0.0"
extern const char kNotSubnetMaskText[];   ///< "Netmask is not a valid subnet mask"
extern const char kGatewayOutsideText[];  ///< "Gateway is not in the subnet of the IP address"

/// The first of the three refusals that `edited` (a fixed address) earns:
/// address 0.0.0.0; a netmask that is 0.0.0.0 or not contiguous; a gateway
/// other than 0.0.0.0 outside the address's subnet. Nothing when usable.
std::optional<std::string_view> FixedAddressRefusal(const DeviceRecord& edited);

}  // namespace vantrell
