#include "sim/video_web.h"

#include "platform/digest.h"
#include "sim/session_messages.h"

namespace vantrell::sim {
namespace {

constexpr std::uint8_t kModelLowByteSueecess = 0x88;

const char* ReasonPhrase(int status) {
  switch (status) {
    case 100:
      return "Continue";
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 411:
      return "Length Required";
    case 413:
      return "Payload Too Large";
    case 431:
      return "Request Header Fields Too Large";
    case 501:
      return "Not Implemented";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Error";
  }
}

std::string Page(std::string_view text) {
  return "<HTML><HEAD><TITLE>Kavex</TITLE></HEAD>\n<BODY>\n" + std::string(text) +
         "\n</BODY></HTML>\n";
}

WebAnswer Unauthorized() {
  WebAnswer answer;
  answer.status = 401;
  answer.extraHeaders.emplace_back("WWW-Authenticate", "Basic realm=\"Kavex\"");
  answer.body =
      "<HTML><HEAD><TITLE>401 Unauthorized</TITLE></HEAD>\n<BODY><H1>401 Unauthorized</H1>\n"
      "Access Error: Unauthorized\n</BODY></HTML>\n";
  return answer;
}

WebAnswer PageAnswer(std::string_view text) {
  WebAnswer answer;
  answer.body = Page(text);
  return answer;
}

/// The firmware success page, padded to the length the workstation expects.
WebAnswer FirmwareSuccessPage() {
  WebAnswer answer;
  std::string page = Page("Upgrade Firmware OK. The device restarts now.");
  const std::string open = "<!-- ";
  const std::string close = " -->\n";
  const std::size_t room = kFirmwarePageBytes - page.size() - open.size() - close.size();
  page += open + std::string(room, '.') + close;
  answer.body = std::move(page);
  return answer;
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void RecordUpload(nlohmann::json& record, const UploadPart& part) {
  record["field"] = part.fieldName;
  record["fileName"] = part.fileName;
  record["partHeaders"] = part.partHeaders;
  record["fileLength"] = part.data.size();
  record["fileMd5"] = HexText(Md5(AsBytes(part.data)));
}

/// The answer the scenario forces on an upload, if any.
std::optional<WebAnswer> ForcedUploadAnswer(const SimDevice& device, nlohmann::json& record) {
  switch (device.faults.httpAnswer) {
    case HttpAnswer::kSuccess:
      return std::nullopt;
    case HttpAnswer::kSizeMismatch:
      record["result"] = "answered File size mismatch (httpAnswer)";
      return PageAnswer("File size mismatch");
    case HttpAnswer::kUnauthorized:
      record["result"] = "answered 401 (httpAnswer)";
      return Unauthorized();
    case HttpAnswer::kLiteral: {
      record["result"] = "answered the literal page (httpAnswer)";
      WebAnswer answer;
      answer.body = device.faults.httpAnswerText;
      return answer;
    }
  }
  return std::nullopt;
}

std::optional<UploadPart> UploadOf(const WebRequest& request, nlohmann::json& record) {
  std::string why;
  std::optional<UploadPart> part = ExtractUpload(request, &why);
  if (!part) {
    record["uploadError"] = why;
  } else if (part->fieldName != "uploadfile") {
    record["uploadError"] = "field \"" + part->fieldName + "\" is not \"uploadfile\"";
    RecordUpload(record, *part);
    part.reset();
  } else {
    RecordUpload(record, *part);
  }
  return part;
}

WebOutcome ConfigUpload(SimDevice& device, const WebRequest& request) {
  WebOutcome out;
  const std::optional<UploadPart> part = UploadOf(request, out.record);
  if (std::optional<WebAnswer> forced = ForcedUploadAnswer(device, out.record)) {
    out.answer = std::move(*forced);
    return out;
  }
  if (!part) {
    out.record["result"] = "configuration refused";
    out.answer = PageAnswer("Config File Import Fail");
    return out;
  }
  device.configFile = std::string(part->data);
  out.record["result"] = "configuration file taken";
  const bool misspelt = (device.modelId & 0xFF) == kModelLowByteSueecess;
  out.answer = PageAnswer(misspelt ? "Config File Import Sueecess" : "Config File Import Success");
  return out;
}

WebOutcome FirmwareUpload(SimDevice& device, const WebRequest& request) {
  WebOutcome out;
  const std::optional<UploadPart> part = UploadOf(request, out.record);
  if (std::optional<WebAnswer> forced = ForcedUploadAnswer(device, out.record)) {
    out.answer = std::move(*forced);
    return out;
  }
  if (!part || part->data.empty()) {
    out.record["result"] = "firmware refused: File size mismatch";
    out.answer = PageAnswer("File size mismatch");
    return out;
  }
  out.record["result"] = "firmware taken";
  out.answer = FirmwareSuccessPage();
  return out;
}

}  // namespace

WebOutcome AnswerVideoServerRequest(SimDevice& device, const WebRequest& request) {
  const std::string_view path = request.Path();
  const bool configUpload = path == kConfigUploadPath;
  const bool firmwareUpload = path == kFirmwareUploadPath;
  const bool download = path == kConfigDownloadPath;
  WebOutcome out;
  if (!configUpload && !firmwareUpload && !download) {
    out.answer = PageAnswer("404 Not Found");
    out.answer.status = 404;
    out.record["result"] = "unknown path";
    return out;
  }
  const char* method = download ? "GET" : "POST";
  if (request.method != method) {
    out.answer = PageAnswer("405 Method Not Allowed");
    out.answer.status = 405;
    out.answer.extraHeaders.emplace_back("Allow", method);
    out.record["result"] = "wrong method";
    return out;
  }
  if (!HasBasicCredentials(request, device.kavexUser, device.kavexPassword)) {
    out.answer = Unauthorized();
    out.record["result"] = request.Header("Authorization") ? "wrong credentials" : "no credentials";
    return out;
  }
  if (configUpload) return ConfigUpload(device, request);
  if (firmwareUpload) return FirmwareUpload(device, request);
  out.answer.contentType = "text/plain";
  out.answer.body = device.configFile;
  out.record["result"] = "configuration file sent";
  return out;
}

WebAnswer BadRequestAnswer(int status, const std::string& reason) {
  WebAnswer answer =
      PageAnswer(std::to_string(status) + " " + ReasonPhrase(status) + ": " + reason);
  answer.status = status;
  return answer;
}

std::string SerializeAnswer(const WebAnswer& answer, std::string_view version) {
  std::string text = std::string(version == "HTTP/1.1" ? "HTTP/1.1" : "HTTP/1.0") + " " +
                     std::to_string(answer.status) + " " + ReasonPhrase(answer.status) + "\r\n";
  text += "Content-Type: " + answer.contentType + "\r\n";
  text += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
  for (const auto& [name, value] : answer.extraHeaders) text += name + ": " + value + "\r\n";
  text += "Connection: close\r\n\r\n";
  text += answer.body;
  return text;
}

}  // namespace vantrell::sim
