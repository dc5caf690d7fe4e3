#include "net/http_config_post.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "net/http_test_server.h"
#include "net/http_texts.h"

namespace vantrell {
namespace {

using testing::ScratchFolder;
using testing::ScriptedHttpServer;
using testing::ServerScript;

constexpr char kOkPage88[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<h2>Sueecess</h2>";
constexpr char kOkPage80[] = "HTTP/1.1 200 OK\r\n\r\n<p>Config File Import Success</p>";

DeviceRecord Kavex(std::uint16_t modelId, std::uint16_t port) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.webPort = port;
  SetFieldText(record.kavexUser, "admin");
  SetFieldText(record.kavexPassword, "s3cr\xE9t");
  return record;
}

/// Waits of 50 ms, so failures come within a fraction of a second.
Timing ShortTiming() {
  Timing timing;
  timing.httpConnectWaitMs = 50;
  timing.httpHeaderWaitMs = 50;
  timing.httpBodyWaitMs = 50;
  timing.httpCancelPollMs = 10;
  return timing;
}

int ElapsedMs(std::chrono::steady_clock::time_point since) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - since)
                              .count());
}

TEST(importViaHttp, SendsTheRequestByteForByte) {
  ScratchFolder folder;
  const std::string file("[Kavex]\r\nName=cam\0\x01\xFF\r\n", 22);
  const std::string path = folder.Write("cam.ini", file);
  ScriptedHttpServer server({.answer = kOkPage88});
  EXPECT_EQ(importViaHttp(Kavex(0x1288, server.port()), path, ShortTiming()), 0);

  const std::string body =
      "-----------------------------7d7271f202c6\r\n"
      "Content-Disposition: form-data; name=\"uploadfile\"; "
      "Content-Type: application/octet-stream\r\n\r\n" +
      file + "-----------------------------7d7271f202c6--\r\n\r\n";
  // Base64 of "admin:s3cr\xE9t".
  const std::string header =
      "POST /kelt-cgi/UploadConfigfile.cgi HTTP/1.1\r\n"
      "HOST: 127.0.0.1\r\n"
      "Content-Type: multipart/form-data; boundary=-----------------------------7d7271f202c6\r\n"
      "Content-Length: " +
      std::to_string(body.size()) +
      "\r\n"
      "Authorization: Basic YWRtaW46czNjcul0\r\n"
      "User-Agent: HTTP\r\n\r\n";
  EXPECT_EQ(body.size(), 136u + 22u + 47u);
  EXPECT_EQ(server.ReceivedHeader(), header);
  EXPECT_EQ(server.ReceivedBody(), body);
}

TEST(importViaHttp, EmptyFileStillCountsHeadAndClosing) {
  ScratchFolder folder;
  const std::string path = folder.Write("empty.ini", "");
  ScriptedHttpServer server({.answer = kOkPage80});
  EXPECT_EQ(importViaHttp(Kavex(0x0080, server.port()), path, ShortTiming()), 0);
  EXPECT_NE(server.ReceivedHeader().find("\r\nContent-Length: 183\r\n"), std::string::npos);
  EXPECT_EQ(server.ReceivedBody().size(), 183u);
}

struct AnswerCase {
  std::uint16_t modelId;
  const char* answer;
  int result;
};

TEST(importViaHttp, AnswerDecidesByModelKind) {
  ScratchFolder folder;
  const std::string path = folder.Write("cam.ini", "Name=cam\r\n");
  const AnswerCase cases[] = {
      {0x1288, kOkPage88, 0},
      {0x1288, "HTTP/1.1 200 OK\r\n\r\nUpload Success", -6},
      {0x3480, kOkPage80, 0},
      {0x3480, kOkPage88, -7},
      {0x6008, kOkPage80, -7},
      // The server closes without a word.
      {0x1288, "", -6},
      {0x3480, "", -7},
  };
  for (const AnswerCase& c : cases) {
    ScriptedHttpServer server({.answer = c.answer});
    EXPECT_EQ(importViaHttp(Kavex(c.modelId, server.port()), path, ShortTiming()), c.result)
        << std::hex << c.modelId << " " << c.answer;
  }
}

TEST(importViaHttp, RefusedConnectionReturnsTheSocketError) {
  ScratchFolder folder;
  const std::string path = folder.Write("cam.ini", "x");
  std::uint16_t port = 0;
  {
    ScriptedHttpServer closed({});
    port = closed.port();
  }
  EXPECT_EQ(importViaHttp(Kavex(0x1288, port), path, ShortTiming()), -ECONNREFUSED);
}

TEST(importViaHttp, SilentServerTimesOutAfterFourWaits) {
  ScratchFolder folder;
  const std::string path = folder.Write("cam.ini", "x");
  ScriptedHttpServer server({.answer = "", .closeAfterAnswer = false});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(importViaHttp(Kavex(0x1288, server.port()), path, ShortTiming()), kImportTimeout);
  const int elapsed = ElapsedMs(start);
  EXPECT_GE(elapsed, 4 * 50 - 10);
  EXPECT_LT(elapsed, 2000);
  // The whole request had gone before the wait for the answer began.
  EXPECT_EQ(server.ReceivedBody().size(), 136u + 1u + 47u);
}

TEST(importViaHttp, ServerThatStopsReadingTimesOut) {
  ScratchFolder folder;
  const std::string path = folder.Write("big.ini", std::string(24 << 20, 'c'));
  ScriptedHttpServer server({.answer = "", .readRequest = false, .receiveBuffer = 4096});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(importViaHttp(Kavex(0x1288, server.port()), path, ShortTiming()), kImportTimeout);
  EXPECT_LT(ElapsedMs(start), 5000);
}

TEST(importViaHttp, UnreadableFileFailsBeforeConnecting) {
  ScratchFolder folder;
  ScriptedHttpServer server({.answer = kOkPage88});
  EXPECT_EQ(importViaHttp(Kavex(0x1288, server.port()), (folder.path() / "gone.ini").string(),
                          ShortTiming()),
            kImportFileError);
  EXPECT_EQ(importViaHttp(Kavex(0x1288, server.port()), folder.path().string(), ShortTiming()),
            kImportFileError);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(server.Received(), "");
}

TEST(importViaHttp, CancelFromAnotherThreadEndsAWaitAtOnce) {
  ScratchFolder folder;
  const std::string path = folder.Write("cam.ini", "x");
  ScriptedHttpServer server({.answer = "", .closeAfterAnswer = false});
  std::atomic<bool> cancel{false};
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  // Shipping waits (1 s, four of them): only the cancel can end this soon.
  EXPECT_EQ(importViaHttp(Kavex(0x1288, server.port()), path, Timing{}, &cancel), kImportCancelled);
  EXPECT_LT(ElapsedMs(start), 800);
  canceller.join();
}

TEST(importViaHttp, EndlessAnswerIsCutOff) {
  ScratchFolder folder;
  const std::string path = folder.Write("cam.ini", "x");
  ScriptedHttpServer server({.answer = std::string(kAnswerLimit + 1, 'z')});
  EXPECT_EQ(importViaHttp(Kavex(0x1288, server.port()), path, ShortTiming()), kImportAnswerTooLong);
}

}  // namespace
}  // namespace vantrell
