#pragma once
/// The temporary static ARP entry and host route that make a device on a
/// foreign subnet reachable for the length of one operation. Every operation
/// that sends unicast traffic to a device installs them first and removes
/// them afterwards, whether it succeeded or not. The tables themselves are
/// changed by the network helper (vantrell-netd), which judges each request,
/// keeps what it replaces and puts it back; this class asks it and shows the
/// messages its answers call for. Safe to use from several threads.

#include "core/device_record.h"
#include "core/message.h"
#include "core/text_forms.h"

namespace vantrell {

class NetdChannel;

class ArpRouteBracket {
 public:
  /// `helper` may be null: the bracket then does nothing (no helper).
  ArpRouteBracket(NetdChannel* helper, MessageSink& messages);

  /// Steps before the traffic: ARP entry, then host route. A request the
  /// helper refuses installs nothing and shows nothing.
  void Install(const DeviceRecord& record);
  /// Steps after the traffic: removes what Install put in place for ipAddr
  /// and puts back what it replaced; nothing when nothing is installed.
  void Remove(Ipv4 ipAddr);

  bool enabled() const { return helper_ != nullptr; }

 private:
  NetdChannel* helper_;
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
