#include "config/file_lookup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace vantrell {
namespace {

using namespace std::string_literals;

TEST(LineParts, KeyTokenAndTextValue) {
  const std::string line = "ServerName \t My  Switch  \t\r\n";
  EXPECT_EQ(LineKey(line), "ServerName");
  EXPECT_EQ(LineTokenValue(line), "My");
  EXPECT_EQ(LineTextValue(line), "My  Switch");
  EXPECT_EQ(LineKey("  Key\tv\n"), "Key");
  EXPECT_EQ(LineTokenValue("  Key\tv\n"), "v");
}

TEST(LineParts, KeyAloneHasTheEmptyValue) {
  EXPECT_EQ(LineTokenValue("Netmask\t\t\n"), "");
  EXPECT_EQ(LineTextValue("Netmask\t\t\n"), "");
  EXPECT_EQ(LineTextValue("Netmask"), "");
  EXPECT_EQ(LineKey("   \t\n"), "");
}

TEST(LineParts, OnlyBlanksAndTabsAfterTheKeyAreSkipped) {
  // A vertical tab after the key is part of the value's start; trailing
  // control characters are removed.
  EXPECT_EQ(LineTextValue("Key \v x\x01\x1f \n"), "\v x");
}

TEST(LineParts, BytesFrom128AreNotTrimmed) {
  EXPECT_EQ(LineTextValue("Location Gen\xe8ve\xe9 \n"), "Gen\xe8ve\xe9");
}

TEST(LineParts, ANulByteEndsThePiece) {
  EXPECT_EQ(LineTextValue("Key abc\0def\n"s), "abc");
  EXPECT_EQ(LineKey("\0Key abc\n"s), "");
  EXPECT_FALSE(IsCommentLine("\0#x"s));
  // In the key, in the blanks after it, at the value's start.
  EXPECT_EQ(LineKey("Ke\0y v\n"s), "Ke");
  EXPECT_EQ(LineTokenValue("Ke\0y v\n"s), "");
  EXPECT_EQ(LineTextValue("Ke\0y v\n"s), "");
  EXPECT_EQ(LineTokenValue("Key \0abc\n"s), "");
  EXPECT_EQ(LineTextValue("Key \t\0abc\n"s), "");
  EXPECT_EQ(LineTokenValue("Key ab\0c d\n"s), "ab");
}

TEST(LineParts, CommentOnlyWhenHashIsTheFirstCharacter) {
  EXPECT_TRUE(IsCommentLine("# [Server Name]\n"));
  EXPECT_TRUE(IsCommentLine("#ServerName x\n"));
  EXPECT_FALSE(IsCommentLine(" # ServerName x\n"));
  EXPECT_EQ(LineKey(" # ServerName x\n"), "#");
}

TEST(NormalizeLineEnds, CrLfBecomesLfAndLoneCrStays) {
  EXPECT_EQ(NormalizeLineEnds("a\r\nb\rc\r\r\n\n"), "a\nb\rc\r\n\n");
  EXPECT_EQ(NormalizeLineEnds("\r\n\r\n"), "\n\n");
  EXPECT_EQ(NormalizeLineEnds("x\r"), "x\r");
  EXPECT_EQ(NormalizeLineEnds("no line end"), "no line end");
  EXPECT_EQ(NormalizeLineEnds(""), "");
}

TEST(ConfigFileLookup, FindsTheCatalogueKey) {
  ConfigFileLookup file(
      "[Meshvault Server Configuration File]\n# Model Name\nModelName\tORV-D8\n"
      "# [Server Name]\nServerName\tWorkshop  North  \n\nIPAddress\t192.168.1.10\n");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_NAME"), "Workshop  North");
  EXPECT_EQ(file.findValueTextShort("D_CONF_ETH_NAME"), "Workshop  North");
  EXPECT_EQ(file.findValueToken("D_CONF_ETH_NAME"), "Workshop");
  EXPECT_EQ(file.findValueToken("D_CONF_ETH_IPADDR"), "192.168.1.10");
}

TEST(ConfigFileLookup, AbsentKeyAndUnknownNameGiveDonothing) {
  ConfigFileLookup file("ServerName\tx\n");
  EXPECT_EQ(file.findValueToken("D_CONF_ETH_IPADDR"), "donothing");
  EXPECT_EQ(file.findValueText("D_CONF_NO_SUCH_NAME"), "donothing");
  EXPECT_EQ(file.findNextValueText("D_CONF_ETH_IPADDR"), "donothing");
  EXPECT_TRUE(IsNotFound(file.findValueTextShort("D_CONF_ETH_SYSDESCR")));
}

TEST(ConfigFileLookup, LiteralDonothingReadsAsAbsent) {
  ConfigFileLookup file("ServerName\tdonothing\n");
  EXPECT_TRUE(IsNotFound(file.findValueText("D_CONF_ETH_NAME")));
}

TEST(ConfigFileLookup, FirstLineWins) {
  ConfigFileLookup file("Contact\tfirst\nContact\tsecond\n");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_CONTACT"), "first");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_CONTACTA8"), "first");
}

TEST(ConfigFileLookup, CommentLinesCarryNoValue) {
  ConfigFileLookup file("#Contact\tcommented\n # Contact\tblank-hash\nContact\treal\n");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_CONTACT"), "real");
}

TEST(ConfigFileLookup, KeysAreComparedExactly) {
  ConfigFileLookup file("DNSIP1\t10.0.0.2\ndnsip\t10.0.0.3\nDNSIP\t10.0.0.1\n");
  EXPECT_EQ(file.findValueToken("D_CONF_ETH_DNSSIP"), "10.0.0.1");
  EXPECT_EQ(file.findValueToken("D_CONF_ETH_DNSSIP1"), "10.0.0.2");
}

// A 400-character comment line arrives as pieces of 329 (330 buffer) or
// 199 (200 buffer) characters; a piece that does not start with '#' is a
// key line of its own.
TEST(ConfigFileLookup, LongCommentLineIsReadInPiecesPerBufferSize) {
  const std::string comment =
      "#" + std::string(328, 'a') + "ServerName fromPiece tail" + std::string(46, 'z') + "\n";
  ASSERT_EQ(comment.size(), 401u);
  ConfigFileLookup file(comment + "ServerName real\n");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_NAME"), "fromPiece tail" + std::string(46, 'z'));
  EXPECT_EQ(file.findValueToken("D_CONF_ETH_NAME"), "fromPiece");
  EXPECT_EQ(file.findValueTextShort("D_CONF_ETH_NAME"), "real");
}

TEST(ConfigFileLookup, LongValueIsCutAtTheBuffer) {
  ConfigFileLookup file("ServerName " + std::string(400, 'b') + "\n");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_NAME"), std::string(329 - 11, 'b'));
  EXPECT_EQ(file.findValueTextShort("D_CONF_ETH_NAME"), std::string(199 - 11, 'b'));
}

TEST(ConfigFileLookup, LineEndThatDoesNotFitIsAPieceOfItsOwn) {
  // 329 characters fill the first piece; "Contact\n" is the next piece.
  const std::string line = "ServerName " + std::string(318, 'c') + "Contact\n";
  ConfigFileLookup file(line + "SysDescr\td\n");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_CONTACT"), "");
  EXPECT_EQ(file.findValueTextShort("D_CONF_ETH_CONTACT"), "donothing");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_SYSDESCR"), "d");
}

TEST(ConfigFileLookup, NextValueContinuesAfterThePreviousMatch) {
  ConfigFileLookup file(
      "IGMPSNOOP\t1 0 1 1,2\n# IGMPSNOOP\tcomment\nMMAC\tx\nIGMPSNOOP\t2 1 0 3\n"
      "IGMPSNOOP\t3 0 0 \n");
  EXPECT_EQ(file.findValueText("D_CONF_IGMPSNOOP_ENTRY"), "1 0 1 1,2");
  EXPECT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "2 1 0 3");
  EXPECT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "3 0 0");
  EXPECT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "donothing");
  EXPECT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "donothing");
  EXPECT_EQ(file.findValueText("D_CONF_IGMPSNOOP_ENTRY"), "1 0 1 1,2");
  // A rewinding lookup of another key moves the position too.
  EXPECT_EQ(file.findValueText("D_CONF_MULTICAST_ADDR"), "x");
  EXPECT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "2 1 0 3");
}

TEST(ConfigFileLookup, NextValueStartsInsideALongLineAfterALongPiece) {
  // The 330-buffer lookup ends inside the line; the 200-buffer continuation
  // reads the rest of that line as a piece of its own.
  const std::string line = "IGMPSNOOP " + std::string(319, 'x') + "IGMPSNOOP tail\n";
  ConfigFileLookup file(line);
  EXPECT_EQ(file.findValueText("D_CONF_IGMPSNOOP_ENTRY"), std::string(319, 'x'));
  EXPECT_EQ(file.Position(), 329u);
  EXPECT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "tail");
  EXPECT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "donothing");
  EXPECT_EQ(file.Position(), line.size());
}

TEST(ConfigFileLookup, LfAndCrLfGiveTheSameResults) {
  const std::string lf = "# c\nServerName\tA b  \nIGMPSNOOP\t1\nIGMPSNOOP\t2\nLocation\t" +
                         std::string(350, 'L') + "\nNetmask\t\t\n";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? "\r\n" : std::string(1, c);
  ConfigFileLookup a(lf);
  ConfigFileLookup b(crlf);
  for (const char* name : {"D_CONF_ETH_NAME", "D_CONF_ETH_LOCATION", "D_CONF_ETH_IPMASK"}) {
    EXPECT_EQ(a.findValueText(name), b.findValueText(name)) << name;
    EXPECT_EQ(a.findValueTextShort(name), b.findValueTextShort(name)) << name;
    EXPECT_EQ(a.findValueToken(name), b.findValueToken(name)) << name;
  }
  EXPECT_EQ(b.findValueText("D_CONF_ETH_NAME"), "A b");
  EXPECT_EQ(b.findValueText("D_CONF_ETH_IPMASK"), "");
  EXPECT_EQ(a.findValueText("D_CONF_IGMPSNOOP_ENTRY"), b.findValueText("D_CONF_IGMPSNOOP_ENTRY"));
  EXPECT_EQ(a.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "2");
  EXPECT_EQ(b.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"), "2");
}

TEST(ConfigFileLookup, TrailingCarriageReturnIsNoPartOfTheValue) {
  ConfigFileLookup file("ServerName\tabc\r");
  EXPECT_EQ(file.findValueText("D_CONF_ETH_NAME"), "abc");
  EXPECT_EQ(file.findValueToken("D_CONF_ETH_NAME"), "abc");
}

TEST(ConfigFileLookup, LineNumberAtCountsTheLineEndsBefore) {
  ConfigFileLookup file("a\nbc\n\nd");
  const int expected[] = {1, 1, 2, 2, 2, 3, 4};
  for (std::size_t offset = 0; offset < 7; ++offset) {
    EXPECT_EQ(file.LineNumberAt(offset), expected[offset]) << offset;  // counted
  }
  EXPECT_TRUE(IsNotFound(file.findValueText("D_CONF_ETH_NAME")));  // builds the line index
  for (std::size_t offset = 0; offset < 7; ++offset) {
    EXPECT_EQ(file.LineNumberAt(offset), expected[offset]) << offset;  // searched
  }
  EXPECT_EQ(file.LineNumberAt(7), 4);  // at or past the end: the last line
  EXPECT_EQ(file.LineNumberAt(1000), 4);
  ConfigFileLookup crlf("a\r\nb\r\n");  // read as "a\nb\n"
  crlf.findValueText("D_CONF_ETH_NAME");
  EXPECT_EQ(crlf.LineNumberAt(2), 2);
  EXPECT_EQ(crlf.LineNumberAt(3), 2);  // the final LF stands on line 2
  EXPECT_EQ(crlf.LineNumberAt(4), 2);
  ConfigFileLookup empty("");
  EXPECT_EQ(empty.LineNumberAt(0), 1);
  EXPECT_EQ(empty.LineNumberAt(5), 1);
}

TEST(ConfigFileLookup, ReadLinePieceIsTheLineReader) {
  ConfigFileLookup file("abcdef\ngh\n\nij");
  EXPECT_EQ(file.ReadLinePiece(4), "abc");
  EXPECT_EQ(file.ReadLinePiece(4), "def");
  EXPECT_EQ(file.ReadLinePiece(4), "\n");
  EXPECT_EQ(file.ReadLinePiece(4), "gh\n");
  EXPECT_EQ(file.ReadLinePiece(4), "\n");
  EXPECT_EQ(file.ReadLinePiece(4), "ij");
  EXPECT_EQ(file.ReadLinePiece(4), std::nullopt);
  file.Seek(1000);
  EXPECT_EQ(file.Position(), 13u);
  file.Rewind();
  EXPECT_EQ(file.ReadLinePiece(kSequentialLineBuffer), "abcdef\n");
  EXPECT_EQ(file.ReadLinePiece(1), std::nullopt);
}

// ---- The index against the C line reader ----

/// The lookup as the C library does it: fgets into a buffer, sscanf for
/// the key, on a stream over the LF text.
class CReference {
 public:
  explicit CReference(const std::string& text) : text_(text) {
    stream_ = fmemopen(text_.data(), text_.size(), "r");
  }
  ~CReference() {
    if (stream_) std::fclose(stream_);
  }
  CReference(const CReference&) = delete;
  CReference& operator=(const CReference&) = delete;

  std::string Lookup(const std::string& key, bool token, int bufferSize, bool rewind) {
    if (!stream_) return text_.empty() ? "donothing" : "<no stream>";
    if (rewind) std::rewind(stream_);
    std::vector<char> buf(static_cast<std::size_t>(bufferSize));
    std::vector<char> first(1024);
    std::vector<char> second(1024);
    while (std::fgets(buf.data(), bufferSize, stream_)) {
      if (buf[0] == '#') continue;
      int keyEnd = 0;
      if (std::sscanf(buf.data(), " %1000s%n", first.data(), &keyEnd) < 1) continue;
      if (key != first.data()) continue;
      if (token) {
        if (std::sscanf(buf.data() + keyEnd, " %1000s", second.data()) < 1) return "";
        return second.data();
      }
      const char* p = buf.data() + keyEnd;
      while (*p == ' ' || *p == '\t') ++p;
      std::string value(p);
      while (!value.empty() && static_cast<unsigned char>(value.back()) <= ' ') value.pop_back();
      return value;
    }
    return "donothing";
  }

 private:
  std::string text_;
  std::FILE* stream_ = nullptr;
};

std::string RandomFile(std::mt19937& rng) {
  static const std::vector<std::string> kWords = {"Contact", "IGMPSNOOP", "# Contact", "#",    " ",
                                                  "\t",      "\n",        "\n",        "\r\n", "\r",
                                                  "v1",      "v 2",       "\0"s,       "\v",   "a"};
  std::string text;
  const int words = static_cast<int>(rng() % 60);
  for (int i = 0; i < words; ++i) {
    if (rng() % 8 == 0) {
      text += std::string(rng() % 420, static_cast<char>('k' + rng() % 3));
    } else {
      text += kWords[rng() % kWords.size()];
    }
  }
  return text;
}

TEST(ConfigFileLookup, ManyLongLinesAnswerAsTheCLineReaderDoes) {
  // Forty lines too long for the short buffer, each with a key in its
  // second piece, and whole lines between them: beyond a few long lines a
  // buffer takes an index of its own, with the same answers.
  for (const int longLines : {3, 40}) {
    std::string text;
    for (int i = 0; i < longLines; ++i) {
      text += "Contact " + std::string(191, 'a') + "IGMPSNOOP p" + std::to_string(i) + "\n";
      text += "IGMPSNOOP w" + std::to_string(i) + "\n";
    }
    ConfigFileLookup file(text);
    CReference reference(text);
    EXPECT_EQ(file.findValueTextShort("D_CONF_IGMPSNOOP_ENTRY"), "p0");
    EXPECT_EQ(reference.Lookup("IGMPSNOOP", false, 200, true), "p0");
    for (int step = 0; step < 2 * longLines + 1; ++step) {
      ASSERT_EQ(file.findNextValueText("D_CONF_IGMPSNOOP_ENTRY"),
                reference.Lookup("IGMPSNOOP", false, 200, false))
          << longLines << " " << step;
    }
    EXPECT_EQ(file.findValueText("D_CONF_IGMPSNOOP_ENTRY"), "w0");
    EXPECT_EQ(file.findValueText("D_CONF_ETH_CONTACT"), std::string(191, 'a') + "IGMPSNOOP p0");
    EXPECT_EQ(file.findValueTextShort("D_CONF_ETH_CONTACT"), std::string(191, 'a'));
  }
}

TEST(ConfigFileLookup, IndexAnswersAsTheCLineReaderDoes) {
  std::mt19937 rng(20240517);
  int found = 0;
  int foundInsideALine = 0;
  for (int round = 0; round < 600; ++round) {
    const std::string raw = RandomFile(rng);
    ConfigFileLookup file(raw);
    CReference reference(NormalizeLineEnds(raw));
    for (int step = 0; step < 12; ++step) {
      const bool contact = rng() % 2 == 0;
      const std::string name = contact ? "D_CONF_ETH_CONTACT" : "D_CONF_IGMPSNOOP_ENTRY";
      const std::string key = contact ? "Contact" : "IGMPSNOOP";
      std::string mine;
      std::string theirs;
      switch (rng() % 4) {
        case 0:
          mine = file.findValueToken(name);
          theirs = reference.Lookup(key, true, 330, true);
          break;
        case 1:
          mine = file.findValueText(name);
          theirs = reference.Lookup(key, false, 330, true);
          break;
        case 2:
          mine = file.findValueTextShort(name);
          theirs = reference.Lookup(key, false, 200, true);
          break;
        default:
          mine = file.findNextValueText(name);
          theirs = reference.Lookup(key, false, 200, false);
          break;
      }
      ASSERT_EQ(mine, theirs) << "round " << round << " step " << step;
      if (!IsNotFound(mine)) ++found;
      const std::size_t at = file.Position();
      if (at > 0 && at < file.Text().size() && file.Text()[at - 1] != '\n') ++foundInsideALine;
    }
  }
  // The rounds reach the interesting cases, not only absent keys.
  EXPECT_GT(found, 800);
  EXPECT_GT(foundInsideALine, 100);
}

}  // namespace
}  // namespace vantrell
