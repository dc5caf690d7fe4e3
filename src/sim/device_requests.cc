#include "sim/device_requests.h"

#include <algorithm>

#include "core/model_table.h"
#include "core/wire/details_layout.h"
#include "core/wire/discovery_layout.h"
#include "sim/byte_fields.h"

namespace vantrell::sim {
namespace {

void Explain(std::string* why, std::string text) {
  if (why) *why = std::move(text);
}

}  // namespace

std::optional<DiscoveryRequest> ParseDiscoveryRequest(std::span<const std::uint8_t> datagram,
                                                      std::string* why) {
  namespace rq = wire::discovery_request;
  if (datagram.size() < rq::kHeaderSize) {
    Explain(why, "shorter than a discovery request");
    return std::nullopt;
  }
  DiscoveryRequest request;
  std::size_t entrySize = 0;
  switch (datagram[rq::kMarker]) {
    case rq::kMarkerKnownD8:
      request.kind = DiscoveryKind::kKnownD8;
      entrySize = rq::kD8EntrySize;
      break;
    case rq::kMarkerKnownOther:
      request.kind = DiscoveryKind::kKnownOther;
      entrySize = rq::kMacEntrySize;
      break;
    default:
      Explain(why, "not a discovery request");
      return std::nullopt;
  }
  if (GetU16HighFirst(datagram, rq::kLength) != datagram.size()) {
    Explain(why, "length field " + std::to_string(GetU16HighFirst(datagram, rq::kLength)) +
                     " differs from datagram length " + std::to_string(datagram.size()));
    return std::nullopt;
  }
  const std::size_t listBytes = datagram.size() - rq::kHeaderSize;
  if (listBytes % entrySize != 0 || listBytes / entrySize > rq::kMaxEntries) {
    Explain(why, "list of " + std::to_string(listBytes) + " bytes is not 0..32 whole entries");
    return std::nullopt;
  }
  request.sequence = GetU16LowFirst(datagram, rq::kSequence);
  for (std::size_t at = rq::kEntries; at < datagram.size(); at += entrySize) {
    if (request.kind == DiscoveryKind::kKnownD8) {
      request.knownD8.push_back({GetU16LowFirst(datagram, at + rq::kD8EntryModelId),
                                 GetU16LowFirst(datagram, at + rq::kD8EntrySerialNo)});
    } else {
      MacAddress mac;
      std::copy_n(datagram.begin() + static_cast<std::ptrdiff_t>(at), mac.size(), mac.begin());
      request.knownMacs.push_back(mac);
    }
  }
  return request;
}

bool LooksLikeDetailsRequest(std::span<const std::uint8_t> datagram) {
  return !datagram.empty() &&
         datagram[wire::details_request::kMarker] == wire::details_request::kMarkerValue;
}

std::optional<std::uint16_t> ParseDetailsRequest(std::span<const std::uint8_t> datagram,
                                                 std::string* why) {
  namespace rq = wire::details_request;
  if (!LooksLikeDetailsRequest(datagram)) {
    Explain(why, "not a details request");
    return std::nullopt;
  }
  if (datagram.size() != rq::kSize || GetU16HighFirst(datagram, rq::kLength) != rq::kSize) {
    Explain(why, "details request of " + std::to_string(datagram.size()) +
                     " bytes or with a length field other than 6");
    return std::nullopt;
  }
  return GetU16LowFirst(datagram, rq::kSequence);
}

bool AnswersDiscovery(const SimDevice& device, const DiscoveryRequest& request) {
  if (IsD8Family(device.modelId)) {
    if (request.kind != DiscoveryKind::kKnownD8) return false;
    return std::none_of(request.knownD8.begin(), request.knownD8.end(), [&](const D8Identity& k) {
      return k.modelId == device.modelId && k.serialNo == device.serialNo;
    });
  }
  if (request.kind != DiscoveryKind::kKnownOther) return false;
  return std::find(request.knownMacs.begin(), request.knownMacs.end(), device.mac) ==
         request.knownMacs.end();
}

}  // namespace vantrell::sim
