#pragma once
/// The pieces every configuration file writer shares: a text sink that ends
/// lines with CR LF as the files have always been written, value lines
/// (key, TABs, value), the header with the model line, the end line, and
/// the text forms of values (decimal, hexadecimal flags, dotted addresses,
/// percentages, durations and texts that stay on their line).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/ipv4.h"

namespace vantrell {

/// First line of every configuration file.
inline constexpr std::string_view kConfigFileHeaderLine = "[Meshvault Server Configuration File]";
/// Last line of every configuration file (preceded by an empty line).
inline constexpr std::string_view kConfigFileEndLine = "# ----------End of File----------";
/// Key of the model line, the third line of every file.
inline constexpr std::string_view kModelNameKey = "ModelName";

/// Examples shown on the example lines of the e-mail warning legends.
inline constexpr std::string_view kExampleMailServer = "mail.example.com";
inline constexpr std::string_view kExampleEmailAddress = "operator@example.com";

/// How a value line ends: the line end alone, or followed by an empty line.
enum class LineEnd { kLine, kLineAndBlank };

/// Appends the text of a configuration file to a string. Everything written
/// goes through here, so every line end comes out as CR LF.
class ConfigTextWriter {
 public:
  explicit ConfigTextWriter(std::string& out) : out_(out) {}

  /// Appends `text`, turning every "\n" into CR LF.
  void Write(std::string_view text);
  /// Appends several pieces in order.
  void Write(std::initializer_list<std::string_view> pieces);
  /// "key", `tabs` TABs, `value`, the line end, and an empty line after it
  /// for LineEnd::kLineAndBlank. `value` is written as given.
  void ValueLine(std::string_view key, int tabs, std::string_view value,
                 LineEnd end = LineEnd::kLineAndBlank);

  const std::string& text() const { return out_; }

 private:
  std::string& out_;
};

/// The header line, "# Model Name" and the model line.
void WriteFileHeader(ConfigTextWriter& file, std::string_view modelName);
/// An empty line and the end line.
void WriteEndLine(ConfigTextWriter& file);

/// The model name written on the model line: the model table's name of
/// `modelId`, or an empty text for an ID the table does not know.
std::string_view ExportModelName(std::uint16_t modelId);

/// "%d": the value as a signed 32-bit number, as C formats it.
std::string FormatDecimal(std::uint32_t value);
/// "%x": lower-case hexadecimal without prefix.
std::string FormatHex(std::uint32_t value);
/// "%d%%": a percentage, "75%".
std::string FormatPercent(std::uint32_t value);
/// "%d sec": a duration, "30 sec".
std::string FormatSeconds(std::uint32_t value);
/// "%dsec.": a spanning-tree time, "2sec.".
std::string FormatSecondsDot(std::uint32_t value);
/// Dotted decimal of an address in network byte order.
std::string FormatAddress(Ipv4 address);
/// A text value. Line breaks (CR, LF) become blanks, so a value always
/// stays on its own line and can never add lines of its own to the file.
std::string FormatText(std::string_view text);

}  // namespace vantrell
