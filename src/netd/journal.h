#pragma once
/// The helper's journal: a small text file under /run naming what the
/// helper installed and what it replaced, rewritten before every change, so
/// that when a helper is itself killed the next one to start can take its
/// brackets out of the tables. Each helper writes its own file and cleans up
/// only after helpers that no longer run, in its own network namespace.
///
/// Format, one record a line, fields separated by single spaces:
///   vantrell-netd journal 1
///   owner PID START-TIME NETNS
///   bracket DEVICE IFINDEX MAC NEIGHBOUR(0|1) ROUTE-IFINDEX(0: none) ROUTE-METRIC
///   neighbour ADDRESS IFINDEX STATE FLAGS MAC IMAGE-HEX     (saved by the bracket above)
///   route DEST PREFIX IFINDEX TABLE PRIORITY TOS PROTOCOL SCOPE TYPE IMAGE-HEX

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "netd/bracket_keeper.h"

namespace vantrell {

/// Which process wrote a journal: its id, its start time (so a reused id is
/// not taken for the writer) and its network namespace.
struct JournalOwner {
  pid_t pid = 0;
  std::uint64_t startTime = 0;  ///< field 22 of /proc/PID/stat
  std::uint64_t netns = 0;      ///< inode of /proc/PID/ns/net
};

struct Journal {
  JournalOwner owner;
  std::vector<Bracket> brackets;
};

/// Largest journal read back; a longer file is not a journal of ours.
inline constexpr std::size_t kMaxJournalBytes = 4 * 1024 * 1024;

std::string FormatJournal(const Journal& journal);
/// Nothing for text that is not a well-formed journal.
std::optional<Journal> ParseJournal(std::string_view text);

/// The start time of process `pid` (readable for any process, however
/// privileged); nothing when it does not run or is a zombie.
std::optional<std::uint64_t> ProcessStartTime(pid_t pid);
/// This process's identity.
std::optional<JournalOwner> OwnIdentity();

/// Where this user's helpers keep their journals: /run/vantrell for root,
/// /run/user/UID/vantrell otherwise. Created (mode 0700) when missing;
/// nothing when it cannot be made or is not safely ours.
std::optional<std::filesystem::path> JournalFolder();

/// This helper's journal file, removed when the helper ends normally.
class JournalFile {
 public:
  JournalFile(std::filesystem::path folder, JournalOwner owner);
  ~JournalFile();
  JournalFile(const JournalFile&) = delete;
  JournalFile& operator=(const JournalFile&) = delete;

  /// Replaces the file's content by these brackets; an empty set removes it.
  void Write(const std::vector<Bracket>& brackets);

 private:
  std::filesystem::path path_;
  JournalOwner owner_;
};

/// The brackets in every journal of `folder` but `self`'s.
std::vector<Bracket> OtherHelpersBrackets(const std::filesystem::path& folder,
                                          const JournalOwner& self);

/// Takes the brackets of every journal in `folder` whose writer no longer
/// runs and that belongs to `self`'s network namespace out of the tables,
/// and removes those journals. Returns the number of table entries changed.
int CleanUpEndedHelpers(NetTables& tables, const std::filesystem::path& folder,
                        const JournalOwner& self);

}  // namespace vantrell
