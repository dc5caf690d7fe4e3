#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_reader.h"
#include "config/gen_m1_sample_block.h"
#include "config/gen_m1_writer.h"
#include "config/version_handlers.h"

namespace vantrell {
namespace {

using namespace item;
using gen_m1::GenM1Accessors;

std::string Export(const DeviceRecord& record, ConfigBlock block) {
  GenM1Accessors accessors;
  std::string text;
  WriteGenM1ConfigFile(text, record, block, accessors);
  return text;
}

/// Moves every setting a file carries away from the exported value, as a
/// device whose configuration changed since the export.
void Drift(ConfigBlock& block) {
  GenM1Accessors a;
  for (ConfigItemId id = 1; id < 900; ++id) {
    for (std::size_t n = 0; n < 64; ++n) {
      ItemValue value;
      if (a.getItem(block, id, n, value) != ItemStatus::kOk) continue;
      // The trunk type a file shows is the trunk entry's own bit, which the
      // reader does not write (it sets the members' bits): not carried.
      if (id == kM1PortTrunkType && n >= gen_m1::kFirstTrunkEntry) continue;
      if (IsText(value)) {
        if (id != kM1FixVid && id != kM1FrbVid && id != kM1AccessIp)
          a.setText(block, id, "drift", n);
      } else {
        const std::uint32_t now = std::get<std::uint32_t>(value);
        if (a.setNumber(block, id, now + 1, n) != ItemStatus::kOk) a.setNumber(block, id, 1, n);
      }
    }
  }
  gen_m1::ClearListTables(block);
  auto bytes = block.bytes();
  std::fill_n(bytes.begin() + static_cast<long>(gen_m1::kVlanTable),
              gen_m1::kVlanEntries * gen_m1::kVlanEntrySize, 0);
  std::fill_n(bytes.begin() + static_cast<long>(gen_m1::kIgmpTable),
              gen_m1::kIgmpEntries * gen_m1::kIgmpEntrySize, 0);
}

struct Case {
  const char* name;
  gen_m1::SampleOptions options;
};

class GenM1RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(GenM1RoundTrip, ExportReadBackGivesEveryItemTheFileCarries) {
  const DeviceRecord record = gen_m1::SampleRecord(GetParam().options);
  const ConfigBlock original = gen_m1::SampleBlock(GetParam().options);
  const std::string file = Export(record, original);

  ConfigBlock device = original;
  Drift(device);
  ASSERT_NE(Export(record, device), file);
  DeviceRecord edited = record;
  GenM1Accessors accessors;
  ASSERT_EQ(ReadGenM1ConfigFile(edited, device, file, accessors), 0u);
  const std::string again = Export(record, device);
  EXPECT_TRUE(again == file);
  if (again != file) {
    std::size_t at = 0;
    while (at < file.size() && at < again.size() && file[at] == again[at]) ++at;
    ADD_FAILURE() << "first difference: " << file.substr(at > 80 ? at - 80 : 0, 160) << "\n---\n"
                  << again.substr(at > 80 ? at - 80 : 0, 160);
  }
  // A few values straight from the block.
  EXPECT_EQ(accessors.getNumber(device, kM1StpCost, 1), 20001u);
  EXPECT_EQ(accessors.getText(device, kM1Dot1xDbPasswd, 1), "pw1001");
  EXPECT_EQ(accessors.getNumber(device, kM1PortTrunkGroup, 25),
            GetParam().options.trunks ? 2u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Devices, GenM1RoundTrip,
                         ::testing::Values(Case{"full", {0x3FFFFFFF, true, true, true}},
                                           Case{"emptySlotsAndTrunks",
                                                {0x3FFFFFFF & ~0xF0u, false, true, false}},
                                           Case{"noTrunks", {0x030000FF, false, false, false}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GenM1RoundTripBlock, OwnExportRebuildsTheBlockByteForByte) {
  // Slots 2 and 5 empty: their ports are neither present nor populated.
  const gen_m1::SampleOptions options{0x3FF0FF0F, false, true, false};
  const DeviceRecord record = gen_m1::SampleRecord(options);
  const ConfigBlock original = gen_m1::SampleBlock(options);
  const std::string file = Export(record, original);
  ConfigBlock device = original;
  DeviceRecord edited = record;
  GenM1Accessors accessors;
  ASSERT_EQ(ReadGenM1ConfigFile(edited, device, file, accessors), 0u);
  for (std::size_t i = 0; i < device.size(); ++i) {
    if (device.bytes()[i] != original.bytes()[i]) {
      ADD_FAILURE() << "byte " << i << " changed";
      break;
    }
  }
}

TEST(GenM1RoundTripTable, RowSevenServesTheModularModel) {
  const HandlerSelection handlers = selectHandlers(0x0726, 0x00010200);
  ASSERT_TRUE(handlers);
  EXPECT_EQ(handlers.row->number, 7);
  EXPECT_EQ(handlers.accessors->blockSize(), 21136u);
  DeviceRecord record = gen_m1::SampleRecord();
  ConfigBlock block = gen_m1::SampleBlock();
  std::string text;
  handlers.row->writeConfigFile(text, record, block, *handlers.accessors);
  EXPECT_EQ(handlers.row->readConfigFile(record, block, text, *handlers.accessors), 0u);
}

}  // namespace
}  // namespace vantrell
