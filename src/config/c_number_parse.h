#pragma once
/// The number and address conversions that configuration files have always
/// been read with, written out so that they behave the same on every
/// platform: C `atoi`/`atol` (decimal with leading blanks, an optional sign
/// and a partial parse), `strtoul` base 16 as a "%x" scan does it, and the
/// classic `inet_aton`/`inet_addr` forms of an IPv4 address.
///
/// Every function stops at the end of the view or at the first NUL byte,
/// as the C functions stop at the end of their string. The workstation's
/// `int`, `long` and `unsigned long` are 32 bits wide; where the C library
/// leaves overflow undefined or platform-specific, these functions saturate
/// (never wrap), so an out-of-range text can never turn into a small value.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/ipv4.h"

namespace vantrell {

/// C `isspace` in the "C" locale: blank, \t, \n, \v, \f, \r.
constexpr bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/// `atoi`: skips leading white space, takes an optional '+' or '-' and the
/// decimal digits that follow; anything else ends the number; no digits
/// give 0. Values beyond the 32-bit range saturate at INT32_MAX / INT32_MIN.
std::int32_t CAtoi(std::string_view text);

/// `atol` with the workstation's 32-bit `long`: the same as CAtoi.
std::int32_t CAtol(std::string_view text);

/// A "%x" scan (`strtoul` with base 16 and a 32-bit `unsigned long`):
/// leading white space, an optional sign, an optional "0x"/"0X" prefix and
/// hexadecimal digits, read at full 32-bit width. A minus sign negates
/// modulo 2^32 ("-1" gives 0xFFFFFFFF); a magnitude beyond 32 bits gives
/// 0xFFFFFFFF. Nothing when no hexadecimal digit is found (the scan
/// matched nothing). "0x" without a following digit reads as the digit 0.
std::optional<std::uint32_t> CScanHex(std::string_view text);

/// Classic `inet_aton`: one to four parts separated by '.', each a C
/// number (decimal, octal with a leading 0, hexadecimal with 0x/0X), where
/// the last part fills the remaining bytes: "a.b.c.d", "a.b.c" (c 16 bits),
/// "a.b" (b 24 bits), "a" (32 bits). The text must start with a digit; it
/// may end at its end or at a white-space character (anything after that
/// is ignored). Octal parts with 8 or 9, parts beyond their width, more than
/// four parts, an empty part and numbers beyond 32 bits are refused.
/// The result is in network byte order (first octet in the lowest byte).
std::optional<Ipv4> CInetAton(std::string_view text);

/// Classic `inet_addr`: CInetAton, with INADDR_NONE (255.255.255.255) for a
/// text it refuses; so "255.255.255.255" and a refused text give the same.
Ipv4 CInetAddr(std::string_view text);

}  // namespace vantrell
