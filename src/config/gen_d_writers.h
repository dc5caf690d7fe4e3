#pragma once
/// The configuration file writers of the D8 family (GenD1 to GenD4): each
/// turns a fetched block into the commented text file that the import reads
/// back, section by section in a fixed order, with CR LF line ends.
///
/// The generations differ only in a few places: GenD1 names its mail
/// server "MailServer" and has no SMTP account; GenD3 and GenD4 split the
/// redundancy word into protocol, master and coupling; GenD4 writes the
/// 80-character location and a relay warning section.
///
/// The value lines come from the D8 file schema (gen_d_schema.h); the
/// banners and the section order are the writer's own.
///
/// An item that the accessors cannot read (for instance because the block
/// is shorter than its generation's size) is written as an empty value.

#include <cstdint>
#include <string>

#include "config/config_block.h"
#include "config/gen_d_schema.h"  // OmitsMdiFlagLine
#include "config/generation.h"
#include "config/item_accessors.h"
#include "core/device_record.h"

namespace vantrell {

/// Appends the whole file of a D8-family device to `fileText`: header and
/// model line, the sections of `generation`, the end line. The record gives
/// the model ID and the login password; `accessors` read the items of
/// `block`. GenD1 first stores the record's SMTP password as item 151,
/// which its block does not have, so the block stays unchanged. Returns
/// false, writing nothing, for a generation outside the D8 family.
bool WriteGenDConfigFile(Generation generation, std::string& fileText, const DeviceRecord& record,
                         ConfigBlock& block, ItemAccessors& accessors);

/// The same per generation, in the form of the version handler table's
/// writer slot.
void WriteGenD1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors);
void WriteGenD2ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors);
void WriteGenD3ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors);
void WriteGenD4ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors);

}  // namespace vantrell
