#include "common/table_line_reader.h"

#include <gtest/gtest.h>

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
