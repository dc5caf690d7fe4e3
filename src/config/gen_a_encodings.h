#pragma once
/// The field encodings of the A8/R8 family blocks (GenA1, GenA2; several are
/// also used by the modular model's GenM1 block), in addition to the plain
/// encodings of block_encodings.h: inverted disable byte, inverted bit,
/// mode bits, two-bit field, bits set for any nonzero value, checked bytes
/// and words, high nibble, bridge priority, strict protocol/master bits,
/// relay and link choices, access entries, ingress rate record, egress rate
/// byte, text 40 and the SNMP version code.
///
/// Shared here as well, because both A generations use them literally:
/// - the VLAN table of the A8/R8 blocks (same offsets in GenA1 and GenA2),
///   its entry upkeep (storing a PVID or the management VLAN makes sure the
///   table holds an entry for it), the VID list text of getItem and the VID
///   list parser of setItem, and the clearing of the table. The fixed and
///   forbidden list algorithms differ per generation and live with each
///   generation (gen_a1_layout.*, gen_a2_*).
/// - the elements that both A8/R8 files share: time zone names, rate names
///   and rate legend, ToS group lines, port lists, list section markers and
///   the fibre uplink models.
///
/// Every function works on the valid bytes of a block, checks that its whole
/// field lies inside them and touches no byte outside its field. A read
/// outside the block yields nothing (kOutsideBlock); a value that the field
/// refuses changes nothing (kOutOfRange) and a value of the wrong kind
/// changes nothing (kWrongKind).

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"
#include "config/file_writer.h"
#include "config/generation.h"
#include "config/item_value.h"

namespace vantrell {

// ---------------------------------------------------------------------------
// Rate names
// ---------------------------------------------------------------------------

/// Rate names by index: 0 "NL", 1 "128K", ..., 10 "64M".
inline constexpr std::array<std::string_view, 11> kRateNames = {
    "NL", "128K", "256K", "512K", "1M", "2M", "4M", "8M", "16M", "32M", "64M"};
/// Only the first eight names ("NL" to "8M") can be stored from a file.
inline constexpr std::size_t kStorableRateNames = 8;

/// The name of a stored rate index, or nothing for an index above 10.
std::optional<std::string_view> RateName(std::uint32_t index);
/// The index of `name` among the first eight rate names (exact comparison),
/// or nothing.
std::optional<std::uint8_t> StorableRateIndex(std::string_view name);

// ---------------------------------------------------------------------------
// Single encodings
// ---------------------------------------------------------------------------

/// Inverted disable byte: the byte is 1 when the port is disabled. Reads 0
/// for a stored 1 and 1 otherwise; a write stores 0 for the value 1 and 1
/// for any other value.
std::optional<std::uint32_t> ReadInvertedDisable(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteInvertedDisable(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Inverted bit `bit` of a u32: set while the function is off. Reads 1 when
/// the bit is clear; a write sets the bit for 0 and clears it otherwise.
std::optional<std::uint32_t> ReadInvertedBit(ConstBlockBytes block, std::size_t offset,
                                             unsigned bit);
ItemStatus WriteInvertedBit(BlockBytes block, std::size_t offset, unsigned bit,
                            std::uint32_t value);

/// Mode bits (IP configuration), bits 0 and 1 of a u32: reads 1 when bit 0
/// is set, else 2 when bit 1 is set, else 0. A write clears both, then sets
/// bit 0 for 1 and bit 1 for 2 (any other value leaves both clear).
std::optional<std::uint32_t> ReadModeBits(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteModeBits(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Two-bit field, bits 0 and 1 of a byte (port MDI): reads 1 when bit 0 is
/// set, else 2 when bit 1 is set, else 0. A write clears both and sets bit 0
/// for 1, bit 1 for 2 (0 and any other value leave both clear); the other
/// six bits are kept.
std::optional<std::uint32_t> ReadTwoBitField(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteTwoBitField(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Bit `bit` of a field of `width` bytes (1, 2 or 4): reads 0 or 1; a
/// write sets the bit for any nonzero value and clears it for 0.
std::optional<std::uint32_t> ReadBitOf(ConstBlockBytes block, std::size_t offset, std::size_t width,
                                       unsigned bit);
ItemStatus WriteNonzeroBit(BlockBytes block, std::size_t offset, std::size_t width, unsigned bit,
                           std::uint32_t value);

/// Checked byte and word: stored only when min <= value <= max, otherwise
/// kOutOfRange and the field is unchanged. Read as plain u8/u16.
ItemStatus WriteCheckedU8(BlockBytes block, std::size_t offset, std::uint32_t value,
                          std::uint32_t min, std::uint32_t max);
ItemStatus WriteCheckedU16(BlockBytes block, std::size_t offset, std::uint32_t value,
                           std::uint32_t min, std::uint32_t max);

/// High nibble (port priority): reads byte >> 4; a write stores value << 4
/// (the whole byte, low nibble cleared) for 0 to 15 and refuses others.
std::optional<std::uint32_t> ReadHighNibble(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteHighNibble(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Port priority kept as priority x 16 in a byte (GenA2, GenM1): reads the
/// whole byte; a write stores value x 16 for 0 to 15 and refuses others.
ItemStatus WritePriorityTimes16(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Bridge priority of GenA1, the priority in bits 12-15 of a u16: reads
/// value >> 12; a write stores value << 12 (the whole word) for 0 to 15.
std::optional<std::uint32_t> ReadBridgePriority(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteBridgePriority(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Strict bit `bit` of a u32 (redundancy protocol and master): reads 0 or
/// 1; a write clears the bit for 0, sets it for 1 and refuses other values.
ItemStatus WriteStrictBit(BlockBytes block, std::size_t offset, unsigned bit, std::uint32_t value);

/// Where a relay choice lies: an enable bit and the select bit at the same
/// position, in two words (width 4) or two bytes (width 1).
struct RelayBits {
  std::size_t enableOffset;
  std::size_t selectOffset;
  unsigned bit;
  std::size_t width;  ///< 1 or 4
};
/// Relay choice: reads 0 when the enable bit is clear, 1 when only the
/// enable bit is set (relay 1), 2 when both are set (relay 2). A write
/// stores 0 as both clear, 1 as enable set and select clear, 2 as both set,
/// and refuses other values.
std::optional<std::uint32_t> ReadRelayChoice(ConstBlockBytes block, const RelayBits& where);
ItemStatus WriteRelayChoice(BlockBytes block, const RelayBits& where, std::uint32_t value);

/// Link choice of a port's relay enable byte and select byte (bit 0 link
/// on, bit 1 link off): reads 1 or 2 (relay 1 or 2) when bit 0 is enabled,
/// else 3 or 4 when bit 1 is enabled, else 0. A write of 0 to 4 stores
/// exactly that state in the four bits (0 none; 1 on, relay 1; 2 on, relay
/// 2; 3 off, relay 1; 4 off, relay 2) and keeps the other bits; other values
/// are refused.
std::optional<std::uint32_t> ReadLinkChoice(ConstBlockBytes block, std::size_t enableOffset,
                                            std::size_t selectOffset);
ItemStatus WriteLinkChoice(BlockBytes block, std::size_t enableOffset, std::size_t selectOffset,
                           std::uint32_t value);

/// Access entry, an address and a netmask (ipv4) in two parallel arrays.
/// Reads an empty text when the address is 0, otherwise "address/netmask"
/// in dotted form.
std::optional<std::string> ReadAccessEntry(ConstBlockBytes block, std::size_t addressOffset,
                                           std::size_t netmaskOffset);
/// Stores one half of an access entry (address or netmask) from a number
/// (network byte order) or a text in strict dotted form; refuses anything
/// else.
ItemStatus WriteAccessAddress(BlockBytes block, std::size_t offset, const ItemValue& value);

/// Ingress rate record: byte 0 policy (0-3); byte 1 bits 0-3 rate index,
/// bits 4, 5, 6 the double-rate flags of the normal, medium and high queues.
/// Reads "%d %s %d %d %d" (policy, rate name, three flags); an index with no
/// name (11 to 15) reads nothing and kOutOfRange.
ItemStatus ReadIngressRate(ConstBlockBytes block, std::size_t offset, std::string& out);
/// Applies an ingress rate text "%d %s %d %d %d": the policy is stored when
/// 0 to 3; the rate index when the name is one of "NL" to "8M" (other names
/// keep the stored index); the three flags are set for values > 0 and
/// cleared otherwise, whatever happened to the policy and rate. A field
/// that the text lacks keeps what the block holds (the flags included); a
/// text without even a policy changes nothing (kOutOfRange).
ItemStatus WriteIngressRate(BlockBytes block, std::size_t offset, std::string_view text);

/// Egress rate byte: reads the rate name of the stored index; an index
/// above 10 reads nothing and kOutOfRange.
ItemStatus ReadEgressRate(ConstBlockBytes block, std::size_t offset, std::string& out);
/// GenA1: stores the index of one of the names "NL" to "8M"; other texts
/// are refused and keep the byte.
ItemStatus WriteEgressRateName(BlockBytes block, std::size_t offset, std::string_view name);

/// Text 40: a 40-byte field; reads up to the first NUL (40 characters at
/// most); a write copies at most 40 characters and NUL-fills the rest.
inline constexpr std::size_t kText40Size = 40;
std::optional<std::string> ReadText40(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteText40(BlockBytes block, std::size_t offset, std::string_view text);

/// SNMP version code (GenA2, GenM1): stored 5, 3, 4 are the item values 0,
/// 1, 2. Any other stored byte reads nothing (kOutOfRange); any other item
/// value is refused.
std::optional<std::uint32_t> SnmpVersionOfCode(std::uint8_t code);
ItemStatus ReadSnmpVersion(ConstBlockBytes block, std::size_t offset, std::uint32_t& out);
ItemStatus WriteSnmpVersion(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Removes trailing blanks, carriage returns and NUL bytes (the text rule of
/// GenA2).
std::string_view TrimTrailingBlanksCrNuls(std::string_view text);

// ---------------------------------------------------------------------------
// Layout tables of the A8/R8 family
// ---------------------------------------------------------------------------

/// The encodings an A8/R8 layout table names.
enum class AFieldKind : std::uint8_t {
  kPlain,            ///< `plain`: an encoding of block_encodings.h
  kInvertedDisable,  ///< byte at offset
  kInvertedBit,      ///< bit `bit` of the u32 at offset
  kModeBits,         ///< bits 0-1 of the u32 at offset
  kTwoBitField,      ///< bits 0-1 of the byte at offset
  kNonzeroBit,       ///< bit `bit` of a `width`-byte field, set for any nonzero value
  kCheckedU8,        ///< u8 in min..max
  kCheckedU16,       ///< u16 in min..max
  kHighNibble,       ///< byte >> 4
  kPriorityTimes16,  ///< whole byte read; 0..15 stored x 16
  kBridgePriority,   ///< u16 >> 12
  kStrictBit,        ///< bit `bit` of the u32 at offset; 0 or 1 only
  kRelayChoice,      ///< enable at offset, select at offset2, bit `bit`, `width` 1 or 4
  kLinkChoice,       ///< enable byte at offset, select byte at offset2
  kAccessAddress,    ///< address at offset, netmask at offset2; reads "a/m"
  kAccessNetmask,    ///< netmask at offset; number or dotted text
  kIngressRate,      ///< two bytes at offset; text
  kEgressRateName,   ///< byte at offset; name in both directions (GenA1)
  kEgressRateIndex,  ///< byte at offset; name read, index stored (GenA2)
  kText40,           ///< 40 bytes at offset
  kSnmpVersion,      ///< code byte at offset
};

/// Where and how one item lies in an A8/R8 block.
struct AField {
  AFieldKind kind = AFieldKind::kPlain;
  std::uint32_t offset = 0;
  std::uint32_t offset2 = 0;
  std::uint8_t bit = 0;
  std::uint8_t width = 0;
  std::uint16_t min = 0;
  std::uint16_t max = 0;
  BlockField plain{};
};

constexpr AField Plain(BlockField field) {
  return {AFieldKind::kPlain, field.offset, 0, 0, 0, 0, 0, field};
}
constexpr AField InvertedDisableField(std::uint32_t offset) {
  return {AFieldKind::kInvertedDisable, offset};
}
constexpr AField InvertedBitField(std::uint32_t offset, std::uint8_t bit) {
  return {AFieldKind::kInvertedBit, offset, 0, bit};
}
constexpr AField ModeBitsField(std::uint32_t offset) { return {AFieldKind::kModeBits, offset}; }
constexpr AField TwoBitField(std::uint32_t offset) { return {AFieldKind::kTwoBitField, offset}; }
constexpr AField NonzeroBitField(std::uint32_t offset, std::uint8_t width, std::uint8_t bit) {
  return {AFieldKind::kNonzeroBit, offset, 0, bit, width};
}
constexpr AField CheckedU8Field(std::uint32_t offset, std::uint16_t min, std::uint16_t max) {
  return {AFieldKind::kCheckedU8, offset, 0, 0, 1, min, max};
}
constexpr AField CheckedU16Field(std::uint32_t offset, std::uint16_t min, std::uint16_t max) {
  return {AFieldKind::kCheckedU16, offset, 0, 0, 2, min, max};
}
constexpr AField HighNibbleField(std::uint32_t offset) { return {AFieldKind::kHighNibble, offset}; }
constexpr AField PriorityTimes16Field(std::uint32_t offset) {
  return {AFieldKind::kPriorityTimes16, offset};
}
constexpr AField BridgePriorityField(std::uint32_t offset) {
  return {AFieldKind::kBridgePriority, offset};
}
constexpr AField StrictBitField(std::uint32_t offset, std::uint8_t bit) {
  return {AFieldKind::kStrictBit, offset, 0, bit};
}
constexpr AField RelayChoiceField(std::uint32_t enableOffset, std::uint32_t selectOffset,
                                  std::uint8_t bit, std::uint8_t width) {
  return {AFieldKind::kRelayChoice, enableOffset, selectOffset, bit, width};
}
constexpr AField LinkChoiceField(std::uint32_t enableOffset, std::uint32_t selectOffset) {
  return {AFieldKind::kLinkChoice, enableOffset, selectOffset};
}
constexpr AField AccessAddressField(std::uint32_t addressOffset, std::uint32_t netmaskOffset) {
  return {AFieldKind::kAccessAddress, addressOffset, netmaskOffset};
}
constexpr AField AccessNetmaskField(std::uint32_t offset) {
  return {AFieldKind::kAccessNetmask, offset};
}
constexpr AField IngressRateField(std::uint32_t offset) {
  return {AFieldKind::kIngressRate, offset};
}
constexpr AField EgressRateNameField(std::uint32_t offset) {
  return {AFieldKind::kEgressRateName, offset};
}
constexpr AField EgressRateIndexField(std::uint32_t offset) {
  return {AFieldKind::kEgressRateIndex, offset};
}
constexpr AField Text40Field(std::uint32_t offset) { return {AFieldKind::kText40, offset}; }
constexpr AField SnmpVersionField(std::uint32_t offset) {
  return {AFieldKind::kSnmpVersion, offset};
}

/// Every byte the field reads or writes lies in [offset, offset + span) or,
/// for the two-part encodings, also in [offset2, offset2 + span2).
struct AFieldExtent {
  std::size_t offset, size, offset2, size2;
};
AFieldExtent ExtentOf(const AField& field);
/// True when every byte of the field lies inside a block of `blockSize`.
bool AFieldFits(std::size_t blockSize, const AField& field);

/// Reads the field into `out`; `out` is untouched unless the result is kOk.
ItemStatus ReadAField(ConstBlockBytes block, const AField& field, ItemValue& out);
/// Writes `value`; the block is untouched unless the result is kOk.
ItemStatus WriteAField(BlockBytes block, const AField& field, const ItemValue& value);

/// One row of an A8/R8 layout table.
struct AItemField {
  ConfigItemId id;
  AField field;
};
/// The row of `layout` for `id`, or null.
const AItemField* FindAItemField(std::span<const AItemField> layout, ConfigItemId id);

// ---------------------------------------------------------------------------
// The VLAN table of the A8/R8 blocks (GenA1 and GenA2 alike)
// ---------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------
// Elements that both A8/R8 files share
// ---------------------------------------------------------------------------

/// Time zone names by value 0..62, with the spellings the devices show.
extern const std::array<std::string_view, 63> kTimeZoneNames;
/// The 63 lines "# \t--> %-2d : %s\n".
void WriteTimeZoneLines(ConfigTextWriter& file);
/// The eight lines of the rate legend ("NL" to "8M").
void WriteRateLegend(ConfigTextWriter& file);

/// The comment line of ToS group g (1..16), "#[ToS1(0x00)|...|ToS4(0x0C)]\n"
/// (group 12 with its historical "Bx04").
std::string TosGroupComment(int group);
/// The 16 ToS groups: comment line, then "<key> v1|v2|v3|v4\n\n" with the
/// keys of D_CONF_TOSMAP_1_4 ... D_CONF_TOSMAP_61_64 and the values that
/// `entry(k)` gives for k = 1..64 (an entry it cannot give is written
/// empty).
void WriteTosGroups(ConfigTextWriter& file,
                    const std::function<std::optional<std::uint32_t>(int)>& entry);

/// Members of `mask` (bit i = member i + 1, i < `members`) in ascending
/// order: "%d" for the first, ",%d" for each further one.
std::string FormatPortList(std::uint32_t mask, int members);
/// Parses a port list: comma-separated decimal numbers 1..`maxPort`, a
/// trailing comma allowed, the empty list meaning no port. Any other element
/// makes the whole list unusable (nothing). Bit i of the result is port i+1.
std::optional<std::uint32_t> ParsePortList(std::string_view text, int maxPort);

inline constexpr std::string_view kBeginOfListLine = "# begin-of-list\n";
inline constexpr std::string_view kEndOfListLine = "# end-of-list\n";

/// True for the models whose ports 7 and 8 are fibre uplinks: their
/// speed-dependent port settings are written with empty values (GenA1: the
/// twelve models 0x0518 ... 0x05D8; GenA2 the same less 0x05C8 and 0x05D8).
bool IsFibreUplinkModel(Generation generation, std::uint16_t modelId);

/// "%02X-%02X-%02X-%02X-%02X-%02X".
std::string FormatMacDashed(std::span<const std::uint8_t, 6> mac);
/// Parses exactly 17 characters "XX-XX-XX-XX-XX-XX" (hexadecimal digits of
/// either case); nothing otherwise.
std::optional<std::array<std::uint8_t, 6>> ParseMacDashed(std::string_view text);

}  // namespace vantrell
