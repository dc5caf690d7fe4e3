#pragma once
/// The parameter export of a video server (its own configuration file,
/// fetched from its web server) and the credentials that the login dialogs
/// store into a record: at most 15 bytes each, cut on a character boundary.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/device_record.h"
#include "core/timing.h"

namespace vantrell {

class ArpRouteBracket;

/// Messages of the parameter export.
inline constexpr const char* kVideoExportOkText = "Kavex Export Parameters to file OK.";
/// Shown without an icon; the login dialog follows.
inline constexpr const char* kVideoLoginErrorText = "Error Username or Password. ";
inline constexpr const char* kVideoNotAccessibleText =
    "Your IP address is not accessable for this Kavex device.";

/// The longest user name or password a record keeps.
inline constexpr std::size_t kKavexFieldLength = sizeof(DeviceRecord::kavexUser) - 1;

/// `text` cut to at most 15 bytes without splitting a UTF-8 sequence.
std::string KavexFieldText(std::string_view text);

/// Replaces the record's kavexUser and kavexPassword whole (each cut as
/// KavexFieldText does).
void StoreKavexCredentials(DeviceRecord& record, std::string_view user, std::string_view password);

/// Installs the ARP entry and host route, downloads the server's
/// configuration file to `path` with the record's credentials and removes
/// them again. 0, -2 (credentials refused) or -1 (downloadConfigFile).
int ExportVideoServerParameters(const DeviceRecord& record, const std::filesystem::path& path,
                                ArpRouteBracket* bracket, const Timing& timing = {});

/// The message for a result other than -2 (information icon).
std::string VideoExportResultText(int result);

}  // namespace vantrell
