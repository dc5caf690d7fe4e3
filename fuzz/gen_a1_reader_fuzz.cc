// Any bytes as a configuration file through the first-generation A8/R8
// reader into a fixed, patterned block (the first byte picks the model, so
// the fibre uplink rules run too). Besides the sanitizers' checks:
// - the reader returns 0 (it never rejects a file);
// - no byte that belongs to no item or table changes;
// - nothing past the block's valid size is written;
// - the edited record does not change;
// - the block's own export reads back without refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "config/gen_a1_layout.h"
#include "config/gen_a1_reader.h"
#include "config/gen_a1_writer.h"

namespace {

using namespace vantrell;

constexpr std::size_t kSize = 8508;
constexpr std::uint16_t kModels[] = {0x0508, 0x0518, 0x05C8, 0x0538};

void Check(bool ok) {
  if (!ok) std::abort();
}

std::vector<bool> CoveredBytes() {
  std::vector<bool> covered(kSize, false);
  auto mark = [&](std::size_t offset, std::size_t size) {
    for (std::size_t i = 0; i < size && offset + i < kSize; ++i) covered[offset + i] = true;
  };
  for (const ItemField& row : GenA1Layout()) {
    const FieldExtent e = ExtentOf(row.field);
    mark(e.offset, e.size);
    mark(e.offset2, e.size2);
  }
  mark(a8vlan::kPortWords, 4 * a8vlan::kPorts);
  mark(a8vlan::kManagementVid, 2);
  for (std::size_t e = 0; e < a8vlan::kEntries; ++e) {
    mark(a8vlan::EntryOffset(e), 2);
    mark(a8vlan::EntryOffset(e) + a8vlan::kMembershipAt, 4);
    mark(a1::IgmpEntry(e), 3);
  }
  for (std::size_t n = 0; n < a1::kMulticastEntries; ++n) mark(a1::MulticastEntry(n), 8);
  for (std::size_t n = 0; n < a1::kUnicastEntries; ++n) mark(a1::UnicastEntry(n), 9);
  return covered;
}

ConfigBlock PatternBlock() {
  ConfigBlock block(kSize);
  for (std::size_t i = 0; i < kSize; ++i) {
    block.SetByteAt(i, static_cast<std::uint8_t>((i * 37 + 11) ^ (i >> 3)));
  }
  return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<bool> covered = CoveredBytes();
  static const ConfigBlock pattern = PatternBlock();
  if (size == 0) return 0;
  const std::uint16_t model = kModels[data[0] % std::size(kModels)];
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

  DeviceRecord record = MakeZeroRecord();
  record.modelId = model;
  const DeviceRecord before = record;
  static auto* const block = new ConfigBlock;
  *block = pattern;
  GenA1Accessors accessors;
  Check(readGenA1ConfigFile(record, *block, file, accessors) == 0);
  Check(std::memcmp(&record, &before, sizeof record) == 0);
  for (std::size_t i = 0; i < kSize; ++i) {
    if (!covered[i]) Check(*block->ByteAt(i) == *pattern.ByteAt(i));
  }
  Check(block->Resize(ConfigBlock::kCapacity));
  for (std::size_t i = kSize; i < ConfigBlock::kCapacity; i += 97) Check(*block->ByteAt(i) == 0);
  Check(block->Resize(kSize));

  // Whatever the file did, the block exports and reads back (for inputs
  // whose first byte has its top bit set: the round trip is slow).
  if ((data[0] & 0x80) == 0) return 0;
  std::string text;
  ConfigBlock copy = *block;
  WriteGenA1ConfigFile(text, record, copy, accessors);
  GenA1Accessors again;
  Check(readGenA1ConfigFile(record, copy, text, again) == 0);
  return 0;
}
