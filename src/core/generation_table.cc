#include "core/generation_table.h"

namespace vantrell {
namespace {

constexpr bool RowsInEnumOrder() {
  for (std::size_t i = 0; i < kGenerationTable.size(); ++i) {
    if (static_cast<std::size_t>(kGenerationTable[i].generation) != i) return false;
    if (kGenerationTable[i].number != static_cast<int>(i + 1)) return false;
  }
  return true;
}
static_assert(RowsInEnumOrder(), "GenerationRowOf indexes the table by the enum");

}  // namespace

const GenerationRow* FindGenerationRow(std::uint16_t modelId, std::uint32_t firmwareVersion) {
  for (const GenerationRow& row : kGenerationTable) {
    if (row.Serves(modelId, firmwareVersion)) return &row;
  }
  return nullptr;
}

}  // namespace vantrell
