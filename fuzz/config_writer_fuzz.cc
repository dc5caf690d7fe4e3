// Any bytes as a device's configuration block through the accessors and
// the file writer of every generation (the first byte picks the
// generation, the second the record and a short block, the third how many
// accessor operations follow; the rest is the block, zero-filled to its
// size), and the writer's file back through the generation's reader.
// Besides the sanitizers' checks:
// - a setItem that is refused changes no byte of the block; the block's
//   size never changes;
// - getItem yields no text with a NUL byte;
// - the file starts with the header line, ends with the end line, holds no
//   NUL byte and only CR LF line ends;
// - the reader takes the file back with 0 or exactly one flag bit, and
//   never resizes the block.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_writer.h"
#include "config/version_handlers.h"

namespace {

using namespace vantrell;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool OneBitOrNone(std::uint32_t flags) { return (flags & (flags - 1)) == 0; }

/// A record as a search and an export leave it; the options pick texts and masks.
DeviceRecord MakeRecord(const VersionHandlerRow& row, std::uint8_t options) {
  DeviceRecord record = MakeZeroRecord();
  static constexpr std::uint16_t kModels[] = {0x0508, 0x0538, 0x6008, 0x6068, 0x0726};
  record.modelId = kModels[options % 5];
  while (!row.modelTest(record.modelId)) record.modelId = kModels[(++options) % 5];
  record.firmwareVersion = row.firmwareLow;
  SetFieldText(record.modelName, options & 8 ? "ORV-A8-F1" : "ORV-D8");
  SetFieldText(record.password, options & 16 ? "0123456789abcdef" : "pw");
  SetFieldText(record.smtpPassword, options & 32 ? std::string(45, 'm') : "mail");
  record.portMask = options & 64 ? 0x3FFFFFFF : 0x0300FF0F;
  record.trunkPortMask = options & 64 ? 0x03FFFFFF : 0x00FF00FF;
  for (std::size_t slot = 0; slot < record.moduleType.size(); ++slot) {
    record.moduleType[slot] = static_cast<std::uint8_t>((options >> (slot % 3)) & 3);
  }
  return record;
}

void CheckFile(std::string_view text) {
  Check(text.starts_with(kConfigFileHeaderLine));
  Check(text.find('\0') == std::string_view::npos);
  std::string_view trimmed = text;
  while (trimmed.ends_with("\r\n")) trimmed.remove_suffix(2);
  Check(trimmed.ends_with(kConfigFileEndLine));
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') Check(i > 0 && text[i - 1] == '\r');
  }
}

/// Accessor operations from the input: 6 bytes each (ID, list index, kind, value).
void RunOperations(ItemAccessors& accessors, ConfigBlock& block, const std::uint8_t* ops,
                   std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    const std::uint8_t* op = ops + 6 * k;
    const ConfigItemId id = static_cast<ConfigItemId>(op[0] | (op[1] << 8)) % 1024;
    const std::size_t listIndex = op[2] % 40;
    const std::uint32_t number = op[4] | (op[5] << 8);
    if (op[3] & 1) {
      ItemValue out;
      if (accessors.getItem(block, id, listIndex, out) == ItemStatus::kOk) {
        if (const auto* text = std::get_if<std::string>(&out)) {
          Check(text->find('\0') == std::string::npos);
        }
      }
      continue;
    }
    const ItemValue value = (op[3] & 2) ? ItemValue(std::string(op[4] % 50, char('0' + op[5] % 10)))
                                        : ItemValue(number);
    const std::vector<std::uint8_t> before(block.bytes().begin(), block.bytes().end());
    const std::size_t size = block.size();
    if (accessors.setItem(block, id, listIndex, value) != ItemStatus::kOk) {
      Check(std::equal(before.begin(), before.end(), block.bytes().begin()));
    }
    Check(block.size() == size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || size > 40000) return 0;
  const auto table = VersionHandlerTable();
  const VersionHandlerRow& row = table[data[0] % table.size()];
  if (!row.IsBuilt() || !row.writeConfigFile) return 0;
  const std::uint8_t options = data[1];
  const std::size_t operations = std::min<std::size_t>(data[2] % 32, (size - 3) / 6);
  const std::uint8_t* ops = data + 3;
  const std::uint8_t* blockBytes = ops + 6 * operations;
  const std::size_t given = static_cast<std::size_t>(data + size - blockBytes);

  const bool shortBlock = (options & 0x80) != 0;
  const std::size_t blockSize = row.blockSize() - (shortBlock ? 1 + options % 64 : 0);
  ConfigBlock block(blockSize);
  std::copy_n(blockBytes, std::min(given, blockSize), block.bytes().begin());
  auto accessors = row.makeAccessors();
  RunOperations(*accessors, block, ops, operations);

  DeviceRecord record = MakeRecord(row, options);
  std::string text;
  row.writeConfigFile(text, record, block, *accessors);
  Check(block.size() == blockSize);
  CheckFile(text);

  if (!row.readConfigFile) return 0;
  ConfigBlock again = block;
  DeviceRecord edited = record;
  const std::uint32_t flags = row.readConfigFile(edited, again, text, *accessors);
  Check(again.size() == blockSize);
  Check(OneBitOrNone(flags));
  return 0;
}
