#pragma once
/// MD5 digests and Base64 text, as the device login and the HTTP Basic
/// credentials need them, and SHA-256 for the backup inventory. Backed by OpenSSL libcrypto.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vantrell {

/// An MD5 digest: 16 bytes.
using Md5Digest = std::array<std::uint8_t, 16>;

/// The MD5 digest of `bytes`.
Md5Digest Md5(std::span<const std::uint8_t> bytes);
/// The MD5 digest of the bytes of `text`.
Md5Digest Md5(std::string_view text);

/// Builds one MD5 digest over several pieces added one after another, as if
/// they were one concatenated buffer.
/// The SHA-256 digest of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

class Md5Builder {
 public:
  Md5Builder();
  ~Md5Builder();
  Md5Builder(const Md5Builder&) = delete;
  Md5Builder& operator=(const Md5Builder&) = delete;

  Md5Builder& Add(std::span<const std::uint8_t> bytes);
  Md5Builder& Add(std::string_view text);
  /// The digest of everything added so far; the builder starts anew after.
  Md5Digest Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// Base64 of `bytes` with the standard alphabet and "=" padding, no line
/// breaks.
std::string Base64Encode(std::string_view bytes);

}  // namespace vantrell
