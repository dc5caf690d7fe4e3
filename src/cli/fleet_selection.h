#pragma once
/// The options that pick many devices at once, beside the devices a command
/// names: `--all` (every device the search found), `--model GLOB`,
/// `--subnet CIDR` and `--from FILE` (a list of devices: one MAC or address
/// per line, or a CSV file with a `mac` or `ip` column).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "core/device_record.h"
#include "core/ipv4_subnet.h"

namespace vantrell {

struct FleetSelection {
  bool all = false;
  std::optional<std::string> modelGlob;
  std::optional<Ipv4Subnet> subnet;
  /// The devices --from names, in the file's order.
  std::vector<std::string> fromNames;
  bool hasFrom = false;

  /// --all, --model or --subnet: devices are picked from the whole search.
  bool Filters() const { return all || modelGlob || subnet; }
  /// Any of the four options.
  bool Active() const { return Filters() || hasFrom; }
  /// True for a device that every given filter admits (--model and
  /// --subnet together: both).
  bool Admits(const DeviceRecord& record) const;
};

/// The selection options of `options`, the --from file read and checked.
/// Nothing, with the refusal text in `error`, for an invalid --subnet or a
/// --from file that cannot be read or holds a bad row ("FILE:LINE: ...").
std::optional<FleetSelection> ParseFleetSelection(const CliOptions& options, std::string& error);

/// The device names of a --from file's text: one MAC or IPv4 address per
/// line (blank lines and lines starting with '#' skipped), or CSV whose
/// header (line 1) has a `mac` or an `ip` column (the MAC wins where a row
/// has both). Nothing, with "FILE:LINE: reason" in `error`, for a row that
/// names no device or a header without either column.
std::optional<std::vector<std::string>> DeviceNamesOfList(std::string_view path,
                                                          std::string_view text,
                                                          std::string& error);

/// True for --all, --model, --subnet and --from.
bool IsFleetOption(std::string_view name);

/// True when `text` is a MAC address or a dotted IPv4 address.
bool IsDeviceName(std::string_view text);

}  // namespace vantrell
