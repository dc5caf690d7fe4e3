#include "config/gen_d_readers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "config/config_catalogue.h"
#include "config/gen_d_layouts.h"
#include "config/gen_d_writers.h"
#include "config/version_handlers.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;

constexpr Generation kDGenerations[] = {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3,
                                        Generation::kGenD4};

/// A fetched block, its accessors and the edited record of one device.
struct Device {
  explicit Device(Generation g, std::uint16_t model = 0x6008)
      : generation(g), block(blockSize(g)), accessors(MakeGenDAccessors(g)) {
    record = MakeZeroRecord();
    record.modelId = model;
    SetFieldText(record.password, "oldpass");
  }

  ValidationFlags Read(std::string_view file) {
    return GenDReaderFor(generation)(record, block, file, *accessors);
  }
  std::uint32_t Number(ConfigItemId id) const {
    return accessors->getNumber(block, id).value_or(0xDEADBEEF);
  }
  std::string Text(ConfigItemId id) const {
    return accessors->getText(block, id).value_or("<none>");
  }
  void Set(ConfigItemId id, std::uint32_t value) {
    ASSERT_EQ(accessors->setNumber(block, id, value), ItemStatus::kOk) << id;
  }
  void SetText(ConfigItemId id, std::string_view text) {
    ASSERT_EQ(accessors->setText(block, id, text), ItemStatus::kOk) << id;
  }

  Generation generation;
  ConfigBlock block;
  std::unique_ptr<ItemAccessors> accessors;
  DeviceRecord record;
};

/// "key<TAB>value\n" with the catalogue key of `constName`.
std::string Line(std::string_view constName, std::string_view value) {
  return std::string(catalogueFileKey(constName)) + "\t" + std::string(value) + "\n";
}

// The readers fit the version handler table's reader slot as they are.
static_assert(std::is_same_v<decltype(&readGenD1ConfigFile), ConfigFileReader>);
static_assert(std::is_same_v<GenDConfigFileReader, ConfigFileReader>);

TEST(GenDReaders, OneReaderPerD8Generation) {
  EXPECT_EQ(GenDReaderFor(Generation::kGenD1), &readGenD1ConfigFile);
  EXPECT_EQ(GenDReaderFor(Generation::kGenD2), &readGenD2ConfigFile);
  EXPECT_EQ(GenDReaderFor(Generation::kGenD3), &readGenD3ConfigFile);
  EXPECT_EQ(GenDReaderFor(Generation::kGenD4), &readGenD4ConfigFile);
  EXPECT_EQ(GenDReaderFor(Generation::kGenA2), nullptr);
  EXPECT_EQ(GenDReaderFor(Generation::kGenM1), nullptr);
}

TEST(GenDReaders, FileWithoutKnownKeysChangesNothing) {
  for (Generation g : kDGenerations) {
    Device device(g);
    for (std::size_t i = 0; i < device.block.size(); ++i) {
      device.block.SetByteAt(i, static_cast<std::uint8_t>(i * 13 + 5));
    }
    const ConfigBlock before = device.block;
    const DeviceRecord recordBefore = device.record;
    EXPECT_EQ(
        device.Read("[Meshvault Server Configuration File]\n# Model Name\nModelName\tORV-D8\n"
                    "Unknown\t1\n# IPAddress 10.0.0.1\n\n# ----------End of File----------\n"),
        0u);
    EXPECT_EQ(device.block, before) << GenerationName(g);
    EXPECT_EQ(device.record, recordBefore);
  }
}

// A GenD2 file as the export writes it (CR LF, TABs, comments, units).
TEST(GenDReaders, GenD2ReadsEveryItemOfAnExportedFile) {
  const std::string file =
      "[Meshvault Server Configuration File]\r\n# Model Name\r\nModelName\tORV-D8\r\n"
      "# [DHCP]\r\n# 0 Disable\r\n# 1 Enable\r\nDHCP\t1\r\n\r\n"
      "IPAddress\t192.168.1.10\r\n\r\nNetmask\t\t255.255.0.0\r\n\r\nGateway\t\t192.168.1.254\r\n"
      "DNSIP\t8.8.4.4\r\nTRAP\t10.1.1.1\r\nCommunity\tpublic ring\r\n"
      "Username\tadmin2\r\nPassword\tnewsecret\r\nServerName\tHall  7  \r\n"
      "Location\t\tBay 3\r\nSysDescr\t\tFeeder\r\nContact\t\tJo Doe\r\n"
      "WebConfig\t1\r\nTelnetConsole\t1\r\nHidePicture\t1\r\n"
      "# [LAN Port 1 Setting]\r\nPort1_Enable\t1\r\nPort1_MDIFlag\t2\r\nPort1_Speed\t4\r\n\r\n"
      "Port8_Enable\t1\r\nPort8_MDIFlag\t1\r\nPort8_Speed\t3\r\n"
      "FASTRECOVERY\t1\r\nDevice1_IP\t10.0.0.11\r\nDevice8_IP\t10.0.0.18\r\n\r\n"
      "MirrorPort\t3\r\nMirroredPort\t4\r\nWatchDirection\t2\r\n"
      "SMTPServer\tmail.example.net\r\nSMTPAccount\tsmtp user\r\nSMTPPassword\tqb73#5mR\r\n"
      "1st_e-mail_address\ta@example.net\r\n4th_e-mail_address\td@example.net\r\n"
      "ServerEvents\t3f\r\nPortEvents_1\t\t5\r\nTraffic-Threshold1\t75%\r\n"
      "Traffic-Duration1\t5 sec\r\n\r\nQuickSetup\t1\r\nBridgeId\t32768\r\n"
      "HelloTime\t2sec.\r\nMaxAge\t\t20sec.\r\nForwarding\t15sec.\r\n# [Port 1]\r\n"
      "STP_EN1\t\t1\r\nPort_ID1\t128\r\nPortCost1\t19\r\n"
      "\r\n# ----------End of File----------\r\n";
  Device d(Generation::kGenD2);
  ASSERT_EQ(d.Read(file), 0u);
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_DHCP), 1u);
  EXPECT_EQ(d.Number(D_CONF_ETH_IPADDR), MakeIpv4(192, 168, 1, 10));
  EXPECT_EQ(d.Number(D_CONF_ETH_IPMASK), MakeIpv4(255, 255, 0, 0));
  EXPECT_EQ(d.Number(D_CONF_ETH_GATEWAY), MakeIpv4(192, 168, 1, 254));
  EXPECT_EQ(d.Number(D_CONF_ETH_DNSSIP), MakeIpv4(8, 8, 4, 4));
  EXPECT_EQ(d.Text(D_CONF_ETH_TRAPS), "10.1.1.1");
  EXPECT_EQ(d.Text(D_CONF_ETH_COMMUNITY), "public ring");
  EXPECT_EQ(d.Text(D_CONF_ETH_USERNAME), "admin2");
  EXPECT_EQ(d.Text(kPasswordField), "");
  EXPECT_STREQ(d.record.password, "newsecret");
  EXPECT_EQ(d.Text(D_CONF_ETH_NAME), "Hall  7");
  EXPECT_EQ(d.Text(D_CONF_ETH_LOCATION_OLD), "Bay 3");
  EXPECT_EQ(d.Text(D_CONF_ETH_SYSDESCR), "Feeder");
  EXPECT_EQ(d.Text(D_CONF_ETH_CONTACT), "Jo Doe");
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_WEB), 1u);
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_TELNET), 1u);
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_HIDE), 1u);
  EXPECT_EQ(d.Number(PcfgDisable(1)), 1u);
  EXPECT_EQ(d.Number(PcfgFlag(1)), 2u);
  EXPECT_EQ(d.Number(PcfgSpeed(1)), 4u);
  EXPECT_EQ(d.Number(PcfgDisable(8)), 1u);
  EXPECT_EQ(d.Number(PcfgFlag(8)), 1u);
  EXPECT_EQ(d.Number(PcfgSpeed(8)), 3u);
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_FASTRECOVERY), 1u);
  EXPECT_EQ(d.Number(PcfgDevIp(1)), MakeIpv4(10, 0, 0, 11));
  EXPECT_EQ(d.Number(PcfgDevIp(8)), MakeIpv4(10, 0, 0, 18));
  EXPECT_EQ(d.Number(D_CONF_ETH_MIRROR_PORT), 3u);
  EXPECT_EQ(d.Number(D_CONF_ETH_TARGET_PORT), 4u);
  EXPECT_EQ(d.Number(D_CONF_ETH_MIRROR_DIR), 2u);
  EXPECT_EQ(d.Text(D_CONF_ETH_WARN_SMTPSrv), "mail.example.net");
  EXPECT_EQ(d.Text(D_CONF_ETH_WARN_SMTP_UNAME), "smtp user");
  EXPECT_EQ(d.Text(D_CONF_ETH_WARN_SMTP_PASSWD), "qb73#5mR");
  EXPECT_EQ(d.Text(WarnTo(1)), "a@example.net");
  EXPECT_EQ(d.Text(WarnTo(4)), "d@example.net");
  EXPECT_EQ(d.Number(D_CONF_ETH_WARN_SFLAG), 0x3Fu);
  EXPECT_EQ(d.Number(WarnPortFlag(1)), 5u);
  EXPECT_EQ(d.Number(WarnPortLoad(1)), 75u);
  EXPECT_EQ(d.Number(WarnPortLoadTime(1)), 5u);
  EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_REDUN), 1u);
  EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_BRIDGE_ID), 32768u);
  EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_HELLO_TIME), 2u);
  EXPECT_EQ(*d.block.ByteAt(640), 200);  // kept times 100
  EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_MAX_AGE), 20u);
  EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_FD_DELAY), 15u);
  EXPECT_EQ(d.Number(SpanPortEnable(1)), 1u);
  EXPECT_EQ(d.Number(SpanPortId(1)), 128u);
  EXPECT_EQ(d.Number(SpanPathCost(1)), 19u);
}

TEST(GenDReaders, LfAndCrLfFilesGiveTheSameBlock) {
  const std::string lf =
      Line("D_CONF_ETH_NAME", "North  Gate ") + Line("D_CONF_ETH_IPADDR", "10.2.3.4") +
      Line("D_CONF_ETH_WARN_SFLAG", "13") + Line("D_CONF_ETH_SPAN_MAX_AGE", "30");
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? "\r\n" : std::string(1, c);
  for (Generation g : kDGenerations) {
    Device a(g);
    Device b(g);
    EXPECT_EQ(a.Read(lf), 0u);
    EXPECT_EQ(b.Read(crlf), 0u);
    EXPECT_EQ(a.block, b.block) << GenerationName(g);
    EXPECT_EQ(a.Text(D_CONF_ETH_NAME), "North  Gate");
  }
}

// ---- acceptance ranges: both bounds applied, one past each bound skipped ----

struct RangeCase {
  const char* constName;
  ConfigItemId id;
  std::int64_t low;
  std::int64_t high;
  bool hex = false;
};

std::string Format(std::int64_t value, bool hex) {
  if (!hex) return std::to_string(value);
  if (value < 0) return "-" + Format(-value, true);
  char text[32];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

void ExpectRange(Generation g, const RangeCase& c) {
  SCOPED_TRACE(std::string(GenerationName(g)) + " " + c.constName);
  Device d(g);
  const auto low = static_cast<std::uint32_t>(c.low);
  const auto high = static_cast<std::uint32_t>(c.high);
  d.Set(c.id, low);
  EXPECT_EQ(d.Read(Line(c.constName, Format(c.high, c.hex))), 0u);
  EXPECT_EQ(d.Number(c.id), high);
  EXPECT_EQ(d.Read(Line(c.constName, Format(c.high + 1, c.hex))), 0u);
  EXPECT_EQ(d.Number(c.id), high);
  EXPECT_EQ(d.Read(Line(c.constName, Format(c.low, c.hex))), 0u);
  EXPECT_EQ(d.Number(c.id), low);
  d.Set(c.id, high);
  EXPECT_EQ(d.Read(Line(c.constName, Format(c.low - 1, c.hex))), 0u);
  EXPECT_EQ(d.Number(c.id), high);
}

const RangeCase kCommonRanges[] = {
    {"D_CONF_ETH_FLAG_DHCP", D_CONF_ETH_FLAG_DHCP, 0, 1},
    {"D_CONF_ETH_FLAG_WEB", D_CONF_ETH_FLAG_WEB, 0, 1},
    {"D_CONF_ETH_FLAG_TELNET", D_CONF_ETH_FLAG_TELNET, 0, 1},
    {"D_CONF_ETH_FLAG_HIDE", D_CONF_ETH_FLAG_HIDE, 0, 1},
    {"D_CONF_ETH_FLAG_FASTRECOVERY", D_CONF_ETH_FLAG_FASTRECOVERY, 0, 1},
    {"D_CONF_ETH_PCFG_DISABLE3", PcfgDisable(3), 0, 1},
    {"D_CONF_ETH_PCFG_FLAG3", PcfgFlag(3), 0, 2},
    {"D_CONF_ETH_PCFG_SPEED3", PcfgSpeed(3), 0, 4},
    {"D_CONF_ETH_MIRROR_PORT", D_CONF_ETH_MIRROR_PORT, 0, 8},
    {"D_CONF_ETH_TARGET_PORT", D_CONF_ETH_TARGET_PORT, 0, 8},
    {"D_CONF_ETH_MIRROR_DIR", D_CONF_ETH_MIRROR_DIR, 0, 2},
    {"D_CONF_ETH_WARN_PFLAG6", WarnPortFlag(6), 0, 7, true},
    {"D_CONF_ETH_WARN_PLOAD6", WarnPortLoad(6), 0, 100},
    {"D_CONF_ETH_WARN_PLOADTIME6", WarnPortLoadTime(6), 1, 300},
    {"D_CONF_ETH_SPAN_BRIDGE_ID", D_CONF_ETH_SPAN_BRIDGE_ID, 0, 65535},
    {"D_CONF_ETH_SPAN_HELLO_TIME", D_CONF_ETH_SPAN_HELLO_TIME, 0, 10},
    {"D_CONF_ETH_SPAN_MAX_AGE", D_CONF_ETH_SPAN_MAX_AGE, 6, 40},
    {"D_CONF_ETH_SPAN_FD_DELAY", D_CONF_ETH_SPAN_FD_DELAY, 4, 30},
    {"D_CONF_ETH_SPAN_PORT5_EN", SpanPortEnable(5), 0, 1},
    {"D_CONF_ETH_SPAN_PORT5_ID", SpanPortId(5), 0, 255},
    {"D_CONF_ETH_SPAN_PATH5_COST", SpanPathCost(5), 0, 65535},
};

TEST(GenDReaders, AcceptanceRangesOfEveryGeneration) {
  for (Generation g : kDGenerations) {
    for (const RangeCase& c : kCommonRanges) ExpectRange(g, c);
  }
}

TEST(GenDReaders, ServerEventsRangeIsWiderInGenD4) {
  for (Generation g : {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3}) {
    ExpectRange(g, {"D_CONF_ETH_WARN_SFLAG", D_CONF_ETH_WARN_SFLAG, 0, 0x3F, true});
  }
  ExpectRange(Generation::kGenD4, {"D_CONF_ETH_WARN_SFLAG", D_CONF_ETH_WARN_SFLAG, 0, 0x7F, true});
}

TEST(GenDReaders, QuickSetupIsAFlagInGenD1AndGenD2) {
  for (Generation g : {Generation::kGenD1, Generation::kGenD2}) {
    ExpectRange(g, {"D_CONF_ETH_SPAN_REDUN", D_CONF_ETH_SPAN_REDUN, 0, 1});
  }
}

TEST(GenDReaders, RelayRangesOfGenD4) {
  const RangeCase cases[] = {
      {"D_CONF_ETH_RELAY_PFLAG_LINK2", RelayPortLink(2), 0, 2},
      {"D_CONF_ETH_RELAY_PLOAD2", RelayPortLoad(2), 0, 100},
      {"D_CONF_ETH_RELAY_PLOADTIME2", RelayPortLoadTime(2), 1, 300},
  };
  for (const RangeCase& c : cases) ExpectRange(Generation::kGenD4, c);
}

TEST(GenDReaders, HexMasksTakeOnlyHexadecimalDigits) {
  Device d(Generation::kGenD2);
  d.Set(D_CONF_ETH_WARN_SFLAG, 0x01);
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_WARN_SFLAG", "0x3f")), 0u);
  EXPECT_EQ(d.Number(D_CONF_ETH_WARN_SFLAG), 0x3Fu);
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_WARN_SFLAG", "zz")), 0u);  // no digit: skipped
  EXPECT_EQ(d.Number(D_CONF_ETH_WARN_SFLAG), 0x3Fu);
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_WARN_SFLAG", "10000000A")), 0u);  // beyond 32 bits
  EXPECT_EQ(d.Number(D_CONF_ETH_WARN_SFLAG), 0x3Fu);
}

TEST(GenDReaders, FlagsUseAtolSemantics) {
  Device d(Generation::kGenD2);
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_FLAG_WEB", "1abc")), 0u);
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_WEB), 1u);
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_FLAG_WEB", "yes")), 0u);  // no digits: 0
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_WEB), 0u);
  d.Set(D_CONF_ETH_FLAG_WEB, 1);
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_FLAG_WEB", "4294967297")), 0u);  // no wrap to 1
  EXPECT_EQ(d.Number(D_CONF_ETH_FLAG_WEB), 1u);
}

// ---- addresses ----

TEST(GenDReaders, AddressesSkipAllOnesExceptTheLiteralNetmask) {
  for (Generation g : kDGenerations) {
    SCOPED_TRACE(GenerationName(g));
    Device d(g);
    const Ipv4 old = MakeIpv4(10, 9, 8, 7);
    for (ConfigItemId id : {D_CONF_ETH_IPADDR, D_CONF_ETH_IPMASK, D_CONF_ETH_GATEWAY,
                            D_CONF_ETH_DNSSIP, D_CONF_ETH_DNSSIP1, PcfgDevIp(4)}) {
      d.Set(id, old);
    }
    EXPECT_EQ(d.Read(Line("D_CONF_ETH_IPADDR", "255.255.255.255") +
                     Line("D_CONF_ETH_IPMASK", "255.255.255.255") +
                     Line("D_CONF_ETH_GATEWAY", "255.255.255.255") + Line("D_CONF_ETH_DNSSIP", "") +
                     Line("D_CONF_ETH_DNSSIP1", "not.an.address") +
                     Line("D_CONF_ETH_PCFG_DEVIP4", "1.2.3.999")),
              0u);
    EXPECT_EQ(d.Number(D_CONF_ETH_IPADDR), old);
    EXPECT_EQ(d.Number(D_CONF_ETH_IPMASK), kAllOnesIpv4);
    EXPECT_EQ(d.Number(D_CONF_ETH_GATEWAY), old);
    EXPECT_EQ(d.Number(D_CONF_ETH_DNSSIP), old);
    EXPECT_EQ(d.Number(D_CONF_ETH_DNSSIP1), old);
    EXPECT_EQ(d.Number(PcfgDevIp(4)), old);

    d.Set(D_CONF_ETH_IPMASK, old);
    EXPECT_EQ(d.Read(Line("D_CONF_ETH_IPMASK", "0xffffffff")), 0u);
    EXPECT_EQ(d.Number(D_CONF_ETH_IPMASK), old);
    EXPECT_EQ(d.Read(Line("D_CONF_ETH_IPMASK", "")), 0u);
    EXPECT_EQ(d.Number(D_CONF_ETH_IPMASK), old);

    EXPECT_EQ(d.Read(Line("D_CONF_ETH_IPADDR", "0.0.0.0") + Line("D_CONF_ETH_GATEWAY", "0x0a.1") +
                     Line("D_CONF_ETH_DNSSIP1", "10.0.0.2")),
              0u);
    EXPECT_EQ(d.Number(D_CONF_ETH_IPADDR), 0u);
    EXPECT_EQ(d.Number(D_CONF_ETH_GATEWAY), MakeIpv4(10, 0, 0, 1));
    EXPECT_EQ(d.Number(D_CONF_ETH_DNSSIP1), MakeIpv4(10, 0, 0, 2));
  }
}

// ---- texts ----

TEST(GenDReaders, TextsAreStoredWithoutTrailingBlanksAndOnlyWhenTheyFit) {
  Device d(Generation::kGenD2);
  d.SetText(D_CONF_ETH_NAME, "old name");
  d.SetText(D_CONF_ETH_USERNAME, "olduser");
  const std::string thirty(30, 'n');
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_NAME", thirty + " \t ") + Line("D_CONF_ETH_USERNAME", "u  v")),
            0u);
  EXPECT_EQ(d.Text(D_CONF_ETH_NAME), thirty);
  EXPECT_EQ(d.Text(D_CONF_ETH_USERNAME), "u  v");
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_NAME", thirty + "x") +
                   Line("D_CONF_ETH_USERNAME", std::string(17, 'u'))),
            0u);
  EXPECT_EQ(d.Text(D_CONF_ETH_NAME), thirty);
  EXPECT_EQ(d.Text(D_CONF_ETH_USERNAME), "u  v");
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_USERNAME", std::string(16, 'w'))), 0u);
  EXPECT_EQ(d.Text(D_CONF_ETH_USERNAME), std::string(16, 'w'));
}

TEST(GenDReaders, EmptyTextClearsAndDonothingKeeps) {
  Device d(Generation::kGenD3);
  d.SetText(D_CONF_ETH_NAME, "keep");
  d.SetText(D_CONF_ETH_CONTACT, "clear me");
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_NAME", "donothing") + Line("D_CONF_ETH_CONTACT", "")), 0u);
  EXPECT_EQ(d.Text(D_CONF_ETH_NAME), "keep");
  EXPECT_EQ(d.Text(D_CONF_ETH_CONTACT), "");
}

TEST(GenDReaders, LocationIsLongOnlyInGenD4) {
  const std::string eighty(80, 'l');
  Device d4(Generation::kGenD4);
  EXPECT_EQ(d4.Read(Line("D_CONF_ETH_LOCATION", eighty)), 0u);
  EXPECT_EQ(d4.Text(D_CONF_ETH_LOCATION), eighty);
  EXPECT_EQ(d4.Read(Line("D_CONF_ETH_LOCATION", eighty + "x")), 0u);
  EXPECT_EQ(d4.Text(D_CONF_ETH_LOCATION), eighty);

  Device d3(Generation::kGenD3);
  d3.SetText(D_CONF_ETH_LOCATION_OLD, "old");
  EXPECT_EQ(d3.Read(Line("D_CONF_ETH_LOCATION_OLD", std::string(31, 'l'))), 0u);
  EXPECT_EQ(d3.Text(D_CONF_ETH_LOCATION_OLD), "old");
  EXPECT_EQ(d3.Read(Line("D_CONF_ETH_LOCATION_OLD", "Hall 1")), 0u);
  EXPECT_EQ(d3.Text(D_CONF_ETH_LOCATION_OLD), "Hall 1");
}

TEST(GenDReaders, MailServerKeyDependsOnTheGeneration) {
  const std::string file =
      "MailServer\told.example.net\nSMTPServer\tnew.example.net\n"
      "SMTPAccount\t" +
      std::string(45, 'a') + "\nSMTPPassword\t" + std::string(46, 'p') + "\n";
  Device d1(Generation::kGenD1);
  EXPECT_EQ(d1.Read(file), 0u);
  EXPECT_EQ(d1.Text(D_CONF_ETH_WARN_MAILS), "old.example.net");
  Device d2(Generation::kGenD2);
  d2.SetText(D_CONF_ETH_WARN_SMTP_PASSWD, "keep");
  EXPECT_EQ(d2.Read(file), 0u);
  EXPECT_EQ(d2.Text(D_CONF_ETH_WARN_SMTPSrv), "new.example.net");
  EXPECT_EQ(d2.Text(D_CONF_ETH_WARN_SMTP_UNAME), std::string(45, 'a'));
  EXPECT_EQ(d2.Text(D_CONF_ETH_WARN_SMTP_PASSWD), "keep");
}

// ---- the login password ----

TEST(GenDReaders, PasswordGoesIntoTheRecordNotTheBlock) {
  for (Generation g : kDGenerations) {
    Device d(g);
    const ConfigBlock before = d.block;
    EXPECT_EQ(d.Read(Line("D_CONF_ETH_PASSWORD", "s3cret")), 0u);
    EXPECT_STREQ(d.record.password, "s3cret");
    EXPECT_EQ(d.block, before) << GenerationName(g);
  }
}

TEST(GenDReaders, PasswordRule) {
  Device d(Generation::kGenD2);
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_PASSWORD", std::string(16, 'p'))), 0u);
  EXPECT_STREQ(d.record.password, "pppppppppppppppp");
  // Longer than 16, or cut by the token at a blank: the password stays.
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_PASSWORD", std::string(17, 'q'))), 0u);
  EXPECT_STREQ(d.record.password, "pppppppppppppppp");
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_PASSWORD", "two words")), 0u);
  EXPECT_STREQ(d.record.password, "pppppppppppppppp");
  EXPECT_EQ(d.Read("Username\tx\n"), 0u);
  EXPECT_STREQ(d.record.password, "pppppppppppppppp");
  // Trailing blanks are no part of the password; an empty value is no password.
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_PASSWORD", "abc  \t")), 0u);
  EXPECT_STREQ(d.record.password, "abc");
  EXPECT_EQ(d.Read(Line("D_CONF_ETH_PASSWORD", "")), 0u);
  EXPECT_STREQ(d.record.password, "");
}

// ---- ports 7 and 8 per model ----

TEST(GenDReaders, PortSevenAndEightModelRules) {
  struct ModelCase {
    std::uint16_t model;
    bool port7Mdi;
    bool port7Speed;
    bool port8;
  };
  const ModelCase cases[] = {
      {0x6008, true, true, true},    {0x6018, true, true, false},   {0x6028, true, true, false},
      {0x6038, false, false, false}, {0x6048, false, false, false}, {0x6058, true, true, true},
      {0x6068, true, true, false},   {0x6078, true, true, false},   {0x6088, false, false, false},
      {0x6098, false, false, false},
  };
  const std::string file =
      "Port7_Enable\t1\nPort7_MDIFlag\t2\nPort7_Speed\t3\n"
      "Port8_Enable\t1\nPort8_MDIFlag\t1\nPort8_Speed\t4\n";
  for (const ModelCase& c : cases) {
    SCOPED_TRACE(c.model);
    EXPECT_EQ(GenDAppliesPort7MdiFlag(c.model), c.port7Mdi);
    EXPECT_EQ(GenDAppliesPort7Speed(c.model), c.port7Speed);
    EXPECT_EQ(GenDAppliesPort8Settings(c.model), c.port8);
    Device d(Generation::kGenD4, c.model);
    EXPECT_EQ(d.Read(file), 0u);
    EXPECT_EQ(d.Number(PcfgDisable(7)), 1u);
    EXPECT_EQ(d.Number(PcfgDisable(8)), 1u);
    EXPECT_EQ(d.Number(PcfgFlag(7)), c.port7Mdi ? 2u : 0u);
    EXPECT_EQ(d.Number(PcfgSpeed(7)), c.port7Speed ? 3u : 0u);
    EXPECT_EQ(d.Number(PcfgFlag(8)), c.port8 ? 1u : 0u);
    EXPECT_EQ(d.Number(PcfgSpeed(8)), c.port8 ? 4u : 0u);
  }
}

// ---- redundancy ----

TEST(GenDReaders, GenD1AndGenD2ReadSpanningTreeWhateverQuickSetupSays) {
  for (Generation g : {Generation::kGenD1, Generation::kGenD2}) {
    Device d(g);
    EXPECT_EQ(d.Read("QuickSetup\t1\nHelloTime\t3sec.\nIsMaster\t1\nWhichRedundant\t2\n"), 0u);
    EXPECT_EQ(d.Number(kRedundancyWord), 1u);
    EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_HELLO_TIME), 3u);
  }
}

TEST(GenDReaders, GenD3ProtocolOnStoresTheRingWordAlone) {
  Device d(Generation::kGenD3);
  d.Set(kRedundancyWord, 0xFF);
  d.Set(D_CONF_ETH_SPAN_HELLO_TIME, 1);
  EXPECT_EQ(d.Read("WhichRedundant\t1\nIsMaster\t1\nCoupling\t1\nHelloTime\t3sec.\n"), 0u);
  EXPECT_EQ(d.Number(kRedundancyWord), 0x32u);
  EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_HELLO_TIME), 1u);  // not read with the ring on

  EXPECT_EQ(d.Read("WhichRedundant\t7\nIsMaster\t0\n"), 0u);  // any non-zero protocol
  EXPECT_EQ(d.Number(kRedundancyWord), 0x02u);
}

TEST(GenDReaders, GenD3ProtocolOffClearsOnlyTheRingBit) {
  Device d(Generation::kGenD3);
  d.Set(kRedundancyWord, 0x33);
  EXPECT_EQ(d.Read("WhichRedundant\t0\nIsMaster\t0\nHelloTime\t4sec.\n"), 0u);
  EXPECT_EQ(d.Number(kRedundancyWord), 0x31u);  // master bit untouched: ring items not read
  EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_HELLO_TIME), 4u);
}

TEST(GenDReaders, GenD4ProtocolValues) {
  struct Case {
    const char* value;
    std::uint32_t before;
    std::uint32_t after;
    bool spanningTree;
  };
  const Case cases[] = {
      {"1", 0xF0, 0x02, false}, {"2", 0x00, 0x42, false},  {"3", 0x42, 0x40, true},
      {"0", 0x12, 0x10, true},  {"abc", 0x02, 0x00, true}, {"-1", 0x43, 0x41, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Device d(Generation::kGenD4);
    d.Set(kRedundancyWord, c.before);
    d.Set(D_CONF_ETH_SPAN_FD_DELAY, 4);
    EXPECT_EQ(d.Read(std::string("WhichRedundant\t") + c.value + "\nForwarding\t30sec.\n"), 0u);
    EXPECT_EQ(d.Number(kRedundancyWord), c.after);
    EXPECT_EQ(d.Number(D_CONF_ETH_SPAN_FD_DELAY), c.spanningTree ? 30u : 4u);
  }
}

TEST(GenDReaders, WithoutAProtocolLineTheDevicesWordDecides) {
  for (Generation g : {Generation::kGenD3, Generation::kGenD4}) {
    SCOPED_TRACE(GenerationName(g));
    Device ring(g);
    ring.Set(kRedundancyWord, 0x42);
    EXPECT_EQ(ring.Read("IsMaster\t1\nCoupling\t5\nMaxAge\t30sec.\n"), 0u);
    EXPECT_EQ(ring.Number(kRedundancyWord), 0x72u);
    EXPECT_EQ(ring.Number(D_CONF_ETH_SPAN_MAX_AGE), 0u);

    Device stp(g);
    stp.Set(kRedundancyWord, 0x10);
    EXPECT_EQ(stp.Read("IsMaster\t0\nMaxAge\t30sec.\n"), 0u);
    EXPECT_EQ(stp.Number(kRedundancyWord), 0x10u);
    EXPECT_EQ(stp.Number(D_CONF_ETH_SPAN_MAX_AGE), 30u);
  }
}

// ---- GenD4 relay warning ----

TEST(GenDReaders, GenD4RelayFlagsGoIntoTheirBits) {
  Device d(Generation::kGenD4);
  d.Set(RelayPortLink(1), 0x03);  // link bits 1 and 0 set beforehand
  EXPECT_EQ(d.Read("Override_Relay_Warning_Settings\t1\nPower_Input_1_failure(On->Off)\t1\n"
                   "Power_Input_2_failure(On->Off)\t1\nPortLink_1\t2\nPortTraf_1\t1\n"
                   "Traffic_Threshold_1\t80%\nTraffic_Duration_1\t9 sec\n"),
            0u);
  EXPECT_EQ(d.Number(D_CONF_ETH_RELAY_SFLAG_NORMAL), 0x51u);
  EXPECT_EQ(d.Number(RelayPortLink(1)), 0x06u);
  EXPECT_EQ(d.Number(RelayPortLoad(1)), 80u);
  EXPECT_EQ(d.Number(RelayPortLoadTime(1)), 9u);

  EXPECT_EQ(d.Read("Power_Input_1_failure(On->Off)\t0\nPower_Input_2_failure(On->Off)\t2\n"
                   "PortTraf_1\t0\n"),
            0u);
  EXPECT_EQ(d.Number(D_CONF_ETH_RELAY_SFLAG_NORMAL), 0x41u);  // 2 is no flag value: kept
  EXPECT_EQ(d.Number(RelayPortLink(1)), 0x02u);
}

TEST(GenDReaders, RelayKeysMeanNothingBeforeGenD4) {
  Device d(Generation::kGenD2);
  const ConfigBlock before = d.block;
  EXPECT_EQ(d.Read("PortLink_1\t2\nTraffic_Threshold_1\t80\nOverride_Relay_Warning_Settings\t1\n"),
            0u);
  EXPECT_EQ(d.block, before);
}

// ---- file edge cases through a reader ----

TEST(GenDReaders, FirstLineOfAKeyWinsAndIndentedHashIsNoComment) {
  Device d(Generation::kGenD2);
  EXPECT_EQ(d.Read(" # ServerName\tfake\nServerName\tfirst\nServerName\tsecond\n"
                   "#MirrorPort\t1\n  MirrorPort\t5\n"),
            0u);
  EXPECT_EQ(d.Text(D_CONF_ETH_NAME), "first");
  EXPECT_EQ(d.Number(D_CONF_ETH_MIRROR_PORT), 5u);
}

TEST(GenDReaders, PieceOfALongCommentLineCanCarryAKey) {
  Device d(Generation::kGenD2);
  const std::string comment = "#" + std::string(328, '-') + "MirrorPort 6\n";
  EXPECT_EQ(d.Read(comment + "MirrorPort\t2\n"), 0u);
  EXPECT_EQ(d.Number(D_CONF_ETH_MIRROR_PORT), 6u);
}

// ---- blocks that cannot take the file ----

TEST(GenDReaders, ShortBlockIsRefusedAndLeftAlone) {
  for (Generation g : kDGenerations) {
    Device d(g);
    d.block.Resize(blockSize(g) - 1);
    const ConfigBlock before = d.block;
    EXPECT_EQ(d.Read(Line("D_CONF_ETH_MIRROR_PORT", "3") + Line("D_CONF_ETH_PASSWORD", "x")),
              validation::kBlockRefused)
        << GenerationName(g);
    EXPECT_EQ(d.block, before);
    EXPECT_STREQ(d.record.password, "oldpass");
  }
}

TEST(GenDReaders, AccessorsOfAnotherBlockSizeAreRefused) {
  Device d(Generation::kGenD4);
  auto genD1 = MakeGenD1Accessors();
  EXPECT_EQ(readGenD4ConfigFile(d.record, d.block, "MirrorPort\t3\n", *genD1),
            validation::kBlockRefused);
  EXPECT_EQ(d.Number(D_CONF_ETH_MIRROR_PORT), 0u);
}

// ---- export and import agree ----

/// A device with a value in every item that its file carries (ring off).
void FillTypicalDevice(Device& d) {
  const Generation g = d.generation;
  d.Set(D_CONF_ETH_FLAG_DHCP, 1);
  d.Set(D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 1, 10));
  d.Set(D_CONF_ETH_IPMASK, MakeIpv4(255, 255, 255, 0));
  d.Set(D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 1, 254));
  d.Set(D_CONF_ETH_DNSSIP, MakeIpv4(8, 8, 8, 8));
  d.SetText(D_CONF_ETH_TRAPS, "trap.example.net");
  d.SetText(D_CONF_ETH_COMMUNITY, "public");
  d.SetText(D_CONF_ETH_USERNAME, "operator");
  d.SetText(D_CONF_ETH_NAME, "Line 4 Switch");
  if (g == Generation::kGenD4) {
    d.SetText(D_CONF_ETH_LOCATION, "Plant North, Building 7, Hall 2");
  } else {
    d.SetText(D_CONF_ETH_LOCATION_OLD, "Hall 2");
  }
  d.SetText(D_CONF_ETH_SYSDESCR, "Feeder");
  d.SetText(D_CONF_ETH_CONTACT, "J. Doe");
  d.Set(D_CONF_ETH_FLAG_WEB, 1);
  d.Set(D_CONF_ETH_FLAG_TELNET, 1);
  d.Set(D_CONF_ETH_FLAG_FASTRECOVERY, 1);
  d.Set(D_CONF_ETH_MIRROR_PORT, 2);
  d.Set(D_CONF_ETH_TARGET_PORT, 3);
  d.Set(D_CONF_ETH_MIRROR_DIR, 1);
  d.SetText(D_CONF_ETH_WARN_SMTPSrv, "smtp.example.net");
  for (int k = 1; k <= 4; ++k) d.SetText(WarnTo(k), "ops" + std::to_string(k) + "@example.net");
  d.Set(D_CONF_ETH_WARN_SFLAG, 0x2A);
  if (g != Generation::kGenD1) {
    d.SetText(D_CONF_ETH_WARN_SMTP_UNAME, "mailer");
    d.SetText(D_CONF_ETH_WARN_SMTP_PASSWD, "pw#1");
  }
  for (int p = 1; p <= 8; ++p) {
    const auto n = static_cast<std::uint32_t>(p);
    d.Set(PcfgDisable(p), n % 2);
    d.Set(PcfgFlag(p), n % 3);
    d.Set(PcfgSpeed(p), n % 5);
    d.Set(PcfgDevIp(p), MakeIpv4(10, 0, 0, static_cast<std::uint8_t>(p)));
    d.Set(WarnPortFlag(p), n % 8);
    d.Set(WarnPortLoad(p), 10 * n);
    d.Set(WarnPortLoadTime(p), 5 * n);
    d.Set(SpanPortEnable(p), n % 2);
    d.Set(SpanPortId(p), 16 * n);
    d.Set(SpanPathCost(p), 100 + n);
    if (g == Generation::kGenD4) {
      d.Set(RelayPortLink(p), n % 3);
      d.Set(RelayPortTraffic(p), p % 2 == 0 ? 0x04 : 0);
      d.Set(RelayPortLoad(p), 9 * n);
      d.Set(RelayPortLoadTime(p), n + 1);
    }
  }
  d.Set(D_CONF_ETH_SPAN_HELLO_TIME, 2);
  d.Set(D_CONF_ETH_SPAN_MAX_AGE, 20);
  d.Set(D_CONF_ETH_SPAN_FD_DELAY, 15);
  d.Set(D_CONF_ETH_SPAN_BRIDGE_ID, 32768);
  if (g == Generation::kGenD1 || g == Generation::kGenD2) d.Set(D_CONF_ETH_SPAN_REDUN, 1);
  if (g == Generation::kGenD4) d.Set(D_CONF_ETH_RELAY_SFLAG_NORMAL, 0x01 | 0x10 | 0x40);
}

TEST(GenDReaders, ExportedFileImportsIntoAnEqualBlock) {
  for (Generation g : kDGenerations) {
    SCOPED_TRACE(GenerationName(g));
    Device source(g);
    FillTypicalDevice(source);
    SetFieldText(source.record.password, "exportpw");
    std::string file;
    ASSERT_TRUE(WriteGenDConfigFile(g, file, source.record, source.block, *source.accessors));

    Device target(g);
    EXPECT_EQ(target.Read(file), 0u);
    EXPECT_EQ(target.block, source.block);
    EXPECT_STREQ(target.record.password, "exportpw");
  }
}

TEST(GenDReaders, ExportedRingSettingsImportBack) {
  for (Generation g : {Generation::kGenD3, Generation::kGenD4}) {
    SCOPED_TRACE(GenerationName(g));
    for (std::uint32_t word : {0x02u, 0x12u, 0x32u, 0x22u, 0x42u, 0x72u}) {
      if (g == Generation::kGenD3 && (word & 0x40)) continue;
      Device source(g);
      source.Set(kRedundancyWord, word);
      std::string file;
      ASSERT_TRUE(WriteGenDConfigFile(g, file, source.record, source.block, *source.accessors));
      Device target(g);
      EXPECT_EQ(target.Read(file), 0u);
      EXPECT_EQ(target.Number(kRedundancyWord), word);
    }
  }
}

// ---- the problem list ----

FileReadResult ReadWithProblems(Device& d, std::string_view file) {
  return ReadGenDConfigFileWithProblems(d.generation, d.record, d.block, file, *d.accessors);
}

TEST(GenDReaderProblems, BadValuesOfTwoGroupsAreListedWithLineAndKeyWhileTheFileIsAccepted) {
  const std::string file = "# a comment line\r\n" + Line("D_CONF_ETH_PCFG_SPEED3", "9\r") +
                           Line("D_CONF_ETH_MIRROR_PORT", "2\r") +
                           Line("D_CONF_ETH_WARN_PLOADTIME5", "0 sec\r") +
                           Line("D_CONF_ETH_SYSDESCR", std::string(31, 'd') + "\r");
  Device plain(Generation::kGenD2);
  plain.Set(PcfgSpeed(3), 4);
  EXPECT_EQ(plain.Read(file), 0u);

  Device d(Generation::kGenD2);
  d.Set(PcfgSpeed(3), 4);
  const FileReadResult result = ReadWithProblems(d, file);
  EXPECT_EQ(result.flags, 0u);
  // In the order of the schema: server, ports, e-mail warning.
  EXPECT_EQ(result.problems,
            (std::vector<FileProblem>{{5, "SysDescr", validation::kSystem},
                                      {2, "Port3_Speed", validation::kPort},
                                      {4, "Traffic-Duration5", validation::kEmailWarning}}));
  EXPECT_EQ(d.Number(PcfgSpeed(3)), 4u);
  EXPECT_EQ(d.Number(D_CONF_ETH_MIRROR_PORT), 2u);
  EXPECT_EQ(d.block, plain.block);
}

TEST(GenDReaderProblems, PasswordAndGenerationRangesAreProblemsOfTheirGroups) {
  const std::string file = Line("D_CONF_ETH_WARN_SFLAG", "40") + Line("D_CONF_ETH_PASSWORD", "a b");
  Device genD2(Generation::kGenD2);
  EXPECT_EQ(ReadWithProblems(genD2, file).problems,
            (std::vector<FileProblem>{{2, "Password", validation::kPasswords},
                                      {1, "ServerEvents", validation::kEmailWarning}}));
  Device genD4(Generation::kGenD4);
  EXPECT_EQ(ReadWithProblems(genD4, file).problems,
            (std::vector<FileProblem>{{2, "Password", validation::kPasswords}}));
  EXPECT_EQ(genD4.Number(D_CONF_ETH_WARN_SFLAG), 0x40u);
  EXPECT_STREQ(genD4.record.password, "oldpass");
}

TEST(GenDReaderProblems, SpanningTreeValuesAreCheckedOnlyWhenTheRingIsOff) {
  const std::string ringOn =
      Line("D_CONF_ETH_REDUN_PROTOCOL", "1") + Line("D_CONF_ETH_SPAN_PORT2_ID", "256");
  Device d(Generation::kGenD3);
  EXPECT_TRUE(ReadWithProblems(d, ringOn).problems.empty());
  const std::string ringOff =
      Line("D_CONF_ETH_REDUN_PROTOCOL", "0") + Line("D_CONF_ETH_SPAN_PORT2_ID", "256");
  EXPECT_EQ(ReadWithProblems(d, ringOff).problems,
            (std::vector<FileProblem>{{2, "Port_ID2", validation::kCommRedundancy}}));
}

TEST(GenDReaderProblems, RefusedBlockIsTheOnlyProblem) {
  Device d(Generation::kGenD1);
  d.block.Resize(blockSize(Generation::kGenD1) - 1);
  const FileReadResult result = ReadWithProblems(d, Line("D_CONF_ETH_PCFG_SPEED3", "9"));
  EXPECT_EQ(result.flags, validation::kBlockRefused);
  EXPECT_EQ(result.problems, (std::vector<FileProblem>{{0, "", validation::kBlockRefused}}));
}

TEST(GenDReaderProblems, AnExportedFileHasNone) {
  for (Generation g : kDGenerations) {
    SCOPED_TRACE(GenerationName(g));
    Device source(g);
    FillTypicalDevice(source);
    std::string file;
    ASSERT_TRUE(WriteGenDConfigFile(g, file, source.record, source.block, *source.accessors));
    Device target(g);
    EXPECT_EQ(ReadWithProblems(target, file).problems, std::vector<FileProblem>{});
  }
}

}  // namespace
}  // namespace vantrell
