// End-to-end tests of `vantrell upgrade` and of the parameter export of a
// video server against the device simulator in a lab of network namespaces
// (scripts/lab.sh, scenario scripts/lab/upgrade-test.json). The simulator
// records every request, so each test checks what the devices received.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/upgrade-test.json";

constexpr int kOpSendFirmware = 0x0D;
constexpr int kOpChallenge = 0x14;

constexpr const char* kStores = "02:56:50:00:00:01";          // 192.168.10.51, saves 300 ms
constexpr const char* kDowngrade = "02:56:50:00:00:02";       // final status 0xF9
constexpr const char* kClosesSilently = "02:56:50:00:00:03";  // no final answer
constexpr const char* kFirstReplyOne = "02:56:50:00:00:04";   // first reply 0x0D 0x01
constexpr const char* kShared1 = "02:56:50:00:00:05";         // 192.168.10.60, saves 1500 ms
constexpr const char* kShared2 = "02:56:50:00:00:06";         // 192.168.10.60
constexpr const char* kCamera = "02:56:50:00:00:07";          // video server, admin / cam-pw
constexpr const char* kEncoder = "02:56:50:00:00:08";         // answers "File size mismatch"
constexpr const char* kLocked = "02:56:50:00:00:09";          // protected, "pw9"
constexpr const char* kStalls = "02:56:50:00:00:0A";          // stops reading at 64 KiB
constexpr const char* kStalledCamera = "02:56:50:00:00:0B";   // video server, stops at 64 KiB
constexpr const char* kClaimsTooMuch = "02:56:50:00:00:0C";   // announces a 16 MiB + 1 file

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtu", kScenario);

/// The record lines of one device with the given opcode (-1: every tcp line).
std::vector<json> Lines(const std::vector<json>& lines, const std::string& mac, int opcode) {
  std::vector<json> found;
  for (const json& line : lines) {
    if (Text(line, "mac") != mac || Text(line, "proto") != "tcp") continue;
    if (opcode < 0 || Opcode(line) == opcode) found.push_back(line);
  }
  return found;
}

std::vector<json> HttpLines(const std::vector<json>& lines, const std::string& mac) {
  std::vector<json> found;
  for (const json& line : lines) {
    if (Text(line, "mac") == mac && Text(line, "proto") == "http") found.push_back(line);
  }
  return found;
}

/// An image of `size` bytes in the lab's work folder.
std::string WriteImage(const std::string& name, std::size_t size, std::string* bytes = nullptr) {
  std::string image(size, '\0');
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  const std::string path = TheLab().workDir() + "/" + name;
  std::ofstream(path, std::ios::binary) << image;
  if (bytes) *bytes = image;
  return path;
}

/// "MAC\tTEXT" lines of the output.
std::string Row(const char* mac, const std::string& text) { return std::string(mac) + "\t" + text; }

class UpgradeLab : public SharedLabTest {};

TEST_F(UpgradeLab, SwitchResultsFromTheirAnswers) {
  std::string image;
  const std::string path = WriteImage("switch.rom", 150000, &image);
  const CommandRun run = TheLab().Run(
      {"upgrade", path, "192.168.10.51", "192.168.10.52", "192.168.10.53", "192.168.10.54"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, Row(kStores, "Done\n") +
                         Row(kDowngrade, "Not admit downgrade firmware v1.0\n") +
                         Row(kClosesSilently, "Done\n") + Row(kFirstReplyOne, "Transmit fail\n"));
  for (const char* mac : {kStores, kDowngrade, kClosesSilently}) {
    const auto transfers = Lines(run.received, mac, kOpSendFirmware);
    ASSERT_EQ(transfers.size(), 1u) << Dump(run.received);
    // 0x0D, then 150000 = 0x000249F0 low byte first.
    EXPECT_EQ(Text(transfers[0], "bytes"), "0df0490200");
    EXPECT_EQ(transfers[0]["imageLength"], 150000);
    EXPECT_EQ(Text(transfers[0], "imageMd5"), Hex(Md5(image)));
  }
  const auto refused = Lines(run.received, kFirstReplyOne, kOpSendFirmware);
  ASSERT_EQ(refused.size(), 1u) << Dump(run.received);
  EXPECT_EQ(Text(refused[0], "result"), "first reply 0x01; no image taken");
}

TEST_F(UpgradeLab, SharedAddressSecondStartsWhileTheFirstSaves) {
  const std::string path = WriteImage("shared.rom", 100000);
  const CommandRun run = TheLab().Run({"upgrade", path, kShared1, kShared2});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Row(kShared1, "Done\n") + Row(kShared2, "Done\n"));
  // Only the first device owns the session port at .60: both sessions land there.
  const auto challenges = Lines(run.received, kShared1, kOpChallenge);
  const auto transfers = Lines(run.received, kShared1, kOpSendFirmware);
  ASSERT_EQ(challenges.size(), 2u) << Dump(run.received);
  ASSERT_EQ(transfers.size(), 2u) << Dump(run.received);
  // The second session begins after the first image is in, and before the
  // first device's 1.5 s of saving are over.
  EXPECT_GE(Time(challenges[1]), Time(transfers[0]));
  EXPECT_LT(Time(challenges[1]), Time(transfers[0]) + 1.4);
}

TEST_F(UpgradeLab, VideoServersWithCredentialsAndTheirAnswers) {
  std::string image;
  const std::string path = WriteImage("camera.rom", 70000, &image);
  CommandRun run = TheLab().Run({"upgrade", path, "--kavex-user", "admin", "--kavex-password",
                                 "cam-pw", kCamera, kEncoder, "192.168.10.51"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, Row(kCamera, "Transmit Completed, Wait for Rebooting...\n") +
                         Row(kEncoder, "Firmware Version Mismatch\n") + Row(kStores, "Done\n"));
  const auto posts = HttpLines(run.received, kCamera);
  ASSERT_EQ(posts.size(), 1u) << Dump(run.received);
  EXPECT_EQ(Text(posts[0], "path"), "/kelt-cgi/UploadFirmwareFile.cgi");
  EXPECT_EQ(Text(posts[0], "fileMd5"), Hex(Md5(image)));
  EXPECT_EQ(Text(posts[0], "fileName"), path);
  EXPECT_EQ(posts[0]["status"], 200);

  run = TheLab().Run(
      {"upgrade", path, "--kavex-user", "admin", "--kavex-password", "wrong", kCamera});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, Row(kCamera, "Unauthorized Username & Password\n"));
}

TEST_F(UpgradeLab, RightsWalkStopsBeforeAnythingIsSent) {
  const std::string path = WriteImage("locked.rom", 1000);
  CommandRun run = TheLab().Run({"upgrade", path, "192.168.10.51", kLocked});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(std::string(kLocked) +
                         " is password protected.\n Please select \"unlock\" function to get "
                         "the rights."),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(Lines(run.received, kStores, -1).empty()) << Dump(run.received);

  run = TheLab().Run({"upgrade", TheLab().workDir() + "/missing.rom", "192.168.10.51"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("Can not open firmware file, error code: 2"), std::string::npos);

  run = TheLab().Run({"upgrade", path, "--password", "pw9", kLocked});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Row(kLocked, "Done\n"));
}

TEST_F(UpgradeLab, StalledTransferTimesOut) {
  // Far more than the socket buffers of both ends hold, so the stall is felt.
  const std::string path = WriteImage("large.rom", 40u << 20);
  const CommandRun run = TheLab().Run({"upgrade", path, kStalls}, 120);
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, Row(kStalls, "Timeout\n"));
  // The stalled device still holds the connection's transfer: it records
  // the transfer only when its stall ends, so no image was ever taken.
  for (const json& line : Lines(run.received, kStalls, kOpSendFirmware)) {
    EXPECT_EQ(Text(line, "result").find("image taken"), std::string::npos) << line.dump();
  }
  EXPECT_EQ(Lines(run.received, kStalls, kOpChallenge).size(), 1u) << Dump(run.received);
}

TEST_F(UpgradeLab, VideoServerThatStopsTakingTheImageFailsAfterAMinute) {
  // The web server takes 64 KiB of the post, then neither reads nor answers
  // and keeps the connection: the upload ends after 60 s without progress.
  const std::string path = WriteImage("camera-large.rom", 40u << 20);
  const auto start = std::chrono::steady_clock::now();
  const CommandRun run = TheLab().Run(
      {"upgrade", path, "--kavex-user", "admin", "--kavex-password", "cam-pw", kStalledCamera},
      150);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, Row(kStalledCamera, "Network connection fail\n"));
  EXPECT_GE(seconds, 60.0);
  EXPECT_LT(seconds, 90.0);
  EXPECT_TRUE(HttpLines(run.received, kStalledCamera).empty()) << Dump(run.received);
}

TEST_F(UpgradeLab, ConfigurationFileAnnouncedAbove16MiBFailsAtOnce) {
  const std::string out = TheLab().workDir() + "/huge.ini";
  const auto start = std::chrono::steady_clock::now();
  const CommandRun run = TheLab().Run({"export", kClaimsTooMuch, out});
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, "Your IP address is not accessable for this Meshvault Server.\n");
  EXPECT_FALSE(std::ifstream(out).good());
  // The search (ended once the device is detailed) and the refusal, not the
  // reply time-out of a transfer that was begun.
  EXPECT_LT(seconds, 4.0);
}

TEST_F(UpgradeLab, VideoServerParameterExport) {
  const std::string out = TheLab().workDir() + "/camera.ini";
  CommandRun run =
      TheLab().Run({"export", kCamera, out, "--kavex-user", "admin", "--kavex-password", "cam-pw"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Kavex Export Parameters to file OK.\n");
  EXPECT_EQ(ReadFile(out), "[Kavex Server]\r\nName=Gate camera\r\nBitrate=2048\r\n");
  const auto gets = HttpLines(run.received, kCamera);
  ASSERT_EQ(gets.size(), 1u) << Dump(run.received);
  EXPECT_EQ(Text(gets[0], "path"), "/kelt-cgi/sys_config.ini");

  const std::string refused = TheLab().workDir() + "/refused.ini";
  run = TheLab().Run({"export", kCamera, refused, "--kavex-user", "admin"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "Error Username or Password. \n");
  EXPECT_FALSE(std::ifstream(refused).good());

  run = TheLab().Run({"export", kCamera, out, "--kavex-password", "0123456789abcdefg"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("--kavex-password is longer than 15 bytes"), std::string::npos);
}

}  // namespace
}  // namespace vantrell::lab
