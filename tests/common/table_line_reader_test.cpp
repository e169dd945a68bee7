#include "common/table_line_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace qp {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  TableLineReader reader(text);
  while (reader.Next()) {
    EXPECT_EQ(reader.LineNumber(), static_cast<int>(out.size()));
    out.emplace_back(reader.Line());
  }
  return out;
}

TEST(TableLineReader, BlankLineEndsTheTable) {
  EXPECT_EQ(Lines("  A,1,2\r\nB,3,4\r\n\r\n  "), (std::vector<std::string>{"A,1,2", "B,3,4"}));
  EXPECT_EQ(Lines("A,1,2\r\n\r\nB,3,4"), (std::vector<std::string>{"A,1,2"}));
  // A line of blanks is not blank: it is read (and fails as malformed later).
  EXPECT_EQ(Lines("A,1,2\r\n   \r\nB,3,4"), (std::vector<std::string>{"A,1,2", "   ", "B,3,4"}));
  EXPECT_TRUE(Lines("").empty());
  EXPECT_TRUE(Lines(" \r\n ").empty());
}

TEST(TableLineReader, StrayLineEndsStopReading) {
  EXPECT_EQ(Lines("A,1,2\rB,3,4"), (std::vector<std::string>{}));
  EXPECT_EQ(Lines("A,1,2\r\nB,3,4\nC,5,6"), (std::vector<std::string>{"A,1,2"}));
}

TEST(TableLineReader, ABlankLineWithLinesAfterItIsACut) {
  struct Case {
    const char* text;
    int line;    // -1: no cut
    int unread;
  } cases[] = {
      {"A,1,2\r\n\r\nB,3,4\r\nC,5,6", 1, 2},
      // Further blank lines and lines of blanks after the first are not counted.
      {"A\r\nB\r\n\r\n\r\nC\r\n   \r\nD\r\n\r\n", 2, 2},
      {"A,1,2\r\nB,3,4\r\n\r\n  \r\n", -1, 0},  // trailing blank lines cut nothing
      {"A,1,2\r\n   \r\nB,3,4", -1, 0},           // a line of blanks is read
      {"A,1,2\r\nB,3,4\nC,5,6", -1, 0},            // a stray LF is no blank line
      {"", -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<BlankLineCut> cut = FindBlankLineCut(c.text);
    ASSERT_EQ(cut.has_value(), c.line >= 0);
    if (!cut) continue;
    EXPECT_EQ(cut->line, c.line);
    EXPECT_EQ(cut->unread, c.unread);
    // The blank line is the first line the reader does not give.
    EXPECT_EQ(Lines(c.text).size(), static_cast<size_t>(c.line));
  }
}

TEST(SplitFields, SeparatorsAndTrimming) {
  auto f = SplitFields(" A , 1.5 ,  2 ", 3);
  ASSERT_TRUE(f);
  EXPECT_EQ(*f, (std::vector<std::string>{"A", "1.5", "2"}));
  // A field of blanks between two commas is empty, not malformed.
  f = SplitFields("A, ,5", 3);
  ASSERT_TRUE(f);
  EXPECT_EQ((*f)[1], "");
  // The last field keeps extra commas.
  f = SplitFields("A,B,100.000,1.5", 3);
  ASSERT_TRUE(f);
  EXPECT_EQ((*f)[2], "100.000,1.5");
  EXPECT_FALSE(SplitFields("A,B", 3));      // too short
  EXPECT_FALSE(SplitFields(",AB,1", 3));    // comma at position 0
  EXPECT_FALSE(SplitFields("A,,5", 3));     // empty separator position
  EXPECT_FALSE(SplitFields("AB,CD", 3));    // missing separator
}

TEST(PointName, OneToTenBytes) {
  EXPECT_FALSE(IsValidPointName(""));
  EXPECT_TRUE(IsValidPointName("A"));
  EXPECT_TRUE(IsValidPointName("0123456789"));
  EXPECT_FALSE(IsValidPointName("01234567890"));
}

}  // namespace
}  // namespace qp
