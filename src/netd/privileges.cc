#include "netd/privileges.h"

#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace vantrell {
namespace {

constexpr unsigned kNetAdminWord = CAP_NET_ADMIN / 32;
constexpr std::uint32_t kNetAdminBit = 1u << (CAP_NET_ADMIN % 32);
/// Highest capability number any kernel we run on may know.
constexpr int kLastCapability = 63;

struct CapabilitySets {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

bool ReadCapabilities(CapabilitySets& sets) {
  return syscall(SYS_capget, &sets.header, sets.data) == 0;
}

}  // namespace

void DetachFromCaller() {
  ::clearenv();
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int signal : {SIGINT, SIGHUP, SIGPIPE, SIGQUIT, SIGTSTP, SIGTTIN, SIGTTOU}) {
    ::signal(signal, SIG_IGN);
  }
  ::setsid();
  ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
}

bool KeepOnlyNetAdmin() {
  // The bounding set first: dropping from it needs CAP_SETPCAP, which goes next.
  for (int cap = 0; cap <= kLastCapability; ++cap) {
    if (cap != CAP_NET_ADMIN) ::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0);
  }
  ::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0);
  CapabilitySets sets;
  if (!ReadCapabilities(sets)) return false;
  const bool permitted = (sets.data[kNetAdminWord].permitted & kNetAdminBit) != 0;
  for (auto& word : sets.data) word = {};
  if (permitted) {
    sets.data[kNetAdminWord].permitted = kNetAdminBit;
    sets.data[kNetAdminWord].effective = kNetAdminBit;
  }
  if (syscall(SYS_capset, &sets.header, sets.data) != 0) return false;
  CapabilitySets after;
  return ReadCapabilities(after) && (after.data[kNetAdminWord].effective & kNetAdminBit) != 0;
}

}  // namespace vantrell
