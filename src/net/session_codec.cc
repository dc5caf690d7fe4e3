#include "net/session_codec.h"

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"

namespace vantrell {
namespace {

std::array<std::uint8_t, 2> SerialBytes(std::uint16_t serialNo) {
  return {static_cast<std::uint8_t>(serialNo), static_cast<std::uint8_t>(serialNo >> 8)};
}

std::array<std::uint8_t, 4> TickBytesBe(std::uint32_t tick) {
  std::array<std::uint8_t, 4> bytes;
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
  std::uint8_t bytes[24];
  StoreRaw32(bytes + 0, record.ipAddr);
  StoreRaw32(bytes + 4, record.netmask);
  StoreRaw32(bytes + 8, record.gateway);
  StoreRaw32(bytes + 12, record.dns1);
  StoreRaw32(bytes + 16, record.dns2);
  StoreLe32(bytes + 20, record.ipConfigFlags);
  Append(out, bytes);
}

// fetchSmtpPassword answer.
constexpr std::size_t kSmtpLength = 1;  // L, big-endian
constexpr std::size_t kSmtpTick = 3;    // T as the device chose it
constexpr std::size_t kSmtpText = 7;    // N = L - 24 masked bytes
constexpr std::size_t kSmtpOverhead = 24;

}  // namespace

std::array<std::uint8_t, 4> TickBytesLe(std::uint32_t tick) {
  std::array<std::uint8_t, 4> bytes;
  StoreLe32(bytes.data(), tick);
  return bytes;
}

Md5Digest MaskKey(std::string_view password, std::uint16_t serialNo,
                  std::span<const std::uint8_t, 4> tickBytes) {
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

std::vector<std::uint8_t> BuildLoginRequest(std::string_view user, std::string_view password,
                                            std::span<const std::uint8_t, 4> challenge) {
  std::vector<std::uint8_t> request(33, 0);
  request[0] = kOpLogin;
  std::memcpy(&request[1], user.data(), std::min<std::size_t>(user.size(), 16));
  Md5Builder builder;
  const Md5Digest digest = builder.Add(password).Add(challenge).Finish();
  std::copy(digest.begin(), digest.end(), request.begin() + 17);
  return request;
}

std::vector<std::uint8_t> BuildChangePasswordRequest(const DeviceRecord& record,
                                                     std::string_view newPassword,
                                                     std::uint32_t tick) {
  newPassword = newPassword.substr(0, kMaxPasswordLength);
  const auto tickLe = TickBytesLe(tick);
  std::array<std::uint8_t, 16> masked{};
  std::memcpy(masked.data(), newPassword.data(), newPassword.size());
  ApplyMask(masked, MaskKey(RecordPassword(record), record.serialNo, tickLe));

  std::vector<std::uint8_t> request{kOpChangePassword};
  Append(request, tickLe);
  Append(request, masked);
  Append(request, TickBytesBe(tick));
  Append(request, CheckDigest(newPassword, record.serialNo, tick));
  return request;
}

std::vector<std::uint8_t> BuildStoreSmtpPasswordRequest(const DeviceRecord& record,
                                                        std::string_view text,
                                                        std::uint32_t tick) {
  std::array<std::uint8_t, kSmtpFieldSize> field{};
  text = text.substr(0, kSmtpFieldSize - 1);
  std::memcpy(field.data(), text.data(), text.size());
  const std::size_t m = std::max<std::size_t>(text.size(), 16);
  const auto tickLe = TickBytesLe(tick);
  std::span<std::uint8_t> masked(field.data(), m);
  ApplyMask(masked, MaskKey(RecordPassword(record), record.serialNo, tickLe));

  std::vector<std::uint8_t> request{kOpStoreSmtpPassword, 0, 0};
  StoreBe16(&request[1], static_cast<std::uint16_t>(m + kSmtpOverhead));
  Append(request, tickLe);
  Append(request, masked);
  Append(request, TickBytesBe(tick));
  Append(request, CheckDigest(text, record.serialNo, tick));
  return request;
}

bool DecodeSmtpPasswordReply(const DeviceRecord& record, std::span<const std::uint8_t> reply,
                             std::span<char, kSmtpFieldSize> out) {
  std::fill(out.begin(), out.end(), '\0');
  if (reply.size() <= 2 || reply[0] != kOpFetchSmtpPassword) return false;
  const std::size_t length = LoadBe16(&reply[kSmtpLength]);
  if (length > kSmtpReplyMaxSize || length < kSmtpOverhead) return false;
  const std::size_t n = length - kSmtpOverhead;
  if (n > kSmtpFieldSize - 1 || kSmtpText + n > reply.size()) return false;
  std::array<std::uint8_t, kSmtpFieldSize> text{};
  std::copy_n(reply.begin() + kSmtpText, n, text.begin());
  ApplyMask(std::span(text.data(), n),
            MaskKey(RecordPassword(record), record.serialNo,
                    std::span<const std::uint8_t, 4>(reply.data() + kSmtpTick, 4)));
  std::copy_n(text.begin(), n, reinterpret_cast<std::uint8_t*>(out.data()));
  return true;
}

std::vector<std::uint8_t> BuildStoreConfigBlockRequest(std::span<const std::uint8_t> block) {
  std::vector<std::uint8_t> request{kOpStoreConfigBlock, 0, 0};
  StoreBe16(&request[1], static_cast<std::uint16_t>(block.size()));
  Append(request, block);
  return request;
}

std::vector<std::uint8_t> BuildStreamConfigFileHeader(const DeviceRecord& record,
                                                      std::uint32_t fileSize) {
  std::vector<std::uint8_t> request{kOpStreamConfigFile, 0, 0, 0, 0};
  StoreLe32(&request[1], fileSize);
  AppendAddressSettings(request, record);
  return request;
}

std::vector<std::uint8_t> BuildNetworkSettingsRequest(const DeviceRecord& record) {
  std::vector<std::uint8_t> request{kOpSetNetworkSettings, 0, 0};
  AppendAddressSettings(request, record);
  return request;
}

std::vector<std::uint8_t> BuildCommandRequest(std::uint8_t opcode) {
  std::vector<std::uint8_t> request(11, 0);
  request[0] = opcode;
  request[1] = 0x0B;
  return request;
}

}  // namespace vantrell
