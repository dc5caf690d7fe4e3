#include "net/details_codec.h"

#include "core/byte_order.h"
#include "core/model_table.h"

namespace vantrell {
namespace {

// Request.
constexpr std::uint8_t kRequestMarker = 0x01;
constexpr std::size_t kRequestSize = 6;
constexpr std::size_t kReqLength = 2;    // big-endian
constexpr std::size_t kReqSequence = 4;  // low byte first

// Reply: fields of every form.
constexpr std::uint8_t kReplyMarker = 0x81;
constexpr std::size_t kRepMarker = 0;
constexpr std::size_t kRepStatus = 1;    // 0 = success
constexpr std::size_t kRepSequence = 4;  // low byte first
constexpr std::size_t kRepFirmware = 22; // low byte first
constexpr std::size_t kRepStatusFlags = 26;
constexpr std::size_t kRepName = 28;     // 30 bytes
constexpr std::size_t kRepNetmask = 78;  // network order
constexpr std::size_t kRepGateway = 82;  // network order
// Forms 98 and 178.
constexpr std::size_t kRepDns1 = 86;           // network order
constexpr std::size_t kRepDns2 = 90;           // network order
constexpr std::size_t kRepIpConfigFlags = 94;  // low byte first
// Form 178.
constexpr std::size_t kRepLocation = 98;  // 80 bytes
// Form 1186 (modular model).
constexpr std::size_t kRepModuleType = 90;   // 8 bytes, one per slot
constexpr std::size_t kRepModuleName = 98;   // 8 x 16 bytes
constexpr std::size_t kRepModuleDesc = 226;  // 8 x 120 bytes

enum class DetailsForm { kNone, kBasic86, kNetwork98, kLocation178, kModules1186 };

DetailsForm FormFor(std::size_t length, const DeviceRecord& record) {
  if (record.replyKind == 1 && length == 178) return DetailsForm::kLocation178;
  if (record.replyKind == 1 && length == 98) return DetailsForm::kNetwork98;
  if (IsM26Model(record.modelId) && length == 1186) return DetailsForm::kModules1186;
  if (length == 86) return DetailsForm::kBasic86;
  return DetailsForm::kNone;
}

void ApplyBasicFields(const std::uint8_t* p, DeviceRecord& record) {
  record.firmwareVersion = LoadLe32(p + kRepFirmware);
  record.statusFlags = p[kRepStatusFlags];
  CopyRawField(record.serverName, p + kRepName, kServerNameLength);
  record.netmask = LoadRaw32(p + kRepNetmask);
  record.gateway = LoadRaw32(p + kRepGateway);
}

void ApplyNetworkFields(const std::uint8_t* p, DeviceRecord& record) {
  record.dns1 = LoadRaw32(p + kRepDns1);
  record.dns2 = LoadRaw32(p + kRepDns2);
  record.ipConfigFlags = LoadLe32(p + kRepIpConfigFlags);
}

void ApplyModuleFields(const std::uint8_t* p, DeviceRecord& record) {
  for (int slot = 0; slot < kModuleSlots; ++slot) {
    record.moduleType[static_cast<std::size_t>(slot)] = p[kRepModuleType + slot];
    CopyRawField(record.moduleName[slot], p + kRepModuleName + kModuleNameLength * slot,
                 kModuleNameLength);
    CopyRawField(record.moduleDesc[slot], p + kRepModuleDesc + kModuleDescLength * slot,
                 kModuleDescLength);
  }
}

}  // namespace

std::vector<std::uint8_t> BuildDetailsRequest(std::uint16_t sequence) {
  std::vector<std::uint8_t> request(kRequestSize, 0);
  request[0] = kRequestMarker;
  StoreBe16(&request[kReqLength], static_cast<std::uint16_t>(kRequestSize));
  StoreLe16(&request[kReqSequence], sequence);
  return request;
}

bool ApplyDetailsReply(std::span<const std::uint8_t> bytes, std::size_t datagramLength,
                       std::uint16_t sequence, DeviceRecord& record) {
  if (datagramLength != bytes.size()) return false;
  const DetailsForm form = FormFor(bytes.size(), record);
  if (form == DetailsForm::kNone) return false;
  const std::uint8_t* p = bytes.data();
  if (p[kRepMarker] != kReplyMarker || p[kRepStatus] != 0) return false;
  if (LoadLe16(p + kRepSequence) != sequence) return false;

  ApplyBasicFields(p, record);
  switch (form) {
    case DetailsForm::kLocation178:
      ApplyNetworkFields(p, record);
      CopyRawField(record.location, p + kRepLocation, kLocationLength);
      break;
    case DetailsForm::kNetwork98:
      ApplyNetworkFields(p, record);
      break;
    case DetailsForm::kModules1186:
      ApplyModuleFields(p, record);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace vantrell
