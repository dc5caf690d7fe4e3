#include "config/gen_m1_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_sample_block.h"
#include "config/gen_m1_writer.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;
using gen_m1::GenM1Accessors;

std::string Export(const DeviceRecord& record, ConfigBlock block) {
  GenM1Accessors accessors;
  std::string text;
  WriteGenM1ConfigFile(text, record, block, accessors);
  return text;
}

/// Replaces the whole line that starts with `key` and a TAB.
std::string WithLine(std::string text, std::string_view key, std::string_view line) {
  const std::string start = "\r\n" + std::string(key) + "\t";
  const std::size_t at = text.find(start);
  EXPECT_NE(at, std::string::npos) << key;
  if (at == std::string::npos) return text;
  const std::size_t end = text.find("\r\n", at + 2);
  return text.replace(at + 2, end - at - 2, line);
}

/// Inserts `lines` before the end marker.
std::string BeforeEnd(std::string text, std::string_view lines) {
  const std::size_t at = text.find("# ----------End of File");
  return text.insert(at, lines);
}

class GenM1ReaderTest : public ::testing::Test {
 protected:
  ValidationFlags Read(std::string_view text) {
    return ReadGenM1ConfigFile(record_, block_, text, accessors_);
  }
  std::uint32_t Number(ConfigItemId id, std::size_t n = 0) {
    return accessors_.getNumber(block_, id, n).value_or(0xDEADBEEF);
  }

  DeviceRecord record_ = gen_m1::SampleRecord();
  ConfigBlock block_ = gen_m1::SampleBlock();
  GenM1Accessors accessors_;
  std::string file_ = Export(record_, block_);
};

TEST_F(GenM1ReaderTest, OwnExportIsAcceptedAndChangesNothingItCarries) {
  const ConfigBlock before = block_;
  EXPECT_EQ(Read(file_), 0u);
  EXPECT_EQ(Export(record_, block_), file_);
  EXPECT_EQ(Number(kM1StpCost, 2), 200000u);
  EXPECT_EQ(Number(kM1StpCost, 4), 20004u);
  (void)before;
}

TEST_F(GenM1ReaderTest, HeaderAndModelLine) {
  EXPECT_EQ(Read("[Meshvault Server Configuration File}\r\n" + file_.substr(file_.find('\n') + 1)),
            0u);  // the last character is not compared
  EXPECT_EQ(Read(" " + file_), validation::kWrongFirstLine);
  EXPECT_EQ(Read("[Other file]\r\n" + file_), validation::kWrongFirstLine);
  EXPECT_EQ(Read(WithLine(file_, "ModelName", "ModelName\tORV-M2")), validation::kWrongModelLine);
  EXPECT_EQ(Read(WithLine(file_, "ModelName", "ModelName\tORV-M26-XT")), 0u);
  ConfigBlock shortBlock(100);
  EXPECT_EQ(ReadGenM1ConfigFile(record_, shortBlock, file_, accessors_), validation::kBlockRefused);
}

TEST_F(GenM1ReaderTest, SettingsOutsideModelLineAndEndMarkerAreIgnored) {
  std::string text = file_;
  text.insert(text.find("# Model Name"), "SwitchName\tEarly\r\nQUERY_PERIOD\t1\r\n");
  text += "SwitchName\tLate\r\nQUERY_PERIOD\t5\r\n";
  EXPECT_EQ(Read(text), 0u);
  EXPECT_EQ(accessors_.getText(block_, D_CONF_ETH_NAMEA8), "Line 4 backbone");
  EXPECT_EQ(Number(kM1QueryPeriod), 125u);
}

TEST_F(GenM1ReaderTest, LaterLinesWinAndFinalLineWithoutBreakIsSkipped) {
  std::string text = BeforeEnd(file_, "TimeZone\t40\r\nTimeZone\t41\r\n");
  EXPECT_EQ(Read(text), 0u);
  EXPECT_EQ(Number(D_CONF_ETH_DTIME_TZONE), 41u);
  // Without the end marker, a final line lacking its line break is not read.
  std::string cut = file_.substr(0, file_.find("\r\n# ----------End"));
  cut += "\r\nTimeZone\t7";
  EXPECT_EQ(Read(cut), 0u);
  EXPECT_EQ(Number(D_CONF_ETH_DTIME_TZONE), 23u);  // the file's own line, not 7
}

TEST_F(GenM1ReaderTest, SpanningTreeTimesCrossCheck) {
  std::string text = WithLine(file_, "MaxAge", "MaxAge\t6(sec.)");
  EXPECT_EQ(Read(WithLine(text, "HelloTime", "HelloTime\t2")), 0u);
  EXPECT_EQ(Number(D_CONF_ETH_SPAN_MAX_AGE), 6u);
  EXPECT_EQ(Read(WithLine(text, "HelloTime", "HelloTime\t3")), validation::kCommRedundancy);
  EXPECT_EQ(Read(WithLine(file_, "MaxAge", "MaxAge\t41")), validation::kCommRedundancy);
}

TEST_F(GenM1ReaderTest, SpanningTreeKeysOnlyWhileProtocolIsZero) {
  std::string text = WithLine(file_, "RedundantProtol", "RedundantProtol\t1");
  text = WithLine(text, "BridgeId", "BridgeId\t3");
  text = WithLine(text, "STP_Cost_1-1", "STP_Cost_1-1\t999999999");  // out of range, not read
  EXPECT_EQ(Read(text), 0u);
  EXPECT_EQ(Number(kM1BridgeId), 0x7000u);
  EXPECT_EQ(Number(D_CONF_ETH_REDUN_PROTOCOL), 1u);
  EXPECT_EQ(Read(WithLine(file_, "BridgeId", "BridgeId\t3")), 0u);
  EXPECT_EQ(Number(kM1BridgeId), 3u * 4096);
}

TEST_F(GenM1ReaderTest, VidListBeforeTypeLineFails) {
  // Port 1-1 (index 0) is a VLAN trunk port; a list read before its type
  // line finds the port still counted as an access port.
  std::string text = BeforeEnd(file_, "");
  text.insert(text.find("\r\n# [Management VLAN]"), "\r\nFixVid_1-1\t\t\t7,");
  EXPECT_EQ(Read(text), validation::kVlan);
  std::string after = BeforeEnd(file_, "FixVid_1-1\t7,\r\n");
  EXPECT_EQ(Read(after), 0u);
  // A list adds memberships to those of the earlier line.
  EXPECT_EQ(accessors_.getText(block_, kM1FixVid, 0), "7,100,200,300,");
  // Access port 1-2 may not carry a list; 4095 and the PVID are refused.
  EXPECT_EQ(Read(BeforeEnd(file_, "FixVid_1-2\t7\r\n")), validation::kVlan);
  EXPECT_EQ(Read(BeforeEnd(file_, "FixVid_1-1\t4095\r\n")), validation::kVlan);
  EXPECT_EQ(Read(BeforeEnd(file_, "FixVid_1-1\t1\r\n")), validation::kVlan);
  EXPECT_EQ(Read(BeforeEnd(file_, "FixVid_1-1\t999\r\n")), validation::kVlan);
}

TEST_F(GenM1ReaderTest, PortEventsAreZeroXAndDecimal) {
  EXPECT_EQ(Read(WithLine(file_, "EW_PortEvents_1-1", "EW_PortEvents_1-1\t0x7")), 0u);
  EXPECT_EQ(Number(kM1EwPortEvents, 0), 7u);
  EXPECT_EQ(Read(WithLine(file_, "EW_PortEvents_1-1", "EW_PortEvents_1-1\t0x8")),
            validation::kEmailWarning);
  EXPECT_EQ(Read(WithLine(file_, "EW_PortEvents_1-1", "EW_PortEvents_1-1\t7")),
            validation::kEmailWarning);
  EXPECT_EQ(Read(WithLine(file_, "EW_SystemEvents", "EW_SystemEvents\t0x10000")), 0u);
  EXPECT_EQ(Number(D_CONF_ETH_WARN_SFLAGA8), 0x10000u);
  EXPECT_EQ(Read(WithLine(file_, "EW_SystemEvents", "EW_SystemEvents\t0x10001")),
            validation::kEmailWarning);
}

TEST_F(GenM1ReaderTest, TrunkMembersGetFixedValues) {
  std::string text = WithLine(file_, "STP_Cost_1-3", "STP_Cost_1-3\t5000");
  text = WithLine(text, "VLANPvid_1-3", "VLANPvid_1-3\t77");
  text = WithLine(text, "DeviceIP_1-3", "DeviceIP_1-3\t10.9.9.9");
  text = WithLine(text, "STP_Cost_1-1", "STP_Cost_1-1\t5000");
  EXPECT_EQ(Read(text), 0u);
  EXPECT_EQ(Number(kM1StpCost, 2), 200000u);
  EXPECT_EQ(Number(kM1VlanPvid, 2), 1u);
  EXPECT_EQ(Number(kM1DeviceIp, 2), 0u);
  EXPECT_EQ(Number(kM1StpCost, 0), 5000u);
  EXPECT_EQ(Number(kM1StpId, 2), 128u);
}

TEST_F(GenM1ReaderTest, PassOneTrunkRules) {
  // A single member of a type is refused; so is a group of module and gigabit ports.
  EXPECT_EQ(Read(WithLine(file_, "Port_1-4_TrunkType", "Port_1-4_TrunkType\t0")),
            validation::kPortTrunking);
  EXPECT_EQ(Read(WithLine(file_, "Port_G-1_TrunkGroup", "Port_G-1_TrunkGroup\t1")),
            validation::kPortTrunking);
  EXPECT_EQ(Read(WithLine(file_, "Port_1-1_TrunkGroup", "Port_1-1_TrunkGroup\t5")),
            validation::kPortTrunking);
  // Ports the device cannot trunk are reset, whatever the file says.
  record_.trunkPortMask = 0x03FFFFFF & ~(1u << 2) & ~(1u << 3);
  EXPECT_EQ(Read(file_), validation::kMirror);  // Trk1 lost its members: MonitoredPort Trk1
  EXPECT_EQ(Number(kM1PortTrunkGroup, 2), 0u);
}

TEST_F(GenM1ReaderTest, DevicesOwnRingPortMustStayUsableUnderTheFilesTrunks) {
  // The device's ring ports are 5-1 and 5-2; the file leaves the ring,
  // coupling and control ports as the device has them.
  accessors_.setNumber(block_, D_CONF_ETH_REDUN_PORT1, 17);
  accessors_.setNumber(block_, D_CONF_ETH_REDUN_PORT2, 18);
  std::string text = file_;
  for (const char* key : {"ZorvelRingPort1", "ZorvelRingPort2", "CouplingPort", "ControlPort"}) {
    text = WithLine(text, key, "# no value");
  }
  const ConfigBlock device = block_;
  EXPECT_EQ(Read(text), 0u);
  EXPECT_EQ(Number(D_CONF_ETH_REDUN_PORT1), 17u);
  // A device that cannot trunk 5-1 cannot have it as a ring port either: the
  // export of such a block would not be taken back.
  record_.trunkPortMask = 0x0300FFFF;
  block_ = device;
  EXPECT_EQ(Read(text), validation::kCommRedundancy);
  EXPECT_EQ(Read(WithLine(file_, "ZorvelRingPort1", "ZorvelRingPort1\t5-1")),
            validation::kCommRedundancy);
  // The file puts the ring ports into a trunk group.
  record_ = gen_m1::SampleRecord();
  for (const char* port : {"5-1", "5-2"}) {
    const std::string key = std::string("Port_") + port + "_Trunk";
    text = WithLine(text, key + "Group", key + "Group\t4");
    text = WithLine(text, key + "Type", key + "Type\t0");
  }
  block_ = device;
  EXPECT_EQ(Read(text), validation::kCommRedundancy);
  // Ring ports that stay usable are accepted, and the export comes back.
  block_ = device;
  accessors_.setNumber(block_, D_CONF_ETH_REDUN_PORT1, 19);  // 5-3
  accessors_.setNumber(block_, D_CONF_ETH_REDUN_PORT2, 20);  // 5-4
  ASSERT_EQ(Read(text), 0u);
  const std::string exported = Export(record_, block_);
  EXPECT_EQ(Read(exported), 0u);
  EXPECT_EQ(Export(record_, block_), exported);
}

TEST_F(GenM1ReaderTest, ValuesThatDoNotFitAreRefused) {
  EXPECT_EQ(Read(WithLine(file_, "RW_TrafDuration_1-1", "RW_TrafDuration_1-1\t300 sec")), 0u);
  EXPECT_EQ(Number(kM1RwTrafDuration, 0), 300u);
  EXPECT_EQ(Read(WithLine(file_, "RW_TrafDuration_1-1", "RW_TrafDuration_1-1\t301 sec")),
            validation::kRelayAlarm);
  EXPECT_EQ(Read(WithLine(file_, "RW_TrafDuration_1-1", "RW_TrafDuration_1-1\t256 sec")), 0u);
  EXPECT_EQ(Number(kM1RwTrafDuration, 0), 256u);
  EXPECT_EQ(Read(WithLine(file_, "Dot1x_ReAuthPeriod", "Dot1x_ReAuthPeriod\t65536")),
            validation::kDot1x);
  EXPECT_EQ(Read(WithLine(file_, "Dot1x_ReAuthPeriod", "Dot1x_ReAuthPeriod\t59")),
            validation::kDot1x);
  EXPECT_EQ(Read(WithLine(file_, "Dot1x_ReAuthPeriod", "Dot1x_ReAuthPeriod\t65535")), 0u);
  EXPECT_EQ(Number(kM1Dot1xReAuthPeriod), 65535u);
}

TEST_F(GenM1ReaderTest, TrunkEntryKeysCannotReachOtherRecords) {
  const ConfigBlock before = block_;
  ASSERT_EQ(Read(BeforeEnd(file_, "Dot1x_EN_Trk1\t1\r\nRLI_SET_Trk4\t9\r\n")), 0u);
  const auto user0 = block_.bytes().subspan(gen_m1::kDot1xUsers, gen_m1::kDot1xUserSize);
  const auto was = before.bytes().subspan(gen_m1::kDot1xUsers, gen_m1::kDot1xUserSize);
  EXPECT_TRUE(std::equal(user0.begin(), user0.end(), was.begin()));
  EXPECT_EQ(block_.ByteAt(21008), before.ByteAt(21008));
}

TEST_F(GenM1ReaderTest, GroupMessagesOfSingleRules) {
  const struct {
    std::string_view key;
    std::string_view line;
    ValidationFlags flag;
  } cases[] = {
      {"SwitchName", "SwitchName\t0123456789012345678901234567890", validation::kSystem},
      {"AdminPassword", "AdminPassword\t01234567890123456", validation::kPasswords},
      {"CF_Firm_En", "CF_Firm_En\t2", validation::kCf},
      {"Port_1-1_Speed", "Port_1-1_Speed\t7", validation::kPort},
      {"Netmask", "Netmask\t255.255.255.255", validation::kNetwork},
      {"IPAddress", "IPAddress\t224.0.0.1", validation::kNetwork},
      {"Gateway", "Gateway\t1.2.3", validation::kNetwork},
      {"TimeZone", "TimeZone\t63", validation::kTime},
      {"QUERY_PERIOD", "QUERY_PERIOD\t19", validation::kIgmpSnooping},
      {"MFBMODE_1-1", "MFBMODE_1-1\t0", validation::kGmrp},
      {"RLI_SET_1-1", "RLI_SET_1-1\t10", validation::kBandwidthManagement},
      {"ZorvelRingPort1", "ZorvelRingPort1\t1-3", validation::kCommRedundancy},
      {"ZorvelRingPort1", "ZorvelRingPort1\tTrk3", validation::kCommRedundancy},
      {"MirrorPort", "MirrorPort\tTrk2", validation::kMirror},
      {"SNMPVERSION", "SNMPVERSION\t3", validation::kSnmp},
      {"ToSMap_63", "ToSMap_63\t8", validation::kQos},
      {"DeviceIP_1-1", "DeviceIP_1-1\t0.0.0.0", validation::kSetDeviceIp},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(WithLine(file_, c.key, c.line)), c.flag) << c.line;
  }
  // Either case of the leading letter names a port in a value.
  EXPECT_EQ(Read(WithLine(file_, "ZorvelRingPort1", "ZorvelRingPort1\tg-1")),
            validation::kCommRedundancy);  // G-1 is a trunk member
  EXPECT_EQ(Read(WithLine(file_, "MirrorPort", "MirrorPort\tg-2")), validation::kMirror);
  EXPECT_EQ(Read(WithLine(file_, "ZorvelRingPort1", "ZorvelRingPort1\ttrk2")), 0u);
  EXPECT_EQ(Number(D_CONF_ETH_REDUN_PORT1), 28u);
}

TEST_F(GenM1ReaderTest, ListsAndCrossChecks) {
  std::string text = BeforeEnd(file_,
                               "IGMPSNOOP\t23\t1\t1\t2-1,2-4\r\n"
                               "MMAC 01-00-5E-7F-00-00 6-4\r\n"
                               "UMAC 0A-3F-C2-01-00-09 g-2\r\n");
  EXPECT_EQ(Read(text), validation::kStaticUnicast);  // G-2 is a trunk member
  text = BeforeEnd(file_,
                   "IGMPSNOOP\t23\t1\t1\t2-1,2-4\r\n"
                   "MMAC 01-00-5E-7F-00-00 6-4\r\n");
  ASSERT_EQ(Read(text), 0u);
  const std::string exported = Export(record_, block_);
  EXPECT_NE(exported.find("IGMPSNOOP\t23\t1\t1\t2-1,2-4\r\n"), std::string::npos);
  EXPECT_NE(exported.find("MMAC 01-00-5E-7F-00-00 6-4\r\n"), std::string::npos);
  EXPECT_EQ(Read(BeforeEnd(file_, "MMAC 00-00-5E-7F-00-00 6-4\r\n")), validation::kStaticMulticast);
  EXPECT_EQ(Read(BeforeEnd(file_, "AccessIp_4\t10.0.0.1/0.0.0.0\r\n")), validation::kAccessibleIp);
  // Cross-checks.
  EXPECT_EQ(Read(WithLine(file_, "RW_DI1_F2N", "RW_DI1_F2N\t1")), validation::kRelayAlarm);
  EXPECT_EQ(Read(WithLine(file_, "CouplingPort", "CouplingPort\t4-1")),
            validation::kCommRedundancy);
  EXPECT_EQ(Read(WithLine(file_, "UserPassword", "UserPassword\t\tuser pass")), validation::kSnmp);
  EXPECT_EQ(Read(WithLine(file_, "Netmask", "Netmask")), validation::kNetwork);
  EXPECT_EQ(Read(WithLine(WithLine(file_, "Netmask", "Netmask"), "AUTOIP", "AUTOIP\t1")), 0u);
  // Trk2 (G-1, G-2) spans ToS groups 4 and 5, which must agree.
  EXPECT_EQ(Read(WithLine(file_, "InspectTosPortGroup_5", "InspectTosPortGroup_5\t0")),
            validation::kQos);
}

TEST_F(GenM1ReaderTest, DeviceWithoutAddressTakesItsOwnFile) {
  accessors_.setNumber(block_, kIpConfigMode, 1);  // DHCP
  accessors_.setNumber(block_, D_CONF_ETH_IPADDR, 0);
  const std::string file = Export(record_, block_);
  EXPECT_NE(file.find("\r\nIPAddress\t\t\r\n\r\n"), std::string::npos);
  accessors_.setNumber(block_, D_CONF_ETH_IPADDR, MakeIpv4(10, 0, 0, 9));
  EXPECT_EQ(Read(file), 0u);
  EXPECT_EQ(Number(D_CONF_ETH_IPADDR), 0u);
  EXPECT_EQ(Read(WithLine(file, "IPAddress", "IPAddress\t\t0.0.0.0")), validation::kNetwork);
}

/// The 1-based line of the line that starts with `key` and a TAB.
int LineOf(std::string_view text, std::string_view key) {
  const std::size_t at = text.find("\r\n" + std::string(key) + "\t");
  EXPECT_NE(at, std::string_view::npos) << key;
  return static_cast<int>(
             std::count(text.begin(), text.begin() + static_cast<long>(at) + 2, '\n')) +
         1;
}

class GenM1ProblemListTest : public GenM1ReaderTest {
 protected:
  FileReadResult ReadAll(std::string_view text) {
    return ReadGenM1ConfigFileWithProblems(record_, block_, text, accessors_);
  }
};

TEST_F(GenM1ProblemListTest, EveryBadValueIsListedWhileTheFlagsKeepTheFirst) {
  std::string text = WithLine(file_, "SwitchName", "SwitchName\t0123456789012345678901234567890");
  text = WithLine(text, "TimeZone", "TimeZone\t63");
  text = WithLine(text, "MFBMODE_1-1", "MFBMODE_1-1\t0");
  const FileReadResult result = ReadAll(text);
  EXPECT_EQ(result.flags, validation::kSystem);
  EXPECT_EQ(result.problems, (std::vector<FileProblem>{
                                 {LineOf(text, "SwitchName"), "SwitchName", validation::kSystem},
                                 {LineOf(text, "TimeZone"), "TimeZone", validation::kTime},
                                 {LineOf(text, "MFBMODE_1-1"), "MFBMODE_1-1", validation::kGmrp}}));
  EXPECT_EQ(LineOf(text, "SwitchName"), 10);
  block_ = gen_m1::SampleBlock();
  EXPECT_EQ(Read(text), validation::kSystem);
}

TEST_F(GenM1ProblemListTest, TheBlockKeepsWhatItHeldAtTheFirstProblem) {
  // Lines after the first problem are still checked, but stored elsewhere.
  std::string text = WithLine(file_, "SwitchName", "SwitchName\tRenamed");  // before: stored
  text = WithLine(text, "Contact", "Contact\t0123456789012345678901234567890");
  text = WithLine(text, "TimeZone", "TimeZone\t41");
  text = WithLine(text, "QUERY_PERIOD", "QUERY_PERIOD\t5");
  const ConfigBlock device = block_;
  const FileReadResult result = ReadAll(text);
  EXPECT_EQ(result.flags, validation::kSystem);
  ASSERT_EQ(result.problems.size(), 2u);
  EXPECT_EQ(result.problems[0].key, "Contact");
  EXPECT_EQ(result.problems[1].key, "QUERY_PERIOD");
  EXPECT_EQ(accessors_.getText(block_, D_CONF_ETH_NAMEA8), "Renamed");
  EXPECT_EQ(Number(D_CONF_ETH_DTIME_TZONE), 23u);
  EXPECT_EQ(Number(kM1QueryPeriod), accessors_.getNumber(device, kM1QueryPeriod));
}

TEST_F(GenM1ProblemListTest, PassesAccessEntriesAndCrossChecks) {
  // A trunk pass problem, then second pass problems; a bad access entry
  // never ended the reading and gives the flags only without them.
  std::string text = WithLine(file_, "Port_1-1_TrunkGroup", "Port_1-1_TrunkGroup\t5");
  text = WithLine(text, "AccessIp_4", "AccessIp_4\t10.0.0.1/0.0.0.0");
  text = WithLine(text, "CF_Firm_En", "CF_Firm_En\t2");
  FileReadResult result = ReadAll(text);
  EXPECT_EQ(result.flags, validation::kPortTrunking);
  EXPECT_EQ(result.problems,
            (std::vector<FileProblem>{
                {LineOf(text, "CF_Firm_En"), "CF_Firm_En", validation::kCf},
                {LineOf(text, "AccessIp_4"), "AccessIp_4", validation::kAccessibleIp},
                {LineOf(text, "Port_1-1_TrunkGroup"), "Port_1-1_TrunkGroup",
                 validation::kPortTrunking}}));
  text = WithLine(file_, "AccessIp_4", "AccessIp_4\t10.0.0.1/0.0.0.0");
  text = WithLine(text, "SysVID", "SysVID\t0");
  EXPECT_EQ(ReadAll(text).flags, validation::kVlan);
  // Cross-checks are tied to no line and name the setting they blame.
  block_ = gen_m1::SampleBlock();
  text = WithLine(file_, "Netmask", "Netmask");
  text = WithLine(text, "RW_DI1_F2N", "RW_DI1_F2N\t1");
  text = WithLine(text, "InspectTosPortGroup_5", "InspectTosPortGroup_5\t0");
  result = ReadAll(text);
  EXPECT_EQ(result.flags, validation::kNetwork);
  EXPECT_EQ(result.problems,
            (std::vector<FileProblem>{{0, "Netmask", validation::kNetwork},
                                      {0, "RW_DI1_F2N", validation::kRelayAlarm},
                                      {0, "InspectTosPortGroup_5", validation::kQos}}));
  // A trunk group that breaks the member rules names its first member.
  block_ = gen_m1::SampleBlock();
  result = ReadAll(WithLine(file_, "Port_1-4_TrunkType", "Port_1-4_TrunkType\t0"));
  EXPECT_EQ(result.problems,
            (std::vector<FileProblem>{{0, "Port_1-3_TrunkGroup", validation::kPortTrunking}}));
}

TEST_F(GenM1ProblemListTest, AWrongFileEndsTheReadingAndLongLinesKeepTheCount) {
  std::string text = WithLine(file_, "ModelName", "ModelName\tORV-M2");
  text = WithLine(text, "TimeZone", "TimeZone\t63");
  EXPECT_EQ(ReadAll(text).problems,
            (std::vector<FileProblem>{{3, "ModelName", validation::kWrongModelLine}}));
  EXPECT_EQ(ReadAll("[Other file]\r\n" + file_).problems,
            (std::vector<FileProblem>{{1, "", validation::kWrongFirstLine}}));
  // A line longer than the 512-byte buffer is read in pieces but counts once.
  text = file_;
  text.insert(text.find("\r\n# [TimeZone]") + 2, "# " + std::string(1500, 'x') + "\r\n");
  text = WithLine(text, "TimeZone", "TimeZone\t63");
  const FileReadResult result = ReadAll(text);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].line, LineOf(text, "TimeZone"));
  EXPECT_EQ(result.flags, validation::kTime);
}

TEST(GenM1TrunkMemberMask, EntriesWithMembersAndPortsThatCannotTrunk) {
  std::uint8_t groups[26] = {};
  groups[4] = 3;
  groups[5] = 3;
  const std::uint32_t mask = gen_m1::TrunkMemberMask(groups, 0x03FFFFFF & ~(1u << 25));
  EXPECT_EQ(mask, (1u << 4) | (1u << 5) | (1u << 25) | (1u << 26) | (1u << 27) | (1u << 29));
}

TEST(GenM1AddressTest, Syntax) {
  EXPECT_EQ(gen_m1::TestedAddress(""), 0u);
  EXPECT_EQ(gen_m1::TestedAddress("10.1.2.3"), MakeIpv4(10, 1, 2, 3));
  // The strict syntax, but the value as inet_addr reads it: 010 is octal.
  EXPECT_EQ(gen_m1::TestedAddress("010.1.2.3"), MakeIpv4(8, 1, 2, 3));
  EXPECT_FALSE(gen_m1::TestedAddress("10.1.2"));
  EXPECT_FALSE(gen_m1::TestedAddress("10.1.2.256"));
  EXPECT_FALSE(gen_m1::TestedAddress("10.1.2.3.4"));
  EXPECT_FALSE(gen_m1::TestedAddress("0x0A.1.2.3"));
  EXPECT_FALSE(gen_m1::TestedAddress("239.1.1.1"));
  EXPECT_FALSE(gen_m1::TestedAddress("0.0.0.0"));
}

}  // namespace
}  // namespace vantrell
