#include "netd/journal.h"

#include <fcntl.h>
#include <linux/rtnetlink.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/ipv4.h"
#include "core/text_forms.h"
#include "netd/refusal_rules.h"
#include "platform/atomic_file.h"

namespace vantrell {
namespace {

constexpr std::string_view kHeader = "vantrell-netd journal 1";
constexpr std::string_view kFilePrefix = "netd-";
constexpr std::string_view kFileSuffix = ".journal";
constexpr const char* kRootFolder = "/run/vantrell";
constexpr const char* kUserRunFolder = "/run/user";
constexpr const char* kUserSubfolder = "vantrell";
/// Fields of /proc/PID/stat, counted from 1.
constexpr int kStateField = 3;
constexpr int kStartTimeField = 22;
constexpr std::size_t kMaxImageBytes = 4096;
constexpr std::size_t kMaxBrackets = 8192;

std::string Hex(const TableImage& image) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : image) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text.empty() ? "-" : text;
}

std::optional<TableImage> Unhex(std::string_view text) {
  TableImage image;
  if (text == "-") return image;
  if (text.size() % 2 != 0 || text.size() / 2 > kMaxImageBytes) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::uint8_t b = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, b, 16);
    if (error != std::errc() || end != text.data() + i + 2) return std::nullopt;
    image.push_back(b);
  }
  return image;
}

/// Reads whitespace-separated fields of one journal line with checks.
class Fields {
 public:
  explicit Fields(const std::string& line) : in_(line) {}

  template <typename T>
  bool Number(T& out) {
    std::string word;
    if (!(in_ >> word)) return false;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), out);
    return error == std::errc() && end == word.data() + word.size();
  }
  bool Address(Ipv4& out) {
    std::string word;
    if (!(in_ >> word)) return false;
    const auto parsed = ParseIpv4(word);
    if (parsed) out = *parsed;
    return parsed.has_value();
  }
  bool Mac(MacAddress& out) {
    std::string word;
    if (!(in_ >> word)) return false;
    const auto parsed = ParseMac(word);
    if (parsed) out = *parsed;
    return parsed.has_value();
  }
  bool Image(TableImage& out) {
    std::string word;
    if (!(in_ >> word)) return false;
    auto parsed = Unhex(word);
    if (parsed) out = std::move(*parsed);
    return parsed.has_value();
  }
  bool AtEnd() {
    std::string rest;
    return !(in_ >> rest);
  }

 private:
  std::istringstream in_;
};

bool ParseBracket(Fields& f, Bracket& bracket) {
  int neighbour = 0;
  int routeIf = 0;
  std::uint32_t metric = 0;
  if (!f.Address(bracket.device) || !f.Number(bracket.ifIndex) || !f.Mac(bracket.mac) ||
      !f.Number(neighbour) || !f.Number(routeIf) || !f.Number(metric) || !f.AtEnd()) {
    return false;
  }
  if (neighbour != 0 && neighbour != 1) return false;
  // A journal is only as trustworthy as the folder it lies in: it may name
  // only what a helper could have installed, never a reserved address or a
  // MAC no device has.
  if (IsReservedAddress(bracket.device) || IsUnfitMac(bracket.mac)) return false;
  bracket.neighbour = neighbour == 1;
  if (routeIf != 0) bracket.route = HostRoute{bracket.device, routeIf, metric};
  return true;
}

bool ParseNeighbour(Fields& f, NeighbourEntry& entry) {
  return f.Address(entry.address) && f.Number(entry.ifIndex) && f.Number(entry.state) &&
         f.Number(entry.flags) && f.Mac(entry.mac) && f.Image(entry.image) && f.AtEnd();
}

bool ParseRoute(Fields& f, RouteEntry& entry) {
  return f.Address(entry.destination) && f.Number(entry.prefixLength) && f.Number(entry.ifIndex) &&
         f.Number(entry.table) && f.Number(entry.priority) && f.Number(entry.tos) &&
         f.Number(entry.protocol) && f.Number(entry.scope) && f.Number(entry.type) &&
         f.Image(entry.image) && f.AtEnd();
}

bool IsJournalName(const std::string& name) {
  return name.starts_with(kFilePrefix) && name.ends_with(kFileSuffix);
}

/// A folder that only this user can change.
bool IsSafeFolder(const std::filesystem::path& folder) {
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

/// The content of a journal file that this user owns; nothing for anything else.
std::optional<std::string> ReadOwnFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> text;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
      static_cast<std::size_t>(info.st_size) <= kMaxJournalBytes) {
    std::string content(static_cast<std::size_t>(info.st_size), '\0');
    const ssize_t n = ::read(fd, content.data(), content.size());
    if (n == info.st_size) text = std::move(content);
  }
  ::close(fd);
  return text;
}

}  // namespace

std::string FormatJournal(const Journal& journal) {
  std::ostringstream out;
  out << kHeader << "\n";
  out << "owner " << journal.owner.pid << " " << journal.owner.startTime << " "
      << journal.owner.netns << "\n";
  for (const Bracket& b : journal.brackets) {
    out << "bracket " << FormatIpv4(b.device) << " " << b.ifIndex << " " << FormatMac(b.mac) << " "
        << (b.neighbour ? 1 : 0) << " " << (b.route ? b.route->ifIndex : 0) << " "
        << (b.route ? b.route->metric : 0) << "\n";
    for (const NeighbourEntry& n : b.savedNeighbours) {
      out << "neighbour " << FormatIpv4(n.address) << " " << n.ifIndex << " " << n.state << " "
          << static_cast<int>(n.flags) << " " << FormatMac(n.mac) << " " << Hex(n.image) << "\n";
    }
    for (const RouteEntry& r : b.savedRoutes) {
      out << "route " << FormatIpv4(r.destination) << " " << r.prefixLength << " " << r.ifIndex
          << " " << r.table << " " << r.priority << " " << static_cast<int>(r.tos) << " "
          << static_cast<int>(r.protocol) << " " << static_cast<int>(r.scope) << " "
          << static_cast<int>(r.type) << " " << Hex(r.image) << "\n";
    }
  }
  return out.str();
}

std::optional<Journal> ParseJournal(std::string_view text) {
  if (text.size() > kMaxJournalBytes) return std::nullopt;
  std::istringstream in{std::string(text)};
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  Journal journal;
  if (!std::getline(in, line) || !line.starts_with("owner ")) return std::nullopt;
  Fields owner(line.substr(6));
  if (!owner.Number(journal.owner.pid) || !owner.Number(journal.owner.startTime) ||
      !owner.Number(journal.owner.netns) || !owner.AtEnd()) {
    return std::nullopt;
  }
  while (std::getline(in, line)) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) return std::nullopt;
    const std::string kind = line.substr(0, space);
    Fields f(line.substr(space + 1));
    if (kind == "bracket") {
      if (journal.brackets.size() >= kMaxBrackets) return std::nullopt;
      Bracket bracket;
      if (!ParseBracket(f, bracket)) return std::nullopt;
      journal.brackets.push_back(std::move(bracket));
      continue;
    }
    // Saved entries belong to the bracket above and are of its address.
    if (journal.brackets.empty()) return std::nullopt;
    Bracket& owner = journal.brackets.back();
    if (kind == "neighbour") {
      NeighbourEntry entry;
      if (!ParseNeighbour(f, entry) || entry.address != owner.device) return std::nullopt;
      owner.savedNeighbours.push_back(std::move(entry));
    } else if (kind == "route") {
      RouteEntry entry;
      // Only host routes to the bracket's own address were ever saved.
      if (!ParseRoute(f, entry) || entry.destination != owner.device ||
          entry.prefixLength != kHostPrefixLength || entry.table != RT_TABLE_MAIN) {
        return std::nullopt;
      }
      owner.savedRoutes.push_back(std::move(entry));
    } else {
      return std::nullopt;
    }
  }
  return journal;
}

std::optional<std::uint64_t> ProcessStartTime(pid_t pid) {
  // /proc files report size 0, so read them as streams.
  std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
  std::string content((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  const std::size_t close = content.rfind(')');  // the command name may hold spaces
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(content.substr(close + 1));
  std::string word;
  // The fields after the name start with number 3 (the state). A zombie
  // (killed, not yet reaped) has ended as far as its tables go.
  for (int field = 3; field <= kStartTimeField && fields >> word; ++field) {
    if (field == kStateField && (word == "Z" || word == "X")) return std::nullopt;
    if (field != kStartTimeField) continue;
    std::uint64_t startTime = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), startTime);
    if (error == std::errc() && end == word.data() + word.size()) return startTime;
  }
  return std::nullopt;
}

std::optional<JournalOwner> OwnIdentity() {
  JournalOwner owner;
  owner.pid = ::getpid();
  const std::optional<std::uint64_t> startTime = ProcessStartTime(owner.pid);
  struct stat ns {};
  if (!startTime || ::stat("/proc/self/ns/net", &ns) != 0) return std::nullopt;
  owner.startTime = *startTime;
  owner.netns = ns.st_ino;
  return owner;
}

std::optional<std::filesystem::path> JournalFolder() {
  std::filesystem::path folder;
  if (::geteuid() == 0) {
    folder = kRootFolder;
  } else {
    const std::filesystem::path userRun =
        std::filesystem::path(kUserRunFolder) / std::to_string(::getuid());
    if (!IsSafeFolder(userRun)) return std::nullopt;
    folder = userRun / kUserSubfolder;
  }
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  if (!IsSafeFolder(folder)) return std::nullopt;
  return folder;
}

JournalFile::JournalFile(std::filesystem::path folder, JournalOwner owner)
    : path_(std::move(folder) /
            (std::string(kFilePrefix) + std::to_string(owner.pid) + std::string(kFileSuffix))),
      owner_(owner) {}

JournalFile::~JournalFile() { ::unlink(path_.c_str()); }

void JournalFile::Write(const std::vector<Bracket>& brackets) {
  if (brackets.empty()) {
    ::unlink(path_.c_str());
    return;
  }
  AtomicFile file(path_, 0600);
  file.Write(FormatJournal(Journal{owner_, brackets}));
  file.Commit();
}

namespace {

/// Calls `visit` with every well-formed journal of `folder` written by
/// another process of `self`'s network namespace, and its path. Other files
/// are not ours to interpret; they stay for a person to look at.
template <typename Visit>
void ForEachOtherJournal(const std::filesystem::path& folder, const JournalOwner& self,
                         Visit&& visit) {
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    if (!IsJournalName(item.path().filename().string())) continue;
    const std::optional<std::string> text = ReadOwnFile(item.path());
    if (!text) continue;
    const std::optional<Journal> journal = ParseJournal(*text);
    if (!journal || journal->owner.netns != self.netns || journal->owner.pid == self.pid) continue;
    visit(*journal, item.path());
  }
}

}  // namespace

std::vector<Bracket> OtherHelpersBrackets(const std::filesystem::path& folder,
                                          const JournalOwner& self) {
  std::vector<Bracket> brackets;
  ForEachOtherJournal(folder, self, [&](const Journal& journal, const std::filesystem::path&) {
    brackets.insert(brackets.end(), journal.brackets.begin(), journal.brackets.end());
  });
  return brackets;
}

int CleanUpEndedHelpers(NetTables& tables, const std::filesystem::path& folder,
                        const JournalOwner& self) {
  int changed = 0;
  ForEachOtherJournal(folder, self, [&](const Journal& journal, const std::filesystem::path& path) {
    if (ProcessStartTime(journal.owner.pid) == journal.owner.startTime) return;  // at work
    for (const Bracket& bracket : journal.brackets) changed += UndoBracket(tables, bracket).changed;
    ::unlink(path.c_str());
  });
  return changed;
}

}  // namespace vantrell
