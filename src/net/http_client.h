#pragma once
/// The two HTTP/1.0 transfers of a video server that go through the HTTP
/// client library: the firmware post, whose answer drives a progress value,
/// and the download of the server's configuration file.

#include <atomic>
#include <string>

#include "core/device_record.h"
#include "core/timing.h"

namespace vantrell {

/// Posts the firmware file at `filePath` to the record's ipAddr at its
/// webPort (80 when the record says 0) as one multipart body with the
/// record's kavexUser and kavexPassword, agent "HTTP". While the answer
/// arrives, `*progress` (when given) takes (answer bytes before each 17-byte
/// piece) x 100 / 2020; it may pass 100, the display caps it.
///
/// Returns 0, kFirmwareNetworkFailure (-3: no connection, a send or receive
/// failure, a time-out, or a cancel), kFirmwareSizeMismatch (-12),
/// kFirmwareUnauthorized (-16), or kFirmwareOtherFailure (-1: the file could
/// not be read, or the server answered with an error status or an oversized
/// page). Blocks; never throws.
///
/// Cancel: another thread may set `*cancel`; the transfer notices it within
/// timing.httpCancelPollMs, closes the connection and returns -3.
int uploadFirmwareFile(const DeviceRecord& record, const std::string& filePath,
                       std::atomic<int>* progress, const Timing& timing = {},
                       const std::atomic<bool>* cancel = nullptr);

/// Fetches the configuration file of the video server at the record's
/// ipAddr:webPort with its kavexUser and kavexPassword, agent "RTSP URL",
/// and writes it to `filePath` through a temporary file in the same folder
/// that is renamed into place only when complete.
///
/// Returns 0 once the file is written, kDownloadUnauthorized (-2) when the
/// server refused the credentials, kDownloadFailure (-1) on anything else
/// (no connection, an error status, more than 800000 bytes, a file that
/// cannot be written, a cancel); on failure `filePath` is left as it was.
/// Blocks; never throws. Cancel as for uploadFirmwareFile.
int downloadConfigFile(const DeviceRecord& record, const std::string& filePath,
                       const Timing& timing = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace vantrell
