#pragma once
/// How a simulated device puts integer, address and text fields into the
/// bytes it sends and takes them from the bytes it reads, at the offsets
/// that core/wire's layouts name. The simulator's own code, apart from the
/// client's, so that it stays an independent check of it.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "core/ipv4.h"

namespace vantrell::sim {

/// Byte writers and readers; every offset must lie inside the buffer.
inline void PutU16LowFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU16HighFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline void PutU32LowFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void PutU32HighFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (3 - i)));
  }
}

/// An address kept in network byte order goes out unchanged, first octet first.
inline void PutIpv4(std::span<std::uint8_t> bytes, std::size_t at, Ipv4 address) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = Ipv4Octet(address, i);
}

/// Copies text into a fixed field of `size` bytes: truncated, zero padded.
inline void PutText(std::span<std::uint8_t> bytes, std::size_t at, std::size_t size,
                    std::string_view text) {
  const std::size_t n = text.size() < size ? text.size() : size;
  std::memcpy(bytes.data() + at, text.data(), n);
  std::memset(bytes.data() + at + n, 0, size - n);
}

inline std::uint16_t GetU16LowFirst(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint16_t GetU16HighFirst(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

}  // namespace vantrell::sim
