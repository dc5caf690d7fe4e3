#pragma once
/// The client's encoder and decoder of the details query datagrams (layouts
/// in core/wire/details_layout.h): the 6-byte 0x01 request and the 0x81 reply
/// in its four lengths (86, 98, 178, 1186), with the rules by which a reply
/// is accepted for a given device.

#include <cstdint>
#include <span>
#include <vector>

#include "core/device_record.h"
#include "core/wire/details_layout.h"

namespace vantrell {

/// Longest details reply; longer datagrams are not acceptable.
inline constexpr std::size_t kDetailsMaxReplySize = wire::details_reply::kModulesSize;

std::vector<std::uint8_t> BuildDetailsRequest(std::uint16_t sequence);

/// Fills `record` from an acceptable reply and returns true; leaves it
/// untouched and returns false otherwise. `datagramLength` is the full
/// length of the datagram, which may exceed the bytes read.
bool ApplyDetailsReply(std::span<const std::uint8_t> bytes, std::size_t datagramLength,
                       std::uint16_t sequence, DeviceRecord& record);

}  // namespace vantrell
