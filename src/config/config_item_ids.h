#pragma once
/// The numbers that select one configuration item in a block: one numbering
/// for every firmware generation, so the same ID means the same setting
/// wherever a generation's accessors handle it. Constants carry the D_CONF
/// name that the writers and readers pair with the ID; several names share
/// an ID where generations call the same setting differently. Items without
/// such a name are named after what they hold.

#include <cstdint>

namespace vantrell {

/// The numeric identifier of one configuration setting.
using ConfigItemId = std::uint32_t;

namespace item {

// Header words of the block (carried in no file).
inline constexpr ConfigItemId D_CONF_ETH_MARK = 1;
inline constexpr ConfigItemId D_CONF_ETH_SUM1 = 2;
inline constexpr ConfigItemId D_CONF_ETH_LEN1 = 3;

// Address settings.
inline constexpr ConfigItemId D_CONF_ETH_IPADDR = 4;
inline constexpr ConfigItemId D_CONF_ETH_IPMASK = 5;
inline constexpr ConfigItemId D_CONF_ETH_GATEWAY = 6;
inline constexpr ConfigItemId D_CONF_ETH_FLAG_DHCP = 7;
inline constexpr ConfigItemId D_CONF_ETH_FLAG_FASTRECOVERY = 8;
inline constexpr ConfigItemId D_CONF_ETH_DNSSIP = 9;
inline constexpr ConfigItemId D_CONF_ETH_DNSSIP1 = 10;
/// GenM1: IP configuration mode, file key "AUTOIP" (0 none, 1 DHCP, 2 BOOTP).
inline constexpr ConfigItemId kIpConfigMode = 11;

// Server settings and texts.
inline constexpr ConfigItemId D_CONF_ETH_TRAPS = 12;
inline constexpr ConfigItemId D_CONF_ETH_USERNAME = 13;
/// The 16-character password field; in GenM1 a list: 0 "UserPassword", 1 "AdminPassword".
inline constexpr ConfigItemId kPasswordField = 14;
inline constexpr ConfigItemId D_CONF_ETH_COMMUNITY = 15;
/// The device name: D_CONF_ETH_NAME (D8), D_CONF_ETH_NAMEA8 (A8/R8), "SwitchName" (GenM1).
inline constexpr ConfigItemId D_CONF_ETH_NAME = 16;
inline constexpr ConfigItemId D_CONF_ETH_NAMEA8 = 16;
inline constexpr ConfigItemId D_CONF_ETH_LOCATION_OLD = 17;
inline constexpr ConfigItemId D_CONF_ETH_SYSDESCR = 18;
inline constexpr ConfigItemId D_CONF_ETH_SYSDESCRA8 = 18;
inline constexpr ConfigItemId D_CONF_ETH_CONTACT = 19;
inline constexpr ConfigItemId D_CONF_ETH_CONTACTA8 = 19;
/// D8 flag word bits; the A8/R8 and GenM1 readers use 447 and 448 (below).
inline constexpr ConfigItemId D_CONF_ETH_FLAG_WEB = 20;
inline constexpr ConfigItemId D_CONF_ETH_FLAG_TELNET = 21;
inline constexpr ConfigItemId D_CONF_ETH_MIRROR_PORT = 22;
inline constexpr ConfigItemId D_CONF_ETH_TARGET_PORT = 23;
inline constexpr ConfigItemId D_CONF_ETH_MIRROR_DIR = 24;

// Port settings, ID = first + 6 x (port - 1).
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE1 = 26;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE2 = 32;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE3 = 38;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE4 = 44;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE5 = 50;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE6 = 56;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE7 = 62;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DISABLE8 = 68;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG1 = 27;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG2 = 33;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG3 = 39;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG4 = 45;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG5 = 51;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG6 = 57;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG7 = 63;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FLAG8 = 69;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED1 = 28;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED2 = 34;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED3 = 40;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED4 = 46;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED5 = 52;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED6 = 58;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED7 = 64;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_SPEED8 = 70;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX1 = 29;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX2 = 35;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX3 = 41;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX4 = 47;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX5 = 53;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX6 = 59;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX7 = 65;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_FDX8 = 71;

// E-mail warning.
/// The mail server; GenD1 names it D_CONF_ETH_WARN_MAILS.
inline constexpr ConfigItemId D_CONF_ETH_WARN_SMTPSrv = 74;
inline constexpr ConfigItemId D_CONF_ETH_WARN_MAILS = 74;
inline constexpr ConfigItemId D_CONF_ETH_WARN_TO1 = 75;
inline constexpr ConfigItemId D_CONF_ETH_WARN_TO2 = 76;
inline constexpr ConfigItemId D_CONF_ETH_WARN_TO3 = 77;
inline constexpr ConfigItemId D_CONF_ETH_WARN_TO4 = 78;
/// System events: D_CONF_ETH_WARN_SFLAG (D8), D_CONF_ETH_WARN_SFLAGA8 (A8/R8),
/// "EW_SystemEvents" (GenM1).
inline constexpr ConfigItemId D_CONF_ETH_WARN_SFLAG = 79;
inline constexpr ConfigItemId D_CONF_ETH_WARN_SFLAGA8 = 79;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD1 = 80;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD2 = 81;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD3 = 82;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD4 = 83;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD5 = 84;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD6 = 85;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD7 = 86;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOAD8 = 87;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG1 = 88;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG2 = 89;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG3 = 90;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG4 = 91;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG5 = 92;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG6 = 93;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG7 = 94;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PFLAG8 = 95;

// Two 16-bit words carried in no file.
inline constexpr ConfigItemId kSpareWord104 = 104;
inline constexpr ConfigItemId kSpareWord105 = 105;
inline constexpr ConfigItemId D_CONF_ETH_FLAG_HIDE = 112;

// Spanning tree and redundancy.
inline constexpr ConfigItemId D_CONF_ETH_SPAN_HELLO_TIME = 137;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_MAX_AGE = 138;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_FD_DELAY = 139;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_BRIDGE_ID = 140;
/// The redundancy word: D_CONF_ETH_SPAN_REDUN (GenD1, GenD2); D_CONF_ETH_REDUN_PROTOCOL,
/// master and coupling as bits of it (GenD3, GenD4); D_CONF_ETHA8_REDUN_PROTOCOL (A8/R8, GenM1).
inline constexpr ConfigItemId kRedundancyWord = 141;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_REDUN = 141;
inline constexpr ConfigItemId D_CONF_ETH_REDUN_PROTOCOL = 141;
inline constexpr ConfigItemId D_CONF_ETHA8_REDUN_PROTOCOL = 141;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME1 = 142;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME2 = 143;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME3 = 144;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME4 = 145;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME5 = 146;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME6 = 147;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME7 = 148;
inline constexpr ConfigItemId D_CONF_ETH_WARN_PLOADTIME8 = 149;
inline constexpr ConfigItemId D_CONF_ETH_WARN_SMTP_UNAME = 150;
inline constexpr ConfigItemId D_CONF_ETH_WARN_SMTP_PASSWD = 151;

// Relay warning.
inline constexpr ConfigItemId D_CONF_ETH_RELAY_SFLAG_NORMAL = 152;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_SFLAG_POWER1 = 153;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_SFLAG_POWER2 = 154;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK1 = 155;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK2 = 156;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK3 = 157;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK4 = 158;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK5 = 159;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK6 = 160;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK7 = 161;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_LINK8 = 162;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF1 = 163;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF2 = 164;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF3 = 165;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF4 = 166;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF5 = 167;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF6 = 168;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF7 = 169;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PFLAG_TRAF8 = 170;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD1 = 171;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD2 = 172;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD3 = 173;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD4 = 174;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD5 = 175;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD6 = 176;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD7 = 177;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOAD8 = 178;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME1 = 179;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME2 = 180;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME3 = 181;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME4 = 182;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME5 = 183;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME6 = 184;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME7 = 185;
inline constexpr ConfigItemId D_CONF_ETH_RELAY_PLOADTIME8 = 186;

// Location, passwords and the access list.
/// The 80-character location: D_CONF_ETH_LOCATION (GenD4), D_CONF_ETH_LOCATIONA8 (A8/R8, GenM1).
inline constexpr ConfigItemId D_CONF_ETH_LOCATION = 187;
inline constexpr ConfigItemId D_CONF_ETH_LOCATIONA8 = 187;
inline constexpr ConfigItemId D_CONF_ETH_USERPWD = 189;
inline constexpr ConfigItemId D_CONF_GRANTIP_INUSED = 190;
/// Address part of the access entries.
inline constexpr ConfigItemId D_CONF_GRANTIP_IP1 = 191;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP2 = 192;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP3 = 193;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP4 = 194;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP5 = 195;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP6 = 196;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP7 = 197;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP8 = 198;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP9 = 199;
inline constexpr ConfigItemId D_CONF_GRANTIP_IP10 = 200;
/// Netmask part of the access entries.
inline constexpr ConfigItemId kGrantIpNetmask1 = 307;
inline constexpr ConfigItemId kGrantIpNetmask2 = 308;
inline constexpr ConfigItemId kGrantIpNetmask3 = 309;
inline constexpr ConfigItemId kGrantIpNetmask4 = 310;
inline constexpr ConfigItemId kGrantIpNetmask5 = 311;
inline constexpr ConfigItemId kGrantIpNetmask6 = 312;
inline constexpr ConfigItemId kGrantIpNetmask7 = 313;
inline constexpr ConfigItemId kGrantIpNetmask8 = 314;
inline constexpr ConfigItemId kGrantIpNetmask9 = 315;
inline constexpr ConfigItemId kGrantIpNetmask10 = 316;

// Time servers and QoS.
inline constexpr ConfigItemId D_CONF_ETH_DTIME_PERIOD = 206;
inline constexpr ConfigItemId D_CONF_ETH_DTIME_TZONE = 207;
inline constexpr ConfigItemId D_CONF_ETH_DTIME_SRV1 = 208;
inline constexpr ConfigItemId D_CONF_ETH_DTIME_SRV2 = 209;
inline constexpr ConfigItemId D_CONF_QOS_SCHEDULE = 210;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT1_COS = 211;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT2_COS = 212;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT3_COS = 213;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT4_COS = 214;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT5_COS = 215;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT6_COS = 216;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT7_COS = 217;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT8_COS = 218;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY1 = 219;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY2 = 220;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY3 = 221;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY4 = 222;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY5 = 223;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY6 = 224;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY7 = 225;
inline constexpr ConfigItemId D_CONF_QOS_PRIORITY8 = 226;
inline constexpr ConfigItemId D_CONF_COSMAP0 = 227;
inline constexpr ConfigItemId D_CONF_COSMAP1 = 228;
inline constexpr ConfigItemId D_CONF_COSMAP2 = 229;
inline constexpr ConfigItemId D_CONF_COSMAP3 = 230;
inline constexpr ConfigItemId D_CONF_COSMAP4 = 231;
inline constexpr ConfigItemId D_CONF_COSMAP5 = 232;
inline constexpr ConfigItemId D_CONF_COSMAP6 = 233;
inline constexpr ConfigItemId D_CONF_COSMAP7 = 234;
inline constexpr ConfigItemId D_CONF_PORT_LOCK1 = 243;
inline constexpr ConfigItemId D_CONF_PORT_LOCK2 = 244;
inline constexpr ConfigItemId D_CONF_PORT_LOCK3 = 245;
inline constexpr ConfigItemId D_CONF_PORT_LOCK4 = 246;
inline constexpr ConfigItemId D_CONF_PORT_LOCK5 = 247;
inline constexpr ConfigItemId D_CONF_PORT_LOCK6 = 248;
inline constexpr ConfigItemId D_CONF_PORT_LOCK7 = 249;
inline constexpr ConfigItemId D_CONF_PORT_LOCK8 = 250;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P1 = 251;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P2 = 252;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P3 = 253;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P4 = 254;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P5 = 255;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P6 = 256;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P7 = 257;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_INGRESS_P8 = 258;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE1 = 283;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE2 = 284;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE3 = 285;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE4 = 286;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE5 = 287;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE6 = 288;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE7 = 289;
inline constexpr ConfigItemId D_CONF_RATE_LIMIT_ENGRESS_RATE8 = 290;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P1 = 291;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P2 = 292;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P3 = 293;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P4 = 294;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P5 = 295;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P6 = 296;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P7 = 297;
inline constexpr ConfigItemId D_CONF_ETH_PORTTRUNKING_P8 = 298;

// Ring redundancy (A8/R8, GenM1).
inline constexpr ConfigItemId D_CONF_ETH_REDUN_COUPLING = 383;
inline constexpr ConfigItemId D_CONF_ETH_REDUN_PORT1 = 384;
inline constexpr ConfigItemId D_CONF_ETH_REDUN_PORT2 = 385;
inline constexpr ConfigItemId D_CONF_ETH_REDUN_CPL_PORT = 386;
inline constexpr ConfigItemId D_CONF_ETH_REDUN_CPL_CTRLPORT = 387;
/// No accessor handles it.
inline constexpr ConfigItemId D_CONF_ETH_RSTP_VERSION = 389;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT1_TOS = 392;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT2_TOS = 393;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT3_TOS = 394;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT4_TOS = 395;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT5_TOS = 396;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT6_TOS = 397;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT7_TOS = 398;
inline constexpr ConfigItemId D_CONF_QOS_INSPECT8_TOS = 399;

// VLAN, ID = first + 4 x (port - 1).
inline constexpr ConfigItemId D_CONF_VLAN_TYPE1 = 400;
inline constexpr ConfigItemId D_CONF_VLAN_TYPE2 = 404;
inline constexpr ConfigItemId D_CONF_VLAN_TYPE3 = 408;
inline constexpr ConfigItemId D_CONF_VLAN_TYPE4 = 412;
inline constexpr ConfigItemId D_CONF_VLAN_TYPE5 = 416;
inline constexpr ConfigItemId D_CONF_VLAN_TYPE6 = 420;
inline constexpr ConfigItemId D_CONF_VLAN_TYPE7 = 424;
inline constexpr ConfigItemId D_CONF_VLAN_TYPE8 = 428;
inline constexpr ConfigItemId D_CONF_VLAN_PVID1 = 401;
inline constexpr ConfigItemId D_CONF_VLAN_PVID2 = 405;
inline constexpr ConfigItemId D_CONF_VLAN_PVID3 = 409;
inline constexpr ConfigItemId D_CONF_VLAN_PVID4 = 413;
inline constexpr ConfigItemId D_CONF_VLAN_PVID5 = 417;
inline constexpr ConfigItemId D_CONF_VLAN_PVID6 = 421;
inline constexpr ConfigItemId D_CONF_VLAN_PVID7 = 425;
inline constexpr ConfigItemId D_CONF_VLAN_PVID8 = 429;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID1 = 402;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID2 = 406;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID3 = 410;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID4 = 414;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID5 = 418;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID6 = 422;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID7 = 426;
inline constexpr ConfigItemId D_CONF_VLAN_FIXVID8 = 430;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID1 = 403;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID2 = 407;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID3 = 411;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID4 = 415;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID5 = 419;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID6 = 423;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID7 = 427;
inline constexpr ConfigItemId D_CONF_VLAN_FRBVID8 = 431;

// Relay events and IGMP.
inline constexpr ConfigItemId D_CONF_RELAY_SFLAG_DI1_ON2OFF = 434;
inline constexpr ConfigItemId D_CONF_RELAY_SFLAG_DI1_OFF2ON = 435;
inline constexpr ConfigItemId D_CONF_RELAY_SFLAG_DI2_ON2OFF = 436;
inline constexpr ConfigItemId D_CONF_RELAY_SFLAG_DI2_OFF2ON = 437;
inline constexpr ConfigItemId D_CONF_RELAY_SFLAG_NORMAL1 = 438;
inline constexpr ConfigItemId D_CONF_RELAY_SFLAG_NORMAL2 = 439;
inline constexpr ConfigItemId D_CONF_IGMPSNOOP_QUERY_PERIDO = 440;
inline constexpr ConfigItemId D_CONF_IGMPSNOOP_ENABLE = 441;
inline constexpr ConfigItemId D_CONF_ETH_REDUN_MASTER = 442;
inline constexpr ConfigItemId D_CONF_VLAN_SYS_VID = 445;
inline constexpr ConfigItemId D_CONF_ETH_FLAG_AUTOIP = 446;
/// Web and telnet flags of the A8/R8 and GenM1 blocks (read side in GenM1).
inline constexpr ConfigItemId D_CONF_ETH_FLAG_WEBA8 = 447;
inline constexpr ConfigItemId D_CONF_ETH_FLAG_TELNETA8 = 448;

// Spanning tree per port (1..8) and trunk (1..4).
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT1_EN = 501;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT2_EN = 502;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT3_EN = 503;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT4_EN = 504;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT5_EN = 505;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT6_EN = 506;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT7_EN = 507;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT8_EN = 508;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK1_EN = 509;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK2_EN = 510;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK3_EN = 511;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK4_EN = 512;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT1_ID = 551;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT2_ID = 552;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT3_ID = 553;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT4_ID = 554;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT5_ID = 555;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT6_ID = 556;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT7_ID = 557;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PORT8_ID = 558;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK1_ID = 559;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK2_ID = 560;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK3_ID = 561;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK4_ID = 562;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH1_COST = 601;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH2_COST = 602;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH3_COST = 603;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH4_COST = 604;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH5_COST = 605;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH6_COST = 606;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH7_COST = 607;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_PATH8_COST = 608;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK1_COST = 609;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK2_COST = 610;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK3_COST = 611;
inline constexpr ConfigItemId D_CONF_ETH_SPAN_TRK4_COST = 612;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP1 = 651;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP2 = 652;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP3 = 653;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP4 = 654;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP5 = 655;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP6 = 656;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP7 = 657;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP8 = 658;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP9 = 659;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP10 = 660;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP11 = 661;
inline constexpr ConfigItemId D_CONF_ETH_PCFG_DEVIP12 = 662;

// SNMP.
inline constexpr ConfigItemId D_CONF_SNMP_VERSION = 701;
inline constexpr ConfigItemId D_CONF_SNMP_V1V2CROCOMM = 702;
inline constexpr ConfigItemId D_CONF_SNMP_V1V2CRWCOMM = 703;
inline constexpr ConfigItemId D_CONF_SNMP_V3AAUTHTYPE = 704;
inline constexpr ConfigItemId D_CONF_SNMP_V3ADATAENCR = 705;
inline constexpr ConfigItemId D_CONF_SNMP_V3UAUTHTYPE = 706;
inline constexpr ConfigItemId D_CONF_SNMP_V3UDATAENCR = 707;
inline constexpr ConfigItemId D_CONF_SNMP_TRAPSERVER = 708;
inline constexpr ConfigItemId D_CONF_SNMP_TRAPCOMM = 709;
inline constexpr ConfigItemId D_CONF_SNMP_V3AADEE = 710;
inline constexpr ConfigItemId D_CONF_SNMP_V3UADEE = 711;

// Items of the modular model alone, named by their file keys; [port] items take the port
// index 0..29 as list index, [n] items an entry number from 0.
inline constexpr ConfigItemId kM1CfOperationEn = 801;        // "CF_Operation_En"
inline constexpr ConfigItemId kM1CfConfigEn = 802;           // "CF_Config_En"
inline constexpr ConfigItemId kM1CfFirmEn = 803;             // "CF_Firm_En"
inline constexpr ConfigItemId kM1ResetPasswdEn = 805;        // "ResetPasswd_En"
inline constexpr ConfigItemId kM1AccessIp = 807;             // "AccessIp_%d" [n 0..9], address part
inline constexpr ConfigItemId kM1PortEnable = 808;           // "Port_%s_EN" [port]
inline constexpr ConfigItemId kM1PortSpeed = 809;            // "Port_%s_Speed" [port]
inline constexpr ConfigItemId kM1PortFdx = 810;              // "Port_%s_FDX" [port]
inline constexpr ConfigItemId kM1PortMdi = 811;              // "Port_%s_MDI" [port]
inline constexpr ConfigItemId kM1PortTrunkType = 812;        // "Port_%s_TrunkType" [port]
inline constexpr ConfigItemId kM1PortTrunkGroup = 813;       // "Port_%s_TrunkGroup" [port]
inline constexpr ConfigItemId kM1ReadCommunity = 814;        // "V1_V2c_RCommunity"
inline constexpr ConfigItemId kM1ReadWriteCommunity = 815;   // "V1_V2c_RWCommunity"
inline constexpr ConfigItemId kM1AdminAuthType = 816;        // "Admin_AuthType"
inline constexpr ConfigItemId kM1AdminDataEncryption = 817;  // "Admin_DataEncryption"
inline constexpr ConfigItemId kM1UserAuthType = 818;         // "User_AuthType"
inline constexpr ConfigItemId kM1UserDataEncryption = 819;   // "User_DataEncryption"
inline constexpr ConfigItemId kM1TrapServer = 820;           // "TRAP_Serer"
inline constexpr ConfigItemId kM1TrapCommunity = 821;        // "TRAP_Community"
inline constexpr ConfigItemId kM1ControlPort = 822;          // "ControlPort"
inline constexpr ConfigItemId kM1Coupling = 823;             // "Coupling"
inline constexpr ConfigItemId kM1StpEnable = 824;            // "STP_EN_%s" [port]
inline constexpr ConfigItemId kM1StpId = 825;                // "STP_ID_%s" [port]
inline constexpr ConfigItemId kM1StpCost = 826;              // "STP_Cost_%s" [port]
inline constexpr ConfigItemId kM1BridgeId = 827;             // "BridgeId"
inline constexpr ConfigItemId kM1InspectTosPortGroup = 828;  // "InspectTosPortGroup_%d" [n 0..4]
inline constexpr ConfigItemId kM1InspectCos = 829;           // "InspectCos_%s" [port]
inline constexpr ConfigItemId kM1PortPriority = 830;         // "PortPriority_%s" [port]
inline constexpr ConfigItemId kM1CosMap = 831;               // "CoSMap_%d" [n 0..7]
inline constexpr ConfigItemId kM1TosMap = 832;               // "ToSMap_%d" [n 0..63]
inline constexpr ConfigItemId kM1VlanType = 833;             // "VLANType_%s" [port]
inline constexpr ConfigItemId kM1VlanPvid = 834;             // "VLANPvid_%s" [port]
inline constexpr ConfigItemId kM1FrbVid = 835;               // "FrbVid_%s" [port]
inline constexpr ConfigItemId kM1FixVid = 836;               // "FixVid_%s" [port]
inline constexpr ConfigItemId kM1GmrpEnable = 837;           // "GMRP_EN_%s" [port]
inline constexpr ConfigItemId kM1MfbMode = 838;              // "MFBMODE_%s" [port]
inline constexpr ConfigItemId kM1BspEnable = 839;            // "BSPEnable"
inline constexpr ConfigItemId kM1IncludeMulticast = 840;     // "IncludeMulticast"
inline constexpr ConfigItemId kM1QueryPeriod = 841;          // "QUERY_PERIOD"
inline constexpr ConfigItemId kM1RliSet = 842;               // "RLI_SET_%s" [port]
inline constexpr ConfigItemId kM1Dot1xDataBase = 843;        // "Dot1x_DataBase"
inline constexpr ConfigItemId kM1RadiusServer = 844;         // "Radius_Server"
inline constexpr ConfigItemId kM1RadiusSerPort = 845;        // "Radius_SerPort"
inline constexpr ConfigItemId kM1RadiusSerKey = 846;         // "Radius_SerKey"
inline constexpr ConfigItemId kM1Dot1xReAuth = 847;          // "Dot1x_ReAuth"
inline constexpr ConfigItemId kM1Dot1xReAuthPeriod = 848;    // "Dot1x_ReAuthPeriod"
inline constexpr ConfigItemId kM1Dot1xEnable = 849;          // "Dot1x_EN_%s" [port]
// "1st_e-mail_address" ... "4th_e-mail_address" [n 0..3]
inline constexpr ConfigItemId kM1EmailAddress = 850;
inline constexpr ConfigItemId kM1Dot1xDbUser = 851;         // "Dot1xDB_User_%d" [n 0..31]
inline constexpr ConfigItemId kM1Dot1xDbPasswd = 852;       // "Dot1xDB_Passwd_%d" [n 0..31]
inline constexpr ConfigItemId kM1Dot1xDbDesr = 853;         // "Dot1xDB_Desr_%d" [n 0..31]
inline constexpr ConfigItemId kM1EwPortEvents = 855;        // "EW_PortEvents_%s" [port]
inline constexpr ConfigItemId kM1EwTrafThreshold = 856;     // "EW_TrafThreshold_%s" [port]
inline constexpr ConfigItemId kM1EwTrafDuration = 857;      // "EW_TrafDuration_%s" [port]
inline constexpr ConfigItemId kM1Relay1Override = 858;      // "Relay1Override"
inline constexpr ConfigItemId kM1Relay2Override = 859;      // "Relay2Override"
inline constexpr ConfigItemId kM1PowerInput1Failure = 860;  // "Power_Input_1_failure(On->Off)"
inline constexpr ConfigItemId kM1PowerInput2Failure = 861;  // "Power_Input_2_failure(On->Off)"
inline constexpr ConfigItemId kM1RwDi1N2F = 862;            // "RW_DI1_N2F"
inline constexpr ConfigItemId kM1RwDi1F2N = 863;            // "RW_DI1_F2N"
inline constexpr ConfigItemId kM1RwDi2N2F = 864;            // "RW_DI2_N2F"
inline constexpr ConfigItemId kM1RwDi2F2N = 865;            // "RW_DI2_F2N"
inline constexpr ConfigItemId kM1RwPortLink = 866;          // "RW_PortLink_%s" [port]
inline constexpr ConfigItemId kM1RwPortTraf = 867;          // "RW_PortTraf_%s" [port]
inline constexpr ConfigItemId kM1RwTrafThreshold = 868;     // "RW_TrafThreshold_%s" [port]
inline constexpr ConfigItemId kM1RwTrafDuration = 869;      // "RW_TrafDuration_%s" [port]
inline constexpr ConfigItemId kM1FastRecovery = 870;        // "FASTRECOVERY"
inline constexpr ConfigItemId kM1DeviceIp = 871;            // "DeviceIP_%s" [port]
inline constexpr ConfigItemId kM1CouplingPort = 872;        // "CouplingPort"
inline constexpr ConfigItemId kM1WebConfig = 873;           // "WebConfig" (write side of 447)
inline constexpr ConfigItemId kM1TelnetConsole = 874;       // "TelnetConsole" (write side of 448)
// "AccessIp_%d" [n 0..9], netmask part (write side)
inline constexpr ConfigItemId kM1AccessIpNetmask = 875;

// Indexed families. Each returns 0 (no item) for an index outside its range.

/// Port p = 1..8 of a family whose IDs step by `step` from `first`.
constexpr ConfigItemId PortItem(ConfigItemId first, int port, int step = 1) {
  return port >= 1 && port <= 8 ? first + static_cast<ConfigItemId>(step * (port - 1)) : 0;
}
constexpr ConfigItemId PcfgDisable(int port) { return PortItem(D_CONF_ETH_PCFG_DISABLE1, port, 6); }
constexpr ConfigItemId PcfgFlag(int port) { return PortItem(D_CONF_ETH_PCFG_FLAG1, port, 6); }
constexpr ConfigItemId PcfgSpeed(int port) { return PortItem(D_CONF_ETH_PCFG_SPEED1, port, 6); }
constexpr ConfigItemId PcfgFdx(int port) { return PortItem(D_CONF_ETH_PCFG_FDX1, port, 6); }
constexpr ConfigItemId PcfgDevIp(int port) { return PortItem(D_CONF_ETH_PCFG_DEVIP1, port); }
constexpr ConfigItemId SpanPortEnable(int port) { return PortItem(D_CONF_ETH_SPAN_PORT1_EN, port); }
constexpr ConfigItemId SpanPortId(int port) { return PortItem(D_CONF_ETH_SPAN_PORT1_ID, port); }
constexpr ConfigItemId SpanPathCost(int port) { return PortItem(D_CONF_ETH_SPAN_PATH1_COST, port); }
constexpr ConfigItemId WarnPortFlag(int port) { return PortItem(D_CONF_ETH_WARN_PFLAG1, port); }
constexpr ConfigItemId WarnPortLoad(int port) { return PortItem(D_CONF_ETH_WARN_PLOAD1, port); }
constexpr ConfigItemId WarnPortLoadTime(int port) {
  return PortItem(D_CONF_ETH_WARN_PLOADTIME1, port);
}
constexpr ConfigItemId RelayPortLink(int port) {
  return PortItem(D_CONF_ETH_RELAY_PFLAG_LINK1, port);
}
constexpr ConfigItemId RelayPortTraffic(int port) {
  return PortItem(D_CONF_ETH_RELAY_PFLAG_TRAF1, port);
}
constexpr ConfigItemId RelayPortLoad(int port) { return PortItem(D_CONF_ETH_RELAY_PLOAD1, port); }
constexpr ConfigItemId RelayPortLoadTime(int port) {
  return PortItem(D_CONF_ETH_RELAY_PLOADTIME1, port);
}

/// E-mail address k = 1..4.
constexpr ConfigItemId WarnTo(int k) {
  return k >= 1 && k <= 4 ? D_CONF_ETH_WARN_TO1 + (k - 1) : 0;
}

/// Entry k = 1..64 of the ToS map: 234 + k up to 8, 308 + k up to 35, 309 + k
/// beyond (344 is not used). D_CONF_TOSMAP_1_4 stands for entries 1 to 4, and
/// so on in fours.
constexpr ConfigItemId TosMapEntry(int k) {
  if (k >= 1 && k <= 8) return static_cast<ConfigItemId>(234 + k);
  if (k >= 9 && k <= 35) return static_cast<ConfigItemId>(308 + k);
  if (k >= 36 && k <= 64) return static_cast<ConfigItemId>(309 + k);
  return 0;
}

}  // namespace item
}  // namespace vantrell
