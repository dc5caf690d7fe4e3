#include "ops/config_diff.h"

#include <algorithm>
#include <array>
#include <map>

#include "config/config_catalogue.h"
#include "config/config_item_ids.h"
#include "config/file_lookup.h"
#include "config/gen_m1_schema.h"

namespace vantrell {
namespace {

/// The catalogue names of the address settings.
constexpr std::array<std::string_view, 7> kAddressItems = {
    "D_CONF_ETH_IPADDR",  "D_CONF_ETH_IPMASK",    "D_CONF_ETH_GATEWAY",    "D_CONF_ETH_DNSSIP",
    "D_CONF_ETH_DNSSIP1", "D_CONF_ETH_FLAG_DHCP", "D_CONF_ETH_FLAG_AUTOIP"};

/// The modular model's key of its IP configuration mode.
std::string_view ModularIpModeKey() {
  for (const gen_m1::Setting& row : gen_m1::Schema()) {
    if (row.id == item::kIpConfigMode) return row.key;
  }
  return {};
}

/// A file's settings: each key's values in file order, and the keys in the
/// order of their first line.
struct FileSettings {
  std::map<std::string, std::vector<std::string>, std::less<>> values;
  std::vector<std::string> order;
};

/// True for a line that holds no setting: a comment, a blank line or the
/// header line ("[...]").
bool HoldsNoSetting(std::string_view line, std::string_view key) {
  return key.empty() || IsCommentLine(line) || key.front() == '[';
}

FileSettings ReadSettings(std::string_view bytes) {
  const std::string text = NormalizeLineEnds(bytes);
  FileSettings settings;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    const std::string_view key = LineKey(line);
    if (HoldsNoSetting(line, key)) continue;
    auto [it, added] = settings.values.try_emplace(std::string(key));
    if (added) settings.order.push_back(it->first);
    it->second.emplace_back(LineTextValue(line));
  }
  return settings;
}

const std::vector<std::string>& ValuesOf(const FileSettings& file, const std::string& key) {
  static const std::vector<std::string> kNone;
  const auto it = file.values.find(key);
  return it == file.values.end() ? kNone : it->second;
}

/// The values of `from` that `other` does not hold as often (multiset
/// difference), in `from`'s order.
std::vector<std::string> OnlyIn(const std::vector<std::string>& from,
                                std::vector<std::string> other) {
  std::vector<std::string> only;
  for (const std::string& value : from) {
    const auto match = std::find(other.begin(), other.end(), value);
    if (match == other.end()) {
      only.push_back(value);
    } else {
      other.erase(match);
    }
  }
  return only;
}

/// Appends the differences of one key.
void DiffKey(const std::string& key, const std::vector<std::string>& a,
             const std::vector<std::string>& b, std::vector<ConfigDifference>& out) {
  const bool address = IsAddressSettingKey(key);
  if (a.size() <= 1 && b.size() <= 1) {
    const std::string valueA = a.empty() ? "" : a.front();
    const std::string valueB = b.empty() ? "" : b.front();
    if (a.size() != b.size() || valueA != valueB) out.push_back({key, valueA, valueB, address});
    return;
  }
  for (std::string& value : OnlyIn(a, b)) out.push_back({key, std::move(value), "", address});
  for (std::string& value : OnlyIn(b, a)) out.push_back({key, "", std::move(value), address});
}

}  // namespace

bool IsAddressSettingKey(std::string_view key) {
  if (key.empty()) return false;
  if (key == ModularIpModeKey()) return true;
  return std::any_of(kAddressItems.begin(), kAddressItems.end(),
                     [key](std::string_view item) { return catalogueFileKey(item) == key; });
}

std::vector<ConfigDifference> DiffConfigFiles(std::string_view a, std::string_view b) {
  const FileSettings fileA = ReadSettings(a);
  const FileSettings fileB = ReadSettings(b);
  std::vector<std::string> keys = fileA.order;
  for (const std::string& key : fileB.order) {
    if (!fileA.values.contains(key)) keys.push_back(key);
  }
  std::vector<ConfigDifference> differences;
  for (const std::string& key : keys) {
    DiffKey(key, ValuesOf(fileA, key), ValuesOf(fileB, key), differences);
  }
  std::stable_partition(differences.begin(), differences.end(),
                        [](const ConfigDifference& d) { return !d.address; });
  return differences;
}

}  // namespace vantrell
