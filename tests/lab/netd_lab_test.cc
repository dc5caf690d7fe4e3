// End-to-end tests of the network helper (vantrell-netd) through the command
// line, in a lab of network namespaces (scripts/lab.sh, scenario
// scripts/lab/netd-test.json): spoofed discovery replies install nothing,
// what an administrator set is back after a bracket, a killed run leaves
// nothing behind, and the command line itself runs without any capability.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/netd-test.json";
constexpr const char* kCli = VANTRELL_CLI;
constexpr const char* kHelper = VANTRELL_NETD;

constexpr const char* kFarA8 = "02:56:70:00:00:01";         // 10.77.0.9, exports, "far-pw"
constexpr const char* kGatewayClaim = "02:56:70:00:00:03";  // answers from 192.168.10.254
constexpr const char* kOwnClaim = "02:56:70:00:00:04";      // answers from 192.168.20.1
constexpr const char* kMulticastMac = "01:00:5E:00:00:01";  // 10.77.0.20 names it

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtn", kScenario);

class NetdLab : public SharedLabTest {
 protected:
  static std::string W(int segment) { return TheLab().name() + "w" + std::to_string(segment); }

  /// A shell script in the workstation namespace, with $1 the command line,
  /// $2 and $3 the two segment interfaces, $4 the work folder, $5 the helper;
  /// its stdout, and its exit status when not 0.
  static std::string Shell(const std::string& script, int limitSeconds = 90) {
    const CommandResult result = TheLab().Exec(
        {"sh", "-c", script, "sh", kCli, W(0), W(1), TheLab().workDir(), kHelper}, limitSeconds);
    return result.out +
           (result.exitCode == 0 ? "" : "[exit " + std::to_string(result.exitCode) + "]");
  }

  /// Every permanent neighbour entry and every host route to the lab's far devices.
  static std::string OurEntries() {
    return Shell("ip neigh show nud permanent; ip route show 10.77.0.9; ip route show 10.77.0.10");
  }
};

/// The part of a script that starts an upgrade of the stalling far device in
/// the background, in a process group of its own and with SIGINT at its
/// default (as a terminal's foreground job), and waits (at most 30 s) until
/// its transfer runs.
const std::string kStartStalledUpgrade = R"sh(
cli=$1; work=$4
head -c 41943040 /dev/zero > "$work/big.rom"
setsid env --default-signal=INT "$cli" --quiet upgrade "$work/big.rom" 10.77.0.10 >/dev/null 2>&1 &
pid=$!
n=0
until ss -tn state established dst 10.77.0.10 | grep -q 10.77.0.10; do
  n=$((n+1)); [ $n -gt 600 ] && { echo "transfer never started"; kill -9 $pid; exit 1; }
  sleep 0.05
done
echo "during: $(ip route show 10.77.0.10 | wc -l) route, $(ip neigh show nud permanent | wc -l) neighbour"
)sh";

TEST_F(NetdLab, SpoofedRepliesInstallNothingAndTheDevicesStayListed) {
  const std::string out = Shell(R"sh(
cli=$1; w0=$2; work=$4
ip route add 10.200.0.0/16 via 192.168.10.254 dev $w0
ip neigh replace 192.168.10.254 lladdr 02:00:00:00:fe:fe dev $w0 nud permanent
# A reply from the workstation's own address is taken in at all only so.
echo 1 > /proc/sys/net/ipv4/conf/all/accept_local
echo 1 > /proc/sys/net/ipv4/conf/$w0/accept_local
ip monitor neigh route > "$work/monitor.txt" 2>&1 &
monitor=$!
sleep 0.3
"$cli" --quiet search --json > "$work/search.json"
echo "search=$?"
kill $monitor
echo "gateway: $(ip neigh show 192.168.10.254 dev $w0)"
ip route del 10.200.0.0/16 via 192.168.10.254 dev $w0
ip neigh del 192.168.10.254 dev $w0
)sh");
  EXPECT_EQ(out,
            "search=0\n"
            "gateway: 192.168.10.254 lladdr 02:00:00:00:fe:fe PERMANENT \n");
  // The monitor saw no static entry and no host route for any of the three
  // addresses come or go (the kernel learns them from their ARP requests).
  std::istringstream monitor(ReadFile(TheLab().workDir() + "/monitor.txt"));
  std::string line;
  int brackets = 0;
  while (std::getline(monitor, line)) {
    const bool ours = Has(line, "PERMANENT") || Has(line, "proto static");
    if (ours && Has(line, "10.77.0.9 ")) ++brackets;
    for (const char* address : {"192.168.10.254", "192.168.20.1 ", "10.77.0.20"}) {
      EXPECT_FALSE(ours && Has(line, address)) << line;
    }
  }
  // The far device's bracket came and went: the monitor did watch.
  EXPECT_GE(brackets, 2) << ReadFile(TheLab().workDir() + "/monitor.txt");
  const nlohmann::json listed =
      nlohmann::json::parse(ReadFile(TheLab().workDir() + "/search.json"));
  std::map<std::string, std::string> details;
  for (const nlohmann::json& device : listed) {
    details[device["mac"].get<std::string>()] =
        device["ip"].get<std::string>() + " " + device["details"].get<std::string>();
  }
  EXPECT_EQ(details[kGatewayClaim].substr(0, 15), "192.168.10.254 ");
  EXPECT_EQ(details[kOwnClaim].substr(0, 13), "192.168.20.1 ");
  EXPECT_EQ(details[kMulticastMac], "10.77.0.20 Timeout");
  EXPECT_EQ(details[kFarA8], "10.77.0.9 Finish");
}

TEST_F(NetdLab, AdministratorsEntriesForTheDeviceAreBackAfterAnExport) {
  const std::string out = Shell(R"sh(
cli=$1; w0=$2; w1=$3; work=$4
ip neigh replace 10.77.0.9 lladdr 02:00:00:00:99:09 dev $w0 nud permanent
ip route add 10.77.0.9/32 via 192.168.20.254 dev $w1 metric 5 proto boot
before="$(ip -d neigh show 10.77.0.9; ip -d route show 10.77.0.9)"
"$cli" --quiet --password far-pw export 02:56:70:00:00:01 "$work/far.ini"
echo "export=$?"
after="$(ip -d neigh show 10.77.0.9; ip -d route show 10.77.0.9)"
[ "$before" = "$after" ] && echo "entries back" || printf 'before:\n%s\nafter:\n%s\n' "$before" "$after"
echo "$before" | grep -c "02:00:00:00:99:09 PERMANENT\|via 192.168.20.254 dev $w1 proto boot"
ip route del 10.77.0.9/32 via 192.168.20.254 dev $w1 metric 5
ip neigh del 10.77.0.9 dev $w0
)sh");
  EXPECT_EQ(out, "Export configuration to file OK.\nexport=0\nentries back\n2\n");
  EXPECT_TRUE(ReadFile(TheLab().workDir() + "/far.ini").starts_with("[Meshvault Server"));
  EXPECT_EQ(OurEntries(), "");
}

TEST_F(NetdLab, KilledCommandLeavesNothingWithinASecond) {
  const std::string out = Shell(kStartStalledUpgrade + R"sh(
kill -9 $pid
start=$(date +%s%N)
n=0
while [ -n "$(ip neigh show nud permanent; ip route show 10.77.0.10)" ]; do
  n=$((n+1)); [ $n -gt 1000 ] && break
  sleep 0.002
done
end=$(date +%s%N)
echo "cleared after $(( (end - start) / 1000000 )) ms" >&2
[ $(( (end - start) / 1000000 )) -lt 1000 ] && echo "cleared within a second"
ip neigh show nud permanent; ip route show 10.77.0.10
)sh");
  EXPECT_EQ(out, "during: 1 route, 1 neighbour\ncleared within a second\n");
  EXPECT_EQ(OurEntries(), "");
}

TEST_F(NetdLab, TerminatedOrHungUpCommandExitsCleanly) {
  // Ctrl-C reaches the whole process group: the helper must outlive it
  // long enough to clean up.
  for (const auto& [signal, status] :
       {std::pair{"INT -", "130"}, {"TERM ", "143"}, {"HUP ", "129"}}) {
    const std::string out = Shell(kStartStalledUpgrade + "kill -" + signal + R"sh($pid
wait $pid
echo "exit=$?"
ip neigh show nud permanent; ip route show 10.77.0.10
)sh");
    EXPECT_EQ(out, std::string("during: 1 route, 1 neighbour\nexit=") + status + "\n") << signal;
  }
}

TEST_F(NetdLab, NextRunRemovesWhatAKilledHelperLeft) {
  const std::string out = Shell(kStartStalledUpgrade + R"sh(
helper=$(pgrep -P $pid)
kill -9 $helper $pid
sleep 0.3
echo "left: $(ip route show 10.77.0.10 | wc -l) route, $(ip neigh show nud permanent | wc -l) neighbour"
"$cli" --quiet cleanup
echo "cleanup=$?"
echo "after: $(ip route show 10.77.0.10 | wc -l) route, $(ip neigh show nud permanent | wc -l) neighbour"
"$cli" --quiet cleanup
)sh");
  EXPECT_EQ(out,
            "during: 1 route, 1 neighbour\n"
            "left: 1 route, 1 neighbour\n"
            "Removed 2 entries left by ended runs.\n"
            "cleanup=0\n"
            "after: 0 route, 0 neighbour\n"
            "Removed 0 entries left by ended runs.\n");
}

TEST_F(NetdLab, CommandLineHoldsNoCapabilityWhileTheHelperDoesTheBracket) {
  const std::string out = Shell(R"sh(
cli=$1; work=$4; helper=$5
chmod 755 "$work"
for copy in capable plain; do
  mkdir -p "$work/$copy"
  cp "$cli" "$work/$copy/vantrell"
  cp "$helper" "$work/$copy/vantrell-netd"
  chmod 755 "$work/$copy" "$work/$copy/vantrell" "$work/$copy/vantrell-netd"
done
setcap cap_net_admin+ep "$work/capable/vantrell-netd" || { echo "setcap failed"; exit 1; }
as_nobody() {
  setpriv --reuid=65534 --regid=65534 --clear-groups --inh-caps=-all "$@"
}
as_nobody sh -c 'grep CapEff /proc/self/status'
as_nobody "$work/capable/vantrell" --quiet --password far-pw unlock 02:56:70:00:00:01
echo "capable helper: $?"
as_nobody "$work/plain/vantrell" --password far-pw unlock 02:56:70:00:00:01 2>"$work/plain.err"
echo "plain helper: $?"
grep -c "The network helper $work/plain/vantrell-netd is missing or lacks the CAP_NET_ADMIN" "$work/plain.err"
# Without its details (no bracket, no reply) the device's protection is unknown.
grep -c "02:56:70:00:00:01 is not password protected" "$work/plain.err"
)sh");
  EXPECT_EQ(out,
            "CapEff:\t0000000000000000\n"
            "02:56:70:00:00:01\tOK..\n"
            "capable helper: 0\n"
            "plain helper: 2\n"
            "1\n"
            "1\n");
  EXPECT_EQ(OurEntries(), "");
}

}  // namespace
}  // namespace vantrell::lab
