#pragma once
/// The configuration block of the second A8/R8 generation (GenA2, firmware
/// from 1.1.1.0, 12364 bytes): its layout table, its accessors, the list
/// tables that the writer and reader use directly (static unicast, static
/// multicast and IGMP entries, trunk groups of the ports), the fixed and
/// forbidden VID list algorithms of this generation and the clearing of the
/// list tables before a file is applied.
///
/// The block is the first generation's block up to offset 8507 with its own
/// differences: SNMP settings (with the trap server and community in the
/// bytes of the old trap server and community), the spanning-tree,
/// redundancy and IGMP fields moved behind offset 8508 and widened to the
/// four trunk entries, a wider static multicast table, and texts that are
/// stored without trailing blanks, carriage returns and NUL bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/config_block.h"
#include "config/gen_a_encodings.h"
#include "config/layout_accessors.h"

namespace vantrell {

namespace gen_a2 {

inline constexpr std::size_t kBlockSize = 12364;
inline constexpr int kPorts = 8;
/// Trunk entries 1..4 follow the eight ports as logical ports 9..12.
inline constexpr int kTrunks = 4;
inline constexpr int kLogicalPorts = kPorts + kTrunks;

/// Port records: 68 bytes per port; +0 inverted disable byte, +1 MDI (bits
/// 0-1) and FDX flow control (bit 2), +2 speed, +3 trunk group (0 none, 1..4).
inline constexpr std::size_t kPortRecords = 3448;
inline constexpr std::size_t kPortRecordSize = 68;
inline constexpr std::size_t kTrunkGroupAt = 3;
constexpr std::size_t TrunkGroupOffset(int port) {
  return kPortRecords + kPortRecordSize * static_cast<std::size_t>(port - 1) + kTrunkGroupAt;
}

/// Static unicast table: 128 entries of 12 bytes; byte 0 nonzero when used,
/// byte 1 port index (0 = port 1), bytes 2-7 MAC address, byte 8 priority.
inline constexpr std::size_t kUnicastTable = 1868;
inline constexpr std::size_t kUnicastEntrySize = 12;
inline constexpr std::size_t kUnicastEntries = 128;

/// Static multicast table: 128 entries of 12 bytes; u16 at +0 nonzero when
/// used, bytes 2-7 MAC address, u32 at +8 port mask (bit i = port i+1 for
/// i < 8, trunk i-7 for i = 8..11).
inline constexpr std::size_t kMulticastTable = 8508;
inline constexpr std::size_t kMulticastEntrySize = 12;
inline constexpr std::size_t kMulticastEntries = 128;

/// IGMP table: 64 entries of 12 bytes; u16 at +0 (bits 0-11 VID, bit 13
/// querier, bit 14 snooping), u16 at +2 router port mask (12 bits).
inline constexpr std::size_t kIgmpTable = 11444;
inline constexpr std::size_t kIgmpEntrySize = 12;
inline constexpr std::size_t kIgmpEntries = 64;
inline constexpr std::uint16_t kIgmpVidMask = 0x0FFF;
inline constexpr std::uint16_t kIgmpQuerierBit = 1u << 13;
inline constexpr std::uint16_t kIgmpSnoopingBit = 1u << 14;

/// Port masks of the lists cover the eight ports and the four trunks.
inline constexpr std::uint32_t kLogicalPortMask = 0x0FFF;

/// Value the reader stores in the used mark of an entry it fills.
inline constexpr std::uint8_t kEntryUsed = 1;

struct UnicastEntry {
  bool used = false;
  std::array<std::uint8_t, 6> mac{};
  std::uint8_t portIndex = 0;  ///< 0 = port 1
  std::uint8_t priority = 0;
};
struct MulticastEntry {
  bool used = false;
  std::array<std::uint8_t, 6> mac{};
  std::uint32_t portMask = 0;
};
struct IgmpEntry {
  std::uint16_t vid = 0;
  bool snooping = false;
  bool querier = false;
  std::uint16_t routerPorts = 0;
};

/// Entry n of a table; nothing when n or the entry lies outside the block.
std::optional<UnicastEntry> ReadUnicastEntry(ConstBlockBytes block, std::size_t n);
std::optional<MulticastEntry> ReadMulticastEntry(ConstBlockBytes block, std::size_t n);
/// Inline: the reader looks through the whole table for every IGMP line.
inline std::optional<IgmpEntry> ReadIgmpEntry(ConstBlockBytes block, std::size_t n) {
  const std::size_t at = kIgmpTable + kIgmpEntrySize * n;
  if (n >= kIgmpEntries || !FieldFits(block.size(), at, kIgmpEntrySize)) return std::nullopt;
  const std::uint16_t word = LoadLe16(block.data() + at);
  IgmpEntry entry;
  entry.vid = word & kIgmpVidMask;
  entry.snooping = (word & kIgmpSnoopingBit) != 0;
  entry.querier = (word & kIgmpQuerierBit) != 0;
  entry.routerPorts = LoadLe16(block.data() + at + 2);
  return entry;
}

/// The reader's table handling: an entry whose MAC address is already in
/// the table (among the used entries) is replaced, otherwise the first
/// unused entry is taken. False when the table is full (nothing changes).
bool PutUnicastEntry(BlockBytes block, const std::array<std::uint8_t, 6>& mac,
                     std::uint8_t portIndex, std::uint8_t priority);
bool PutMulticastEntry(BlockBytes block, const std::array<std::uint8_t, 6>& mac,
                       std::uint32_t portMask);
/// Updates the IGMP entry n: VID, snooping and querier bits and router
/// ports; bits 12 and 15 and bytes 4-11 of the entry are kept.
bool PutIgmpEntry(BlockBytes block, std::size_t n, const IgmpEntry& entry);

/// Trunk group (0..4, or what the byte holds) of port 1..8.
std::optional<std::uint8_t> TrunkGroupOf(ConstBlockBytes block, int port);
/// True when some port belongs to a trunk group (its trunk group byte is
/// not 0).
bool TrunkingActive(ConstBlockBytes block);

/// What clearListTables clears.
enum class ClearScope {
  /// The used marks of the unicast and multicast entries and the VLAN
  /// table (valid bits and membership words).
  kAllLists,
  /// The unicast and multicast marks, not the VLAN table.
  kUnicastAndMulticast,
  /// Only the multicast marks: with port trunking active the file carries
  /// neither VLAN nor unicast entries, so the device keeps its own.
  kMulticastOnly,
};
void ClearListTables(BlockBytes block, ClearScope scope = ClearScope::kAllLists);

/// The GenA2 fixed or forbidden list of `port` applied to the VLAN table
/// (only while the port's VLAN type is trunk): for each listed VID in order
/// a VID equal to the port's PVID ends the list; in the fixed list a VID
/// already forbidden on the port ends it too; a VID of a valid entry gets
/// the port's fixed bit (fixed list) or its forbidden bit with the fixed bit
/// kept (forbidden list); a VID without an entry takes the first free one
/// (fixed: bits 15 and 12 set; forbidden: bit 15 set) with the port's bit.
/// A text that the VID list parser refuses changes nothing.
ItemStatus ApplyVidList(BlockBytes block, int port, a8vlan::Membership which,
                        std::string_view text);

/// The layout table of the block; the VLAN items are hook rows.
std::span<const ItemField> Layout();

}  // namespace gen_a2

/// getItem and setItem of GenA2, driven by gen_a2::Layout(). The VLAN items
/// (type, PVID, fixed and forbidden lists, management VLAN) are its hook
/// rows: they keep the VLAN table up. Texts are stored without trailing
/// blanks, carriage returns and NUL bytes.
class GenA2Accessors final : public LayoutAccessors {
 public:
  GenA2Accessors();

  /// A text for the operator that the last reader run left (the rejected
  /// relay traffic threshold, shown alone in a plain message box before the
  /// group's message), taken once.
  std::optional<std::string> TakeReaderNotice();
  void SetReaderNotice(std::string text) { notice_ = std::move(text); }

 private:
  ItemStatus GetHook(const ConfigBlock& block, const ItemField& row, std::size_t n,
                     ItemValue& out) const override;
  ItemStatus SetHook(ConfigBlock& block, const ItemField& row, std::size_t n,
                     const ItemValue& value, const SetItemContext& context) override;

  std::optional<std::string> notice_;
};

std::unique_ptr<ItemAccessors> MakeGenA2Accessors();

/// The reader notice that `accessors` carry, if they are GenA2's (taken
/// once); nothing for any other generation.
std::optional<std::string> TakeGenA2ReaderNotice(ItemAccessors& accessors);

}  // namespace vantrell
