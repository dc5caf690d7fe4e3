#include "net/http_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/http_test_server.h"
#include "net/http_texts.h"

namespace vantrell {
namespace {

using testing::ReadFileBytes;
using testing::ScratchFolder;
using testing::ScriptedHttpServer;
using testing::ServerScript;

DeviceRecord Kavex(std::uint16_t port) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = 0x1288;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.webPort = port;
  SetFieldText(record.kavexUser, "root");
  SetFieldText(record.kavexPassword, "pass");
  return record;
}

constexpr char kRootPassCredentials[] = "Authorization: Basic cm9vdDpwYXNz";

Timing ShortTiming() {
  Timing timing;
  timing.httpClientConnectMs = 2000;
  timing.httpFirmwareIdleMs = 300;
  timing.httpDownloadIdleMs = 300;
  timing.httpCancelPollMs = 10;
  return timing;
}

std::string Page(const std::string& status, const std::string& page) {
  return "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n\r\n" + page;
}

int ElapsedMs(std::chrono::steady_clock::time_point since) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - since)
                              .count());
}

std::size_t Count(const std::string& text, const std::string& word) {
  std::size_t n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

std::uint16_t ClosedPort() {
  ScriptedHttpServer closed({});
  return closed.port();
}

// --- firmware post ---------------------------------------------------------

TEST(uploadFirmwareFile, SendsHttp10PostWithExtraHeadersAndExactBody) {
  ScratchFolder folder;
  const std::string image(
      "\x7F"
      "ELF\0\x01\x02\xFF",
      8);
  const std::string path = folder.Write("cam v2.rom", image);
  ScriptedHttpServer server({.answer = Page("200 OK", "<html>Upgrade OK</html>")});
  std::atomic<int> progress{0};
  EXPECT_EQ(uploadFirmwareFile(Kavex(server.port()), path, &progress, ShortTiming()), 0);

  const std::string body =
      "-----------------------------7d7271f202c6\r\n"
      "Content-Disposition: form-data; name=\"uploadfile\"; filename=\"" +
      path +
      "\"\r\n"
      "Content-Type: application/octet-stream\r\n\r\n" +
      image + "-----------------------------7d7271f202c6--\r\n\r\n";
  const std::string header = server.ReceivedHeader();
  EXPECT_EQ(header.rfind("POST /kelt-cgi/UploadFirmwareFile.cgi HTTP/1.0\r\n", 0), 0u) << header;
  EXPECT_NE(header.find("\r\nUser-Agent: HTTP\r\n"), std::string::npos);
  const std::string extra =
      "Content-Type: multipart/form-data; boundary=-----------------------------7d7271f202c6\r\n"
      "Content-Length: " +
      std::to_string(body.size()) + "\r\n" + kRootPassCredentials + "\r\n";
  EXPECT_NE(header.find("\r\n" + extra), std::string::npos) << header;
  // The library adds none of these a second time.
  EXPECT_EQ(Count(header, "Content-Length:"), 1u);
  EXPECT_EQ(Count(header, "Content-Type:"), 1u);
  EXPECT_EQ(Count(header, "Authorization:"), 1u);
  EXPECT_EQ(Count(header, "Expect:"), 0u);
  EXPECT_EQ(server.ReceivedBody(), body);
}

TEST(uploadFirmwareFile, AnswerBytesDriveTheProgress) {
  ScratchFolder folder;
  const std::string path = folder.Write("fw.rom", "image");
  struct Case {
    std::size_t pageBytes;
    int progress;
  } cases[] = {{4040, 199}, {2020, 99}, {68, 2}, {1, 0}};
  for (const Case& c : cases) {
    ScriptedHttpServer server({.answer = Page("200 OK", std::string(c.pageBytes, 'o'))});
    std::atomic<int> progress{-1};
    EXPECT_EQ(uploadFirmwareFile(Kavex(server.port()), path, &progress, ShortTiming()), 0);
    EXPECT_EQ(progress.load(), c.progress) << c.pageBytes;
  }
}

TEST(uploadFirmwareFile, ResultCodesFromTheAnswer) {
  ScratchFolder folder;
  const std::string path = folder.Write("fw.rom", "image");
  struct Case {
    std::string answer;
    int result;
  } cases[] = {
      {Page("200 OK", "<html><body><h1>Unauthorized</h1></body></html>"), -16},
      {Page("200 OK", "Error: File size mismatch"), -12},
      {Page("401 Unauthorized", ""), -16},
      {Page("500 Internal Server Error", "oops"), -1},
      // Headers cut off: no HTTP answer at all.
      {"HTTP/1.0 200", -3},
  };
  for (const Case& c : cases) {
    ScriptedHttpServer server({.answer = c.answer});
    std::atomic<int> progress{0};
    EXPECT_EQ(uploadFirmwareFile(Kavex(server.port()), path, &progress, ShortTiming()), c.result)
        << c.answer;
  }
}

TEST(uploadFirmwareFile, NetworkFailuresAreMinus3) {
  ScratchFolder folder;
  const std::string path = folder.Write("fw.rom", "image");
  EXPECT_EQ(uploadFirmwareFile(Kavex(ClosedPort()), path, nullptr, ShortTiming()), -3);

  ScriptedHttpServer silent({.answer = "", .closeAfterAnswer = false});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(uploadFirmwareFile(Kavex(silent.port()), path, nullptr, ShortTiming()), -3);
  EXPECT_LT(ElapsedMs(start), 3000);
}

TEST(uploadFirmwareFile, DeviceThatStopsTakingTheImageFailsAfterTheUploadIdleTime) {
  // The device accepts and then neither reads nor answers: once the
  // buffers are full nothing moves, and the upload ends after
  // httpUploadIdleMs, not after the long wait for the answer.
  ScratchFolder folder;
  const std::string path = folder.Write("big.rom", std::string(24 * 1024 * 1024, '\x5A'));
  ScriptedHttpServer stalled({.answer = "", .readRequest = false, .receiveBuffer = 4096});
  Timing timing = ShortTiming();
  timing.httpUploadIdleMs = 300;
  timing.httpFirmwareIdleMs = 20000;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(uploadFirmwareFile(Kavex(stalled.port()), path, nullptr, timing), -3);
  EXPECT_GE(ElapsedMs(start), 300);
  EXPECT_LT(ElapsedMs(start), 5000);
}

TEST(uploadFirmwareFile, WaitForTheAnswerAfterTheWholeBodyKeepsItsLength) {
  ScratchFolder folder;
  const std::string path = folder.Write("fw.rom", "image");
  ScriptedHttpServer silent({.answer = "", .closeAfterAnswer = false});
  Timing timing = ShortTiming();
  timing.httpUploadIdleMs = 100;
  timing.httpFirmwareIdleMs = 700;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(uploadFirmwareFile(Kavex(silent.port()), path, nullptr, timing), -3);
  EXPECT_GE(ElapsedMs(start), 700);
  EXPECT_LT(ElapsedMs(start), 3000);
}

TEST(uploadFirmwareFile, UnreadableFileFailsWithoutConnecting) {
  ScratchFolder folder;
  ScriptedHttpServer server({.answer = Page("200 OK", "")});
  EXPECT_EQ(uploadFirmwareFile(Kavex(server.port()), (folder.path() / "none.rom").string(), nullptr,
                               ShortTiming()),
            -1);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(server.Received(), "");
}

TEST(uploadFirmwareFile, CancelEndsTheTransferSoon) {
  ScratchFolder folder;
  const std::string path = folder.Write("fw.rom", "image");
  ScriptedHttpServer silent({.answer = "", .closeAfterAnswer = false});
  std::atomic<bool> cancel{false};
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(uploadFirmwareFile(Kavex(silent.port()), path, nullptr, Timing{}, &cancel), -3);
  EXPECT_LT(ElapsedMs(start), 800);
  canceller.join();
}

// --- configuration download ------------------------------------------------

TEST(downloadConfigFile, SendsHttp10GetAndWritesTheBytes) {
  ScratchFolder folder;
  const std::string content("[Network]\r\nIP=10.0.0.9\r\n\0\xFE", 26);
  ScriptedHttpServer server({.answer = Page("200 OK", content)});
  const std::string path = (folder.path() / "cam.ini").string();
  EXPECT_EQ(downloadConfigFile(Kavex(server.port()), path, ShortTiming()), 0);
  EXPECT_EQ(ReadFileBytes(path), content);
  EXPECT_EQ(folder.Listing(), "cam.ini;");

  const std::string header = server.ReceivedHeader();
  EXPECT_EQ(header.rfind("GET /kelt-cgi/sys_config.ini HTTP/1.0\r\n", 0), 0u) << header;
  EXPECT_NE(header.find("\r\nUser-Agent: RTSP URL\r\n"), std::string::npos);
  EXPECT_NE(header.find(std::string("\r\n") + kRootPassCredentials + "\r\n"), std::string::npos);
  EXPECT_EQ(server.ReceivedBody(), "");
}

TEST(downloadConfigFile, RefusedCredentialsAreMinus2AndWriteNothing) {
  ScratchFolder folder;
  const std::string path = folder.Write("cam.ini", "previous export");
  for (const std::string& answer :
       {Page("200 OK", "<html>Access Error: Unauthorized</html>"), Page("401 Unauthorized", "")}) {
    ScriptedHttpServer server({.answer = answer});
    EXPECT_EQ(downloadConfigFile(Kavex(server.port()), path, ShortTiming()), -2) << answer;
  }
  EXPECT_EQ(ReadFileBytes(path), "previous export");
  EXPECT_EQ(folder.Listing(), "cam.ini;");
}

TEST(downloadConfigFile, FailuresAreMinus1AndLeaveNoFile) {
  ScratchFolder folder;
  const std::string path = (folder.path() / "cam.ini").string();
  const std::string answers[] = {
      Page("404 Not Found", "<html>Not Found</html>"),
      // Announces more than it sends: a truncated file must not appear.
      "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly part",
      Page("200 OK", std::string(kDownloadLimit + 1, 'x')),
  };
  for (const std::string& answer : answers) {
    ScriptedHttpServer server({.answer = answer});
    EXPECT_EQ(downloadConfigFile(Kavex(server.port()), path, ShortTiming()), -1)
        << answer.substr(0, 60);
  }
  EXPECT_EQ(downloadConfigFile(Kavex(ClosedPort()), path, ShortTiming()), -1);
  ScriptedHttpServer silent({.answer = "", .closeAfterAnswer = false});
  EXPECT_EQ(downloadConfigFile(Kavex(silent.port()), path, ShortTiming()), -1);
  EXPECT_EQ(folder.Listing(), "");
}

TEST(downloadConfigFile, LimitIsInclusive) {
  ScratchFolder folder;
  const std::string path = (folder.path() / "big.ini").string();
  ScriptedHttpServer server({.answer = Page("200 OK", std::string(kDownloadLimit, 'y'))});
  EXPECT_EQ(downloadConfigFile(Kavex(server.port()), path, ShortTiming()), 0);
  EXPECT_EQ(ReadFileBytes(path).size(), kDownloadLimit);
}

TEST(downloadConfigFile, FileThatCannotBeCreatedFails) {
  ScratchFolder folder;
  ScriptedHttpServer server({.answer = Page("200 OK", "data")});
  EXPECT_EQ(downloadConfigFile(Kavex(server.port()), (folder.path() / "no" / "cam.ini").string(),
                               ShortTiming()),
            -1);
}

TEST(downloadConfigFile, CancelEndsTheTransferSoon) {
  ScratchFolder folder;
  ScriptedHttpServer silent({.answer = "", .closeAfterAnswer = false});
  std::atomic<bool> cancel{false};
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(downloadConfigFile(Kavex(silent.port()), (folder.path() / "c.ini").string(), Timing{},
                               &cancel),
            -1);
  EXPECT_LT(ElapsedMs(start), 800);
  canceller.join();
  EXPECT_EQ(folder.Listing(), "");
}

}  // namespace
}  // namespace vantrell
