#pragma once
/// The decisions of the UDP responder, free of sockets: which device answers
/// a datagram that arrived on port 4000, with which bytes, from which
/// address, on which interface, to whom and how late.
///
/// A device answers discovery only when the request arrived on the interface
/// that holds its address (an interface whose own address equals it, else
/// the interface whose subnet contains it, longest prefix first), from its
/// own address to the request's source. A details request is answered by
/// every device whose address is the request's destination address.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/ipv4.h"
#include "platform/address_table.h"
#include "sim/device_replies.h"
#include "sim/sim_device.h"

namespace vantrell::sim {

/// The interface index that holds `device`, or nothing.
std::optional<int> ResolveDeviceInterface(Ipv4 device, std::span<const InterfaceAddress> table);

/// A datagram as the socket delivered it.
struct InboundDatagram {
  std::span<const std::uint8_t> bytes;
  Ipv4 sourceIp = 0;  ///< network order
  std::uint16_t sourcePort = 0;
  Ipv4 destinationIp = 0;  ///< IP_PKTINFO ipi_addr
  int ifIndex = 0;         ///< IP_PKTINFO ipi_ifindex (arrival interface)
};

/// One datagram to send.
struct OutboundDatagram {
  Datagram bytes;
  Ipv4 fromIp = 0;  ///< the device's address (IP_PKTINFO ipi_spec_dst)
  int ifIndex = 0;  ///< interface to leave by (IP_PKTINFO ipi_ifindex)
  Ipv4 toIp = 0;
  std::uint16_t toPort = 0;
  int delayMs = 0;         ///< send this much later
  std::size_t device = 0;  ///< index of the answering device
  std::string what;        ///< short description for the log
};

struct ReplyPlan {
  std::vector<OutboundDatagram> replies;
  std::string note;  ///< what the datagram was, or why it was ignored
};

class ReplyPlanner {
 public:
  /// The devices stay owned by the caller and must outlive the planner.
  explicit ReplyPlanner(const std::vector<SimDevice>& devices);

  /// Takes a new interface address table and recomputes which interface
  /// holds each device.
  void SetAddressTable(std::vector<InterfaceAddress> table);
  /// Recomputes the address indexes after a device's address changed.
  void Reindex();

  /// True when the table has an address on this interface.
  bool KnowsInterface(int ifIndex) const;
  /// The interface holding the device's address, as last computed.
  std::optional<int> DeviceInterface(std::size_t device) const;

  ReplyPlan Plan(const InboundDatagram& datagram) const;

 private:
  ReplyPlan PlanDiscovery(const InboundDatagram& datagram) const;
  ReplyPlan PlanDetails(const InboundDatagram& datagram) const;

  const std::vector<SimDevice>& devices_;
  /// Per device, the number of flood MAC addresses sent so far.
  mutable std::unordered_map<std::size_t, std::uint32_t> floodSent_;
  std::vector<InterfaceAddress> table_;
  std::vector<std::optional<int>> deviceInterface_;
  std::unordered_map<int, std::vector<std::size_t>> devicesByInterface_;
  std::unordered_multimap<Ipv4, std::size_t> devicesByAddress_;
};

}  // namespace vantrell::sim
