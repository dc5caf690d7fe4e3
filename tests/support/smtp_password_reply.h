#pragma once
/// A device's answer to fetchSmtpPassword (0x18) and the text of a
/// storeSmtpPassword (0x17) request, for tests of the write-back: the
/// answer has the layout of the request, opcode 0x18 in front.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/session_codec.h"

namespace vantrell::test_support {

/// The answer carrying `text`, masked with the key of `record`'s password.
inline std::vector<std::uint8_t> SmtpPasswordReply(const DeviceRecord& record,
                                                   std::string_view text) {
  std::vector<std::uint8_t> reply = BuildStoreSmtpPasswordRequest(record, text, 0x01020304u);
  reply[0] = kOpFetchSmtpPassword;
  return reply;
}

/// The text that a 0x17 request carries, unmasked with the key of
/// `record`'s password; "<invalid>" when the request does not decode.
inline std::string StoredSmtpPassword(const DeviceRecord& record,
                                      std::vector<std::uint8_t> request) {
  if (request.empty() || request[0] != kOpStoreSmtpPassword) return "<invalid>";
  request[0] = kOpFetchSmtpPassword;
  char text[kSmtpFieldSize] = {};
  if (!DecodeSmtpPasswordReply(record, request, text)) return "<invalid>";
  return text;
}

}  // namespace vantrell::test_support
