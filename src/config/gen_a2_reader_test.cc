#include "config/gen_a2_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "config/config_item_ids.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a2_sample.h"
#include "config/gen_a2_writer.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;
using namespace validation;

/// A valid exported file of the sample block, edited line by line.
class GenA2ReaderTest : public ::testing::Test {
 protected:
  GenA2ReaderTest() {
    record_.modelId = 0x0508;
    SetFieldText(record_.password, "adminpass");
    SetFieldText(record_.smtpPassword, "mailpw");
    ConfigBlock source = MakeGenA2SampleBlock();
    WriteGenA2ConfigFile(file_, record_, source, a_);
  }

  /// Replaces the value of the first line carrying `key`.
  void Set(std::string_view key, std::string_view value) {
    const std::string needle = "\r\n" + std::string(key) + "\t";
    const std::size_t at = file_.find(needle);
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t end = file_.find("\r\n", at + 2);
    file_.replace(at + 2, end - at - 2, std::string(key) + "\t" + std::string(value));
  }
  void Append(std::string_view line) { file_ += std::string(line) + "\r\n"; }
  /// The 1-based line of the first line carrying `key`.
  int LineOf(std::string_view key) const {
    const std::size_t at = file_.find("\r\n" + std::string(key) + "\t");
    int line = 2;
    for (std::size_t i = file_.find("\r\n"); i < at; i = file_.find("\r\n", i + 2)) ++line;
    return line;
  }

  ValidationFlags Read() { return ReadGenA2File(record_, block_, file_, a_).flags; }

  DeviceRecord record_{};
  std::string file_;
  ConfigBlock block_ = MakeGenA2SampleBlock({1, false, false});
  GenA2Accessors a_;
};

TEST_F(GenA2ReaderTest, TheUneditedExportIsAccepted) { EXPECT_EQ(Read(), 0u); }

struct GroupCase {
  const char* key;
  const char* value;
  ValidationFlags group;
};

TEST_F(GenA2ReaderTest, EachGroupRejectsOneBadValueWithItsMessage) {
  const GroupCase cases[] = {
      {"SwitchName", "0123456789012345678901234567890", kSystem},
      {"UserPassword", "0123456789abcdefg", kPasswords},
      {"AccessIp1", "224.0.0.1/255.255.255.0", kAccessibleIp},
      {"Port1_Speed", "5", kPort},
      {"Netmask", "255.255.255.255", kNetwork},
      {"TimeZone", "63", kTime},
      {"Port1_SetToTrunk", "5", kPortTrunking},
      {"MaxAge", "41", kCommRedundancy},
      {"SNMPVERSION", "3", kSnmp},
      {"CosMap2", "9", kQos},
      {"SysVID", "0", kVlan},
      {"QUERY_PERIOD", "19", kVlan},
      {"RLE_port1", "16M", kRateLimiting},
      {"LockPort1", "2", kPortLock},
      {"SystemEvents", "10001", kEmailWarning},
      {"Traffic_Duration_1", "0", kRelayAlarm},
      {"FASTRECOVERY", "2", kLineSwap},
      {"Device1_IP", "0.0.0.0", kSetDeviceIp},
      {"WatchDirection", "0", kMirror},
  };
  const std::string valid = file_;
  for (const GroupCase& c : cases) {
    SCOPED_TRACE(c.key);
    file_ = valid;
    block_ = MakeGenA2SampleBlock({1, false, false});
    Set(c.key, c.value);
    const ValidationFlags flags = Read();
    EXPECT_EQ(flags, c.group);
    if (c.group != kPasswords) {
      const auto message = showValidationMessage(flags);
      ASSERT_TRUE(message);
      EXPECT_EQ(message->bit, c.group);
    }
  }
}

TEST_F(GenA2ReaderTest, ListEntriesRejectedByTheirGroups) {
  const std::string valid = file_;
  const std::pair<const char*, ValidationFlags> lines[] = {
      {"IGMPSNOOP\t999\t1\t1\t", kIgmpSnooping},       // no VLAN entry holds 999
      {"IGMPSNOOP\t---\t1\t1\t", kIgmpSnooping},       // no trunk in use
      {"IGMPSNOOP\t1\t1\t1\t13", kIgmpSnooping},       // port 13
      {"MMAC 00-3F-C2-01-02-03 1", kStaticMulticast},  // unicast MAC
      {"UMAC 01-3F-C2-01-02-03 1 1", kStaticUnicast},  // multicast MAC
      {"UMAC 00-3F-C2-01-02-03 9 1", kStaticUnicast},  // port 9
  };
  for (const auto& [line, group] : lines) {
    SCOPED_TRACE(line);
    file_ = valid;
    block_ = MakeGenA2SampleBlock({1, false, false});
    file_.insert(0, std::string(line) + "\r\n");
    EXPECT_EQ(Read(), group);
  }
  // Silently skipped: a MAC that is not 17 characters, an entry without ports.
  file_ = valid;
  file_.insert(0, "MMAC 01-3F-C2-01-02 1\r\nMMAC 01-3F-C2-01-02-03\r\n");
  EXPECT_EQ(Read(), 0u);
}

TEST_F(GenA2ReaderTest, AnIgmpLineLeavesOneEntryForItsVlan) {
  // A stale entry of VLAN 1 in the last slot: the line for VLAN 1 goes to the
  // slot of its VLAN entry, and the stale one no longer comes back as a
  // second line of the next export.
  const std::size_t last = gen_a2::kIgmpEntries - 1;
  ASSERT_TRUE(gen_a2::PutIgmpEntry(block_.bytes(), last, {1, true, false, 0x3}));
  file_.insert(0, "IGMPSNOOP\t1\t1\t1\t2\r\n");
  ASSERT_EQ(Read(), 0u);
  const auto vlanEntry = a8vlan::FindValidEntry(block_.bytes(), 1);
  ASSERT_TRUE(vlanEntry);
  ASSERT_NE(*vlanEntry, last);
  int entriesOfVlan1 = 0;
  for (std::size_t n = 0; n < gen_a2::kIgmpEntries; ++n) {
    const auto entry = gen_a2::ReadIgmpEntry(block_.bytes(), n);
    if (entry && entry->vid == 1) ++entriesOfVlan1;
  }
  EXPECT_EQ(entriesOfVlan1, 1);
  const auto kept = gen_a2::ReadIgmpEntry(block_.bytes(), *vlanEntry);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->vid, 1u);
}

TEST_F(GenA2ReaderTest, TheFirstFailureWins) {
  Set("IPAddress", "1.2.3");
  Set("SwitchName", "0123456789012345678901234567890");
  EXPECT_EQ(Read(), kSystem);
}

TEST_F(GenA2ReaderTest, ListsEveryProblemWhileTheFlagsAndTheBlockKeepTheFirst) {
  const std::uint32_t periodBefore = a_.getNumber(block_, D_CONF_ETH_DTIME_PERIOD).value();
  ASSERT_NE(periodBefore, 77u);
  Set("SwitchName", "0123456789012345678901234567890");  // 31 characters
  Set("QueryTimePeriod", "77");                          // good, but after the first problem
  Set("LockPort3", "2");
  Set("Traffic_Threshold_3", "101%");
  const GenA2ReadResult result = ReadGenA2File(record_, block_, file_, a_);
  EXPECT_EQ(result.flags, kSystem);
  const std::vector<FileProblem> expected = {
      {LineOf("SwitchName"), "SwitchName", kSystem},
      {LineOf("LockPort3"), "LockPort3", kPortLock},
      {LineOf("Traffic_Threshold_3"), "Traffic_Threshold_3", kRelayAlarm},
  };
  EXPECT_EQ(result.problems, expected);
  EXPECT_GT(expected[0].line, 3);
  // Nothing is stored after the first problem, and only a first threshold
  // problem leaves its text for the operator.
  EXPECT_EQ(a_.getNumber(block_, D_CONF_ETH_DTIME_PERIOD), periodBefore);
  EXPECT_FALSE(result.notice.has_value());
  EXPECT_EQ(readGenA2ConfigFile(record_, block_, file_, a_), kSystem);
}

TEST_F(GenA2ReaderTest, ValuesBeforeTheFirstProblemAreStoredInTheReadersOwnOrder) {
  // A port is read enable, MDI flag, FDX, speed (the file shows speed first).
  const std::uint32_t speedBefore = a_.getNumber(block_, PcfgSpeed(1)).value();
  const std::uint32_t mdi = (a_.getNumber(block_, PcfgFlag(1)).value() + 1) % 3;
  ASSERT_NE(speedBefore, 3u);
  Set("Port1_Speed", "3");
  Set("Port1_MDIFlag", std::to_string(mdi));
  Set("Port1_FDX", "2");
  EXPECT_EQ(Read(), kPort);
  EXPECT_EQ(a_.getNumber(block_, PcfgFlag(1)), mdi);
  EXPECT_EQ(a_.getNumber(block_, PcfgSpeed(1)), speedBefore);
}

TEST_F(GenA2ReaderTest, ACrossCheckProblemNamesItsSettingWithoutALine) {
  Set("AUTOIP", "0");
  Set("IPAddress", "");
  const GenA2ReadResult result = ReadGenA2File(record_, block_, file_, a_);
  EXPECT_EQ(result.flags, kNetwork);
  EXPECT_EQ(result.problems, (std::vector<FileProblem>{{0, "IPAddress", kNetwork}}));
}

TEST_F(GenA2ReaderTest, CosMap3OutOfRangeIsSkippedWhileCosMap2Fails) {
  const std::uint32_t before = a_.getNumber(block_, D_CONF_COSMAP3).value();
  Set("CosMap3", "9");
  EXPECT_EQ(Read(), 0u);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_COSMAP3), before);
  Set("CosMap2", "9");
  EXPECT_EQ(Read(), kQos);
}

TEST_F(GenA2ReaderTest, RejectedRelayThresholdLeavesItsTextForTheOperator) {
  Set("Traffic_Threshold_3", "101%");
  EXPECT_EQ(readGenA2ConfigFile(record_, block_, file_, a_), kRelayAlarm);
  EXPECT_EQ(TakeGenA2ReaderNotice(a_), "101%");
  EXPECT_FALSE(TakeGenA2ReaderNotice(a_).has_value());
  // Other relay failures carry no notice.
  Set("Traffic_Threshold_3", "50%");
  Set("PortTraf_2", "3");
  EXPECT_EQ(readGenA2ConfigFile(record_, block_, file_, a_), kRelayAlarm);
  EXPECT_FALSE(TakeGenA2ReaderNotice(a_).has_value());
}

TEST_F(GenA2ReaderTest, FixedUplinkPortsOfOtherModels) {
  record_.modelId = 0x0518;
  Set("Port7_Speed", "1");
  Set("Port8_Speed", "1");
  Set("Port7_FDX", "0");
  Set("Port8_FDX", "0");
  Set("Port7_MDIFlag", "9");  // ignored on these models
  EXPECT_EQ(Read(), 0u);
  Set("Port8_Speed", "0");
  EXPECT_EQ(Read(), kPort);
}

TEST_F(GenA2ReaderTest, AFixedUplinkModelTakesBackItsOwnExport) {
  // The device holds settings other than the fixed ones on port 7: its own
  // file carries them back unchanged, while other values still fail.
  record_.modelId = 0x0518;
  ASSERT_EQ(a_.setNumber(block_, D_CONF_ETH_PCFG_SPEED7, 0), ItemStatus::kOk);
  file_.clear();
  ConfigBlock exported = block_;
  WriteGenA2ConfigFile(file_, record_, exported, a_);
  EXPECT_EQ(Read(), 0u);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_ETH_PCFG_SPEED7), 0u);
  Set("Port7_Speed", "2");
  EXPECT_EQ(Read(), kPort);
}

TEST_F(GenA2ReaderTest, AddressesAndEmptyValues) {
  EXPECT_EQ(GenA2AddressValue(""), 0u);
  EXPECT_EQ(GenA2AddressValue("10.1.2.3"), MakeIpv4(10, 1, 2, 3));
  EXPECT_FALSE(GenA2AddressValue("10.1.2"));
  EXPECT_FALSE(GenA2AddressValue("10.1.2.256"));
  EXPECT_FALSE(GenA2AddressValue("239.1.1.1"));
  EXPECT_FALSE(GenA2AddressValue("255.255.255.255"));
  EXPECT_FALSE(GenA2AddressValue("0.0.0.0"));
  Set("Gateway", "");
  EXPECT_EQ(Read(), 0u);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_ETH_GATEWAY), 0u);
}

TEST_F(GenA2ReaderTest, RatesAndSnmpWithoutNameKeepTheDevicesValue) {
  block_.bytes()[12276] = 9;
  block_.bytes()[3414] = 10;  // "64M"
  Set("SNMPVERSION", "");
  Set("RLE_port1", "64M");  // the device's own rate: taken back unchanged
  Set("RLI_port2", "");
  EXPECT_EQ(Read(), 0u);
  EXPECT_EQ(block_.bytes()[12276], 9);
  EXPECT_EQ(block_.bytes()[3414], 10);
  Set("RLE_port1", "32M");  // not the device's: refused
  EXPECT_EQ(Read(), kRateLimiting);
}

// ---- cross-checks, on the block as the file changed it ----

TEST_F(GenA2ReaderTest, CrossChecksJudgeTheBlockAsTheFileChangedIt) {
  // The device had no address under DHCP; the file turns DHCP off without
  // giving an address: the imported configuration has none.
  a_.setNumber(block_, D_CONF_ETH_FLAG_AUTOIP, 1);
  a_.setNumber(block_, D_CONF_ETH_IPADDR, 0);
  Set("AUTOIP", "0");
  Set("IPAddress", "");
  EXPECT_EQ(Read(), kNetwork);

  // The device's relay settings clash; the file resolves the clash.
  block_ = MakeGenA2SampleBlock({1, false, false});
  a_.setNumber(block_, D_CONF_RELAY_SFLAG_DI2_ON2OFF, 2);
  a_.setNumber(block_, D_CONF_RELAY_SFLAG_DI2_OFF2ON, 2);
  Set("AUTOIP", "0");
  Set("IPAddress", "192.168.10.20");
  EXPECT_EQ(Read(), 0u);
  Set("RW_DI1_N2F", "2");
  Set("RW_DI1_F2N", "2");
  EXPECT_EQ(Read(), kRelayAlarm);
}

TEST_F(GenA2ReaderTest, TrunkAndRedundancyCrossChecks) {
  // The device is the file's own (with a trunk the file cannot change its
  // VLAN table, so the IGMP lines must name VLANs the device has).
  const std::string valid = file_;
  block_ = MakeGenA2SampleBlock();
  // Five ports in trunk group 1.
  for (const char* key : {"Port1_SetToTrunk", "Port2_SetToTrunk", "Port3_SetToTrunk",
                          "Port4_SetToTrunk", "Port5_SetToTrunk"}) {
    Set(key, "1");
  }
  EXPECT_EQ(Read(), kPortTrunking);
  // A member with automatic speed.
  file_ = valid;
  block_ = MakeGenA2SampleBlock();
  Set("Port5_SetToTrunk", "2");
  Set("Port5_Speed", "0");
  EXPECT_EQ(Read(), kPortTrunking);
  // A member with spanning tree on (the sample's port 5 has it on).
  Set("Port5_Speed", "1");
  EXPECT_EQ(Read(), kCommRedundancy);
  // Hello time 10 needs a max age of at least 22.
  file_ = valid;
  block_ = MakeGenA2SampleBlock();
  Set("HelloTime", "10");
  EXPECT_EQ(Read(), kCommRedundancy);
  // SNMP v3 with admin authentication needs a login password of 8 or more.
  file_ = valid;
  block_ = MakeGenA2SampleBlock();
  SetFieldText(record_.password, "short");
  EXPECT_EQ(Read(), kSnmp);
}

TEST_F(GenA2ReaderTest, FileWithoutVlanKeysKeepsTheDevicesVlans) {
  file_ = "SwitchName\tNew name\r\nMMAC 01-00-5E-01-01-01 1\r\n";
  block_ = MakeGenA2SampleBlock();
  ASSERT_EQ(Read(), 0u);
  EXPECT_TRUE(a8vlan::FindValidEntry(block_.bytes(), 1).has_value());
  EXPECT_EQ(a_.getText(block_, D_CONF_VLAN_FIXVID5), "10,20");
  EXPECT_FALSE(gen_a2::ReadUnicastEntry(block_.bytes(), 0)->used);  // the lists hold the file's
  EXPECT_EQ(gen_a2::ReadMulticastEntry(block_.bytes(), 0)->mac[3], 1);
}

TEST_F(GenA2ReaderTest, ShortBlockIsRefused) {
  ConfigBlock shortBlock(gen_a2::kBlockSize - 1);
  EXPECT_EQ(ReadGenA2File(record_, shortBlock, file_, a_).flags, kBlockRefused);
}

}  // namespace
}  // namespace vantrell
