#include "net/session_codec.h"

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"

namespace vantrell {
namespace {

std::array<std::uint8_t, 2> SerialBytes(std::uint16_t serialNo) {
  return {static_cast<std::uint8_t>(serialNo), static_cast<std::uint8_t>(serialNo >> 8)};
}

std::array<std::uint8_t, wire::kTickSize> TickBytesBe(std::uint32_t tick) {
  std::array<std::uint8_t, wire::kTickSize> bytes;
  StoreBe32(bytes.data(), tick);
  return bytes;
}

/// MD5(text, S, T big-endian): the check digest of the masked requests.
Md5Digest CheckDigest(std::string_view text, std::uint16_t serialNo, std::uint32_t tick) {
  Md5Builder builder;
  builder.Add(text).Add(SerialBytes(serialNo)).Add(TickBytesBe(tick));
  return builder.Finish();
}

void Append(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void AppendAddressSettings(std::vector<std::uint8_t>& out, const DeviceRecord& record) {
  namespace f = wire::address_settings;
  std::uint8_t bytes[f::kSize];
  StoreRaw32(bytes + f::kIp, record.ipAddr);
  StoreRaw32(bytes + f::kNetmask, record.netmask);
  StoreRaw32(bytes + f::kGateway, record.gateway);
  StoreRaw32(bytes + f::kDns1, record.dns1);
  StoreRaw32(bytes + f::kDns2, record.dns2);
  StoreLe32(bytes + f::kIpConfigFlags, record.ipConfigFlags);
  Append(out, bytes);
}

/// A request of `size` zero bytes after its opcode.
std::vector<std::uint8_t> StartRequest(std::uint8_t opcode, std::size_t size) {
  std::vector<std::uint8_t> request(size, 0);
  request[wire::kOpcodeAt] = opcode;
  return request;
}

}  // namespace

std::array<std::uint8_t, wire::kTickSize> TickBytesLe(std::uint32_t tick) {
  std::array<std::uint8_t, wire::kTickSize> bytes;
  StoreLe32(bytes.data(), tick);
  return bytes;
}

Md5Digest MaskKey(std::string_view password, std::uint16_t serialNo,
                  std::span<const std::uint8_t, wire::kTickSize> tickBytes) {
  Md5Builder builder;
  builder.Add(password).Add(SerialBytes(serialNo)).Add(tickBytes);
  return builder.Finish();
}

void ApplyMask(std::span<std::uint8_t> bytes, const Md5Digest& key) {
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= key[i % key.size()];
}

std::string_view RecordPassword(const DeviceRecord& record) {
  return FieldText(record.password).substr(0, kMaxPasswordLength);
}

std::vector<std::uint8_t> BuildLoginRequest(
    std::string_view user, std::string_view password,
    std::span<const std::uint8_t, wire::kTickSize> challenge) {
  namespace f = wire::login_request;
  std::vector<std::uint8_t> request = StartRequest(kOpLogin, f::kSize);
  std::memcpy(&request[f::kUser], user.data(), std::min(user.size(), f::kUserSize));
  Md5Builder builder;
  const Md5Digest digest = builder.Add(password).Add(challenge).Finish();
  std::copy(digest.begin(), digest.end(), request.begin() + f::kDigest);
  return request;
}

std::vector<std::uint8_t> BuildChangePasswordRequest(const DeviceRecord& record,
                                                     std::string_view newPassword,
                                                     std::uint32_t tick) {
  namespace f = wire::change_password_request;
  newPassword = newPassword.substr(0, f::kPasswordSize);
  const auto tickLe = TickBytesLe(tick);
  std::array<std::uint8_t, f::kPasswordSize> masked{};
  std::memcpy(masked.data(), newPassword.data(), newPassword.size());
  ApplyMask(masked, MaskKey(RecordPassword(record), record.serialNo, tickLe));

  std::vector<std::uint8_t> request = StartRequest(kOpChangePassword, f::kSize);
  const auto put = [&](std::size_t at, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), request.begin() + static_cast<std::ptrdiff_t>(at));
  };
  put(f::kTickLowFirst, tickLe);
  put(f::kMaskedPassword, masked);
  put(f::kTickHighFirst, TickBytesBe(tick));
  put(f::kDigest, CheckDigest(newPassword, record.serialNo, tick));
  return request;
}

std::vector<std::uint8_t> BuildStoreSmtpPasswordRequest(const DeviceRecord& record,
                                                        std::string_view text,
                                                        std::uint32_t tick) {
  namespace f = wire::smtp_password;
  std::array<std::uint8_t, f::kFieldSize> field{};
  text = text.substr(0, f::kMaxText);
  std::memcpy(field.data(), text.data(), text.size());
  const std::size_t m = std::max(text.size(), f::kMinMasked);
  const auto tickLe = TickBytesLe(tick);
  std::span<std::uint8_t> masked(field.data(), m);
  ApplyMask(masked, MaskKey(RecordPassword(record), record.serialNo, tickLe));

  std::vector<std::uint8_t> request = StartRequest(kOpStoreSmtpPassword, f::kMasked);
  StoreBe16(&request[f::kLength], static_cast<std::uint16_t>(m + f::kLengthOverhead));
  std::copy(tickLe.begin(), tickLe.end(), request.begin() + f::kTickLowFirst);
  Append(request, masked);
  Append(request, TickBytesBe(tick));
  Append(request, CheckDigest(text, record.serialNo, tick));
  return request;
}

bool DecodeSmtpPasswordReply(const DeviceRecord& record, std::span<const std::uint8_t> reply,
                             std::span<char, kSmtpFieldSize> out) {
  namespace f = wire::smtp_password;
  std::fill(out.begin(), out.end(), '\0');
  if (reply.size() < f::kFrameOverhead || reply[wire::kOpcodeAt] != kOpFetchSmtpPassword) {
    return false;
  }
  const std::size_t length = LoadBe16(&reply[f::kLength]);
  if (length > kSmtpReplyMaxSize || length < f::kLengthOverhead) return false;
  const std::size_t n = length - f::kLengthOverhead;
  if (n > f::kMaxText || f::kMasked + n > reply.size()) return false;
  std::array<std::uint8_t, f::kFieldSize> text{};
  std::copy_n(reply.begin() + f::kMasked, n, text.begin());
  ApplyMask(std::span(text.data(), n),
            MaskKey(RecordPassword(record), record.serialNo,
                    std::span<const std::uint8_t, wire::kTickSize>(reply.data() + f::kTickLowFirst,
                                                                   wire::kTickSize)));
  std::copy_n(text.begin(), n, reinterpret_cast<std::uint8_t*>(out.data()));
  return true;
}

std::vector<std::uint8_t> BuildStoreConfigBlockRequest(std::span<const std::uint8_t> block) {
  namespace f = wire::store_block_request;
  std::vector<std::uint8_t> request = StartRequest(kOpStoreConfigBlock, f::kHeaderSize);
  StoreBe16(&request[f::kLength], static_cast<std::uint16_t>(block.size()));
  Append(request, block);
  return request;
}

std::vector<std::uint8_t> BuildStreamConfigFileHeader(const DeviceRecord& record,
                                                      std::uint32_t fileSize) {
  namespace f = wire::stream_request;
  std::vector<std::uint8_t> request = StartRequest(kOpStreamConfigFile, f::kAddresses);
  StoreLe32(&request[f::kFileSize], fileSize);
  AppendAddressSettings(request, record);
  return request;
}

std::vector<std::uint8_t> BuildNetworkSettingsRequest(const DeviceRecord& record) {
  std::vector<std::uint8_t> request =
      StartRequest(kOpSetNetworkSettings, wire::network_request::kAddresses);
  AppendAddressSettings(request, record);
  return request;
}

std::vector<std::uint8_t> BuildCommandRequest(std::uint8_t opcode) {
  namespace f = wire::command_request;
  std::vector<std::uint8_t> request = StartRequest(opcode, f::kSize);
  StoreLe16(&request[f::kLength], static_cast<std::uint16_t>(f::kSize));
  return request;
}

}  // namespace vantrell
