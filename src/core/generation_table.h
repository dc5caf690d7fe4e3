#pragma once
/// The firmware generations whose configuration blocks the configurator
/// reads and writes, and the one table of what tells them apart: which
/// models and firmware versions each serves, in the order they are
/// examined, and the size of its block. The configurator's version handlers
/// and the simulator's devices both take a generation from this table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/model_table.h"

namespace vantrell {

/// A8/R8 family: GenA1, GenA2. D8 family: GenD1 to GenD4 (GenD3 shares the
/// block of GenD2). Modular model: GenM1.
enum class Generation { kGenA1, kGenA2, kGenD1, kGenD2, kGenD3, kGenD4, kGenM1 };

/// Firmware versions: major, minor, release, build from the highest byte
/// down. An upper bound of 0 is none.
inline constexpr std::uint32_t kNoUpperBound = 0;

struct GenerationRow {
  int number;  ///< 1..7, in the order rows are examined
  Generation generation;
  std::string_view name;  ///< "GenA1" ... "GenM1"
  bool (*modelTest)(std::uint16_t modelId);
  std::uint32_t firmwareLow;   ///< lowest version served, inclusive
  std::uint32_t firmwareHigh;  ///< highest version served, inclusive; kNoUpperBound = none
  std::size_t blockBytes;      ///< size of the generation's configuration block
  /// The device keeps the mail-server password (item 151) apart from the
  /// block it hands out: the export takes it with its own request, and a
  /// write-back that the file gives no password must fetch the device's own
  /// first. GenD2 to GenD4 blocks carry it.
  bool keepsMailPasswordApart;

  /// The model test accepts the model and the version lies in the range.
  bool Serves(std::uint16_t modelId, std::uint32_t firmwareVersion) const {
    if (!modelTest || !modelTest(modelId)) return false;
    if (firmwareVersion < firmwareLow) return false;
    return firmwareHigh == kNoUpperBound || firmwareVersion <= firmwareHigh;
  }
};

inline constexpr std::size_t kGenerationCount = 7;

/// One row per generation, in enum order, which is the order they are examined.
inline constexpr std::array<GenerationRow, kGenerationCount> kGenerationTable = {{
    {1, Generation::kGenA1, "GenA1", IsA8R8Family, 0x00090000, 0x01010000, 8508, true},
    {2, Generation::kGenA2, "GenA2", IsA8R8Family, 0x01010100, kNoUpperBound, 12364, true},
    {3, Generation::kGenD1, "GenD1", IsD8Family, 0x01000000, 0x01040000, 656, true},
    {4, Generation::kGenD2, "GenD2", IsD8Family, 0x01040100, 0x01050000, 1124, false},
    {5, Generation::kGenD3, "GenD3", IsD8Family, 0x01050100, 0x02000500, 1124, false},
    {6, Generation::kGenD4, "GenD4", IsD8Family, 0x02000600, kNoUpperBound, 1256, false},
    {7, Generation::kGenM1, "GenM1", IsM26Model, 0x00000100, kNoUpperBound, 21136, true},
}};

/// The row of a generation.
constexpr const GenerationRow& GenerationRowOf(Generation generation) {
  return kGenerationTable[static_cast<std::size_t>(generation)];
}

/// Size in bytes of the generation's block.
constexpr std::size_t blockSize(Generation generation) {
  return GenerationRowOf(generation).blockBytes;
}

/// See GenerationRow::keepsMailPasswordApart.
constexpr bool KeepsMailPasswordApart(Generation generation) {
  return GenerationRowOf(generation).keepsMailPasswordApart;
}

/// "GenA1" ... "GenM1".
constexpr std::string_view GenerationName(Generation generation) {
  return GenerationRowOf(generation).name;
}

/// The largest block of any generation.
constexpr std::size_t LargestBlockSize() {
  std::size_t largest = 0;
  for (const GenerationRow& row : kGenerationTable) {
    if (row.blockBytes > largest) largest = row.blockBytes;
  }
  return largest;
}

/// The first row (in table order) that serves the device, or null.
const GenerationRow* FindGenerationRow(std::uint16_t modelId, std::uint32_t firmwareVersion);

}  // namespace vantrell
