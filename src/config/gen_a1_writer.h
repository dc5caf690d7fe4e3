#pragma once
/// The configuration file writer of the first A8/R8 generation (GenA1):
/// turns a fetched 8508-byte block into the commented text file that the
/// GenA1 reader reads back, section by section in a fixed order. The value
/// lines and their legends come from the rows of the A8/R8 schema
/// (gen_a_schema.h); the writer adds the banners and the list tables.
///
/// The IGMP, static multicast and static unicast tables are read directly
/// from the block and written between "# begin-of-list" and
/// "# end-of-list". An item that the accessors cannot give (a block shorter
/// than 8508 bytes, a stored rate index without a name) is written as an
/// empty value; a rate index without a name is also noted with
/// NoteExportProblem, so the export can tell the operator.

#include <string>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "core/device_record.h"

namespace vantrell {

/// Appends the whole GenA1 file to `fileText`. The record gives the model
/// ID and the SMTP password, which is first stored into the block as item
/// 151. The shape of the version handler table's writer slot.
void WriteGenA1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors);

}  // namespace vantrell
