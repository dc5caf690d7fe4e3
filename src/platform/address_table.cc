#include "platform/address_table.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

namespace vantrell {

std::optional<std::vector<InterfaceAddress>> ReadAddressTable() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return std::nullopt;
  std::vector<InterfaceAddress> table;
  for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
    InterfaceAddress row{};
    row.address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr;
    if (entry->ifa_netmask) {
      row.netmask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr;
    }
    row.ifIndex = static_cast<int>(if_nametoindex(entry->ifa_name));
    table.push_back(row);
  }
  freeifaddrs(list);
  std::sort(table.begin(), table.end(), [](const InterfaceAddress& a, const InterfaceAddress& b) {
    return ntohl(a.address) < ntohl(b.address);
  });
  return table;
}

}  // namespace vantrell
