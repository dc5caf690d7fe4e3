#pragma once
/// The configuration file writer of the second A8/R8 generation (GenA2):
/// turns a fetched 12364-byte block into the commented text file that the
/// GenA2 reader takes back. Every value has a legend of its own whose first
/// line names the key in brackets; the file adds port trunking, SNMP and the
/// four trunk entries to the sections of the first generation. The value
/// lines and their legends come from the rows of the A8/R8 schema
/// (gen_a_schema.h); the writer adds the banners, the list tables and the
/// layout of the trunk lines.
///
/// Values that the block cannot give (an item outside a short block, a rate
/// index above 10, an unknown SNMP version code) are written as empty
/// values, never read from outside a table.

#include <string>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "core/device_record.h"

namespace vantrell {

/// Appends the whole GenA2 file of `block` to `fileText` (CR LF line ends).
/// First stores the record's SMTP password into the block as item 151, so
/// the file shows the password fetched from the device.
void WriteGenA2ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors);

}  // namespace vantrell
