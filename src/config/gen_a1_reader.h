#pragma once
/// The configuration file reader of the first A8/R8 generation (GenA1).
/// It clears the block's list tables (static unicast and multicast
/// entries, VLAN entries and the trunk flags), then walks the rows of the
/// A8/R8 schema (gen_a_schema.h) once, looking each key up from the start of
/// the file, and writes every value that keeps its row's rule with setItem.
/// A value that breaks it, or that its field refuses, leaves the device's
/// own value in place and is listed as a problem (line, key, group); an
/// absent key leaves the value too. This reader never rejects a file.
///
/// Lists: the IGMP, static multicast and static unicast lines are found
/// with findValueText and then findNextValueText until "donothing". The
/// redundancy protocol chooses whether the ring or the spanning-tree items
/// are read (neither without its key). Ports 7 and 8 of the fibre uplink
/// models keep their MDI flag, FDX and speed.
///
/// Beyond the historical reader:
/// - the access list is cleared only when the file carries at least one
///   "AccessIp" line; an entry whose value is unusable keeps the device's
///   entry (the list can no longer end up enabled and emptied by a file
///   that has none);
/// - an empty value of an address that the writer leaves empty for
///   0.0.0.0 (netmask, gateway, DNS servers, device IPs) stores 0.0.0.0, so
///   a device takes back its own export;
/// - port lists naming a port above 8 make their line unusable (the 8-bit
///   masks cannot hold them).
///
/// The result is 0, or validation::kBlockRefused when the block is shorter
/// than 8508 bytes, the accessors are not GenA1's, or an item write was
/// refused for another reason than its range.

#include <string_view>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "config/validation.h"
#include "core/device_record.h"

namespace vantrell {

/// Reads the file and lists, beside the flags above, every value it could
/// not take (line, key, function group).
FileReadResult ReadGenA1File(DeviceRecord& edited, ConfigBlock& block, std::string_view fileText,
                             ItemAccessors& accessors);

/// The shape of the version handler table's reader slot: ReadGenA1File's flags.
ValidationFlags readGenA1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors);

}  // namespace vantrell
