#pragma once
/// The millisecond tick counter the protocols measure their waits with.

#include <chrono>
#include <cstdint>

namespace vantrell {

/// Milliseconds since an arbitrary start, truncated to 32 bits (wraps after
/// about 49 days; differences of two ticks stay right across the wrap).
inline std::uint32_t TickCountMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace vantrell
