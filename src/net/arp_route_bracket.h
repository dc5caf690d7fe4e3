#pragma once
/// The temporary static ARP entry and host route that make a device on a
/// foreign subnet reachable for the length of one operation. Every operation
/// that sends unicast traffic to a device installs them first and removes
/// them afterwards, whether it succeeded or not.

#include <memory>

#include "core/device_record.h"
#include "core/message.h"
#include "core/text_forms.h"

namespace vantrell {

class NetTables;

class ArpRouteBracket {
 public:
  /// `tables` may be null: the bracket then does nothing (no CAP_NET_ADMIN).
  ArpRouteBracket(NetTables* tables, MessageSink& messages);

  void AddStaticArpEntry(Ipv4 localIfAddr, const MacAddress& mac, Ipv4 ipAddr);
  void DeleteArpEntries(Ipv4 ipAddr);
  void AddHostRoute(Ipv4 localIfAddr, Ipv4 ipAddr);
  void DeleteHostRoutes(Ipv4 ipAddr);

  /// Steps before the traffic: ARP entry, then host route.
  void Install(const DeviceRecord& record);
  /// Steps after the traffic: ARP entries, then host routes of ipAddr.
  void Remove(Ipv4 ipAddr);

  bool enabled() const { return tables_ != nullptr; }

 private:
  NetTables* tables_;
  MessageSink& messages_;
};

/// Installs the bracket for a record on construction, removes it on
/// destruction.
class ScopedDeviceReach {
 public:
  ScopedDeviceReach(ArpRouteBracket& bracket, const DeviceRecord& record)
      : bracket_(bracket), ipAddr_(record.ipAddr) {
    bracket_.Install(record);
  }
  ~ScopedDeviceReach() { bracket_.Remove(ipAddr_); }
  ScopedDeviceReach(const ScopedDeviceReach&) = delete;
  ScopedDeviceReach& operator=(const ScopedDeviceReach&) = delete;

 private:
  ArpRouteBracket& bracket_;
  Ipv4 ipAddr_;
};

}  // namespace vantrell
