#pragma once
/// Texts that come from devices (names, locations, information texts,
/// function-group names) are data: on a terminal line they must not move
/// the cursor or change colours, and in JSON they must be valid UTF-8
/// whatever bytes the device sent.

#include <string>
#include <string_view>

namespace vantrell {

/// The text for a line on a terminal: every control character (C0, DEL and
/// C1, whether as a raw byte or UTF-8 encoded) becomes a blank, except those
/// listed in `kept` (line feeds of messages of several lines, the tabs of
/// result lines). Other bytes are kept as they are.
std::string PrintableText(std::string_view text, std::string_view kept = "");

/// The text as valid UTF-8 for JSON: valid UTF-8 sequences stay, every
/// other byte is taken as the Latin-1 letter of its value.
std::string JsonText(std::string_view text);

}  // namespace vantrell
