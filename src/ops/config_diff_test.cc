#include "ops/config_diff.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

/// A short D8-style file: header, comments, settings, a list table.
constexpr const char* kFile =
    "[Meshvault Server Configuration File]\n"
    "# Model Name\n"
    "ModelName\tORV-D8\n"
    "\n"
    "# [SwitchName]: Switch Name\n"
    "SwitchName\t\tLine 4 west\n"
    "IPAddress\t192.168.10.101\n"
    "Netmask\t\t255.255.255.0\n"
    "WebConfig\t1\n"
    "UMAC\t00-60-E9-00-00-01 1 3\n"
    "UMAC\t00-60-E9-00-00-02 1 4\n";

TEST(ConfigDiff, ChangedValueIsNamedWithBothValues) {
  std::string changed = kFile;
  changed.replace(changed.find("WebConfig\t1"), 11, "WebConfig\t0");
  EXPECT_EQ(DiffConfigFiles(kFile, changed),
            (std::vector<ConfigDifference>{{"WebConfig", "1", "0", false}}));
  // Inner blanks of a text value belong to the value; CR LF ends read as LF.
  std::string renamed = kFile;
  renamed.replace(renamed.find("Line 4 west"), 11, "Line 4  west ");
  EXPECT_EQ(DiffConfigFiles(kFile, renamed),
            (std::vector<ConfigDifference>{{"SwitchName", "Line 4 west", "Line 4  west", false}}));
}

TEST(ConfigDiff, ReorderedFileWithOtherCommentsIsEqual) {
  const std::string reordered =
      "[Meshvault Server Configuration File]\r\n"
      "UMAC\t00-60-E9-00-00-02 1 4\r\n"
      "WebConfig 1\r\n"
      "# another comment\r\n"
      "\r\n"
      "Netmask\t255.255.255.0\r\n"
      "UMAC\t00-60-E9-00-00-01 1 3\r\n"
      "SwitchName\tLine 4 west\r\n"
      "IPAddress\t192.168.10.101\r\n"
      "ModelName\tORV-D8\r\n";
  EXPECT_TRUE(DiffConfigFiles(kFile, reordered).empty());
  EXPECT_TRUE(DiffConfigFiles(kFile, kFile).empty());
}

TEST(ConfigDiff, ListEntriesAreComparedAsMultisets) {
  std::string added = std::string(kFile) + "UMAC\t00-60-E9-00-00-03 2 1\n";
  EXPECT_EQ(DiffConfigFiles(kFile, added),
            (std::vector<ConfigDifference>{{"UMAC", "", "00-60-E9-00-00-03 2 1", false}}));
  EXPECT_EQ(DiffConfigFiles(added, kFile),
            (std::vector<ConfigDifference>{{"UMAC", "00-60-E9-00-00-03 2 1", "", false}}));
  // One entry replaced: the old value on A's side, the new one on B's.
  std::string replaced = kFile;
  replaced.replace(replaced.find("00-00-02 1 4"), 12, "00-00-02 1 5");
  EXPECT_EQ(DiffConfigFiles(kFile, replaced),
            (std::vector<ConfigDifference>{{"UMAC", "00-60-E9-00-00-02 1 4", "", false},
                                           {"UMAC", "", "00-60-E9-00-00-02 1 5", false}}));
  // The same entry twice is not the same as once.
  std::string doubled = std::string(kFile) + "UMAC\t00-60-E9-00-00-01 1 3\n";
  EXPECT_EQ(DiffConfigFiles(kFile, doubled),
            (std::vector<ConfigDifference>{{"UMAC", "", "00-60-E9-00-00-01 1 3", false}}));
}

TEST(ConfigDiff, AddressSettingsComeLastAndMarked) {
  std::string other = kFile;
  other.replace(other.find("192.168.10.101"), 14, "192.168.10.102");
  other.replace(other.find("WebConfig\t1"), 11, "WebConfig\t0");
  other += "Location\tHall B\n";
  EXPECT_EQ(DiffConfigFiles(kFile, other),
            (std::vector<ConfigDifference>{{"WebConfig", "1", "0", false},
                                           {"Location", "", "Hall B", false},
                                           {"IPAddress", "192.168.10.101", "192.168.10.102", true}}));
}

TEST(ConfigDiff, AddressKeysComeFromTheCatalogue) {
  for (const char* key : {"IPAddress", "Netmask", "Gateway", "DNSIP", "DNSIP1", "DHCP", "AUTOIP"}) {
    EXPECT_TRUE(IsAddressSettingKey(key)) << key;
  }
  for (const char* key : {"SwitchName", "WebConfig", "UMAC", "", "ipaddress"}) {
    EXPECT_FALSE(IsAddressSettingKey(key)) << key;
  }
}

}  // namespace
}  // namespace vantrell
