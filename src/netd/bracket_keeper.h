#pragma once
/// The helper's own record of the brackets it installed for its client, and
/// the table changes that install and remove them. What a bracket replaces
/// (a static neighbour entry on the same interface, a host route to the
/// device from any source) is kept and put back exactly when the bracket
/// goes; entries the kernel learnt are replaced for good; entries on other
/// interfaces stay untouched.

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/net_tables.h"
#include "platform/netd_protocol.h"

namespace vantrell {

/// One device's bracket as the helper keeps it (and journals it).
struct Bracket {
  Ipv4 device = 0;
  int ifIndex = 0;
  MacAddress mac{};
  bool neighbour = false;          ///< our static entry is, or is about to be, in place
  std::optional<HostRoute> route;  ///< our host route, when one is (about to be) in place
  std::vector<NeighbourEntry> savedNeighbours;
  std::vector<RouteEntry> savedRoutes;
};

/// What taking a bracket out of the tables did.
struct UndoResult {
  int changed = 0;           ///< entries removed or put back
  bool routeFailed = false;  ///< our host route could not be deleted
};

/// Takes a bracket out of the tables: our entries go where they are still
/// ours, the saved ones come back. For this helper's brackets and for the
/// journals of helpers that no longer run.
UndoResult UndoBracket(NetTables& tables, const Bracket& bracket);

class BracketKeeper {
 public:
  /// Called with every bracket whenever the set changes, before the tables
  /// change, so a journal always covers what may be installed.
  using JournalWriter = std::function<void(const std::vector<Bracket>&)>;

  /// The brackets other helpers (running or not) have journalled: their
  /// entries are theirs to remove, never ours to save and put back.
  using OtherBrackets = std::function<std::vector<Bracket>()>;

  explicit BracketKeeper(NetTables& tables, JournalWriter journal = {}, OtherBrackets others = {});

  /// Installs (or renews) the bracket of one device.
  NetdAnswer Add(const NetdRequest& request);
  /// Removes the bracket of one address; nothing to do when there is none.
  NetdAnswer Remove(Ipv4 device);
  /// Removes every bracket (end of the client).
  void RemoveAll();

  std::size_t size() const { return brackets_.size(); }

 private:
  void WriteJournal();
  /// The kernel's answer to our neighbour entry; saves and clears what it replaces.
  int InstallNeighbour(Bracket& bracket);
  RouteOutcome InstallRoute(Bracket& bracket);

  NetTables& tables_;
  JournalWriter journal_;
  OtherBrackets others_;
  std::map<Ipv4, Bracket> brackets_;
};

}  // namespace vantrell
