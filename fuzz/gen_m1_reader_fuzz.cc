// Any bytes as a configuration file through the modular model's sequential
// reader into a sample block (the first byte picks a short block, trunks,
// full list tables and the trunk-capable ports). Besides the sanitizers'
// checks:
// - the result is 0, exactly one flag bit, or kBlockRefused for a short
//   block, which is then left untouched;
// - nothing past the block's valid size is written;
// - a block the reader accepted exports to a file that the reader takes
//   back without error; from then on export and reading are a fixed point
//   (the first file may be settled by the second reading: a member port's
//   spanning-tree line read while the file's protocol said ring, say).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/gen_m1_block.h"
#include "config/gen_m1_reader.h"
#include "config/gen_m1_sample_block.h"
#include "config/gen_m1_writer.h"

namespace {

using namespace vantrell;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool OneBit(ValidationFlags flags) { return flags != 0 && (flags & (flags - 1)) == 0; }

std::string Export(const DeviceRecord& record, ConfigBlock block) {
  gen_m1::GenM1Accessors accessors;
  std::string text;
  WriteGenM1ConfigFile(text, record, block, accessors);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

  gen_m1::SampleOptions sample;
  sample.trunks = (options & 1) != 0;
  sample.fullLists = (options & 4) != 0;
  sample.allSlotsPopulated = (options & 8) != 0;
  DeviceRecord record = gen_m1::SampleRecord(sample);
  if (options & 0x10) record.trunkPortMask = 0x00FF00FF;
  ConfigBlock block = gen_m1::SampleBlock(sample);
  const bool shortBlock = (options & 2) != 0;
  if (shortBlock) block.Resize(gen_m1::kBlockSize - 1);
  const ConfigBlock before = block;

  gen_m1::GenM1Accessors accessors;
  const ValidationFlags flags = ReadGenM1ConfigFile(record, block, file, accessors);
  if (shortBlock) {
    Check(flags == validation::kBlockRefused);
    Check(block == before);
    return 0;
  }
  Check(flags == 0 || OneBit(flags));
  Check(block.size() == gen_m1::kBlockSize);
  if (flags != 0) return 0;

  const std::string text = Export(record, block);
  ConfigBlock again = block;
  Check(ReadGenM1ConfigFile(record, again, text, accessors) == 0);
  const std::string settled = Export(record, again);
  ConfigBlock third = again;
  Check(ReadGenM1ConfigFile(record, third, settled, accessors) == 0);
  Check(Export(record, third) == settled);
  return 0;
}
