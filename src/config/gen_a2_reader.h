#pragma once
/// The configuration file reader of the second A8/R8 generation (GenA2)
/// with its validation. It walks the rows of the A8/R8 schema
/// (gen_a_schema.h) in the order of the file's sections, looks each key up
/// from the start of the file and tests the value against the row's rule;
/// the first value that breaks a rule decides the result (its function
/// group's ValidationFlags bit) and ends the storing, while the rest of the
/// file is still checked for the problem list. After a reading without
/// problems it cross-checks several settings on the block as the file has
/// changed it.
///
/// The static multicast table holds only what the file brings. The VLAN
/// table and the static unicast table do too, unless port trunking is
/// active: then the file carries neither (nor port locks or mirror
/// settings), and the device keeps its own, management VLAN included. An
/// IGMP entry written as "---" (trunking active) is the management VLAN's.
///
/// A rejected relay traffic threshold leaves its value text as a notice for
/// the operator (GenA2Accessors::TakeReaderNotice), shown alone before the
/// group message.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "config/validation.h"
#include "core/device_record.h"

namespace vantrell {

struct GenA2ReadResult {
  ValidationFlags flags = 0;
  /// The rejected relay traffic threshold's value text, when that was the
  /// failure.
  std::optional<std::string> notice;
  /// Every problem of the file (line, key, group), the first one being
  /// the one `flags` names; a cross-check's problem has line 0.
  std::vector<FileProblem> problems;
};

/// Applies `fileText` to `block` (a GenA2 block as fetched). The edited
/// record gives the model (ports 7 and 8) and the login password (the SNMP
/// admin password cross-check). A block shorter than 12364 bytes, or an item
/// write the block refuses, gives validation::kBlockRefused.
GenA2ReadResult ReadGenA2File(const DeviceRecord& edited, ConfigBlock& block,
                              std::string_view fileText, ItemAccessors& accessors);

/// The same in the form of the version handler table's reader slot; the
/// notice goes to the accessors when they are GenA2's.
ValidationFlags readGenA2ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors);

/// The address test of the validating readers: an empty text passes (it
/// stores 0.0.0.0); otherwise exactly three dots and four decimal fields
/// 0..255, and not multicast (224..239), 255.255.255.255 or 0.0.0.0. The
/// address in network byte order, or nothing when the test fails.
std::optional<std::uint32_t> GenA2AddressValue(std::string_view text);

}  // namespace vantrell
