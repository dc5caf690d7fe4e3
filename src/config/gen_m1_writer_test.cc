#include "config/gen_m1_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_sample_block.h"

namespace vantrell {
namespace {

using namespace item;

class GenM1WriterTest : public ::testing::Test {
 protected:
  std::string Write() {
    std::string text;
    WriteGenM1ConfigFile(text, record_, block_, accessors_);
    return text;
  }
  static bool Has(const std::string& text, std::string_view piece) {
    return text.find(piece) != std::string::npos;
  }

  DeviceRecord record_ = gen_m1::SampleRecord();
  ConfigBlock block_ = gen_m1::SampleBlock();
  gen_m1::GenM1Accessors accessors_;
};

TEST_F(GenM1WriterTest, PortBlocksOnlyForPresentPorts) {
  record_.portMask = 0xFFu | (1u << 24) | (1u << 25) | (1u << 26);
  const std::string text = Write();
  EXPECT_TRUE(Has(text, "# [Port 2-4]\r\nPort_2-4_EN\t\t\t"));
  EXPECT_FALSE(Has(text, "Port_3-1_EN"));
  EXPECT_TRUE(Has(text, "# [Port G-2]\r\nPort_G-2_EN\t\t\t"));
  EXPECT_TRUE(Has(text, "# [Trk1]\r\nPort_Trk1_EN\t\t"));
  EXPECT_FALSE(Has(text, "Port_Trk2_EN"));
  EXPECT_FALSE(Has(text, "STP_EN_3-1"));
  EXPECT_FALSE(Has(text, "DeviceIP_Trk2"));
  // The trunk section lists every physical port.
  EXPECT_TRUE(
      Has(text, "# [Port 6-4]\r\nPort_6-4_TrunkType\t\t0\r\nPort_6-4_TrunkGroup\t\t0\r\n\r\n"));
  EXPECT_TRUE(Has(text, "Port_G-2_TrunkGroup\t\t2\r\n"));
  EXPECT_FALSE(Has(text, "Port_Trk1_TrunkType"));
}

TEST_F(GenM1WriterTest, HeadingsAndTabs) {
  const std::string text = Write();
  EXPECT_TRUE(Has(text,
                  "# [Trk2]\r\nPort_Trk2_EN\t\t1\r\nPort_Trk2_Speed\t\t2\r\n"
                  "Port_Trk2_FDX\t\t1\r\n\r\n# ["));
  EXPECT_TRUE(Has(text,
                  "# [Port 1-4]\r\nPort_1-4_EN\t\t\t1\r\nPort_1-4_Speed\t\t3\r\n"
                  "Port_1-4_FDX\t\t1\r\nPort_1-4_MDI\t\t0\r\n\r\n"));
  EXPECT_TRUE(Has(text, "# [Port G-1]\r\nGMRP_EN_G-1\t\t0\r\n\r\n# [Port G-2]"));
  EXPECT_TRUE(Has(text, "# [Trk1]\r\nGMRP_EN_Trk1\t0\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\n#[ToS11(28)]\r\nToSMap_10\t\t1\r\n\r\n"));
  EXPECT_TRUE(Has(text, "BridgeId\t\t7\r\n"));
  EXPECT_TRUE(Has(text, "STP_ID_1-2\t\t1\r\n"));
  EXPECT_TRUE(Has(text, "HelloTime\t\t2(sec.)\r\n"));
  EXPECT_TRUE(Has(text, "EW_SystemEvents\t\t0x1213\r\n"));
  EXPECT_TRUE(Has(text,
                  "EW_PortEvents_1-2\t\t0x01\r\nEW_TrafThreshold_1-2\t11 %\r\n"
                  "EW_TrafDuration_1-2\t\t251 sec\r\n"));
  EXPECT_TRUE(Has(text, "FixVid_1-1\t\t\t100,200,300,\r\n"));
  EXPECT_TRUE(Has(text, "DeviceIP_1-2\t\r\n\r\n"));
  EXPECT_TRUE(Has(text, "DeviceIP_1-1\t10.1.2.100\r\n\r\n"));
  EXPECT_TRUE(Has(text, "ZorvelRingPort1\t3-1\r\n"));
  EXPECT_TRUE(Has(text, "MonitoredPort\tTrk1\r\n"));
  EXPECT_TRUE(Has(text, "SMTPPassword\tmail pass 7\r\n"));  // from the record
  EXPECT_TRUE(Has(text, "\r\n# ----------End of File----------\r\n"));
  EXPECT_EQ(text.substr(text.size() - 39), "\r\n\r\n# ----------End of File----------\r\n");
}

TEST_F(GenM1WriterTest, ListLines) {
  auto bytes = block_.bytes();
  const std::size_t igmp = gen_m1::kIgmpTable + 5 * gen_m1::kIgmpEntrySize;
  WriteU16(bytes, igmp, 23 | gen_m1::kIgmpSnooping | gen_m1::kIgmpQuerier);
  WriteU32(bytes, igmp + 4, (1u << 4) | (1u << 7));
  const std::string text = Write();
  EXPECT_TRUE(Has(text, "IGMPSNOOP\t23\t1\t1\t2-1,2-4\r\n"));
  EXPECT_TRUE(Has(text, "IGMPSNOOP\t1\t1\t0\t\r\n"));
  EXPECT_TRUE(Has(text,
                  "# begin-of-list\r\nMMAC 01-00-5E-7F-00-00 1-1,2-1\r\n"
                  "MMAC 01-00-5E-7F-00-01 1-2,2-2\r\n"));
  EXPECT_TRUE(Has(text, "UMAC 0A-3F-C2-01-00-01 2-1\r\n"));
  EXPECT_TRUE(Has(text,
                  "# [User List 2]\r\nDot1xDB_User_2\t\tuser2\r\nDot1xDB_Passwd_2\tpw1001\r\n"
                  "Dot1xDB_Desr_2\t\tOperator desk 2\r\n\r\n# end-of-list"));
}

TEST_F(GenM1WriterTest, UsersAreNumberedByCount) {
  for (std::size_t k = 0; k < gen_m1::kDot1xUserCount; ++k) {
    block_.SetByteAt(gen_m1::kDot1xUsers + k * gen_m1::kDot1xUserSize + gen_m1::kDot1xUsedFlag,
                     k == 3 || k == 7 ? 1 : 0);
  }
  accessors_.setText(block_, kM1Dot1xDbUser, "fourth", 3);
  accessors_.setText(block_, kM1Dot1xDbUser, "eighth", 7);
  const std::string text = Write();
  EXPECT_TRUE(Has(text, "Dot1xDB_User_1\t\tfourth\r\n"));
  EXPECT_TRUE(Has(text, "Dot1xDB_User_2\t\teighth\r\n"));
  EXPECT_FALSE(Has(text, "Dot1xDB_User_3"));
}

TEST_F(GenM1WriterTest, MirrorPortsAndPopulatedSlots) {
  accessors_.setNumber(block_, D_CONF_ETH_MIRROR_PORT, 0);
  record_.moduleType = {};
  record_.moduleType[0] = 1;  // slot 1 populated, slot 2 empty
  std::string text = Write();
  EXPECT_TRUE(Has(text, "MirrorPort\t0\r\n\r\n"));
  EXPECT_TRUE(Has(text, "# [Port 1-4]\r\nEW_PortEvents_1-4"));
  EXPECT_FALSE(Has(text, "EW_PortEvents_2-1"));
  EXPECT_FALSE(Has(text, "RW_PortLink_2-1"));
  EXPECT_FALSE(Has(text, "EW_PortEvents_G-1"));
  EXPECT_TRUE(Has(text, "STP_EN_2-1"));  // present ports follow portMask
  accessors_.setNumber(block_, D_CONF_ETH_MIRROR_PORT, 25);
  text = Write();
  EXPECT_TRUE(Has(text, "MirrorPort\tG-1\r\n\r\n"));
}

TEST_F(GenM1WriterTest, AddressLinesAndPasswords) {
  accessors_.setNumber(block_, D_CONF_ETH_IPMASK, 0xFFFFFFFF);
  accessors_.setNumber(block_, D_CONF_ETH_DNSSIP, 0);
  accessors_.setText(block_, kPasswordField, "0123456789abcdef", 1);
  const std::string text = Write();
  EXPECT_TRUE(Has(text, "\r\nNetmask\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\nDNSIP\r\nDNSIP1\t\t\t192.168.1.3\r\n\r\n"));
  EXPECT_TRUE(Has(text, "AdminPassword\t\t0123456789abcdef\r\n"));
  EXPECT_TRUE(Has(text, "TRAP_Community\t\ttrapcomm\r\n"));
}

}  // namespace
}  // namespace vantrell
