#include "netd/bracket_keeper.h"

#include <linux/neighbour.h>

#include <algorithm>
#include <cerrno>

#include "netd/refusal_rules.h"

namespace vantrell {
namespace {


/// States of an entry an administrator (or a program) set, never learnt.
constexpr std::uint16_t kStaticStates = NUD_PERMANENT | NUD_NOARP;

/// The errors with which the kernel refuses the route itself rather than
/// reporting that there is none to replace.
bool IsRouteRefused(int rc) { return rc == -EINVAL || rc == -EOPNOTSUPP; }
bool IsAbsent(int rc) { return rc == -ENOENT || rc == -ESRCH; }

bool SameSubnet(Ipv4 a, Ipv4 b, Ipv4 netmask) { return (a & netmask) == (b & netmask); }

bool IsOurNeighbour(const NeighbourEntry& entry, const Bracket& bracket) {
  return entry.ifIndex == bracket.ifIndex && entry.address == bracket.device &&
         entry.mac == bracket.mac && (entry.state & NUD_PERMANENT) != 0;
}

bool IsHostRouteTo(const RouteEntry& route, Ipv4 device) {
  return route.destination == device && route.prefixLength == kHostPrefixLength;
}

/// Entries another helper's journal names as its own.
bool IsTheirs(const NeighbourEntry& entry, const std::vector<Bracket>& others) {
  return std::any_of(others.begin(), others.end(), [&](const Bracket& other) {
    return other.neighbour && IsOurNeighbour(entry, other);
  });
}

bool IsTheirs(const RouteEntry& route, const std::vector<Bracket>& others) {
  return std::any_of(others.begin(), others.end(), [&](const Bracket& other) {
    if (!other.route) return false;
    const RouteEntry theirs = AsRouteEntry(*other.route);
    return route.destination == theirs.destination && route.prefixLength == theirs.prefixLength &&
           route.ifIndex == theirs.ifIndex && route.priority == theirs.priority &&
           route.protocol == theirs.protocol;
  });
}

NetdAnswer AnswerTo(NetdRequestKind kind) {
  NetdAnswer answer;
  answer.kind = kind;
  return answer;
}

}  // namespace

UndoResult UndoBracket(NetTables& tables, const Bracket& bracket) {
  UndoResult result;
  if (bracket.neighbour) {
    std::vector<NeighbourEntry> neighbours;
    if (tables.DumpNeighbours(neighbours) == 0) {
      for (const NeighbourEntry& entry : neighbours) {
        if (IsOurNeighbour(entry, bracket) && tables.DeleteNeighbour(entry) == 0) ++result.changed;
      }
    }
  }
  if (bracket.route) {
    const int rc = tables.DeleteRoute(AsRouteEntry(*bracket.route));
    if (rc == 0) {
      ++result.changed;
    } else if (!IsAbsent(rc)) {
      result.routeFailed = true;
    }
  }
  for (const NeighbourEntry& saved : bracket.savedNeighbours) {
    if (tables.RestoreNeighbour(saved) == 0) ++result.changed;
  }
  for (const RouteEntry& saved : bracket.savedRoutes) {
    if (tables.RestoreRoute(saved) == 0) ++result.changed;
  }
  return result;
}

BracketKeeper::BracketKeeper(NetTables& tables, JournalWriter journal, OtherBrackets others)
    : tables_(tables), journal_(std::move(journal)), others_(std::move(others)) {}

void BracketKeeper::WriteJournal() {
  if (!journal_) return;
  std::vector<Bracket> all;
  all.reserve(brackets_.size());
  for (const auto& [device, bracket] : brackets_) all.push_back(bracket);
  journal_(all);
}

NetdAnswer BracketKeeper::Add(const NetdRequest& request) {
  NetdAnswer answer = AnswerTo(NetdRequestKind::kAdd);
  if (request.deviceAddr == 0) return answer;  // a device without an address gets nothing
  const auto addresses = tables_.ReadAddressTable();
  if (!addresses || addresses->empty()) {
    answer.neighbour = NeighbourOutcome::kAddressTableMissing;
    answer.route = RouteOutcome::kAddressTableMissing;
    return answer;
  }
  const auto row = std::find_if(addresses->begin(), addresses->end(),
                                [&](const auto& r) { return r.address == request.interfaceAddr; });
  if (row == addresses->end()) {
    answer.neighbour = NeighbourOutcome::kNoInterface;  // interface went down: nothing
    return answer;
  }
  TablesSnapshot snapshot{*addresses, {}, {}};
  // Unreadable tables fail closed: the router rule cannot be checked.
  const bool readable =
      tables_.DumpRoutes(snapshot.routes) == 0 && tables_.DumpNeighbours(snapshot.neighbours) == 0;
  answer.refusal = readable ? JudgeBracketRequest(request.interfaceAddr, request.deviceAddr,
                                                  request.mac, snapshot)
                            : Refusal::kRouterAddress;
  if (answer.refusal == Refusal::kNone && brackets_.size() >= kMaxNetdBrackets &&
      !brackets_.contains(request.deviceAddr)) {
    answer.refusal = Refusal::kTooMany;
  }
  if (answer.refusal != Refusal::kNone) {
    answer.neighbour = NeighbourOutcome::kRefused;
    return answer;
  }

  Remove(request.deviceAddr);  // a renewed bracket starts from what was there before ours
  Bracket& bracket = brackets_[request.deviceAddr];
  bracket.device = request.deviceAddr;
  bracket.ifIndex = row->ifIndex;
  bracket.mac = request.mac;
  if (const int rc = InstallNeighbour(bracket); rc != 0) {
    answer.neighbour = NeighbourOutcome::kCreateFailed;
    answer.error = static_cast<std::uint32_t>(-rc);
  } else {
    answer.neighbour = NeighbourOutcome::kInstalled;
  }
  if (!SameSubnet(request.interfaceAddr, request.deviceAddr, row->netmask)) {
    answer.route = InstallRoute(bracket);
  }
  if (!bracket.neighbour && !bracket.route) {
    UndoBracket(tables_, bracket);  // puts back what a failed install replaced
    brackets_.erase(request.deviceAddr);
    WriteJournal();
  }
  return answer;
}

int BracketKeeper::InstallNeighbour(Bracket& bracket) {
  std::vector<NeighbourEntry> neighbours;
  if (tables_.DumpNeighbours(neighbours) != 0) neighbours.clear();
  std::erase_if(neighbours, [&](const NeighbourEntry& entry) {
    return entry.ifIndex != bracket.ifIndex || entry.address != bracket.device;
  });
  const std::vector<Bracket> others = others_ ? others_() : std::vector<Bracket>{};
  for (const NeighbourEntry& entry : neighbours) {
    if ((entry.state & kStaticStates) && !IsTheirs(entry, others)) {
      bracket.savedNeighbours.push_back(entry);
    }
  }
  bracket.neighbour = true;
  WriteJournal();
  for (const NeighbourEntry& entry : neighbours) tables_.DeleteNeighbour(entry);
  const int rc = tables_.CreateStaticNeighbour(bracket.ifIndex, bracket.device, bracket.mac);
  if (rc != 0) {
    bracket.neighbour = false;
    for (const NeighbourEntry& saved : bracket.savedNeighbours) tables_.RestoreNeighbour(saved);
    bracket.savedNeighbours.clear();
    WriteJournal();
  }
  return rc;
}

RouteOutcome BracketKeeper::InstallRoute(Bracket& bracket) {
  std::vector<RouteEntry> routes;
  if (tables_.DumpRoutes(routes) != 0) routes.clear();
  std::erase_if(routes, [&](const RouteEntry& r) { return !IsHostRouteTo(r, bracket.device); });
  const HostRoute route{bracket.device, bracket.ifIndex, kHostRouteMetric};
  const std::vector<Bracket> others = others_ ? others_() : std::vector<Bracket>{};
  bracket.savedRoutes.clear();
  for (const RouteEntry& old : routes) {
    if (!IsTheirs(old, others)) bracket.savedRoutes.push_back(old);
  }
  bracket.route = route;
  WriteJournal();
  // Every host route to the device gives way, so that ours is the one used
  // whatever the metric of the old one.
  for (const RouteEntry& old : routes) tables_.DeleteRoute(old);
  int rc = tables_.SetHostRoute(route);
  if (rc != 0 && !IsRouteRefused(rc)) rc = tables_.CreateHostRoute(route);
  if (rc == 0 || rc == -EEXIST) return RouteOutcome::kInstalled;
  bracket.route.reset();
  for (const RouteEntry& saved : bracket.savedRoutes) tables_.RestoreRoute(saved);
  bracket.savedRoutes.clear();
  WriteJournal();
  return IsRouteRefused(rc) ? RouteOutcome::kRefusedByKernel : RouteOutcome::kNotNeeded;
}

NetdAnswer BracketKeeper::Remove(Ipv4 device) {
  NetdAnswer answer = AnswerTo(NetdRequestKind::kRemove);
  const auto found = brackets_.find(device);
  if (found == brackets_.end()) return answer;
  const UndoResult undone = UndoBracket(tables_, found->second);
  answer.route = undone.routeFailed ? RouteOutcome::kRouteTableMissing : RouteOutcome::kInstalled;
  answer.removed = static_cast<std::uint32_t>(undone.changed);
  brackets_.erase(found);
  WriteJournal();
  return answer;
}

void BracketKeeper::RemoveAll() {
  while (!brackets_.empty()) Remove(brackets_.begin()->first);
}

}  // namespace vantrell
