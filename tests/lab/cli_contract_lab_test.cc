// End-to-end tests of the command line's contract for scripts against the
// device simulator (scenario scripts/lab/cli-test.json): bad input refused
// before the search or before anything is sent, passwords kept off the
// command line, and output that scripts can rely on. The simulator records
// what each device received.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/cli-test.json";

constexpr const char* kLocked = "02:56:60:00:00:01";  // 192.168.10.61, password "alpha"
constexpr const char* kTwin1 = "02:56:60:00:00:02";   // 192.168.10.62
constexpr const char* kCamera = "02:56:60:00:00:04";  // Kavex, 192.168.10.64:8080
constexpr const char* kNoisy = "02:56:60:00:00:05";   // control characters in its texts
constexpr const char* kSilent = "02:56:60:00:00:06";  // never answers details
constexpr const char* kPlainD8 = "02:56:60:00:00:07";
/// No device has it: a command that got as far as the search would end
/// with "device ... not found" after 5 s.
constexpr const char* kAbsent = "02:56:60:00:00:99";

constexpr const char* kRightsMessage =
    "02:56:60:00:00:01 is password protected.\n"
    " Please select \"unlock\" function to get the rights.\n"
    "Give the device's password with --password (or --password-file, VANTRELL_PASSWORD).\n";

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtk", kScenario);

class CliLabTest : public SharedLabTest {
 protected:
  static std::string Work(const std::string& name) { return TheLab().workDir() + "/" + name; }
  static std::string MakeFile(const std::string& name, const std::string& bytes,
                              mode_t mode = 0600) {
    const std::string path = Work(name);
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary) << bytes;
    ::chmod(path.c_str(), mode);
    return path;
  }
  /// A refusal before the search: exit 2, exactly `message` on stderr,
  /// nothing on stdout, no device reached, well below the search's 5 s.
  static void ExpectRefusedBeforeSearch(const std::vector<std::string>& args,
                                        const std::string& message) {
    SCOPED_TRACE(args.front() + " " + (args.size() > 1 ? args[1] : ""));
    const auto start = std::chrono::steady_clock::now();
    const CommandRun run = Run(args);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_EQ(run.err, message + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.received.empty()) << Dump(run.received);
    EXPECT_LT(took, std::chrono::seconds(3));
  }
  static std::vector<int> SessionOpcodes(const CommandRun& run, const char* mac) {
    return Opcodes(RequestsOf(run.received, mac));
  }
};

// ---------------------------------------------------------------------------
// Bad input

class RefusalLab : public CliLabTest {};

TEST_F(RefusalLab, ImportFileIsCheckedBeforeTheSearch) {
  const std::string folder = Work("folder");
  std::filesystem::create_directories(folder);
  ExpectRefusedBeforeSearch({"import", folder, kAbsent}, folder + ": not a regular file");
  const std::string fifo = Work("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ExpectRefusedBeforeSearch({"import", fifo, kAbsent}, fifo + ": not a regular file");
  ExpectRefusedBeforeSearch({"import", "/dev/zero", kAbsent}, "/dev/zero: not a regular file");
  const std::string empty = MakeFile("empty.ini", "");
  ExpectRefusedBeforeSearch({"import", empty, kAbsent}, empty + ": the file is empty");
  const std::string large = MakeFile("large.ini", std::string(1'048'577, '#'));
  ExpectRefusedBeforeSearch({"import", large, kAbsent},
                            large + ": larger than 1048576 bytes (1 MiB)");
  // Exactly 1 MiB is taken: the command goes on to the search.
  const std::string limit = MakeFile("limit.ini", std::string(1'048'576, '#'));
  const CommandRun run = Run({"import", limit, kAbsent});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, std::string("device ") + kAbsent + " not found\n");
}

TEST_F(RefusalLab, UpgradeImageIsCheckedBeforeTheSearch) {
  const std::string empty = MakeFile("empty.rom", "");
  ExpectRefusedBeforeSearch({"upgrade", empty, kAbsent}, empty + ": the file is empty");
  const std::string folder = Work("images");
  std::filesystem::create_directories(folder);
  ExpectRefusedBeforeSearch({"upgrade", folder, kAbsent}, folder + ": not a regular file");
}

TEST_F(RefusalLab, PasswdRefusesALongNewPasswordAndAProtectedDeviceWithoutPassword) {
  const std::string longNew = MakeFile("long-new", "seventeen-chars-x\n");
  ExpectRefusedBeforeSearch({"passwd", kAbsent, "--new-password-file", longNew},
                            "--new-password-file is longer than 16 characters");
  const std::string sixteen = MakeFile("new", "sixteen-chars-ok\n");
  const CommandRun run = Run({"passwd", kLocked, "--new-password-file", sixteen});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, kRightsMessage);
  EXPECT_TRUE(run.received.empty()) << Dump(run.received);
}

TEST_F(RefusalLab, AnAddressOfTwoDevicesNamesNoneForEveryCommand) {
  const std::string message = "device 192.168.10.62 names 2 devices; name it by its MAC address\n";
  const std::string image = MakeFile("image.rom", "firmware");
  const std::string config = MakeFile("config.ini", "[Meshvault Server Configuration File]\r\n");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"set-default", "192.168.10.62"},
        std::vector<std::string>{"upgrade", image, kLocked, "192.168.10.62"},
        std::vector<std::string>{"--yes", "import", config, "192.168.10.62"},
        std::vector<std::string>{"info", "192.168.10.62"}}) {
    SCOPED_TRACE(args[0]);
    const CommandRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, message);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.received.empty()) << Dump(run.received);
  }
  // Named by its MAC address, one of them is found.
  const CommandRun one = Run({"set-default", kTwin1});
  EXPECT_EQ(one.exitCode, 0) << one.err;
  EXPECT_EQ(one.out, std::string(kTwin1) + "\tDone\n");
}

TEST_F(RefusalLab, InterfaceWithoutIpv4AddressEndsTheCommandBeforeAnySearch) {
  const std::string dummy = TheLab().name() + "x";
  // One end of a veth pair without an address (the lab's kernel may lack dummy links).
  ASSERT_EQ(
      TheLab()
          .Exec({"ip", "link", "add", dummy, "type", "veth", "peer", "name", TheLab().name() + "y"})
          .exitCode,
      0);
  ASSERT_EQ(TheLab().Exec({"ip", "link", "set", dummy, "up"}).exitCode, 0);
  ExpectRefusedBeforeSearch({"--interface", dummy, "search"},
                            "interface " + dummy + " has no IPv4 address to search on");
  // Beside a good interface, and for loopback (127.0.0.1 is never searched).
  ExpectRefusedBeforeSearch(
      {"--interface", TheLab().name() + "w0", "--interface", "lo", "info", kAbsent},
      "interface lo has no IPv4 address to search on");
  ExpectRefusedBeforeSearch({"--interface", "nosuch0", "search"}, "unknown interface nosuch0");
}

TEST_F(RefusalLab, NetconfRefusesAFixedSettingThatLeavesTheDeviceUnreachable) {
  const struct {
    std::vector<std::string> options;
    const char* message;
  } cases[] = {
      {{"--ip", "0.0.0.0"}, "IP address cannot be 0.0.0.0"},
      {{"--netmask", "255.0.255.0"}, "Netmask is not a valid subnet mask"},
      {{"--netmask", "0.0.0.0"}, "Netmask is not a valid subnet mask"},
      {{"--gateway", "192.168.11.1"}, "Gateway is not in the subnet of the IP address"},
      {{"--mode", "off", "--ip", "10.0.0.5"}, "Gateway is not in the subnet of the IP address"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--yes", "--json", "netconf", kPlainD8};
    args.insert(args.end(), c.options.begin(), c.options.end());
    SCOPED_TRACE(c.message);
    const CommandRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, std::string(c.message) + "\n");
    EXPECT_EQ(json::parse(run.out, nullptr, false), (json{{"error", c.message}})) << run.out;
    // The settings were read, nothing was stored.
    const std::vector<int> opcodes = SessionOpcodes(run, kPlainD8);
    for (const int stored : {0x09, 0x0C, 0x22}) {
      EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), stored), 0) << Dump(run.received);
    }
  }
  // A gateway of 0.0.0.0 passes (answered No: nothing stored either).
  const CommandRun run = Run({"netconf", kPlainD8, "--gateway", "0.0.0.0"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out,
            "Gateway\t192.168.10.254 -> 0.0.0.0\n"
            "Not stored: answer the warning with --yes to store.\n");
}

TEST_F(RefusalLab, EveryRefusalIsAlsoJsonWithJson) {
  const CommandRun usage = Run({"--json", "info"});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_EQ(json::parse(usage.out, nullptr, false),
            (json{{"error", "usage: vantrell info DEVICE"}}));
  const CommandRun unknown = Run({"--json", "scan"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_EQ(json::parse(unknown.out, nullptr, false), (json{{"error", "unknown command 'scan'"}}));
  const CommandRun rights = Run({"--json", "set-default", kLocked});
  EXPECT_EQ(rights.exitCode, 2);
  EXPECT_EQ(rights.err, kRightsMessage);
  EXPECT_EQ(json::parse(rights.out, nullptr, false),
            (json{{"error",
                   "02:56:60:00:00:01 is password protected.\n Please select \"unlock\" function "
                   "to get the rights."}}));
  const CommandRun absent = Run({"--json", "info", kAbsent});
  EXPECT_EQ(absent.exitCode, 2);
  EXPECT_EQ(json::parse(absent.out, nullptr, false),
            (json{{"error", std::string("device ") + kAbsent + " not found"}}));
}

// ---------------------------------------------------------------------------
// Secrets

class SecretsLab : public CliLabTest {};

TEST_F(SecretsLab, PasswordFromTheEnvironmentAFileOrStdinWithoutAWarning) {
  ::setenv("VANTRELL_PASSWORD", "wrong", 1);
  const std::string file = MakeFile("pw", "alpha\n");
  const CommandRun fromFile = Run({"unlock", kLocked, "--password-file", file});
  EXPECT_EQ(fromFile.exitCode, 0) << fromFile.err;  // the option beats the environment
  EXPECT_EQ(fromFile.out, std::string(kLocked) + "\tOK..\n");
  EXPECT_EQ(fromFile.err, "");

  ::setenv("VANTRELL_PASSWORD", "alpha", 1);
  const CommandRun fromEnvironment = Run({"unlock", kLocked});
  ::unsetenv("VANTRELL_PASSWORD");
  EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
  EXPECT_EQ(fromEnvironment.err, "");

  const CommandResult fromStdin = TheLab().Exec(
      {"sh", "-c", "printf 'alpha\\n' | \"$0\" --quiet unlock \"$1\" --password - 2>&1",
       VANTRELL_CLI, kLocked});
  EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.out;
  EXPECT_EQ(fromStdin.out, std::string(kLocked) + "\tOK..\n");
  Run({"--json", "info"});  // takes the record lines of that run out of the way
}

TEST_F(SecretsLab, AFileOthersMayReadIsRefusedByName) {
  const std::string file = MakeFile("shared-pw", "alpha\n", 0644);
  ExpectRefusedBeforeSearch({"unlock", kAbsent, "--password-file", file},
                            "password file " + file +
                                " can be read by group or others: make it private (chmod 600 " +
                                file + ")");
  ExpectRefusedBeforeSearch(
      {"unlock", kAbsent, "--password", "alpha", "--password-file", Work("pw")},
      "give only one of --password and --password-file");
}

// ---------------------------------------------------------------------------
// Output

class OutputLab : public CliLabTest {};

TEST_F(OutputLab, WebPrintsTheContractArrayAndStartsNoBrowserAsRoot) {
  // A fake xdg-open first on PATH would leave a mark if it were started.
  const std::string bin = Work("bin");
  std::filesystem::create_directories(bin);
  MakeFile("bin/xdg-open", "#!/bin/sh\ntouch " + Work("opened") + "\n", 0700);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (bin + ":" + path).c_str(), 1);
  const CommandRun run = Run({"--json", "web", kCamera});
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(json::parse(run.out, nullptr, false),
            json::array({{{"mac", kCamera}, {"result", "http://192.168.10.64:8080"}}}))
      << run.out;
  ASSERT_EQ(geteuid(), 0u);  // the lab runs as root
  EXPECT_EQ(run.err,
            "running as root: no browser is started; open http://192.168.10.64:8080 as your own "
            "user\n");
  EXPECT_FALSE(std::filesystem::exists(Work("opened")));
}

TEST_F(OutputLab, ExportToStdoutPutsTheOutcomeOnStderr) {
  const CommandRun run = Run({"export", kPlainD8, "-"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.rfind("[Meshvault Server Configuration File]\r\n", 0), 0u)
      << run.out.substr(0, 200);
  EXPECT_NE(run.out.find("\r\n# Model Name\r\nModelName"), std::string::npos);
  EXPECT_EQ(run.err.rfind("Export configuration to file OK.\n", 0), 0u) << run.err;
  EXPECT_FALSE(std::filesystem::exists("-"));
  // To a file: exactly the outcome line on stdout, its notes (if any) on stderr,
  // and the file holds what stdout got.
  const std::string file = Work("plain.ini");
  const CommandRun toFile = Run({"export", kPlainD8, file});
  EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "Export configuration to file OK.\n");
  EXPECT_EQ(toFile.err, run.err.substr(std::string("Export configuration to file OK.\n").size()));
  EXPECT_EQ(ReadFile(file), run.out);
}

TEST_F(OutputLab, DeviceTextsReachNeitherTheTerminalAsControlsNorJsonBroken) {
  const CommandRun info = Run({"info", kNoisy});
  EXPECT_EQ(info.exitCode, 0) << info.err;
  for (const char* control : {"\x1b", "\x07", "\xc2\x9b"}) {
    EXPECT_EQ(info.out.find(control), std::string::npos) << info.out;
  }
  EXPECT_NE(info.out.find("ORV ]0;owned "), std::string::npos) << info.out;

  const CommandRun asJson = Run({"--json", "info", kNoisy});
  EXPECT_EQ(asJson.exitCode, 0) << asJson.err;
  const json parsed = json::parse(asJson.out, nullptr, false);
  ASSERT_FALSE(parsed.is_discarded()) << asJson.out;
  EXPECT_EQ(parsed["name"],
            "Red\x1b[31m name\xc2\x9b"
            "2J");
  EXPECT_EQ(parsed["infoText"], "Model Name\tORV\x1b]0;owned\x07\nUptime\t3 days\xc2\x9b\n");

  const CommandRun search = Run({"search"});
  EXPECT_EQ(search.exitCode, 0) << search.err;
  EXPECT_EQ(search.out.find('\x1b'), std::string::npos) << search.out;
  EXPECT_NE(search.out.find("Red [31m name 2J"), std::string::npos) << search.out;
  // The device that never answered the details query says so in its row.
  const std::size_t row = search.out.find(kSilent);
  ASSERT_NE(row, std::string::npos) << search.out;
  const std::string line = search.out.substr(row, search.out.find('\n', row) - row);
  EXPECT_EQ(line, std::string(kSilent) + "  Timeout") << search.out;
}

TEST_F(OutputLab, AVideoServerGetsNoFileWithNulBytes) {
  const std::string file = MakeFile("binary.ini", std::string("\x7f"
                                                              "ELF\x02\x01\x01\x00",
                                                              8));
  const std::string password = MakeFile("cam-pw", "cam-pw\n");
  const CommandRun run =
      Run({"import", file, kCamera, "--kavex-user", "admin", "--kavex-password-file", password});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, std::string(kCamera) + "\tImport Fail\n");
  EXPECT_EQ(run.err,
            "The file holds NUL bytes: a video server takes only a text configuration file.\n");
  EXPECT_TRUE(LinesOf(run.received, kCamera).empty()) << Dump(run.received);
}

}  // namespace
}  // namespace vantrell::lab
