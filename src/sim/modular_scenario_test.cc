// The lab's modular device (scripts/lab/modular.json): module slots, port
// masks and the block file as the simulator loads and answers them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sim/scenario.h"
#include "sim/session_messages.h"

namespace vantrell::sim {
namespace {

const std::string kScenario =
    (std::filesystem::path(VANTRELL_SOURCE_DIR) / "scripts/lab/modular.json").string();

TEST(ModularScenario, SlotsMasksAndBlockOfTheLabDevice) {
  const ScenarioLoad load = LoadScenarioFile(kScenario);
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_TRUE(load.warnings.empty());
  ASSERT_EQ(load.scenario->devices.size(), 1u);
  const SimDevice& device = load.scenario->devices[0];
  EXPECT_EQ(device.modelId, 0x0726);
  EXPECT_EQ(device.configBlock.size(), 21136u);
  EXPECT_EQ(GenerationBlockSize(device.modelId, device.firmwareVersion), 21136u);
  // Slots 2 and 5 empty, the gigabit slot populated.
  const std::uint8_t types[] = {1, 0, 1, 2, 0, 2, 1, 0};
  for (std::size_t slot = 0; slot < 8; ++slot) EXPECT_EQ(device.modules[slot].type, types[slot]);
  EXPECT_EQ(device.portMask, 0x3FF0FF0Fu);
  EXPECT_EQ(device.trunkPortMask, 0x03FFFFFFu);
  EXPECT_EQ(EncodePortMasksReply(device.portMask, device.trunkPortMask),
            (Bytes{0x1E, 0x01, 0x0F, 0xFF, 0xF0, 0x3F, 0xFF, 0xFF, 0xFF, 0x03}));
  // The block holds the device's address at offset 12: 192.168.10.26.
  EXPECT_EQ(device.configBlock[12], 192);
  EXPECT_EQ(device.configBlock[15], 26);
}

}  // namespace
}  // namespace vantrell::sim
