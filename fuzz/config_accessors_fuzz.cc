// Any block bytes, block size, item IDs and values through getItem and
// setItem of every D8 generation. Besides the sanitizers' checks: a refused
// write changes nothing, an accepted one changes nothing outside its item,
// and no byte past the block's valid size is ever written. The same
// operations also run on an exact-size heap copy of the block, so a read or
// write one byte past the end is caught by the address sanitizer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "config/gen_d_layouts.h"

namespace {

using namespace vantrell;

constexpr Generation kGenerations[] = {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3,
                                       Generation::kGenD4};

/// Reads the fuzzer's bytes front to back; yields zeros when they run out.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint32_t Word(int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return value;
  }
  std::string Text(std::size_t length) {
    std::string text;
    while (text.size() < length && !empty()) text.push_back(static_cast<char>(Byte()));
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

/// Nothing was written past the valid bytes: growing the block shows only
/// zeros there. D8 items all lie below 2048, so the check stops there.
bool TailIsZero(ConfigBlock& block) {
  constexpr std::size_t kChecked = 2048;
  const std::size_t size = block.size();
  if (size >= kChecked) return true;
  if (!block.Resize(kChecked)) return false;
  bool zero = true;
  for (std::size_t i = size; i < kChecked; ++i) zero = zero && block.ByteAt(i) == 0;
  block.Resize(size);
  return zero;
}

/// An item ID: mostly one of the layout's, sometimes any number.
ConfigItemId PickId(Input& in, std::span<const ItemField> layout) {
  const std::uint8_t how = in.Byte();
  if (how < 200 && !layout.empty()) return layout[in.Word(1) % layout.size()].id;
  return in.Word(how & 1 ? 4 : 2);
}

ItemValue PickValue(Input& in) {
  const std::uint8_t kind = in.Byte();
  if (kind & 1) return in.Text(kind >> 1);
  return in.Word(4);
}

void ExpectOnlyItemChanged(const std::vector<std::uint8_t>& before,
                           std::span<const std::uint8_t> after, const ItemField* row) {
  Check(row != nullptr);
  const std::size_t first = row->field.offset;
  const std::size_t end = first + FieldWidth(row->field);
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (i < first || i >= end) Check(before[i] == after[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  Input in(data, size);
  const Generation generation = kGenerations[in.Byte() % 4];
  const auto layout = GenDLayout(generation);
  auto accessors = MakeGenDAccessors(generation);

  // A block of the generation's size, or shorter or longer than it.
  const std::size_t blockBytes = in.Word(2) % (blockSize(generation) + 64);
  static auto* const block = new ConfigBlock;
  block->Prepare(blockBytes);
  const std::uint8_t seed = in.Byte();
  for (std::size_t i = 0; i < blockBytes; ++i) {
    block->SetByteAt(i, static_cast<std::uint8_t>(seed + i * 31 + (i >> 8)));
  }
  std::vector<std::uint8_t> exact(block->bytes().begin(), block->bytes().end());

  for (int step = 0; step < 64 && !in.empty(); ++step) {
    const ConfigItemId id = PickId(in, layout);
    const std::size_t listIndex = in.Byte();
    const ItemField* row = FindItemField(layout, id);
    if (in.Byte() & 1) {
      ItemValue out = std::string("unchanged");
      const ItemStatus status = accessors->getItem(*block, id, listIndex, out);
      if (status != ItemStatus::kOk) {
        Check(std::get<std::string>(out) == "unchanged");
      } else if (const auto* text = std::get_if<std::string>(&out)) {
        Check(row && text->size() <= FieldWidth(row->field));
        Check(text->find('\0') == std::string::npos);
      }
      if (row) {
        ItemValue direct;
        Check(ReadField(exact, row->field, direct) == status);
        if (status == ItemStatus::kOk) Check(direct == out);
      }
      continue;
    }
    const ItemValue value = PickValue(in);
    const std::vector<std::uint8_t> before(block->bytes().begin(), block->bytes().end());
    const ItemStatus status = accessors->setItem(*block, id, listIndex, value);
    Check(block->size() == blockBytes);
    if (status == ItemStatus::kOk) {
      ExpectOnlyItemChanged(before, block->bytes(), row);
    } else {
      Check(std::equal(before.begin(), before.end(), block->bytes().begin()));
    }
    if (row) {
      Check(WriteField(exact, row->field, value) == status);
      Check(std::equal(exact.begin(), exact.end(), block->bytes().begin()));
    }
  }
  Check(TailIsZero(*block));
  return 0;
}
