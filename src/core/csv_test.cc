#include "core/csv.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

TEST(CsvWrite, QuotesOnlyFieldsThatNeedIt) {
  EXPECT_EQ(CsvField("ORV-8TX"), "ORV-8TX");
  EXPECT_EQ(CsvField("Hall 3, bay 2"), "\"Hall 3, bay 2\"");
  EXPECT_EQ(CsvField("the \"east\" rack"), "\"the \"\"east\"\" rack\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvLine({"a", "", "b,c"}), "a,,\"b,c\"\r\n");
}

TEST(CsvRead, RecordsWithTheirLinesAndQuotedFields) {
  std::string error;
  const auto records =
      ParseCsv("mac,ip\r\n00:11:22:33:44:55,10.0.0.1\n\n\"a,\"\"b\"\"\nc\",x\nlast", error);
  ASSERT_TRUE(records) << error;
  ASSERT_EQ(records->size(), 4u);
  EXPECT_EQ((*records)[0].line, 1u);
  EXPECT_EQ((*records)[1].fields, (std::vector<std::string>{"00:11:22:33:44:55", "10.0.0.1"}));
  EXPECT_EQ((*records)[2].line, 4u);
  EXPECT_EQ((*records)[2].fields, (std::vector<std::string>{"a,\"b\"\nc", "x"}));
  EXPECT_EQ((*records)[3].line, 6u);
  EXPECT_EQ((*records)[3].fields, (std::vector<std::string>{"last"}));
  // What the writer writes, the reader reads back.
  const auto back = ParseCsv(CsvLine({"x\"y", "1,2", ""}), error);
  ASSERT_TRUE(back);
  EXPECT_EQ((*back)[0].fields, (std::vector<std::string>{"x\"y", "1,2", ""}));
}

TEST(CsvRead, MalformedQuotesNameTheirLine) {
  std::string error;
  EXPECT_FALSE(ParseCsv("a,b\n\"open,c\n", error));
  EXPECT_EQ(error, "2: a quote is not closed");
  EXPECT_FALSE(ParseCsv("a\n\"x\"y,z\n", error));
  EXPECT_EQ(error, "2: text after a closing quote");
}

TEST(CsvRead, HeaderColumnsIgnoreCaseAndBlanks) {
  const CsvRecord header{1, {"Password", " MAC ", "user"}};
  EXPECT_EQ(CsvColumn(header, "mac"), 1u);
  EXPECT_EQ(CsvColumn(header, "password"), 0u);
  EXPECT_FALSE(CsvColumn(header, "ip"));
}

}  // namespace
}  // namespace vantrell
