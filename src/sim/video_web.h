#pragma once
/// The web server of a simulated video server, free of sockets: the answer
/// to each request on its three CGI paths, behind Basic credentials
/// (kavexUser, kavexPassword), and what the request changes on the device.
///
/// - POST /kelt-cgi/UploadConfigfile.cgi: takes the uploaded file as the
///   device's configuration file; the page reports "Config File Import
///   Success" (model low byte 0x80) or "Config File Import Sueecess" (0x88).
/// - POST /kelt-cgi/UploadFirmwareFile.cgi: takes the image; a success page
///   of 2020 bytes, or "File size mismatch" when no file part came.
/// - GET /kelt-cgi/sys_config.ini: the configuration file as it stands.
/// Wrong or missing credentials give 401 with "Access Error: Unauthorized".

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/sim_device.h"
#include "sim/web_request.h"

namespace vantrell::sim {

inline constexpr std::string_view kConfigUploadPath = "/kelt-cgi/UploadConfigfile.cgi";
inline constexpr std::string_view kFirmwareUploadPath = "/kelt-cgi/UploadFirmwareFile.cgi";
inline constexpr std::string_view kConfigDownloadPath = "/kelt-cgi/sys_config.ini";

/// Length of the firmware success page: the workstation measures its
/// progress against it.
inline constexpr std::size_t kFirmwarePageBytes = 2020;

struct WebAnswer {
  int status = 200;
  std::string contentType = "text/html";
  std::vector<std::pair<std::string, std::string>> extraHeaders;
  std::string body;
};

struct WebOutcome {
  WebAnswer answer;
  /// Fields for the record line ("result", upload details).
  nlohmann::json record = nlohmann::json::object();
};

/// Answers one complete request and applies what it changes.
WebOutcome AnswerVideoServerRequest(SimDevice& device, const WebRequest& request);

/// The answer of a request that could not be read (status 400, 411, ...).
WebAnswer BadRequestAnswer(int status, const std::string& reason);

/// Status line, headers (Content-Type, Content-Length, Connection: close)
/// and body, in the version of the request.
std::string SerializeAnswer(const WebAnswer& answer, std::string_view version);

}  // namespace vantrell::sim
