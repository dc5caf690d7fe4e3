#include "core/device_text.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

TEST(DeviceText, ControlCharactersBecomeBlanksOnATerminalLine) {
  // C0 (ESC, CR, BEL), DEL, C1 as UTF-8 (U+009B CSI) and as a raw byte (0x9B).
  EXPECT_EQ(PrintableText("A\x1B[2Jb\rc\x07"
                          "d\x7F"
                          "e\xC2\x9B"
                          "31mf\x9Bg"),
            "A [2Jb c d e 31mf g");
  EXPECT_EQ(PrintableText("line 1\nline 2\tcell"), "line 1 line 2 cell");
  EXPECT_EQ(PrintableText("line 1\nline 2\tcell\x1B", "\n\t"), "line 1\nline 2\tcell ");
  // Letters stay: UTF-8, and raw Latin-1 bytes above the C1 range.
  EXPECT_EQ(PrintableText("Halle \xC3\xA9 \xE2\x82\xAC Hall \xE9"),
            "Halle \xC3\xA9 \xE2\x82\xAC Hall \xE9");
  // A truncated sequence whose bytes are C1 values as raw bytes.
  EXPECT_EQ(PrintableText("x\xE2\x82"), "x\xE2 ");
}

TEST(DeviceText, JsonTextIsAlwaysValidUtf8) {
  EXPECT_EQ(JsonText("plain"), "plain");
  EXPECT_EQ(JsonText("caf\xC3\xA9 \xF0\x9F\x98\x80"), "caf\xC3\xA9 \xF0\x9F\x98\x80");
  // Lone bytes are taken as Latin-1 letters.
  EXPECT_EQ(JsonText("Hall \xE9"), "Hall \xC3\xA9");
  EXPECT_EQ(JsonText("\xFF\xFE"), "\xC3\xBF\xC3\xBE");
  // Over-long forms and surrogates are not valid UTF-8.
  EXPECT_EQ(JsonText("\xC0\xAF"), "\xC3\x80\xC2\xAF");
  EXPECT_EQ(JsonText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");
  EXPECT_EQ(JsonText(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace vantrell
