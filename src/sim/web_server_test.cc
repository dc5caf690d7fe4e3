#include "sim/web_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "platform/digest.h"
#include "sim/loopback_test_client.h"
#include "sim/session_messages.h"

namespace vantrell::sim {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;
using testing::LoopbackClient;
using ::testing::Not;
using testing::ReceiveEnd;

const std::string kBoundary = "-----------------------------7d7271f202c6";

SimDevice VideoServer(std::uint16_t modelId, std::uint8_t last) {
  SimDevice device;
  device.modelId = modelId;
  device.mac = {0x02, 0, 0, 0, 1, last};
  device.ip = MakeIpv4(127, 0, 0, last);
  device.webPort = 0;  // a free port
  device.kavexUser = "admin";
  device.kavexPassword = "pw";
  device.configFile = "Name=cam\r\n";
  return device;
}

std::string Credentials(const std::string& user, const std::string& password) {
  return "Authorization: Basic " + Base64Encode(user + ":" + password) + "\r\n";
}

/// The configuration post as the workstation sends it (HTTP/1.1, own socket).
std::string ConfigPost(const std::string& file, const std::string& credentials) {
  const std::string body = kBoundary +
                           "\r\nContent-Disposition: form-data; name=\"uploadfile\"; "
                           "Content-Type: application/octet-stream\r\n\r\n" +
                           file + kBoundary + "--\r\n\r\n";
  return "POST /kelt-cgi/UploadConfigfile.cgi HTTP/1.1\r\nHOST: 127.0.0.70\r\n"
         "Content-Type: multipart/form-data; boundary=" +
         kBoundary + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + credentials +
         "User-Agent: HTTP\r\n\r\n" + body;
}

/// The firmware post (HTTP/1.0).
std::string FirmwarePost(const std::string& image, const std::string& credentials) {
  const std::string body = kBoundary +
                           "\r\nContent-Disposition: form-data; name=\"uploadfile\"; "
                           "filename=\"/tmp/vts/fw.rom\"\r\nContent-Type: application/octet-stream"
                           "\r\n\r\n" +
                           image + kBoundary + "--\r\n\r\n";
  return "POST /kelt-cgi/UploadFirmwareFile.cgi HTTP/1.0\r\nUser-Agent: HTTP\r\n"
         "Content-Type: multipart/form-data; boundary=" +
         kBoundary + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + credentials +
         "\r\n" + body;
}

std::string Download(const std::string& credentials) {
  return "GET /kelt-cgi/sys_config.ini HTTP/1.0\r\nUser-Agent: RTSP URL\r\n" + credentials + "\r\n";
}

class WebServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    devices_ = {VideoServer(0x0080, 70), VideoServer(0x1088, 71), VideoServer(0x0080, 72)};
    devices_[2].faults.httpAnswer = HttpAnswer::kSizeMismatch;
    devices_[1].faults.httpStallAfter = stallAfter_;
    SimDevice sw;
    sw.modelId = 0x6008;
    sw.ip = MakeIpv4(127, 0, 0, 73);
    devices_.push_back(sw);  // a switch has no web server here
    recorder_ = std::make_unique<Recorder>([this](const std::string& line) {
      std::lock_guard lock(mutex_);
      lines_.push_back(line);
    });
    server_.emplace(loop_, devices_, WebServerOptions{}, recorder_.get(), nullptr);
    std::string error;
    ASSERT_EQ(server_->Start(&error), 0) << error;
    ASSERT_EQ(server_->ListenerCount(), 3u);
    thread_ = std::thread([this] { loop_.Run(); });
  }

  void TearDown() override {
    loop_.Stop();
    if (thread_.joinable()) thread_.join();
    server_.reset();
  }

  /// Sends one request to device i and returns the whole answer.
  std::string Exchange(std::size_t device, const std::string& request) {
    LoopbackClient client;
    if (!client.Connect(devices_[device].ip, server_->BoundPort(device))) return "no connection";
    client.Send(request);
    ReceiveEnd end;
    std::string answer = client.ReceiveAll(&end);
    if (end != ReceiveEnd::kClosed) answer += "\n(not closed by the server)";
    return answer;
  }

  std::vector<json> Records() {
    std::lock_guard lock(mutex_);
    std::vector<json> records;
    for (const std::string& line : lines_) records.push_back(json::parse(line));
    return records;
  }

  std::uint32_t stallAfter_ = 0;
  std::vector<SimDevice> devices_;
  EventLoop loop_;
  std::unique_ptr<Recorder> recorder_;
  std::optional<WebServer> server_;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

TEST_F(WebServerTest, ConfigurationUploadAndDownload) {
  const std::string good = Credentials("admin", "pw");
  std::string answer = Exchange(0, ConfigPost("Name=new\r\n", Credentials("admin", "PW")));
  EXPECT_THAT(answer, ::testing::StartsWith("HTTP/1.1 401 Unauthorized\r\n"));
  EXPECT_THAT(answer, HasSubstr("Access Error: Unauthorized"));
  EXPECT_THAT(Exchange(0, Download(good)), HasSubstr("\r\n\r\nName=cam\r\n"));

  answer = Exchange(0, ConfigPost("Name=new\r\n", good));
  EXPECT_THAT(answer, ::testing::StartsWith("HTTP/1.1 200 OK\r\n"));
  EXPECT_THAT(answer, HasSubstr("Config File Import Success"));
  EXPECT_THAT(answer, HasSubstr("Connection: close\r\n"));
  EXPECT_THAT(answer, Not(HasSubstr("not closed")));
  answer = Exchange(0, Download(good));
  EXPECT_THAT(answer, ::testing::StartsWith("HTTP/1.0 200 OK\r\n"));
  EXPECT_THAT(answer, HasSubstr("\r\n\r\nName=new\r\n"));

  // Model low byte 0x88 confirms with its own spelling.
  answer = Exchange(1, ConfigPost("X=1\r\n", good));
  EXPECT_THAT(answer, HasSubstr("Sueecess"));
  EXPECT_THAT(answer, Not(HasSubstr("Import Success")));

  const std::vector<json> records = Records();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0]["result"], "wrong credentials");
  EXPECT_EQ(records[0]["status"], 401);
  EXPECT_EQ(records[2]["proto"], "http");
  EXPECT_EQ(records[2]["path"], "/kelt-cgi/UploadConfigfile.cgi");
  EXPECT_EQ(records[2]["fileLength"], 10);
  EXPECT_EQ(records[2]["fileMd5"], HexText(Md5(std::string_view("Name=new\r\n"))));
  EXPECT_EQ(records[2]["headers"]["HOST"], "127.0.0.70");
  EXPECT_EQ(records[2]["result"], "configuration file taken");
}

TEST_F(WebServerTest, FirmwareUploadAnswers) {
  std::string image(5000, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 13);
  std::string answer = Exchange(0, FirmwarePost(image, Credentials("admin", "pw")));
  EXPECT_THAT(answer, ::testing::StartsWith("HTTP/1.0 200 OK\r\n"));
  EXPECT_THAT(answer, HasSubstr("Content-Length: 2020\r\n"));
  EXPECT_EQ(answer.size() - answer.find("\r\n\r\n") - 4, 2020u);
  EXPECT_THAT(answer, Not(HasSubstr("Unauthorized")));
  EXPECT_THAT(answer, Not(HasSubstr("File size mismatch")));

  EXPECT_THAT(Exchange(0, FirmwarePost(image, "")), HasSubstr("Unauthorized"));
  EXPECT_THAT(Exchange(2, FirmwarePost(image, Credentials("admin", "pw"))),
              HasSubstr("File size mismatch"));
  EXPECT_THAT(Exchange(0, FirmwarePost("", Credentials("admin", "pw"))),
              HasSubstr("File size mismatch"));

  const std::vector<json> records = Records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0]["fileName"], "/tmp/vts/fw.rom");
  EXPECT_EQ(records[0]["fileLength"], 5000);
  EXPECT_EQ(records[0]["fileMd5"], HexText(Md5(std::string_view(image))));
  EXPECT_EQ(records[1]["result"], "no credentials");
  EXPECT_EQ(records[2]["result"], "answered File size mismatch (httpAnswer)");
}

class StalledWebServerTest : public WebServerTest {
 protected:
  void SetUp() override {
    stallAfter_ = 64;
    WebServerTest::SetUp();
  }
};

TEST_F(StalledWebServerTest, UploadThatStallsIsNeitherReadOnNorAnsweredNorClosed) {
  LoopbackClient client;
  ASSERT_TRUE(client.Connect(devices_[1].ip, server_->BoundPort(1)));
  client.Send(FirmwarePost("image", Credentials("admin", "pw")));
  ReceiveEnd end = ReceiveEnd::kComplete;
  EXPECT_EQ(client.ReceiveAll(&end, std::chrono::milliseconds(1500)), "");
  EXPECT_EQ(end, ReceiveEnd::kTimeout);  // still open, silent
  EXPECT_TRUE(Records().empty());
  // The other video servers are not affected.
  EXPECT_THAT(Exchange(0, FirmwarePost("image", Credentials("admin", "pw"))), HasSubstr("200 OK"));
}

TEST_F(WebServerTest, DownloadWithoutCredentialsAndOtherPaths) {
  std::string answer = Exchange(0, Download(""));
  EXPECT_THAT(answer, ::testing::StartsWith("HTTP/1.0 401 Unauthorized\r\n"));
  EXPECT_THAT(answer, HasSubstr("WWW-Authenticate: Basic"));
  EXPECT_THAT(answer, HasSubstr("Access Error: Unauthorized"));
  EXPECT_THAT(Exchange(0, "GET /index.html HTTP/1.0\r\n\r\n"),
              ::testing::StartsWith("HTTP/1.0 404"));
  EXPECT_THAT(Exchange(0, "POST /kelt-cgi/sys_config.ini HTTP/1.0\r\nContent-Length: 0\r\n\r\n"),
              ::testing::StartsWith("HTTP/1.0 405"));
  EXPECT_THAT(Exchange(0, "POST /kelt-cgi/UploadFirmwareFile.cgi HTTP/1.0\r\n\r\n"),
              ::testing::StartsWith("HTTP/1.0 411"));
}

}  // namespace
}  // namespace vantrell::sim
