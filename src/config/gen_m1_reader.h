#pragma once
/// The sequential configuration file reader of the modular model (GenM1).
/// Unlike the catalogue-driven readers it walks the file line by line and
/// dispatches on each line's key, in two passes: pass 1 reads the trunk
/// settings of the 26 physical ports, pass 2 everything else, starting at
/// the model line and ending at the end marker. Every value is tested
/// against the rule of its row in the file schema (gen_m1_schema.h); the
/// first one that breaks it gives the ValidationFlags bit of its function
/// group, as when it ended the reading, and the others are only listed.
/// Cross-checks over several settings follow the reading.
///
/// No text, however edited, makes the reader read or write outside the
/// block: every table index comes from a bounded list.

#include <cstdint>
#include <string_view>

#include "config/config_block.h"
#include "config/item_accessors.h"
#include "config/validation.h"
#include "core/device_record.h"

namespace vantrell {

/// Applies a GenM1 file to a fetched block; the edited record supplies
/// `trunkPortMask` (fetched with the port masks before reading). Returns 0
/// when the file was accepted, else the flags (the caller then discards the
/// block). A block shorter than the generation's gives kBlockRefused.
ValidationFlags ReadGenM1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors);

/// ReadGenM1ConfigFile with every problem of the file: `flags` is what
/// ReadGenM1ConfigFile returns, and the block holds what it would hold
/// (from the first problem on the reading goes on in a copy of it). The
/// problems come by line, each with its file key and function group; a
/// wrong first line, model line or short block ends the reading, and the
/// cross-checks, tied to no line (0), come last.
FileReadResult ReadGenM1ConfigFileWithProblems(DeviceRecord& edited, ConfigBlock& block,
                                               std::string_view fileText, ItemAccessors& accessors);

namespace gen_m1 {

/// The ports that no port-referring setting may name: the four trunk
/// entries, except those that have members; every physical port that
/// belongs to a trunk group or that `trunkPortMask` leaves out.
std::uint32_t TrunkMemberMask(const std::uint8_t (&groups)[26], std::uint32_t trunkPortMask);

/// The address test of the validating readers: empty stores 0.0.0.0;
/// otherwise exactly four dotted decimal fields 0..255, and neither
/// multicast, 0.0.0.0 nor 255.255.255.255. Nothing when the test fails.
std::optional<std::uint32_t> TestedAddress(std::string_view text);

}  // namespace gen_m1
}  // namespace vantrell
