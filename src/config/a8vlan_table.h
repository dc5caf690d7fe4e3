#pragma once
/// The VLAN table of the A8/R8 blocks (same offsets in GenA1 and GenA2):
/// the port VLAN words, the 64 table entries and their upkeep (storing a
/// PVID or the management VLAN makes sure the table holds an entry for it),
/// the VID list text of getItem, the VID list parser of setItem and the
/// clearing of the table. The fixed and forbidden list algorithms differ
/// per generation and live with each generation (gen_a1_layout.*,
/// gen_a2_layout.*).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/block_encodings.h"
#include "config/item_value.h"

namespace vantrell {

namespace a8vlan {
/// VLAN port words, one u32 per port 1..8: bits 0-11 PVID, bit 12 type
/// (1 access, 0 trunk).
inline constexpr std::size_t kPortWords = 5388;
inline constexpr std::uint32_t kPvidMask = 0x0FFF;
inline constexpr std::uint32_t kAccessTypeBit = 1u << 12;
/// The VLAN table: 64 entries of 40 bytes; u16 at +0 (bit 15 valid, bits
/// 0-11 VID, bits 12-14 carried), u32 at +4 the membership word (for port p:
/// bit 4(p-1)+2 fixed, bit 4(p-1)+3 forbidden).
inline constexpr std::size_t kTable = 5452;
inline constexpr std::size_t kEntrySize = 40;
inline constexpr std::size_t kEntries = 64;
inline constexpr std::size_t kMembershipAt = 4;
inline constexpr std::uint16_t kValidBit = 0x8000;
inline constexpr std::uint16_t kBit12 = 0x1000;
inline constexpr std::uint16_t kVidMask = 0x0FFF;
/// The management VLAN (u16).
inline constexpr std::size_t kManagementVid = 7980;
inline constexpr int kPorts = 8;
/// VIDs 1 to 4094 are usable.
inline constexpr std::uint32_t kMinVid = 1;
inline constexpr std::uint32_t kMaxVid = 4094;
/// At most this many VIDs are taken from one list text.
inline constexpr std::size_t kMaxListVids = 64;

constexpr std::size_t EntryOffset(std::size_t entry) { return kTable + kEntrySize * entry; }
constexpr std::size_t PortWordOffset(int port) { return kPortWords + 4 * (port - 1); }
constexpr std::uint32_t FixedBit(int port) { return 1u << (4 * (port - 1) + 2); }
constexpr std::uint32_t ForbiddenBit(int port) { return 1u << (4 * (port - 1) + 3); }

/// The entry (0..63) that is valid and holds `vid` in bits 0-11, or nothing.
std::optional<std::size_t> FindValidEntry(ConstBlockBytes block, std::uint32_t vid);
/// The first entry whose valid bit is clear, or nothing.
std::optional<std::size_t> FirstFreeEntry(ConstBlockBytes block);
/// Makes the entry valid with `vid`: bit 15 set, bit 12 set when
/// `setBit12` (bits 12-14 otherwise as they were, 13 and 14 always kept),
/// membership word `membership`.
void ClaimEntry(BlockBytes block, std::size_t entry, std::uint32_t vid, bool setBit12,
                std::uint32_t membership);

/// VLAN entry upkeep for a stored PVID or management VLAN `vid`: nothing
/// when a valid entry holds it; otherwise the first free entry becomes
/// valid with bits 15 and 12 set, bits 13 and 14 as they were, the VID, and
/// an empty membership; nothing when all 64 are valid.
void EnsureEntry(BlockBytes block, std::uint32_t vid);

/// Stores a PVID (1..4094, else kOutOfRange) in bits 0-11 of the port's
/// VLAN word, keeping bits 12-31, and keeps up the VLAN table.
ItemStatus WritePvid(BlockBytes block, int port, std::uint32_t value);
/// Stores the management VLAN (u16, any value up to 0xFFFF) and keeps up the
/// VLAN table for it (only for 1..4094).
ItemStatus WriteManagementVid(BlockBytes block, std::uint32_t value);

/// Which membership bit a VID list reads.
enum class Membership { kFixed, kForbidden };
/// The VID list of a port: the VIDs (1..4094), in table order, of the valid
/// entries with the port's membership bit set, "%d" then ",%d" each.
std::string FormatVidList(ConstBlockBytes block, int port, Membership which);

/// Parses a VID list text: digits are collected into a number (at most
/// seven digits; longer runs keep their first seven digits' value and drop
/// the rest), "," ends a number with at least one digit, every other
/// character is skipped, empty elements too. Numbers 1..4094 are taken,
/// others dropped, at most 64. Nothing (no change at all) for an empty text
/// or one that begins with a line end or carriage return.
std::optional<std::vector<std::uint16_t>> ParseVidList(std::string_view text);

/// clearListTables part for the VLAN table: clears bit 15 and the
/// membership word of all 64 entries.
void ClearTable(BlockBytes block);
}  // namespace a8vlan

}  // namespace vantrell
