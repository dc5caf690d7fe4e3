#pragma once
/// The switch models that announce themselves only by a 16-bit model ID,
/// and the model tests that decide which protocol variant, dialog layout and
/// configuration handler apply to a device.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vantrell {

struct ModelTableRow {
  std::uint16_t modelId;
  std::string_view name;
};

/// The 51 rows, in table order: D8, R8, A8 (line 0x35), A8 (line 0x05), M26.
std::span<const ModelTableRow> ModelTable();

/// The name of the first row whose ID equals modelId, or nothing.
std::optional<std::string_view> LookupModelName(std::uint16_t modelId);

/// The ten D8 IDs 0x6008..0x6098.
bool IsD8Family(std::uint16_t modelId);
/// The forty IDs 0x0508..0x05D8, 0x2508..0x25B8 and 0x3508..0x35D8.
bool IsA8R8Family(std::uint16_t modelId);
/// The modular model 0x0726.
bool IsM26Model(std::uint16_t modelId);
/// A video server: low byte 0x80 or 0x88.
bool IsKavexModelId(std::uint16_t modelId);
/// A video server by its name: contains "Kavex" (case-sensitive).
bool IsKavexName(std::string_view modelName);

}  // namespace vantrell
