#pragma once
/// Export Configuration: the device side (fetch the block, or the file of a
/// device that keeps its own) and the writing of the configuration file,
/// and writeBackBlock, which stores an edited block, the address settings,
/// the password and the mail-server password back into a device.

#include <filesystem>
#include <string>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "core/device_record.h"
#include "core/timing.h"
#include "net/session.h"

namespace vantrell {

class ArpRouteBracket;

/// Results of exportConfiguration beyond 0 (the file is written).
inline constexpr int kExportDeviceFailed = -1;  ///< no session, login refused, block not received
inline constexpr int kExportNotSupported = -2;  ///< no handler serves the model and firmware
inline constexpr int kExportFileFailed = -3;    ///< the file could not be created or written

/// Fetches the device's configuration and writes the file at `path` (mode
/// 0600, complete or not at all). Fills portMask, trunkPortMask and
/// smtpPassword of the record on the way.
int exportConfiguration(DeviceRecord& record, const std::filesystem::path& path,
                        const Timing& timing = {});

/// The message the Export Configuration command shows for a result. After a
/// successful export on this thread, the values the file could not carry
/// faithfully (an SMTP password the device did not give, a stored rate or
/// SNMP version without a name) follow on lines of their own, once.
std::string ExportResultText(int result, const DeviceRecord& record);

/// The command without its save dialog: the ARP/route bracket around
/// exportConfiguration. Returns the result.
int ExportDeviceConfiguration(DeviceRecord& record, const std::filesystem::path& path,
                     ArpRouteBracket* bracket, const Timing& timing = {});

/// The item that holds the address mode (DHCP/BOOTP) in a generation's
/// block: 7 on the D8 family, 11 on the modular model, 446 otherwise.
ConfigItemId AddressModeItem(Generation generation);

/// True when `mode` (the record's ipConfigFlags) is an address mode that
/// the generation's block takes: 0 to 2 (none, DHCP, BOOTP) where the item
/// is a mode; the D8 DHCP bit takes any value as before.
bool AddressModeAccepted(Generation generation, std::uint32_t mode);

/// Where the mail-server password that writeBackBlock stores comes from.
enum class SmtpPasswordWrite {
  kFromBlock,  ///< the block's item 151 (the file gave it, or the block carries it)
  /// The device's own: a generation that keeps it apart from its block
  /// (KeepsMailPasswordApart) is asked for it first and the answer goes
  /// into item 151; when it does not answer, nothing is stored, so the
  /// device keeps the password it has. Other generations: as kFromBlock.
  kFromDevice,
};

/// Stores `block` (edited) with the edited record's address settings, sets
/// the password from `currentPassword` to the edited record's, stores the
/// mail-server password and commits: login, [0x18,] 0x09, 0x15, 0x17,
/// 0x0C. An address mode the block cannot take and all-ones addresses
/// (other than the netmask) are not put into the block. The session is open
/// and logged in with `currentPassword`. 0 or -1.
int writeBackBlock(Session& session, const DeviceRecord& edited, ConfigBlock& block,
                   ItemAccessors& accessors, std::string_view currentPassword,
                   SmtpPasswordWrite smtpPassword = SmtpPasswordWrite::kFromBlock);

/// Turns every line end into CR LF, as the configuration files are written.
std::string WithCrLf(std::string_view text);

}  // namespace vantrell
