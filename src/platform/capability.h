#pragma once
/// Whether this process may change the ARP and route tables (the network
/// helper at start; the tests that make namespaces).

namespace vantrell {

/// True when the calling thread holds CAP_NET_ADMIN in its effective set.
bool HasNetAdminCapability();

}  // namespace vantrell
