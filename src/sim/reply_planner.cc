#include "sim/reply_planner.h"

#include <bit>

#include "core/wire/discovery_layout.h"
#include "sim/device_requests.h"

namespace vantrell::sim {
namespace {

const char* NoiseName(DiscoveryNoise noise) {
  switch (noise) {
    case DiscoveryNoise::kSequence:
      return "sequence";
    case DiscoveryNoise::kInterface:
      return "interface";
    case DiscoveryNoise::kFirstByte:
      return "firstByte";
    case DiscoveryNoise::kLength:
      return "length";
  }
  return "?";
}

/// Offset of the MAC address in a discovery reply.
constexpr std::size_t kDiscoveryMacOffset = wire::discovery_reply::kMac;

/// A copy of `reply` whose MAC address ends in 0x80 | the 23-bit `serial`
/// (the first three bytes stay the device's own; the high bit keeps the
/// flood clear of the scenario's own addresses).
Datagram WithFloodMac(const Datagram& reply, std::uint32_t serial) {
  Datagram flood = reply;
  flood[kDiscoveryMacOffset + 3] = static_cast<std::uint8_t>(0x80 | ((serial >> 16) & 0x7F));
  flood[kDiscoveryMacOffset + 4] = static_cast<std::uint8_t>(serial >> 8);
  flood[kDiscoveryMacOffset + 5] = static_cast<std::uint8_t>(serial);
  return flood;
}

std::string DeviceLabel(const SimDevice& device) {
  return FormatMac(device.mac) + " " + FormatIpv4(device.ip);
}

}  // namespace

std::optional<int> ResolveDeviceInterface(Ipv4 device, std::span<const InterfaceAddress> table) {
  for (const InterfaceAddress& row : table) {
    if (row.address == device) return row.ifIndex;
  }
  std::optional<int> best;
  int bestPrefix = -1;
  for (const InterfaceAddress& row : table) {
    if ((row.address & row.netmask) != (device & row.netmask)) continue;
    const int prefix = std::popcount(row.netmask);
    if (prefix > bestPrefix) {
      best = row.ifIndex;
      bestPrefix = prefix;
    }
  }
  return best;
}

ReplyPlanner::ReplyPlanner(const std::vector<SimDevice>& devices) : devices_(devices) { Reindex(); }

void ReplyPlanner::SetAddressTable(std::vector<InterfaceAddress> table) {
  table_ = std::move(table);
  Reindex();
}

void ReplyPlanner::Reindex() {
  deviceInterface_.assign(devices_.size(), std::nullopt);
  devicesByInterface_.clear();
  devicesByAddress_.clear();
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    deviceInterface_[i] = ResolveDeviceInterface(devices_[i].ip, table_);
    if (deviceInterface_[i]) devicesByInterface_[*deviceInterface_[i]].push_back(i);
    devicesByAddress_.emplace(devices_[i].ip, i);
  }
}

bool ReplyPlanner::KnowsInterface(int ifIndex) const {
  for (const InterfaceAddress& row : table_) {
    if (row.ifIndex == ifIndex) return true;
  }
  return false;
}

std::optional<int> ReplyPlanner::DeviceInterface(std::size_t device) const {
  return device < deviceInterface_.size() ? deviceInterface_[device] : std::nullopt;
}

ReplyPlan ReplyPlanner::Plan(const InboundDatagram& datagram) const {
  if (LooksLikeDetailsRequest(datagram.bytes)) return PlanDetails(datagram);
  return PlanDiscovery(datagram);
}

ReplyPlan ReplyPlanner::PlanDiscovery(const InboundDatagram& datagram) const {
  ReplyPlan plan;
  std::string why;
  const std::optional<DiscoveryRequest> request = ParseDiscoveryRequest(datagram.bytes, &why);
  if (!request) {
    plan.note = "ignored: " + why;
    return plan;
  }
  const bool isD8Request = request->kind == DiscoveryKind::kKnownD8;
  const std::size_t listed = isD8Request ? request->knownD8.size() : request->knownMacs.size();
  plan.note = std::string(isD8Request ? "'I'" : "'H'") + " request, sequence " +
              std::to_string(request->sequence) + ", " + std::to_string(listed) + " listed";

  const auto onInterface = devicesByInterface_.find(datagram.ifIndex);
  if (onInterface == devicesByInterface_.end()) return plan;
  for (std::size_t index : onInterface->second) {
    const SimDevice& device = devices_[index];
    const bool answers = AnswersDiscovery(device, *request);
    if (!answers && device.faults.floodMacs == 0) continue;
    const auto add = [&](Datagram bytes, std::string what) {
      OutboundDatagram out;
      out.bytes = std::move(bytes);
      out.fromIp = device.ip;
      out.ifIndex = datagram.ifIndex;
      out.toIp = datagram.sourceIp;
      out.toPort = datagram.sourcePort;
      out.device = index;
      out.what = std::move(what) + " of " + DeviceLabel(device);
      plan.replies.push_back(std::move(out));
    };
    if (answers) {
      for (DiscoveryNoise noise : device.faults.discoveryNoise) {
        add(EncodeDiscoveryNoise(device, noise, request->sequence, datagram.sourceIp),
            std::string("discovery noise '") + NoiseName(noise) + "'");
      }
      if (!device.faults.noiseOnly) {
        add(EncodeDiscoveryReply(device, request->sequence, datagram.sourceIp), "discovery reply");
      }
    }
    // A flood ignores the request's list of known devices.
    if (device.faults.floodMacs > 0) {
      const Datagram reply = EncodeDiscoveryReply(device, request->sequence, datagram.sourceIp);
      std::uint32_t& sent = floodSent_[index];
      for (int i = 0; i < device.faults.floodMacs; ++i) {
        add(WithFloodMac(reply, ++sent), "flood reply");
      }
    }
  }
  return plan;
}

ReplyPlan ReplyPlanner::PlanDetails(const InboundDatagram& datagram) const {
  ReplyPlan plan;
  std::string why;
  const std::optional<std::uint16_t> sequence = ParseDetailsRequest(datagram.bytes, &why);
  if (!sequence) {
    plan.note = "ignored: " + why;
    return plan;
  }
  plan.note = "details request, sequence " + std::to_string(*sequence);
  const auto [first, last] = devicesByAddress_.equal_range(datagram.destinationIp);
  for (auto it = first; it != last; ++it) {
    const SimDevice& device = devices_[it->second];
    if (device.details == DetailsForm::kNone) {
      plan.note += "; " + DeviceLabel(device) + " never answers details";
      continue;
    }
    OutboundDatagram out;
    out.bytes = EncodeDetailsReply(device, *sequence);
    out.fromIp = device.faults.detailsFrom != 0 ? device.faults.detailsFrom : device.ip;
    out.ifIndex = datagram.ifIndex;
    out.toIp = datagram.sourceIp;
    out.toPort = datagram.sourcePort;
    out.delayMs = device.faults.detailsDelayMs;
    out.device = it->second;
    out.what = "details reply of " + DeviceLabel(device);
    plan.replies.push_back(std::move(out));
  }
  return plan;
}

}  // namespace vantrell::sim
