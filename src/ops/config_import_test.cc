#include "ops/config_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "config/config_item_ids.h"
#include "config/gen_d_layouts.h"
#include "net/session.h"
#include "net/session_codec.h"
#include "support/scripted_device.h"
#include "support/smtp_password_reply.h"

namespace vantrell {
namespace {

using namespace vantrell::test_support;
using namespace address_change;

const Bytes kChallenge = {0x14, 0x04, 1, 2, 3, 4};
const std::string kHeader = "[Meshvault Server Configuration File]\r\n";

/// The device's side of a login that succeeds.
std::vector<Step> LoginSteps() {
  return {Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}}};
}

DeviceRecord Switch(std::string_view modelName = "ORV-D8") {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = 0x6008;
  record.firmwareVersion = 0x01040100;  // GenD2
  record.serialNo = 0x0123;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.netmask = MakeIpv4(255, 0, 0, 0);
  record.gateway = MakeIpv4(127, 0, 0, 254);
  record.dns1 = MakeIpv4(127, 0, 0, 53);
  SetFieldText(record.modelName, modelName);
  SetFieldText(record.password, "old-pw");
  return record;
}

class TempFile {
 public:
  explicit TempFile(std::string_view bytes)
      : path_(std::filesystem::temp_directory_path() /
              ("vantrell-import-" + std::to_string(::getpid()) + "-" + std::to_string(++count_))) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  static inline int count_ = 0;
  std::filesystem::path path_;
};

// ---------------------------------------------------------------------------
// The file tests.

TEST(ImportFileTests, HeaderIsComparedWithoutItsClosingBracket) {
  const DeviceRecord row = Switch();
  using Outcome = ImportFileScan::Outcome;
  EXPECT_EQ(ScanImportFile(kHeader, row).outcome, Outcome::kPassed);
  EXPECT_EQ(ScanImportFile("[Meshvault Server Configuration File\n", row).outcome,
            Outcome::kPassed);
  EXPECT_EQ(ScanImportFile("[Meshvault Server Configuration File]trailing", row).outcome,
            Outcome::kPassed);
  EXPECT_EQ(ScanImportFile("\xEF\xBB\xBF" + kHeader, row).outcome, Outcome::kFormatError);
  EXPECT_EQ(ScanImportFile("[Meshvault Server Configuration Fil\n", row).outcome,
            Outcome::kFormatError);
  EXPECT_EQ(ScanImportFile(std::string("[Meshvault\0 Server Configuration File]", 38), row).outcome,
            Outcome::kFormatError);
  EXPECT_EQ(ScanImportFile("", row).outcome, Outcome::kFormatError);
}

TEST(ImportFileTests, GzipSkipsHeaderAndModelTestsAndScansFromByteThree) {
  const DeviceRecord row = Switch();
  const ImportFileScan scan =
      ScanImportFile(std::string("\x1F\x8B\x08IPAddress 10.1.2.3\nModelName ORV-X\n"), row);
  EXPECT_EQ(scan.outcome, ImportFileScan::Outcome::kPassed);
  EXPECT_TRUE(scan.compressed);
  EXPECT_EQ(scan.mask, kIpAddr);
  EXPECT_EQ(scan.edited.ipAddr, MakeIpv4(10, 1, 2, 3));

  const ImportFileScan notGzip = ScanImportFile(std::string("\x1F\x8B\x09rest"), row);
  EXPECT_EQ(notGzip.outcome, ImportFileScan::Outcome::kFormatError);
  EXPECT_FALSE(IsGzipFile(std::string("\x1F\x8B")));
}

TEST(ImportFileTests, ModelTokenMustBeAPrefixOfTheDeviceModel) {
  using Outcome = ImportFileScan::Outcome;
  auto scan = [](std::string_view modelLine, std::string_view device) {
    return ScanImportFile(kHeader + "# Model Name\r\n" + std::string(modelLine), Switch(device))
        .outcome;
  };
  EXPECT_EQ(scan("ModelName ORV-A8\r\n", "ORV-A8-F1"), Outcome::kPassed);
  EXPECT_EQ(scan("ModelName ORV-A8-F1\r\n", "ORV-A8"), Outcome::kModelMismatch);
  EXPECT_EQ(scan("ModelName\t\tORV-D8\r\n", "ORV-D8"), Outcome::kPassed);
  EXPECT_EQ(scan("ModelName\r\n", "ORV-D8"), Outcome::kPassed);
  EXPECT_EQ(scan("ModelNameX orv-d8\r\n", "ORV-D8"), Outcome::kModelMismatch);
  EXPECT_EQ(scan("#ModelName ORV-A8\r\n", "ORV-D8"), Outcome::kPassed);
  // Only the first model line counts.
  EXPECT_EQ(scan("ModelName ORV-D8\r\nModelName ORV-A8\r\n", "ORV-D8"), Outcome::kPassed);
  EXPECT_EQ(scan("ModelName ORV-A8\r\nModelName ORV-D8\r\n", "ORV-D8"), Outcome::kModelMismatch);
}

TEST(ImportFileTests, ModelLineNameIsTheFirstModelLinesSecondToken) {
  auto name = [](std::string_view text) {
    ImportFileReader file(text);
    return ReadModelLineName(file);
  };
  EXPECT_EQ(name("#ModelName ORV-A8\r\nModelName\t\tORV-D8-G1\r\nModelName ORV-A8\r\n"),
            "ORV-D8-G1");
  EXPECT_EQ(name("ModelNameX orv-d8 more\n"), "orv-d8");
  EXPECT_EQ(name("ModelName\r\n"), "");
  EXPECT_FALSE(name("# Model Name\r\nSwitchName ModelName\r\n").has_value());
  ImportFileReader file("ModelName ORV-M26\nNext line\n");
  ReadModelLineName(file);
  EXPECT_EQ(file.ReadLine(), "Next line\n");
}

TEST(ImportPreScan, ReadsTheAddressLinesAfterTheModelLine) {
  const DeviceRecord row = Switch();
  const ImportFileScan scan = ScanImportFile(kHeader +
                                                 "IPAddress 10.9.9.9\r\n"  // before the model line
                                                 "ModelName ORV-D8\r\n"
                                                 "# IPAddress 10.0.0.1\r\n"
                                                 "IPAddress\t192.168.1.7\r\n"
                                                 "Unrelated 1\r\n"
                                                 "Netmask 255.255.255.0\r\n"
                                                 "Gateway 127.0.0.254\r\n"
                                                 "DNSIP2 10.0.0.53\r\n"
                                                 "DNSIP1 10.0.0.54\r\n",
                                             row);
  ASSERT_EQ(scan.outcome, ImportFileScan::Outcome::kPassed);
  EXPECT_EQ(scan.mask, kIpAddr | kNetmask | kDns1 | kDns2);
  EXPECT_EQ(scan.edited.ipAddr, MakeIpv4(192, 168, 1, 7));
  EXPECT_EQ(scan.edited.netmask, MakeIpv4(255, 255, 255, 0));
  EXPECT_EQ(scan.edited.gateway, row.gateway);
  EXPECT_EQ(scan.edited.dns1, MakeIpv4(10, 0, 0, 53));
  EXPECT_EQ(scan.edited.dns2, MakeIpv4(10, 0, 0, 54));
  // Everything else is the row's record.
  DeviceRecord rest = scan.edited;
  rest.ipAddr = row.ipAddr;
  rest.netmask = row.netmask;
  rest.dns1 = row.dns1;
  rest.dns2 = row.dns2;
  EXPECT_EQ(rest, row);
}

TEST(ImportPreScan, StopsAfterSixRecognisedLines) {
  DeviceRecord row = Switch();
  ImportFileReader file(
      "Gateway 127.0.0.254\nGateway 127.0.0.254\nGateway 127.0.0.254\nGateway 127.0.0.254\n"
      "Gateway 127.0.0.254\nGateway 127.0.0.254\nIPAddress 10.0.0.1\n");
  DeviceRecord edited;
  EXPECT_EQ(preScanNetworkSettings(file, row, edited), 0u);
  EXPECT_EQ(edited.ipAddr, row.ipAddr);
  EXPECT_FALSE(file.AtEnd());
}

TEST(ImportPreScan, EmptyAndUnparsableValues) {
  const DeviceRecord row = Switch();
  ImportFileReader file("IPAddress\nNetmask\nGateway\nDNSIP\nDNSIP1 \n");
  DeviceRecord edited;
  EXPECT_EQ(preScanNetworkSettings(file, row, edited), kIpAddr | kNetmask | kGateway | kDns1);
  EXPECT_EQ(edited.ipAddr, kAllOnesIpv4);
  EXPECT_EQ(edited.netmask, 0u);
  EXPECT_EQ(edited.gateway, 0u);
  EXPECT_EQ(edited.dns1, 0u);
  EXPECT_EQ(edited.dns2, 0u);  // the row's dns2 was 0 already: no bit

  ImportFileReader bad("IPAddress 300.1.1.1\n");
  EXPECT_EQ(preScanNetworkSettings(bad, row, edited), kIpAddr);
  EXPECT_EQ(edited.ipAddr, kAllOnesIpv4);
}

TEST(ImportPreScan, AddressModeChangeIsMarkedAndTravels) {
  DeviceRecord row = Switch();
  ImportFileReader same("AUTOIP 0\n");
  DeviceRecord edited;
  EXPECT_EQ(preScanNetworkSettings(same, row, edited), 0u);
  ImportFileReader dhcp("AUTOIP 1\r\n");
  EXPECT_EQ(preScanNetworkSettings(dhcp, row, edited), kAutoIp);
  EXPECT_EQ(edited.ipConfigFlags, 1u);
}

TEST(ImportPreScan, LongLinesArriveInPiecesOf127) {
  const DeviceRecord row = Switch();
  // A comment of 127 characters: its rest is read as a line of its own.
  const std::string comment = "#" + std::string(126, 'x');
  const std::string bytes = comment + "IPAddress 10.0.0.1\n";
  ImportFileReader file(bytes);
  DeviceRecord edited;
  EXPECT_EQ(preScanNetworkSettings(file, row, edited), kIpAddr);
  EXPECT_EQ(edited.ipAddr, MakeIpv4(10, 0, 0, 1));
}

TEST(ImportFileReader, LinesAsTheCLineReaderGivesThem) {
  const std::string bytes("ab\r\ncd\0ef\ngh", 12);
  ImportFileReader file(bytes);
  EXPECT_EQ(file.ReadLine(), "ab\r\n");
  EXPECT_EQ(file.ReadLine(), "cd");
  EXPECT_EQ(file.ReadLine(), "gh");
  EXPECT_EQ(file.ReadLine(), std::nullopt);
  const LineTokens tokens = ScanTwoTokens("  \tKey \t Value rest\r\n");
  EXPECT_EQ(tokens.first, "Key");
  EXPECT_EQ(tokens.second, "Value");
  EXPECT_EQ(ScanTwoTokens(" \r\n").first, "");
}

// ---------------------------------------------------------------------------
// importToDevice.

/// A GenD2 block with a recognisable pattern and the mail-server password "mailpw".
Bytes PatternBlock() {
  ConfigBlock block(1124);
  for (std::size_t i = 0; i < block.size(); ++i) {
    block.SetByteAt(i, static_cast<std::uint8_t>(i * 7 + 3));
  }
  MakeGenDAccessors(Generation::kGenD2)
      ->setText(block, item::D_CONF_ETH_WARN_SMTP_PASSWD, "mailpw");
  return Bytes(block.bytes().begin(), block.bytes().end());
}

/// What the device read, once it has read `count` requests (at most 2 s).
std::vector<Bytes> ReceivedOnce(ScriptedDevice& device, std::size_t count) {
  for (int waited = 0; waited < 2000 && device.received().size() < count; waited += 10) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return device.received();
}

/// Ends the wait of a device that must not have been contacted: checks that
/// it received nothing, then connects once so that it stops listening.
void ExpectUntouchedAndRelease(ScriptedDevice& device) {
  EXPECT_TRUE(device.received().empty());
  Session session;
  openSession(MakeIpv4(127, 0, 0, 1), session, device.timing());
}


/// The password a 0x15 request carries, unmasked with the current password.
std::string UnmaskedNewPassword(const Bytes& request, std::string_view current,
                                std::uint16_t serial) {
  const std::array<std::uint8_t, 4> tick = {request[1], request[2], request[3], request[4]};
  Bytes field(request.begin() + 5, request.begin() + 21);
  ApplyMask(field, MaskKey(current, serial, tick));
  return std::string(reinterpret_cast<const char*>(field.data()),
                     strnlen(reinterpret_cast<const char*>(field.data()), field.size()));
}

TEST(ImportBlockTransport, StoresTheFetchedBlockWithTheFilesValuesAndCommits) {
  const Bytes fetched = PatternBlock();
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(fetched)}, Expect{3 + 1124},
                             Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}}, Expect{43},
                             Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  ScriptedDevice device(steps);
  const TempFile file(kHeader +
                      "ModelName ORV-D8\r\n"
                      "Contact\t\tHall 7 desk\r\n"
                      "SMTPPassword\tmail-pw\r\n"
                      "Password\tnew-pw\r\n");
  const DeviceRecord row = Switch();
  DeviceRecord edited = row;
  edited.netmask = MakeIpv4(255, 255, 0, 0);  // as the review confirmed it

  const ImportOutcome outcome = importToDevice(row, edited, file.path(), device.timing());
  EXPECT_EQ(outcome.result, kImportOk);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_EQ(ImportRowText(outcome.result), "Import Success");
  EXPECT_EQ(FieldText(edited.password), "new-pw");

  const auto seen = device.received();
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[2], Bytes{0x08});
  ASSERT_EQ(seen[3].size(), 3u + 1124u);
  EXPECT_EQ(seen[3][0], 0x09);
  EXPECT_EQ(seen[3][1], 0x04);
  EXPECT_EQ(seen[3][2], 0x64);
  // Expected block: the fetched one with the contact and the edited addresses.
  auto accessors = MakeGenDAccessors(Generation::kGenD2);
  ConfigBlock expected(1124);
  std::copy(fetched.begin(), fetched.end(), expected.bytes().begin());
  ASSERT_EQ(accessors->setText(expected, item::D_CONF_ETH_CONTACT, "Hall 7 desk"), ItemStatus::kOk);
  ASSERT_EQ(accessors->setText(expected, item::D_CONF_ETH_WARN_SMTP_PASSWD, "mail-pw"),
            ItemStatus::kOk);
  // The file has no DHCP line: the device's own mode (on in the pattern) stays.
  accessors->setNumber(expected, item::D_CONF_ETH_IPADDR, edited.ipAddr);
  accessors->setNumber(expected, item::D_CONF_ETH_IPMASK, edited.netmask);
  accessors->setNumber(expected, item::D_CONF_ETH_GATEWAY, edited.gateway);
  accessors->setNumber(expected, item::D_CONF_ETH_DNSSIP, edited.dns1);
  EXPECT_EQ(Bytes(seen[3].begin() + 3, seen[3].end()),
            Bytes(expected.bytes().begin(), expected.bytes().end()));
  // The contact item lies at offset 256 of the GenD2 block.
  EXPECT_EQ(std::string(seen[3].begin() + 3 + 256, seen[3].begin() + 3 + 256 + 11), "Hall 7 desk");
  EXPECT_NE(Bytes(seen[3].begin() + 3, seen[3].end()), fetched);
  // The password goes from the device's current one to the file's.
  ASSERT_EQ(seen[4].size(), 41u);
  EXPECT_EQ(UnmaskedNewPassword(seen[4], "old-pw", row.serialNo), "new-pw");
  EXPECT_EQ(seen[5][0], 0x17);
  EXPECT_EQ(seen[6], Bytes{0x0C});
}

/// Imports `fileBody` (after the header) into a D8 switch of `firmware`
/// whose block is `fetched`; returns what the device received.
std::vector<Bytes> ImportIntoD8(
    const Bytes& fetched, std::uint32_t firmware, const std::string& fileBody,
    AddressSettingsFrom addresses = AddressSettingsFrom::kFileOrReview) {
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(fetched)}, Expect{3 + fetched.size()},
                             Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}}, Expect{43},
                             Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  ScriptedDevice device(steps);
  const TempFile file(kHeader + fileBody);
  DeviceRecord row = Switch();
  row.firmwareVersion = firmware;
  DeviceRecord edited = row;
  const ImportOutcome outcome =
      importToDevice(row, edited, file.path(), device.timing(), addresses);
  EXPECT_EQ(outcome.result, kImportOk);
  std::vector<Bytes> seen = device.received();
  EXPECT_EQ(seen.size(), 7u);
  seen.resize(7);
  return seen;
}

TEST(ImportBlockTransport, GenD1StoresTheEmptyMailPasswordBeforeTheCommit) {
  const Bytes fetched(656, 0x11);
  const std::vector<Bytes> seen = ImportIntoD8(fetched, 0x01000000, "ModelName ORV-D8\r\n");
  // login, 0x08, 0x09, 0x15, 0x17, 0x0C
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[3].size(), 3u + 656u);
  EXPECT_EQ(seen[4][0], 0x15);
  ASSERT_EQ(seen[5].size(), 43u);  // no item 151: the empty text, padded to 16
  EXPECT_EQ(seen[5][0], 0x17);
  DeviceRecord keyed = Switch();
  EXPECT_EQ(StoredSmtpPassword(keyed, seen[5]), "");
  EXPECT_EQ(seen[6], Bytes{0x0C});
}

TEST(ImportBlockTransport, KeptAddressSettingsStoreTheDevicesOwnBesideTheFilesOtherValues) {
  const Bytes fetched = PatternBlock();
  const std::string file =
      "ModelName ORV-D8\r\nDHCP\t1\r\nIPAddress\t10.9.9.9\r\nNetmask\t\t255.255.0.0\r\n"
      "Contact\t\tHall 7 desk\r\n";
  const std::vector<Bytes> seen =
      ImportIntoD8(fetched, 0x01040100, file, AddressSettingsFrom::kDevice);
  ASSERT_EQ(seen[3].size(), 3u + 1124u);
  ConfigBlock stored(1124);
  std::copy(seen[3].begin() + 3, seen[3].end(), stored.bytes().begin());
  const auto accessors = MakeGenDAccessors(Generation::kGenD2);
  const DeviceRecord row = Switch();
  EXPECT_EQ(accessors->getNumber(stored, item::D_CONF_ETH_IPADDR), row.ipAddr);
  EXPECT_EQ(accessors->getNumber(stored, item::D_CONF_ETH_IPMASK), row.netmask);
  EXPECT_EQ(accessors->getNumber(stored, item::D_CONF_ETH_GATEWAY), row.gateway);
  EXPECT_EQ(accessors->getNumber(stored, item::D_CONF_ETH_FLAG_DHCP), row.ipConfigFlags & 1);
  EXPECT_EQ(accessors->getText(stored, item::D_CONF_ETH_CONTACT), "Hall 7 desk");
}

TEST(ImportFileAddress, AFixedAddressIsOneWithTheAddressModeOff) {
  const DeviceRecord model = Switch();
  const std::string body = kHeader + "ModelName ORV-D8\r\n";
  EXPECT_EQ(FixedAddressOfFile(body + "DHCP\t0\r\nIPAddress\t10.9.9.9\r\n", model),
            MakeIpv4(10, 9, 9, 9));
  EXPECT_EQ(FixedAddressOfFile(body + "IPAddress\t10.9.9.9\r\n", model), MakeIpv4(10, 9, 9, 9));
  EXPECT_FALSE(FixedAddressOfFile(body + "DHCP\t1\r\nIPAddress\t10.9.9.9\r\n", model));
  EXPECT_FALSE(FixedAddressOfFile(body + "IPAddress\t0.0.0.0\r\n", model));
  EXPECT_FALSE(FixedAddressOfFile(body + "Contact\tx\r\n", model));
  EXPECT_FALSE(FixedAddressOfFile(kHeader + "ModelName ORV-A8\r\nIPAddress\t10.9.9.9\r\n", model));
}

TEST(ImportBlockTransport, D8AddressModeIsTheFilesDhcpLineOrTheDevicesOwn) {
  constexpr std::size_t kFlagWord = 3 + 20;  // in the 0x09 request
  Bytes dhcpOn = PatternBlock();
  dhcpOn[20] |= 0x01;
  Bytes dhcpOff = PatternBlock();
  dhcpOff[20] &= 0xFE;
  // The record of a short details reply says "no DHCP"; neither file says anything.
  EXPECT_EQ(ImportIntoD8(dhcpOn, 0x01040100, "ModelName ORV-D8\r\n")[3][kFlagWord] & 1, 1);
  EXPECT_EQ(ImportIntoD8(dhcpOff, 0x01040100, "ModelName ORV-D8\r\n")[3][kFlagWord] & 1, 0);
  // The file's line takes effect either way.
  EXPECT_EQ(ImportIntoD8(dhcpOn, 0x01040100, "ModelName ORV-D8\r\nDHCP\t0\r\n")[3][kFlagWord] & 1,
            0);
  EXPECT_EQ(ImportIntoD8(dhcpOff, 0x01040100, "ModelName ORV-D8\r\nDHCP\t1\r\n")[3][kFlagWord] & 1,
            1);
}

TEST(ImportBlockTransport, ShortBlockIsRefusedWithoutStoring) {
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(Bytes(100, 0xAA))}, Expect{1}});
  ScriptedDevice device(steps);
  const TempFile file(kHeader + "Contact x\r\n");
  const DeviceRecord row = Switch();
  DeviceRecord edited = row;
  const ImportOutcome outcome = importToDevice(row, edited, file.path(), device.timing());
  EXPECT_EQ(outcome.result, kImportFailed);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_EQ(outcome.messages[0].text, "Import Process Fail.");
  const auto seen = ReceivedOnce(device, 4);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_TRUE(seen[3].empty());  // nothing after the fetch
}

TEST(ImportBlockTransport, GenA2RejectedRelayThresholdIsShownBeforeTheGroupMessage) {
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(Bytes(12364, 0))}, Expect{1}});
  ScriptedDevice device(steps);
  const TempFile file(kHeader + "ModelName ORV-A8\r\nTraffic_Threshold_2\t101%\r\n");
  DeviceRecord row = Switch("ORV-A8");
  row.modelId = 0x0508;
  row.firmwareVersion = 0x01020000;  // GenA2
  DeviceRecord edited = row;
  const ImportOutcome outcome = importToDevice(row, edited, file.path(), device.timing());
  EXPECT_EQ(outcome.result, kImportFailed);
  ASSERT_EQ(outcome.messages.size(), 2u);
  EXPECT_EQ(outcome.messages[0].text, "101%");
  EXPECT_EQ(outcome.messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(outcome.messages[1].text,
            "There is a invalid relay alarm function setting in the configuration file !\n"
            "Please check all relay alarm function settings , renew it , and retry again !");
  EXPECT_EQ(outcome.messages[1].icon, MessageIcon::kStop);
  const auto seen = ReceivedOnce(device, 4);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_TRUE(seen[3].empty());  // nothing stored
}

TEST(ImportBlockTransport, RefusedLoginAndRefusedStore) {
  {
    ScriptedDevice device({Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x00}}});
    const TempFile file(kHeader);
    DeviceRecord edited = Switch();
    const ImportOutcome outcome = importToDevice(Switch(), edited, file.path(), device.timing());
    EXPECT_EQ(outcome.result, kImportFailed);
    EXPECT_TRUE(outcome.messages.empty());
  }
  {
    std::vector<Step> steps = LoginSteps();
    steps.insert(steps.end(), {Expect{1}, Send{BlockReply(PatternBlock())}, Expect{3 + 1124},
                               Send{{0x09, 0x00}}});
    ScriptedDevice device(steps);
    const TempFile file(kHeader);
    DeviceRecord edited = Switch();
    const ImportOutcome outcome = importToDevice(Switch(), edited, file.path(), device.timing());
    EXPECT_EQ(outcome.result, kImportFailed);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].text, "Import Process Fail.");
  }
}

TEST(ImportBlockTransport, UnservedFirmwareFailsWithAMessageAndSendsNothing) {
  const TempFile file(kHeader + "Contact x\r\n");
  struct Case {
    std::uint16_t modelId;
    std::uint32_t firmware;
  };
  // D8 in the gap between GenD1 and GenD2, D8 below GenD1, A8/R8 in the gap
  // between GenA1 and GenA2, a video server (never served by a row).
  ScriptedDevice device({});
  for (const Case c : {Case{0x6008, 0x01040001}, Case{0x6008, 0x00090000}, Case{0x0508, 0x01010080},
                       Case{0x1280, 0x01000000}}) {
    DeviceRecord row = Switch();
    row.modelId = c.modelId;
    row.firmwareVersion = c.firmware;
    DeviceRecord edited = row;
    const ImportOutcome outcome = importToDevice(row, edited, file.path(), device.timing());
    EXPECT_EQ(outcome.result, kImportFailed);
    EXPECT_EQ(ImportRowText(outcome.result), "Import Fail");
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_NE(outcome.messages[0].text.find("cannot be imported: this firmware version is not "
                                            "supported."),
              std::string::npos);
    EXPECT_EQ(outcome.messages[0].icon, MessageIcon::kStop);
  }
  ExpectUntouchedAndRelease(device);
}

TEST(ImportBlockTransport, GzipFileIsRefusedBeforeAnythingIsSent) {
  ScriptedDevice device({});
  const TempFile file(std::string("\x1F\x8B\x08\x00\x00\x00", 6));
  const DeviceRecord row = Switch();
  DeviceRecord edited = row;
  const ImportOutcome outcome = importToDevice(row, edited, file.path(), device.timing());
  EXPECT_EQ(outcome.result, kImportFailed);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_EQ(outcome.messages[0].text,
            "A compressed configuration file cannot be imported into ORV-D8 with firmware 1.4.1: "
            "it takes only an uncompressed configuration file.");
  ExpectUntouchedAndRelease(device);
  EXPECT_EQ(ImportRefusal(row, false), std::nullopt);
}

TEST(ImportBlockTransport, UnreadableFileFailsSilently) {
  DeviceRecord edited = Switch();
  const ImportOutcome outcome =
      importToDevice(Switch(), edited, "/nonexistent/vantrell/import.ini", {});
  EXPECT_EQ(outcome.result, kImportFailed);
  EXPECT_TRUE(outcome.messages.empty());
}

// ---------------------------------------------------------------------------
// The streamed transport.

DeviceRecord LongReplySwitch() {
  DeviceRecord record = Switch("ORV-R8");
  record.modelId = 0x0538;
  record.replyKind = 1;
  return record;
}

Bytes FinalReply(std::int8_t status, std::string_view group) {
  Bytes reply(32, 0);
  reply[0] = 0x1F;
  reply[1] = static_cast<std::uint8_t>(status);
  std::copy(group.begin(), group.end(), reply.begin() + 2);
  return reply;
}

TEST(ImportStreamTransport, GzipFileIsStreamedUnchangedWithTheEditedAddresses) {
  const std::string bytes("\x1F\x8B\x08\x00\x01\x02\x03", 7);
  const TempFile file(bytes);
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(),
               {Expect{29}, Send{{0x1F, 0x00}}, Expect{bytes.size()}, Send{FinalReply(0, "")}});
  ScriptedDevice device(steps);
  const DeviceRecord row = LongReplySwitch();
  DeviceRecord edited = row;
  edited.ipAddr = MakeIpv4(10, 20, 30, 40);
  edited.ipConfigFlags = 2;
  const ImportOutcome outcome = importToDevice(row, edited, file.path(), device.timing());
  EXPECT_EQ(outcome.result, kImportOk);
  EXPECT_TRUE(outcome.messages.empty());
  const auto seen = device.received();
  ASSERT_EQ(seen.size(), 4u);
  const Bytes header = {0x1F, 7,   0,   0, 0, 10, 20, 30, 40, 255, 0, 0, 0, 127, 0,
                        0,    254, 127, 0, 0, 53, 0,  0,  0,  0,   2, 0, 0, 0};
  EXPECT_EQ(seen[2], header);
  EXPECT_EQ(seen[3], Bytes(bytes.begin(), bytes.end()));
}

TEST(ImportStreamTransport, RejectedGroupIsNamedInItsMessage) {
  const std::string bytes = kHeader + "ModelName ORV-R8\r\n";
  const TempFile file(bytes);
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(),
               {Expect{29}, Send{{0x1F, 0x00}}, Expect{bytes.size()}, Send{FinalReply(-3, "QoS")}});
  ScriptedDevice device(steps);
  DeviceRecord edited = LongReplySwitch();
  const ImportOutcome outcome =
      importToDevice(LongReplySwitch(), edited, file.path(), device.timing());
  EXPECT_EQ(outcome.result, kImportGroupRejected);
  EXPECT_EQ(outcome.groupName, "QoS");
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_EQ(outcome.messages[0].text,
            "The QoS function of the Configuration File has invaild settings !");
  EXPECT_EQ(ImportRowText(outcome.result), "Import Fail");
}

TEST(ImportStreamTransport, NoFinalReplyIsATimeout) {
  const std::string bytes = kHeader;
  const TempFile file(bytes);
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{29}, Send{{0x1F, 0x00}}, Expect{bytes.size()}, Pause{700}});
  ScriptedDevice device(steps);
  DeviceRecord edited = LongReplySwitch();
  const ImportOutcome outcome =
      importToDevice(LongReplySwitch(), edited, file.path(), device.timing());
  EXPECT_EQ(outcome.result, kImportTimedOut);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_EQ(outcome.messages[0].text, "Import Process Timeout.");
  EXPECT_EQ(ImportRowText(outcome.result), "Import Timeout");
}

TEST(ImportStreamTransport, OtherFailures) {
  {
    // Any other final status.
    const std::string bytes = kHeader;
    const TempFile file(bytes);
    std::vector<Step> steps = LoginSteps();
    steps.insert(steps.end(),
                 {Expect{29}, Send{{0x1F, 0x00}}, Expect{bytes.size()}, Send{FinalReply(-1, "")}});
    ScriptedDevice device(steps);
    DeviceRecord edited = LongReplySwitch();
    const ImportOutcome outcome =
        importToDevice(LongReplySwitch(), edited, file.path(), device.timing());
    EXPECT_EQ(outcome.result, kImportFailed);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].text, "Import Process Fail.");
  }
  {
    // The file cannot be opened: its error code first.
    ScriptedDevice device(LoginSteps());
    DeviceRecord edited = LongReplySwitch();
    const ImportOutcome outcome = importToDevice(
        LongReplySwitch(), edited, "/nonexistent/vantrell/import.ini", device.timing());
    EXPECT_EQ(outcome.result, kImportFailed);
    ASSERT_EQ(outcome.messages.size(), 2u);
    EXPECT_EQ(outcome.messages[0].text, "Can not open configuration file, error code: 2");
    EXPECT_EQ(outcome.messages[0].icon, MessageIcon::kStop);
    EXPECT_EQ(outcome.messages[1].text, "Import Process Fail.");
  }
}

}  // namespace
}  // namespace vantrell
