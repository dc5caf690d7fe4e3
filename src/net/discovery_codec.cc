#include "net/discovery_codec.h"

#include "core/byte_order.h"
#include "core/model_table.h"

namespace vantrell {
namespace {

// Request header, both kinds.
constexpr std::size_t kReqType = 0;      // 'I' or 'H'
constexpr std::size_t kReqLength = 2;    // total length, big-endian
constexpr std::size_t kReqSequence = 4;  // low byte first
constexpr std::size_t kReqHeaderSize = 6;
constexpr std::size_t kIdentifyEntrySize = 4;  // model ID, serial; each low byte first
constexpr std::size_t kHostEntrySize = 6;      // MAC address

// Reply fields.
constexpr std::uint8_t kReplyMarker = 0xC9;
constexpr std::size_t kRepMarker = 0;
constexpr std::size_t kRepSequence = 4;   // low byte first
constexpr std::size_t kRepWebPort = 6;    // 32 bits big-endian, low 16 bits used
constexpr std::size_t kRepModelId = 10;   // low byte first
constexpr std::size_t kRepSerialNo = 12;  // low byte first
constexpr std::size_t kRepInterface = 14; // network order
constexpr std::size_t kRepMac = 18;
constexpr std::size_t kRepModelName = 24; // long form only, 40 bytes

std::vector<std::uint8_t> StartRequest(char type, std::size_t entries, std::size_t entrySize,
                                       std::uint16_t sequence) {
  std::vector<std::uint8_t> request(kReqHeaderSize + entries * entrySize, 0);
  request[kReqType] = static_cast<std::uint8_t>(type);
  StoreBe16(&request[kReqLength], static_cast<std::uint16_t>(request.size()));
  StoreLe16(&request[kReqSequence], sequence);
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
      StartRequest('I', listed.size(), kIdentifyEntrySize, sequence);
  std::uint8_t* entry = request.data() + kReqHeaderSize;
  for (const DeviceRecord* record : listed) {
    StoreLe16(entry, record->modelId);
    StoreLe16(entry + 2, record->serialNo);
    entry += kIdentifyEntrySize;
  }
  return request;
}

std::vector<std::uint8_t> BuildHostRequest(const DeviceList& known, std::uint16_t sequence) {
  std::vector<const DeviceRecord*> listed;
  for (const DeviceRecord& record : known) {
    if (listed.size() == kMaxKnownPerRequest) break;
    if (!IsD8Family(record.modelId)) listed.push_back(&record);
  }
  std::vector<std::uint8_t> request = StartRequest('H', listed.size(), kHostEntrySize, sequence);
  std::uint8_t* entry = request.data() + kReqHeaderSize;
  for (const DeviceRecord* record : listed) {
    std::copy(record->mac.begin(), record->mac.end(), entry);
    entry += kHostEntrySize;
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
  if (p[kRepMarker] != kReplyMarker) return std::nullopt;
  if (LoadLe16(p + kRepSequence) != context.sequence) return std::nullopt;
  if (LoadRaw32(p + kRepInterface) != context.interfaceAddr) return std::nullopt;

  DeviceRecord record = MakeZeroRecord();
  record.webPort = static_cast<std::uint16_t>(LoadBe32(p + kRepWebPort));
  record.modelId = LoadLe16(p + kRepModelId);
  record.serialNo = LoadLe16(p + kRepSerialNo);
  std::copy(p + kRepMac, p + kRepMac + 6, record.mac.begin());
  record.localIfAddr = context.interfaceAddr;
  record.ipAddr = context.source;
  if (bytes.size() == kShortReplySize) {
    const auto name = LookupModelName(record.modelId);
    if (!name) return std::nullopt;
    SetFieldText(record.modelName, *name);
    record.replyKind = 0;
  } else {
    CopyRawField(record.modelName, p + kRepModelName, kModelNameLength);
    record.replyKind = 1;
  }
  return record;
}

}  // namespace vantrell
