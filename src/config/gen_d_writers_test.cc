#include "config/gen_d_writers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "config/gen_d_layouts.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;

std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// ---------------------------------------------------------------------------
// A block filled with known values, and the file each generation writes
// for it.

constexpr std::uint16_t kPortFlags[8] = {0x07, 0x01, 0x02, 0x04, 0x00, 0x03, 0x0A, 0x1F};
constexpr std::uint32_t kPortLoads[8] = {75, 0, 100, 50, 10, 20, 30, 40};
constexpr std::uint32_t kPortLoadTimes[8] = {31, 1, 300, 60, 5, 10, 15, 20};
constexpr std::uint32_t kRelayLinks[8] = {1, 2, 3, 0, 0, 0, 0, 2};
constexpr bool kRelayTraffic[8] = {true, false, false, true, false, false, false, true};
constexpr std::uint32_t kRelayLoads[8] = {80, 0, 100, 25, 0, 0, 0, 99};
constexpr std::uint32_t kRelayLoadTimes[8] = {10, 1, 300, 2, 0, 0, 0, 7};

void Set(ItemAccessors& accessors, ConfigBlock& block, ConfigItemId id, std::uint32_t value) {
  ASSERT_EQ(accessors.setNumber(block, id, value), ItemStatus::kOk) << id;
}

void SetText(ItemAccessors& accessors, ConfigBlock& block, ConfigItemId id, std::string_view text) {
  ASSERT_EQ(accessors.setText(block, id, text), ItemStatus::kOk) << id;
}

struct Fixture {
  Generation generation;
  std::unique_ptr<ItemAccessors> accessors;
  ConfigBlock block;
  DeviceRecord record;
};

Fixture Filled(Generation generation, std::uint32_t redundancyWord) {
  Fixture f{generation, MakeGenDAccessors(generation), ConfigBlock(blockSize(generation)),
            MakeZeroRecord()};
  ItemAccessors& a = *f.accessors;
  ConfigBlock& b = f.block;
  f.record.modelId = 0x6008;
  SetFieldText(f.record.password, "s3cret");
  SetFieldText(f.record.smtpPassword, "from-device");

  Set(a, b, D_CONF_ETH_FLAG_DHCP, 1);
  Set(a, b, D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 1, 10));
  Set(a, b, D_CONF_ETH_IPMASK, MakeIpv4(255, 255, 255, 0));
  Set(a, b, D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 1, 254));
  Set(a, b, D_CONF_ETH_DNSSIP, MakeIpv4(8, 8, 4, 4));
  SetText(a, b, D_CONF_ETH_TRAPS, "10.0.0.5");
  SetText(a, b, D_CONF_ETH_COMMUNITY, "public");
  SetText(a, b, D_CONF_ETH_USERNAME, "admin");
  SetText(a, b, D_CONF_ETH_NAME, "Line 3 switch");
  if (generation == Generation::kGenD4) {
    SetText(a, b, D_CONF_ETH_LOCATION, "Hall B, bay 4, next to the press");
  } else {
    SetText(a, b, D_CONF_ETH_LOCATION_OLD, "Hall B");
  }
  SetText(a, b, D_CONF_ETH_SYSDESCR, "Packing line");
  SetText(a, b, D_CONF_ETH_CONTACT, "ops@plant.example");
  Set(a, b, D_CONF_ETH_FLAG_WEB, 0);
  Set(a, b, D_CONF_ETH_FLAG_TELNET, 1);
  Set(a, b, D_CONF_ETH_FLAG_FASTRECOVERY, 1);
  for (int p = 1; p <= 8; ++p) {
    Set(a, b, PcfgDisable(p), p % 2);
    Set(a, b, PcfgFlag(p), p % 3);
    Set(a, b, PcfgSpeed(p), p % 5);
    Set(a, b, PcfgDevIp(p), p == 2 ? 0 : MakeIpv4(10, 0, 1, static_cast<std::uint8_t>(p)));
    Set(a, b, WarnPortFlag(p), kPortFlags[p - 1]);
    Set(a, b, WarnPortLoad(p), kPortLoads[p - 1]);
    Set(a, b, WarnPortLoadTime(p), kPortLoadTimes[p - 1]);
    Set(a, b, SpanPortEnable(p), p % 2);
    Set(a, b, SpanPortId(p), 16 * p);
    Set(a, b, SpanPathCost(p), p == 8 ? 65535 : 19 * p);
  }
  Set(a, b, D_CONF_ETH_MIRROR_PORT, 2);
  Set(a, b, D_CONF_ETH_TARGET_PORT, 5);
  Set(a, b, D_CONF_ETH_MIRROR_DIR, 2);
  SetText(a, b, D_CONF_ETH_WARN_SMTPSrv, "smtp.plant.example");
  if (generation != Generation::kGenD1) {
    SetText(a, b, D_CONF_ETH_WARN_SMTP_UNAME, "alarms");
    SetText(a, b, D_CONF_ETH_WARN_SMTP_PASSWD, "pw#1");
  }
  SetText(a, b, WarnTo(1), "shift@plant.example");
  SetText(a, b, WarnTo(2), "boss@plant.example");
  SetText(a, b, WarnTo(4), "it@plant.example");
  Set(a, b, D_CONF_ETH_WARN_SFLAG, 0x4A);
  Set(a, b, kRedundancyWord, redundancyWord);
  Set(a, b, D_CONF_ETH_SPAN_BRIDGE_ID, 32768);
  Set(a, b, D_CONF_ETH_SPAN_HELLO_TIME, 2);
  Set(a, b, D_CONF_ETH_SPAN_MAX_AGE, 20);
  Set(a, b, D_CONF_ETH_SPAN_FD_DELAY, 15);
  if (generation == Generation::kGenD4) {
    Set(a, b, D_CONF_ETH_RELAY_SFLAG_NORMAL, 0x01);
    Set(a, b, D_CONF_ETH_RELAY_SFLAG_POWER1, 0x10);
    Set(a, b, D_CONF_ETH_RELAY_SFLAG_POWER2, 0x00);
    for (int p = 1; p <= 8; ++p) {
      Set(a, b, RelayPortLink(p), kRelayLinks[p - 1]);
      Set(a, b, RelayPortTraffic(p), kRelayTraffic[p - 1] ? 0x04 : 0);
      Set(a, b, RelayPortLoad(p), kRelayLoads[p - 1]);
      Set(a, b, RelayPortLoadTime(p), kRelayLoadTimes[p - 1]);
    }
  }
  return f;
}

std::string Write(Fixture& f) {
  std::string out;
  EXPECT_TRUE(WriteGenDConfigFile(f.generation, out, f.record, f.block, *f.accessors));
  return out;
}

// Expected text, section by section, written with "\n" for each CR LF.

constexpr std::string_view kHeader =
    "[Meshvault Server Configuration File]\n"
    "# Model Name\n"
    "ModelName\tORV-D8\n";

constexpr std::string_view kNetwork =
    "\n################################################\n"
    "# Advanced settings -- Config network settings #\n"
    "################################################\n\n"
    "# [DHCP]\n# 0 Disable\n# 1 Enable\n"
    "DHCP\t1\n\n"
    "# [IP Address] \n# IP address 255.255.255.255 means not set\n# (xxx.xxx.xxx.xxx)\n"
    "IPAddress\t192.168.1.10\n\n"
    "# [Subnet Mask]\n# (xxx.xxx.xxx.xxx)\n"
    "Netmask\t\t255.255.255.0\n\n"
    "# [Default Gateway]\n# (xxx.xxx.xxx.xxx)\n"
    "Gateway\t\t192.168.1.254\n\n"
    "# [DNS Server IP Address]\n# (xxx.xxx.xxx.xxx)\n"
    "DNSIP\t8.8.4.4\n\n"
    "# [TRAP Server]\n# IP or String (Max. length = 30 words.)\n"
    "TRAP\t10.0.0.5\n\n"
    "# [SNMP Community]\n# SNMP Community name (max. length = 30 words.)\n"
    "Community\tpublic\n\n";

constexpr std::string_view kServerHead =
    "\n###############################################\n"
    "# Advanced settings -- Config server settings #\n"
    "###############################################\n\n"
    "# [Server username]\n"
    "Username\tadmin\n\n"
    "# [Server password]\n"
    "Password\ts3cret\n\n"
    "# [Server Name]\n# Server name (max. length = 30 words.)\n"
    "ServerName\tLine 3 switch\n\n";

constexpr std::string_view kServerLocationOld =
    "# [Server Location]\n# Server location (max. length = 30 words.)\n"
    "Location\t\tHall B\n\n"
    "# [Server Description]\n# Server description (max. length = 30 words.)\n"
    "SysDescr\t\tPacking line\n\n";

constexpr std::string_view kServerLocationD4 =
    "# [Server Location]\n# Server location (max. length = 80 words.)\n"
    "Location\tHall B, bay 4, next to the press\n\n"
    "# [Server Description]\n# Server description (max. length = 30 words.)\n"
    "SysDescr\tPacking line\n\n";

constexpr std::string_view kServerTail =
    "# [Maintainer Contact Info]\n# Server Contact Info. (max. length = 30 words.)\n"
    "Contact\t\tops@plant.example\n\n"
    "# [Web Configuration]\n# 1 Disable Web Configuration\n# 0 Enable Web Configuration\n"
    "WebConfig\t0\n\n"
    "# [Telnet Console]\n# 1 Disable Telnet Console\n# 0 Enable Telnet Console\n"
    "TelnetConsole\t1\n\n";

constexpr std::string_view kPortsHead =
    "\n#################################################################\n"
    "# Advanced settings -- Config port settings                     #\n"
    "#                          WARNING!                             #\n"
    "#   If you select any option other than Auto-nego under         #\n"
    "# Speed,then you must select either MDI or MDIX under MDI/MDIX. #\n"
    "#################################################################\n"
    "# PortEnable : Enable/Disable Port flag.\n"
    "#\t\t--> ENABLE  : 0 \n"
    "#\t\t--> DISABLE : 1 \n"
    "# ProtMDIFlag : Set Cable Type is MDI or MDIX.\n"
    "#\t\t--> AUTO : 0 \n"
    "#\t\t--> MDIX : 1 \n"
    "#\t\t--> MDI  : 2 \n"
    "# PortSpeed : Port Speed.\n"
    "#\t\t--> AUTO    : 0 \n"
    "#\t\t--> 100FULL : 1 \n"
    "#\t\t--> 100HALF : 2 \n"
    "#\t\t--> 10FULL  : 3 \n"
    "#\t\t--> 10HALF  : 4 \n";

constexpr std::string_view kPorts1To6 =
    "# [LAN Port 1 Setting]\nPort1_Enable\t1\nPort1_MDIFlag\t1\nPort1_Speed\t1\n\n"
    "# [LAN Port 2 Setting]\nPort2_Enable\t0\nPort2_MDIFlag\t2\nPort2_Speed\t2\n\n"
    "# [LAN Port 3 Setting]\nPort3_Enable\t1\nPort3_MDIFlag\t0\nPort3_Speed\t3\n\n"
    "# [LAN Port 4 Setting]\nPort4_Enable\t0\nPort4_MDIFlag\t1\nPort4_Speed\t4\n\n"
    "# [LAN Port 5 Setting]\nPort5_Enable\t1\nPort5_MDIFlag\t2\nPort5_Speed\t0\n\n"
    "# [LAN Port 6 Setting]\nPort6_Enable\t0\nPort6_MDIFlag\t0\nPort6_Speed\t1\n\n";

constexpr std::string_view kPorts7And8 =
    "# [LAN Port 7 Setting]\nPort7_Enable\t1\nPort7_MDIFlag\t1\nPort7_Speed\t2\n\n"
    "# [LAN Port 8 Setting]\nPort8_Enable\t0\nPort8_MDIFlag\t2\nPort8_Speed\t3\n\n";

constexpr std::string_view kFastRecoveryToMirror =
    "\n#################################\n"
    "# Setup Line-Swap fast recovery #\n"
    "#################################\n"
    "# [Line-Swap fast recovery]\n"
    "# Enable/Disable Line-Swap fast recovery for all ports.\n"
    "# 0 Disable All Ports\n# 1 Enable All Ports\n"
    "FASTRECOVERY\t1\n\n"
    "\n############################################################\n"
    "# Setup Set device IP                                      #\n"
    "# The 'Set device IP' function is used to automatically    #\n"
    "# assign IP address to connected devices that are equipped #\n"
    "# with 'DHCP-Client' or 'RARP'protocol.                    #\n"
    "############################################################\n"
    "# [Desired IP]\n# DeviceIP : (XXX.XXX.XXX.XXX)\n"
    "Device1_IP\t10.0.1.1\n"
    "Device2_IP\t\n"
    "Device3_IP\t10.0.1.3\n"
    "Device4_IP\t10.0.1.4\n"
    "Device5_IP\t10.0.1.5\n"
    "Device6_IP\t10.0.1.6\n"
    "Device7_IP\t10.0.1.7\n"
    "Device8_IP\t10.0.1.8\n\n"
    "\n####################################################\n"
    "# Setup Mirror Port                                #\n"
    "# Mirror port and Mirrored port can't set the same.#\n"
    "####################################################\n"
    "# [Mirror Port]\n# Mirror port number (no. 1 ~ 8).\n# Set '0' indicates not use.\n"
    "MirrorPort\t2\n\n"
    "# [Mirrored Port]\n# Mirrored port number (no. 1 ~ 8).\n# Set '0' indicates not use.\n"
    "MirroredPort\t5\n\n"
    "# [Watch Direction]\n# Watch Direction.\n# 0 Input data stream\n"
    "# 1 Output data stream\n# 2 Bi-directional\n"
    "WatchDirection\t2\n\n";

constexpr std::string_view kMailBanner =
    "\n#########################\n"
    "# Auto Warnning Setting #\n"
    "#########################\n";

constexpr std::string_view kMailBannerD4 =
    "\n###################################\n"
    "# Auto Warnning Setting           #\n"
    "#    - Email Warnning Setting     #\n"
    "#    - Relay Warnning Setting     #\n"
    "###################################\n"
    "\n#########################\n"
    "# Email Warnning Setting #\n"
    "#########################\n";

constexpr std::string_view kSmtpLegendAndServer =
    "# SMTPServer : SMTP server IP addr/name (max. length 30 words).\n"
    "#\t\t--> Ex : mail.example.com \n"
    "# SMTPAccount : account of SMTP server(max. length 45 words).\n"
    "#\t\t--> Ex : smtpuser \n"
    "# SMTPPassword : account password of SMTP server(max. length 45 words).\n"
    "#\t\t--> Ex : qb73#5mR\n"
    "# 1st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# 2st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# 3st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# 4st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# [SMTPServer]\nSMTPServer\tsmtp.plant.example\n\n"
    "# [SMTP Account]\nSMTPAccount\talarms\n\n"
    "# [SMTP Password]\nSMTPPassword\tpw#1\n\n";

constexpr std::string_view kMailServerLegendAndServerD1 =
    "# MailServer : mail server IP addr/name (max. length 30 words).\n"
    "#\t\t--> Ex : mail.example.com \n"
    "# 1st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# 2st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# 3st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# 4st e-mail address (max. length 30 words).\n#\t\t--> Ex : operator@example.com \n"
    "# [MailServer]\nMailServer\tsmtp.plant.example\n\n";

constexpr std::string_view kMailTail =
    "# [1st_e-mail_address]\n1st_e-mail_address\tshift@plant.example\n\n"
    "# [2nd_e-mail_address]\n2nd_e-mail_address\tboss@plant.example\n\n"
    "# [3rd_e-mail_address]\n3rd_e-mail_address\t\n\n"
    "# [4th_e-mail_address]\n4th_e-mail_address\tit@plant.example\n\n"
    "# [Server Events(Hex.)]\n"
    "# 00\tDisable All.\n"
    "# 01\tEnable Server Cold Start.\n"
    "# 02\tEnable Server Warm Start.\n"
    "# 04\tEnable Configuration Change Activated.\n"
    "# 08\tEnable Power Transition (On->Off).\n"
    "# 10\tEnable Power Transition (Off->On).\n"
    "# 20\tEnable Authentication Failure.\n"
    "# 40\tEnable Comm. Redundancy Topology Changed.\n"
    "ServerEvents\t4a\n\n"
    "# [PortEvents(Hex.)]\n"
    "# PortEvents = LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)\n"
    "# 00\tDisable All.\n# 01\tEnable Link-ON.\n# 02\tEnable Link-OFF.\n"
    "# 04\tEnable Traffic-Overload.\n"
    "# Traffic-Threshold : Range 0 ~ 100 %.\n"
    "# Traffic-Duration : Range 1 ~ 300 (sec.)\n"
    "PortEvents_1\t\t7\nTraffic-Threshold1\t75%\nTraffic-Duration1\t31 sec\n\n"
    "PortEvents_2\t\t1\nTraffic-Threshold2\t0%\nTraffic-Duration2\t1 sec\n\n"
    "PortEvents_3\t\t2\nTraffic-Threshold3\t100%\nTraffic-Duration3\t300 sec\n\n"
    "PortEvents_4\t\t4\nTraffic-Threshold4\t50%\nTraffic-Duration4\t60 sec\n\n"
    "PortEvents_5\t\t0\nTraffic-Threshold5\t10%\nTraffic-Duration5\t5 sec\n\n"
    "PortEvents_6\t\t3\nTraffic-Threshold6\t20%\nTraffic-Duration6\t10 sec\n\n"
    "PortEvents_7\t\ta\nTraffic-Threshold7\t30%\nTraffic-Duration7\t15 sec\n\n"
    "PortEvents_8\t\t1f\nTraffic-Threshold8\t40%\nTraffic-Duration8\t20 sec\n\n";

constexpr std::string_view kRelayD4 =
    "\n###########################\n"
    "# Relay Warnning Setting  #\n"
    "###########################\n"
    "# [Override Relay Warning Settings]\n# 0 Disable\n# 1 Enable\n"
    "Override_Relay_Warning_Settings\t1\n\n"
    "# [Power Events]\n# 0 Disable\n# 1 Enable\n"
    "Power_Input_1_failure(On->Off)\t1\n\n"
    "Power_Input_2_failure(On->Off)\t0\n\n"
    "# [Port Link Events]\n# 0 Ignore\n# 1 Off->On\n# 2 On->Off\n"
    "PortLink_1\t1\n\n"
    "PortLink_2\t2\n\n"
    "PortLink_3\t1\n\n"
    "PortLink_4\t0\n\n"
    "PortLink_5\t0\n\n"
    "PortLink_6\t0\n\n"
    "PortLink_7\t0\n\n"
    "PortLink_8\t2\n\n"
    "# [Port Overload Events]\n# 0 Disable\n# 1 Enable\n"
    "# Traffic-Threshold : Range 0 ~ 100 %.\n"
    "# Traffic-Duration : Range 1 ~ 300 (sec.)\n"
    "PortTraf_1\t\t1\nTraffic_Threshold_1\t80%\nTraffic_Duration_1\t10 sec\n\n"
    "PortTraf_2\t\t0\nTraffic_Threshold_2\t0%\nTraffic_Duration_2\t1 sec\n\n"
    "PortTraf_3\t\t0\nTraffic_Threshold_3\t100%\nTraffic_Duration_3\t300 sec\n\n"
    "PortTraf_4\t\t1\nTraffic_Threshold_4\t25%\nTraffic_Duration_4\t2 sec\n\n"
    "PortTraf_5\t\t0\nTraffic_Threshold_5\t0%\nTraffic_Duration_5\t0 sec\n\n"
    "PortTraf_6\t\t0\nTraffic_Threshold_6\t0%\nTraffic_Duration_6\t0 sec\n\n"
    "PortTraf_7\t\t0\nTraffic_Threshold_7\t0%\nTraffic_Duration_7\t0 sec\n\n"
    "PortTraf_8\t\t1\nTraffic_Threshold_8\t99%\nTraffic_Duration_8\t7 sec\n\n";

constexpr std::string_view kRedundancyBanner =
    "\n###################################################\n"
    "# Communication redundancy                        #\n"
    "# Establish Ethernet communication redundant path #\n"
    "###################################################\n";

/// GenD1 and GenD2 with the redundancy word 1.
constexpr std::string_view kQuickSetup =
    "# [Redundant Flag]\n# Redundant Ring quick setup.\n# 0 Disable\n# 1 Enable\n"
    "QuickSetup\t1\n\n";

std::string RingLines(int protocol, int master, int coupling) {
  return "# [Redundancy Protocol]\n# Protocol of Redundancy.\n# 0 IEEE 802.1D\n"
         "# 1 Zorvel Ring with ORV-D8 series\n# 2 Zorvel Ring with ORV series\n"
         "WhichRedundant\t" +
         std::to_string(protocol) +
         "\n\n"
         "\n###################################################\n"
         "# Zorvel Ring Setting.                              #\n"
         "###################################################\n"
         "# [Set to be Master]\n# Set to be Master.\n# 0 NO\n# 1 Yes\n"
         "IsMaster\t" +
         std::to_string(master) +
         "\n\n"
         "# [Redundant Ring Coupling]\n# Redundant Ring Coupling.\n# 0 Disable\n# 1 Enable\n"
         "Coupling\t" +
         std::to_string(coupling) +
         "\n\n"
         "\n###################################################\n"
         "# IEEE 802.1D Setting.                              #\n"
         "###################################################\n";
}

constexpr std::string_view kSpanningTreeTimes =
    "# [Bridge Id]\n"
    "#  0: 0\n#  1: 4096\n#  2: 8192\n#  3: 12288\n#  4: 16384\n#  5: 20480\n"
    "#  6: 24576\n#  7: 28672\n#  8: 32768\n#  9: 36864\n# 10: 40960\n# 11: 45056\n"
    "# 12: 49152\n# 13: 53248\n# 14: 57344\n# 15: 61440\n"
    "BridgeId\t32768\n\n"
    "# [Hello Time]\n# Range 1 to 10 seconds\n"
    "HelloTime\t2sec.\n\n"
    "# [Max Age]\n# Range 6 to 40 seconds\n"
    "MaxAge\t\t20sec.\n\n"
    "# [Forwarding Delay]\n# Range 4 to 30 seconds\n"
    "Forwarding\t15sec.\n\n";

constexpr std::string_view kStpLegendD1D2 =
    "#################################\n"
    "# Comm. Redundancy Port Setting.#\n"
    "#################################\n"
    "# SPT_EN : Enable/Disable Spanning tree function.\n"
    "#          0 Disable\n"
    "#          1 Enable\n"
    "# Port_ID : Range 0 - 255\n"
    "# PortCost : Range 1 - 65535\n\n";

constexpr std::string_view kStpLegendD3D4 =
    "#################################\n"
    "# IEEE 802.1D Port Settings.    #\n"
    "#################################\n"
    "# SPT_EN : Enable/Disable IEEE 802.1D function.\n"
    "#          0 Disable\n"
    "#          1 Enable\n"
    "# Port_ID : Range 0 - 255\n"
    "# PortCost : Range 1 - 65535\n\n";

constexpr std::string_view kStpPortsAndEnd =
    "# [Port 1]\nSTP_EN1\t\t1\nPort_ID1\t16\nPortCost1\t19\n\n"
    "# [Port 2]\nSTP_EN2\t\t0\nPort_ID2\t32\nPortCost2\t38\n\n"
    "# [Port 3]\nSTP_EN3\t\t1\nPort_ID3\t48\nPortCost3\t57\n\n"
    "# [Port 4]\nSTP_EN4\t\t0\nPort_ID4\t64\nPortCost4\t76\n\n"
    "# [Port 5]\nSTP_EN5\t\t1\nPort_ID5\t80\nPortCost5\t95\n\n"
    "# [Port 6]\nSTP_EN6\t\t0\nPort_ID6\t96\nPortCost6\t114\n\n"
    "# [Port 7]\nSTP_EN7\t\t1\nPort_ID7\t112\nPortCost7\t133\n\n"
    "# [Port 8]\nSTP_EN8\t\t0\nPort_ID8\t128\nPortCost8\t65535\n\n"
    "\n# ----------End of File----------\n";

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return Crlf(text);
}

std::string ExpectedD2() {
  return Join({kHeader, kNetwork, kServerHead, kServerLocationOld, kServerTail, kPortsHead,
               kPorts1To6, kPorts7And8, kFastRecoveryToMirror, kMailBanner, kSmtpLegendAndServer,
               kMailTail, kRedundancyBanner, kQuickSetup, kSpanningTreeTimes, kStpLegendD1D2,
               kStpPortsAndEnd});
}

// ---------------------------------------------------------------------------
// Whole files.

TEST(GenDWriters, GenD2WholeFile) {
  Fixture f = Filled(Generation::kGenD2, 1);
  EXPECT_EQ(Write(f), ExpectedD2());
}

TEST(GenDWriters, GenD1WholeFileHasTheMailServerAndNoSmtpAccount) {
  Fixture f = Filled(Generation::kGenD1, 1);
  const ConfigBlock before = f.block;
  EXPECT_EQ(Write(f), Join({kHeader, kNetwork, kServerHead, kServerLocationOld, kServerTail,
                            kPortsHead, kPorts1To6, kPorts7And8, kFastRecoveryToMirror, kMailBanner,
                            kMailServerLegendAndServerD1, kMailTail, kRedundancyBanner, kQuickSetup,
                            kSpanningTreeTimes, kStpLegendD1D2, kStpPortsAndEnd}));
  // The SMTP password store has no item to land in.
  EXPECT_EQ(f.block, before);
}

TEST(GenDWriters, GenD3WholeFileSplitsTheRedundancyWord) {
  Fixture f = Filled(Generation::kGenD3, 0x32);
  const std::string ring = RingLines(1, 1, 1);
  EXPECT_EQ(Write(f), Join({kHeader, kNetwork, kServerHead, kServerLocationOld, kServerTail,
                            kPortsHead, kPorts1To6, kPorts7And8, kFastRecoveryToMirror, kMailBanner,
                            kSmtpLegendAndServer, kMailTail, kRedundancyBanner, ring,
                            kSpanningTreeTimes, kStpLegendD3D4, kStpPortsAndEnd}));
}

TEST(GenDWriters, GenD4WholeFileWithLongLocationAndRelaySection) {
  Fixture f = Filled(Generation::kGenD4, 0x42);
  const std::string ring = RingLines(2, 0, 0);
  EXPECT_EQ(Write(f),
            Join({kHeader, kNetwork, kServerHead, kServerLocationD4, kServerTail, kPortsHead,
                  kPorts1To6, kPorts7And8, kFastRecoveryToMirror, kMailBannerD4,
                  kSmtpLegendAndServer, kMailTail, kRelayD4, kRedundancyBanner, ring,
                  kSpanningTreeTimes, kStpLegendD3D4, kStpPortsAndEnd}));
}

TEST(GenDWriters, EveryLineEndsWithCrLf) {
  for (Generation g :
       {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3, Generation::kGenD4}) {
    Fixture f = Filled(g, 0);
    const std::string text = Write(f);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << GenerationName(g) << i;
      }
      if (text[i] == '\r') {
        ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << GenerationName(g) << i;
      }
    }
  }
}

TEST(GenDWriters, SlotFunctionsWriteTheirGeneration) {
  Fixture f = Filled(Generation::kGenD2, 1);
  std::string out;
  WriteGenD2ConfigFile(out, f.record, f.block, *f.accessors);
  EXPECT_EQ(out, ExpectedD2());

  Fixture d1 = Filled(Generation::kGenD1, 1);
  std::string viaSlot;
  std::string viaGeneration;
  WriteGenD1ConfigFile(viaSlot, d1.record, d1.block, *d1.accessors);
  WriteGenDConfigFile(Generation::kGenD1, viaGeneration, d1.record, d1.block, *d1.accessors);
  EXPECT_EQ(viaSlot, viaGeneration);

  Fixture d3 = Filled(Generation::kGenD3, 2);
  out.clear();
  WriteGenD3ConfigFile(out, d3.record, d3.block, *d3.accessors);
  EXPECT_NE(out.find("\r\nWhichRedundant\t1\r\n"), std::string::npos);

  Fixture d4 = Filled(Generation::kGenD4, 0);
  out.clear();
  WriteGenD4ConfigFile(out, d4.record, d4.block, *d4.accessors);
  EXPECT_NE(out.find("\r\nPortTraf_8\t\t1\r\n"), std::string::npos);
}

TEST(GenDWriters, OtherGenerationsAreRefused) {
  Fixture f = Filled(Generation::kGenD2, 1);
  std::string out = "untouched";
  EXPECT_FALSE(WriteGenDConfigFile(Generation::kGenA1, out, f.record, f.block, *f.accessors));
  EXPECT_FALSE(WriteGenDConfigFile(Generation::kGenM1, out, f.record, f.block, *f.accessors));
  EXPECT_EQ(out, "untouched");
}

// ---------------------------------------------------------------------------
// Single lines.

bool HasLine(const std::string& text, std::string_view line) {
  return text.find("\r\n" + Crlf(line)) != std::string::npos;
}

TEST(GenDLines, ModelLineIsThirdAndComesFromTheModelTable) {
  Fixture f = Filled(Generation::kGenD2, 0);
  const std::string firstLines =
      "[Meshvault Server Configuration File]\r\n# Model Name\r\nModelName\tORV-D8\r\n";
  EXPECT_EQ(Write(f).substr(0, firstLines.size()), firstLines);
  f.record.modelId = 0x6078;
  EXPECT_TRUE(HasLine(Write(f), "ModelName\tORV-D8-G2-W\n"));
  // An ID outside the model table: an empty model name, nothing else read.
  f.record.modelId = 0x60F8;
  EXPECT_TRUE(HasLine(Write(f), "ModelName\t\n"));
}

TEST(GenDLines, AddressEmptyValueRules) {
  Fixture f = Filled(Generation::kGenD2, 0);
  ItemAccessors& a = *f.accessors;
  Set(a, f.block, D_CONF_ETH_IPADDR, 0);
  Set(a, f.block, D_CONF_ETH_IPMASK, 0);
  Set(a, f.block, D_CONF_ETH_GATEWAY, kAllOnesIpv4);
  Set(a, f.block, D_CONF_ETH_DNSSIP, 0);
  Set(a, f.block, PcfgDevIp(8), 0);
  Set(a, f.block, PcfgDevIp(1), kAllOnesIpv4);
  std::string text = Write(f);
  EXPECT_TRUE(HasLine(text, "IPAddress\t0.0.0.0\n\n"));
  EXPECT_TRUE(HasLine(text, "Netmask\t\t\n\n"));
  EXPECT_TRUE(HasLine(text, "Gateway\t\t\n\n"));
  EXPECT_TRUE(HasLine(text, "DNSIP\t\n\n"));
  EXPECT_TRUE(HasLine(text, "Device8_IP\t\n\n"));
  // Device addresses are left empty only when zero.
  EXPECT_TRUE(HasLine(text, "Device1_IP\t255.255.255.255\nDevice2_IP\t\n"));

  Set(a, f.block, D_CONF_ETH_IPADDR, kAllOnesIpv4);
  Set(a, f.block, D_CONF_ETH_IPMASK, kAllOnesIpv4);
  Set(a, f.block, D_CONF_ETH_GATEWAY, 0);
  Set(a, f.block, D_CONF_ETH_DNSSIP, kAllOnesIpv4);
  text = Write(f);
  EXPECT_TRUE(HasLine(text, "IPAddress\t255.255.255.255\n\n"));
  EXPECT_TRUE(HasLine(text, "Netmask\t\t255.255.255.255\n\n"));
  EXPECT_TRUE(HasLine(text, "Gateway\t\t\n\n"));
  EXPECT_TRUE(HasLine(text, "DNSIP\t\n\n"));
}

TEST(GenDLines, ValueFormsOfTheExamples) {
  Fixture f = Filled(Generation::kGenD2, 0);
  const std::string text = Write(f);
  EXPECT_TRUE(HasLine(text, "Gateway\t\t192.168.1.254\n"));
  EXPECT_TRUE(HasLine(text, "ServerEvents\t4a\n"));
  EXPECT_TRUE(HasLine(text, "Traffic-Threshold1\t75%\n"));
  EXPECT_TRUE(HasLine(text, "HelloTime\t2sec.\n"));
  EXPECT_TRUE(HasLine(text, "QuickSetup\t0\n"));
}

TEST(GenDLines, RedundancyWordPrintsSignedLikeC) {
  Fixture f = Filled(Generation::kGenD2, 0xFFFFFFFF);
  EXPECT_TRUE(HasLine(Write(f), "QuickSetup\t-1\n\n"));
}

std::string MdiLines(std::uint16_t modelId) {
  Fixture f = Filled(Generation::kGenD2, 0);
  f.record.modelId = modelId;
  const std::string text = Write(f);
  std::string present;
  for (int p = 1; p <= 8; ++p) {
    if (HasLine(text, "Port" + std::to_string(p) + "_MDIFlag\t")) present += std::to_string(p);
  }
  return present;
}

TEST(GenDLines, MdiFlagLinesLeftOutPerModel) {
  EXPECT_EQ(MdiLines(0x6008), "12345678");
  EXPECT_EQ(MdiLines(0x6018), "1234567");
  EXPECT_EQ(MdiLines(0x6028), "1234567");
  EXPECT_EQ(MdiLines(0x6038), "123456");
  EXPECT_EQ(MdiLines(0x6048), "123456");
  EXPECT_EQ(MdiLines(0x6058), "12345678");
  EXPECT_EQ(MdiLines(0x6068), "1234567");
  EXPECT_EQ(MdiLines(0x6078), "1234567");
  EXPECT_EQ(MdiLines(0x6088), "123456");
  EXPECT_EQ(MdiLines(0x6098), "123456");
}

TEST(GenDLines, OmitsMdiFlagLineOnlyForPortsSevenAndEight) {
  EXPECT_FALSE(OmitsMdiFlagLine(0x6038, 6));
  EXPECT_TRUE(OmitsMdiFlagLine(0x6038, 7));
  EXPECT_FALSE(OmitsMdiFlagLine(0x6018, 7));
  EXPECT_TRUE(OmitsMdiFlagLine(0x6018, 8));
  EXPECT_FALSE(OmitsMdiFlagLine(0x6058, 8));
  EXPECT_FALSE(OmitsMdiFlagLine(0x6038, 9));
  EXPECT_FALSE(OmitsMdiFlagLine(0x6038, -1));
  EXPECT_FALSE(OmitsMdiFlagLine(0x0000, 8));
}

std::string RedundancyValues(Generation g, std::uint32_t word) {
  Fixture f = Filled(g, word);
  const std::string text = Write(f);
  std::string values;
  for (std::string_view key : {"WhichRedundant\t", "IsMaster\t", "Coupling\t"}) {
    const std::size_t at = text.find("\r\n" + std::string(key));
    if (at == std::string::npos) return "missing";
    values += text[at + 2 + key.size()];
  }
  return values;
}

TEST(GenDLines, RedundancyLinesOfGenD3) {
  EXPECT_EQ(RedundancyValues(Generation::kGenD3, 0x32), "111");
  EXPECT_EQ(RedundancyValues(Generation::kGenD3, 0x42), "100");
  EXPECT_EQ(RedundancyValues(Generation::kGenD3, 0x30), "011");
  EXPECT_EQ(RedundancyValues(Generation::kGenD3, 0x10), "010");
  EXPECT_EQ(RedundancyValues(Generation::kGenD3, 0x20), "001");
  EXPECT_EQ(RedundancyValues(Generation::kGenD3, 0x00), "000");
}

TEST(GenDLines, RedundancyLinesOfGenD4) {
  EXPECT_EQ(RedundancyValues(Generation::kGenD4, 0x42), "200");
  EXPECT_EQ(RedundancyValues(Generation::kGenD4, 0x02), "100");
  EXPECT_EQ(RedundancyValues(Generation::kGenD4, 0x40), "000");
  EXPECT_EQ(RedundancyValues(Generation::kGenD4, 0x72), "211");
  EXPECT_EQ(RedundancyValues(Generation::kGenD4, 0x32), "111");
}

TEST(GenDLines, GenD1AndGenD2HaveNoSplitRedundancyLines) {
  EXPECT_EQ(RedundancyValues(Generation::kGenD1, 0x32), "missing");
  EXPECT_EQ(RedundancyValues(Generation::kGenD2, 0x32), "missing");
  Fixture f = Filled(Generation::kGenD2, 0x32);
  EXPECT_TRUE(HasLine(Write(f), "QuickSetup\t50\n\n"));
}

TEST(GenDLines, RelayLinkValuePrefersOffToOn) {
  Fixture f = Filled(Generation::kGenD4, 0);
  ItemAccessors& a = *f.accessors;
  Set(a, f.block, RelayPortLink(5), 3);
  Set(a, f.block, RelayPortLink(6), 2);
  Set(a, f.block, RelayPortTraffic(6), 0x04);
  // Traffic and link share the port byte; each line reads only its bits.
  const std::string text = Write(f);
  EXPECT_TRUE(HasLine(text, "PortLink_5\t1\n\n"));
  EXPECT_TRUE(HasLine(text, "PortLink_6\t2\n\n"));
  EXPECT_TRUE(HasLine(text, "PortTraf_6\t\t1\n"));
  EXPECT_TRUE(HasLine(text, "PortTraf_5\t\t0\n"));
}

TEST(GenDLines, RelayWordBitsPickTheirOwnFlag) {
  Fixture f = Filled(Generation::kGenD4, 0);
  ItemAccessors& a = *f.accessors;
  Set(a, f.block, D_CONF_ETH_RELAY_SFLAG_NORMAL, 0);
  Set(a, f.block, D_CONF_ETH_RELAY_SFLAG_POWER1, 0);
  Set(a, f.block, D_CONF_ETH_RELAY_SFLAG_POWER2, 0x40);
  const std::string text = Write(f);
  EXPECT_TRUE(HasLine(text, "Override_Relay_Warning_Settings\t0\n\n"));
  EXPECT_TRUE(HasLine(text, "Power_Input_1_failure(On->Off)\t0\n\n"));
  EXPECT_TRUE(HasLine(text, "Power_Input_2_failure(On->Off)\t1\n\n"));
}

// ---------------------------------------------------------------------------
// Values the block cannot give, and values that would break the file.

TEST(GenDLines, ItemsOutsideAShortBlockAreWrittenEmpty) {
  // A GenD2 device that sent only the GenD1 part of its block: the mail
  // group and the SMTP texts lie beyond the valid bytes.
  Fixture f = Filled(Generation::kGenD2, 1);
  ASSERT_TRUE(f.block.Resize(656));
  const std::string text = Write(f);
  EXPECT_TRUE(HasLine(text, "SMTPServer\t\n\n"));
  EXPECT_TRUE(HasLine(text, "SMTPAccount\t\n\n"));
  EXPECT_TRUE(HasLine(text, "SMTPPassword\t\n\n"));
  EXPECT_TRUE(HasLine(text, "4th_e-mail_address\t\n\n"));
  EXPECT_TRUE(HasLine(text, "ServerEvents\t\n\n"));
  EXPECT_TRUE(HasLine(text, "PortEvents_1\t\t\nTraffic-Threshold1\t\nTraffic-Duration1\t\n\n"));
  // Everything before offset 656 is still there.
  EXPECT_TRUE(HasLine(text, "QuickSetup\t1\n\n"));
  EXPECT_TRUE(HasLine(text, "PortCost8\t65535\n\n"));

  // An empty block: every block value is empty, the file is still whole.
  ASSERT_TRUE(f.block.Resize(0));
  const std::string empty = Write(f);
  EXPECT_TRUE(HasLine(empty, "DHCP\t\n\n"));
  EXPECT_TRUE(HasLine(empty, "IPAddress\t\n\n"));
  EXPECT_TRUE(HasLine(empty, "Password\ts3cret\n\n"));
  EXPECT_TRUE(HasLine(empty, "HelloTime\t\n\n"));
  EXPECT_TRUE(HasLine(empty, "Port8_Enable\t\nPort8_MDIFlag\t\nPort8_Speed\t\n\n"));
  EXPECT_EQ(empty.substr(empty.size() - 37), "\r\n# ----------End of File----------\r\n");
}

TEST(GenDLines, RelayAndRingValuesOfAShortBlockAreEmpty) {
  Fixture f = Filled(Generation::kGenD4, 0x42);
  ASSERT_TRUE(f.block.Resize(1124));
  std::string text = Write(f);
  EXPECT_TRUE(HasLine(text, "Override_Relay_Warning_Settings\t\n\n"));
  EXPECT_TRUE(HasLine(text, "PortLink_1\t\n\n"));
  EXPECT_TRUE(HasLine(text, "PortTraf_1\t\t\nTraffic_Threshold_1\t\nTraffic_Duration_1\t\n\n"));
  EXPECT_TRUE(HasLine(text, "Location\t\n\n"));
  EXPECT_TRUE(HasLine(text, "WhichRedundant\t2\n\n"));
  ASSERT_TRUE(f.block.Resize(600));
  text = Write(f);
  EXPECT_TRUE(HasLine(text, "WhichRedundant\t\n\n"));
  EXPECT_TRUE(HasLine(text, "IsMaster\t\n\n"));
  EXPECT_TRUE(HasLine(text, "Coupling\t\n\n"));
}

TEST(GenDLines, LineBreaksInTextsCannotAddLines) {
  Fixture f = Filled(Generation::kGenD2, 0);
  SetText(*f.accessors, f.block, D_CONF_ETH_TRAPS, "x\r\nPassword\tevil");
  SetFieldText(f.record.password, "a\nb");
  const std::string text = Write(f);
  EXPECT_TRUE(HasLine(text, "TRAP\tx  Password\tevil\n\n"));
  EXPECT_TRUE(HasLine(text, "Password\ta b\n\n"));
  EXPECT_FALSE(HasLine(text, "Password\tevil"));
}

}  // namespace
}  // namespace vantrell
