#include "config/a8vlan_table.h"

namespace vantrell {
namespace a8vlan {

namespace {
constexpr std::size_t kTableEnd = kTable + kEntrySize * kEntries;
constexpr std::uint16_t kKeptOnClaim = 0x6000;  // bits 13 and 14
constexpr std::uint16_t kBits12To14 = 0x7000;

bool TableFits(ConstBlockBytes block) { return block.size() >= kTableEnd; }
}  // namespace

std::optional<std::size_t> FindValidEntry(ConstBlockBytes block, std::uint32_t vid) {
  if (!TableFits(block)) return std::nullopt;
  for (std::size_t e = 0; e < kEntries; ++e) {
    const std::uint16_t word = *ReadU16(block, EntryOffset(e));
    if ((word & kValidBit) && (word & kVidMask) == vid) return e;
  }
  return std::nullopt;
}

std::optional<std::size_t> FirstFreeEntry(ConstBlockBytes block) {
  if (!TableFits(block)) return std::nullopt;
  for (std::size_t e = 0; e < kEntries; ++e) {
    if (!(*ReadU16(block, EntryOffset(e)) & kValidBit)) return e;
  }
  return std::nullopt;
}

void ClaimEntry(BlockBytes block, std::size_t entry, std::uint32_t vid, bool setBit12,
                std::uint32_t membership) {
  if (entry >= kEntries || !TableFits(block)) return;
  const std::size_t at = EntryOffset(entry);
  const std::uint16_t old = *ReadU16(block, at);
  const std::uint16_t kept = setBit12 ? (old & kKeptOnClaim) | kBit12 : (old & kBits12To14);
  WriteU16(block, at, static_cast<std::uint16_t>(kValidBit | kept | (vid & kVidMask)));
  WriteU32(block, at + kMembershipAt, membership);
}

void EnsureEntry(BlockBytes block, std::uint32_t vid) {
  if (FindValidEntry(block, vid)) return;
  if (const auto free = FirstFreeEntry(block)) ClaimEntry(block, *free, vid, true, 0);
}

ItemStatus WritePvid(BlockBytes block, int port, std::uint32_t value) {
  if (port < 1 || port > kPorts) return ItemStatus::kNotHandled;
  const std::size_t at = PortWordOffset(port);
  const auto word = ReadU32(block, at);
  if (!word || !TableFits(block)) return ItemStatus::kOutsideBlock;
  if (value < kMinVid || value > kMaxVid) return ItemStatus::kOutOfRange;
  WriteU32(block, at, (*word & ~kPvidMask) | value);
  EnsureEntry(block, value);
  return ItemStatus::kOk;
}

ItemStatus WriteManagementVid(BlockBytes block, std::uint32_t value) {
  if (!FieldFits(block, kManagementVid, 2) || !TableFits(block)) return ItemStatus::kOutsideBlock;
  if (value > 0xFFFF) return ItemStatus::kOutOfRange;
  WriteU16(block, kManagementVid, static_cast<std::uint16_t>(value));
  if (value >= kMinVid && value <= kMaxVid) EnsureEntry(block, value);
  return ItemStatus::kOk;
}

std::string FormatVidList(ConstBlockBytes block, int port, Membership which) {
  std::string list;
  if (port < 1 || port > kPorts || !TableFits(block)) return list;
  const std::uint32_t bit = which == Membership::kFixed ? FixedBit(port) : ForbiddenBit(port);
  for (std::size_t e = 0; e < kEntries; ++e) {
    const std::uint16_t word = *ReadU16(block, EntryOffset(e));
    const std::uint32_t vid = word & kVidMask;
    if (!(word & kValidBit) || vid < kMinVid || vid > kMaxVid) continue;
    if (!(*ReadU32(block, EntryOffset(e) + kMembershipAt) & bit)) continue;
    if (!list.empty()) list += ',';
    list += std::to_string(vid);
  }
  return list;
}

std::optional<std::vector<std::uint16_t>> ParseVidList(std::string_view text) {
  if (text.empty() || text.front() == '\n' || text.front() == '\r') return std::nullopt;
  constexpr int kMaxDigits = 7;
  std::vector<std::uint16_t> vids;
  std::uint32_t number = 0;
  int digits = 0;
  auto finish = [&] {
    if (digits > 0 && number >= kMinVid && number <= kMaxVid && vids.size() < kMaxListVids) {
      vids.push_back(static_cast<std::uint16_t>(number));
    }
    number = 0;
    digits = 0;
  };
  for (const char c : text) {
    if (c == '\0') break;
    if (c >= '0' && c <= '9') {
      if (digits < kMaxDigits) number = number * 10 + static_cast<std::uint32_t>(c - '0');
      ++digits;
    } else if (c == ',') {
      finish();
    }
  }
  finish();
  return vids;
}

void ClearTable(BlockBytes block) {
  if (!TableFits(block)) return;
  for (std::size_t e = 0; e < kEntries; ++e) {
    const std::size_t at = EntryOffset(e);
    WriteU16(block, at, static_cast<std::uint16_t>(*ReadU16(block, at) & ~kValidBit));
    WriteU32(block, at + kMembershipAt, 0);
  }
}

}  // namespace a8vlan

}  // namespace vantrell
