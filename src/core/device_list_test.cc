#include "core/device_list.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

DeviceRecord Device(std::uint8_t lastMacByte, Ipv4 ip) {
  DeviceRecord record = MakeZeroRecord();
  record.mac = {0x00, 0x11, 0x22, 0x33, 0x44, lastMacByte};
  record.ipAddr = ip;
  return record;
}

TEST(DeviceList, InsertUniqueKeepsTheFirstRecordOfAMac) {
  DeviceList list;
  EXPECT_TRUE(list.InsertUnique(Device(1, MakeIpv4(10, 0, 0, 1))));
  EXPECT_TRUE(list.InsertUnique(Device(2, MakeIpv4(10, 0, 0, 1))));
  DeviceRecord again = Device(1, MakeIpv4(10, 0, 0, 9));
  again.localIfAddr = MakeIpv4(192, 168, 2, 1);
  EXPECT_FALSE(list.InsertUnique(again));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].ipAddr, MakeIpv4(10, 0, 0, 1));
  EXPECT_EQ(list[0].localIfAddr, 0u);
  EXPECT_EQ(list.FindByMac(again.mac), 0);
  EXPECT_THROW((void)list[2], std::out_of_range);
}

TEST(DeviceList, RecordsCompareWholeAndSortInPlace) {
  DeviceRecord a = Device(1, MakeIpv4(10, 0, 0, 2));
  DeviceRecord b = a;
  EXPECT_EQ(a, b);
  b.infoText[1000] = 'x';
  EXPECT_NE(a, b);

  DeviceList list;
  list.append(Device(3, MakeIpv4(10, 0, 0, 10)));
  list.append(Device(4, MakeIpv4(10, 0, 0, 2)));
  list.Sort([](const DeviceRecord& x, const DeviceRecord& y) { return x.mac[5] > y.mac[5]; });
  EXPECT_EQ(list[0].mac[5], 4);
  EXPECT_EQ(list[1].mac[5], 3);
}

TEST(DeviceRecordText, FullWidthFieldsStillReadAsStrings) {
  DeviceRecord record = MakeZeroRecord();
  const std::string forty(40, 'M');
  CopyRawField(record.modelName, reinterpret_cast<const std::uint8_t*>(forty.data()), 40);
  record.firmwareVersion = 0xFFFFFFFF;
  EXPECT_EQ(FieldText(record.modelName), forty);
  SetFieldText(record.password, "a-password-longer-than-sixteen");
  EXPECT_EQ(FieldText(record.password), "a-password-longe");
}

}  // namespace
}  // namespace vantrell
