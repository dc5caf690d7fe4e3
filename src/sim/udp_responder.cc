#include "sim/udp_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/address_table.h"

namespace vantrell::sim {
namespace {

/// Larger than any request; a datagram that does not fit is ignored.
constexpr std::size_t kReceiveBufferSize = 2048;
/// Datagrams read per wake-up before timers get their turn.
constexpr int kMaxReadsPerWakeup = 256;

std::string Endpoint(Ipv4 address, std::uint16_t port) {
  return FormatIpv4(address) + ":" + std::to_string(port);
}

std::string ErrnoText(int error) { return std::strerror(error); }

}  // namespace

UdpResponder::UdpResponder(EventLoop& loop, const std::vector<SimDevice>& devices,
                           UdpResponderOptions options, LogSink log)
    : loop_(loop), devices_(devices), options_(options), log_(std::move(log)), planner_(devices) {}

UdpResponder::~UdpResponder() {
  for (EventLoop::TimerId id : lateReplies_) loop_.Cancel(id);
  if (refreshTimer_) loop_.Cancel(refreshTimer_);
  if (fd_ >= 0) {
    loop_.Unwatch(fd_);
    close(fd_);
  }
}

void UdpResponder::Log(const std::string& line) const {
  if (log_) log_(line);
}

int UdpResponder::Start(std::string* error) {
  const auto fail = [&](const std::string& what) {
    if (error) *error = what + ": " + ErrnoText(errno);
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    return -1;
  };
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return fail("cannot open a UDP socket");
  const int on = 1;
  if (setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0) {
    return fail("cannot switch on IP_PKTINFO");
  }
  // SO_RCVBUFFORCE passes the system limit when we may; otherwise take what
  // SO_RCVBUF allows.
  const int wanted = options_.receiveBufferBytes;
  if (setsockopt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, &wanted, sizeof wanted) != 0) {
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &wanted, sizeof wanted);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(options_.port);
  if (bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return fail("cannot bind UDP port " + std::to_string(options_.port));
  }
  socklen_t length = sizeof address;
  if (getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return fail("cannot read the bound UDP port");
  }
  port_ = ntohs(address.sin_port);

  RefreshAddressTable();
  SchedulePeriodicRefresh();
  loop_.WatchReadable(fd_, [this] { OnReadable(); });
  return 0;
}

void UdpResponder::SchedulePeriodicRefresh() {
  refreshTimer_ = loop_.After(std::chrono::milliseconds(options_.addressRefreshMs), [this] {
    refreshTimer_ = 0;
    RefreshAddressTable();
    SchedulePeriodicRefresh();
  });
}

void UdpResponder::RefreshAddressTable() {
  lastRefresh_ = EventLoop::Clock::now();
  std::optional<std::vector<InterfaceAddress>> table = ReadAddressTable();
  if (!table) {
    if (!tableWarned_) Log("warning: cannot read the interface address table");
    tableWarned_ = true;
    return;
  }
  tableWarned_ = false;
  std::vector<std::optional<int>> before;
  for (std::size_t i = 0; i < devices_.size(); ++i) before.push_back(planner_.DeviceInterface(i));
  planner_.SetAddressTable(std::move(*table));
  ReportInterfaces(before);
  tableLoaded_ = true;
}

void UdpResponder::DevicesChanged() {
  std::vector<std::optional<int>> before;
  for (std::size_t i = 0; i < devices_.size(); ++i) before.push_back(planner_.DeviceInterface(i));
  planner_.Reindex();
  ReportInterfaces(before);
}

void UdpResponder::ReportInterfaces(const std::vector<std::optional<int>>& before) {
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    const std::optional<int> now = planner_.DeviceInterface(i);
    const bool firstTime = !tableLoaded_ || i >= before.size();
    if (!firstTime && now == before[i]) continue;
    const std::string device = FormatMac(devices_[i].mac) + " " + FormatIpv4(devices_[i].ip);
    if (!now) {
      Log("warning: device " + device +
          ": no interface holds its address; it does not answer discovery");
    } else if (options_.verbose) {
      Log("device " + device + " on interface " + std::to_string(*now));
    }
  }
}

void UdpResponder::OnReadable() {
  for (int i = 0; i < kMaxReadsPerWakeup; ++i) {
    if (!ReceiveOne()) break;
  }
}

bool UdpResponder::ReceiveOne() {
  std::uint8_t buffer[kReceiveBufferSize];
  sockaddr_in from{};
  iovec vector{buffer, sizeof buffer};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
  msghdr message{};
  message.msg_name = &from;
  message.msg_namelen = sizeof from;
  message.msg_iov = &vector;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t received = recvmsg(fd_, &message, MSG_DONTWAIT);
  if (received < 0) {
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      Log("warning: receive failed: " + ErrnoText(errno));
    }
    return false;
  }
  InboundDatagram datagram;
  datagram.sourceIp = from.sin_addr.s_addr;
  datagram.sourcePort = ntohs(from.sin_port);
  bool havePacketInfo = false;
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      in_pktinfo info;
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      datagram.destinationIp = info.ipi_addr.s_addr;
      datagram.ifIndex = info.ipi_ifindex;
      havePacketInfo = true;
    }
  }
  const std::string origin =
      std::to_string(received) + " bytes from " + Endpoint(datagram.sourceIp, datagram.sourcePort) +
      " to " + FormatIpv4(datagram.destinationIp) + " on if " + std::to_string(datagram.ifIndex);
  if (!havePacketInfo || (message.msg_flags & MSG_TRUNC)) {
    if (options_.verbose) {
      Log("recv " + origin +
          ": ignored: " + (havePacketInfo ? "longer than any request" : "no arrival interface"));
    }
    return true;
  }
  datagram.bytes = std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(received));
  if (options_.verbose) Log("recv " + origin);
  Handle(datagram);
  return true;
}

void UdpResponder::Handle(const InboundDatagram& datagram) {
  const auto sinceRefresh = EventLoop::Clock::now() - lastRefresh_;
  if (!planner_.KnowsInterface(datagram.ifIndex) &&
      sinceRefresh >= std::chrono::milliseconds(options_.unknownInterfaceRefreshMs)) {
    RefreshAddressTable();
  }
  ReplyPlan plan = planner_.Plan(datagram);
  if (options_.verbose) Log("  " + plan.note);
  for (OutboundDatagram& out : plan.replies) Dispatch(std::move(out));
}

void UdpResponder::Dispatch(OutboundDatagram out) {
  if (out.delayMs <= 0) {
    SendNow(out);
    return;
  }
  if (lateReplies_.size() >= options_.maxPendingLateReplies) {
    if (options_.verbose) Log("drop " + out.what + ": too many late answers waiting");
    return;
  }
  if (options_.verbose) {
    Log("late " + std::to_string(out.bytes.size()) + " bytes in " + std::to_string(out.delayMs) +
        " ms: " + out.what);
  }
  const std::chrono::milliseconds delay(out.delayMs);
  // The timer removes its own id from lateReplies_ when it runs.
  auto id = std::make_shared<EventLoop::TimerId>(0);
  *id = loop_.After(delay, [this, id, out = std::move(out)] {
    lateReplies_.erase(*id);
    SendNow(out);
  });
  lateReplies_.insert(*id);
}

void UdpResponder::SendNow(const OutboundDatagram& out) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = out.toIp;
  to.sin_port = htons(out.toPort);
  iovec vector{const_cast<std::uint8_t*>(out.bytes.data()), out.bytes.size()};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
  msghdr message{};
  message.msg_name = &to;
  message.msg_namelen = sizeof to;
  message.msg_iov = &vector;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  cmsghdr* c = CMSG_FIRSTHDR(&message);
  c->cmsg_level = IPPROTO_IP;
  c->cmsg_type = IP_PKTINFO;
  c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
  in_pktinfo info{};
  info.ipi_ifindex = out.ifIndex;
  info.ipi_spec_dst.s_addr = out.fromIp;
  std::memcpy(CMSG_DATA(c), &info, sizeof info);

  const std::string line = std::to_string(out.bytes.size()) + " bytes from " +
                           FormatIpv4(out.fromIp) + " to " + Endpoint(out.toIp, out.toPort) +
                           " on if " + std::to_string(out.ifIndex) + ": " + out.what;
  if (sendmsg(fd_, &message, MSG_DONTWAIT) < 0) {
    const int error = errno;
    // Report a device's first failure always, later ones only when verbose.
    if (options_.verbose || sendFailureReported_.insert(out.device).second) {
      Log("warning: send " + line + " failed: " + ErrnoText(error));
    }
    return;
  }
  if (options_.verbose) Log("send " + line);
}

}  // namespace vantrell::sim
