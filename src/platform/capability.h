#pragma once
/// Whether this process may change the ARP and route tables, and what to tell
/// the operator when it may not.

#include <string_view>

namespace vantrell {

/// True when the calling thread holds CAP_NET_ADMIN in its effective set.
bool HasNetAdminCapability();

/// Shown once at start when HasNetAdminCapability() is false.
inline constexpr std::string_view kNetAdminMissingText =
    "This program lacks the CAP_NET_ADMIN capability, so it cannot install the temporary ARP "
    "entries and host routes that reach devices on other subnets. Devices on a subnet of this "
    "computer keep working; devices on other subnets cannot be reached until the capability is "
    "granted. Run the program as root, or grant it once with "
    "\"sudo setcap cap_net_admin+ep <path of the program>\" and start it again.";

}  // namespace vantrell
