#include "config/gen_a2_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_item_ids.h"
#include "config/export_notes.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a2_sample.h"

namespace vantrell {
namespace {

using namespace item;

class GenA2WriterTest : public ::testing::Test {
 protected:
  GenA2WriterTest() {
    record_.modelId = 0x0508;
    SetFieldText(record_.smtpPassword, "fetched-pw");
  }
  std::string Export() {
    std::string file;
    WriteGenA2ConfigFile(file, record_, block_, a_);
    return file;
  }
  static bool Has(const std::string& file, std::string_view text) {
    return file.find(text) != std::string::npos;
  }
  DeviceRecord record_{};
  ConfigBlock block_ = MakeGenA2SampleBlock();
  GenA2Accessors a_;
};

TEST_F(GenA2WriterTest, ManagementVlanIgmpEntryShowsDashesOnlyWithATrunk) {
  // Entry 0 of the sample holds VID 1, the management VLAN.
  std::string file = Export();
  EXPECT_TRUE(Has(file, "\r\nIGMPSNOOP\t1\t"));
  EXPECT_FALSE(Has(file, "IGMPSNOOP\t---"));
  a_.setNumber(block_, D_CONF_ETH_PORTTRUNKING_P3, 1);
  file = Export();
  EXPECT_TRUE(Has(file, "\r\nIGMPSNOOP\t---\t"));
  EXPECT_FALSE(Has(file, "\r\nIGMPSNOOP\t1\t"));
}

TEST_F(GenA2WriterTest, PrioritiesAreShownAsPriorityNumbers) {
  a_.setNumber(block_, D_CONF_ETH_SPAN_BRIDGE_ID, 0x7000);
  a_.setNumber(block_, D_CONF_ETH_SPAN_PORT1_ID, 8);
  const std::string file = Export();
  EXPECT_TRUE(Has(file, "\r\nBridgeId\t\t7\r\n\r\n"));
  EXPECT_TRUE(Has(file, "\r\nPort_ID1\t\t8\r\n\r\n"));
  EXPECT_TRUE(Has(file, "# \t--> 15 : 61440\r\n"));
}

TEST_F(GenA2WriterTest, SpanningTreeLinesOfTheTrunksKeepTheirTabCounts) {
  const std::string file = Export();
  EXPECT_TRUE(Has(file, "# [Port 8]\r\nSTP_EN8\t\t\t"));
  EXPECT_TRUE(Has(file, "# [Trk 1]\r\nSTP_EN9\t\t\t0\r\n"));
  EXPECT_TRUE(Has(file, "# [Trk 2]\r\nSTP_EN10\t\t0\r\n"));
  EXPECT_TRUE(Has(file, "\r\nSTP_EN12\t\t0\r\n\r\nPort_ID12\t\t"));
}

TEST_F(GenA2WriterTest, PortLockLegendLinesBeginWithABlank) {
  const std::string file = Export();
  EXPECT_TRUE(Has(file, "\r\n # Note :\r\n # If you set the port trunking settings"));
  EXPECT_TRUE(Has(file,
                  "\r\n # [LockPort]: Port Lock\r\n # \t-> 0 : Unlock\r\n # \t-> 1 : Lock\r\n"
                  "\r\n# [Lock Port 1]\r\nLockPort1\t\t"));
}

TEST_F(GenA2WriterTest, ListLinesWithTrunkMembers) {
  ConfigBlock block(gen_a2::kBlockSize);
  block_ = block;
  gen_a2::PutMulticastEntry(block_.bytes(), {0x01, 0x3F, 0xC2, 0x01, 0x02, 0x03}, 0x201);
  gen_a2::PutUnicastEntry(block_.bytes(), {0x0A, 0x3F, 0xC2, 0x01, 0x02, 0x03}, 0, 2);
  a_.setNumber(block_, D_CONF_VLAN_SYS_VID, 23);
  gen_a2::PutIgmpEntry(block_.bytes(), 5, {23, true, true, 0x890});
  gen_a2::PutIgmpEntry(block_.bytes(), 6, {24, true, false, 0x1});  // VLAN 24 is gone
  const std::string file = Export();
  EXPECT_FALSE(Has(file, "IGMPSNOOP\t24"));
  EXPECT_TRUE(Has(file, "# begin-of-list\r\nMMAC 01-3F-C2-01-02-03 1,10\r\n# end-of-list\r\n"));
  EXPECT_TRUE(Has(file, "# begin-of-list\r\n\r\nUMAC 0A-3F-C2-01-02-03 1 2\r\n\r\n# end-of-list"));
  EXPECT_TRUE(Has(file, "\r\nIGMPSNOOP\t23\t1\t1\t5,8,12\r\n# end-of-list"));
}

TEST_F(GenA2WriterTest, ValuesWithoutNameAreWrittenEmpty) {
  block_.bytes()[12276] = 9;    // no SNMP version
  block_.bytes()[3414] = 12;    // egress index without a name
  block_.bytes()[3413] = 0x1E;  // ingress index 14
  TakeExportProblems();
  const std::string file = Export();
  const std::vector<std::string> notes = TakeExportProblems();
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0], "SNMPVERSION: the stored value has no name and was written as an empty value.");
  EXPECT_EQ(notes[1], "RLI_port1: the stored value has no name and was written as an empty value.");
  EXPECT_EQ(notes[2], "RLE_port1: the stored value has no name and was written as an empty value.");
  EXPECT_TRUE(Has(file, "\r\nSNMPVERSION\t\t\t\r\n\r\n"));
  EXPECT_TRUE(Has(file, "\r\nRLE_port1\t\t\r\n\r\n"));
  EXPECT_TRUE(Has(file, "\r\nRLI_port1\t\t\r\n\r\n"));
  EXPECT_TRUE(Has(file, "\r\nRLI_port2\t\t"));
}

TEST_F(GenA2WriterTest, FrameworkPiecesAndFibreUplinks) {
  std::string file = Export();
  EXPECT_EQ(file.rfind("[Meshvault Server Configuration File]\r\n# Model Name\r\nModelName\t", 0),
            0u);
  EXPECT_TRUE(Has(file, "\r\nSMTPPassword\t\t\tfetched-pw\r\n"));
  EXPECT_TRUE(Has(file, "\r\n\r\n# ----------End of File----------\r\n"));
  EXPECT_TRUE(Has(file, "\r\nPort7_FDX\t\t1\r\n"));
  EXPECT_TRUE(Has(file, "\r\nNetmask\t\t\t255.255.255.0\r\n"));
  record_.modelId = 0x0518;
  a_.setNumber(block_, D_CONF_ETH_GATEWAY, 0);
  file = Export();
  EXPECT_TRUE(Has(file, "\r\nPort7_FDX\t\t\r\n\r\nPort7_MDIFlag\t\r\n\r\n"));
  EXPECT_TRUE(Has(file, "\r\nPort8_FDX\t\t\r\n\r\nPort8_MDIFlag\t\t\r\n\r\n"));
  EXPECT_TRUE(Has(file, "\r\nGateway\r\n\r\n"));
  EXPECT_TRUE(Has(file, "\r\nDevice6_IP\t\r\n"));
  EXPECT_TRUE(Has(file, "# [Trk 4]\r\nDevice12_IP\t\r\n\r\n"));
}

}  // namespace
}  // namespace vantrell
