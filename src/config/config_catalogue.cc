#include "config/config_catalogue.h"

namespace vantrell {
namespace {

// clang-format off
constexpr CatalogueRow kFilledRows[] = {
    {"uchar", "D_CONF_ETH_NAME", "ServerName", "[Server Name]"},  // 0
    {"uchar", "D_CONF_ETH_NAMEA8", "SwitchName", "[Switch Name]"},  // 1
    {"ulong", "D_CONF_ETH_MARK", "NULL", "NULL"},  // 2
    {"ushort", "D_CONF_ETH_SUM1", "NULL", "NULL"},  // 3
    {"ushort", "D_CONF_ETH_LEN1", "NULL", "NULL"},  // 4
    {"ulong", "D_CONF_ETH_IPADDR", "IPAddress", "[IP Address] "},  // 5
    {"ulong", "D_CONF_ETH_IPMASK", "Netmask", "[Subnet Mask]"},  // 6
    {"ulong", "D_CONF_ETH_GATEWAY", "Gateway", "[Default Gateway]"},  // 7
    {"ulong", "D_CONF_ETH_FLAG_DHCP", "DHCP", "[DHCP]"},  // 8
    {"ulong", "D_CONF_ETH_FLAG_AUTOIP", "AUTOIP", "[Auto IP Configuration]"},  // 9
    {"ulong", "D_CONF_ETH_FLAG_FASTRECOVERY", "FASTRECOVERY", "[Line-Swap fast recovery]"},  // 10
    {"ulong", "D_CONF_ETH_FLAG_HIDE", "HidePicture", "[Hide Web Picture]"},  // 11
    {"ulong", "D_CONF_ETH_FLAG_WEB", "WebConfig", "[Web Configuration]"},  // 12
    {"ulong", "D_CONF_ETH_FLAG_WEBA8", "WebConfig", "[Web Configuration]"},  // 13
    {"ulong", "D_CONF_ETH_FLAG_TELNET", "TelnetConsole", "[Telnet Console]"},  // 14
    {"ulong", "D_CONF_ETH_FLAG_TELNETA8", "TelnetConsole", "[Telnet Console]"},  // 15
    {"ulong", "D_CONF_ETH_DNSSIP", "DNSIP", "[DNS Server IP Address]"},  // 16
    {"ulong", "D_CONF_ETH_DNSSIP1", "DNSIP1", "[DNS Server IP Address]"},  // 17
    {"char", "D_CONF_ETH_DHCPS", "DHCP", "[DHCP IP]"},  // 18
    {"char", "D_CONF_ETH_USERNAME", "Username", "[Server username]"},  // 19
    {"char", "D_CONF_ETH_PASSWORD", "Password", "[Server password]"},  // 20
    {"char", "D_CONF_ETH_SYSNAME", "SysName", "[Server SysName]"},  // 21
    {"char", "D_CONF_ETH_LOCATION_OLD", "Location", "[Server Location]"},  // 22
    {"char", "D_CONF_ETH_SYSDESCR", "SysDescr", "[Server Description]"},  // 23
    {"char", "D_CONF_ETH_SYSDESCRA8", "SysDescr", "[Switch Description]"},  // 24
    {"char", "D_CONF_ETH_CONTACT", "Contact", "[Maintainer Contact Info]"},  // 25
    {"char", "D_CONF_ETH_CONTACTA8", "Contact", "[Maintainer Contact Info]"},  // 26
    {"uchar", "D_CONF_ETH_MIRROR_PORT", "MirrorPort", "[Mirror Port]"},  // 27
    {"uchar", "D_CONF_ETH_TARGET_PORT", "MirroredPort", "[Mirrored Port]"},  // 28
    {"uchar", "D_CONF_ETH_MIRROR_DIR", "WatchDirection", "[Watch Direction]"},  // 29
    {"uchar", "D_CONF_ETH_PCFG_DISABLE1", "Port1_Enable", "[Port Enable]"},  // 30
    {"uchar", "D_CONF_ETH_PCFG_FLAG1", "Port1_MDIFlag", "[ProtMDIFlag]"},  // 31
    {"uchar", "D_CONF_ETH_PCFG_SPEED1", "Port1_Speed", "[PortSpeed]"},  // 32
    {"uchar", "D_CONF_ETH_PCFG_FDX1", "Port1_FDX", "[PortFDX]"},  // 33
    {"uchar", "D_CONF_ETH_PCFG_GROUP1", "Port1_Group", "[PortGroup(Hex.)]"},  // 34
    {"ulong", "D_CONF_ETH_PCFG_DEVIP1", "Device1_IP", "[Desired IP]"},  // 35
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY1", "Port1_Priority", "[Priority]"},  // 36
    {"uchar", "D_CONF_ETH_PCFG_DISABLE2", "Port2_Enable", "[Port Enable]"},  // 37
    {"uchar", "D_CONF_ETH_PCFG_FLAG2", "Port2_MDIFlag", "[ProtMDIFlag]"},  // 38
    {"uchar", "D_CONF_ETH_PCFG_SPEED2", "Port2_Speed", "[PortSpeed]"},  // 39
    {"uchar", "D_CONF_ETH_PCFG_FDX2", "Port2_FDX", "[PortFDX]"},  // 40
    {"uchar", "D_CONF_ETH_PCFG_GROUP2", "Port2_Group", "[PortGroup(Hex.)]"},  // 41
    {"ulong", "D_CONF_ETH_PCFG_DEVIP2", "Device2_IP", "[Desired IP]"},  // 42
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY2", "Port2_Priority", "[Priority]"},  // 43
    {"uchar", "D_CONF_ETH_PCFG_DISABLE3", "Port3_Enable", "[Port Enable]"},  // 44
    {"uchar", "D_CONF_ETH_PCFG_FLAG3", "Port3_MDIFlag", "[ProtMDIFlag]"},  // 45
    {"uchar", "D_CONF_ETH_PCFG_SPEED3", "Port3_Speed", "[PortSpeed]"},  // 46
    {"uchar", "D_CONF_ETH_PCFG_FDX3", "Port3_FDX", "[PortFDX]"},  // 47
    {"uchar", "D_CONF_ETH_PCFG_GROUP3", "Port3_Group", "[PortGroup(Hex.)]"},  // 48
    {"ulong", "D_CONF_ETH_PCFG_DEVIP3", "Device3_IP", "[Desired IP]"},  // 49
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY3", "Port3_Priority", "[Priority]"},  // 50
    {"uchar", "D_CONF_ETH_PCFG_DISABLE4", "Port4_Enable", "[Port Enable]"},  // 51
    {"uchar", "D_CONF_ETH_PCFG_FLAG4", "Port4_MDIFlag", "[ProtMDIFlag]"},  // 52
    {"uchar", "D_CONF_ETH_PCFG_SPEED4", "Port4_Speed", "[PortSpeed]"},  // 53
    {"uchar", "D_CONF_ETH_PCFG_FDX4", "Port4_FDX", "[PortFDX]"},  // 54
    {"uchar", "D_CONF_ETH_PCFG_GROUP4", "Port4_Group", "[PortGroup(Hex.)]"},  // 55
    {"ulong", "D_CONF_ETH_PCFG_DEVIP4", "Device4_IP", "[Desired IP]"},  // 56
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY4", "Port4_Priority", "[Priority]"},  // 57
    {"uchar", "D_CONF_ETH_PCFG_DISABLE5", "Port5_Enable", "[Port Enable]"},  // 58
    {"uchar", "D_CONF_ETH_PCFG_FLAG5", "Port5_MDIFlag", "[ProtMDIFlag]"},  // 59
    {"uchar", "D_CONF_ETH_PCFG_SPEED5", "Port5_Speed", "[PortSpeed]"},  // 60
    {"uchar", "D_CONF_ETH_PCFG_FDX5", "Port5_FDX", "[PortFDX]"},  // 61
    {"uchar", "D_CONF_ETH_PCFG_GROUP5", "Port5_Group", "[PortGroup(Hex.)]"},  // 62
    {"ulong", "D_CONF_ETH_PCFG_DEVIP5", "Device5_IP", "[Desired IP]"},  // 63
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY5", "Port5_Priority", "[Priority]"},  // 64
    {"uchar", "D_CONF_ETH_PCFG_DISABLE6", "Port6_Enable", "[Port Enable]"},  // 65
    {"uchar", "D_CONF_ETH_PCFG_FLAG6", "Port6_MDIFlag", "[ProtMDIFlag]"},  // 66
    {"uchar", "D_CONF_ETH_PCFG_SPEED6", "Port6_Speed", "[PortSpeed]"},  // 67
    {"uchar", "D_CONF_ETH_PCFG_FDX6", "Port6_FDX", "[PortFDX]"},  // 68
    {"uchar", "D_CONF_ETH_PCFG_GROUP6", "Port6_Group", "[PortGroup(Hex.)]"},  // 69
    {"ulong", "D_CONF_ETH_PCFG_DEVIP6", "Device6_IP", "[Desired IP]"},  // 70
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY6", "Port6_Priority", "[Priority]"},  // 71
    {"uchar", "D_CONF_ETH_PCFG_DISABLE7", "Port7_Enable", "[Port Enable]"},  // 72
    {"uchar", "D_CONF_ETH_PCFG_FLAG7", "Port7_MDIFlag", "[ProtMDIFlag]"},  // 73
    {"uchar", "D_CONF_ETH_PCFG_SPEED7", "Port7_Speed", "[PortSpeed]"},  // 74
    {"uchar", "D_CONF_ETH_PCFG_FDX7", "Port7_FDX", "[PortFDX]"},  // 75
    {"uchar", "D_CONF_ETH_PCFG_GROUP7", "Port7_Group", "[PortGroup(Hex.)]"},  // 76
    {"ulong", "D_CONF_ETH_PCFG_DEVIP7", "Device7_IP", "[Desired IP]"},  // 77
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY7", "Port7_Priority", "[Priority]"},  // 78
    {"uchar", "D_CONF_ETH_PCFG_DISABLE8", "Port8_Enable", "[Port Enable]"},  // 79
    {"uchar", "D_CONF_ETH_PCFG_FLAG8", "Port8_MDIFlag", "[ProtMDIFlag]"},  // 80
    {"uchar", "D_CONF_ETH_PCFG_SPEED8", "Port8_Speed", "[PortSpeed]"},  // 81
    {"uchar", "D_CONF_ETH_PCFG_FDX8", "Port8_FDX", "[PortFDX]"},  // 82
    {"uchar", "D_CONF_ETH_PCFG_GROUP8", "Port8_Group", "[PortGroup(Hex.)]"},  // 83
    {"ulong", "D_CONF_ETH_PCFG_DEVIP8", "Device8_IP", "[Desired IP]"},  // 84
    {"uchar", "D_CONF_ETH_PCFG_PRIORITY8", "Port8_Priority", "[Priority]"},  // 85
    {"ulong", "D_CONF_ETH_PCFG_DEVIP9", "Device9_IP", "[Desired IP]"},  // 86
    {"ulong", "D_CONF_ETH_PCFG_DEVIP10", "Device10_IP", "[Desired IP]"},  // 87
    {"ulong", "D_CONF_ETH_PCFG_DEVIP11", "Device11_IP", "[Desired IP]"},  // 88
    {"ulong", "D_CONF_ETH_PCFG_DEVIP12", "Device12_IP", "[Desired IP]"},  // 89
    {"char", "D_CONF_ETH_WARN_MAILS", "MailServer", "[MailServer]"},  // 90
    {"char", "D_CONF_ETH_WARN_TO1", "1st_e-mail_address", "[1st_e-mail_address]"},  // 91
    {"char", "D_CONF_ETH_WARN_TO2", "2nd_e-mail_address", "[2nd_e-mail_address]"},  // 92
    {"char", "D_CONF_ETH_WARN_TO3", "3rd_e-mail_address", "[3rd_e-mail_address]"},  // 93
    {"char", "D_CONF_ETH_WARN_TO4", "4th_e-mail_address", "[4th_e-mail_address]"},  // 94
    {"ulong", "D_CONF_ETH_WARN_SFLAG", "ServerEvents", "[Server Events(Hex.)]"},  // 95
    {"ulong", "D_CONF_ETH_WARN_SFLAGA8", "SystemEvents", "[System Events(Hex.)]"},  // 96
    {"uchar", "D_CONF_ETH_WARN_PFLAG1", "PortEvents_1", "[PortEvents(Hex.)]"},  // 97
    {"uchar", "D_CONF_ETH_WARN_PFLAG2", "PortEvents_2", "[PortEvents(Hex.)]"},  // 98
    {"uchar", "D_CONF_ETH_WARN_PFLAG3", "PortEvents_3", "[PortEvents(Hex.)]"},  // 99
    {"uchar", "D_CONF_ETH_WARN_PFLAG4", "PortEvents_4", "[PortEvents(Hex.)]"},  // 100
    {"uchar", "D_CONF_ETH_WARN_PFLAG5", "PortEvents_5", "[PortEvents(Hex.)]"},  // 101
    {"uchar", "D_CONF_ETH_WARN_PFLAG6", "PortEvents_6", "[PortEvents(Hex.)]"},  // 102
    {"uchar", "D_CONF_ETH_WARN_PFLAG7", "PortEvents_7", "[PortEvents(Hex.)]"},  // 103
    {"uchar", "D_CONF_ETH_WARN_PFLAG8", "PortEvents_8", "[PortEvents(Hex.)]"},  // 104
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME1", "Traffic-Duration1", "[Duration]"},  // 105
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME2", "Traffic-Duration2", "[Duration]"},  // 106
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME3", "Traffic-Duration3", "[Duration]"},  // 107
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME4", "Traffic-Duration4", "[Duration]"},  // 108
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME5", "Traffic-Duration5", "[Duration]"},  // 109
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME6", "Traffic-Duration6", "[Duration]"},  // 110
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME7", "Traffic-Duration7", "[Duration]"},  // 111
    {"ulong", "D_CONF_ETH_WARN_PLOADTIME8", "Traffic-Duration8", "[Duration]"},  // 112
    {"ulong", "D_CONF_ETH_WARN_PLOAD1", "Traffic-Threshold1", "[Threshold]"},  // 113
    {"ulong", "D_CONF_ETH_WARN_PLOAD2", "Traffic-Threshold2", "[Threshold]"},  // 114
    {"ulong", "D_CONF_ETH_WARN_PLOAD3", "Traffic-Threshold3", "[Threshold]"},  // 115
    {"ulong", "D_CONF_ETH_WARN_PLOAD4", "Traffic-Threshold4", "[Threshold]"},  // 116
    {"ulong", "D_CONF_ETH_WARN_PLOAD5", "Traffic-Threshold5", "[Threshold]"},  // 117
    {"ulong", "D_CONF_ETH_WARN_PLOAD6", "Traffic-Threshold6", "[Threshold]"},  // 118
    {"ulong", "D_CONF_ETH_WARN_PLOAD7", "Traffic-Threshold7", "[Threshold]"},  // 119
    {"ulong", "D_CONF_ETH_WARN_PLOAD8", "Traffic-Threshold8", "[Threshold]"},  // 120
    {"uchar", "D_CONF_ETH_SPAN_PORT1_EN", "STP_EN1", "[Enable STP]"},  // 121
    {"uchar", "D_CONF_ETH_SPAN_PORT2_EN", "STP_EN2", "[Enable STP]"},  // 122
    {"uchar", "D_CONF_ETH_SPAN_PORT3_EN", "STP_EN3", "[Enable STP]"},  // 123
    {"uchar", "D_CONF_ETH_SPAN_PORT4_EN", "STP_EN4", "[Enable STP]"},  // 124
    {"uchar", "D_CONF_ETH_SPAN_PORT5_EN", "STP_EN5", "[Enable STP]"},  // 125
    {"uchar", "D_CONF_ETH_SPAN_PORT6_EN", "STP_EN6", "[Enable STP]"},  // 126
    {"uchar", "D_CONF_ETH_SPAN_PORT7_EN", "STP_EN7", "[Enable STP]"},  // 127
    {"uchar", "D_CONF_ETH_SPAN_PORT8_EN", "STP_EN8", "[Enable STP]"},  // 128
    {"uchar", "D_CONF_ETH_SPAN_TRK1_EN", "STP_EN9", "[Enable STP]"},  // 129
    {"uchar", "D_CONF_ETH_SPAN_TRK2_EN", "STP_EN10", "[Enable STP]"},  // 130
    {"uchar", "D_CONF_ETH_SPAN_TRK3_EN", "STP_EN11", "[Enable STP]"},  // 131
    {"uchar", "D_CONF_ETH_SPAN_TRK4_EN", "STP_EN12", "[Enable STP]"},  // 132
    {"uchar", "D_CONF_ETH_SPAN_PORT1_ID", "Port_ID1", "[Port ID]"},  // 133
    {"uchar", "D_CONF_ETH_SPAN_PORT2_ID", "Port_ID2", "[Port ID]"},  // 134
    {"uchar", "D_CONF_ETH_SPAN_PORT3_ID", "Port_ID3", "[Port ID]"},  // 135
    {"uchar", "D_CONF_ETH_SPAN_PORT4_ID", "Port_ID4", "[Port ID]"},  // 136
    {"uchar", "D_CONF_ETH_SPAN_PORT5_ID", "Port_ID5", "[Port ID]"},  // 137
    {"uchar", "D_CONF_ETH_SPAN_PORT6_ID", "Port_ID6", "[Port ID]"},  // 138
    {"uchar", "D_CONF_ETH_SPAN_PORT7_ID", "Port_ID7", "[Port ID]"},  // 139
    {"uchar", "D_CONF_ETH_SPAN_PORT8_ID", "Port_ID8", "[Port ID]"},  // 140
    {"uchar", "D_CONF_ETH_SPAN_TRK1_ID", "Port_ID9", "[Port ID]"},  // 141
    {"uchar", "D_CONF_ETH_SPAN_TRK2_ID", "Port_ID10", "[Port ID]"},  // 142
    {"uchar", "D_CONF_ETH_SPAN_TRK3_ID", "Port_ID11", "[Port ID]"},  // 143
    {"uchar", "D_CONF_ETH_SPAN_TRK4_ID", "Port_ID12", "[Port ID]"},  // 144
    {"ushort", "D_CONF_ETH_SPAN_PATH1_COST", "PortCost1", "[Port Cost]"},  // 145
    {"ushort", "D_CONF_ETH_SPAN_PATH2_COST", "PortCost2", "[Port Cost]"},  // 146
    {"ushort", "D_CONF_ETH_SPAN_PATH3_COST", "PortCost3", "[Port Cost]"},  // 147
    {"ushort", "D_CONF_ETH_SPAN_PATH4_COST", "PortCost4", "[Port Cost]"},  // 148
    {"ushort", "D_CONF_ETH_SPAN_PATH5_COST", "PortCost5", "[Port Cost]"},  // 149
    {"ushort", "D_CONF_ETH_SPAN_PATH6_COST", "PortCost6", "[Port Cost]"},  // 150
    {"ushort", "D_CONF_ETH_SPAN_PATH7_COST", "PortCost7", "[Port Cost]"},  // 151
    {"ushort", "D_CONF_ETH_SPAN_PATH8_COST", "PortCost8", "[Port Cost]"},  // 152
    {"ushort", "D_CONF_ETH_SPAN_TRK1_COST", "PortCost9", "[Port Cost]"},  // 153
    {"ushort", "D_CONF_ETH_SPAN_TRK2_COST", "PortCost10", "[Port Cost]"},  // 154
    {"ushort", "D_CONF_ETH_SPAN_TRK3_COST", "PortCost11", "[Port Cost]"},  // 155
    {"ushort", "D_CONF_ETH_SPAN_TRK4_COST", "PortCost12", "[Port Cost]"},  // 156
    {"ushort", "D_CONF_ETH_SPAN_HELLO_TIME", "HelloTime", "[Hello Time]"},  // 157
    {"ushort", "D_CONF_ETH_SPAN_MAX_AGE", "MaxAge", "[Max Age]"},  // 158
    {"ushort", "D_CONF_ETH_SPAN_FD_DELAY", "Forwarding", "[Forwarding Delay]"},  // 159
    {"ushort", "D_CONF_ETH_SPAN_BRIDGE_ID", "BridgeId", "[Bridge Id]"},  // 160
    {"ulong", "D_CONF_ETH_SPAN_REDUN", "QuickSetup", "[Redundant Flag]"},  // 161
    {"char", "D_CONF_ETH_WARN_SMTP_UNAME", "SMTPAccount", "[SMTP Account]"},  // 162
    {"char", "D_CONF_ETH_WARN_SMTP_PASSWD", "SMTPPassword", "[SMTP Password]"},  // 163
    {"char", "D_CONF_ETH_WARN_SMTPSrv", "SMTPServer", "[SMTPServer]"},  // 164
    {"char", "D_CONF_ETH_REDUN_PROTOCOL", "WhichRedundant", "[Redundancy Protocol]"},  // 165
    {"char", "D_CONF_ETH_REDUN_MASTER", "IsMaster", "[Set to be Master]"},  // 166
    {"char", "D_CONF_ETH_REDUN_COUPLING", "Coupling", "[Redundant Ring Coupling]"},  // 167
    {"ulong", "D_CONF_ETH_RELAY_SFLAG_NORMAL", "Override_Relay_Warning_Settings", "[Override Relay Warning Settings]"},  // 168
    {"ulong", "D_CONF_ETH_RELAY_SFLAG_POWER1", "Power_Input_1_failure(On->Off)", "[Power Events]"},  // 169
    {"ulong", "D_CONF_ETH_RELAY_SFLAG_POWER2", "Power_Input_2_failure(On->Off)", "[Power Events]"},  // 170
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK1", "PortLink_1", "[Port Link Events]"},  // 171
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK2", "PortLink_2", "[Port Link Events]"},  // 172
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK3", "PortLink_3", "[Port Link Events]"},  // 173
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK4", "PortLink_4", "[Port Link Events]"},  // 174
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK5", "PortLink_5", "[Port Link Events]"},  // 175
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK6", "PortLink_6", "[Port Link Events]"},  // 176
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK7", "PortLink_7", "[Port Link Events]"},  // 177
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_LINK8", "PortLink_8", "[Port Link Events]"},  // 178
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF1", "PortTraf_1", "[Port Overload Events]"},  // 179
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF2", "PortTraf_2", "[Port Overload Events]"},  // 180
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF3", "PortTraf_3", "[Port Overload Events]"},  // 181
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF4", "PortTraf_4", "[Port Overload Events]"},  // 182
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF5", "PortTraf_5", "[Port Overload Events]"},  // 183
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF6", "PortTraf_6", "[Port Overload Events]"},  // 184
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF7", "PortTraf_7", "[Port Overload Events]"},  // 185
    {"uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF8", "PortTraf_8", "[Port Overload Events]"},  // 186
    {"ulong", "D_CONF_ETH_RELAY_PLOAD1", "Traffic_Threshold_1", "[Port Overload Events]"},  // 187
    {"ulong", "D_CONF_ETH_RELAY_PLOAD2", "Traffic_Threshold_2", "[Port Overload Events]"},  // 188
    {"ulong", "D_CONF_ETH_RELAY_PLOAD3", "Traffic_Threshold_3", "[Port Overload Events]"},  // 189
    {"ulong", "D_CONF_ETH_RELAY_PLOAD4", "Traffic_Threshold_4", "[Port Overload Events]"},  // 190
    {"ulong", "D_CONF_ETH_RELAY_PLOAD5", "Traffic_Threshold_5", "[Port Overload Events]"},  // 191
    {"ulong", "D_CONF_ETH_RELAY_PLOAD6", "Traffic_Threshold_6", "[Port Overload Events]"},  // 192
    {"ulong", "D_CONF_ETH_RELAY_PLOAD7", "Traffic_Threshold_7", "[Port Overload Events]"},  // 193
    {"ulong", "D_CONF_ETH_RELAY_PLOAD8", "Traffic_Threshold_8", "[Port Overload Events]"},  // 194
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME1", "Traffic_Duration_1", ""},  // 195
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME2", "Traffic_Duration_2", ""},  // 196
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME3", "Traffic_Duration_3", ""},  // 197
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME4", "Traffic_Duration_4", ""},  // 198
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME5", "Traffic_Duration_5", ""},  // 199
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME6", "Traffic_Duration_6", ""},  // 200
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME7", "Traffic_Duration_7", ""},  // 201
    {"ulong", "D_CONF_ETH_RELAY_PLOADTIME8", "Traffic_Duration_8", ""},  // 202
    {"char", "D_CONF_ETH_LOCATION", "Location", "[Server Location]"},  // 203
    {"char", "D_CONF_ETH_LOCATIONA8", "Location", "[Switch Location]"},  // 204
    {"char", "D_CONF_ETH_USERPWD", "UserPassword", "[User Password]"},  // 205
    {"char", "D_CONF_ETH_ADMINPWD", "AdminPassword", "[Admin Password]"},  // 206
    {"uchar", "D_CONF_ETH_REDUN_PORT1", "ZorvelRingPort1", "[1st Redundant port]"},  // 207
    {"uchar", "D_CONF_ETH_REDUN_PORT2", "ZorvelRingPort2", "[2nd Redundant port]"},  // 208
    {"ulong", "D_CONF_ETHA8_REDUN_PROTOCOL", "RedundantProtol", "[Redundancy Protocol]"},  // 209
    {"uchar", "D_CONF_ETH_REDUN_CPL_PORT", "CouplingPort", "[Coupling Port]"},  // 210
    {"uchar", "D_CONF_ETH_REDUN_CPL_CTRLPORT", "ControlPort", "[Coupling Control Port]"},  // 211
    {"uchar", "D_CONF_QOS_SCHEDULE", "QosMechanism", "[QOS Mechanism]"},  // 212
    {"uchar", "D_CONF_QOS_INSPECT1_TOS", "QosInspectTos1", "[Inspect TOS]"},  // 213
    {"uchar", "D_CONF_QOS_INSPECT2_TOS", "QosInspectTos2", "[Inspect TOS]"},  // 214
    {"uchar", "D_CONF_QOS_INSPECT3_TOS", "QosInspectTos3", "[Inspect TOS]"},  // 215
    {"uchar", "D_CONF_QOS_INSPECT4_TOS", "QosInspectTos4", "[Inspect TOS]"},  // 216
    {"uchar", "D_CONF_QOS_INSPECT5_TOS", "QosInspectTos5", "[Inspect TOS]"},  // 217
    {"uchar", "D_CONF_QOS_INSPECT6_TOS", "QosInspectTos6", "[Inspect TOS]"},  // 218
    {"uchar", "D_CONF_QOS_INSPECT7_TOS", "QosInspectTos7", "[Inspect TOS]"},  // 219
    {"uchar", "D_CONF_QOS_INSPECT8_TOS", "QosInspectTos8", "[Inspect TOS]"},  // 220
    {"uchar", "D_CONF_QOS_INSPECT1_COS", "QosInspectCos1", "[Inspect COS]"},  // 221
    {"uchar", "D_CONF_QOS_INSPECT2_COS", "QosInspectCos2", "[Inspect COS]"},  // 222
    {"uchar", "D_CONF_QOS_INSPECT3_COS", "QosInspectCos3", "[Inspect COS]"},  // 223
    {"uchar", "D_CONF_QOS_INSPECT4_COS", "QosInspectCos4", "[Inspect COS]"},  // 224
    {"uchar", "D_CONF_QOS_INSPECT5_COS", "QosInspectCos5", "[Inspect COS]"},  // 225
    {"uchar", "D_CONF_QOS_INSPECT6_COS", "QosInspectCos6", "[Inspect COS]"},  // 226
    {"uchar", "D_CONF_QOS_INSPECT7_COS", "QosInspectCos7", "[Inspect COS]"},  // 227
    {"uchar", "D_CONF_QOS_INSPECT8_COS", "QosInspectCos8", "[Inspect COS]"},  // 228
    {"uchar", "D_CONF_QOS_PRIORITY1", "QosPortPriority1", "[Default Port Priority]"},  // 229
    {"uchar", "D_CONF_QOS_PRIORITY2", "QosPortPriority2", "[Default Port Priority]"},  // 230
    {"uchar", "D_CONF_QOS_PRIORITY3", "QosPortPriority3", "[Default Port Priority]"},  // 231
    {"uchar", "D_CONF_QOS_PRIORITY4", "QosPortPriority4", "[Default Port Priority]"},  // 232
    {"uchar", "D_CONF_QOS_PRIORITY5", "QosPortPriority5", "[Default Port Priority]"},  // 233
    {"uchar", "D_CONF_QOS_PRIORITY6", "QosPortPriority6", "[Default Port Priority]"},  // 234
    {"uchar", "D_CONF_QOS_PRIORITY7", "QosPortPriority7", "[Default Port Priority]"},  // 235
    {"uchar", "D_CONF_QOS_PRIORITY8", "QosPortPriority8", "[Default Port Priority]"},  // 236
    {"uchar", "D_CONF_COSMAP0", "CosMap0", "[CoS Mapping]"},  // 237
    {"uchar", "D_CONF_COSMAP1", "CosMap1", "[CoS Mapping]"},  // 238
    {"uchar", "D_CONF_COSMAP2", "CosMap2", "[CoS Mapping]"},  // 239
    {"uchar", "D_CONF_COSMAP3", "CosMap3", "[CoS Mapping]"},  // 240
    {"uchar", "D_CONF_COSMAP4", "CosMap4", "[CoS Mapping]"},  // 241
    {"uchar", "D_CONF_COSMAP5", "CosMap5", "[CoS Mapping]"},  // 242
    {"uchar", "D_CONF_COSMAP6", "CosMap6", "[CoS Mapping]"},  // 243
    {"uchar", "D_CONF_COSMAP7", "CosMap7", "[CoS Mapping]"},  // 244
    {"uchar", "D_CONF_VLAN_TYPE1", "VLANType1", "[VLAN Port Type]"},  // 245
    {"uchar", "D_CONF_VLAN_PVID1", "VLANPvid1", "[VLAN PVID]"},  // 246
    {"char", "D_CONF_VLAN_FIXVID1", "FixVid1", "[Fixed VID]"},  // 247
    {"char", "D_CONF_VLAN_FRBVID1", "FrbVid1", "[Forbiden VID]"},  // 248
    {"uchar", "D_CONF_VLAN_TYPE2", "VLANType2", "[VLAN Port Type]"},  // 249
    {"uchar", "D_CONF_VLAN_PVID2", "VLANPvid2", "[VLAN PVID]"},  // 250
    {"char", "D_CONF_VLAN_FIXVID2", "FixVid2", "[Fixed VID]"},  // 251
    {"char", "D_CONF_VLAN_FRBVID2", "FrbVid2", "[Forbiden VID]"},  // 252
    {"uchar", "D_CONF_VLAN_TYPE3", "VLANType3", "[VLAN Port Type]"},  // 253
    {"uchar", "D_CONF_VLAN_PVID3", "VLANPvid3", "[VLAN PVID]"},  // 254
    {"char", "D_CONF_VLAN_FIXVID3", "FixVid3", "[Fixed VID]"},  // 255
    {"char", "D_CONF_VLAN_FRBVID3", "FrbVid3", "[Forbiden VID]"},  // 256
    {"ushort", "D_CONF_VLAN_TYPE4", "VLANType4", "[VLAN Port Type]"},  // 257
    {"ushort", "D_CONF_VLAN_PVID4", "VLANPvid4", "[VLAN PVID]"},  // 258
    {"char", "D_CONF_VLAN_FIXVID4", "FixVid4", "[Fixed VID]"},  // 259
    {"char", "D_CONF_VLAN_FRBVID4", "FrbVid4", "[Forbiden VID]"},  // 260
    {"ushort", "D_CONF_VLAN_TYPE5", "VLANType5", "[VLAN Port Type]"},  // 261
    {"ushort", "D_CONF_VLAN_PVID5", "VLANPvid5", "[VLAN PVID]"},  // 262
    {"char", "D_CONF_VLAN_FIXVID5", "FixVid5", "[Fixed VID]"},  // 263
    {"char", "D_CONF_VLAN_FRBVID5", "FrbVid5", "[Forbiden VID]"},  // 264
    {"ushort", "D_CONF_VLAN_TYPE6", "VLANType6", "[VLAN Port Type]"},  // 265
    {"ushort", "D_CONF_VLAN_PVID6", "VLANPvid6", "[VLAN PVID]"},  // 266
    {"char", "D_CONF_VLAN_FIXVID6", "FixVid6", "[Fixed VID]"},  // 267
    {"char", "D_CONF_VLAN_FRBVID6", "FrbVid6", "[Forbiden VID]"},  // 268
    {"ushort", "D_CONF_VLAN_TYPE7", "VLANType7", "[VLAN Port Type]"},  // 269
    {"ushort", "D_CONF_VLAN_PVID7", "VLANPvid7", "[VLAN PVID]"},  // 270
    {"char", "D_CONF_VLAN_FIXVID7", "FixVid7", "[Fixed VID]"},  // 271
    {"char", "D_CONF_VLAN_FRBVID7", "FrbVid7", "[Forbiden VID]"},  // 272
    {"ushort", "D_CONF_VLAN_TYPE8", "VLANType8", "[VLAN Port Type]"},  // 273
    {"ushort", "D_CONF_VLAN_PVID8", "VLANPvid8", "[VLAN PVID]"},  // 274
    {"char", "D_CONF_VLAN_FIXVID8", "FixVid8", "[Fixed VID]"},  // 275
    {"char", "D_CONF_VLAN_FRBVID8", "FrbVid8", "[Forbiden VID]"},  // 276
    {"uchar", "D_CONF_PORT_LOCK1", "LockPort1", "[Port Lock]"},  // 277
    {"uchar", "D_CONF_PORT_LOCK2", "LockPort2", "[Port Lock]"},  // 278
    {"uchar", "D_CONF_PORT_LOCK3", "LockPort3", "[Port Lock]"},  // 279
    {"uchar", "D_CONF_PORT_LOCK4", "LockPort4", "[Port Lock]"},  // 280
    {"uchar", "D_CONF_PORT_LOCK5", "LockPort5", "[Port Lock]"},  // 281
    {"uchar", "D_CONF_PORT_LOCK6", "LockPort6", "[Port Lock]"},  // 282
    {"uchar", "D_CONF_PORT_LOCK7", "LockPort7", "[Port Lock]"},  // 283
    {"uchar", "D_CONF_PORT_LOCK8", "LockPort8", "[Port Lock]"},  // 284
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE1", "RLE_port1", "[Engress Rate Limit]"},  // 285
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE2", "RLE_port2", "[Engress Rate Limit]"},  // 286
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE3", "RLE_port3", "[Engress Rate Limit]"},  // 287
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE4", "RLE_port4", "[Engress Rate Limit]"},  // 288
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE5", "RLE_port5", "[Engress Rate Limit]"},  // 289
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE6", "RLE_port6", "[Engress Rate Limit]"},  // 290
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE7", "RLE_port7", "[Engress Rate Limit]"},  // 291
    {"char", "D_CONF_RATE_LIMIT_ENGRESS_RATE8", "RLE_port8", "[Engress Rate Limit]"},  // 292
    {"ulong", "D_CONF_RELAY_SFLAG_NORMAL1", "Relay1Override", "[Override Relay Warning Setting]"},  // 293
    {"ulong", "D_CONF_RELAY_SFLAG_NORMAL2", "Relay2Override", "[Override Relay Warning Setting]"},  // 294
    {"ulong", "D_CONF_RELAY_SFLAG_DI1_ON2OFF", "RW_DI1_N2F", "[DI 1(On->Off)]"},  // 295
    {"ulong", "D_CONF_RELAY_SFLAG_DI1_OFF2ON", "RW_DI1_F2N", "[DI 1(Off->On)]"},  // 296
    {"ulong", "D_CONF_RELAY_SFLAG_DI2_ON2OFF", "RW_DI2_N2F", "[DI 2(On->Off)]"},  // 297
    {"ulong", "D_CONF_RELAY_SFLAG_DI2_OFF2ON", "RW_DI2_F2N", "[DI 2(Off->On)]"},  // 298
    {"ulong", "D_CONF_IGMPSNOOP_QUERY_PERIDO", "QUERY_PERIOD", "[Period of Proxy Query]"},  // 299
    {"uchar", "D_CONF_ETH_RSTP_VERSION", "RSTP_ForceVer", "[RSTP Force Version]"},  // 300
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P1", "RLI_port1", "[INGRESS Rate Limit]"},  // 301
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P2", "RLI_port2", "[INGRESS Rate Limit]"},  // 302
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P3", "RLI_port3", "[INGRESS Rate Limit]"},  // 303
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P4", "RLI_port4", "[INGRESS Rate Limit]"},  // 304
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P5", "RLI_port5", "[INGRESS Rate Limit]"},  // 305
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P6", "RLI_port6", "[INGRESS Rate Limit]"},  // 306
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P7", "RLI_port7", "[INGRESS Rate Limit]"},  // 307
    {"uchar", "D_CONF_RATE_LIMIT_INGRESS_P8", "RLI_port8", "[INGRESS Rate Limit]"},  // 308
    {"ulong", "D_CONF_GRANTIP_INUSED", "Enable_AccessIp", "[Enable the Accessible IP list]"},  // 309
    {"char", "D_CONF_GRANTIP_IP1", "AccessIp1", "[Accessible IP Index 1]"},  // 310
    {"char", "D_CONF_GRANTIP_IP2", "AccessIp2", "[AccessibleIP Index 2]"},  // 311
    {"char", "D_CONF_GRANTIP_IP3", "AccessIp3", "[AccessibleIP Index 3]"},  // 312
    {"char", "D_CONF_GRANTIP_IP4", "AccessIp4", "[AccessibleIP Index 4]"},  // 313
    {"char", "D_CONF_GRANTIP_IP5", "AccessIp5", "[AccessibleIP Index 5]"},  // 314
    {"char", "D_CONF_GRANTIP_IP6", "AccessIp6", "[AccessibleIP Index 6]"},  // 315
    {"char", "D_CONF_GRANTIP_IP7", "AccessIp7", "[AccessibleIP Index 7]"},  // 316
    {"char", "D_CONF_GRANTIP_IP8", "AccessIp8", "[AccessibleIP Index 8]"},  // 317
    {"char", "D_CONF_GRANTIP_IP9", "AccessIp9", "[AccessibleIP Index 9]"},  // 318
    {"char", "D_CONF_GRANTIP_IP10", "AccessIp10", "[AccessibleIP Index 10]"},  // 319
    {"uchar", "D_CONF_SNMP_VERSION", "SNMPVERSION", "[SNMP]"},  // 320
    {"char", "D_CONF_SNMP_V1V2CROCOMM", "V1_V2c_RCommunity", "[SNMP]"},  // 321
    {"char", "D_CONF_SNMP_V1V2CRWCOMM", "V1_V2c_RWCommunity", "[SNMP]"},  // 322
    {"uchar", "D_CONF_SNMP_V3AAUTHTYPE", "Admin_AuthType", "[SNMP]"},  // 323
    {"char", "D_CONF_SNMP_V3ADATAENCR", "Admin_DataEncryption", "[SNMP]"},  // 324
    {"uchar", "D_CONF_SNMP_V3UAUTHTYPE", "User_AuthType", "[SNMP]"},  // 325
    {"char", "D_CONF_SNMP_V3UDATAENCR", "User_DataEncryption", "[SNMP]"},  // 326
    {"char", "D_CONF_SNMP_TRAPSERVER", "TRAP", "[SNMP]"},  // 327
    {"char", "D_CONF_SNMP_TRAPCOMM", "TRAP_Community", "[SNMP]"},  // 328
    {"uchar", "D_CONF_SNMP_V3AADEE", "Admin_ADEEnable", "[SNMP]"},  // 329
    {"uchar", "D_CONF_SNMP_V3UADEE", "User_ADEEnable", "[SNMP]"},  // 330
    {"char", "D_CONF_ETH_TRAPS", "TRAP", "[TRAP Server]"},  // 331
    {"char", "D_CONF_ETH_COMMUNITY", "Community", "[SNMP Community]"},  // 332
    {"ulong", "D_CONF_ETH_DTIME_PERIOD", "QueryTimePeriod", "[Time Server Query Period]"},  // 333
    {"uchar", "D_CONF_ETH_DTIME_TZONE", "TimeZone", "[Time Zone]"},  // 334
    {"char", "D_CONF_ETH_DTIME_SRV1", "1stTimeSrv", "[1st Time Server IP/Name]"},  // 335
    {"char", "D_CONF_ETH_DTIME_SRV2", "2ndTimeSrv", "[2nd Time Server IP/Name]"},  // 336
    {"uchar", "D_CONF_IGMPSNOOP_ENABLE", "EnableIGMPSnoop", "[Enable Switch's IGMP Snooping]"},  // 337
    {"uchar", "D_CONF_TOSMAP_1_4", "ToSMap1-4", "[ToS Map]"},  // 338
    {"uchar", "D_CONF_TOSMAP_5_8", "ToSMap5-8", "[ToS Map]"},  // 339
    {"uchar", "D_CONF_TOSMAP_9_12", "ToSMap9-12", "[ToS Map]"},  // 340
    {"uchar", "D_CONF_TOSMAP_13_16", "ToSMap13-16", "[ToS Map]"},  // 341
    {"uchar", "D_CONF_TOSMAP_17_20", "ToSMap17-20", "[ToS Map]"},  // 342
    {"uchar", "D_CONF_TOSMAP_21_24", "ToSMap21-24", "[ToS Map]"},  // 343
    {"uchar", "D_CONF_TOSMAP_25_28", "ToSMap25-28", "[ToS Map]"},  // 344
    {"uchar", "D_CONF_TOSMAP_29_32", "ToSMap29-32", "[ToS Map]"},  // 345
    {"uchar", "D_CONF_TOSMAP_33_36", "ToSMap33-36", "[ToS Map]"},  // 346
    {"uchar", "D_CONF_TOSMAP_37_40", "ToSMap37-40", "[ToS Map]"},  // 347
    {"uchar", "D_CONF_TOSMAP_41_44", "ToSMap41-44", "[ToS Map]"},  // 348
    {"uchar", "D_CONF_TOSMAP_45_48", "ToSMap45-48", "[ToS Map]"},  // 349
    {"uchar", "D_CONF_TOSMAP_49_52", "ToSMap49-52", "[ToS Map]"},  // 350
    {"uchar", "D_CONF_TOSMAP_53_56", "ToSMap53-56", "[ToS Map]"},  // 351
    {"uchar", "D_CONF_TOSMAP_57_60", "ToSMap57-60", "[ToS Map]"},  // 352
    {"uchar", "D_CONF_TOSMAP_61_64", "ToSMap61-64", "[ToS Map]"},  // 353
    {"char", "D_CONF_IGMPSNOOP_ENTRY", "IGMPSNOOP", "[IGMP List]"},  // 354
    {"char", "D_CONF_MULTICAST_ADDR", "MMAC", "[Static Multicast MAC]"},  // 355
    {"char", "D_CONF_UNICAST_ADDR", "UMAC", "[Static unicast MAC]"},  // 356
    {"ushort", "D_CONF_VLAN_SYS_VID", "SysVID", "[Management VLAN]"},  // 357
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P1", "Port1_SetToTrunk", "[Port 1]"},  // 358
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P2", "Port2_SetToTrunk", "[Port 2]"},  // 359
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P3", "Port3_SetToTrunk", "[Port 3]"},  // 360
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P4", "Port4_SetToTrunk", "[Port 4]"},  // 361
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P5", "Port5_SetToTrunk", "[Port 5]"},  // 362
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P6", "Port6_SetToTrunk", "[Port 6]"},  // 363
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P7", "Port7_SetToTrunk", "[Port 7]"},  // 364
    {"ushort", "D_CONF_ETH_PORTTRUNKING_P8", "Port8_SetToTrunk", "[Port 8]"},  // 365
};
// clang-format on

static_assert(std::size(kFilledRows) == CatalogueFilledRows);

constexpr bool FieldsFitTheirSlots() {
  for (const CatalogueRow& row : kFilledRows) {
    for (std::string_view field : {row.typeName, row.constName, row.fileKey, row.label}) {
      if (field.size() > CatalogueFieldMaxLength) return false;
    }
  }
  return true;
}
static_assert(FieldsFitTheirSlots());

constexpr std::array<CatalogueRow, CatalogueCapacity> BuildCatalogue() {
  std::array<CatalogueRow, CatalogueCapacity> table{};
  for (std::size_t i = 0; i < CatalogueCapacity; ++i) {
    table[i] = i < CatalogueFilledRows ? kFilledRows[i] : CatalogueRow{"", "", "", ""};
  }
  return table;
}

constexpr std::array<CatalogueRow, CatalogueCapacity> kCatalogue = BuildCatalogue();

}  // namespace

std::span<const CatalogueRow, CatalogueCapacity> ConfigCatalogue() { return kCatalogue; }

std::size_t findCatalogueRow(std::string_view constName) {
  if (constName.empty()) return CatalogueCapacity;
  for (std::size_t i = 0; i < CatalogueFilledRows; ++i) {
    if (kCatalogue[i].constName == constName) return i;
  }
  return CatalogueCapacity;
}

std::string_view catalogueFileKey(std::string_view constName) {
  const std::size_t row = findCatalogueRow(constName);
  return row < CatalogueCapacity ? kCatalogue[row].fileKey : std::string_view();
}

std::optional<std::string_view> catalogueLabel(std::string_view constName) {
  const std::size_t row = findCatalogueRow(constName);
  if (row >= CatalogueCapacity) return std::nullopt;
  return kCatalogue[row].label;
}

}  // namespace vantrell
