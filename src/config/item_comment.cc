#include "config/item_comment.h"

#include <cstdio>
#include <span>

#include "config/config_catalogue.h"
#include "config/name_index.h"

namespace vantrell {
namespace {

using Lines = std::span<const std::string_view>;

// Explanation lines, shared by the rows that read the same.
constexpr std::string_view kDisableEnable[] = {"# 0 Disable\n", "# 1 Enable\n"};
constexpr std::string_view kFastRecovery[] = {
    "# Enable/Disable Line-Swap fast recovery for all ports.\n", "# 0 Disable All Ports\n",
    "# 1 Enable All Ports\n"};
constexpr std::string_view kHidePicture[] = {"# Show picture on web page.\n", "# 0 Disable\n",
                                             "# 1 Enable\n"};
constexpr std::string_view kWebConfig[] = {"# 1 Disable Web Configuration\n",
                                           "# 0 Enable Web Configuration\n"};
constexpr std::string_view kTelnet[] = {"# 1 Disable Telnet Console\n",
                                        "# 0 Enable Telnet Console\n"};
constexpr std::string_view kIpAddress[] = {"# IP address 255.255.255.255 means not set\n",
                                           "# (xxx.xxx.xxx.xxx)\n"};
constexpr std::string_view kAddressForm[] = {"# (xxx.xxx.xxx.xxx)\n"};
constexpr std::string_view kTrapServer[] = {"# IP or String (Max. length = 30 words.)\n"};
constexpr std::string_view kUserPassword[] = {"# User Password (Max. length = 16 words.)\n"};
constexpr std::string_view kAdminPassword[] = {"# Admin Password (Max. length = 16 words.)\n"};
constexpr std::string_view kRedundantPort1[] = {"# 1st Redundant port (1-8)\n"};
constexpr std::string_view kRedundantPort2[] = {"# 2nd Redundant port (1-8)\n"};
constexpr std::string_view kQosSchedule[] = {"# Queuing Mechanism\n",
                                             "# Weight Fair(8:4:2:1)               : 0\n",
                                             "# Strict(High Priority First Always) : 1\n"};
constexpr std::string_view kRstpVersion[] = {"# Force Version\n", "# 0 STP\n", "# 2 RSTP\n"};
constexpr std::string_view kCouplingPort[] = {"# Coupling port (1-8)\n"};
constexpr std::string_view kCouplingControlPort[] = {"# Coupling control port (1-8)\n"};
constexpr std::string_view kLockPort1[] = {"# Lock Port 1\n"};
constexpr std::string_view kLockPort2[] = {"# Lock Port 2\n"};
constexpr std::string_view kLockPort3[] = {"# Lock Port 3\n"};
constexpr std::string_view kLockPort4[] = {"# Lock Port 4\n"};
constexpr std::string_view kLockPort5[] = {"# Lock Port 5\n"};
constexpr std::string_view kLockPort6[] = {"# Lock Port 6\n"};
constexpr std::string_view kLockPort7[] = {"# Lock Port 7\n"};
constexpr std::string_view kLockPort8[] = {"# Lock Port 8\n"};
constexpr std::string_view kServerName[] = {"# Server name (max. length = 30 words.)\n"};
constexpr std::string_view kSwitchName[] = {"# Switch name (max. length = 30 words.)\n"};
constexpr std::string_view kCommunity[] = {"# SNMP Community name (max. length = 30 words.)\n"};
constexpr std::string_view kServerLocationOld[] = {"# Server location (max. length = 30 words.)\n"};
constexpr std::string_view kServerLocation[] = {"# Server location (max. length = 80 words.)\n"};
constexpr std::string_view kSwitchLocation[] = {"# Switch location (max. length = 80 words.)\n"};
constexpr std::string_view kServerDescription[] = {
    "# Server description (max. length = 30 words.)\n"};
constexpr std::string_view kSwitchDescription[] = {
    "# Switch description (max. length = 30 words.)\n"};
constexpr std::string_view kServerContact[] = {
    "# Server Contact Info. (max. length = 30 words.)\n"};
constexpr std::string_view kSwitchContact[] = {
    "# Switch Contact Info. (max. length = 30 words.)\n"};
constexpr std::string_view kMirrorPort[] = {"# Mirror port number (no. 1 ~ 8).\n",
                                            "# Set '0' indicates not use.\n"};
constexpr std::string_view kMirroredPort[] = {"# Mirrored port number (no. 1 ~ 8).\n",
                                              "# Set '0' indicates not use.\n"};
constexpr std::string_view kDeviceIp[] = {"# DeviceIP : (XXX.XXX.XXX.XXX)\n"};
constexpr std::string_view kPriority[] = {"# 1 HIGH\n", "# 0 LOW\n"};
constexpr std::string_view kWatchDirection[] = {"# Watch Direction.\n", "# 0 Input data stream\n",
                                                "# 1 Output data stream\n", "# 2 Bi-directional\n"};
constexpr std::string_view kPortGroup[] = {
    "# Group1(bit 0)+Group2(bit 1)+Group3(bit 2)+Group4(bit 3)\n",
    "# 00 No Group\n",
    "# 01 Group1\n",
    "# 02 Group2\n",
    "# 04 Group3\n",
    "# 08 Group4\n"};
constexpr std::string_view kServerEvents[] = {"# 00\tDisable All.\n",
                                              "# 01\tEnable Server Cold Start.\n",
                                              "# 02\tEnable Server Warm Start.\n",
                                              "# 04\tEnable Configuration Change Activated.\n",
                                              "# 08\tEnable Power Transition (On->Off).\n",
                                              "# 10\tEnable Power Transition (Off->On).\n",
                                              "# 20\tEnable Authentication Failure.\n",
                                              "# 40\tEnable Comm. Redundancy Topology Changed.\n"};
constexpr std::string_view kPortEvents[] = {
    "# PortEvents = LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)\n",
    "# 00\tDisable All.\n",
    "# 01\tEnable Link-ON.\n",
    "# 02\tEnable Link-OFF.\n",
    "# 04\tEnable Traffic-Overload.\n",
    "# Traffic-Threshold : Range 0 ~ 100 %.\n",
    "# Traffic-Duration : Range 1 ~ 300 (sec.)\n"};
constexpr std::string_view kQuickSetup[] = {"# Redundant Ring quick setup.\n", "# 0 Disable\n",
                                            "# 1 Enable\n"};
constexpr std::string_view kRedundancyProtocolD8[] = {
    "# Protocol of Redundancy.\n", "# 0 IEEE 802.1D\n", "# 1 Zorvel Ring with ORV-D8 series\n",
    "# 2 Zorvel Ring with ORV series\n"};
constexpr std::string_view kRedundancyProtocolA8[] = {"# Protocol of Redundancy.\n",
                                                      "# 0 IEEE 802.1W/D\n", "# 1 Zorvel Ring\n"};
constexpr std::string_view kRingMaster[] = {"# Set to be Master.\n", "# 0 NO\n", "# 1 Yes\n"};
constexpr std::string_view kRingCoupling[] = {"# Redundant Ring Coupling.\n", "# 0 Disable\n",
                                              "# 1 Enable\n"};
constexpr std::string_view kHelloTime[] = {"# Range 1 to 10 seconds\n"};
constexpr std::string_view kMaxAge[] = {"# Range 6 to 40 seconds\n"};
constexpr std::string_view kForwardDelay[] = {"# Range 4 to 30 seconds\n"};
constexpr std::string_view kPowerInput2[] = {"# 0 Disable\n", "# 1 Enable (relay 1)\n",
                                             "# 2 Enable (relay 2)\n"};
constexpr std::string_view kRelayPortLink[] = {"# 0 Ignore\n", "# 1 Off->On\n", "# 2 On->Off\n"};
constexpr std::string_view kRelayPortTraffic[] = {"# 0 Disable\n", "# 1 Enable\n",
                                                  "# Traffic-Threshold : Range 0 ~ 100 %.\n",
                                                  "# Traffic-Duration : Range 1 ~ 300 (sec.)\n"};
constexpr std::string_view kDigitalInput[] = {"# 0 Disable\n", "# 1 Enable(relay 1)\n",
                                              "# 2 Enable(relay 2)\n"};
constexpr std::string_view kQueryPeriod[] = {"# range is 30-400 (second)\n"};

/// The bridge priority legend: sixteen lines "# %2d: %d" for the priorities
/// 0 to 15 and their bridge IDs (priority x 4096).
constexpr int kBridgePriorities = 16;
constexpr unsigned kBridgePriorityStep = 4096;
constexpr std::string_view kBridgeIdRow = "D_CONF_ETH_SPAN_BRIDGE_ID";

struct CommentRow {
  std::string_view constName;
  Lines lines;
};

constexpr CommentRow kCommentTable[] = {
    {"D_CONF_ETH_FLAG_DHCP", kDisableEnable},
    {"D_CONF_ETH_FLAG_FASTRECOVERY", kFastRecovery},
    {"D_CONF_ETH_FLAG_HIDE", kHidePicture},
    {"D_CONF_ETH_FLAG_WEB", kWebConfig},
    {"D_CONF_ETH_FLAG_TELNET", kTelnet},
    {"D_CONF_ETH_IPADDR", kIpAddress},
    {"D_CONF_ETH_GATEWAY", kAddressForm},
    {"D_CONF_ETH_DNSSIP", kAddressForm},
    {"D_CONF_ETH_IPMASK", kAddressForm},
    {"D_CONF_ETH_TRAPS", kTrapServer},
    {"D_CONF_ETH_USERPWD", kUserPassword},
    {"D_CONF_ETH_ADMINPWD", kAdminPassword},
    {"D_CONF_ETH_REDUN_PORT1", kRedundantPort1},
    {"D_CONF_ETH_REDUN_PORT2", kRedundantPort2},
    {"D_CONF_QOS_SCHEDULE", kQosSchedule},
    {"D_CONF_ETH_RSTP_VERSION", kRstpVersion},
    {"D_CONF_ETH_REDUN_CPL_PORT", kCouplingPort},
    {"D_CONF_ETH_REDUN_CPL_CTRLPORT", kCouplingControlPort},
    {"D_CONF_PORT_LOCK1", kLockPort1},
    {"D_CONF_PORT_LOCK2", kLockPort2},
    {"D_CONF_PORT_LOCK3", kLockPort3},
    {"D_CONF_PORT_LOCK4", kLockPort4},
    {"D_CONF_PORT_LOCK5", kLockPort5},
    {"D_CONF_PORT_LOCK6", kLockPort6},
    {"D_CONF_PORT_LOCK7", kLockPort7},
    {"D_CONF_PORT_LOCK8", kLockPort8},
    {"D_CONF_ETH_NAME", kServerName},
    {"D_CONF_ETH_NAMEA8", kSwitchName},
    {"D_CONF_ETH_COMMUNITY", kCommunity},
    {"D_CONF_ETH_LOCATION_OLD", kServerLocationOld},
    {"D_CONF_ETH_LOCATION", kServerLocation},
    {"D_CONF_ETH_LOCATIONA8", kSwitchLocation},
    {"D_CONF_ETH_SYSDESCR", kServerDescription},
    {"D_CONF_ETH_SYSDESCRA8", kSwitchDescription},
    {"D_CONF_ETH_CONTACT", kServerContact},
    {"D_CONF_ETH_CONTACTA8", kSwitchContact},
    {"D_CONF_ETH_MIRROR_PORT", kMirrorPort},
    {"D_CONF_ETH_TARGET_PORT", kMirroredPort},
    {"D_CONF_ETH_PCFG_DEVIP1", kDeviceIp},
    {"D_CONF_ETH_PCFG_PRIORITY1", kPriority},
    {"D_CONF_ETH_MIRROR_DIR", kWatchDirection},
    {"D_CONF_ETH_PCFG_GROUP1", kPortGroup},
    {"D_CONF_ETH_WARN_SFLAG", kServerEvents},
    {"D_CONF_ETH_WARN_PFLAG1", kPortEvents},
    {"D_CONF_ETH_SPAN_REDUN", kQuickSetup},
    {"D_CONF_ETH_REDUN_PROTOCOL", kRedundancyProtocolD8},
    {"D_CONF_ETHA8_REDUN_PROTOCOL", kRedundancyProtocolA8},
    {"D_CONF_ETH_REDUN_MASTER", kRingMaster},
    {"D_CONF_ETH_REDUN_COUPLING", kRingCoupling},
    {kBridgeIdRow, {}},  // lines generated, see WriteBridgePriorities
    {"D_CONF_ETH_SPAN_HELLO_TIME", kHelloTime},
    {"D_CONF_ETH_SPAN_MAX_AGE", kMaxAge},
    {"D_CONF_ETH_SPAN_FD_DELAY", kForwardDelay},
    {"D_CONF_ETH_RELAY_SFLAG_NORMAL", kDisableEnable},
    {"D_CONF_RELAY_SFLAG_NORMAL1", kDisableEnable},
    {"D_CONF_RELAY_SFLAG_NORMAL2", kDisableEnable},
    {"D_CONF_ETH_RELAY_SFLAG_POWER1", kDisableEnable},
    {"D_CONF_ETH_RELAY_SFLAG_POWER2", kPowerInput2},
    {"D_CONF_ETH_RELAY_PFLAG_LINK1", kRelayPortLink},
    {"D_CONF_ETH_RELAY_PFLAG_TRAF1", kRelayPortTraffic},
    {"D_CONF_RELAY_SFLAG_DI1_ON2OFF", kDigitalInput},
    {"D_CONF_IGMPSNOOP_QUERY_PERIDO", kQueryPeriod},
};

constexpr auto kCommentRowName = [](std::size_t row) { return kCommentTable[row].constName; };
constexpr std::size_t kCommentSlots = 128;
static_assert(std::size(kCommentTable) <= kCommentSlots / 2);
constexpr NameIndex<kCommentSlots> kCommentRowsByName =
    NameIndex<kCommentSlots>::Build(std::size(kCommentTable), kCommentRowName);

const CommentRow* FindCommentRow(std::string_view constName) {
  const auto row = kCommentRowsByName.Find(constName, kCommentRowName);
  return row ? &kCommentTable[*row] : nullptr;
}

void WriteBridgePriorities(ConfigTextWriter& file) {
  for (int i = 0; i < kBridgePriorities; ++i) {
    char line[32];
    const int length = std::snprintf(line, sizeof line, "# %2d: %u\n", i,
                                     static_cast<unsigned>(i) * kBridgePriorityStep);
    if (length > 0) file.Write(std::string_view(line, static_cast<std::size_t>(length)));
  }
}

}  // namespace

void writeItemComment(ConfigTextWriter& file, std::string_view constName) {
  if (const auto label = catalogueLabel(constName)) file.Write({"# ", *label, "\n"});
  const CommentRow* row = FindCommentRow(constName);
  if (!row) return;
  if (row->constName == kBridgeIdRow) {
    WriteBridgePriorities(file);
    return;
  }
  for (std::string_view line : row->lines) file.Write(line);
}

}  // namespace vantrell
