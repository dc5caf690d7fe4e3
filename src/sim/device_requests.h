#pragma once
/// What a device reads from port 4000: the discovery requests 'I' and 'H'
/// with their lists of already known devices, and the details request; and
/// the rule by which a device decides to answer a discovery request.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/text_forms.h"
#include "sim/sim_device.h"

namespace vantrell::sim {

enum class DiscoveryKind {
  kKnownD8,     ///< 'I': lists the D8 devices the configurator already knows
  kKnownOther,  ///< 'H': lists every other device it already knows
};

/// A (model ID, serial number) pair listed in an 'I' request.
struct D8Identity {
  std::uint16_t modelId = 0;
  std::uint16_t serialNo = 0;
};

struct DiscoveryRequest {
  DiscoveryKind kind = DiscoveryKind::kKnownOther;
  std::uint16_t sequence = 0;
  std::vector<D8Identity> knownD8;    ///< 'I' only
  std::vector<MacAddress> knownMacs;  ///< 'H' only
};

/// Reads an 'I' or 'H' request. Nothing when the datagram is not one: wrong
/// first byte, length field not equal to the datagram's length, a length
/// that is not a whole number of entries, or more than 32 entries. `why`
/// (optional) receives the reason for the log.
std::optional<DiscoveryRequest> ParseDiscoveryRequest(std::span<const std::uint8_t> datagram,
                                                      std::string* why = nullptr);

/// Reads a details request and returns its sequence number; nothing when the
/// datagram is not exactly a 6-byte request 0x01 with length field 6.
std::optional<std::uint16_t> ParseDetailsRequest(std::span<const std::uint8_t> datagram,
                                                 std::string* why = nullptr);

/// True when the first byte marks a details request (the rest may be wrong).
bool LooksLikeDetailsRequest(std::span<const std::uint8_t> datagram);

/// Whether the device answers the request: a D8 device answers 'I' unless
/// the request lists its (model ID, serial number); every other device
/// answers 'H' unless the request lists its MAC address.
bool AnswersDiscovery(const SimDevice& device, const DiscoveryRequest& request);

}  // namespace vantrell::sim
