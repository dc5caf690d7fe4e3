// The demo lab (scripts/lab/demo.json) is believable: every switch hands out
// a configuration consistent with what it announces, so `vantrell export`
// shows the device's own address, name and location, and importing the file
// back proposes no address change (it is imported without --yes). The video
// server's parameter file names it and its address too.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/demo.json";

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtd", kScenario);

struct DemoSwitch {
  const char* mac;
  const char* what;
  const char* address;
  const char* nameLine;      ///< the file's line with the device name
  const char* locationLine;  ///< empty: the file shows none
};

const std::vector<DemoSwitch> kSwitches = {
    {"02:56:D0:00:00:01", "D8, first generation", "192.168.10.11", "ServerName\tPress line 1",
     "Location\t\tHall A"},
    {"02:56:D0:00:00:02", "R8, GenA2", "192.168.10.12", "SwitchName\t\tPaint shop ring", ""},
    {"02:56:D0:00:00:04", "A8-W, GenA1", "192.168.10.14", "SwitchName\t\tStore room", ""},
    {"02:56:D0:00:00:05", "modular", "192.168.10.15", "SwitchName\t\tBackbone", ""},
    {"02:56:D0:00:00:06", "long reply, its own file", "192.168.10.16",
     "SwitchName\t\tConveyor north", "Location\t\tHall B, column 14"},
    {"02:56:D0:00:00:09", "A8 on the foreign subnet", "10.77.0.5", "SwitchName\t\tPump house", ""},
    {"02:56:D1:00:00:01", "D8-G2 on segment 1", "192.168.20.11", "ServerName\tPackaging line", ""},
};

bool HasLine(const std::string& text, const std::string& line) {
  return text.find("\r\n" + line + "\r\n") != std::string::npos ||
         text.find("\n" + line + "\n") != std::string::npos;
}

/// The file's "IPAddress" line holds `address` (after any number of tabs).
bool ShowsAddress(const std::string& text, const std::string& address) {
  return std::regex_search(
      text, std::regex("\nIPAddress\t+" + std::regex_replace(address, std::regex("\\."), "\\.") +
                       "\r?\n"));
}

class DemoLab : public SharedLabTest {};

TEST_F(DemoLab, EverySwitchExportsItsOwnSettingsAndTakesTheFileBackUnchanged) {
  RecordingLab& lab = TheLab();
  for (const DemoSwitch& device : kSwitches) {
    SCOPED_TRACE(std::string(device.mac) + " (" + device.what + ")");
    const std::string file = lab.workDir() + "/" + std::string(device.mac).substr(9, 2) +
                             std::string(device.mac).substr(15, 2) + ".cfg";
    const CommandRun exportRun = lab.Run({"export", device.mac, file});
    ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
    EXPECT_EQ(exportRun.out, "Export configuration to file OK.\n");
    const std::string text = ReadFile(file);
    EXPECT_TRUE(ShowsAddress(text, device.address)) << text.substr(0, 600);
    EXPECT_TRUE(HasLine(text, device.nameLine)) << device.nameLine;
    if (*device.locationLine) {
      EXPECT_TRUE(HasLine(text, device.locationLine));
    }

    // Without --yes: a file that changed an address setting would be listed
    // and refused; its own file goes in at once.
    const CommandRun importRun = lab.Run({"import", file, device.mac});
    EXPECT_EQ(importRun.exitCode, 0) << importRun.err;
    EXPECT_EQ(importRun.out, std::string(device.mac) + "\tImport Success\n");
    EXPECT_EQ(importRun.err.find(" -> "), std::string::npos) << importRun.err;
  }
}

TEST_F(DemoLab, VideoServerParametersNameTheServerAndItsAddress) {
  RecordingLab& lab = TheLab();
  const std::string file = lab.workDir() + "/camera.ini";
  const CommandRun run = lab.Run({"--kavex-user", "admin", "export", "02:56:D1:00:00:03", file});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string text = ReadFile(file);
  for (const char* line : {"Name=Loading bay camera", "Location=Loading bay 2", "DHCP=1",
                           "IPAddress=192.168.20.13", "Gateway=192.168.20.254", "HTTPPort=8080"}) {
    EXPECT_TRUE(HasLine(text, line)) << line << "\n" << text;
  }
}

}  // namespace
}  // namespace vantrell::lab
