#pragma once
/// The value helpers that every configuration file writer and reader
/// shares: accepted number ranges, the constant names of numbered items
/// ("D_CONF_ETH_PCFG_DISABLE3"), the lookups' not-found marker as an
/// optional, and the strict text forms of addresses and MAC addresses as
/// the files spell them. Each rule has its own name: where two readers
/// test a value differently, they call two different functions here.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/device_record.h"
#include "core/ipv4.h"

namespace vantrell {

/// An accepted range of numbers, both ends included.
struct Range {
  std::int64_t low;
  std::int64_t high;
  constexpr bool Contains(std::int64_t value) const { return value >= low && value <= high; }
};

/// Every 32-bit value, signed or not: a number taken as given (the
/// accessor keeps what its field can hold).
inline constexpr Range kUnrestricted{std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::uint32_t>::max()};
/// An enable switch.
inline constexpr Range kFlagRange{0, 1};

/// The constant name of a numbered item: prefix, number, suffix, as
/// "D_CONF_ETH_PCFG_DISABLE" 3 -> "D_CONF_ETH_PCFG_DISABLE3" or
/// "D_CONF_ETH_SPAN_PORT" 3 "_EN" -> "D_CONF_ETH_SPAN_PORT3_EN".
std::string NumberedName(std::string_view prefix, int number, std::string_view suffix = {});

/// A lookup's value, or nothing for the not-found marker ("donothing").
std::optional<std::string> FoundValue(std::string value);

/// Strict dotted decimal: exactly four fields of one to three digits,
/// each 0..255, three dots and nothing else ("010.1.1.1" is taken).
std::optional<Ipv4> ParseDottedAddress(std::string_view text);

/// First octet 224..239.
bool IsMulticastAddress(Ipv4 address);

/// A MAC address as the files write it: "XX-XX-XX-XX-XX-XX", 17
/// characters, hexadecimal digits in either case, dashes only (the
/// colon form that the device list accepts is refused here).
std::optional<MacAddress> ParseDashedMac(std::string_view text);

/// The parts of "a,b,c" between the separators; empty parts are skipped.
std::vector<std::string_view> SplitList(std::string_view list, char separator = ',');

/// The white-space-delimited fields of a value (C isspace), at most `most`.
std::vector<std::string_view> SplitFields(
    std::string_view text, std::size_t most = std::numeric_limits<std::size_t>::max());

/// The 1-based line of `text` on which the character at `offset` stands
/// (LF ends a line); the last line for an offset at or past the end.
int LineNumberAt(std::string_view text, std::size_t offset);

}  // namespace vantrell
