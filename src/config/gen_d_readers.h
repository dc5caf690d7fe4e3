#pragma once
/// The configuration file readers of the D8 family (GenD1 to GenD4). Each
/// walks the rows of the D8 file schema (gen_d_schema.h) of its generation
/// once, looks each item's key up from the start of the file (the first
/// line carrying it wins; file order does not matter), converts the value
/// by the row's format and writes it into the fetched block with setItem
/// when the row's rule accepts it.
/// A value outside its range, or an absent key, leaves the device's own
/// value in place; these readers never reject a file.
///
/// The file's "Password" value is not a block item: it becomes the edited
/// record's password, which the import then sets on the device.
///
/// Each function has the shape of the version handler table's reader slot.
/// The result is 0, or validation::kBlockRefused when the block is shorter
/// than the generation's block or an item write was refused (nothing from
/// such a block may be stored).

#include <cstdint>
#include <string_view>

#include "config/config_block.h"
#include "config/gen_d_schema.h"  // the port-7 and port-8 rules by model
#include "config/generation.h"
#include "config/item_accessors.h"
#include "config/validation.h"
#include "core/device_record.h"

namespace vantrell {

ValidationFlags readGenD1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors);
ValidationFlags readGenD2ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors);
ValidationFlags readGenD3ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors);
ValidationFlags readGenD4ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors);

/// The same read for a D8 `generation`, with every problem the file has
/// beside the flags: a value that its row does not accept (kept out of
/// the block, as always) with its line, key and function group. The flags
/// are exactly what the plain reader returns (0 or kBlockRefused): the
/// problems never make a D8 reader reject a file.
FileReadResult ReadGenDConfigFileWithProblems(Generation generation, DeviceRecord& edited,
                                              ConfigBlock& block, std::string_view fileText,
                                              ItemAccessors& accessors);

/// The reader of a D8 generation, or null for any other generation.
using GenDConfigFileReader = ValidationFlags (*)(DeviceRecord&, ConfigBlock&, std::string_view,
                                                 ItemAccessors&);
GenDConfigFileReader GenDReaderFor(Generation generation);

}  // namespace vantrell
