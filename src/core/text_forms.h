#pragma once
/// The text forms in which the configurator shows device values: MAC
/// address, serial number, firmware version and the Status column.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/device_record.h"

namespace vantrell {

/// "%02X:%02X:%02X:%02X:%02X:%02X".
std::string FormatMac(const MacAddress& mac);

/// Accepts "00:11:22:aa:bb:cc" or "00-11-22-AA-BB-CC" in any case.
std::optional<MacAddress> ParseMac(std::string_view text);

/// "%05d".
std::string FormatSerial(std::uint16_t serialNo);

/// "%X.%X.%X" of major, minor, release; "%X.%X" when release is 0 or 0x30.
std::string FormatFirmwareVersion(std::uint32_t version);

/// The version of a text as FormatFirmwareVersion writes it: "X.Y" or
/// "X.Y.Z", each field one or two hexadecimal digits (any case); the build
/// byte is 0. Nothing for any other text.
std::optional<std::uint32_t> ParseFirmwareVersion(std::string_view text);

/// "Unlocked", "Locked" or empty by bit 0 and the remembered password, with
/// " Inaccessible" appended when bit 1 is set.
std::string StatusText(const DeviceRecord& record);

}  // namespace vantrell
