#pragma once
/// The configuration block of the first A8/R8 generation (GenA1, 8508
/// bytes): its layout table (item ID -> offset and encoding), the tables
/// that the file writer reads directly (static multicast, static unicast,
/// IGMP), and the accessors.
///
/// Besides the table, the accessors handle the VLAN items themselves:
/// - the port's VLAN type (400 + 4(p-1)) is bit 12 of the port's VLAN word
///   (1 access, 0 trunk); storing 0 also sets the port's trunk flag, any
///   other value clears it. The eight trunk flags live in the accessors, not
///   in the block; clearListTables clears them.
/// - the PVID (401 + 4(p-1), 1..4094) and the management VLAN (445) make
///   sure the VLAN table holds an entry for their VID.
/// - the fixed and forbidden VID lists (402/403 + 4(p-1)) read as list
///   texts and are applied to the VLAN table only while the port's VLAN word
///   says trunk and its trunk flag is set.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "config/config_block.h"
#include "config/gen_a_encodings.h"
#include "config/layout_accessors.h"

namespace vantrell {

namespace a1 {
inline constexpr int kPorts = 8;

/// Static multicast table: 128 entries of 8 bytes; byte 0 nonzero when
/// used, byte 1 port mask (bit i = port i+1), bytes 2-7 the MAC address.
inline constexpr std::size_t kMulticastTable = 844;
inline constexpr std::size_t kMulticastEntrySize = 8;
inline constexpr std::size_t kMulticastEntries = 128;
inline constexpr std::size_t kMulticastPortsAt = 1;
inline constexpr std::size_t kMulticastMacAt = 2;

/// Static unicast table: 128 entries of 12 bytes; byte 0 nonzero when used,
/// byte 1 port index (0 = port 1), bytes 2-7 the MAC address, byte 8 the
/// priority 0-3.
inline constexpr std::size_t kUnicastTable = 1868;
inline constexpr std::size_t kUnicastEntrySize = 12;
inline constexpr std::size_t kUnicastEntries = 128;
inline constexpr std::size_t kUnicastPortAt = 1;
inline constexpr std::size_t kUnicastMacAt = 2;
inline constexpr std::size_t kUnicastPriorityAt = 8;

/// IGMP table: 64 entries of 8 bytes; u16 at +0 (bits 0-11 VID, bit 13
/// querier, bit 14 snooping), byte at +2 the router port mask.
inline constexpr std::size_t kIgmpTable = 7988;
inline constexpr std::size_t kIgmpEntrySize = 8;
inline constexpr std::size_t kIgmpEntries = 64;
inline constexpr std::size_t kIgmpRouterPortsAt = 2;
inline constexpr std::uint16_t kIgmpVidMask = 0x0FFF;
inline constexpr std::uint16_t kIgmpQuerierBit = 1u << 13;
inline constexpr std::uint16_t kIgmpSnoopingBit = 1u << 14;

/// Port records of 68 bytes: +0 disable byte, +1 MDI bits and FDX bit,
/// +2 speed, +3 trunk group.
inline constexpr std::size_t kPortRecords = 3448;
inline constexpr std::size_t kPortRecordSize = 68;

constexpr std::size_t MulticastEntry(std::size_t n) {
  return kMulticastTable + kMulticastEntrySize * n;
}
constexpr std::size_t UnicastEntry(std::size_t n) { return kUnicastTable + kUnicastEntrySize * n; }
constexpr std::size_t IgmpEntry(std::size_t n) { return kIgmpTable + kIgmpEntrySize * n; }
constexpr std::size_t PortRecord(int port) {
  return kPortRecords + kPortRecordSize * static_cast<std::size_t>(port - 1);
}
}  // namespace a1

/// The GenA1 layout table: every item of the block; the VLAN type, PVID,
/// VID list and management VLAN items are hook rows, handled by the
/// accessors' code.
std::span<const ItemField> GenA1Layout();

/// The IDs the GenA1 accessors handle beyond the layout table.
bool IsGenA1VlanItem(ConfigItemId id);

class GenA1Accessors final : public LayoutAccessors {
 public:
  GenA1Accessors();

  /// Before a file is applied: clears byte 0 of the 128 static unicast and
  /// the 128 static multicast entries, bit 15 and the membership word of
  /// the 64 VLAN entries, and the eight trunk flags.
  void clearListTables(ConfigBlock& block);

  /// The trunk flag of port 1..8 (false outside).
  bool trunkFlag(int port) const;

 private:
  ItemStatus GetHook(const ConfigBlock& block, const ItemField& row, std::size_t n,
                     ItemValue& out) const override;
  ItemStatus SetHook(ConfigBlock& block, const ItemField& row, std::size_t n,
                     const ItemValue& value, const SetItemContext& context) override;

  ItemStatus GetVlanItem(const ConfigBlock& block, ConfigItemId id, ItemValue& out) const;
  ItemStatus SetVlanItem(ConfigBlock& block, ConfigItemId id, const ItemValue& value);
  ItemStatus ApplyFixedList(ConfigBlock& block, int port, std::string_view text) const;
  ItemStatus ApplyForbiddenList(ConfigBlock& block, int port, std::string_view text) const;
  /// The port's VLAN word says trunk and its flag is set.
  bool ListsApply(const ConfigBlock& block, int port) const;

  std::array<bool, a1::kPorts> trunkFlags_{};
};

std::unique_ptr<ItemAccessors> MakeGenA1Accessors();

}  // namespace vantrell
