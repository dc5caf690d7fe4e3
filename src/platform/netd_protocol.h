#pragma once
/// The messages between a program and its network helper (vantrell-netd)
/// over their socket pair: one fixed-size request per datagram, one fixed
/// answer to each, and the greeting the helper sends once at start. Both
/// sides decode with bounds checks; anything of another size or kind is
/// refused.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "core/ipv4.h"
#include "core/text_forms.h"

namespace vantrell {

enum class NetdRequestKind : std::uint8_t {
  kAdd = 1,        ///< install the bracket of one device
  kRemove = 2,     ///< remove the bracket of one device address
  kRemoveAll = 3,  ///< remove every bracket of this client
  kCleanup = 4,    ///< remove the leftovers of helpers that no longer run
};

/// Request, 20 bytes:
/// | 0 | 1 | kind |
/// | 1 | 3 | zero |
/// | 4 | 4 | interface address, network order (kAdd) |
/// | 8 | 4 | device address, network order (kAdd, kRemove) |
/// | 12 | 6 | device MAC (kAdd) |
/// | 18 | 2 | zero |
inline constexpr std::size_t kNetdRequestSize = 20;

struct NetdRequest {
  NetdRequestKind kind = NetdRequestKind::kAdd;
  Ipv4 interfaceAddr = 0;
  Ipv4 deviceAddr = 0;
  MacAddress mac{};
};

/// What became of the static neighbour entry of a kAdd.
enum class NeighbourOutcome : std::uint8_t {
  kInstalled = 0,
  kAddressTableMissing = 1,  ///< the IPv4 address table was unreadable or empty
  kCreateFailed = 2,         ///< the kernel refused the entry; see `error`
  kNoInterface = 3,          ///< no local address equals the interface address
  kRefused = 4,              ///< the helper's rules refused the request; see `refusal`
  kNotAsked = 5,             ///< device address 0, or not a kAdd
};

/// What became of the host route of a kAdd, or of the removal of a kRemove.
enum class RouteOutcome : std::uint8_t {
  kNotNeeded = 0,            ///< same subnet, refused, or nothing to remove
  kInstalled = 1,            ///< kAdd: the host route is in place; kRemove: removed
  kAddressTableMissing = 2,  ///< kAdd: the IPv4 address table was unreadable or empty
  kRefusedByKernel = 3,      ///< kAdd: the kernel refused the route itself
  kRouteTableMissing = 4,    ///< kRemove: the route table could not be changed
};

/// Why the helper refused a kAdd.
enum class Refusal : std::uint8_t {
  kNone = 0,
  kReservedAddress = 1,   ///< 0/8, 127/8, 224/4 or 240/4
  kBroadcastAddress = 2,  ///< the broadcast address of a local subnet
  kLocalAddress = 3,      ///< an address of this workstation
  kRouterAddress = 4,     ///< the gateway of a route, with another MAC than the kernel knows
  kBadInterface = 5,      ///< the interface address is no usable IPv4 address
  kBadMac = 6,            ///< a multicast, broadcast or zero MAC
  kTooMany = 7,           ///< the client holds kMaxNetdBrackets brackets already
};

/// Most brackets one client may hold at a time (a search lists at most 4096
/// devices); the kernel's neighbour table is shared by every program.
inline constexpr std::size_t kMaxNetdBrackets = 4096;

/// Answer, 12 bytes:
/// | 0 | 1 | kind of the request answered |
/// | 1 | 1 | NeighbourOutcome |
/// | 2 | 1 | RouteOutcome |
/// | 3 | 1 | Refusal |
/// | 4 | 4 | errno of kCreateFailed, little-endian, positive |
/// | 8 | 4 | entries removed (kCleanup), little-endian |
inline constexpr std::size_t kNetdAnswerSize = 12;

struct NetdAnswer {
  NetdRequestKind kind = NetdRequestKind::kAdd;
  NeighbourOutcome neighbour = NeighbourOutcome::kNotAsked;
  RouteOutcome route = RouteOutcome::kNotNeeded;
  Refusal refusal = Refusal::kNone;
  std::uint32_t error = 0;
  std::uint32_t removed = 0;
};

/// Greeting, 4 bytes: "VN", version 1, then 0 when the helper holds
/// CAP_NET_ADMIN and 1 when it does not.
inline constexpr std::size_t kNetdGreetingSize = 4;
inline constexpr std::uint8_t kNetdVersion = 1;
inline constexpr std::uint8_t kNetdReady = 0;
inline constexpr std::uint8_t kNetdNoCapability = 1;

std::array<std::uint8_t, kNetdRequestSize> EncodeNetdRequest(const NetdRequest& request);
/// Nothing for a datagram of another size, an unknown kind or non-zero padding.
std::optional<NetdRequest> DecodeNetdRequest(std::span<const std::uint8_t> bytes);

std::array<std::uint8_t, kNetdAnswerSize> EncodeNetdAnswer(const NetdAnswer& answer);
/// Nothing for a datagram of another size or an out-of-range field.
std::optional<NetdAnswer> DecodeNetdAnswer(std::span<const std::uint8_t> bytes);

std::array<std::uint8_t, kNetdGreetingSize> EncodeNetdGreeting(std::uint8_t status);
/// The status byte of a well-formed greeting of this version.
std::optional<std::uint8_t> DecodeNetdGreeting(std::span<const std::uint8_t> bytes);

}  // namespace vantrell
