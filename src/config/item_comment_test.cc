#include "config/item_comment.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vantrell {
namespace {

std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string Comment(std::string_view constName) {
  std::string out;
  ConfigTextWriter file(out);
  writeItemComment(file, constName);
  return out;
}

struct CommentCase {
  std::string_view constName;
  std::string_view expected;  // "\n" for each CR LF
};

// One case per row of the comment table (each name of a row that names
// several), with the catalogue label line first.
constexpr CommentCase kEveryRow[] = {
    {"D_CONF_ETH_FLAG_DHCP", "# [DHCP]\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_ETH_FLAG_FASTRECOVERY",
     "# [Line-Swap fast recovery]\n"
     "# Enable/Disable Line-Swap fast recovery for all ports.\n"
     "# 0 Disable All Ports\n# 1 Enable All Ports\n"},
    {"D_CONF_ETH_FLAG_HIDE",
     "# [Hide Web Picture]\n# Show picture on web page.\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_ETH_FLAG_WEB",
     "# [Web Configuration]\n# 1 Disable Web Configuration\n# 0 Enable Web Configuration\n"},
    {"D_CONF_ETH_FLAG_TELNET",
     "# [Telnet Console]\n# 1 Disable Telnet Console\n# 0 Enable Telnet Console\n"},
    {"D_CONF_ETH_IPADDR",
     "# [IP Address] \n# IP address 255.255.255.255 means not set\n# (xxx.xxx.xxx.xxx)\n"},
    {"D_CONF_ETH_GATEWAY", "# [Default Gateway]\n# (xxx.xxx.xxx.xxx)\n"},
    {"D_CONF_ETH_DNSSIP", "# [DNS Server IP Address]\n# (xxx.xxx.xxx.xxx)\n"},
    {"D_CONF_ETH_IPMASK", "# [Subnet Mask]\n# (xxx.xxx.xxx.xxx)\n"},
    {"D_CONF_ETH_TRAPS", "# [TRAP Server]\n# IP or String (Max. length = 30 words.)\n"},
    {"D_CONF_ETH_USERPWD", "# [User Password]\n# User Password (Max. length = 16 words.)\n"},
    {"D_CONF_ETH_ADMINPWD", "# [Admin Password]\n# Admin Password (Max. length = 16 words.)\n"},
    {"D_CONF_ETH_REDUN_PORT1", "# [1st Redundant port]\n# 1st Redundant port (1-8)\n"},
    {"D_CONF_ETH_REDUN_PORT2", "# [2nd Redundant port]\n# 2nd Redundant port (1-8)\n"},
    {"D_CONF_QOS_SCHEDULE",
     "# [QOS Mechanism]\n# Queuing Mechanism\n"
     "# Weight Fair(8:4:2:1)               : 0\n"
     "# Strict(High Priority First Always) : 1\n"},
    {"D_CONF_ETH_RSTP_VERSION", "# [RSTP Force Version]\n# Force Version\n# 0 STP\n# 2 RSTP\n"},
    {"D_CONF_ETH_REDUN_CPL_PORT", "# [Coupling Port]\n# Coupling port (1-8)\n"},
    {"D_CONF_ETH_REDUN_CPL_CTRLPORT", "# [Coupling Control Port]\n# Coupling control port (1-8)\n"},
    {"D_CONF_PORT_LOCK1", "# [Port Lock]\n# Lock Port 1\n"},
    {"D_CONF_PORT_LOCK2", "# [Port Lock]\n# Lock Port 2\n"},
    {"D_CONF_PORT_LOCK3", "# [Port Lock]\n# Lock Port 3\n"},
    {"D_CONF_PORT_LOCK4", "# [Port Lock]\n# Lock Port 4\n"},
    {"D_CONF_PORT_LOCK5", "# [Port Lock]\n# Lock Port 5\n"},
    {"D_CONF_PORT_LOCK6", "# [Port Lock]\n# Lock Port 6\n"},
    {"D_CONF_PORT_LOCK7", "# [Port Lock]\n# Lock Port 7\n"},
    {"D_CONF_PORT_LOCK8", "# [Port Lock]\n# Lock Port 8\n"},
    {"D_CONF_ETH_NAME", "# [Server Name]\n# Server name (max. length = 30 words.)\n"},
    {"D_CONF_ETH_NAMEA8", "# [Switch Name]\n# Switch name (max. length = 30 words.)\n"},
    {"D_CONF_ETH_COMMUNITY",
     "# [SNMP Community]\n# SNMP Community name (max. length = 30 words.)\n"},
    {"D_CONF_ETH_LOCATION_OLD",
     "# [Server Location]\n# Server location (max. length = 30 words.)\n"},
    {"D_CONF_ETH_LOCATION", "# [Server Location]\n# Server location (max. length = 80 words.)\n"},
    {"D_CONF_ETH_LOCATIONA8", "# [Switch Location]\n# Switch location (max. length = 80 words.)\n"},
    {"D_CONF_ETH_SYSDESCR",
     "# [Server Description]\n# Server description (max. length = 30 words.)\n"},
    {"D_CONF_ETH_SYSDESCRA8",
     "# [Switch Description]\n# Switch description (max. length = 30 words.)\n"},
    {"D_CONF_ETH_CONTACT",
     "# [Maintainer Contact Info]\n# Server Contact Info. (max. length = 30 words.)\n"},
    {"D_CONF_ETH_CONTACTA8",
     "# [Maintainer Contact Info]\n# Switch Contact Info. (max. length = 30 words.)\n"},
    {"D_CONF_ETH_MIRROR_PORT",
     "# [Mirror Port]\n# Mirror port number (no. 1 ~ 8).\n# Set '0' indicates not use.\n"},
    {"D_CONF_ETH_TARGET_PORT",
     "# [Mirrored Port]\n# Mirrored port number (no. 1 ~ 8).\n# Set '0' indicates not use.\n"},
    {"D_CONF_ETH_PCFG_DEVIP1", "# [Desired IP]\n# DeviceIP : (XXX.XXX.XXX.XXX)\n"},
    {"D_CONF_ETH_PCFG_PRIORITY1", "# [Priority]\n# 1 HIGH\n# 0 LOW\n"},
    {"D_CONF_ETH_MIRROR_DIR",
     "# [Watch Direction]\n# Watch Direction.\n# 0 Input data stream\n"
     "# 1 Output data stream\n# 2 Bi-directional\n"},
    {"D_CONF_ETH_PCFG_GROUP1",
     "# [PortGroup(Hex.)]\n# Group1(bit 0)+Group2(bit 1)+Group3(bit 2)+Group4(bit 3)\n"
     "# 00 No Group\n# 01 Group1\n# 02 Group2\n# 04 Group3\n# 08 Group4\n"},
    {"D_CONF_ETH_WARN_SFLAG",
     "# [Server Events(Hex.)]\n"
     "# 00\tDisable All.\n"
     "# 01\tEnable Server Cold Start.\n"
     "# 02\tEnable Server Warm Start.\n"
     "# 04\tEnable Configuration Change Activated.\n"
     "# 08\tEnable Power Transition (On->Off).\n"
     "# 10\tEnable Power Transition (Off->On).\n"
     "# 20\tEnable Authentication Failure.\n"
     "# 40\tEnable Comm. Redundancy Topology Changed.\n"},
    {"D_CONF_ETH_WARN_PFLAG1",
     "# [PortEvents(Hex.)]\n"
     "# PortEvents = LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)\n"
     "# 00\tDisable All.\n# 01\tEnable Link-ON.\n# 02\tEnable Link-OFF.\n"
     "# 04\tEnable Traffic-Overload.\n"
     "# Traffic-Threshold : Range 0 ~ 100 %.\n"
     "# Traffic-Duration : Range 1 ~ 300 (sec.)\n"},
    {"D_CONF_ETH_SPAN_REDUN",
     "# [Redundant Flag]\n# Redundant Ring quick setup.\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_ETH_REDUN_PROTOCOL",
     "# [Redundancy Protocol]\n# Protocol of Redundancy.\n# 0 IEEE 802.1D\n"
     "# 1 Zorvel Ring with ORV-D8 series\n# 2 Zorvel Ring with ORV series\n"},
    {"D_CONF_ETHA8_REDUN_PROTOCOL",
     "# [Redundancy Protocol]\n# Protocol of Redundancy.\n# 0 IEEE 802.1W/D\n# 1 Zorvel Ring\n"},
    {"D_CONF_ETH_REDUN_MASTER", "# [Set to be Master]\n# Set to be Master.\n# 0 NO\n# 1 Yes\n"},
    {"D_CONF_ETH_REDUN_COUPLING",
     "# [Redundant Ring Coupling]\n# Redundant Ring Coupling.\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_ETH_SPAN_BRIDGE_ID",
     "# [Bridge Id]\n"
     "#  0: 0\n#  1: 4096\n#  2: 8192\n#  3: 12288\n#  4: 16384\n#  5: 20480\n"
     "#  6: 24576\n#  7: 28672\n#  8: 32768\n#  9: 36864\n# 10: 40960\n# 11: 45056\n"
     "# 12: 49152\n# 13: 53248\n# 14: 57344\n# 15: 61440\n"},
    {"D_CONF_ETH_SPAN_HELLO_TIME", "# [Hello Time]\n# Range 1 to 10 seconds\n"},
    {"D_CONF_ETH_SPAN_MAX_AGE", "# [Max Age]\n# Range 6 to 40 seconds\n"},
    {"D_CONF_ETH_SPAN_FD_DELAY", "# [Forwarding Delay]\n# Range 4 to 30 seconds\n"},
    {"D_CONF_ETH_RELAY_SFLAG_NORMAL",
     "# [Override Relay Warning Settings]\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_RELAY_SFLAG_NORMAL1", "# [Override Relay Warning Setting]\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_RELAY_SFLAG_NORMAL2", "# [Override Relay Warning Setting]\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_ETH_RELAY_SFLAG_POWER1", "# [Power Events]\n# 0 Disable\n# 1 Enable\n"},
    {"D_CONF_ETH_RELAY_SFLAG_POWER2",
     "# [Power Events]\n# 0 Disable\n# 1 Enable (relay 1)\n# 2 Enable (relay 2)\n"},
    {"D_CONF_ETH_RELAY_PFLAG_LINK1",
     "# [Port Link Events]\n# 0 Ignore\n# 1 Off->On\n# 2 On->Off\n"},
    {"D_CONF_ETH_RELAY_PFLAG_TRAF1",
     "# [Port Overload Events]\n# 0 Disable\n# 1 Enable\n"
     "# Traffic-Threshold : Range 0 ~ 100 %.\n# Traffic-Duration : Range 1 ~ 300 (sec.)\n"},
    {"D_CONF_RELAY_SFLAG_DI1_ON2OFF",
     "# [DI 1(On->Off)]\n# 0 Disable\n# 1 Enable(relay 1)\n# 2 Enable(relay 2)\n"},
    {"D_CONF_IGMPSNOOP_QUERY_PERIDO", "# [Period of Proxy Query]\n# range is 30-400 (second)\n"},
};

TEST(WriteItemComment, EveryTableRowWritesItsLabelAndLinesExactly) {
  for (const CommentCase& c : kEveryRow) {
    EXPECT_EQ(Comment(c.constName), Crlf(c.expected)) << c.constName;
  }
}

TEST(WriteItemComment, BridgeIdBlockHasSeventeenLines) {
  const std::string text = Comment("D_CONF_ETH_SPAN_BRIDGE_ID");
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 17u);
}

TEST(WriteItemComment, PercentSignsArePrintedOnce) {
  const std::string text = Comment("D_CONF_ETH_RELAY_PFLAG_TRAF1");
  EXPECT_NE(text.find("Range 0 ~ 100 %.\r\n"), std::string::npos);
  EXPECT_EQ(text.find("%%"), std::string::npos);
}

TEST(WriteItemComment, NamesOutsideTheTableGetTheLabelOnly) {
  EXPECT_EQ(Comment("D_CONF_ETH_USERNAME"), "# [Server username]\r\n");
  EXPECT_EQ(Comment("D_CONF_ETH_PCFG_DEVIP2"), "# [Desired IP]\r\n");
  EXPECT_EQ(Comment("D_CONF_ETH_WARN_PFLAG2"), "# [PortEvents(Hex.)]\r\n");
  EXPECT_EQ(Comment("D_CONF_RELAY_SFLAG_DI1_OFF2ON"), "# [DI 1(Off->On)]\r\n");
  // The relay duration rows have an empty label: the line is "# " alone.
  EXPECT_EQ(Comment("D_CONF_ETH_RELAY_PLOADTIME1"), "# \r\n");
}

TEST(WriteItemComment, NamesOutsideTheCatalogueWriteNothing) {
  EXPECT_EQ(Comment("D_CONF_NO_SUCH_ITEM"), "");
  EXPECT_EQ(Comment("D_CONF_PORT_LOCK9"), "");
  EXPECT_EQ(Comment(""), "");
  EXPECT_EQ(Comment("d_conf_eth_flag_dhcp"), "");
}

}  // namespace
}  // namespace vantrell
