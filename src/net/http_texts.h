#pragma once
/// The texts the configurator exchanges with the web server of a video
/// server: the request paths, the multipart head and closing text, the
/// Basic credentials, the request headers, and the judgement of the
/// server's answers. Pure functions, shared by the transfers and the tests.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/device_record.h"

namespace vantrell {

inline constexpr std::string_view kConfigUploadPath = "/kelt-cgi/UploadConfigfile.cgi";
inline constexpr std::string_view kFirmwareUploadPath = "/kelt-cgi/UploadFirmwareFile.cgi";
inline constexpr std::string_view kConfigDownloadPath = "/kelt-cgi/sys_config.ini";

/// Agent names of the firmware post and the configuration download.
inline constexpr std::string_view kFirmwareAgent = "HTTP";
inline constexpr std::string_view kDownloadAgent = "RTSP URL";

/// 29 hyphens and "7d7271f202c6". The body uses it as written, without the
/// "--" prefix multipart usually puts before a boundary.
inline constexpr std::string_view kMultipartBoundary = "-----------------------------7d7271f202c6";
/// Ends every multipart body, directly after the last file byte.
inline constexpr std::string_view kMultipartClosing =
    "-----------------------------7d7271f202c6--\r\n\r\n";
inline constexpr std::string_view kMultipartContentType =
    "Content-Type: multipart/form-data; boundary=-----------------------------7d7271f202c6";

/// Results of the configuration post when the answer does not confirm it:
/// a 0x88 device whose answer lacks "Sueecess", and every other device.
inline constexpr int kImportNotConfirmed88 = -6;
inline constexpr int kImportNotConfirmed = -7;

/// Results of the firmware post.
inline constexpr int kFirmwareNetworkFailure = -3;
inline constexpr int kFirmwareSizeMismatch = -12;
inline constexpr int kFirmwareUnauthorized = -16;
/// The device answered with an HTTP error status, an oversized answer, or
/// the file could not be read (shown as "Upgrade Failure").
inline constexpr int kFirmwareOtherFailure = -1;

/// Results of the configuration download.
inline constexpr int kDownloadFailure = -1;
inline constexpr int kDownloadUnauthorized = -2;

/// The firmware answer advances the progress by one step per 17 bytes and
/// reaches 100 at 2020 bytes.
inline constexpr std::size_t kFirmwareAnswerPiece = 17;
inline constexpr std::size_t kFirmwareAnswerFullScale = 2020;
/// The configuration download keeps at most this many bytes.
inline constexpr std::size_t kDownloadLimit = 800000;
/// Longest answer text kept from the configuration post and the firmware post.
inline constexpr std::size_t kAnswerLimit = 64 * 1024;

/// "Authorization: Basic " and Base64 of "user:password" (no line end).
std::string CredentialsHeader(std::string_view user, std::string_view password);
/// The credentials header from a record's kavexUser and kavexPassword.
std::string CredentialsHeader(const DeviceRecord& record);

/// The part head of the configuration post: boundary, the disposition line
/// with the content type on it, an empty line.
std::string ConfigPostHead();

/// The HTTP/1.1 request header of the configuration post, up to and with
/// the empty line. `host` is the device address in dotted form.
std::string ConfigPostHeader(std::string_view host, std::size_t contentLength,
                             std::string_view credentials);

/// The part head of the firmware post, naming `filePath` as the file name.
/// Quote, carriage return and line feed in the path are written as %22,
/// %0D and %0A so that the path cannot end the header line or the quotes.
std::string FirmwarePostHead(std::string_view filePath);

/// The extra header lines of the firmware post: content type, length and
/// credentials, each ending in CR LF.
std::string FirmwareExtraHeaders(std::size_t contentLength, std::string_view credentials);

/// Judges the whole answer (status line, headers and page) to the
/// configuration post by the low byte of the model ID: 0 or
/// kImportNotConfirmed88 / kImportNotConfirmed.
int JudgeImportAnswer(std::uint16_t modelId, std::string_view answer);

/// Judges the page the device sent for the firmware post with its HTTP
/// status: "Unauthorized" anywhere, or status 401, kFirmwareUnauthorized;
/// "File size mismatch", kFirmwareSizeMismatch; another status of 400 or
/// more, kFirmwareOtherFailure; otherwise 0.
int JudgeFirmwareAnswer(long httpStatus, std::string_view page);

/// Judges the page of the configuration download: "Access Error:
/// Unauthorized" anywhere, or status 401, kDownloadUnauthorized; a status
/// outside 200..299, kDownloadFailure; otherwise 0 (the page is the file).
int JudgeDownloadAnswer(long httpStatus, std::string_view page);

/// Collects the firmware answer in 17-byte pieces and, before each piece,
/// publishes (bytes before it) x 100 / 2020 as the progress. The pieces lie
/// at fixed offsets, so the values do not depend on how the bytes arrive.
class FirmwareAnswerReader {
 public:
  explicit FirmwareAnswerReader(std::atomic<int>* progress) : progress_(progress) {}

  /// Adds received bytes; false once the answer grows beyond kAnswerLimit.
  bool Add(std::string_view bytes);
  const std::string& answer() const { return answer_; }

 private:
  std::atomic<int>* progress_;
  std::string answer_;
};

}  // namespace vantrell
