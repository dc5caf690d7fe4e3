#include "platform/capability.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vantrell {

bool HasNetAdminCapability() {
  __user_cap_header_struct header{};
  header.version = _LINUX_CAPABILITY_VERSION_3;
  header.pid = 0;  // the calling thread
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  constexpr unsigned kWord = CAP_NET_ADMIN / 32;
  constexpr unsigned kBit = CAP_NET_ADMIN % 32;
  return (data[kWord].effective >> kBit) & 1u;
}

}  // namespace vantrell
