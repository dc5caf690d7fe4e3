#include "sim/scenario.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace vantrell::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

/// Parses a scenario holding one device given as the inside of a JSON object.
ScenarioLoad OneDevice(const std::string& fields) {
  return ParseScenario(R"({"devices": [ {)" + fields + "} ]}");
}

const std::string kRequired =
    R"("modelId": "0x6008", "mac": "00:11:22:aa:bb:cc", "ip": "10.1.2.3")";

TEST(ScenarioTest, RequiredFieldsOnlyGiveDefaults) {
  const ScenarioLoad load = OneDevice(kRequired);
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_TRUE(load.warnings.empty());
  ASSERT_EQ(load.scenario->devices.size(), 1u);
  const SimDevice& d = load.scenario->devices[0];
  EXPECT_EQ(d.modelId, 0x6008);
  EXPECT_EQ(d.mac, (MacAddress{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(d.ip, MakeIpv4(10, 1, 2, 3));
  EXPECT_EQ(d.serialNo, 0);
  EXPECT_EQ(d.webPort, 80);
  EXPECT_EQ(d.reply, DiscoveryForm::kShort);
  EXPECT_EQ(d.modelName, "");
  EXPECT_EQ(d.firmwareVersion, 0u);
  EXPECT_EQ(d.statusFlags, 0);
  EXPECT_EQ(d.netmask, 0u);
  EXPECT_EQ(d.gateway, 0u);
  EXPECT_EQ(d.ipConfigFlags, 0u);
  EXPECT_EQ(d.details, DetailsForm::k86);
  EXPECT_TRUE(d.faults.discoveryNoise.empty());
  EXPECT_FALSE(d.faults.noiseOnly);
  EXPECT_EQ(d.faults.detailsDelayMs, 0);
  EXPECT_EQ(d.modules[0].type, 0);
}

TEST(ScenarioTest, EveryFieldIsRead) {
  const ScenarioLoad load = OneDevice(kRequired + R"(,
      "serialNo": "42", "webPort": 8080, "reply": "long", "modelName": "Kavex VS-2000",
      "firmwareVersion": "0x01020300", "statusFlags": "0x3", "name": "Line 3 switch",
      "location": "Hall B", "netmask": "255.255.255.0", "gateway": "10.1.2.254",
      "dns1": "10.1.2.2", "dns2": "0.0.0.0", "ipConfigFlags": 1,
      "modules": [ {"type": 1, "name": "M-FX4", "desc": "4 x 100BASE-FX"}, {"type": 0} ],
      "details": "1186",
      "faults": {"discoveryNoise": ["length", "sequence", "interface", "firstByte"],
                 "noiseOnly": true, "detailsDelayMs": 250},
      "segment": 1, "prefix": 24)");
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_TRUE(load.warnings.empty());
  const SimDevice& d = load.scenario->devices[0];
  EXPECT_EQ(d.serialNo, 42);
  EXPECT_EQ(d.webPort, 8080);
  EXPECT_EQ(d.reply, DiscoveryForm::kLong);
  EXPECT_EQ(d.modelName, "Kavex VS-2000");
  EXPECT_EQ(d.firmwareVersion, 0x01020300u);
  EXPECT_EQ(d.statusFlags, 3);
  EXPECT_EQ(d.name, "Line 3 switch");
  EXPECT_EQ(d.location, "Hall B");
  EXPECT_EQ(d.netmask, MakeIpv4(255, 255, 255, 0));
  EXPECT_EQ(d.gateway, MakeIpv4(10, 1, 2, 254));
  EXPECT_EQ(d.dns1, MakeIpv4(10, 1, 2, 2));
  EXPECT_EQ(d.dns2, 0u);
  EXPECT_EQ(d.ipConfigFlags, 1u);
  EXPECT_EQ(d.modules[0].type, 1);
  EXPECT_EQ(d.modules[0].name, "M-FX4");
  EXPECT_EQ(d.modules[0].desc, "4 x 100BASE-FX");
  EXPECT_EQ(d.modules[1].type, 0);
  EXPECT_EQ(d.modules[2].type, 0);
  EXPECT_EQ(d.details, DetailsForm::k1186);
  EXPECT_THAT(d.faults.discoveryNoise,
              ElementsAre(DiscoveryNoise::kLength, DiscoveryNoise::kSequence,
                          DiscoveryNoise::kInterface, DiscoveryNoise::kFirstByte));
  EXPECT_TRUE(d.faults.noiseOnly);
  EXPECT_EQ(d.faults.detailsDelayMs, 250);
}

TEST(ScenarioTest, NumbersAsJsonNumbersHexAndDecimalStrings) {
  for (const char* modelId : {"24584", "\"24584\"", "\"0x6008\"", "\"0X6008\""}) {
    const ScenarioLoad load = ParseScenario(std::string(R"({"devices":[{"modelId":)") + modelId +
                                            R"(,"mac":"00-11-22-33-44-55","ip":"1.2.3.4"}]})");
    ASSERT_TRUE(load.scenario) << modelId << ": " << load.error;
    EXPECT_EQ(load.scenario->devices[0].modelId, 0x6008) << modelId;
  }
}

TEST(ScenarioTest, DetailsFormsAndNone) {
  for (const auto& [text, form] :
       std::vector<std::pair<std::string, DetailsForm>>{{"86", DetailsForm::k86},
                                                        {"98", DetailsForm::k98},
                                                        {"178", DetailsForm::k178},
                                                        {"\"0x4a2\"", DetailsForm::k1186},
                                                        {"\"none\"", DetailsForm::kNone}}) {
    const ScenarioLoad load = OneDevice(kRequired + R"(, "details": )" + text);
    ASSERT_TRUE(load.scenario) << text << ": " << load.error;
    EXPECT_EQ(load.scenario->devices[0].details, form) << text;
  }
}

TEST(ScenarioTest, ModuleWithoutTypeCountsAsFitted) {
  const ScenarioLoad load = OneDevice(kRequired + R"(, "modules": [ {"name": "M"} ])");
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_EQ(load.scenario->devices[0].modules[0].type, 1);
}

TEST(ScenarioTest, UnknownFieldsAreWarnings) {
  const ScenarioLoad load =
      ParseScenario(R"({"devices": [ {)" + kRequired +
                    R"(, "pasword": "x", "faults": {"late": 1}} ], "extra": 0})");
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_THAT(load.warnings, ElementsAre("extra: unknown field ignored",
                                         "devices[0].pasword: unknown field ignored",
                                         "devices[0].faults.late: unknown field ignored"));
}

TEST(ScenarioTest, ErrorsNameTheField) {
  struct Case {
    std::string json;
    std::string error;
  };
  const std::string mac = R"("mac": "00:11:22:33:44:55")";
  const std::vector<Case> cases = {
      {R"({"devices": [ {"mac": "00:11:22:33:44:55", "ip": "1.2.3.4"} ]})",
       "devices[0].modelId: is required"},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4"} ]})", "devices[0].mac: is required"},
      {R"({"devices": [ {"modelId": 1, )" + mac + "} ]}", "devices[0].ip: is required"},
      {R"({"devices": [ {"modelId": 65536, "ip": "1.2.3.4", )" + mac + "} ]}",
       "devices[0].modelId: 65536 is out of range 0..65535"},
      {R"({"devices": [ {"modelId": -1, "ip": "1.2.3.4", )" + mac + "} ]}",
       "devices[0].modelId: -1 is negative"},
      {R"({"devices": [ {"modelId": 1.5, "ip": "1.2.3.4", )" + mac + "} ]}",
       "devices[0].modelId: 1.5 is not a whole number"},
      {R"({"devices": [ {"modelId": "0x60g8", "ip": "1.2.3.4", )" + mac + "} ]}",
       "devices[0].modelId: \"0x60g8\" is not a hexadecimal number"},
      {R"({"devices": [ {"modelId": "", "ip": "1.2.3.4", )" + mac + "} ]}",
       "devices[0].modelId: \"\" is not a number"},
      {R"({"devices": [ {"modelId": true, "ip": "1.2.3.4", )" + mac + "} ]}",
       "devices[0].modelId: true is not a number or a numeric string"},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3", )" + mac + "} ]}",
       "devices[0].ip: \"1.2.3\" is not a dotted IPv4 address"},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "mac": "00:11:22:33:44"} ]})",
       "devices[0].mac: \"00:11:22:33:44\" is not a MAC address like 00:11:22:33:44:55"},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "reply": "medium", )" + mac + "} ]}",
       "devices[0].reply: \"medium\" is neither \"short\" nor \"long\""},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "details": 100, )" + mac + "} ]}",
       "devices[0].details: 100 is not 86, 98, 178, 1186 or \"none\""},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "statusFlags": 256, )" + mac + "} ]}",
       "devices[0].statusFlags: 256 is out of range 0..255"},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "faults": {"discoveryNoise": ["seq"]}, )" +
           mac + "} ]}",
       "devices[0].faults.discoveryNoise[0]: \"seq\" is not \"sequence\", \"interface\", "
       "\"firstByte\" or \"length\""},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "faults": {"noiseOnly": 1}, )" + mac +
           "} ]}",
       "devices[0].faults.noiseOnly: 1 is not true or false"},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "modules": [{},{},{},{},{},{},{},{},{}], )" +
           mac + "} ]}",
       "devices[0].modules: lists 9 modules, at most 8 fit"},
      {R"({"devices": [ {"modelId": 1, "ip": "1.2.3.4", "name": 7, )" + mac + "} ]}",
       "devices[0].name: 7 is not a string"},
      {R"({"devices": {}})", "devices: is not a JSON array"},
      {R"({})", "devices: is required"},
      {R"([])", "scenario: is not a JSON object"},
      {R"({"devices": [ 5 ]})", "devices[0]: is not a JSON object"},
  };
  for (const Case& c : cases) {
    const ScenarioLoad load = ParseScenario(c.json);
    EXPECT_FALSE(load.scenario) << c.json;
    EXPECT_EQ(load.error, c.error) << c.json;
  }
}

TEST(ScenarioTest, BrokenJsonIsAnError) {
  const ScenarioLoad load = ParseScenario(R"({"devices": [ )");
  EXPECT_FALSE(load.scenario);
  EXPECT_THAT(load.error, HasSubstr("not valid JSON"));
}

TEST(ScenarioTest, LoadsFileAndReportsMissingFile) {
  const std::string path = ::testing::TempDir() + "vts_scenario_test.json";
  {
    std::ofstream file(path);
    file << R"({"devices": [ {)" << kRequired << "} ]}";
  }
  const ScenarioLoad load = LoadScenarioFile(path);
  std::remove(path.c_str());
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_EQ(load.scenario->devices.size(), 1u);

  const ScenarioLoad missing = LoadScenarioFile(path);
  EXPECT_FALSE(missing.scenario);
  EXPECT_EQ(missing.error, "cannot open \"" + path + "\"");
}

}  // namespace
}  // namespace vantrell::sim
