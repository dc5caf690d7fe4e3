#pragma once
// A private network namespace for tests that change the real ARP and route
// tables: a veth pair vtb0 (10.77.0.1/24) and vtb1 (10.88.0.1/24), entered
// by one thread at a time, removed again when the object goes.

#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "platform/capability.h"

namespace vantrell::test_support {

inline int Shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str());
}

inline std::string ShellOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  pclose(pipe);
  return output;
}

/// Moves the calling thread into the named namespace and proves that it got
/// there, so nothing ever touches the machine's own tables.
inline bool EnterNamespace(const std::string& name) {
  const std::string path = "/var/run/netns/" + name;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool moved = setns(fd, CLONE_NEWNET) == 0;
  close(fd);
  struct stat wanted = {};
  struct stat current = {};
  return moved && stat(path.c_str(), &wanted) == 0 &&
         stat("/proc/thread-self/ns/net", &current) == 0 && wanted.st_dev == current.st_dev &&
         wanted.st_ino == current.st_ino;
}

class TestNamespace {
 public:
  TestNamespace() : name_("vtb" + std::to_string(getpid())) {}
  ~TestNamespace() {
    if (created_) Shell("ip netns del " + name_);
  }
  TestNamespace(const TestNamespace&) = delete;
  TestNamespace& operator=(const TestNamespace&) = delete;

  /// Empty when the namespace and its interfaces exist; otherwise why not
  /// (the test then skips or fails with it).
  std::string Create() {
    if (!HasNetAdminCapability()) return "needs CAP_NET_ADMIN to create a network namespace";
    Shell("ip netns del " + name_);  // left over by a killed run with the same pid
    if (Shell("ip netns add " + name_) != 0) {
      return "cannot create network namespace " + name_ + " (ip netns add failed)";
    }
    created_ = true;
    for (const char* step :
         {"link add vtb0 type veth peer name vtb1", "link set vtb0 up", "link set vtb1 up",
          "addr add 10.77.0.1/24 dev vtb0", "addr add 10.88.0.1/24 dev vtb1"}) {
      if (Ip(step) != 0) return std::string("ip ") + step + " failed";
    }
    return {};
  }

  int Ip(const std::string& args) { return Shell("ip -n " + name_ + " " + args); }
  std::string IpOutput(const std::string& args) {
    return ShellOutput("ip -n " + name_ + " " + args);
  }

  /// Runs `body` on a thread inside the namespace; false, without running
  /// it, when the thread cannot prove it is inside.
  bool RunInside(const std::function<void()>& body) {
    bool entered = false;
    std::thread worker([&] {
      entered = EnterNamespace(name_);
      if (entered) body();
    });
    worker.join();
    return entered;
  }

  const std::string& name() const { return name_; }

 private:
  std::string name_;
  bool created_ = false;
};

}  // namespace vantrell::test_support
