// Any bytes as a configuration file through the GenA2 reader into a sample
// block (the first byte picks a short block, a trunking device, the model
// and whether the lists are full). Besides the sanitizers' checks:
// - the result is 0, exactly one function-group bit, or kBlockRefused for a
//   short block, which is then left untouched;
// - nothing past the block's valid size is written;
// - a block the reader accepted exports to a file that the reader takes
//   back without error, and from the second export on the file stays the
//   same (the slots of the VLAN and IGMP entries may still move).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/gen_a2_layout.h"
#include "config/gen_a2_reader.h"
#include "config/gen_a2_sample.h"
#include "config/gen_a2_writer.h"

namespace {

using namespace vantrell;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool OneBit(ValidationFlags flags) { return flags != 0 && (flags & (flags - 1)) == 0; }

constexpr std::uint16_t kModels[] = {0x0508, 0x0518, 0x0538, 0x05C8};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

  DeviceRecord record{};
  record.modelId = kModels[(options >> 2) & 3];
  SetFieldText(record.password, (options & 0x10) ? "adminpass" : "pw");
  ConfigBlock block = MakeGenA2SampleBlock({0, (options & 1) != 0, (options & 0x20) != 0});
  const bool shortBlock = (options & 2) != 0;
  if (shortBlock) block.Resize(gen_a2::kBlockSize - 4);
  const ConfigBlock before = block;

  GenA2Accessors accessors;
  const ValidationFlags flags = ReadGenA2File(record, block, file, accessors).flags;
  if (shortBlock) {
    Check(flags == validation::kBlockRefused);
    Check(block == before);
    return 0;
  }
  Check(flags == 0 || OneBit(flags));
  Check(flags != validation::kBlockRefused);
  ConfigBlock grown = block;
  grown.Resize(ConfigBlock::kCapacity);
  for (std::size_t i = gen_a2::kBlockSize; i < ConfigBlock::kCapacity; ++i) {
    Check(grown.bytes()[i] == 0);
  }
  if (flags != 0) return 0;

  // The accepted block's own export is accepted again, and from then on
  // the file stays the same (the first passes may still move VLAN and IGMP
  // entries between slots).
  SetFieldText(record.smtpPassword,
               accessors.getText(block, item::D_CONF_ETH_WARN_SMTP_PASSWD).value_or(""));
  std::string text;
  ConfigBlock exported = block;
  WriteGenA2ConfigFile(text, record, exported, accessors);
  ConfigBlock again = block;
  Check(ReadGenA2File(record, again, text, accessors).flags == 0);
  std::string secondText;
  exported = again;
  WriteGenA2ConfigFile(secondText, record, exported, accessors);
  ConfigBlock third = again;
  Check(ReadGenA2File(record, third, secondText, accessors).flags == 0);
  std::string thirdText;
  exported = third;
  WriteGenA2ConfigFile(thirdText, record, exported, accessors);
  Check(thirdText == secondText);
  return 0;
}
