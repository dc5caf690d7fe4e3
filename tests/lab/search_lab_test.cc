// End-to-end tests of `vantrell search` against the device simulator in a
// lab of network namespaces (scripts/lab.sh, scenario scripts/lab/lab-test.json).
// Each search takes several seconds, so one lab per process runs each
// distinct search once and every test asserts on its shared result.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

constexpr const char* kCli = VANTRELL_CLI;
constexpr const char* kSimulator = VANTRELL_SIM;
const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/lab-test.json";

/// The workstation address of lab segment 0 and 1 (scripts/lab.sh).
const std::string kSegmentInterface[] = {"192.168.10.1", "192.168.20.1"};

/// Devices of the scenario that must never be listed: one sends only bad
/// discovery replies, one sends a short reply with a model ID that has no name.
const std::string kNoiseOnlyMac = "02:56:10:00:00:08";
const std::string kUnknownModelMac = "02:56:10:00:00:0C";

/// What one run of `vantrell search` printed and left behind.
struct SearchRun {
  CommandResult result;
  json devices;  ///< the printed array; null when stdout did not parse
  std::string parseError;
  std::string permanentNeighbours;  ///< `ip -4 neigh show nud permanent` afterwards
  std::string routes;               ///< `ip -4 route show table all` afterwards
};

/// The one lab of this test process, brought up at first use; each distinct
/// search runs once.
class SharedLab {
 public:
  static SharedLab& Get() {
    static SharedLab lab;
    return lab;
  }

  const std::string& skipReason() const { return skipReason_; }
  const std::string& upError() const { return upError_; }

  const SearchRun& Search(const std::vector<std::string>& options) {
    auto known = runs_.find(options);
    if (known != runs_.end()) return known->second;
    SearchRun run;
    std::vector<std::string> argv = {kCli, "search"};
    argv.insert(argv.end(), options.begin(), options.end());
    run.result = lab_.Exec(argv);
    try {
      run.devices = json::parse(run.result.out);
    } catch (const json::exception& error) {
      run.parseError = error.what();
    }
    run.permanentNeighbours = lab_.Exec({"ip", "-4", "neigh", "show", "nud", "permanent"}).out;
    run.routes = lab_.Exec({"ip", "-4", "route", "show", "table", "all"}).out;
    return runs_.emplace(options, std::move(run)).first->second;
  }

  CommandResult Exec(const std::vector<std::string>& argv) const { return lab_.Exec(argv); }

  void Down() { lab_.Down(); }

 private:
  SharedLab() {
    skipReason_ = WhyNoNamespaces();
    if (!skipReason_.empty()) return;
    RemoveLabsOfEndedProcesses();
    upError_ = lab_.Up(kScenario, kSimulator);
  }

  Lab lab_;
  std::string skipReason_;
  std::string upError_;
  std::map<std::vector<std::string>, SearchRun> runs_;
};

/// Takes the lab down once every test has run.
class LabEnvironment : public testing::Environment {
 public:
  void TearDown() override { SharedLab::Get().Down(); }
};

[[maybe_unused]] testing::Environment* const kLabEnvironment =
    testing::AddGlobalTestEnvironment(new LabEnvironment);

json LoadScenarioDevices() {
  std::FILE* file = std::fopen(kScenario.c_str(), "r");
  if (file == nullptr) return json::array();
  const json scenario = json::parse(file, nullptr, false);
  std::fclose(file);
  return scenario.is_discarded() ? json::array() : scenario.value("devices", json::array());
}

std::string UpperMac(std::string mac) {
  for (char& c : mac) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return mac;
}

unsigned long ScenarioNumber(const json& value) {
  if (value.is_number()) return value.get<unsigned long>();
  return std::stoul(value.get<std::string>(), nullptr, 0);
}

std::string Serial(unsigned long serialNo) {
  char text[16];
  std::snprintf(text, sizeof text, "%05lu", serialNo);
  return text;
}

/// The string at `key`, or a marker that cannot match a real value.
std::string Text(const json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : "<no text>";
}

/// The whole number at `key`, or -1.
long long Number(const json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_number_integer() ? found->get<long long>() : -1;
}

/// The listed objects by their "mac".
std::map<std::string, json> ByMac(const json& devices) {
  std::map<std::string, json> byMac;
  for (const json& device : devices) byMac[device.value("mac", "")] = device;
  return byMac;
}

/// The lines of a table dump whose destination is `address`: the first word,
/// or the second after a route type such as "local".
std::vector<std::string> LinesFor(const std::string& dump, const std::string& address) {
  static const std::set<std::string> kRouteTypes = {"unicast",     "local",    "broadcast",
                                                    "blackhole",   "prohibit", "throw",
                                                    "unreachable", "multicast"};
  std::vector<std::string> lines;
  std::istringstream input(dump);
  std::string line;
  while (std::getline(input, line)) {
    std::istringstream words(line);
    std::string destination;
    words >> destination;
    if (kRouteTypes.count(destination) != 0) words >> destination;
    if (destination == address || destination == address + "/32") lines.push_back(line);
  }
  return lines;
}

/// Every address of the scenario is free of static neighbours and host
/// routes in the workstation namespace.
void ExpectNoBracketLeft(const SearchRun& run) {
  for (const json& device : LoadScenarioDevices()) {
    const std::string address = device.value("ip", "");
    EXPECT_EQ(LinesFor(run.permanentNeighbours, address), std::vector<std::string>{})
        << "static neighbour left for " << address;
    EXPECT_EQ(LinesFor(run.routes, address), std::vector<std::string>{})
        << "host route left for " << address;
  }
}

class LabTest : public testing::Test {
 protected:
  void SetUp() override {
    SharedLab& lab = SharedLab::Get();
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    ASSERT_EQ(lab.upError(), "");
  }

  /// Runs (once) `vantrell search OPTIONS --json` and checks it printed an array.
  void RunSearch(std::vector<std::string> options) {
    options.push_back("--json");
    run_ = &SharedLab::Get().Search(options);
    ASSERT_TRUE(run_->devices.is_array())
        << "stdout is not a JSON array: " << run_->parseError << "\n"
        << run_->result.out;
  }

  const json& devices() const { return run_->devices; }

  const SearchRun* run_ = nullptr;
};

// ---------------------------------------------------------------------------
// Broadcast search over both segments.

class BroadcastSearchLab : public LabTest {
 protected:
  void SetUp() override {
    LabTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    RunSearch({});
  }
};

TEST_F(BroadcastSearchLab, EndsWithExitCodeZero) { EXPECT_EQ(run_->result.exitCode, 0); }

TEST_F(BroadcastSearchLab, ListsEveryAnsweringDeviceOfBothSegmentsOnce) {
  std::set<std::string> expected;
  for (const json& device : LoadScenarioDevices()) {
    const std::string mac = UpperMac(device.value("mac", ""));
    if (mac != kNoiseOnlyMac && mac != kUnknownModelMac) expected.insert(mac);
  }
  ASSERT_EQ(expected.size(), 14u);
  std::set<std::string> listed;
  std::set<std::string> interfaces;
  for (const json& device : devices()) {
    EXPECT_TRUE(listed.insert(device.value("mac", "")).second)
        << "listed twice: " << device.value("mac", "");
    interfaces.insert(device.value("interface", ""));
  }
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(devices().size(), expected.size());
  EXPECT_EQ(interfaces, (std::set<std::string>{kSegmentInterface[0], kSegmentInterface[1]}));
}

TEST_F(BroadcastSearchLab, NeverListsNoiseOnlyOrUnnamedShortReplyDevices) {
  const auto byMac = ByMac(devices());
  EXPECT_EQ(byMac.count(kNoiseOnlyMac), 0u);
  EXPECT_EQ(byMac.count(kUnknownModelMac), 0u);
  for (const json& device : devices()) {
    EXPECT_NE(device.value("ip", ""), "192.168.10.17");
    EXPECT_NE(device.value("ip", ""), "192.168.10.19");
  }
}

TEST_F(BroadcastSearchLab, EveryObjectCarriesExactlyTheDocumentedKeys) {
  const std::set<std::string> documented = {
      "model",           "modelId", "ip",        "mac",    "interface", "status",        "name",
      "location",        "netmask", "gateway",   "dns1",   "dns2",      "ipConfigFlags", "firmware",
      "firmwareVersion", "serial",  "replyKind", "details"};
  for (const json& device : devices()) {
    ASSERT_TRUE(device.is_object());
    std::set<std::string> keys;
    for (const auto& item : device.items()) keys.insert(item.key());
    EXPECT_EQ(keys, documented) << device.dump();
    for (const char* key : {"modelId", "firmwareVersion", "ipConfigFlags", "replyKind"}) {
      EXPECT_GE(Number(device, key), 0) << key << " is not a whole number";
    }
    for (const char* key :
         {"model", "ip", "mac", "interface", "status", "name", "location", "netmask", "gateway",
          "dns1", "dns2", "firmware", "serial", "details"}) {
      EXPECT_NE(Text(device, key), "<no text>") << key << " is not a string";
    }
  }
}

TEST_F(BroadcastSearchLab, AgreesWithTheScenarioOnIdentityAddressAndSegment) {
  const auto byMac = ByMac(devices());
  for (const json& device : LoadScenarioDevices()) {
    const std::string mac = UpperMac(device.value("mac", ""));
    const auto listed = byMac.find(mac);
    if (listed == byMac.end()) continue;
    SCOPED_TRACE(mac);
    const json& shown = listed->second;
    EXPECT_EQ(Text(shown, "ip"), Text(device, "ip"));
    EXPECT_EQ(Number(shown, "modelId"), static_cast<long long>(ScenarioNumber(device["modelId"])));
    EXPECT_EQ(Text(shown, "serial"), Serial(ScenarioNumber(device.value("serialNo", json(0)))));
    EXPECT_EQ(Text(shown, "interface"), kSegmentInterface[device.value("segment", 0)]);
    EXPECT_EQ(Number(shown, "replyKind"), device.value("reply", "short") == "long" ? 1 : 0);
  }
}

TEST_F(BroadcastSearchLab, LeavesNoStaticNeighbourOrHostRouteBehind) { ExpectNoBracketLeft(*run_); }

// The foreign-subnet devices answered their details only because the search
// installed the bracket: without it the workstation has no route to them.
TEST_F(BroadcastSearchLab, ForeignSubnetDevicesAreUnreachableOutsideTheBracket) {
  for (const std::string address : {"10.77.0.5", "172.31.4.7"}) {
    const CommandResult route = SharedLab::Get().Exec({"ip", "-4", "route", "get", address});
    EXPECT_NE(route.exitCode, 0) << address << ": " << route.out;
  }
}

// Every field of every listed device, as the scenario makes the simulator
// send it and as the details reply form it answers with lets it through.
struct ExpectedDevice {
  const char* label;
  const char* mac;
  const char* model;
  unsigned modelId;
  const char* ip;
  const char* interface;
  const char* status;
  const char* name;
  const char* location;
  const char* netmask;
  const char* gateway;
  const char* dns1;
  const char* dns2;
  unsigned ipConfigFlags;
  const char* firmware;
  std::uint32_t firmwareVersion;
  const char* serial;
  unsigned replyKind;
  const char* details;
};

void PrintTo(const ExpectedDevice& device, std::ostream* out) {
  *out << device.label << " " << device.mac;
}

constexpr const char* kSeg0 = "192.168.10.1";
constexpr const char* kSeg1 = "192.168.20.1";
constexpr const char* kNone = "0.0.0.0";
constexpr const char* kMask24 = "255.255.255.0";

const ExpectedDevice kExpectedDevices[] = {
    // 86-byte details carry neither DNS, flags nor location, although the
    // device has them; its noise replies before the good one are dropped.
    {"ShortD8With86ByteDetails", "02:56:10:00:00:01", "ORV-D8", 0x6008, "192.168.10.11", kSeg0, "",
     "Press line D8", "", kMask24, "192.168.10.254", kNone, kNone, 0, "1.2.3", 0x01020300, "00042",
     0, "Finish"},
    {"ProtectedA8ShowsLocked", "02:56:10:00:00:02", "ORV-A8-F2", 0x3528, "192.168.10.12", kSeg0,
     "Locked", "Cell 4 A8", "", kMask24, "192.168.10.254", kNone, kNone, 0, "2.5", 0x02053000,
     "00007", 0, "Finish"},
    {"M26With1186ByteDetails", "02:56:10:00:00:03", "ORV-M26", 0x0726, "192.168.10.13", kSeg0, "",
     "Backbone M26", "", "255.255.0.0", "192.168.0.1", kNone, kNone, 0, "A.B.C", 0x0A0B0C00,
     "12345", 0, "Finish"},
    {"LongReplySwitchWith178ByteDetails", "02:56:10:00:00:04", "ORV-R8-F2 Plant Edition", 0x2528,
     "192.168.10.14", kSeg0, "", "Conveyor ring switch, north 12", "Hall B, column 14", kMask24,
     "192.168.10.254", "192.168.10.2", "192.168.10.3", 1, "3.1.2", 0x03010200, "65535", 1,
     "Finish"},
    {"KavexServerWith98ByteDetails", "02:56:10:00:00:05", "Kavex VS-2000", 0x0180, "192.168.10.15",
     kSeg0, "", "Gate camera", "", kMask24, "192.168.10.254", "192.168.10.2", kNone, 2, "1.0",
     0x01000000, "00900", 1, "Finish"},
    {"InaccessibleR8", "02:56:10:00:00:06", "ORV-R8-F1", 0x2518, "192.168.10.16", kSeg0,
     " Inaccessible", "Guest port R8", "", kMask24, "192.168.10.254", kNone, kNone, 0, "1.4",
     0x01040000, "00016", 0, "Finish"},
    {"ForeignSubnetDeviceOnSegment0", "02:56:10:00:00:07", "ORV-A8-F2-W Remote", 0x0558,
     "10.77.0.5", kSeg0, "", "Pump house A8", "Pump house", kMask24, "10.77.0.1", "10.77.0.2",
     "10.77.0.3", 0, "2.1.5", 0x02010500, "00505", 1, "Finish"},
    {"DeviceThatNeverAnswersDetails", "02:56:10:00:00:09", "ORV-R8", 0x2508, "192.168.10.18", kSeg0,
     "", "", "", kNone, kNone, kNone, kNone, 0, "0.0", 0, "00018", 0, "Timeout"},
    {"FirstOfTwoDevicesOnOneAddress", "02:56:10:00:00:0A", "ORV-R8-W", 0x2538, "192.168.10.60",
     kSeg0, "", "Twin", "", kMask24, "192.168.10.254", kNone, kNone, 0, "1.5", 0x01050000, "00060",
     0, "Finish"},
    {"SecondOfTwoDevicesOnOneAddress", "02:56:10:00:00:0B", "ORV-A8-W", 0x0538, "192.168.10.60",
     kSeg0, "", "Twin", "", kMask24, "192.168.10.254", kNone, kNone, 0, "1.5", 0x01050000, "00061",
     0, "Finish"},
    {"LateDetailsWithinTheAttempts", "02:56:20:00:00:01", "ORV-A8", 0x3508, "192.168.20.19", kSeg1,
     "", "Late A8", "", kMask24, "192.168.20.254", kNone, kNone, 0, "1.3", 0x01030000, "00019", 0,
     "Finish"},
    // A 98-byte details reply is refused from a short-reply device.
    {"ShortReplyDeviceAnswering98Bytes", "02:56:20:00:00:02", "ORV-A8-F1-W", 0x3548,
     "192.168.20.21", kSeg1, "", "", "", kNone, kNone, kNone, kNone, 0, "0.0", 0, "00021", 0,
     "Timeout"},
    {"LockedAndInaccessibleD8", "02:56:20:00:00:03", "ORV-D8-G2", 0x6028, "192.168.20.22", kSeg1,
     "Locked Inaccessible", "Locked and closed D8", "", kMask24, "192.168.20.254", kNone, kNone, 0,
     "4.0.1", 0x04000100, "00022", 0, "Finish"},
    {"ForeignSubnetDeviceOnSegment1", "02:56:20:00:00:04", "ORV-A8-F5", 0x05A8, "172.31.4.7", kSeg1,
     "", "Far A8", "", kMask24, "172.31.4.1", kNone, kNone, 0, "2.2", 0x02020000, "02307", 0,
     "Finish"},
};

json AsJson(const ExpectedDevice& e) {
  return json{{"model", e.model},
              {"modelId", e.modelId},
              {"ip", e.ip},
              {"mac", e.mac},
              {"interface", e.interface},
              {"status", e.status},
              {"name", e.name},
              {"location", e.location},
              {"netmask", e.netmask},
              {"gateway", e.gateway},
              {"dns1", e.dns1},
              {"dns2", e.dns2},
              {"ipConfigFlags", e.ipConfigFlags},
              {"firmware", e.firmware},
              {"firmwareVersion", e.firmwareVersion},
              {"serial", e.serial},
              {"replyKind", e.replyKind},
              {"details", e.details}};
}

class BroadcastSearchDevice : public BroadcastSearchLab,
                              public testing::WithParamInterface<ExpectedDevice> {};

TEST_P(BroadcastSearchDevice, ShowsEveryField) {
  const json expected = AsJson(GetParam());
  const auto byMac = ByMac(devices());
  const auto listed = byMac.find(GetParam().mac);
  ASSERT_NE(listed, byMac.end()) << GetParam().mac << " not listed";
  for (const auto& item : expected.items()) {
    EXPECT_EQ(listed->second.value(item.key(), json()).dump(), item.value().dump())
        << "key " << item.key();
  }
}

INSTANTIATE_TEST_SUITE_P(Devices, BroadcastSearchDevice, testing::ValuesIn(kExpectedDevices),
                         [](const testing::TestParamInfo<ExpectedDevice>& info) {
                           return std::string(info.param.label);
                         });

TEST_F(BroadcastSearchLab, ExpectationsCoverEveryListedDevice) {
  std::set<std::string> expected;
  for (const ExpectedDevice& device : kExpectedDevices) expected.insert(device.mac);
  std::set<std::string> listed;
  for (const json& device : devices()) listed.insert(device.value("mac", ""));
  EXPECT_EQ(listed, expected);
}

// ---------------------------------------------------------------------------
// Search by address (`--ip`).

class AddressSearchLab : public LabTest {};

std::set<std::string> Macs(const json& devices) {
  std::set<std::string> macs;
  for (const json& device : devices) macs.insert(device.value("mac", ""));
  return macs;
}

TEST_F(AddressSearchLab, SharedAddressListsBothDevicesWithDetails) {
  RunSearch({"--ip", "192.168.10.60"});
  EXPECT_EQ(run_->result.exitCode, 0);
  EXPECT_EQ(Macs(devices()), (std::set<std::string>{"02:56:10:00:00:0A", "02:56:10:00:00:0B"}));
  EXPECT_EQ(devices().size(), 2u);
  for (const json& device : devices()) {
    EXPECT_EQ(Text(device, "ip"), "192.168.10.60");
    EXPECT_EQ(Text(device, "interface"), kSeg0);
    EXPECT_EQ(Text(device, "details"), "Finish");
    EXPECT_EQ(Text(device, "name"), "Twin");
  }
  ExpectNoBracketLeft(*run_);
}

TEST_F(AddressSearchLab, ForeignAddressListsThatDeviceDetailedThroughTheBracket) {
  RunSearch({"--ip", "172.31.4.7"});
  EXPECT_EQ(run_->result.exitCode, 0);
  ASSERT_EQ(devices().size(), 1u);
  const json& device = devices()[0];
  EXPECT_EQ(Text(device, "mac"), "02:56:20:00:00:04");
  EXPECT_EQ(Text(device, "ip"), "172.31.4.7");
  EXPECT_EQ(Text(device, "interface"), kSeg1);
  EXPECT_EQ(Text(device, "details"), "Finish");
  EXPECT_EQ(Text(device, "name"), "Far A8");
  EXPECT_EQ(Text(device, "gateway"), "172.31.4.1");
  EXPECT_EQ(Number(device, "firmwareVersion"), 0x02020000);
  ExpectNoBracketLeft(*run_);
}

TEST_F(AddressSearchLab, AddressOfANoiseOnlyDeviceFindsNothing) {
  RunSearch({"--ip", "192.168.10.17"});
  EXPECT_EQ(run_->result.exitCode, 0);
  EXPECT_EQ(devices().dump(), "[]");
}

}  // namespace
}  // namespace vantrell::lab
