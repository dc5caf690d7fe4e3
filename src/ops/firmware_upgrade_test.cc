#include "ops/firmware_upgrade.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "net/http_test_server.h"
#include "support/scripted_device.h"

namespace vantrell {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ScratchFolder;
using testing::ScriptedHttpServer;

/// What the device side of a socket pair does after the 5-byte header.
struct DeviceScript {
  Bytes firstReply = {0x0D, 0x00};
  bool readImage = true;
  /// Empty: close without an answer.
  Bytes finalReply = {0x0D, 0x01};
  /// Instead of answering, keep silent for this long (then close).
  int silenceMs = 0;
};

/// The far end of a socket pair playing a switch that takes an image.
class FirmwareDevice {
 public:
  explicit FirmwareDevice(DeviceScript script) : script_(std::move(script)) {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    session_.connection = TcpConnection::Adopt(fds[0]);
    session_.timing.replyMs = 300;
    fd_ = fds[1];
    thread_ = std::thread([this] { Play(); });
  }
  ~FirmwareDevice() { Join(); }

  Session& session() { return session_; }
  /// Closes the workstation's end, then waits for the device.
  void Join() {
    session_.connection.reset();
    if (thread_.joinable()) thread_.join();
  }
  Bytes header;
  Bytes image;

 private:
  bool ReadExactly(Bytes& into, std::size_t count) {
    while (into.size() < count) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 2000) != 1) return false;
      std::uint8_t buffer[4096];
      const ssize_t n = ::recv(fd_, buffer, std::min(sizeof buffer, count - into.size()), 0);
      if (n <= 0) return false;
      into.insert(into.end(), buffer, buffer + n);
    }
    return true;
  }
  void Play() {
    if (ReadExactly(header, 5) && script_.firstReply.empty()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(600));
    } else if (!header.empty()) {
      ::send(fd_, script_.firstReply.data(), script_.firstReply.size(), MSG_NOSIGNAL);
      const std::uint32_t size = header[1] | header[2] << 8 | header[3] << 16 |
                                 static_cast<std::uint32_t>(header[4]) << 24;
      if (script_.readImage && ReadExactly(image, size)) {
        if (script_.silenceMs > 0) {
          std::this_thread::sleep_for(std::chrono::milliseconds(script_.silenceMs));
        } else if (!script_.finalReply.empty()) {
          ::send(fd_, script_.finalReply.data(), script_.finalReply.size(), MSG_NOSIGNAL);
          // Hold the connection until the workstation has read the answer.
          pollfd p{fd_, POLLIN, 0};
          ::poll(&p, 1, 2000);
        }
      }
    }
    ::close(fd_);
  }

  DeviceScript script_;
  Session session_;
  int fd_ = -1;
  std::thread thread_;
};

DeviceRecord Switch() {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = 0x6018;
  record.mac = {0x00, 0x40, 0x8C, 0x01, 0x02, 0x03};
  record.ipAddr = 0x0100007F;
  return record;
}

Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

struct Image {
  ScratchFolder folder;
  std::string path;
  explicit Image(const Bytes& bytes)
      : path(folder.Write("fw.rom", std::string(bytes.begin(), bytes.end()))) {}
};

TEST(FirmwareStatusResult, SignedStatusBytesMapToResultsAndTexts) {
  const struct {
    std::uint8_t status;
    int result;
    const char* text;
  } cases[] = {
      {0xF9, -14, "Not admit downgrade firmware v1.0"},
      {0xFA, -13, "Not support this model"},
      {0xFB, -6, "Transmit fail"},
      {0xFC, -10, "Firmware format error"},
      {0xFD, -4, "Timeout"},
      {0xFE, -1, "Firmware format error/Out of memory"},
      {0xFF, -6, "Transmit fail"},
      {0x00, -6, "Transmit fail"},
      {0x02, -6, "Transmit fail"},
      {0x80, -6, "Transmit fail"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirmwareStatusResult(c.status), c.result) << int(c.status);
    EXPECT_EQ(SwitchUpgradeResultText(FirmwareStatusResult(c.status)), c.text) << int(c.status);
  }
  EXPECT_EQ(SwitchUpgradeResultText(-3), "Network connection fail");
  EXPECT_EQ(SwitchUpgradeResultText(-99), "Fail");
  EXPECT_EQ(VideoServerUpgradeResultText(-16), "Unauthorized Username & Password");
  EXPECT_EQ(VideoServerUpgradeResultText(-12), "Firmware Version Mismatch");
  EXPECT_EQ(VideoServerUpgradeResultText(-3), "Network connection fail");
  EXPECT_EQ(VideoServerUpgradeResultText(-1), "Upgrade Failure");
}

TEST(sendFirmware, SendsHeaderAndImageThenSavesUntilStored) {
  const Bytes bytes = Pattern(2500);
  Image image(bytes);
  FirmwareDevice device({});
  UpgradeJob job(Switch());
  job.filePath = image.path;
  EXPECT_EQ(sendFirmware(device.session(), job, 2000), 0);
  device.Join();
  EXPECT_EQ(device.header, (Bytes{0x0D, 0xC4, 0x09, 0x00, 0x00}));
  EXPECT_EQ(device.image, bytes);
  EXPECT_EQ(job.state.load(), kUpgradeSaving);
  EXPECT_EQ(job.progress.load(), 0);
  EXPECT_EQ(job.fileSize.load(), 2500u);
}

TEST(sendFirmware, FinalStatusBytesBecomeResults) {
  const struct {
    std::uint8_t status;
    int result;
  } cases[] = {{0xF9, -14}, {0xFA, -13}, {0xFC, -10}, {0xFE, -1}, {0x00, -6}, {0x01, 0}};
  Image image(Pattern(10));
  for (const auto& c : cases) {
    FirmwareDevice device({.finalReply = {0x0D, c.status}});
    UpgradeJob job(Switch());
    job.filePath = image.path;
    EXPECT_EQ(sendFirmware(device.session(), job, 2000), c.result) << int(c.status);
  }
}

TEST(sendFirmware, FirstReplyOtherThanZeroStopsBeforeTheImage) {
  Image image(Pattern(3000));
  const struct {
    Bytes reply;
    int result;
  } cases[] = {{{0x0D, 0x01}, -6}, {{0x0D, 0xF9}, -14}, {{0x0E, 0x00}, -6}, {{0x0D}, -6}};
  for (const auto& c : cases) {
    FirmwareDevice device({.firstReply = c.reply, .readImage = false});
    UpgradeJob job(Switch());
    job.filePath = image.path;
    EXPECT_EQ(sendFirmware(device.session(), job, 2000), c.result);
    EXPECT_EQ(job.state.load(), kUpgradeTransmitting);
  }
}

TEST(sendFirmware, SilentFirstReplyTimesOut) {
  Image image(Pattern(10));
  FirmwareDevice device({.firstReply = {}});
  UpgradeJob job(Switch());
  job.filePath = image.path;
  EXPECT_EQ(sendFirmware(device.session(), job, 2000), kUpgradeTimeout);
}

TEST(sendFirmware, DeviceThatClosesOrStaysSilentAfterTheImageCountsAsStored) {
  Image image(Pattern(5000));
  {
    FirmwareDevice device({.finalReply = {}});
    UpgradeJob job(Switch());
    job.filePath = image.path;
    EXPECT_EQ(sendFirmware(device.session(), job, 2000), 0);
  }
  {
    // No answer within the final wait.
    FirmwareDevice device({.silenceMs = 600});
    UpgradeJob job(Switch());
    job.filePath = image.path;
    EXPECT_EQ(sendFirmware(device.session(), job, 200), 0);
  }
  {
    FirmwareDevice device({.finalReply = {0x0E, 0x01}});
    UpgradeJob job(Switch());
    job.filePath = image.path;
    EXPECT_EQ(sendFirmware(device.session(), job, 2000), kUpgradeTransmitFail);
  }
}

TEST(sendFirmware, CancelDuringTheSavingWaitIsANetworkFailure) {
  Image image(Pattern(100));
  FirmwareDevice device({.silenceMs = 1500});
  UpgradeJob job(Switch());
  job.filePath = image.path;
  std::thread canceller([&] {
    for (int i = 0; i < 200 && job.state != kUpgradeSaving; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    device.session().connection->Abort();
  });
  EXPECT_EQ(sendFirmware(device.session(), job, 5000), kUpgradeNetworkFailure);
  canceller.join();
}

TEST(sendFirmware, EmptyImageSendsOnlyTheHeader) {
  Image image(Bytes{});
  FirmwareDevice device({});
  UpgradeJob job(Switch());
  job.filePath = image.path;
  EXPECT_EQ(sendFirmware(device.session(), job, 2000), 0);
  device.Join();
  EXPECT_EQ(device.header, (Bytes{0x0D, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(job.fileSize.load(), 0u);
}

TEST(sendFirmware, UnreadableFileSendsNothing) {
  ScratchFolder folder;
  FirmwareDevice device({});
  UpgradeJob job(Switch());
  job.filePath = (folder.path() / "missing.rom").string();
  int openError = 0;
  EXPECT_EQ(sendFirmware(device.session(), job, 2000, &openError), kUpgradeFormatError);
  EXPECT_EQ(openError, ENOENT);
  device.Join();
  EXPECT_TRUE(device.header.empty());
  EXPECT_EQ(CannotOpenFirmwareText(openError), "Can not open firmware file, error code: 2");
}

class RecordingSink : public MessageSink {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    messages.emplace_back(text);
    icons.push_back(icon);
  }
  std::vector<std::string> messages;
  std::vector<MessageIcon> icons;
};

using test_support::Expect;
using test_support::ScriptedDevice;
using test_support::Send;

std::vector<test_support::Step> LoginSteps(std::uint8_t verdict) {
  return {Expect{1}, Send{{0x14, 0x04, 1, 2, 3, 4}}, Expect{33}, Send{{0x00, verdict}}};
}

TEST(RunSwitchUpgrade, UnreadableFileFailsWithFormatErrorAndOneMessage) {
  ScratchFolder folder;
  auto steps = LoginSteps(0x01);
  steps.push_back(Expect{5});
  ScriptedDevice device(steps);
  UpgradeJob job(Switch());
  job.filePath = (folder.path() / "gone.rom").string();
  RecordingSink sink;
  EXPECT_EQ(RunSwitchUpgrade(job, &sink, device.timing(), 500), kUpgradeFailed);
  EXPECT_EQ(job.result.load(), kUpgradeFormatError);
  EXPECT_THAT(sink.messages, ::testing::ElementsAre("Can not open firmware file, error code: 2"));
  EXPECT_EQ(sink.icons.at(0), MessageIcon::kStop);
  // Nothing beyond the login reached the device (it saw the end of the
  // connection where the header would be).
  for (int i = 0; i < 300 && device.received().size() < 3; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(device.received().size(), 3u);
  EXPECT_TRUE(device.received().back().empty());
}

TEST(RunSwitchUpgrade, RefusedLoginIsTransmitFail) {
  ScriptedDevice device(LoginSteps(0x00));
  Image image(Pattern(10));
  UpgradeJob job(Switch());
  job.filePath = image.path;
  RecordingSink sink;
  EXPECT_EQ(RunSwitchUpgrade(job, &sink, device.timing(), 500), kUpgradeFailed);
  EXPECT_EQ(job.result.load(), kUpgradeTransmitFail);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(RunSwitchUpgrade, WholeTransferOverTcp) {
  const Bytes bytes = Pattern(3000);
  Image image(bytes);
  auto steps = LoginSteps(0x01);
  steps.push_back(Expect{5});
  steps.push_back(Send{{0x0D, 0x00}});
  steps.push_back(Expect{3000});
  steps.push_back(Send{{0x0D, 0x01}});
  ScriptedDevice device(steps);
  UpgradeJob job(Switch());
  job.filePath = image.path;
  EXPECT_EQ(RunSwitchUpgrade(job, nullptr, device.timing(), 2000), kUpgradeDone);
  EXPECT_EQ(job.result.load(), 0);
  const auto received = device.received();
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[2], (Bytes{0x0D, 0xB8, 0x0B, 0x00, 0x00}));
  EXPECT_EQ(received[3], bytes);
}

DeviceRecord VideoServer(std::uint16_t port) {
  DeviceRecord record = Switch();
  record.modelId = 0x0180;
  record.webPort = port;
  SetFieldText(record.kavexUser, "admin");
  return record;
}

std::string Page(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(RunVideoServerUpgrade, AnswerDecidesStateResultAndProgress) {
  Image image(Pattern(64));
  Timing timing;
  timing.httpClientConnectMs = 2000;
  timing.httpFirmwareIdleMs = 2000;
  const struct {
    std::string page;
    int state;
    int result;
    int progress;
  } cases[] = {
      {std::string(4040, 'o'), kUpgradeDone, 0, 199},
      {"<b>401 Unauthorized</b>", kUpgradeFailed, -16, 0},
      {"File size mismatch", kUpgradeFailed, -12, 0},
  };
  for (const auto& c : cases) {
    ScriptedHttpServer server({.answer = Page(c.page)});
    UpgradeJob job(VideoServer(server.port()));
    job.transferOpcode = kVideoServerTransferOpcode;
    job.filePath = image.path;
    EXPECT_EQ(RunVideoServerUpgrade(job, timing), c.state);
    EXPECT_EQ(job.result.load(), c.result);
    EXPECT_EQ(job.progress.load(), c.progress);
  }
}

TEST(CollectUpgradeRows, RightsWalkAndTransferOpcodes) {
  DeviceRecord sw = Switch();
  DeviceRecord video80 = VideoServer(80);
  DeviceRecord video88 = VideoServer(80);
  video88.modelId = 0x0288;
  const DeviceRecord* all[] = {&sw, &video80, &video88};
  UpgradeRows rows = CollectUpgradeRows(all);
  ASSERT_FALSE(rows.refusal);
  ASSERT_EQ(rows.rows.size(), 3u);
  EXPECT_EQ(rows.rows[0]->transferOpcode, 0x0Du);
  EXPECT_EQ(rows.rows[1]->transferOpcode, 38u);
  EXPECT_EQ(rows.rows[2]->transferOpcode, 38u);
  SetUpgradeFile(rows.rows, "/tmp/x.rom");
  EXPECT_EQ(rows.rows[2]->filePath, "/tmp/x.rom");

  DeviceRecord locked = Switch();
  locked.statusFlags = kStatusProtected;
  DeviceRecord closed = Switch();
  closed.statusFlags = kStatusInaccessible;
  const DeviceRecord* lockedFirst[] = {&sw, &locked, &closed};
  EXPECT_EQ(CollectUpgradeRows(lockedFirst).refusal,
            "00:40:8C:01:02:03 is password protected.\n Please select \"unlock\" function to get "
            "the rights.");
  EXPECT_TRUE(CollectUpgradeRows(lockedFirst).rows.empty());
  const DeviceRecord* closedFirst[] = {&closed, &locked};
  EXPECT_EQ(CollectUpgradeRows(closedFirst).refusal, "00:40:8C:01:02:03 is not accessable!");
}

}  // namespace
}  // namespace vantrell
