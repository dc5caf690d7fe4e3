// The fleet commands against 50 simulated devices of every family
// (scripts/lab/fleet-test.json, written by scripts/lab/make_fleet_scenario.sh):
// the selection options, the inventory, backup of every device into one
// folder and what a failed device leaves there.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/fleet-test.json";

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtf", kScenario);

constexpr std::size_t kDevices = 50;
constexpr const char* kD8 = "02:56:F1:00:00:01";           // 192.168.10.101
constexpr const char* kVideoServer = "02:56:F1:00:00:06";  // 192.168.10.106

/// The scenario's devices by MAC: address and whether it is a video server.
std::map<std::string, nlohmann::json> ScenarioDevices() {
  std::map<std::string, nlohmann::json> devices;
  const nlohmann::json scenario = nlohmann::json::parse(ReadFile(kScenario));
  for (const auto& device : scenario["devices"]) {
    devices[device["mac"].get<std::string>()] = device;
  }
  return devices;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

/// The fields of one CSV line (quoted fields with doubled quotes inside).
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

class FleetLab : public SharedLabTest {
 protected:
  /// A private file holding the video servers' web password.
  std::string KavexPasswordFile(const std::string& password) {
    const std::string path = TheLab().workDir() + "/kavex-" + password;
    std::ofstream(path) << password << "\n";
    chmod(path.c_str(), 0600);
    return path;
  }
};

TEST_F(FleetLab, SearchCsvListsEveryDeviceWithTheInventoryColumns) {
  const CommandRun run = Run({"search", "--csv"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), kDevices + 1) << run.out;
  EXPECT_EQ(lines[0],
            "model,ip,mac,status,name,location,firmware,serial,netmask,gateway,dns1,dns2,dhcp,"
            "interface,details");
  const auto devices = ScenarioDevices();
  std::set<std::string> seen;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> row = Fields(lines[i]);
    ASSERT_GE(row.size(), 15u) << lines[i];
    const auto device = devices.find(row[2]);
    ASSERT_NE(device, devices.end()) << lines[i];
    EXPECT_EQ(row[1], device->second["ip"]) << lines[i];
    EXPECT_EQ(row[12], device->second.value("ipConfigFlags", 0) == 1 ? "dhcp" : "off") << lines[i];
    EXPECT_EQ(row[13], row[1].starts_with("192.168.20.") ? "192.168.20.1" : "192.168.10.1");
    EXPECT_EQ(row.back(), "Finish");
    seen.insert(row[2]);
  }
  EXPECT_EQ(seen.size(), kDevices);
  EXPECT_EQ(run.out.find("\r\n"), run.out.find('\n') - 1);  // CR LF line ends
}

TEST_F(FleetLab, SelectionOptionsPickAndPrintTheDevices) {
  RecordingLab& lab = TheLab();
  // Without --quiet the selection goes to stderr before anything is sent.
  const CommandResult subnet = lab.Exec(
      {"sh", "-c", std::string(VANTRELL_CLI) + " info --subnet 192.168.10.101/32 2>&1 >/dev/null"});
  EXPECT_NE(subnet.out.find(std::string(kD8) + "\t192.168.10.101\n"), std::string::npos)
      << subnet.out;

  const CommandRun many = Run({"info", "--subnet", "192.168.20.0/24"});
  EXPECT_EQ(many.exitCode, 2);
  EXPECT_NE(many.err.find("info takes one device; the selection names 12 devices"),
            std::string::npos)
      << many.err;

  const std::string list = lab.workDir() + "/devices.csv";
  std::ofstream(list) << "name,ip\nfirst,192.168.10.101\nbad,192.168.10.300\n";
  const CommandRun badRow = Run({"set-default", "--from", list});
  EXPECT_EQ(badRow.exitCode, 2);
  EXPECT_NE(badRow.err.find(list + ":3: invalid device 192.168.10.300 (a MAC or IPv4 address)"),
            std::string::npos)
      << badRow.err;
  EXPECT_TRUE(badRow.received.empty()) << Dump(badRow.received);

  const CommandRun none = Run({"set-default", "--model", "NO-SUCH-*"});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.err.find("no device matches the selection"), std::string::npos) << none.err;
  EXPECT_TRUE(RequestsOf(none.received, kD8).empty());
}

TEST_F(FleetLab, BackupSavesEveryDeviceAndAFailedOneKeepsItsFile) {
  RecordingLab& lab = TheLab();
  const std::string folder = lab.workDir() + "/backup";
  const CommandRun run = Run({"--kavex-user", "admin", "--kavex-password-file",
                              KavexPasswordFile("kavex1"), "backup", folder, "--all"});
  ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
  const auto devices = ScenarioDevices();
  const std::vector<std::string> results = Lines(run.out);
  ASSERT_EQ(results.size(), kDevices);
  for (const std::string& line : results) {
    const std::string mac = line.substr(0, 17);
    const bool video = devices.at(mac).contains("webPort");
    EXPECT_EQ(line.substr(17), video ? "\tKavex Export Parameters to file OK."
                                     : "\tExport configuration to file OK.");
    std::string name = mac;
    for (char& c : name) c = c == ':' ? '-' : c;
    const std::string file = ReadFile(folder + "/" + name + ".cfg");
    EXPECT_NE(file.find(devices.at(mac)["ip"].get<std::string>()), std::string::npos) << mac;
  }
  const std::string inventory = ReadFile(folder + "/inventory.csv");
  const std::vector<std::string> rows = Lines(inventory);
  ASSERT_EQ(rows.size(), kDevices + 1);
  EXPECT_TRUE(rows[0].ends_with(",details,file,sha256,time,result")) << rows[0];

  // A second run with a wrong video-server password: the video servers'
  // rows fail, their files of the first run stay, the exit code says so.
  const std::string before = ReadFile(folder + "/02-56-F1-00-00-06.cfg");
  const CommandRun again = Run({"--kavex-user", "admin", "--kavex-password-file",
                                KavexPasswordFile("wrong1"), "backup", folder, "--all"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.out.find(std::string(kVideoServer) + "\tError Username or Password. \n"),
            std::string::npos)
      << again.out;
  EXPECT_NE(again.out.find(std::string(kD8) + "\tExport configuration to file OK.\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile(folder + "/02-56-F1-00-00-06.cfg"), before);
  const std::string after = ReadFile(folder + "/inventory.csv");
  for (const std::string& row : Lines(after)) {
    if (row.find(kVideoServer) == std::string::npos) continue;
    EXPECT_TRUE(row.ends_with(",Error Username or Password. ")) << row;
    EXPECT_NE(row.find(",02-56-F1-00-00-06.cfg,"), std::string::npos) << row;
  }
}

/// The file with the value of every line whose key is `key` replaced.
std::string WithValue(const std::string& file, const std::string& key, const std::string& value) {
  std::string out;
  for (const std::string& line : Lines(file)) {
    out += (line.starts_with(key + "\t") ? key + "\t\t" + value : line) + "\r\n";
  }
  return out;
}

TEST_F(FleetLab, OneTemplateGoesIntoManyDevicesThatKeepTheirAddresses) {
  RecordingLab& lab = TheLab();
  const std::vector<std::string> targets = {kD8, "02:56:F1:00:00:09", "02:56:F1:00:00:11"};
  const std::string exported = lab.workDir() + "/template-source.cfg";
  ASSERT_EQ(Run({"export", kD8, exported}).exitCode, 0);
  const std::string original = ReadFile(exported);
  ASSERT_NE(original.find("\r\nIPAddress\t192.168.10.101\r\n"), std::string::npos) << original;
  const std::string edited = lab.workDir() + "/template.cfg";
  std::ofstream(edited, std::ios::binary) << WithValue(original, "Contact", "Plant office");

  // The file's fixed address would go into all three: refused, nothing sent.
  std::vector<std::string> args = {"import", edited};
  args.insert(args.end(), targets.begin(), targets.end());
  const CommandRun refused = Run(args);
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find(edited + " sets the fixed address 192.168.10.101: importing it into "
                             "3 devices would give all of them that address; give "
                             "--keep-address to keep each device's own address settings"),
            std::string::npos)
      << refused.err;
  for (const std::string& mac : targets) EXPECT_TRUE(RequestsOf(refused.received, mac).empty());

  // With --keep-address there is no address review (no --yes needed).
  args.push_back("--keep-address");
  const CommandRun run = Run(args);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto devices = ScenarioDevices();
  for (const std::string& mac : targets) {
    SCOPED_TRACE(mac);
    EXPECT_NE(run.out.find(mac + "\tImport Success\n"), std::string::npos) << run.out;
    const std::string after = lab.workDir() + "/after.cfg";
    ASSERT_EQ(Run({"export", mac, after}).exitCode, 0);
    const std::string text = ReadFile(after);
    EXPECT_NE(text.find("\r\nIPAddress\t" + devices.at(mac)["ip"].get<std::string>() + "\r\n"),
              std::string::npos)
        << text.substr(0, 800);
    EXPECT_NE(text.find("\r\nContact\t\tPlant office\r\n"), std::string::npos);
  }
  EXPECT_EQ(run.err.find(" -> "), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vantrell::lab
