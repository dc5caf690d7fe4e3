// Round trip of the GenA2 file: a block with every item set is exported and
// read back into a block holding other values; every item the file carries
// and every byte no item covers must come back.
//
// What cannot come back through the file, by design of the file:
// - the low 12 bits of the bridge priority word and the low nibble of the
//   spanning-tree port priority bytes (the file shows priority numbers);
// - the ring settings while the spanning tree is on, and the spanning-tree
//   settings while the ring is on (the reader takes one group only);
// - VLAN membership bits other than fixed/forbidden, VLAN entries that no
//   PVID, management VLAN or list names, and used marks other than 1
//   (the tables are rebuilt from the file);
// - the netmask of an access entry whose address is 0 (written empty);
// - IGMP entries whose VID no VLAN entry in use holds;
// - rate indexes above 10 (ingress 11-15) and unknown SNMP version codes,
//   written empty: the device keeps its value instead;
// - trailing blanks and carriage returns of texts, line breaks inside texts
//   (written as blanks), texts longer than the file's limits;
// - the MDI/FDX settings of ports 7 and 8 of the fibre uplink models, which
//   are written empty, and port 7's MDI flag of the models with fixed
//   uplinks (ignored) -- so these tests use model 0x0508.

#include <gtest/gtest.h>

#include <string>

#include "config/config_item_ids.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a2_reader.h"
#include "config/gen_a2_sample.h"
#include "config/gen_a2_writer.h"
#include "core/device_record.h"

namespace vantrell {
namespace {

using namespace item;

DeviceRecord A8Record() {
  DeviceRecord record{};
  record.modelId = 0x0508;
  record.firmwareVersion = 0x01020000;
  SetFieldText(record.password, "adminpass");
  SetFieldText(record.smtpPassword, "mailpw");
  return record;
}

std::string Export(ConfigBlock block, const DeviceRecord& record) {
  GenA2Accessors accessors;
  std::string file;
  WriteGenA2ConfigFile(file, record, block, accessors);
  return file;
}

/// Offsets where two blocks differ, for a readable failure.
std::string Differences(const ConfigBlock& a, const ConfigBlock& b) {
  std::string out;
  int shown = 0;
  for (std::size_t i = 0; i < a.size() && shown < 20; ++i) {
    if (a.bytes()[i] != b.bytes()[i]) {
      out += std::to_string(i) + " ";
      ++shown;
    }
  }
  return out;
}

TEST(GenA2RoundTrip, EveryItemAndUncoveredByteComesBackIntoAnotherBlock) {
  for (const bool filled : {false, true}) {
    SCOPED_TRACE(filled ? "filled lists" : "few list entries");
    const DeviceRecord record = A8Record();
    const ConfigBlock original = MakeGenA2SampleBlock({0, false, filled});
    ConfigBlock other = MakeGenA2SampleBlock({1, false, filled});
    ASSERT_NE(original, other);
    const std::string file = Export(original, record);

    GenA2Accessors accessors;
    const GenA2ReadResult result = ReadGenA2File(record, other, file, accessors);
    ASSERT_EQ(result.flags, 0u);
    EXPECT_EQ(other, original) << "differing offsets: " << Differences(other, original);
  }
}

TEST(GenA2RoundTrip, TrunkingDeviceTakesBackItsOwnExportUnchanged) {
  const DeviceRecord record = A8Record();
  const ConfigBlock original = MakeGenA2SampleBlock({0, true, false});
  ConfigBlock device = original;
  const std::string file = Export(original, record);
  // The management VLAN's IGMP entry reads "---" while a trunk is in use.
  EXPECT_NE(file.find("IGMPSNOOP\t---\t"), std::string::npos);

  GenA2Accessors accessors;
  ASSERT_EQ(ReadGenA2File(record, device, file, accessors).flags, 0u);
  EXPECT_EQ(device, original) << "differing offsets: " << Differences(device, original);
  // VLAN table, management VLAN and unicast table are still the device's.
  EXPECT_EQ(accessors.getNumber(device, D_CONF_VLAN_SYS_VID), 1u);
  EXPECT_TRUE(a8vlan::FindValidEntry(device.bytes(), 1).has_value());
  EXPECT_TRUE(gen_a2::ReadUnicastEntry(device.bytes(), 0)->used);
}

TEST(GenA2RoundTrip, TrunkingFileLeavesVlanUnicastLockAndMirrorOfTheTargetAlone) {
  const DeviceRecord record = A8Record();
  const ConfigBlock source = MakeGenA2SampleBlock({0, true, false});
  const ConfigBlock target = MakeGenA2SampleBlock({1, true, false});
  ConfigBlock device = target;
  // The source's own VLANs are unknown to the target, whose VLAN table the
  // file does not change: their IGMP lines would be refused, so they are
  // taken out; the "---" line (the management VLAN) stays.
  std::string file = Export(source, record);
  std::string kept;
  for (std::size_t at = 0; at < file.size();) {
    const std::size_t end = file.find('\n', at) + 1;
    const std::string_view line(file.data() + at, end - at);
    const bool numericIgmp = line.starts_with("IGMPSNOOP\t") && line[10] != '-';
    if (!numericIgmp) kept += line;
    at = end;
  }
  file = kept;
  GenA2Accessors accessors;
  ASSERT_EQ(ReadGenA2File(record, device, file, accessors).flags, 0u);

  EXPECT_EQ(accessors.getNumber(device, D_CONF_VLAN_SYS_VID), 2u);
  EXPECT_EQ(accessors.getText(device, D_CONF_VLAN_FIXVID5), "11,21");
  EXPECT_EQ(accessors.getNumber(device, D_CONF_PORT_LOCK1), 0u);  // target's (1 + 1) % 2
  EXPECT_EQ(accessors.getNumber(device, D_CONF_ETH_MIRROR_DIR), 1u);
  const auto unicast = gen_a2::ReadUnicastEntry(device.bytes(), 0);
  ASSERT_TRUE(unicast && unicast->used);
  EXPECT_EQ(unicast->mac[3], 1);  // the target's entry
  // The "---" entry updated the target's management VLAN (2), at its entry.
  const auto vlanEntry = a8vlan::FindValidEntry(device.bytes(), 2);
  ASSERT_TRUE(vlanEntry);
  const auto igmp = gen_a2::ReadIgmpEntry(device.bytes(), *vlanEntry);
  const auto sourceIgmp = gen_a2::ReadIgmpEntry(source.bytes(), 0);
  EXPECT_EQ(igmp->vid, 2);
  EXPECT_EQ(igmp->snooping, sourceIgmp->snooping);
  EXPECT_EQ(igmp->routerPorts, sourceIgmp->routerPorts);
  // Items outside those groups are the source's.
  EXPECT_EQ(accessors.getText(device, D_CONF_ETH_NAMEA8), "Line 3 switch");
}

}  // namespace
}  // namespace vantrell
