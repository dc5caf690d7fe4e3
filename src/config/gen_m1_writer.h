#pragma once
/// The configuration file writer of the modular model (GenM1): turns a
/// fetched 21136-byte block into the commented text file that the
/// sequential reader (gen_m1_reader.h) reads back. Per-port keys carry port
/// names ("Port_1-1_EN", "STP_EN_G-2", "DeviceIP_Trk3"); per-port blocks
/// are written only for the ports the device has (the record's portMask)
/// or, for the warning sections, the ports of populated slots (moduleType).
/// The settings' legends and lines come from the file schema
/// (gen_m1_schema.h); the banners and the lists are written here.

#include <cstdint>
#include <string>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "core/device_record.h"

namespace vantrell {

/// Appends the whole GenM1 file to `fileText` (CR LF line ends). First
/// stores the record's SMTP password into the block as item 151. The admin
/// password shown is the one the export placed in the block (item 14,
/// list index 1).
void WriteGenM1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors);

/// Ports that get a per-port block: those of `portMask`, in index order.
bool IsPresentPort(const DeviceRecord& record, std::size_t index);
/// Ports of a populated slot (indices 0..25; the gigabit ports are slot 6).
bool IsPopulatedSlotPort(const DeviceRecord& record, std::size_t index);

}  // namespace vantrell
