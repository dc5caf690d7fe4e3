#include "platform/net_tables.h"

#include <linux/neighbour.h>
#include <linux/rtnetlink.h>
#include <netlink/addr.h>
#include <netlink/cache.h>
#include <netlink/errno.h>
#include <netlink/handlers.h>
#include <netlink/msg.h>
#include <netlink/netlink.h>
#include <netlink/route/neighbour.h>
#include <netlink/route/nexthop.h>
#include <netlink/route/route.h>
#include <netlink/socket.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace vantrell {
namespace {

constexpr int kIpv4Length = 4;

/// libnl's own error codes and the errno each stands for.
struct LibnlErrno {
  int libnl;
  int error;
};
constexpr LibnlErrno kLibnlErrnos[] = {
    {NLE_NOMEM, ENOMEM},
    {NLE_EXIST, EEXIST},
    {NLE_INVAL, EINVAL},
    {NLE_RANGE, EINVAL},
    {NLE_MISSING_ATTR, EINVAL},
    {NLE_OPNOTSUPP, EOPNOTSUPP},
    {NLE_AF_NOSUPPORT, EAFNOSUPPORT},
    {NLE_OBJ_NOTFOUND, ENOENT},
    {NLE_NOACCESS, EACCES},
    {NLE_PERM, EPERM},
    {NLE_NODEV, ENODEV},
    {NLE_BUSY, EBUSY},
    {NLE_AGAIN, EAGAIN},
    {NLE_INTR, EINTR},
    {NLE_DUMP_INTR, EINTR},
};

/// A libnl error as a negative errno, for failures that happened before the
/// kernel saw the request; -EIO for the rest.
int ErrnoFromLibnl(int nlError) {
  const int code = nlError < 0 ? -nlError : nlError;
  for (const LibnlErrno& pair : kLibnlErrnos) {
    if (pair.libnl == code) return -pair.error;
  }
  return -EIO;
}

struct LibnlDeleter {
  void operator()(nl_addr* p) const { nl_addr_put(p); }
  void operator()(nl_cache* p) const { nl_cache_free(p); }
  void operator()(nl_msg* p) const { nlmsg_free(p); }
  void operator()(rtnl_neigh* p) const { rtnl_neigh_put(p); }
  void operator()(rtnl_route* p) const { rtnl_route_put(p); }
};
template <typename T>
using LibnlPtr = std::unique_ptr<T, LibnlDeleter>;

/// One NETLINK_ROUTE socket for one call, opened in the network namespace of
/// the calling thread. Keeps the errno with which the kernel refused the last
/// request, which libnl would otherwise fold into its own coarser codes.
class RouteSocket {
 public:
  RouteSocket() : sock_(nl_socket_alloc()) {
    if (!sock_) {
      openError_ = -ENOMEM;
      return;
    }
    nl_socket_modify_err_cb(sock_, NL_CB_CUSTOM, &RouteSocket::OnKernelError, this);
    if (int rc = nl_connect(sock_, NETLINK_ROUTE); rc < 0) openError_ = ErrnoFromLibnl(rc);
  }
  ~RouteSocket() {
    if (sock_) nl_socket_free(sock_);
  }
  RouteSocket(const RouteSocket&) = delete;
  RouteSocket& operator=(const RouteSocket&) = delete;

  int openError() const { return openError_; }
  nl_sock* get() { return sock_; }

  /// Runs one libnl request and returns 0 or a negative errno.
  template <typename Request>
  int Run(Request&& request) {
    kernelError_ = 0;
    const int rc = request();
    if (rc >= 0) return 0;
    return kernelError_ != 0 ? kernelError_ : ErrnoFromLibnl(rc);
  }

  /// Sends a prepared message and waits for the kernel's acknowledgement.
  int SendAndWait(nl_msg* message) {
    return Run([&] {
      const int sent = nl_send_auto(sock_, message);
      return sent < 0 ? sent : nl_wait_for_ack(sock_);
    });
  }

 private:
  static int OnKernelError(sockaddr_nl*, nlmsgerr* error, void* self) {
    static_cast<RouteSocket*>(self)->kernelError_ = error->error < 0 ? error->error : -error->error;
    return NL_STOP;
  }

  nl_sock* sock_;
  int openError_ = 0;
  int kernelError_ = 0;
};

LibnlPtr<nl_addr> MakeIpv4Address(Ipv4 address, int prefixLength) {
  LibnlPtr<nl_addr> result(nl_addr_build(AF_INET, &address, kIpv4Length));
  if (result) nl_addr_set_prefixlen(result.get(), prefixLength);
  return result;
}

/// The IPv4 address held by a libnl address, or nothing for other kinds.
std::optional<Ipv4> Ipv4Of(nl_addr* address) {
  if (!address || nl_addr_get_len(address) != kIpv4Length) return std::nullopt;
  Ipv4 value;
  std::memcpy(&value, nl_addr_get_binary_addr(address), kIpv4Length);
  return value;
}

/// The body of the request that creates `object` again.
template <typename Build>
TableImage ImageOf(Build&& build) {
  nl_msg* raw = nullptr;
  if (build(&raw) < 0 || !raw) return {};
  LibnlPtr<nl_msg> message(raw);
  const nlmsghdr* header = nlmsg_hdr(message.get());
  const auto* body = static_cast<const std::uint8_t*>(nlmsg_data(header));
  return TableImage(body, body + nlmsg_datalen(header));
}

/// A request of `type` carrying `image` as its body.
LibnlPtr<nl_msg> RequestFromImage(int type, const TableImage& image) {
  LibnlPtr<nl_msg> message(nlmsg_alloc_simple(type, NLM_F_CREATE | NLM_F_EXCL));
  if (!message || image.empty()) return nullptr;
  if (nlmsg_append(message.get(), const_cast<std::uint8_t*>(image.data()), image.size(),
                   NLMSG_ALIGNTO) < 0) {
    return nullptr;
  }
  return message;
}

NeighbourEntry ToNeighbourEntry(rtnl_neigh* neigh) {
  NeighbourEntry entry;
  entry.ifIndex = rtnl_neigh_get_ifindex(neigh);
  entry.address = Ipv4Of(rtnl_neigh_get_dst(neigh)).value_or(0);
  const int state = rtnl_neigh_get_state(neigh);
  entry.state = state < 0 ? 0 : static_cast<std::uint16_t>(state);
  nl_addr* lladdr = rtnl_neigh_get_lladdr(neigh);
  if (lladdr && nl_addr_get_len(lladdr) == entry.mac.size()) {
    std::memcpy(entry.mac.data(), nl_addr_get_binary_addr(lladdr), entry.mac.size());
  }
  entry.flags = static_cast<std::uint8_t>(rtnl_neigh_get_flags(neigh));
  entry.image = ImageOf([&](nl_msg** out) { return rtnl_neigh_build_add_request(neigh, 0, out); });
  return entry;
}

RouteEntry ToRouteEntry(rtnl_route* route) {
  RouteEntry entry;
  nl_addr* dst = rtnl_route_get_dst(route);
  entry.destination = Ipv4Of(dst).value_or(0);
  entry.prefixLength = dst ? static_cast<int>(nl_addr_get_prefixlen(dst)) : 0;
  if (rtnl_route_get_nnexthops(route) > 0) {
    entry.ifIndex = rtnl_route_nh_get_ifindex(rtnl_route_nexthop_n(route, 0));
  }
  entry.table = rtnl_route_get_table(route);
  entry.priority = rtnl_route_get_priority(route);
  entry.tos = rtnl_route_get_tos(route);
  entry.protocol = rtnl_route_get_protocol(route);
  entry.scope = rtnl_route_get_scope(route);
  entry.type = rtnl_route_get_type(route);
  for (int i = 0; i < rtnl_route_get_nnexthops(route); ++i) {
    if (auto gateway = Ipv4Of(rtnl_route_nh_get_gateway(rtnl_route_nexthop_n(route, i)))) {
      entry.gateways.push_back(*gateway);
    }
  }
  entry.image = ImageOf([&](nl_msg** out) { return rtnl_route_build_add_request(route, 0, out); });
  return entry;
}

/// A route object for the main IPv4 table with one next hop on `ifIndex`
/// (none when 0).
LibnlPtr<rtnl_route> MakeRoute(Ipv4 destination, int prefixLength, int ifIndex) {
  LibnlPtr<rtnl_route> route(rtnl_route_alloc());
  LibnlPtr<nl_addr> dst = MakeIpv4Address(destination, prefixLength);
  if (!route || !dst) return nullptr;
  rtnl_route_set_family(route.get(), AF_INET);
  rtnl_route_set_table(route.get(), RT_TABLE_MAIN);
  if (rtnl_route_set_dst(route.get(), dst.get()) < 0) return nullptr;
  if (ifIndex != 0) {
    rtnl_nexthop* hop = rtnl_route_nh_alloc();
    if (!hop) return nullptr;
    rtnl_route_nh_set_ifindex(hop, ifIndex);
    rtnl_route_add_nexthop(route.get(), hop);  // the route owns the hop now
  }
  return route;
}

class SystemNetTables final : public NetTables {
 public:
  std::optional<std::vector<InterfaceAddress>> ReadAddressTable() override {
    return vantrell::ReadAddressTable();
  }

  int CreateStaticNeighbour(int ifIndex, Ipv4 address, const MacAddress& mac) override {
    RouteSocket sock;
    if (sock.openError()) return sock.openError();
    LibnlPtr<rtnl_neigh> neigh(rtnl_neigh_alloc());
    LibnlPtr<nl_addr> dst = MakeIpv4Address(address, kHostPrefixLength);
    LibnlPtr<nl_addr> lladdr(nl_addr_build(AF_LLC, mac.data(), mac.size()));
    if (!neigh || !dst || !lladdr) return -ENOMEM;
    rtnl_neigh_set_family(neigh.get(), AF_INET);
    rtnl_neigh_set_ifindex(neigh.get(), ifIndex);
    if (rtnl_neigh_set_dst(neigh.get(), dst.get()) < 0) return -EINVAL;
    rtnl_neigh_set_lladdr(neigh.get(), lladdr.get());
    rtnl_neigh_set_state(neigh.get(), NUD_PERMANENT);
    // Replace as well: an entry the kernel learnt again since the caller
    // deleted the old ones must not make the static entry fail.
    return sock.Run(
        [&] { return rtnl_neigh_add(sock.get(), neigh.get(), NLM_F_CREATE | NLM_F_REPLACE); });
  }

  int DumpNeighbours(std::vector<NeighbourEntry>& out) override {
    out.clear();
    RouteSocket sock;
    if (sock.openError()) return sock.openError();
    nl_cache* raw = nullptr;
    if (int rc = sock.Run([&] { return rtnl_neigh_alloc_cache(sock.get(), &raw); }); rc < 0) {
      return rc;
    }
    LibnlPtr<nl_cache> cache(raw);
    for (nl_object* it = nl_cache_get_first(cache.get()); it; it = nl_cache_get_next(it)) {
      auto* neigh = reinterpret_cast<rtnl_neigh*>(it);
      if (rtnl_neigh_get_family(neigh) != AF_INET) continue;
      if (!Ipv4Of(rtnl_neigh_get_dst(neigh))) continue;
      out.push_back(ToNeighbourEntry(neigh));
    }
    return 0;
  }

  int DeleteNeighbour(const NeighbourEntry& entry) override {
    RouteSocket sock;
    if (sock.openError()) return sock.openError();
    LibnlPtr<rtnl_neigh> neigh(rtnl_neigh_alloc());
    LibnlPtr<nl_addr> dst = MakeIpv4Address(entry.address, kHostPrefixLength);
    if (!neigh || !dst) return -ENOMEM;
    rtnl_neigh_set_family(neigh.get(), AF_INET);
    rtnl_neigh_set_ifindex(neigh.get(), entry.ifIndex);
    if (rtnl_neigh_set_dst(neigh.get(), dst.get()) < 0) return -EINVAL;
    return sock.Run([&] { return rtnl_neigh_delete(sock.get(), neigh.get(), 0); });
  }

  int SetHostRoute(const HostRoute& route) override {
    // Without NLM_F_CREATE the kernel only replaces and answers ENOENT when
    // there is nothing to replace.
    return SendHostRoute(route, NLM_F_REPLACE);
  }

  int CreateHostRoute(const HostRoute& route) override {
    return SendHostRoute(route, NLM_F_CREATE | NLM_F_EXCL);
  }

  int DumpRoutes(std::vector<RouteEntry>& out) override {
    out.clear();
    RouteSocket sock;
    if (sock.openError()) return sock.openError();
    nl_cache* raw = nullptr;
    if (int rc = sock.Run([&] { return rtnl_route_alloc_cache(sock.get(), AF_INET, 0, &raw); });
        rc < 0) {
      return rc;
    }
    LibnlPtr<nl_cache> cache(raw);
    for (nl_object* it = nl_cache_get_first(cache.get()); it; it = nl_cache_get_next(it)) {
      auto* route = reinterpret_cast<rtnl_route*>(it);
      if (rtnl_route_get_family(route) != AF_INET) continue;
      if (rtnl_route_get_table(route) != RT_TABLE_MAIN) continue;
      out.push_back(ToRouteEntry(route));
    }
    return 0;
  }

  int RestoreNeighbour(const NeighbourEntry& entry) override {
    return SendImage(RTM_NEWNEIGH, entry.image, [&](nlmsghdr* header) {
      rtnl_neigh* raw = nullptr;
      if (rtnl_neigh_parse(header, &raw) < 0 || !raw) return false;
      LibnlPtr<rtnl_neigh> parsed(raw);
      return rtnl_neigh_get_family(parsed.get()) == AF_INET &&
             Ipv4Of(rtnl_neigh_get_dst(parsed.get())) == entry.address &&
             rtnl_neigh_get_ifindex(parsed.get()) == entry.ifIndex;
    });
  }

  int RestoreRoute(const RouteEntry& entry) override {
    return SendImage(RTM_NEWROUTE, entry.image, [&](nlmsghdr* header) {
      rtnl_route* raw = nullptr;
      if (rtnl_route_parse(header, &raw) < 0 || !raw) return false;
      LibnlPtr<rtnl_route> parsed(raw);
      nl_addr* dst = rtnl_route_get_dst(parsed.get());
      return rtnl_route_get_family(parsed.get()) == AF_INET && Ipv4Of(dst) == entry.destination &&
             static_cast<int>(nl_addr_get_prefixlen(dst)) == entry.prefixLength &&
             rtnl_route_get_table(parsed.get()) == entry.table;
    });
  }

  int DeleteRoute(const RouteEntry& entry) override {
    RouteSocket sock;
    if (sock.openError()) return sock.openError();
    LibnlPtr<rtnl_route> route = MakeRoute(entry.destination, entry.prefixLength, entry.ifIndex);
    if (!route) return -ENOMEM;
    rtnl_route_set_table(route.get(), entry.table);
    rtnl_route_set_priority(route.get(), entry.priority);
    rtnl_route_set_tos(route.get(), entry.tos);
    rtnl_route_set_protocol(route.get(), entry.protocol);
    rtnl_route_set_scope(route.get(), entry.scope);
    rtnl_route_set_type(route.get(), entry.type);
    return sock.Run([&] { return rtnl_route_delete(sock.get(), route.get(), 0); });
  }

 private:
  /// Sends the create request of `type` that `image` holds, once `isOfEntry`
  /// has found it to be a request for the entry it should stand for.
  template <typename Check>
  static int SendImage(int type, const TableImage& image, Check&& isOfEntry) {
    LibnlPtr<nl_msg> message = RequestFromImage(type, image);
    if (!message || !isOfEntry(nlmsg_hdr(message.get()))) return -EINVAL;
    RouteSocket sock;
    if (sock.openError()) return sock.openError();
    return sock.SendAndWait(message.get());
  }

  static int SendHostRoute(const HostRoute& hostRoute, int flags) {
    RouteSocket sock;
    if (sock.openError()) return sock.openError();
    LibnlPtr<rtnl_route> route =
        MakeRoute(hostRoute.destination, kHostPrefixLength, hostRoute.ifIndex);
    if (!route) return -ENOMEM;
    rtnl_route_set_scope(route.get(), RT_SCOPE_LINK);
    rtnl_route_set_protocol(route.get(), RTPROT_STATIC);
    rtnl_route_set_type(route.get(), RTN_UNICAST);
    rtnl_route_set_priority(route.get(), hostRoute.metric);
    // Built by hand: libnl's add request always sets NLM_F_CREATE.
    LibnlPtr<nl_msg> message(nlmsg_alloc_simple(RTM_NEWROUTE, flags));
    if (!message) return -ENOMEM;
    if (int rc = rtnl_route_build_msg(message.get(), route.get()); rc < 0) {
      return ErrnoFromLibnl(rc);
    }
    return sock.SendAndWait(message.get());
  }
};

}  // namespace

RouteEntry AsRouteEntry(const HostRoute& route) {
  RouteEntry entry;
  entry.destination = route.destination;
  entry.prefixLength = kHostPrefixLength;
  entry.ifIndex = route.ifIndex;
  entry.table = RT_TABLE_MAIN;
  entry.priority = route.metric;
  entry.protocol = RTPROT_STATIC;
  entry.scope = RT_SCOPE_LINK;
  entry.type = RTN_UNICAST;
  return entry;
}

std::unique_ptr<NetTables> MakeSystemNetTables() { return std::make_unique<SystemNetTables>(); }

}  // namespace vantrell
