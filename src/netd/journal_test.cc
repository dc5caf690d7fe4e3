#include "netd/journal.h"

#include <gtest/gtest.h>
#include <linux/neighbour.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "netd/fake_net_tables.h"

namespace vantrell {
namespace {

using test_support::FakeNetTables;
using test_support::Neighbour;

const MacAddress kMac = {0x00, 0x60, 0xE9, 0x12, 0x34, 0x56};
const MacAddress kAdminMac = {0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE};
const Ipv4 kDevice = MakeIpv4(10, 77, 0, 9);

Bracket SampleBracket() {
  Bracket bracket;
  bracket.device = kDevice;
  bracket.ifIndex = 2;
  bracket.mac = kMac;
  bracket.neighbour = true;
  bracket.route = HostRoute{kDevice, 2, 20};
  bracket.savedNeighbours.push_back(Neighbour(2, kDevice, NUD_PERMANENT, kAdminMac, {0x02, 0x00}));
  RouteEntry route = FakeNetTables::Route(kDevice, 32, 3, 5, MakeIpv4(10, 88, 0, 254));
  route.image = {0xAB, 0xCD};
  bracket.savedRoutes.push_back(route);
  return bracket;
}

const std::string kSampleText =
    "vantrell-netd journal 1\n"
    "owner 4242 987654 4026531840\n"
    "bracket 10.77.0.9 2 00:60:E9:12:34:56 1 2 20\n"
    "neighbour 10.77.0.9 2 128 0 02:AA:BB:CC:DD:EE 0200\n"
    "route 10.77.0.9 32 3 254 5 0 3 0 0 abcd\n";

TEST(Journal, TextLayoutAndRoundTrip) {
  const Journal journal{{4242, 987654, 4026531840u}, {SampleBracket()}};
  EXPECT_EQ(FormatJournal(journal), kSampleText);
  const std::optional<Journal> parsed = ParseJournal(kSampleText);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->owner.pid, 4242);
  EXPECT_EQ(parsed->owner.startTime, 987654u);
  ASSERT_EQ(parsed->brackets.size(), 1u);
  const Bracket& b = parsed->brackets[0];
  EXPECT_EQ(b.device, kDevice);
  EXPECT_EQ(b.mac, kMac);
  EXPECT_TRUE(b.neighbour);
  ASSERT_TRUE(b.route);
  EXPECT_EQ(b.route->ifIndex, 2);
  EXPECT_EQ(b.route->metric, 20u);
  ASSERT_EQ(b.savedNeighbours.size(), 1u);
  EXPECT_EQ(b.savedNeighbours[0].mac, kAdminMac);
  EXPECT_EQ(b.savedNeighbours[0].image, (TableImage{0x02, 0x00}));
  ASSERT_EQ(b.savedRoutes.size(), 1u);
  EXPECT_EQ(b.savedRoutes[0].priority, 5u);
  EXPECT_EQ(b.savedRoutes[0].table, 254u);
  EXPECT_EQ(b.savedRoutes[0].image, (TableImage{0xAB, 0xCD}));
  EXPECT_EQ(FormatJournal(*parsed).substr(kSampleText.find("bracket")),
            kSampleText.substr(kSampleText.find("bracket")));
}

/// The start of a journal whose one line is a bracket with nothing saved.
constexpr const char* kBracketOnly = "vantrell-netd journal 1\nowner 1 2 3\nbracket ";

TEST(Journal, AnythingButAWellFormedJournalIsRefused) {
  auto replaced = [](std::string from, std::string to) {
    std::string text = kSampleText;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  for (const std::string& bad : {
           replaced("journal 1", "journal 2"),
           replaced("owner 4242", "owner x4242"),
           replaced("bracket 10.77.0.9 2", "bracket 10.77.0.9"),
           replaced("1 2 20", "2 2 20"),                             // neighbour flag not 0/1
           replaced("neighbour 10.77.0.9", "neighbour 10.77.0.10"),  // another address
           replaced("route 10.77.0.9 32", "route 10.99.0.9 32"),
           replaced("route 10.77.0.9 32", "route 10.77.0.9 0"),  // not a host route
           replaced("32 3 254", "32 3 255"),                      // not the main table
           // What no helper installs: reserved addresses, unfit MACs.
           std::string(kBracketOnly) + "127.0.0.1 2 00:60:E9:12:34:56 1 2 20\n",
           std::string(kBracketOnly) + "0.0.0.0 2 00:60:E9:12:34:56 1 2 20\n",
           std::string(kBracketOnly) + "224.0.0.1 2 00:60:E9:12:34:56 1 2 20\n",
           std::string(kBracketOnly) + "10.77.0.9 2 FF:FF:FF:FF:FF:FF 1 2 20\n",
           std::string(kBracketOnly) + "10.77.0.9 2 01:00:5E:00:00:01 1 2 20\n",
           replaced("0200", "02g0"),
           replaced("abcd", "abc"),
           replaced("abcd\n", "abcd extra\n"),
           replaced("bracket", "brocket"),
           std::string("vantrell-netd journal 1\nowner 1 2 3\nneighbour 10.77.0.9 2 128 0 "
                       "02:AA:BB:CC:DD:EE 0200\n"),  // a saved entry before any bracket
           std::string(kMaxJournalBytes + 1, 'x'),
       }) {
    EXPECT_FALSE(ParseJournal(bad)) << bad.substr(0, 200);
  }
  EXPECT_TRUE(ParseJournal("vantrell-netd journal 1\nowner 1 2 3\n"));
  EXPECT_TRUE(ParseJournal(std::string(kBracketOnly) + "10.77.0.9 2 00:60:E9:12:34:56 1 2 20\n"));
}

/// A private folder for journals, removed afterwards.
class JournalFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vantrell-journal-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
    const std::optional<JournalOwner> self = OwnIdentity();
    ASSERT_TRUE(self);
    self_ = *self;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void Put(const std::string& name, const Journal& journal) {
    std::ofstream(folder_ / name) << FormatJournal(journal);
  }

  /// A process id that no longer runs: a child that has ended.
  static pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
  }

  std::filesystem::path folder_;
  JournalOwner self_;
};

TEST_F(JournalFolderTest, OnlyTheJournalsOfEndedHelpersInThisNamespaceAreUndone) {
  FakeNetTables tables;
  Bracket ended = SampleBracket();
  tables.neighbours.push_back(Neighbour(2, kDevice, NUD_PERMANENT, kMac));
  tables.routes.push_back(AsRouteEntry(*ended.route));
  Bracket live = ended;
  live.device = MakeIpv4(10, 77, 0, 10);
  live.savedNeighbours.clear();
  live.savedRoutes.clear();

  const pid_t gone = EndedProcess();
  Put("netd-" + std::to_string(gone) + ".journal", Journal{{gone, 1, self_.netns}, {ended}});
  const pid_t parent = ::getppid();
  const std::optional<std::uint64_t> parentStart = ProcessStartTime(parent);
  ASSERT_TRUE(parentStart);
  Put("netd-live.journal", Journal{{parent, *parentStart, self_.netns}, {live}});
  // A reused process id: the start time differs, so its writer has ended.
  Put("netd-reused.journal", Journal{{parent, *parentStart + 1, self_.netns}, {live}});
  Put("netd-elsewhere.journal", Journal{{gone, 1, self_.netns + 1}, {live}});
  std::ofstream(folder_ / "netd-garbage.journal") << "not a journal\n";

  const int changed = CleanUpEndedHelpers(tables, folder_, self_);
  // The ended helper's bracket in its order; the reused id's (nothing of it
  // in the tables) before or after it, as the folder lists them.
  std::vector<std::string> log = tables.log;
  const auto reused = std::find(log.begin(), log.end(), "route del 10.77.0.10/32 if2 metric 20");
  ASSERT_NE(reused, log.end());
  log.erase(reused);
  EXPECT_EQ(log, (std::vector<std::string>{"neigh del 10.77.0.9 if2",
                                           "route del 10.77.0.9/32 if2 metric 20",
                                           "neigh restore 10.77.0.9 if2 02:AA:BB:CC:DD:EE",
                                           "route restore 10.77.0.9/32 if3 metric 5"}));
  EXPECT_EQ(changed, 4);
  EXPECT_FALSE(std::filesystem::exists(folder_ / ("netd-" + std::to_string(gone) + ".journal")));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "netd-reused.journal"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "netd-live.journal"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "netd-elsewhere.journal"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "netd-garbage.journal"));
}

TEST_F(JournalFolderTest, TheFileFollowsTheBracketsAndGoesWithTheHelper) {
  const std::filesystem::path path = folder_ / ("netd-" + std::to_string(self_.pid) + ".journal");
  {
    JournalFile journal(folder_, self_);
    journal.Write({SampleBracket()});
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::optional<Journal> parsed = ParseJournal(text.str());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->owner.pid, self_.pid);
    EXPECT_EQ(parsed->brackets.size(), 1u);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    journal.Write({});
    EXPECT_FALSE(std::filesystem::exists(path));
    journal.Write({SampleBracket()});
    EXPECT_TRUE(std::filesystem::exists(path));
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  // Leftovers of an own earlier run in the folder are no business of the
  // cleanup of this very process.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                          std::filesystem::directory_iterator()),
            0);
}

}  // namespace
}  // namespace vantrell
