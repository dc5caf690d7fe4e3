#pragma once
/// The pieces of file text that both A8/R8 files (GenA1 and GenA2) share:
/// time zone names, the rate legend, ToS group lines, port lists, the list
/// section markers, the fibre uplink models and dashed MAC addresses.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/file_writer.h"
#include "config/generation.h"

namespace vantrell {

/// Time zone names by value 0..62, with the spellings the devices show.
extern const std::array<std::string_view, 63> kTimeZoneNames;
/// The 63 lines "# \t--> %-2d : %s\n".
void WriteTimeZoneLines(ConfigTextWriter& file);
/// The eight lines of the rate legend ("NL" to "8M").
void WriteRateLegend(ConfigTextWriter& file);

/// The comment line of ToS group g (1..16), "#[ToS1(0x00)|...|ToS4(0x0C)]\n"
/// (group 12 with its historical "Bx04").
std::string TosGroupComment(int group);
/// The 16 ToS groups: comment line, then "<key> v1|v2|v3|v4\n\n" with the
/// keys of D_CONF_TOSMAP_1_4 ... D_CONF_TOSMAP_61_64 and the values that
/// `entry(k)` gives for k = 1..64 (an entry it cannot give is written
/// empty).
void WriteTosGroups(ConfigTextWriter& file,
                    const std::function<std::optional<std::uint32_t>(int)>& entry);

/// Members of `mask` (bit i = member i + 1, i < `members`) in ascending
/// order: "%d" for the first, ",%d" for each further one.
std::string FormatPortList(std::uint32_t mask, int members);
/// Parses a port list: comma-separated decimal numbers 1..`maxPort`, a
/// trailing comma allowed, the empty list meaning no port. Any other element
/// makes the whole list unusable (nothing). Bit i of the result is port i+1.
std::optional<std::uint32_t> ParsePortList(std::string_view text, int maxPort);

inline constexpr std::string_view kBeginOfListLine = "# begin-of-list\n";
inline constexpr std::string_view kEndOfListLine = "# end-of-list\n";

/// True for the models whose ports 7 and 8 are fibre uplinks: their
/// speed-dependent port settings are written with empty values (GenA1: the
/// twelve models 0x0518 ... 0x05D8; GenA2 the same less 0x05C8 and 0x05D8).
bool IsFibreUplinkModel(Generation generation, std::uint16_t modelId);

/// "%02X-%02X-%02X-%02X-%02X-%02X".
std::string FormatMacDashed(std::span<const std::uint8_t, 6> mac);
/// Parses exactly 17 characters "XX-XX-XX-XX-XX-XX" (hexadecimal digits of
/// either case); nothing otherwise.
std::optional<std::array<std::uint8_t, 6>> ParseMacDashed(std::string_view text);

}  // namespace vantrell
