#pragma once
/// The configuration file readers of the D8 family (GenD1 to GenD4). Each
/// walks its own list of items once, looks each item's key up from the
/// start of the file (the first line carrying it wins; file order does not
/// matter), converts the value by the item's kind and writes it into the
/// fetched block with setItem when it lies in the item's accepted range.
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

/// The reader of a D8 generation, or null for any other generation.
using GenDConfigFileReader = ValidationFlags (*)(DeviceRecord&, ConfigBlock&, std::string_view,
                                                 ItemAccessors&);
GenDConfigFileReader GenDReaderFor(Generation generation);

// Which port-7 and port-8 settings of a file the D8 readers apply, by
// model: some models have fixed uplink ports whose settings stay as the
// device has them.

/// Port 7's MDI flag: models 0x6008, 0x6018, 0x6028, 0x6058, 0x6068, 0x6078.
bool GenDAppliesPort7MdiFlag(std::uint16_t modelId);
/// Port 7's speed: every model but 0x6038, 0x6048, 0x6088, 0x6098.
bool GenDAppliesPort7Speed(std::uint16_t modelId);
/// Port 8's MDI flag and speed: models 0x6008 and 0x6058.
bool GenDAppliesPort8Settings(std::uint16_t modelId);

}  // namespace vantrell
