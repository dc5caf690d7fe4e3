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
                 "noiseOnly": true, "detailsDelayMs": 250, "announcedMac": "01:00:5E:00:00:01",
                 "detailsFrom": "10.1.2.9", "floodMacs": 64, "httpStallAfter": 4096},
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
  EXPECT_EQ(d.faults.announcedMac, (MacAddress{0x01, 0x00, 0x5E, 0x00, 0x00, 0x01}));
  EXPECT_EQ(d.faults.detailsFrom, MakeIpv4(10, 1, 2, 9));
  EXPECT_EQ(d.faults.floodMacs, 64);
  EXPECT_EQ(d.faults.httpStallAfter, 4096u);
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

TEST(ScenarioTest, SessionStateAndFaults) {
  const ScenarioLoad load = OneDevice(kRequired + R"(,
      "password": "0123456789abcdef", "smtpPassword": "mail", "portMask": "0xFFFF",
      "trunkPortMask": 768, "infoText": "a\tb\n", "configFile": "[x]\r\n",
      "configBlock": {"size": 300, "pattern": "counter"},
      "kavexUser": "op", "kavexPassword": "pw",
      "faults": {"refuseLogin": true, "replyDelayMs": 7000, "resetOnNetworkSettings": true,
                 "refuseOpcodes": ["0x0C", 21], "firmwareFirstReply": 1,
                 "firmwareStatus": "0xF9", "firmwareCloseWithoutAnswer": true,
                 "firmwareSaveMs": 3000, "streamFirstReply": "0x02", "streamFinalStatus": -3,
                 "streamGroupName": "QoS", "longFileHeader": true, "httpAnswer": "sizeMismatch",
                 "fileLengthClaim": 16777217})");
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_TRUE(load.warnings.empty());
  const SimDevice& d = load.scenario->devices[0];
  EXPECT_EQ(d.password, "0123456789abcdef");
  EXPECT_EQ(d.smtpPassword, "mail");
  EXPECT_EQ(d.portMask, 0xFFFFu);
  EXPECT_EQ(d.trunkPortMask, 768u);
  EXPECT_EQ(d.infoText, "a\tb\n");
  EXPECT_EQ(d.configFile, "[x]\r\n");
  ASSERT_EQ(d.configBlock.size(), 300u);
  EXPECT_EQ(d.configBlock[299], 299 & 0xFF);
  EXPECT_EQ(d.kavexUser, "op");
  EXPECT_EQ(d.kavexPassword, "pw");
  const SimFaults& f = d.faults;
  EXPECT_TRUE(f.refuseLogin);
  EXPECT_EQ(f.replyDelayMs, 7000);
  EXPECT_TRUE(f.resetOnNetworkSettings);
  EXPECT_THAT(f.refuseOpcodes, ElementsAre(0x0C, 0x15));
  EXPECT_EQ(f.firmwareFirstReply, 1);
  EXPECT_EQ(f.firmwareStatus, 0xF9);
  EXPECT_TRUE(f.firmwareCloseWithoutAnswer);
  EXPECT_EQ(f.firmwareSaveMs, 3000);
  EXPECT_EQ(f.streamFirstReply, 2);
  EXPECT_EQ(f.streamFinalStatus, -3);
  EXPECT_EQ(f.streamGroupName, "QoS");
  EXPECT_TRUE(f.longFileHeader);
  EXPECT_EQ(f.fileLengthClaim, 16777217u);
  EXPECT_EQ(f.httpAnswer, HttpAnswer::kSizeMismatch);
}

TEST(ScenarioTest, SessionDefaultsAndStatusBytes) {
  const ScenarioLoad load = ParseScenario(R"({"devices": [
      {"modelId": "0x6008", "firmwareVersion": "0x01050100", "mac": "02:00:00:00:00:01", "ip": "10.0.0.1"},
      {"modelId": "0x0726", "firmwareVersion": "0x00000100", "mac": "02:00:00:00:00:02", "ip": "10.0.0.2",
       "faults": {"firmwareStatus": -7, "streamFinalStatus": "0xFD", "httpAnswer": "Hello"}},
      {"modelId": "0x0088", "mac": "02:00:00:00:00:03", "ip": "10.0.0.3",
       "configBlock": {"hex": "01 02:0a0B"}}]})");
  ASSERT_TRUE(load.scenario) << load.error;
  const auto& devices = load.scenario->devices;
  EXPECT_EQ(devices[0].configBlock, std::vector<std::uint8_t>(1124, 0));
  EXPECT_EQ(devices[0].password, "");
  EXPECT_EQ(devices[0].kavexUser, "admin");
  EXPECT_EQ(devices[0].kavexPassword, "");
  EXPECT_EQ(devices[0].faults.firmwareFirstReply, 0);
  EXPECT_EQ(devices[0].faults.firmwareStatus, 1);
  EXPECT_EQ(devices[0].faults.httpAnswer, HttpAnswer::kSuccess);
  EXPECT_EQ(devices[1].configBlock.size(), 21136u);
  EXPECT_EQ(devices[1].faults.firmwareStatus, 0xF9);
  EXPECT_EQ(devices[1].faults.streamFinalStatus, -3);
  EXPECT_EQ(devices[1].faults.httpAnswer, HttpAnswer::kLiteral);
  EXPECT_EQ(devices[1].faults.httpAnswerText, "Hello");
  EXPECT_THAT(devices[2].configBlock, ElementsAre(1, 2, 0x0A, 0x0B));

  EXPECT_EQ(GenerationBlockSize(0x3508, 0x01010000), 8508u);
  EXPECT_EQ(GenerationBlockSize(0x3508, 0x01010100), 12364u);
  EXPECT_EQ(GenerationBlockSize(0x6008, 0x01040001), 0u);  // between two generations
  EXPECT_EQ(GenerationBlockSize(0x6008, 0x02000600), 1256u);
  EXPECT_EQ(GenerationBlockSize(0x0080, 0x01000000), 0u);
}

TEST(ScenarioTest, SessionFieldErrors) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"("password": "0123456789abcdefg")",
       "devices[0].password: is 17 bytes long, at most 16 fit"},
      {R"("smtpPassword": ")" + std::string(46, 'x') + "\"",
       "devices[0].smtpPassword: is 46 bytes long, at most 45 fit"},
      {R"("configBlock": {"size": 21137})",
       "devices[0].configBlock.size: 21137 is out of range 0..21136"},
      {R"("configBlock": {"size": 4, "hex": "00"})",
       "devices[0].configBlock: needs exactly one of \"size\", \"hex\" or \"file\""},
      {R"("configBlock": {"hex": "0g"})", "devices[0].configBlock.hex: holds 'g', not a hex digit"},
      {R"("configBlock": {"size": 4, "pattern": "ones"})",
       "devices[0].configBlock.pattern: is neither \"zero\" nor \"counter\""},
      {R"("configFile": {"file": "vts-no-such-file"})",
       "devices[0].configFile.file: cannot open \"vts-no-such-file\""},
      {R"("faults": {"firmwareStatus": 256})",
       "devices[0].faults.firmwareStatus: 256 is out of range 0..255"},
      {R"("faults": {"firmwareStatus": -129})",
       "devices[0].faults.firmwareStatus: -129 is out of range -128..255"},
      {R"("faults": {"streamGroupName": ")" + std::string(30, 'g') + "\"}",
       "devices[0].faults.streamGroupName: is 30 bytes long, at most 29 fit"},
      {R"("faults": {"refuseOpcodes": 12})",
       "devices[0].faults.refuseOpcodes: is not a JSON array"},
  };
  for (const auto& [fields, error] : cases) {
    const ScenarioLoad load = OneDevice(kRequired + ", " + fields);
    EXPECT_FALSE(load.scenario) << fields;
    EXPECT_EQ(load.error, error) << fields;
  }
}

TEST(ScenarioTest, FilesNextToTheScenario) {
  const std::string directory = ::testing::TempDir();
  const std::string blockPath = directory + "vts_block.bin";
  const std::string configPath = directory + "vts_config.ini";
  const std::string scenarioPath = directory + "vts_files_scenario.json";
  {
    std::ofstream(blockPath, std::ios::binary) << std::string("\x00\x01\xff", 3);
    std::ofstream(configPath, std::ios::binary) << "Name=x\r\n";
    std::ofstream(scenarioPath) << R"({"devices": [ {)" << kRequired
                                << R"(, "configBlock": {"file": "vts_block.bin"},
                                       "configFile": {"file": "vts_config.ini"}} ]})";
  }
  const ScenarioLoad load = LoadScenarioFile(scenarioPath);
  std::remove(blockPath.c_str());
  std::remove(configPath.c_str());
  std::remove(scenarioPath.c_str());
  ASSERT_TRUE(load.scenario) << load.error;
  EXPECT_THAT(load.scenario->devices[0].configBlock, ElementsAre(0x00, 0x01, 0xFF));
  EXPECT_EQ(load.scenario->devices[0].configFile, "Name=x\r\n");
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
