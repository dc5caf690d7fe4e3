#include "config/version_handlers.h"

#include <array>

#include "config/gen_a1_layout.h"
#include "config/gen_a1_reader.h"
#include "config/gen_a1_writer.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a2_reader.h"
#include "config/gen_a2_writer.h"
#include "config/gen_d_layouts.h"
#include "config/gen_d_readers.h"
#include "config/gen_d_writers.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_reader.h"
#include "config/gen_m1_writer.h"
#include "core/model_table.h"

namespace vantrell {
namespace {

// Firmware versions: major, minor, release, build from the highest byte down.
constexpr std::uint32_t kNoUpperBound = 0;

const std::array<VersionHandlerRow, kVersionHandlerRows> kTable = {{
    {1, Generation::kGenA1, IsA8R8Family, 0x00090000, 0x01010000, MakeGenA1Accessors,
     WriteGenA1ConfigFile, readGenA1ConfigFile},
    {2, Generation::kGenA2, IsA8R8Family, 0x01010100, kNoUpperBound, MakeGenA2Accessors,
     WriteGenA2ConfigFile, readGenA2ConfigFile},
    {3, Generation::kGenD1, IsD8Family, 0x01000000, 0x01040000, MakeGenD1Accessors,
     WriteGenD1ConfigFile, readGenD1ConfigFile},
    {4, Generation::kGenD2, IsD8Family, 0x01040100, 0x01050000, MakeGenD2Accessors,
     WriteGenD2ConfigFile, readGenD2ConfigFile},
    {5, Generation::kGenD3, IsD8Family, 0x01050100, 0x02000500, MakeGenD3Accessors,
     WriteGenD3ConfigFile, readGenD3ConfigFile},
    {6, Generation::kGenD4, IsD8Family, 0x02000600, kNoUpperBound, MakeGenD4Accessors,
     WriteGenD4ConfigFile, readGenD4ConfigFile},
    {7, Generation::kGenM1, IsM26Model, 0x00000100, kNoUpperBound, gen_m1::MakeGenM1Accessors,
     WriteGenM1ConfigFile, ReadGenM1ConfigFile},
}};

}  // namespace

bool VersionHandlerRow::Serves(std::uint16_t modelId, std::uint32_t firmwareVersion) const {
  if (!modelTest || !modelTest(modelId)) return false;
  if (firmwareVersion < firmwareLow) return false;
  return firmwareHigh == kNoUpperBound || firmwareVersion <= firmwareHigh;
}

std::span<const VersionHandlerRow, kVersionHandlerRows> VersionHandlerTable() { return kTable; }

HandlerSelection selectHandlers(std::uint16_t modelId, std::uint32_t firmwareVersion) {
  HandlerSelection selection;
  for (const VersionHandlerRow& row : kTable) {
    if (!row.Serves(modelId, firmwareVersion)) continue;
    selection.row = &row;
    if (!row.IsBuilt()) {
      selection.match = HandlerMatch::kNotBuiltYet;
      return selection;
    }
    selection.accessors = row.makeAccessors();
    selection.match = selection.accessors ? HandlerMatch::kServed : HandlerMatch::kNotBuiltYet;
    return selection;
  }
  return selection;
}

}  // namespace vantrell
