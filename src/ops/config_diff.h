#pragma once
/// The comparison of two configuration files setting by setting, as an
/// operator reads them: comments, blank lines, the header line and the
/// order of the lines do not count. A key that occurs several times (the
/// list tables: UMAC, MMAC, IGMPSNOOP...) is compared as a multiset of its
/// values. The address settings come last and are marked, since two
/// devices are expected to differ there.

#include <string>
#include <string_view>
#include <vector>

namespace vantrell {

/// One setting that differs. For a key that occurs once on each side, `a`
/// and `b` are its two values; for a repeated key, each value found only on
/// one side is a difference of its own, with the other side empty.
struct ConfigDifference {
  std::string key;
  std::string a;
  std::string b;
  bool address = false;  ///< an address setting (IP address, mask, DHCP...)

  bool operator==(const ConfigDifference&) const = default;
};

/// True for the file keys of the address settings: those of
/// D_CONF_ETH_IPADDR, IPMASK, GATEWAY, DNSSIP, DNSSIP1, FLAG_DHCP,
/// FLAG_AUTOIP and the modular model's IP configuration mode.
bool IsAddressSettingKey(std::string_view key);

/// The differences between the files `a` and `b` (their bytes, LF or CR LF
/// line ends): the other settings first, in the order of their first line
/// in `a` (then in `b` for keys only `b` holds), then the address settings
/// in the same order.
std::vector<ConfigDifference> DiffConfigFiles(std::string_view a, std::string_view b);

}  // namespace vantrell
