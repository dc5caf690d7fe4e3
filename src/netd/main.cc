// vantrell-netd: the network helper, the one program that holds
// CAP_NET_ADMIN. Started by the window or the command line with its end of a
// socket pair as descriptor 3; installs and removes the temporary ARP
// entries and host routes they ask for, and removes them all when the
// socket closes.
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <optional>

#include "netd/bracket_keeper.h"
#include "netd/journal.h"
#include "netd/netd_server.h"
#include "netd/privileges.h"
#include "platform/net_tables.h"
#include "platform/netd_protocol.h"

namespace {

constexpr int kClientSocket = 3;
constexpr int kExitNotStartedByClient = 2;
constexpr int kExitNoCapability = 1;

std::atomic<bool> stopRequested{false};

void OnTerminate(int) { stopRequested = true; }

bool IsSocket(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

void SendGreeting(std::uint8_t status) {
  const auto greeting = vantrell::EncodeNetdGreeting(status);
  ::send(kClientSocket, greeting.data(), greeting.size(), MSG_NOSIGNAL);
}

}  // namespace

int main() {
  using namespace vantrell;
  DetachFromCaller();
  const bool capable = KeepOnlyNetAdmin();
  if (!IsSocket(kClientSocket)) {
    std::cerr << "vantrell-netd: this helper is started by vantrell and vantrell-configurator\n";
    return kExitNotStartedByClient;
  }
  if (!capable) {
    SendGreeting(kNetdNoCapability);
    return kExitNoCapability;
  }
  struct sigaction terminate {};
  terminate.sa_handler = OnTerminate;  // no SA_RESTART: the wait for a request ends
  ::sigaction(SIGTERM, &terminate, nullptr);

  const std::unique_ptr<NetTables> tables = MakeSystemNetTables();
  const std::optional<JournalOwner> self = OwnIdentity();
  const std::optional<std::filesystem::path> folder = JournalFolder();
  const bool journalled = self && folder;
  std::optional<JournalFile> journal;
  int removedAtStart = 0;
  if (journalled) {
    removedAtStart = CleanUpEndedHelpers(*tables, *folder, *self);
    journal.emplace(*folder, *self);
  }
  BracketKeeper keeper(
      *tables,
      [&journal](const std::vector<Bracket>& brackets) {
        if (journal) journal->Write(brackets);
      },
      [&] { return journalled ? OtherHelpersBrackets(*folder, *self) : std::vector<Bracket>{}; });
  const auto cleanUp = [&] {
    const int removed =
        removedAtStart + (journalled ? CleanUpEndedHelpers(*tables, *folder, *self) : 0);
    removedAtStart = 0;
    return removed;
  };
  SendGreeting(kNetdReady);
  ServeClient(kClientSocket, keeper, cleanUp, stopRequested);
  return 0;
}
