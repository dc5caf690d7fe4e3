#pragma once
/// Modify IP Address: reading a device's current address settings and
/// storing edited ones. Devices that answered discovery with the long reply
/// take the settings in one request (0x22); the others get them through the
/// configuration block write-back. Nothing here shows anything: the
/// outcome comes back as a message text with its icon.

#include <memory>
#include <optional>
#include <string>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "core/device_record.h"
#include "core/message.h"
#include "core/timing.h"

namespace vantrell {

class ArpRouteBracket;

/// Results of readNetworkSettings and applyNetworkSettings beyond 0.
/// No session, login refused, block not received or not acknowledged.
inline constexpr int kNetworkSettingsFailed = -1;
/// A short-reply device that no built handler row serves: its address
/// settings cannot be read or stored, so nothing is sent.
inline constexpr int kNetworkSettingsNotSupported = -2;
/// applyNetworkSettings: the device dropped the connection to take the new
/// address at once (long-reply devices).
inline constexpr int kNetworkSettingsApplied = 1;

/// Logs into the device and, for a short-reply device, fetches its block
/// into `block` (cleared first) and takes the first DNS server, the second
/// (not on the D8 family) and the address mode from it into `record`.
/// 0, kNetworkSettingsFailed or kNetworkSettingsNotSupported.
int readNetworkSettings(DeviceRecord& record, ConfigBlock& block, const Timing& timing = {});

/// Stores the edited settings into the device of `listed` (its address and
/// password are used to log in): with 0x22 for a long-reply device (0, 1
/// or -1), otherwise by writing `block` (as read by readNetworkSettings)
/// back with the edited addresses, the password and the device's own
/// mail-server password kept (0 or -1).
/// kNetworkSettingsNotSupported when no built handler row serves the
/// device; -1 when `block` is not a block of the device's generation.
int applyNetworkSettings(const DeviceRecord& listed, const DeviceRecord& edited, ConfigBlock& block,
                         const Timing& timing = {});

/// Takes the address mode that the block holds into record.ipConfigFlags:
/// bit 0 from item 7 on the D8 family, bits 0-1 from item 11 on the modular
/// model and from item 446 otherwise (AddressModeItem, the items the
/// write-back stores it in). False, and the record
/// unchanged, when the generation does not carry the item.
bool AdoptBlockAddressMode(DeviceRecord& record, const ConfigBlock& block,
                           const ItemAccessors& accessors);

/// A message box of the command: its text and icon.
struct NetworkSettingsMessage {
  std::string text;
  MessageIcon icon = MessageIcon::kInformation;
};

/// "Your IP address is not accessable for this Meshvault Server."
extern const char kNotAccessibleServerText[];
/// The Yes/No question (stop icon) before anything is stored.
extern const char kNetworkSettingsWarning[];

/// The message of a failed read (nothing for 0).
std::optional<NetworkSettingsMessage> ReadFailureMessage(int result, const DeviceRecord& record);
/// The message after a store: "Modify IP OK.", "Modify IP Success." or a
/// failure.
NetworkSettingsMessage ApplyOutcomeMessage(int result, const DeviceRecord& record);

/// The device side of command 32776 around the operator's dialog: the
/// ARP/route bracket for the device's address from Read until the object
/// ends, the read step, and the store that replaces the listed record by
/// the edited one when it succeeds.
class NetworkSettingsChange {
 public:
  /// `bracket` may be null (no ARP/route changes).
  NetworkSettingsChange(DeviceRecord& listed, ArpRouteBracket* bracket, const Timing& timing = {});
  ~NetworkSettingsChange();
  NetworkSettingsChange(const NetworkSettingsChange&) = delete;
  NetworkSettingsChange& operator=(const NetworkSettingsChange&) = delete;

  /// Installs the bracket and reads the settings into the listed record;
  /// the failure message, or nothing when the dialog may open.
  std::optional<NetworkSettingsMessage> Read();
  /// The listed record (after Read: with the values just read).
  const DeviceRecord& record() const { return listed_; }
  /// The edited copy differs from the listed record (whole-record compare).
  bool Changed(const DeviceRecord& edited) const { return !(edited == listed_); }
  /// Stores the edited settings. On success the bracket of the old address
  /// goes and the edited record replaces the listed one. Returns the result
  /// of applyNetworkSettings; `message` gets the outcome message.
  int Apply(const DeviceRecord& edited, NetworkSettingsMessage& message);

 private:
  DeviceRecord& listed_;
  ArpRouteBracket* bracket_;
  Timing timing_;
  std::unique_ptr<ConfigBlock> block_;
  bool installed_ = false;
};

}  // namespace vantrell
