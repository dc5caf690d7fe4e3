#include "cli/search_output.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

DeviceList TwoDevices() {
  DeviceList devices;
  DeviceRecord a = MakeZeroRecord();
  a.modelId = 0x6008;
  a.serialNo = 42;
  a.mac = {0x00, 0x60, 0xE9, 0x0A, 0x0B, 0x0C};
  a.ipAddr = MakeIpv4(192, 168, 10, 20);
  a.localIfAddr = MakeIpv4(192, 168, 10, 1);
  a.netmask = MakeIpv4(255, 255, 255, 0);
  a.firmwareVersion = 0x01020300;
  a.statusFlags = 1;
  SetFieldText(a.modelName, "ORV-D8");
  SetFieldText(a.serverName, "Line\t3");
  devices.append(a);

  DeviceRecord b = MakeZeroRecord();
  b.modelId = 0x1280;
  b.replyKind = 1;
  b.mac = {0x00, 0x60, 0xE9, 0x00, 0x00, 0x01};
  b.ipAddr = MakeIpv4(10, 77, 0, 5);
  b.ipConfigFlags = 2;
  b.firmwareVersion = 0x0A0B3000;
  b.statusFlags = 2;
  SetFieldText(b.modelName, "Kavex VS");
  SetFieldText(b.location, "Hall \xE9");
  devices.append(b);
  return devices;
}

TEST(SearchOutput, TableAlignsColumnsAndKeepsLinesWhole) {
  EXPECT_EQ(SearchTable(TwoDevices()),
            "Model     IP Address     MAC Address        Status         Name    Location  "
            "Firmware  Serial\n"
            "ORV-D8    192.168.10.20  00:60:E9:0A:0B:0C  Locked         Line 3            "
            "1.2.3     00042\n"
            "Kavex VS  10.77.0.5      00:60:E9:00:00:01   Inaccessible          Hall \xE9    "
            "A.B       00000\n");
}

TEST(SearchOutput, JsonHasExactlyTheContractKeys) {
  const nlohmann::json json = SearchJson(TwoDevices(), {"Finish", "Timeout"});
  ASSERT_EQ(json.size(), 2u);
  const nlohmann::json& a = json[0];
  EXPECT_EQ(a.size(), 18u);
  EXPECT_EQ(a["model"], "ORV-D8");
  EXPECT_EQ(a["modelId"], 0x6008);
  EXPECT_EQ(a["ip"], "192.168.10.20");
  EXPECT_EQ(a["mac"], "00:60:E9:0A:0B:0C");
  EXPECT_EQ(a["interface"], "192.168.10.1");
  EXPECT_EQ(a["status"], "Locked");
  EXPECT_EQ(a["name"], "Line\t3");
  EXPECT_EQ(a["netmask"], "255.255.255.0");
  EXPECT_EQ(a["dns2"], "0.0.0.0");
  EXPECT_EQ(a["firmware"], "1.2.3");
  EXPECT_EQ(a["firmwareVersion"], 0x01020300);
  EXPECT_EQ(a["serial"], "00042");
  EXPECT_EQ(a["replyKind"], 0);
  EXPECT_EQ(a["details"], "Finish");
  const nlohmann::json& b = json[1];
  EXPECT_EQ(b["status"], " Inaccessible");
  EXPECT_EQ(b["location"], "Hall \xC3\xA9");
  EXPECT_EQ(b["ipConfigFlags"], 2);
  EXPECT_EQ(b["firmware"], "A.B");
  EXPECT_EQ(b["details"], "Timeout");
  EXPECT_NO_THROW((void)json.dump());
}

TEST(SearchOutput, ATimedOutDeviceSaysSoInItsRow) {
  EXPECT_EQ(SearchTable(TwoDevices(), {"Timeout", "Finish"}),
            "Model     IP Address     MAC Address        Status         Name  Location  "
            "Firmware  Serial\n"
            "ORV-D8    192.168.10.20  00:60:E9:0A:0B:0C  Timeout\n"
            "Kavex VS  10.77.0.5      00:60:E9:00:00:01   Inaccessible        Hall \xE9    "
            "A.B       00000\n");
}

TEST(SearchOutput, DeviceTextsNeitherBreakJsonNorReachTheTerminalAsControls) {
  DeviceList devices = TwoDevices();
  DeviceRecord record = devices[0];
  SetFieldText(record.serverName, "\x1B]0;owned\x07\x9B" "2J");
  SetFieldText(record.infoText, "Model\tORV\xFF\xFE\nUptime\t\xC3\n");
  devices.append(record);
  const std::string table = SearchTable(devices);
  EXPECT_NE(table.find("00:60:E9:0A:0B:0C  Locked          ]0;owned  2J"), std::string::npos)
      << table;
  EXPECT_EQ(table.find('\x1B'), std::string::npos);

  const nlohmann::json info = InfoJson(record, "Finish");
  EXPECT_EQ(info["infoText"], "Model\tORV\xC3\xBF\xC3\xBE\nUptime\t\xC3\x83\n");
  EXPECT_EQ(info["name"], "\x1B]0;owned\x07\xC2\x9B" "2J");
  EXPECT_EQ(info["details"], "Finish");
  EXPECT_EQ(info.size(), 19u);
  EXPECT_NO_THROW((void)info.dump());
}

}  // namespace
}  // namespace vantrell
