#include "core/device_text.h"

namespace vantrell {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

/// The length of the valid UTF-8 sequence at `text[i]` (1 for ASCII), or 0
/// when the byte does not start one; `codePoint` gets its value.
std::size_t Utf8Sequence(std::string_view text, std::size_t i, char32_t& codePoint) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if (!IsContinuation(byte(k))) return 0;
    codePoint = (codePoint << 6) | (byte(k) & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < minimum || codePoint > 0x10FFFF || surrogate) return 0;
  return length;
}

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

}  // namespace

std::string PrintableText(std::string_view text, std::string_view kept) {
  std::string printable;
  printable.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    std::size_t length = Utf8Sequence(text, i, c);
    if (length == 0) {  // a lone byte: its value is the character
      c = static_cast<unsigned char>(text[i]);
      length = 1;
    }
    if (IsControl(c) && (c > 0x7F || kept.find(static_cast<char>(c)) == std::string_view::npos)) {
      printable += ' ';
    } else {
      printable.append(text.substr(i, length));
    }
    i += length;
  }
  return printable;
}

std::string JsonText(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const std::size_t length = Utf8Sequence(text, i, c);
    if (length != 0) {
      utf8.append(text.substr(i, length));
      i += length;
      continue;
    }
    const auto latin1 = static_cast<unsigned char>(text[i++]);
    utf8 += static_cast<char>(0xC0 | (latin1 >> 6));
    utf8 += static_cast<char>(0x80 | (latin1 & 0x3F));
  }
  return utf8;
}

}  // namespace vantrell
