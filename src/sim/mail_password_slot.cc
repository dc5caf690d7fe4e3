#include "sim/mail_password_slot.h"

#include <algorithm>

#include "core/model_table.h"

namespace vantrell::sim {

std::optional<std::size_t> KeptApartMailPasswordOffset(std::uint16_t modelId) {
  if (IsA8R8Family(modelId)) return kA8R8MailPasswordOffset;
  if (IsM26Model(modelId)) return kModularMailPasswordOffset;
  return std::nullopt;
}

std::vector<std::uint8_t> HandedOutBlock(std::uint16_t modelId,
                                         std::span<const std::uint8_t> stored) {
  std::vector<std::uint8_t> block(stored.begin(), stored.end());
  const std::optional<std::size_t> offset = KeptApartMailPasswordOffset(modelId);
  if (offset && *offset < block.size()) {
    const std::size_t end = std::min(block.size(), *offset + kMailPasswordSlotSize);
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(*offset),
              block.begin() + static_cast<std::ptrdiff_t>(end), 0);
  }
  return block;
}

}  // namespace vantrell::sim
