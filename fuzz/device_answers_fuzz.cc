// Any bytes as a device's answers to the exchanges that store into it (the
// first byte picks the exchange, the second the generation and options):
// - the import's block transport on a logged-in session: the block fetch,
//   the generation's reader on a file taken from the input (two length
//   bytes, then the file), the mail-server password fetch and the
//   write-back with its acknowledgements (0x09, 0x15, 0x17, 0x0C);
// - writeBackBlock alone on a zero block of the generation;
// - the firmware transfer: the first answer, the image in pieces, the
//   final answer.
// The answers are queued on a socket pair whose device end then closes.
// Besides the sanitizers' checks: the import ends with 0 or -1 and only
// non-empty messages; writeBackBlock with 0 or -1, and for a generation
// that keeps the mail-server password apart from its block, the 0x17 it
// sends carries exactly the text the device answered to 0x18, and none is
// sent when the answer was not valid; the firmware transfer
// with 0 or a negative result, in state 1 or 2, its progress within 0 to
// 100 while transmitting.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_item_ids.h"
#include "config/version_handlers.h"
#include "net/session_codec.h"
#include "ops/config_import.h"
#include "ops/export_configuration.h"
#include "ops/firmware_upgrade.h"
#include "session_pair.h"

namespace {

using namespace vantrell;
using vantrell::fuzz::DeviceEnd;
using vantrell::fuzz::SessionHearing;

void Check(bool ok) {
  if (!ok) std::abort();
}

/// A short-reply switch served by the row, logged in with "secret".
DeviceRecord RowDevice(const VersionHandlerRow& row) {
  DeviceRecord record = MakeZeroRecord();
  for (std::uint16_t model : {0x0508, 0x6008, 0x0726}) {
    if (row.modelTest(model)) record.modelId = model;
  }
  record.firmwareVersion = row.firmwareLow;
  record.serialNo = 0x1234;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.netmask = MakeIpv4(255, 0, 0, 0);
  record.portMask = 0x3FFFFFFF;
  record.trunkPortMask = 0x03FFFFFF;
  SetFieldText(record.modelName, "ORV");
  SetFieldText(record.password, "secret");
  return record;
}

void Import(const VersionHandlerRow& row, const std::uint8_t* data, std::size_t size) {
  if (size < 2) return;
  const std::size_t length = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
  const std::string_view file(reinterpret_cast<const char*>(data + 2), length);
  const DeviceRecord device = RowDevice(row);
  const ImportFileScan scan = ScanImportFile(file, device);
  DeviceRecord edited = scan.outcome == ImportFileScan::Outcome::kPassed ? scan.edited : device;
  Session session;
  if (!SessionHearing(data + 2 + length, size - 2 - length, session)) return;
  const ImportOutcome outcome = ImportBlockThroughSession(session, device, edited, file);
  Check(outcome.result == kImportOk || outcome.result == kImportFailed);
  for (const ImportMessage& message : outcome.messages) Check(!message.text.empty());
  Check(FieldText(edited.password).size() <= 16);
}

/// Everything the session sent to the device end.
std::vector<std::uint8_t> SentRequests() {
  std::vector<std::uint8_t> sent;
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t got = ::recv(DeviceEnd(), buffer, sizeof buffer, MSG_DONTWAIT);
    if (got <= 0) break;
    sent.insert(sent.end(), buffer, buffer + got);
  }
  return sent;
}

/// The mail-server password that the 0x17 request after the fetch, the
/// block, the password and (optionally) nothing else carries; nothing when
/// no 0x17 was sent.
std::optional<std::string> StoredMailPassword(const DeviceRecord& keyed,
                                              std::vector<std::uint8_t> sent) {
  // 0x18, then 0x09 with its 16-bit length, then the 41-byte 0x15.
  const std::size_t storeAt = 1;
  if (sent.size() < storeAt + 3) return std::nullopt;
  const std::size_t blockLength = (sent[storeAt + 1] << 8) | sent[storeAt + 2];
  const std::size_t smtpAt = storeAt + 3 + blockLength + 41;
  if (sent.size() <= smtpAt || sent[smtpAt] != kOpStoreSmtpPassword) return std::nullopt;
  std::vector<std::uint8_t> request(sent.begin() + static_cast<long>(smtpAt), sent.end());
  request[0] = kOpFetchSmtpPassword;  // the answer's layout
  char text[kSmtpFieldSize] = {};
  Check(DecodeSmtpPasswordReply(keyed, request, text));
  return std::string(text);
}

void WriteBack(const VersionHandlerRow& row, bool fromDevice, const std::uint8_t* data,
               std::size_t size) {
  const DeviceRecord device = RowDevice(row);
  auto accessors = row.makeAccessors();
  ConfigBlock block(row.blockSize());
  Session session;
  if (!SessionHearing(data, size, session)) return;
  const int result =
      writeBackBlock(session, device, block, *accessors, "secret",
                     fromDevice ? SmtpPasswordWrite::kFromDevice : SmtpPasswordWrite::kFromBlock);
  Check(result == 0 || result == -1);
  Check(block.size() == row.blockSize());
  // A device that keeps its mail-server password apart gets back exactly
  // what it answered, or no 0x17 at all: never a blank for an unknown one.
  if (!fromDevice || !KeepsMailPasswordApart(row.generation) ||
      !accessors->getText(ConfigBlock(row.blockSize()), item::D_CONF_ETH_WARN_SMTP_PASSWD)) {
    return;
  }
  const std::vector<std::uint8_t> sent = SentRequests();
  Check(!sent.empty() && sent[0] == kOpFetchSmtpPassword);
  char answered[kSmtpFieldSize] = {};
  const bool known = DecodeSmtpPasswordReply(
      device, std::span(data, std::min<std::size_t>(size, kSmtpReplyMaxSize)), answered);
  const std::optional<std::string> stored = StoredMailPassword(device, sent);
  if (!known) Check(!stored);
  if (stored) Check(*stored == answered);
}

/// Images of a few sizes around the 1024-byte piece, made once.
const std::string& ImageOfSize(std::size_t size) {
  static std::string paths[5];
  static constexpr std::size_t kSizes[] = {0, 1, 1024, 1025, 3000};
  const std::size_t pick = size % 5;
  if (paths[pick].empty()) {
    paths[pick] = (std::filesystem::temp_directory_path() /
                   ("device-answers-fuzz-" + std::to_string(::getpid()) + "-" +
                    std::to_string(pick) + ".rom"))
                      .string();
    std::FILE* out = std::fopen(paths[pick].c_str(), "wb");
    if (!out) std::abort();
    for (std::size_t i = 0; i < kSizes[pick]; ++i) std::fputc(static_cast<int>(i * 13), out);
    std::fclose(out);
  }
  return paths[pick];
}

void Firmware(std::uint8_t options, const std::uint8_t* data, std::size_t size) {
  DeviceRecord device = MakeZeroRecord();
  UpgradeJob job(device);
  job.filePath = ImageOfSize(options);
  Session session;
  if (!SessionHearing(data, size, session)) return;
  const int result = sendFirmware(session, job, 1);
  Check(result <= 0);
  const int state = job.state;
  Check(state == kUpgradeTransmitting || state == kUpgradeSaving);
  if (state == kUpgradeTransmitting) Check(job.progress >= 0 && job.progress <= 100);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 70000) return 0;
  const auto table = VersionHandlerTable();
  const VersionHandlerRow& row = table[(data[1] & 0x7F) % table.size()];
  if (!row.IsBuilt() || !row.readConfigFile) return 0;
  switch (data[0] % 3) {
    case 0:
      Import(row, data + 2, size - 2);
      break;
    case 1:
      WriteBack(row, (data[1] & 0x80) != 0, data + 2, size - 2);
      break;
    default:
      Firmware(data[1], data + 2, size - 2);
      break;
  }
  return 0;
}
