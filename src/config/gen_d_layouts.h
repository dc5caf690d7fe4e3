#pragma once
/// The configuration block layouts of the D8 family: GenD1 (656 bytes),
/// GenD2 (1124 bytes; GenD3 uses the same block and accessors) and GenD4
/// (1256 bytes: GenD2 without the old location, plus the relay warning
/// group and the long location). Each layout is a table of item ID ->
/// offset and encoding; bytes that no item covers are carried unchanged.

#include <memory>
#include <span>

#include "config/generation.h"
#include "config/layout_accessors.h"

namespace vantrell {

/// The layout table of a D8 generation; empty for any other generation.
std::span<const ItemField> GenDLayout(Generation generation);

/// Accessors of a D8 generation; null for any other generation.
std::unique_ptr<ItemAccessors> MakeGenDAccessors(Generation generation);

std::unique_ptr<ItemAccessors> MakeGenD1Accessors();
std::unique_ptr<ItemAccessors> MakeGenD2Accessors();
std::unique_ptr<ItemAccessors> MakeGenD3Accessors();
std::unique_ptr<ItemAccessors> MakeGenD4Accessors();

}  // namespace vantrell
