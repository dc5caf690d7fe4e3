#pragma once
/// The configuration block of the modular model (GenM1, 21136 bytes): the
/// port index space and its names, the offsets of the per-port records and
/// list tables, and the item accessors. Most settings are lists, so the
/// accessors take a list index: the port index for per-port items, the
/// entry number for the other lists.
///
/// Port indices 0..23 are the module ports (six slots of four), 24 and 25
/// the gigabit ports, 26..29 the four trunk entries.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "config/config_block.h"
#include "config/layout_accessors.h"

namespace vantrell {
namespace gen_m1 {

inline constexpr std::size_t kBlockSize = 21136;

inline constexpr std::size_t kPortCount = 30;      ///< indices 0..29
inline constexpr std::size_t kPhysicalPorts = 26;  ///< module and gigabit ports
inline constexpr std::size_t kModulePorts = 24;
inline constexpr std::size_t kFirstTrunkEntry = 26;
inline constexpr std::size_t kTrunkGroups = 4;
inline constexpr std::size_t kSlotCount = 7;  ///< six module slots; the gigabit ports are slot 6
inline constexpr std::uint32_t kAllPortsMask = (1u << kPortCount) - 1;

// Offsets of the records and tables that the writer and reader walk.
inline constexpr std::size_t kFlagWord = 24;
inline constexpr std::size_t kUserPassword = 76;
inline constexpr std::size_t kAdminPassword = 92;
inline constexpr std::size_t kTrapCommunity = 108;
inline constexpr std::size_t kAccessAddresses = 692;  ///< 10 x ipv4
inline constexpr std::size_t kAccessNetmasks = 732;   ///< 10 x ipv4
inline constexpr std::size_t kUnicastTable = 930;
inline constexpr std::size_t kUnicastEntries = 128;
inline constexpr std::size_t kStaticEntrySize = 16;
inline constexpr std::size_t kPortRecords = 2976;
inline constexpr std::size_t kPortRecordSize = 68;
inline constexpr std::size_t kVlanPortWords = 5660;
inline constexpr std::size_t kVlanTable = 5812;
inline constexpr std::size_t kVlanEntries = 64;
inline constexpr std::size_t kVlanEntrySize = 68;
inline constexpr std::size_t kVlanMembership = 4;  ///< offset of the 30 membership bytes
inline constexpr std::size_t kMulticastTable = 10134;
inline constexpr std::size_t kMulticastEntries = 128;
inline constexpr std::size_t kIgmpTable = 15648;
inline constexpr std::size_t kIgmpEntries = 64;
inline constexpr std::size_t kIgmpEntrySize = 20;
inline constexpr std::size_t kDot1xUsers = 17200;
inline constexpr std::size_t kDot1xUserCount = 32;
inline constexpr std::size_t kDot1xUserSize = 104;
inline constexpr std::size_t kDot1xUsedFlag = 100;
/// Static entries: bytes 0-5 MAC, u32 at +6 port index (unicast) or port
/// mask (multicast), byte +13 used when not 0.
inline constexpr std::size_t kStaticPort = 6;
inline constexpr std::size_t kStaticUsed = 13;

// VLAN table entry word.
inline constexpr std::uint16_t kVlanValid = 0x8000;
inline constexpr std::uint16_t kVlanMadeByAccessor = 0x1000;
inline constexpr std::uint16_t kVidMask = 0x0FFF;
inline constexpr std::uint8_t kFixedMember = 0x04;
inline constexpr std::uint8_t kForbiddenMember = 0x08;
// IGMP entry word.
inline constexpr std::uint16_t kIgmpQuerier = 0x2000;
inline constexpr std::uint16_t kIgmpSnooping = 0x4000;

/// The name that configuration files use for a port index: "1-1" .. "6-4",
/// "G-1", "G-2", "Trk1" .. "Trk4"; an empty text from 30 upward.
std::string PortNameOfIndex(std::size_t index);

/// The index of a port name; either case of the leading letter ("g-1",
/// "trk2"). Nothing for any other text.
std::optional<std::size_t> PortIndexOfName(std::string_view name);

/// The slot of a port index below 26: index / 4 (6 for the gigabit ports).
constexpr std::size_t SlotOfPort(std::size_t index) { return index / 4; }

/// Outcome of storing a VID list.
enum class VidListResult {
  kApplied,  ///< every VID was applied (or the list was empty)
  kRefused,  ///< a VID broke a rule; the VIDs before it stay applied
};

/// The item accessors of GenM1: a layout table whose list rows take the
/// port index or entry number as list index. The trunk group and type, ToS
/// inspection by port group, the VLAN items and the 802.1X user name are its
/// hook rows. Texts are cut at their first NUL and stored without trailing
/// blanks, carriage returns and NUL bytes.
class GenM1Accessors final : public LayoutAccessors {
 public:
  GenM1Accessors();

  /// Stores a fixed (836) or forbidden (835) VID list for a port; the list
  /// is applied only when the port's VLAN type was read as trunk.
  VidListResult StoreVidList(ConfigBlock& block, ConfigItemId id, std::size_t port,
                             std::string_view text, bool portTypeIsTrunk) const;

 private:
  ItemStatus GetHook(const ConfigBlock& block, const ItemField& row, std::size_t n,
                     ItemValue& out) const override;
  ItemStatus SetHook(ConfigBlock& block, const ItemField& row, std::size_t n,
                     const ItemValue& value, const SetItemContext& context) override;
};

std::unique_ptr<ItemAccessors> MakeGenM1Accessors();

/// The list tables that a file replaces: the used marks of the 802.1X
/// users and static entries, the VLAN table (VID word and the 30 per-port
/// bytes), the VIDs of the IGMP entries and the first byte of the four
/// trunk entries.
void ClearListTables(ConfigBlock& block);

/// Makes sure a valid VLAN entry holds `vid`: when none does, the first
/// entry whose valid bit is clear becomes valid (bits 15 and 12) with the
/// VID and an empty membership. False when the table is full.
bool EnsureVlanEntry(ConfigBlock& block, std::uint16_t vid);

/// Index of the valid VLAN entry that holds `vid`, if any.
std::optional<std::size_t> FindVlanEntry(const ConfigBlock& block, std::uint16_t vid);

}  // namespace gen_m1
}  // namespace vantrell
