#pragma once
/// Everything the configurator knows about one device: a plain fixed-size
/// value, copied and compared whole. A new record is all zero, so every text
/// field is zero-terminated; text fields that a reply fills to their full
/// width keep one extra zero byte so they still read as strings.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "core/ipv4.h"

namespace vantrell {

/// A MAC address, first byte first.
using MacAddress = std::array<std::uint8_t, 6>;

inline constexpr int kModuleSlots = 8;
inline constexpr std::size_t kModelNameLength = 40;
inline constexpr std::size_t kServerNameLength = 30;
inline constexpr std::size_t kPasswordLength = 16;
inline constexpr std::size_t kLocationLength = 80;
inline constexpr std::size_t kInfoTextLength = 1023;
inline constexpr std::size_t kModuleNameLength = 16;
inline constexpr std::size_t kModuleDescLength = 120;
inline constexpr std::size_t kSmtpPasswordLength = 45;

/// statusFlags bit 0: the device is password protected.
inline constexpr std::uint8_t kStatusProtected = 0x01;
/// statusFlags bit 1: the device reports this workstation as inaccessible.
inline constexpr std::uint8_t kStatusInaccessible = 0x02;

struct DeviceRecord {
  std::uint16_t modelId;
  std::uint16_t serialNo;
  std::uint32_t replyKind;  ///< 0: short discovery reply, 1: long reply
  Ipv4 localIfAddr;         ///< workstation interface that heard the device
  MacAddress mac;
  Ipv4 ipAddr;
  Ipv4 netmask;
  Ipv4 gateway;
  std::uint16_t webPort;
  char modelName[kModelNameLength + 1];
  std::uint32_t firmwareVersion;
  std::uint8_t statusFlags;
  char serverName[kServerNameLength + 1];
  char password[kPasswordLength + 1];
  char kavexUser[16];
  char kavexPassword[16];
  Ipv4 dns1;
  Ipv4 dns2;
  std::uint32_t ipConfigFlags;  ///< bit 0 DHCP, bit 1 BOOTP
  char location[kLocationLength + 1];
  char infoText[kInfoTextLength + 1];
  std::uint32_t portMask;
  std::uint32_t trunkPortMask;
  std::array<std::uint8_t, kModuleSlots> moduleType;
  char moduleName[kModuleSlots][kModuleNameLength + 1];
  char moduleDesc[kModuleSlots][kModuleDescLength + 1];
  char smtpPassword[kSmtpPasswordLength + 1];
  std::uint8_t detailsFetched;

  bool operator==(const DeviceRecord&) const = default;
};

static_assert(std::is_trivially_copyable_v<DeviceRecord>);

/// A record with every byte zero.
inline DeviceRecord MakeZeroRecord() {
  DeviceRecord record;
  std::memset(&record, 0, sizeof record);
  return record;
}

/// The text of a fixed-size character field, up to its first zero byte and
/// never past the field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

/// Stores text into a fixed-size field: at most N - 1 characters, the rest of
/// the field zero.
template <std::size_t N>
void SetFieldText(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size() < N ? text.size() : N - 1);
}

/// Copies exactly `count` raw bytes (count < N) from a reply into a field,
/// zeroing the rest, so the field reads as a string of at most `count`.
template <std::size_t N>
void CopyRawField(char (&field)[N], const std::uint8_t* bytes, std::size_t count) {
  static_assert(N > 0);
  std::memset(field, 0, N);
  std::memcpy(field, bytes, count < N ? count : N - 1);
}

}  // namespace vantrell
