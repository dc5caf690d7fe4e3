#pragma once
/// The binary configuration block of a device: an opaque byte array that
/// the session fetches and stores whole and the generation's accessors read
/// and write item by item. One buffer serves every generation; it has room
/// for the largest block and records how many of its bytes are valid.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vantrell {

class ConfigBlock {
 public:
  /// Size of the largest block (GenM1).
  static constexpr std::size_t kCapacity = 21136;

  /// All bytes zero, no valid bytes.
  ConfigBlock() { Clear(); }
  /// All bytes zero, `size` of them valid (at most kCapacity).
  explicit ConfigBlock(std::size_t size) { Prepare(size); }

  /// Zeroes every byte and leaves no valid byte. Done before each fetch, so
  /// a short block never carries bytes of an earlier one.
  void Clear() {
    bytes_.fill(0);
    size_ = 0;
  }

  /// Sets the number of valid bytes; refuses more than kCapacity. Bytes that
  /// drop out of the valid part are zeroed, so bytes beyond size() are
  /// always zero.
  bool Resize(std::size_t size) {
    if (size > kCapacity) return false;
    for (std::size_t i = size; i < size_; ++i) bytes_[i] = 0;
    size_ = size;
    return true;
  }

  /// Clears the block and makes `size` zero bytes valid (capped at
  /// kCapacity); returns them, ready to be filled by a fetch.
  std::span<std::uint8_t> Prepare(std::size_t size) {
    Clear();
    Resize(size < kCapacity ? size : kCapacity);
    return bytes();
  }

  std::size_t size() const { return size_; }
  std::span<std::uint8_t> bytes() { return std::span(bytes_).first(size_); }
  std::span<const std::uint8_t> bytes() const { return std::span(bytes_).first(size_); }

  /// The byte at `offset`, or nothing outside the valid bytes.
  std::optional<std::uint8_t> ByteAt(std::size_t offset) const {
    if (offset >= size_) return std::nullopt;
    return bytes_[offset];
  }
  /// Sets the byte at `offset`; false (and no change) outside the valid bytes.
  bool SetByteAt(std::size_t offset, std::uint8_t value) {
    if (offset >= size_) return false;
    bytes_[offset] = value;
    return true;
  }

  friend bool operator==(const ConfigBlock& a, const ConfigBlock& b) {
    return a.size_ == b.size_ && a.bytes_ == b.bytes_;
  }

 private:
  std::array<std::uint8_t, kCapacity> bytes_;
  std::size_t size_ = 0;
};

}  // namespace vantrell
