#pragma once
/// The rights check of the commands that act on selected devices: an
/// inaccessible device, or a protected one that was not unlocked, refuses
/// the whole selection before anything is sent.

#include <optional>
#include <span>
#include <string>

#include "core/device_record.h"

namespace vantrell {

/// A record whose statusFlags bit 1 is clear.
bool IsAccessible(const DeviceRecord& record);
/// A record that is not protected, or protected and unlocked in this run.
bool IsUsable(const DeviceRecord& record);

/// "XX:XX:XX:XX:XX:XX is not accessable!"
std::string NotAccessibleText(const DeviceRecord& record);
/// "XX:...:XX is password protected.\n Please select \"unlock\" function to get the rights."
std::string PasswordProtectedText(const DeviceRecord& record);

/// Walks the records in order and returns the message of the first one
/// that is not accessible or not usable; nothing when every record passes.
std::optional<std::string> CheckSelectionRights(std::span<const DeviceRecord* const> selection);

}  // namespace vantrell
