#pragma once
/// The firmware generations whose configuration blocks the configurator
/// reads and writes, and the size of each generation's block.

#include <cstddef>
#include <string_view>

namespace vantrell {

/// A8/R8 family: GenA1, GenA2. D8 family: GenD1 to GenD4 (GenD3 shares the
/// block of GenD2). Modular model: GenM1.
enum class Generation { kGenA1, kGenA2, kGenD1, kGenD2, kGenD3, kGenD4, kGenM1 };

/// Size in bytes of the generation's block.
constexpr std::size_t blockSize(Generation generation) {
  switch (generation) {
    case Generation::kGenA1:
      return 8508;
    case Generation::kGenA2:
      return 12364;
    case Generation::kGenD1:
      return 656;
    case Generation::kGenD2:
    case Generation::kGenD3:
      return 1124;
    case Generation::kGenD4:
      return 1256;
    case Generation::kGenM1:
      return 21136;
  }
  return 0;
}

/// True for the generations whose devices keep the mail-server password
/// (item 151) apart from the block they hand out: the export takes it with
/// its own request, and a write-back that the file gives no password must
/// fetch the device's own first. GenD2 to GenD4 blocks carry it.
constexpr bool KeepsMailPasswordApart(Generation generation) {
  switch (generation) {
    case Generation::kGenA1:
    case Generation::kGenA2:
    case Generation::kGenD1:
    case Generation::kGenM1:
      return true;
    default:
      return false;
  }
}

/// "GenA1" ... "GenM1".
constexpr std::string_view GenerationName(Generation generation) {
  switch (generation) {
    case Generation::kGenA1:
      return "GenA1";
    case Generation::kGenA2:
      return "GenA2";
    case Generation::kGenD1:
      return "GenD1";
    case Generation::kGenD2:
      return "GenD2";
    case Generation::kGenD3:
      return "GenD3";
    case Generation::kGenD4:
      return "GenD4";
    case Generation::kGenM1:
      return "GenM1";
  }
  return "";
}

}  // namespace vantrell
