#include "net/details_codec.h"

#include "core/byte_order.h"
#include "core/model_table.h"
#include "core/wire/details_layout.h"

namespace vantrell {
namespace {

namespace rq = wire::details_request;
namespace rp = wire::details_reply;
static_assert(rp::kNameSize == kServerNameLength && rp::kLocationSize == kLocationLength &&
                  rp::kModuleNameSize == kModuleNameLength &&
                  rp::kModuleDescSize == kModuleDescLength &&
                  rp::kModuleSlots == static_cast<std::size_t>(kModuleSlots),
              "the reply's text fields fill the record's");

enum class DetailsForm { kNone, kBasic86, kNetwork98, kLocation178, kModules1186 };

DetailsForm FormFor(std::size_t length, const DeviceRecord& record) {
  if (record.replyKind == 1 && length == rp::kLocationFormSize) return DetailsForm::kLocation178;
  if (record.replyKind == 1 && length == rp::kNetworkSize) return DetailsForm::kNetwork98;
  if (IsM26Model(record.modelId) && length == rp::kModulesSize) return DetailsForm::kModules1186;
  if (length == rp::kBasicSize) return DetailsForm::kBasic86;
  return DetailsForm::kNone;
}

void ApplyBasicFields(const std::uint8_t* p, DeviceRecord& record) {
  record.firmwareVersion = LoadLe32(p + rp::kFirmwareVersion);
  record.statusFlags = p[rp::kStatusFlags];
  CopyRawField(record.serverName, p + rp::kName, rp::kNameSize);
  record.netmask = LoadRaw32(p + rp::kNetmask);
  record.gateway = LoadRaw32(p + rp::kGateway);
}

void ApplyNetworkFields(const std::uint8_t* p, DeviceRecord& record) {
  record.dns1 = LoadRaw32(p + rp::kDns1);
  record.dns2 = LoadRaw32(p + rp::kDns2);
  record.ipConfigFlags = LoadLe32(p + rp::kIpConfigFlags);
}

void ApplyModuleFields(const std::uint8_t* p, DeviceRecord& record) {
  for (int slot = 0; slot < kModuleSlots; ++slot) {
    const auto at = static_cast<std::size_t>(slot);
    record.moduleType[at] = p[rp::kModuleTypes + at];
    CopyRawField(record.moduleName[slot], p + rp::kModuleNames + rp::kModuleNameSize * at,
                 rp::kModuleNameSize);
    CopyRawField(record.moduleDesc[slot], p + rp::kModuleDescs + rp::kModuleDescSize * at,
                 rp::kModuleDescSize);
  }
}

}  // namespace

std::vector<std::uint8_t> BuildDetailsRequest(std::uint16_t sequence) {
  std::vector<std::uint8_t> request(rq::kSize, 0);
  request[rq::kMarker] = rq::kMarkerValue;
  StoreBe16(&request[rq::kLength], static_cast<std::uint16_t>(rq::kSize));
  StoreLe16(&request[rq::kSequence], sequence);
  return request;
}

bool ApplyDetailsReply(std::span<const std::uint8_t> bytes, std::size_t datagramLength,
                       std::uint16_t sequence, DeviceRecord& record) {
  if (datagramLength != bytes.size()) return false;
  const DetailsForm form = FormFor(bytes.size(), record);
  if (form == DetailsForm::kNone) return false;
  const std::uint8_t* p = bytes.data();
  if (p[rp::kMarker] != rp::kMarkerValue || p[rp::kStatus] != rp::kStatusSuccess) return false;
  if (LoadLe16(p + rp::kSequence) != sequence) return false;

  ApplyBasicFields(p, record);
  switch (form) {
    case DetailsForm::kLocation178:
      ApplyNetworkFields(p, record);
      CopyRawField(record.location, p + rp::kLocation, rp::kLocationSize);
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
