#include "platform/digest.h"

#include <openssl/evp.h>

#include <cstdlib>

namespace vantrell {

// A failing EVP call means libcrypto itself is broken (out of memory or no
// MD5 provider); a wrong digest would silently break every login, so the
// process stops instead.
namespace {

void Require(int ok) {
  if (ok != 1) std::abort();
}

}  // namespace

struct Md5Builder::State {
  EVP_MD_CTX* context = nullptr;
};

Md5Builder::Md5Builder() : state_(std::make_unique<State>()) {
  state_->context = EVP_MD_CTX_new();
  if (state_->context == nullptr) std::abort();
  Require(EVP_DigestInit_ex(state_->context, EVP_md5(), nullptr));
}

Md5Builder::~Md5Builder() { EVP_MD_CTX_free(state_->context); }

Md5Builder& Md5Builder::Add(std::span<const std::uint8_t> bytes) {
  if (!bytes.empty()) Require(EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()));
  return *this;
}

Md5Builder& Md5Builder::Add(std::string_view text) {
  if (!text.empty()) Require(EVP_DigestUpdate(state_->context, text.data(), text.size()));
  return *this;
}

Md5Digest Md5Builder::Finish() {
  Md5Digest digest{};
  unsigned int length = 0;
  Require(EVP_DigestFinal_ex(state_->context, digest.data(), &length));
  if (length != digest.size()) std::abort();
  Require(EVP_DigestInit_ex(state_->context, EVP_md5(), nullptr));
  return digest;
}

Md5Digest Md5(std::span<const std::uint8_t> bytes) { return Md5Builder().Add(bytes).Finish(); }

Md5Digest Md5(std::string_view text) { return Md5Builder().Add(text).Finish(); }

std::string Sha256Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  Require(EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr));
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0x0F];
  }
  return hex;
}

std::string Base64Encode(std::string_view bytes) {
  // EVP_EncodeBlock takes an int length; encode in slices that keep a whole
  // number of 3-byte groups so the output is the same as one call.
  constexpr std::size_t kSlice = 3 * 1024 * 1024;
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t offset = 0; offset < bytes.size(); offset += kSlice) {
    const std::string_view slice = bytes.substr(offset, kSlice);
    std::string encoded((slice.size() + 2) / 3 * 4 + 1, '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()),
                                        reinterpret_cast<const unsigned char*>(slice.data()),
                                        static_cast<int>(slice.size()));
    out.append(encoded.data(), static_cast<std::size_t>(written));
  }
  return out;
}

}  // namespace vantrell
