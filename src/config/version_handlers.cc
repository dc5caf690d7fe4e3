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

namespace vantrell {
namespace {

/// The handlers of a generation, on its row of the core table.
constexpr VersionHandlerRow Row(Generation generation, AccessorFactory makeAccessors,
                                ConfigFileWriter writer, ConfigFileReader reader) {
  return {GenerationRowOf(generation), makeAccessors, writer, reader};
}

const std::array<VersionHandlerRow, kVersionHandlerRows> kTable = {{
    Row(Generation::kGenA1, MakeGenA1Accessors, WriteGenA1ConfigFile, readGenA1ConfigFile),
    Row(Generation::kGenA2, MakeGenA2Accessors, WriteGenA2ConfigFile, readGenA2ConfigFile),
    Row(Generation::kGenD1, MakeGenD1Accessors, WriteGenD1ConfigFile, readGenD1ConfigFile),
    Row(Generation::kGenD2, MakeGenD2Accessors, WriteGenD2ConfigFile, readGenD2ConfigFile),
    Row(Generation::kGenD3, MakeGenD3Accessors, WriteGenD3ConfigFile, readGenD3ConfigFile),
    Row(Generation::kGenD4, MakeGenD4Accessors, WriteGenD4ConfigFile, readGenD4ConfigFile),
    Row(Generation::kGenM1, gen_m1::MakeGenM1Accessors, WriteGenM1ConfigFile, ReadGenM1ConfigFile),
}};

}  // namespace

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
