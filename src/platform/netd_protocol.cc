#include "platform/netd_protocol.h"

#include <algorithm>

#include "core/byte_order.h"

namespace vantrell {
namespace {

// Request fields.
constexpr std::size_t kReqKind = 0;
constexpr std::size_t kReqPadA = 1;
constexpr std::size_t kReqPadALength = 3;
constexpr std::size_t kReqInterface = 4;
constexpr std::size_t kReqDevice = 8;
constexpr std::size_t kReqMac = 12;
constexpr std::size_t kReqPadB = 18;
constexpr std::size_t kReqPadBLength = 2;

// Answer fields.
constexpr std::size_t kAnsKind = 0;
constexpr std::size_t kAnsNeighbour = 1;
constexpr std::size_t kAnsRoute = 2;
constexpr std::size_t kAnsRefusal = 3;
constexpr std::size_t kAnsError = 4;
constexpr std::size_t kAnsRemoved = 8;

constexpr std::uint8_t kGreetingMagic0 = 'V';
constexpr std::uint8_t kGreetingMagic1 = 'N';

bool IsKnownKind(std::uint8_t kind) {
  return kind >= static_cast<std::uint8_t>(NetdRequestKind::kAdd) &&
         kind <= static_cast<std::uint8_t>(NetdRequestKind::kCleanup);
}

bool AllZero(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t length) {
  const auto piece = bytes.subspan(offset, length);
  return std::all_of(piece.begin(), piece.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

std::array<std::uint8_t, kNetdRequestSize> EncodeNetdRequest(const NetdRequest& request) {
  std::array<std::uint8_t, kNetdRequestSize> bytes{};
  bytes[kReqKind] = static_cast<std::uint8_t>(request.kind);
  StoreRaw32(bytes.data() + kReqInterface, request.interfaceAddr);
  StoreRaw32(bytes.data() + kReqDevice, request.deviceAddr);
  std::copy(request.mac.begin(), request.mac.end(), bytes.begin() + kReqMac);
  return bytes;
}

std::optional<NetdRequest> DecodeNetdRequest(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kNetdRequestSize || !IsKnownKind(bytes[kReqKind])) return std::nullopt;
  if (!AllZero(bytes, kReqPadA, kReqPadALength) || !AllZero(bytes, kReqPadB, kReqPadBLength)) {
    return std::nullopt;
  }
  NetdRequest request;
  request.kind = static_cast<NetdRequestKind>(bytes[kReqKind]);
  request.interfaceAddr = LoadRaw32(bytes.data() + kReqInterface);
  request.deviceAddr = LoadRaw32(bytes.data() + kReqDevice);
  std::copy_n(bytes.begin() + kReqMac, request.mac.size(), request.mac.begin());
  return request;
}

std::array<std::uint8_t, kNetdAnswerSize> EncodeNetdAnswer(const NetdAnswer& answer) {
  std::array<std::uint8_t, kNetdAnswerSize> bytes{};
  bytes[kAnsKind] = static_cast<std::uint8_t>(answer.kind);
  bytes[kAnsNeighbour] = static_cast<std::uint8_t>(answer.neighbour);
  bytes[kAnsRoute] = static_cast<std::uint8_t>(answer.route);
  bytes[kAnsRefusal] = static_cast<std::uint8_t>(answer.refusal);
  StoreLe32(bytes.data() + kAnsError, answer.error);
  StoreLe32(bytes.data() + kAnsRemoved, answer.removed);
  return bytes;
}

std::optional<NetdAnswer> DecodeNetdAnswer(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kNetdAnswerSize || !IsKnownKind(bytes[kAnsKind])) return std::nullopt;
  if (bytes[kAnsNeighbour] > static_cast<std::uint8_t>(NeighbourOutcome::kNotAsked) ||
      bytes[kAnsRoute] > static_cast<std::uint8_t>(RouteOutcome::kRouteTableMissing) ||
      bytes[kAnsRefusal] > static_cast<std::uint8_t>(Refusal::kTooMany)) {
    return std::nullopt;
  }
  NetdAnswer answer;
  answer.kind = static_cast<NetdRequestKind>(bytes[kAnsKind]);
  answer.neighbour = static_cast<NeighbourOutcome>(bytes[kAnsNeighbour]);
  answer.route = static_cast<RouteOutcome>(bytes[kAnsRoute]);
  answer.refusal = static_cast<Refusal>(bytes[kAnsRefusal]);
  answer.error = LoadLe32(bytes.data() + kAnsError);
  answer.removed = LoadLe32(bytes.data() + kAnsRemoved);
  return answer;
}

std::array<std::uint8_t, kNetdGreetingSize> EncodeNetdGreeting(std::uint8_t status) {
  return {kGreetingMagic0, kGreetingMagic1, kNetdVersion, status};
}

std::optional<std::uint8_t> DecodeNetdGreeting(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kNetdGreetingSize || bytes[0] != kGreetingMagic0 ||
      bytes[1] != kGreetingMagic1 || bytes[2] != kNetdVersion) {
    return std::nullopt;
  }
  if (bytes[3] != kNetdReady && bytes[3] != kNetdNoCapability) return std::nullopt;
  return bytes[3];
}

}  // namespace vantrell
