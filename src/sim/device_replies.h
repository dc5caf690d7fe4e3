#pragma once
/// The replies a simulated device sends on port 4000, built from its state:
/// the 0xC9 discovery reply (24 or 64 bytes), its deliberately broken
/// variants, and the 0x81 details reply in each of its four forms.

#include <cstdint>
#include <vector>

#include "core/ipv4.h"
#include "sim/sim_device.h"

namespace vantrell::sim {

using Datagram = std::vector<std::uint8_t>;

/// The good discovery reply: short or long form as the device is set up.
/// `workstationIp` is the address of the interface that sent the request
/// (the request's source address); it goes back in bytes 14-17.
Datagram EncodeDiscoveryReply(const SimDevice& device, std::uint16_t sequence, Ipv4 workstationIp);

/// The good reply with one defect: another sequence number, another
/// workstation address, a first byte other than 0xC9, or 25 bytes long.
Datagram EncodeDiscoveryNoise(const SimDevice& device, DiscoveryNoise noise, std::uint16_t sequence,
                              Ipv4 workstationIp);

/// The details reply of the given form, status 0 (success). Empty for
/// DetailsForm::kNone.
Datagram EncodeDetailsReply(const SimDevice& device, DetailsForm form, std::uint16_t sequence);

/// The details reply of the device's own form (empty when it never answers).
inline Datagram EncodeDetailsReply(const SimDevice& device, std::uint16_t sequence) {
  return EncodeDetailsReply(device, device.details, sequence);
}

}  // namespace vantrell::sim
