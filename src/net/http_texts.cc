#include "net/http_texts.h"

#include "platform/digest.h"

namespace vantrell {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kContentLengthLabel = "Content-Length: ";
constexpr std::string_view kOctetStream = "Content-Type: application/octet-stream";
constexpr std::string_view kDispositionStart =
    "Content-Disposition: form-data; name=\"uploadfile\"; ";

bool Contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

/// Low byte of the model ID of the two video-server kinds.
constexpr std::uint8_t kKavexKind80 = 0x80;
constexpr std::uint8_t kKavexKind88 = 0x88;

}  // namespace

std::string CredentialsHeader(std::string_view user, std::string_view password) {
  std::string pair;
  pair.reserve(user.size() + 1 + password.size());
  pair.append(user).append(":").append(password);
  return "Authorization: Basic " + Base64Encode(pair);
}

std::string CredentialsHeader(const DeviceRecord& record) {
  return CredentialsHeader(FieldText(record.kavexUser), FieldText(record.kavexPassword));
}

std::string ConfigPostHead() {
  std::string head(kMultipartBoundary);
  head += kCrLf;
  head += kDispositionStart;
  head += kOctetStream;
  head += kCrLf;
  head += kCrLf;
  return head;
}

std::string ConfigPostHeader(std::string_view host, std::size_t contentLength,
                             std::string_view credentials) {
  std::string header = "POST ";
  header.append(kConfigUploadPath).append(" HTTP/1.1\r\n");
  header.append("HOST: ").append(host).append(kCrLf);
  header.append(kMultipartContentType).append(kCrLf);
  header.append(kContentLengthLabel).append(std::to_string(contentLength)).append(kCrLf);
  header.append(credentials).append(kCrLf);
  header.append("User-Agent: HTTP\r\n\r\n");
  return header;
}

std::string FirmwarePostHead(std::string_view filePath) {
  std::string head(kMultipartBoundary);
  head += kCrLf;
  head += kDispositionStart;
  head += "filename=\"";
  for (char c : filePath) {
    switch (c) {
      case '"':
        head += "%22";
        break;
      case '\r':
        head += "%0D";
        break;
      case '\n':
        head += "%0A";
        break;
      default:
        head += c;
    }
  }
  head += "\"";
  head += kCrLf;
  head += kOctetStream;
  head += kCrLf;
  head += kCrLf;
  return head;
}

std::string FirmwareExtraHeaders(std::size_t contentLength, std::string_view credentials) {
  std::string headers(kMultipartContentType);
  headers.append(kCrLf);
  headers.append(kContentLengthLabel).append(std::to_string(contentLength)).append(kCrLf);
  headers.append(credentials).append(kCrLf);
  return headers;
}

int JudgeImportAnswer(std::uint16_t modelId, std::string_view answer) {
  switch (static_cast<std::uint8_t>(modelId & 0xFF)) {
    case kKavexKind88:
      return Contains(answer, "Sueecess") ? 0 : kImportNotConfirmed88;
    case kKavexKind80:
      return Contains(answer, "Config File Import Success") ? 0 : kImportNotConfirmed;
    default:
      return kImportNotConfirmed;
  }
}

int JudgeFirmwareAnswer(long httpStatus, std::string_view page) {
  if (Contains(page, "Unauthorized")) return kFirmwareUnauthorized;
  if (Contains(page, "File size mismatch")) return kFirmwareSizeMismatch;
  if (httpStatus == 401) return kFirmwareUnauthorized;
  if (httpStatus >= 400) return kFirmwareOtherFailure;
  return 0;
}

int JudgeDownloadAnswer(long httpStatus, std::string_view page) {
  if (Contains(page, "Access Error: Unauthorized")) return kDownloadUnauthorized;
  if (httpStatus == 401) return kDownloadUnauthorized;
  if (httpStatus < 200 || httpStatus > 299) return kDownloadFailure;
  return 0;
}

bool FirmwareAnswerReader::Add(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t received = answer_.size();
    if (received >= kAnswerLimit) return false;
    const std::size_t intoPiece = received % kFirmwareAnswerPiece;
    if (intoPiece == 0 && progress_ != nullptr) {
      progress_->store(static_cast<int>(received * 100 / kFirmwareAnswerFullScale));
    }
    std::size_t take = kFirmwareAnswerPiece - intoPiece;
    if (take > bytes.size()) take = bytes.size();
    answer_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
  }
  return true;
}

}  // namespace vantrell
