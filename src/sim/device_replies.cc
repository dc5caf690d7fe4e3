#include "sim/device_replies.h"

#include "core/wire/details_layout.h"
#include "core/wire/discovery_layout.h"
#include "sim/byte_fields.h"

namespace vantrell::sim {
namespace {

/// Value used in place of a correct marker byte in the "first byte" noise.
constexpr std::uint8_t kWrongDiscoveryMarker = 0xC8;
/// Length of the "length" noise datagram: one byte more than the short form.
constexpr std::size_t kWrongLengthSize = wire::discovery_reply::kShortSize + 1;

void PutDetailsHeader(Datagram& out, std::uint16_t sequence) {
  namespace rp = wire::details_reply;
  out[rp::kMarker] = rp::kMarkerValue;
  out[rp::kStatus] = rp::kStatusSuccess;
  PutU16HighFirst(out, rp::kLength, static_cast<std::uint16_t>(out.size()));
  PutU16LowFirst(out, rp::kSequence, sequence);
}

/// Fields every form carries: firmware, status flags, name, netmask, gateway.
void PutDetailsCommon(Datagram& out, const SimDevice& device) {
  namespace rp = wire::details_reply;
  PutU32LowFirst(out, rp::kFirmwareVersion, device.firmwareVersion);
  out[rp::kStatusFlags] = device.statusFlags;
  PutText(out, rp::kName, rp::kNameSize, device.name);
  PutIpv4(out, rp::kNetmask, device.netmask);
  PutIpv4(out, rp::kGateway, device.gateway);
}

void PutDetailsDnsAndFlags(Datagram& out, const SimDevice& device) {
  namespace rp = wire::details_reply;
  PutIpv4(out, rp::kDns1, device.dns1);
  PutIpv4(out, rp::kDns2, device.dns2);
  PutU32LowFirst(out, rp::kIpConfigFlags, device.ipConfigFlags);
}

void PutDetailsModules(Datagram& out, const SimDevice& device) {
  namespace rp = wire::details_reply;
  for (std::size_t slot = 0; slot < device.modules.size(); ++slot) {
    const SimModule& module = device.modules[slot];
    out[rp::kModuleTypes + slot] = module.type;
    PutText(out, rp::kModuleNames + slot * rp::kModuleNameSize, rp::kModuleNameSize, module.name);
    PutText(out, rp::kModuleDescs + slot * rp::kModuleDescSize, rp::kModuleDescSize, module.desc);
  }
}

}  // namespace

Datagram EncodeDiscoveryReply(const SimDevice& device, std::uint16_t sequence, Ipv4 workstationIp) {
  namespace rp = wire::discovery_reply;
  const bool isLong = device.reply == DiscoveryForm::kLong;
  Datagram out(isLong ? rp::kLongSize : rp::kShortSize, 0);
  out[rp::kMarker] = rp::kMarkerValue;
  PutU16HighFirst(out, rp::kLength, static_cast<std::uint16_t>(out.size()));
  PutU16LowFirst(out, rp::kSequence, sequence);
  PutU32HighFirst(out, rp::kWebPort, device.webPort);
  PutU16LowFirst(out, rp::kModelId, device.modelId);
  PutU16LowFirst(out, rp::kSerialNo, device.serialNo);
  PutIpv4(out, rp::kInterfaceIp, workstationIp);
  const MacAddress& mac = device.faults.announcedMac.value_or(device.mac);
  for (std::size_t i = 0; i < mac.size(); ++i) out[rp::kMac + i] = mac[i];
  if (isLong) PutText(out, rp::kModelName, rp::kModelNameSize, device.modelName);
  return out;
}

Datagram EncodeDiscoveryNoise(const SimDevice& device, DiscoveryNoise noise, std::uint16_t sequence,
                              Ipv4 workstationIp) {
  namespace rp = wire::discovery_reply;
  switch (noise) {
    case DiscoveryNoise::kSequence:
      return EncodeDiscoveryReply(device, static_cast<std::uint16_t>(sequence + 1), workstationIp);
    case DiscoveryNoise::kInterface:
      return EncodeDiscoveryReply(device, sequence, ~workstationIp);
    case DiscoveryNoise::kFirstByte: {
      Datagram out = EncodeDiscoveryReply(device, sequence, workstationIp);
      out[rp::kMarker] = kWrongDiscoveryMarker;
      return out;
    }
    case DiscoveryNoise::kLength: {
      Datagram out = EncodeDiscoveryReply(device, sequence, workstationIp);
      out.resize(kWrongLengthSize, 0);
      PutU16HighFirst(out, rp::kLength, static_cast<std::uint16_t>(out.size()));
      return out;
    }
  }
  return {};
}

Datagram EncodeDetailsReply(const SimDevice& device, DetailsForm form, std::uint16_t sequence) {
  if (form == DetailsForm::kNone) return {};
  Datagram out(static_cast<std::size_t>(form), 0);
  PutDetailsHeader(out, sequence);
  PutDetailsCommon(out, device);
  switch (form) {
    case DetailsForm::k178:
      PutText(out, wire::details_reply::kLocation, wire::details_reply::kLocationSize,
              device.location);
      [[fallthrough]];
    case DetailsForm::k98:
      PutDetailsDnsAndFlags(out, device);
      break;
    case DetailsForm::k1186:
      PutDetailsModules(out, device);
      break;
    case DetailsForm::k86:
    case DetailsForm::kNone:
      break;
  }
  return out;
}

}  // namespace vantrell::sim
