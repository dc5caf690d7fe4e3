// Any bytes as a configuration file through a D8 reader into a block (the
// first byte picks the generation, a short block and the model), and
// through the file lookups. Besides the sanitizers' checks:
// - a reader returns 0, or kBlockRefused for a short block, which it then
//   leaves untouched;
// - no byte that belongs to no item changes, and nothing past the block's
//   valid size is written;
// - of the edited record only the password may change, and it stays a
//   terminated text of at most 16 characters;
// - the indexed lookups answer as the C line reader (fgets on the text)
//   does, for a sequence of lookups chosen by the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_lookup.h"
#include "config/gen_d_layouts.h"
#include "config/gen_d_readers.h"

namespace {

using namespace vantrell;

constexpr Generation kGenerations[] = {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3,
                                       Generation::kGenD4};

void Check(bool ok) {
  if (!ok) std::abort();
}

/// Bytes of the generation's block that some item covers.
std::vector<bool> CoveredBytes(Generation generation) {
  std::vector<bool> covered(blockSize(generation), false);
  for (const ItemField& row : GenDLayout(generation)) {
    const std::size_t end = row.field.offset + FieldWidth(row.field);
    for (std::size_t i = row.field.offset; i < end && i < covered.size(); ++i) covered[i] = true;
  }
  return covered;
}

/// Nothing was written past the valid bytes: growing the block shows only
/// zeros there.
bool TailIsZero(ConfigBlock& block, std::size_t upTo) {
  const std::size_t size = block.size();
  if (!block.Resize(upTo)) return false;
  bool zero = true;
  for (std::size_t i = size; i < upTo; ++i) zero = zero && block.ByteAt(i) == 0;
  block.Resize(size);
  return zero;
}

void RunReader(Generation generation, std::string_view file, bool shortBlock, std::uint8_t seed) {
  static auto* const block = new ConfigBlock;
  const std::size_t size = blockSize(generation) - (shortBlock ? 1 : 0);
  block->Prepare(size);
  for (std::size_t i = 0; i < size; ++i) {
    block->SetByteAt(i, static_cast<std::uint8_t>(seed + i * 29 + (i >> 7)));
  }
  const ConfigBlock before = *block;

  DeviceRecord record = MakeZeroRecord();
  record.modelId = static_cast<std::uint16_t>(0x6008 + 0x10 * (seed % 10));
  SetFieldText(record.password, "before");
  DeviceRecord expected = record;

  auto accessors = MakeGenDAccessors(generation);
  const ValidationFlags flags = GenDReaderFor(generation)(record, *block, file, *accessors);

  Check(block->size() == size);
  Check(TailIsZero(*block, 2048));
  if (shortBlock) {
    Check(flags == validation::kBlockRefused);
    Check(*block == before);
    Check(record == expected);
    return;
  }
  Check(flags == 0);
  static const std::vector<bool> covered[] = {
      CoveredBytes(Generation::kGenD1), CoveredBytes(Generation::kGenD2),
      CoveredBytes(Generation::kGenD3), CoveredBytes(Generation::kGenD4)};
  const std::vector<bool>& mine =
      covered[static_cast<int>(generation) - static_cast<int>(Generation::kGenD1)];
  for (std::size_t i = 0; i < size; ++i) {
    if (!mine[i]) Check(block->ByteAt(i) == before.ByteAt(i));
  }
  Check(std::memchr(record.password, 0, sizeof record.password) != nullptr);
  Check(std::strlen(record.password) <= kPasswordLength);
  std::memcpy(expected.password, record.password, sizeof expected.password);
  Check(record == expected);
}

/// The C line reader's answer for one lookup.
std::string ReferenceLookup(std::FILE* stream, const std::string& key, bool token, int bufferSize,
                            bool rewind) {
  if (!stream) return "donothing";
  if (rewind) std::rewind(stream);
  std::vector<char> buf(static_cast<std::size_t>(bufferSize));
  std::vector<char> first(1024);
  std::vector<char> second(1024);
  while (std::fgets(buf.data(), bufferSize, stream)) {
    if (buf[0] == '#') continue;
    int keyEnd = 0;
    if (std::sscanf(buf.data(), " %1000s%n", first.data(), &keyEnd) < 1) continue;
    if (key != first.data()) continue;
    if (token) {
      if (std::sscanf(buf.data() + keyEnd, " %1000s", second.data()) < 1) return "";
      return second.data();
    }
    const char* p = buf.data() + keyEnd;
    while (*p == ' ' || *p == '\t') ++p;
    std::string value(p);
    while (!value.empty() && static_cast<unsigned char>(value.back()) <= ' ') value.pop_back();
    return value;
  }
  return "donothing";
}

void RunLookups(std::string_view file, std::uint8_t script) {
  ConfigFileLookup lookup(file);
  std::string text(lookup.Text());
  std::FILE* stream = text.empty() ? nullptr : fmemopen(text.data(), text.size(), "r");
  for (int step = 0; step < 8; ++step) {
    const unsigned op = (script >> (step % 4 * 2)) & 3u;
    const bool contact = (step + script) % 3 != 0;
    const char* name = contact ? "D_CONF_ETH_CONTACT" : "D_CONF_IGMPSNOOP_ENTRY";
    const std::string key = contact ? "Contact" : "IGMPSNOOP";
    std::string mine;
    std::string theirs;
    switch (op) {
      case 0:
        mine = lookup.findValueToken(name);
        theirs = ReferenceLookup(stream, key, true, 330, true);
        break;
      case 1:
        mine = lookup.findValueText(name);
        theirs = ReferenceLookup(stream, key, false, 330, true);
        break;
      case 2:
        mine = lookup.findValueTextShort(name);
        theirs = ReferenceLookup(stream, key, false, 200, true);
        break;
      default:
        mine = lookup.findNextValueText(name);
        theirs = ReferenceLookup(stream, key, false, 200, false);
        break;
    }
    Check(mine == theirs);
  }
  if (stream) std::fclose(stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 65536) return 0;
  const std::uint8_t control = data[0];
  // The file as an exact-size heap copy, so a read past its end is caught.
  std::vector<char> bytes(data + 1, data + size);
  const std::string_view file(bytes.data(), bytes.size());
  RunReader(kGenerations[control & 3], file, (control & 0x80) != 0, control);
  RunLookups(file, control);
  return 0;
}
