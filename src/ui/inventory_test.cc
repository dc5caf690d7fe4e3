#include "ui/inventory.h"

#include <gtest/gtest.h>

#include "core/csv.h"
#include "core/text_forms.h"

namespace vantrell {
namespace {

DeviceRecord Switch() {
  DeviceRecord record{};
  SetFieldText(record.modelName, "ORV-8TX");
  record.ipAddr = MakeIpv4(192, 168, 10, 11);
  record.mac = *ParseMac("00:60:e9:10:20:11");
  SetFieldText(record.serverName, "Line \"1\", east");
  SetFieldText(record.location, "Hall\x01" "3");
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.gateway = MakeIpv4(192, 168, 10, 1);
  record.localIfAddr = MakeIpv4(192, 168, 10, 2);
  record.serialNo = 42;
  return record;
}

TEST(Inventory, OneQuotedRowPerDeviceUnderTheHeader) {
  DeviceList devices;
  devices.append(Switch());
  DeviceRecord bootp = Switch();
  bootp.ipConfigFlags = 0x2;
  devices.append(bootp);
  const std::string csv = InventoryCsv(devices, {"Finish", "Timeout"});

  std::string error;
  const auto records = ParseCsv(csv, error);
  ASSERT_TRUE(records) << error;
  ASSERT_EQ(records->size(), 3u);
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "model,ip,mac,status,name,location,firmware,serial,netmask,gateway,dns1,dns2,dhcp,"
            "interface,details");
  const std::vector<std::string>& row = (*records)[1].fields;
  ASSERT_EQ(row.size(), InventoryColumns().size());
  EXPECT_EQ(row[1], "192.168.10.11");
  EXPECT_EQ(row[2], "00:60:E9:10:20:11");
  EXPECT_EQ(row[4], "Line \"1\", east");  // quoted in the text, whole when read back
  EXPECT_EQ(row[5], "Hall 3");            // control characters become blanks
  EXPECT_EQ(row[7], "00042");
  EXPECT_EQ(row[8], "255.255.255.0");
  EXPECT_EQ(row[12], "off");
  EXPECT_EQ(row[13], "192.168.10.2");
  EXPECT_EQ(row[14], "Finish");
  EXPECT_EQ((*records)[2].fields[12], "bootp");
  EXPECT_EQ((*records)[2].fields[14], "Timeout");
  EXPECT_EQ(AddressModeWord(0x1), "dhcp");
}

}  // namespace
}  // namespace vantrell
