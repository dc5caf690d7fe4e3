#include "sim/web_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantrell::sim {
namespace {

using ::testing::HasSubstr;
using State = WebRequestReader::State;

const std::string kBoundary = "-----------------------------7d7271f202c6";

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

/// The configuration post as the workstation builds it.
std::string ConfigPost(std::string_view file) {
  const std::string body = kBoundary +
                           "\r\nContent-Disposition: form-data; name=\"uploadfile\"; "
                           "Content-Type: application/octet-stream\r\n\r\n" +
                           std::string(file) + kBoundary + "--\r\n\r\n";
  return "POST /kelt-cgi/UploadConfigfile.cgi HTTP/1.1\r\nHOST: 127.0.0.70\r\n"
         "Content-Type: multipart/form-data; boundary=" +
         kBoundary + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nAuthorization: Basic YWRtaW46cHc=\r\nUser-Agent: HTTP\r\n\r\n" + body;
}

TEST(WebRequestReaderTest, ConfigPostFedByteByByte) {
  const std::string text = ConfigPost("A=1\r\n");
  WebRequestReader reader;
  State state = State::kNeedMore;
  for (std::size_t i = 0; i < text.size(); ++i) {
    ASSERT_EQ(state, State::kNeedMore) << i;
    state = reader.Feed(AsBytes(std::string_view(text).substr(i, 1)));
  }
  ASSERT_EQ(state, State::kComplete);
  const WebRequest& r = reader.Request();
  EXPECT_EQ(r.method, "POST");
  EXPECT_EQ(r.Path(), "/kelt-cgi/UploadConfigfile.cgi");
  EXPECT_EQ(r.version, "HTTP/1.1");
  EXPECT_EQ(r.Header("host").value_or(""), "127.0.0.70");
  EXPECT_EQ(r.Header("USER-AGENT").value_or(""), "HTTP");
  EXPECT_THAT(r.body, ::testing::StartsWith(kBoundary + "\r\n"));
  EXPECT_FALSE(reader.WantsContinue());
}

TEST(WebRequestReaderTest, RefusesWhatItCannotTake) {
  const auto statusOf = [](const std::string& text) {
    WebRequestReader reader;
    reader.Feed(AsBytes(text));
    return reader.CurrentState() == State::kBad ? reader.BadStatus() : 0;
  };
  EXPECT_EQ(statusOf("POST /x HTTP/1.0\r\n\r\n"), 411);
  EXPECT_EQ(statusOf("POST /x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"), 501);
  EXPECT_EQ(statusOf("GET /x HTTP/2.0\r\n\r\n"), 505);
  EXPECT_EQ(statusOf("GET\r\n\r\n"), 400);
  EXPECT_EQ(statusOf("POST /x HTTP/1.0\r\nContent-Length: 12x\r\n\r\n"), 400);
  EXPECT_EQ(statusOf("POST /x HTTP/1.0\r\nContent-Length: 99999999999\r\n\r\n"), 413);
  EXPECT_EQ(statusOf("GET /x HTTP/1.0\r\nX: " + std::string(20000, 'a')), 431);
  EXPECT_EQ(statusOf("GET /kelt-cgi/sys_config.ini?x=1 HTTP/1.0\r\n\r\n"), 0);

  WebRequestReader expecting;
  expecting.Feed(AsBytes("POST /x HTTP/1.1\r\nContent-Length: 3\r\nExpect: 100-continue\r\n\r\n"));
  EXPECT_TRUE(expecting.WantsContinue());
  EXPECT_EQ(expecting.Feed(AsBytes("abcdef")), State::kComplete);
  EXPECT_EQ(expecting.Request().body, "abc");
}

TEST(WebUploadTest, ConfigAndFirmwareBodiesAndTheUsualForm) {
  WebRequestReader config;
  ASSERT_EQ(config.Feed(AsBytes(ConfigPost("line 1\r\nline 2\r\n"))), State::kComplete);
  std::string why;
  std::optional<UploadPart> part = ExtractUpload(config.Request(), &why);
  ASSERT_TRUE(part) << why;
  EXPECT_EQ(part->data, "line 1\r\nline 2\r\n");
  EXPECT_EQ(part->fieldName, "uploadfile");
  EXPECT_EQ(part->fileName, "");

  WebRequest firmware;
  firmware.headers = {{"Content-Type", "multipart/form-data; boundary=" + kBoundary}};
  firmware.body =
      kBoundary +
      "\r\nContent-Disposition: form-data; name=\"uploadfile\"; "
      "filename=\"/home/op/fw v2.rom\"\r\nContent-Type: application/octet-stream\r\n\r\n"
      "\x01\x02" +
      kBoundary + "--\r\n\r\n";
  part = ExtractUpload(firmware, &why);
  ASSERT_TRUE(part) << why;
  EXPECT_EQ(part->fileName, "/home/op/fw v2.rom");
  EXPECT_EQ(part->fieldName, "uploadfile");
  EXPECT_EQ(part->data, "\x01\x02");
  EXPECT_THAT(part->partHeaders, HasSubstr("\r\nContent-Type: application/octet-stream"));

  WebRequest usual = firmware;
  usual.headers = {{"content-type", "multipart/form-data; boundary=\"abc\""}};
  usual.body =
      "--abc\r\nContent-Disposition: form-data; name=\"uploadfile\"\r\n\r\nDATA\r\n--abc--\r\n";
  part = ExtractUpload(usual, &why);
  ASSERT_TRUE(part) << why;
  EXPECT_EQ(part->data, "DATA");

  WebRequest unclosed = firmware;
  unclosed.body = firmware.body.substr(0, firmware.body.size() - 8);
  EXPECT_FALSE(ExtractUpload(unclosed, &why));
  EXPECT_THAT(why, HasSubstr("closing boundary"));
  WebRequest noBoundary = firmware;
  noBoundary.headers = {{"Content-Type", "application/octet-stream"}};
  EXPECT_FALSE(ExtractUpload(noBoundary, &why));
}

TEST(WebCredentialsTest, BasicCredentialsByteForByte) {
  WebRequest request;
  EXPECT_FALSE(HasBasicCredentials(request, "admin", ""));
  request.headers = {{"Authorization", "Basic YWRtaW46cHc="}};  // admin:pw
  EXPECT_TRUE(HasBasicCredentials(request, "admin", "pw"));
  EXPECT_FALSE(HasBasicCredentials(request, "admin", "pW"));
  request.headers = {{"authorization", "basic YWRtaW46"}};  // admin:
  EXPECT_TRUE(HasBasicCredentials(request, "admin", ""));
  // Bytes above 0x7F are encoded as they are: e4 3a ff.
  request.headers = {{"Authorization", "Basic 5Dr/"}};
  EXPECT_TRUE(HasBasicCredentials(request, "\xe4", "\xff"));
  request.headers = {{"Authorization", "Digest 5Dr/"}};
  EXPECT_FALSE(HasBasicCredentials(request, "\xe4", "\xff"));
}

}  // namespace
}  // namespace vantrell::sim
