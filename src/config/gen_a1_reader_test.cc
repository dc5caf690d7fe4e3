#include "config/gen_a1_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "config/export_notes.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a1_writer.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;

constexpr std::size_t kSize = 8508;

struct Device {
  Device() : block(kSize) {
    record = MakeZeroRecord();
    record.modelId = 0x0508;
  }
  ValidationFlags Read(const std::string& body) {
    const std::string text = "[Meshvault Server Configuration File]\nModelName\tA8\n" + body;
    return readGenA1ConfigFile(record, block, text, accessors);
  }
  std::string Export() {
    std::string text;
    WriteGenA1ConfigFile(text, record, block, accessors);
    return text;
  }
  DeviceRecord record;
  ConfigBlock block;
  GenA1Accessors accessors;
};

bool HasLine(const std::string& text, const std::string& line) {
  return text.find("\r\n" + line + "\r\n") != std::string::npos;
}

TEST(GenA1Reader, AddressesAndTheAllOnesNetmask) {
  Device d;
  d.accessors.setNumber(d.block, D_CONF_ETH_IPADDR, MakeIpv4(10, 0, 0, 1));
  d.accessors.setNumber(d.block, D_CONF_ETH_GATEWAY, MakeIpv4(10, 0, 0, 254));
  d.accessors.setNumber(d.block, D_CONF_ETH_FLAG_AUTOIP, 1);
  EXPECT_EQ(d.Read("AUTOIP\t3\nIPAddress\t255.255.255.255\nNetmask\t\t255.255.255.255\n"
                   "Gateway\t\t\nDNSIP\tbogus\n"),
            0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_IPMASK), kAllOnesIpv4);
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_IPADDR), MakeIpv4(10, 0, 0, 1));
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_FLAG_AUTOIP), 1u);  // 3 is skipped
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_GATEWAY), 0u);      // empty is 0.0.0.0
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_DNSSIP), 0u);       // kept
}

TEST(GenA1Reader, AccessListIsReplacedOnlyWhenTheFileCarriesIt) {
  Device d;
  d.accessors.setNumber(d.block, D_CONF_GRANTIP_INUSED, 1);
  d.accessors.setText(d.block, D_CONF_GRANTIP_IP1, "10.0.0.5");
  d.accessors.setNumber(d.block, kGrantIpNetmask1, MakeIpv4(255, 0, 0, 0));
  d.accessors.setText(d.block, D_CONF_GRANTIP_IP2, "10.0.0.6");
  d.accessors.setNumber(d.block, kGrantIpNetmask2, MakeIpv4(255, 0, 0, 0));
  EXPECT_EQ(d.Read("Enable_AccessIp\t1\n"), 0u);
  EXPECT_EQ(d.accessors.getText(d.block, D_CONF_GRANTIP_IP1), "10.0.0.5/255.0.0.0");
  // With AccessIp lines: absent and empty entries are cleared, a bad one is kept.
  EXPECT_EQ(d.Read("AccessIp1\t\nAccessIp2\t224.0.0.1/255.0.0.0\n"
                   "AccessIp3\t192.168.127.253/255.255.255.0\n"),
            0u);
  EXPECT_EQ(d.accessors.getText(d.block, D_CONF_GRANTIP_IP1), "");
  EXPECT_EQ(d.accessors.getText(d.block, D_CONF_GRANTIP_IP2), "10.0.0.6/255.0.0.0");
  EXPECT_EQ(d.accessors.getText(d.block, D_CONF_GRANTIP_IP3), "192.168.127.253/255.255.255.0");
}

TEST(GenA1Reader, FibreUplinkModelsKeepPorts7And8) {
  Device d;
  d.record.modelId = 0x05C8;
  const std::string ports =
      "Port7_Speed\t\t3\nPort7_FDX\t\t1\nPort7_MDIFlag\t2\nPort8_Speed\t\t3\nPort6_Speed\t\t4\n"
      "Port7_Enable\t0\n";
  EXPECT_EQ(d.Read(ports), 0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, PcfgSpeed(7)), 0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, PcfgFdx(7)), 0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, PcfgFlag(7)), 0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, PcfgSpeed(8)), 0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, PcfgSpeed(6)), 4u);
  EXPECT_EQ(*d.block.ByteAt(a1::PortRecord(7)), 1);  // disabled
  Device e;
  EXPECT_EQ(e.Read(ports), 0u);
  EXPECT_EQ(e.accessors.getNumber(e.block, PcfgSpeed(7)), 3u);
  EXPECT_EQ(e.accessors.getNumber(e.block, PcfgFlag(7)), 2u);
}

TEST(GenA1Reader, VlanListsWithEmptyElementsAndOutOfRangeVids) {
  Device d;
  EXPECT_EQ(d.Read("SysVID\t1\nVLANType2\t0\nVLANPvid2\t5\nFixVid2\t5,,x7\nFrbVid2\t0,4095,12\n"
                   "VLANType4\t1\nFixVid4\t9\n"),
            0u);
  EXPECT_EQ(d.accessors.getText(d.block, D_CONF_VLAN_FIXVID2), "5,7");
  EXPECT_EQ(d.accessors.getText(d.block, D_CONF_VLAN_FRBVID2), "12");
  EXPECT_EQ(d.accessors.getText(d.block, D_CONF_VLAN_FIXVID4), "");
  EXPECT_FALSE(a8vlan::FindValidEntry(d.block.bytes(), 9).has_value());
  // Entries: 1 (management), 5 (PVID, then fixed), 7 (fixed), 12 (forbidden).
  EXPECT_EQ(*ReadU16(d.block.bytes(), a8vlan::EntryOffset(0)), 0x9001);
  EXPECT_EQ(*ReadU16(d.block.bytes(), a8vlan::EntryOffset(1)), 0x9005);
  EXPECT_EQ(*ReadU16(d.block.bytes(), a8vlan::EntryOffset(3)), 0x800C);
}

TEST(GenA1Reader, ListLinesAndPortListsBeyondEightPorts) {
  Device d;
  EXPECT_EQ(d.Read("SysVID\t23\n"
                   "IGMPSNOOP 23 1 1 5,8\nIGMPSNOOP 99 1 0 1\nIGMPSNOOP 23 1 0 9\n"
                   "MMAC 01-3F-C2-01-02-03 1,3,8\nMMAC 01-3F-C2-01-02-04 1,12\n"
                   "MMAC 01-3F-C2-01-02-03 2\nMMAC\t\nUMAC 0A-3F-C2-01-02-03 1 2\n"
                   "UMAC 0A-3F-C2-01-02-05 9 2\n"),
            0u);
  const std::string file = d.Export();
  EXPECT_NE(file.find("# begin-of-list\r\nIGMPSNOOP 23 1 1 5,8\r\n# end-of-list\r\n"),
            std::string::npos);
  EXPECT_TRUE(HasLine(file, "MMAC 01-3F-C2-01-02-03 2"));
  EXPECT_EQ(file.find("01-3F-C2-01-02-04"), std::string::npos);
  EXPECT_TRUE(HasLine(file, "UMAC 0A-3F-C2-01-02-03 1 2"));
  EXPECT_EQ(file.find("0A-3F-C2-01-02-05"), std::string::npos);
}

TEST(GenA1Reader, RingOrSpanningTreeByProtocol) {
  Device d;
  const std::string body =
      "RedundantProtol\t1\nIsMaster\t1\nZorvelRingPort1\t3\nZorvelRingPort2\t9\n"
      "HelloTime\t5sec.\nBridgeId\t4\n";
  EXPECT_EQ(d.Read(body), 0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_REDUN_MASTER), 1u);
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_REDUN_PORT1), 3u);
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_REDUN_PORT2), 0u);
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_SPAN_HELLO_TIME), 0u);
  Device e;
  EXPECT_EQ(e.Read("RedundantProtol\t0\nIsMaster\t1\nHelloTime\t5sec.\nBridgeId\t4\n"), 0u);
  EXPECT_EQ(e.accessors.getNumber(e.block, D_CONF_ETH_REDUN_MASTER), 0u);
  EXPECT_EQ(e.accessors.getNumber(e.block, D_CONF_ETH_SPAN_HELLO_TIME), 5u);
  EXPECT_EQ(*ReadU16(e.block.bytes(), 4910), 0x4000);
  Device f;
  EXPECT_EQ(f.Read("IsMaster\t1\nHelloTime\t5sec.\n"), 0u);  // no protocol: neither
  EXPECT_EQ(f.accessors.getNumber(f.block, D_CONF_ETH_REDUN_MASTER), 0u);
  EXPECT_EQ(f.accessors.getNumber(f.block, D_CONF_ETH_SPAN_HELLO_TIME), 0u);
}

TEST(GenA1Reader, ListsEveryValueItSkipsWithLineKeyAndGroup) {
  Device d;
  d.accessors.setNumber(d.block, D_CONF_ETH_DTIME_TZONE, 7);
  // Lines 1 and 2 are the header and model lines.
  const std::string text =
      "[Meshvault Server Configuration File]\nModelName\tA8\n"
      "TimeZone\t63\n"          // 3: time, out of 0..62
      "WebConfig\t1\n"          // 4: taken
      "Port3_Speed\t\t9\n"      // 5: port, out of 0..4
      "IGMPSNOOP 5000 1 1 1\n"  // 6: IGMP, VID out of 1..4094
      "AccessIp2\t10.0.0.1\n"   // 7: access list, no netmask
      "RedundantProtol\t0\n"
      "BridgeId\t20\n"   // 9: taken as given, but the field keeps 0..15
      "Port_ID7\t16\n";  // 10: spanning tree, out of 0..15
  const FileReadResult result = ReadGenA1File(d.record, d.block, text, d.accessors);
  EXPECT_EQ(result.flags, 0u);
  const std::vector<FileProblem> expected = {
      {7, "AccessIp2", validation::kAccessibleIp},
      {5, "Port3_Speed", validation::kPort},
      {3, "TimeZone", validation::kTime},
      {9, "BridgeId", validation::kCommRedundancy},
      {10, "Port_ID7", validation::kCommRedundancy},
      {6, "IGMPSNOOP", validation::kIgmpSnooping},
  };
  EXPECT_EQ(result.problems, expected);
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_DTIME_TZONE), 7u);  // kept
  EXPECT_EQ(d.accessors.getNumber(d.block, D_CONF_ETH_FLAG_WEBA8), 1u);
  // The handler slot returns the same flags.
  EXPECT_EQ(readGenA1ConfigFile(d.record, d.block, text, d.accessors), 0u);
}

TEST(GenA1Reader, RefusesAShortBlockOrOtherAccessors) {
  Device d;
  d.block.Resize(8000);
  EXPECT_EQ(d.Read("SwitchName\tx\n"), validation::kBlockRefused);
}

TEST(GenA1Writer, ConcreteLinesOfTheFile) {
  Device d;
  d.record.modelId = 0x05C8;
  auto bytes = d.block.bytes();
  WriteU16(bytes, a1::IgmpEntry(0), 0x6000 | 23);
  bytes[a1::IgmpEntry(0) + 2] = 0x90;
  WriteU16(bytes, a1::IgmpEntry(1), 0x7000);  // VID 0: not written
  bytes[a1::MulticastEntry(5)] = 1;
  bytes[a1::MulticastEntry(5) + 1] = 0x85;
  const std::uint8_t mac[6] = {0x01, 0x3F, 0xC2, 0x01, 0x02, 0x03};
  std::copy(mac, mac + 6, bytes.begin() + static_cast<std::ptrdiff_t>(a1::MulticastEntry(5) + 2));
  bytes[a1::UnicastEntry(2)] = 1;
  bytes[a1::UnicastEntry(2) + 8] = 2;
  d.accessors.setNumber(d.block, D_CONF_ETH_DTIME_TZONE, 35);
  bytes[3412 + 1] = 0x0C;    // ingress rate index 12 of port 1
  bytes[3412 + 4 + 2] = 11;  // egress rate index 11 of port 2
  TakeExportProblems();
  const std::string file = d.Export();
  EXPECT_NE(file.find("\r\nIGMPSNOOP 23 1 1 5,8\r\n# end-of-list\r\n"), std::string::npos);
  EXPECT_TRUE(HasLine(file, "MMAC 01-3F-C2-01-02-03 1,3,8"));
  EXPECT_TRUE(HasLine(file, "UMAC 00-00-00-00-00-00 1 2"));
  EXPECT_TRUE(HasLine(file, "# \t--> 35 : (GMT+03:00)Mairobi"));
  EXPECT_TRUE(HasLine(file, "TimeZone\t35"));
  EXPECT_TRUE(HasLine(file, "Port7_FDX\t\t"));
  EXPECT_TRUE(HasLine(file, "Port7_MDIFlag\t"));
  EXPECT_TRUE(HasLine(file, "Port6_FDX\t\t0"));
  EXPECT_TRUE(HasLine(file, "RLI_port1 "));
  EXPECT_TRUE(HasLine(file, "RLE_port2\t"));
  EXPECT_TRUE(HasLine(file, "RLI_port2 0 NL 0 0 0"));
  EXPECT_TRUE(HasLine(file, "Netmask\t\t"));
  EXPECT_TRUE(HasLine(file, "Port_ID8\t0"));
  const auto problems = TakeExportProblems();
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0],
            "RLI_port1: the stored value has no name and was written as an empty value.");
  EXPECT_TRUE(file.starts_with("[Meshvault Server Configuration File]\r\n"));
  EXPECT_TRUE(file.ends_with("\r\n# ----------End of File----------\r\n"));
}

}  // namespace
}  // namespace vantrell
