#include "net/discovery_codec.h"

#include "core/byte_order.h"
#include "core/model_table.h"
#include "core/wire/discovery_layout.h"

namespace vantrell {
namespace {

namespace rq = wire::discovery_request;
namespace rp = wire::discovery_reply;
static_assert(rp::kModelNameSize == kModelNameLength, "the long reply's name fills the record's");

std::vector<std::uint8_t> StartRequest(std::uint8_t marker, std::size_t entries,
                                       std::size_t entrySize, std::uint16_t sequence) {
  std::vector<std::uint8_t> request(rq::kHeaderSize + entries * entrySize, 0);
  request[rq::kMarker] = marker;
  StoreBe16(&request[rq::kLength], static_cast<std::uint16_t>(request.size()));
  StoreLe16(&request[rq::kSequence], sequence);
  return request;
}

}  // namespace

std::vector<std::uint8_t> BuildIdentifyRequest(const DeviceList& known, std::uint16_t sequence) {
  std::vector<const DeviceRecord*> listed;
  for (const DeviceRecord& record : known) {
    if (listed.size() == kMaxKnownPerRequest) break;
    if (IsD8Family(record.modelId)) listed.push_back(&record);
  }
  std::vector<std::uint8_t> request =
      StartRequest(rq::kMarkerKnownD8, listed.size(), rq::kD8EntrySize, sequence);
  std::uint8_t* entry = request.data() + rq::kEntries;
  for (const DeviceRecord* record : listed) {
    StoreLe16(entry + rq::kD8EntryModelId, record->modelId);
    StoreLe16(entry + rq::kD8EntrySerialNo, record->serialNo);
    entry += rq::kD8EntrySize;
  }
  return request;
}

std::vector<std::uint8_t> BuildHostRequest(const DeviceList& known, std::uint16_t sequence) {
  std::vector<const DeviceRecord*> listed;
  for (const DeviceRecord& record : known) {
    if (listed.size() == kMaxKnownPerRequest) break;
    if (!IsD8Family(record.modelId)) listed.push_back(&record);
  }
  std::vector<std::uint8_t> request =
      StartRequest(rq::kMarkerKnownOther, listed.size(), rq::kMacEntrySize, sequence);
  std::uint8_t* entry = request.data() + rq::kEntries;
  for (const DeviceRecord* record : listed) {
    std::copy(record->mac.begin(), record->mac.end(), entry);
    entry += rq::kMacEntrySize;
  }
  return request;
}

std::optional<DeviceRecord> JudgeDiscoveryReply(std::span<const std::uint8_t> bytes,
                                                std::size_t datagramLength,
                                                const DiscoveryReplyContext& context) {
  if (context.sourceFilter != kAllOnesIpv4 && context.source != context.sourceFilter) {
    return std::nullopt;
  }
  if (datagramLength != bytes.size()) return std::nullopt;
  if (bytes.size() != kShortReplySize && bytes.size() != kLongReplySize) return std::nullopt;
  const std::uint8_t* p = bytes.data();
  if (p[rp::kMarker] != rp::kMarkerValue) return std::nullopt;
  if (LoadLe16(p + rp::kSequence) != context.sequence) return std::nullopt;
  if (LoadRaw32(p + rp::kInterfaceIp) != context.interfaceAddr) return std::nullopt;

  DeviceRecord record = MakeZeroRecord();
  record.webPort = static_cast<std::uint16_t>(LoadBe32(p + rp::kWebPort));
  record.modelId = LoadLe16(p + rp::kModelId);
  record.serialNo = LoadLe16(p + rp::kSerialNo);
  std::copy(p + rp::kMac, p + rp::kMac + rp::kMacSize, record.mac.begin());
  record.localIfAddr = context.interfaceAddr;
  record.ipAddr = context.source;
  if (bytes.size() == kShortReplySize) {
    const auto name = LookupModelName(record.modelId);
    if (!name) return std::nullopt;
    SetFieldText(record.modelName, *name);
    record.replyKind = 0;
  } else {
    CopyRawField(record.modelName, p + rp::kModelName, rp::kModelNameSize);
    record.replyKind = 1;
  }
  return record;
}

}  // namespace vantrell
