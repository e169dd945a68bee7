#include "common/numeric_field.h"

#include <gtest/gtest.h>

namespace qp {
namespace {

TEST(NumericField, AcceptsDigitsWithOnePointAndOneMinusAnywhere) {
  for (const char* ok : {"", "   ", "12", "-12.5", "12.5-", " 3500.25 ", "-.5", ".", "1-2"}) {
    EXPECT_TRUE(IsNumericField(ok)) << ok;
  }
  for (const char* bad : {"+12.5", "1e5", "1.2.3", "--5", "12a", "1 2", "0x10", "inf"}) {
    EXPECT_FALSE(IsNumericField(bad)) << bad;
  }
}

TEST(NumericField, LeadingNumberTakesTheLongestDecimalPrefix) {
  EXPECT_DOUBLE_EQ(LeadingNumber("-12.5"), -12.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("12.5-"), 12.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("  +3.5abc"), 3.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("2e"), 2.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("-.5"), -0.5);
  EXPECT_EQ(LeadingNumber(""), 0.0);
  EXPECT_EQ(LeadingNumber("abc"), 0.0);
  EXPECT_EQ(LeadingNumber("-"), 0.0);
}

TEST(NumericField, NoInfiniteOrNanValue) {
  EXPECT_EQ(LeadingNumber("inf"), 0.0);
  EXPECT_EQ(LeadingNumber("nan"), 0.0);
  EXPECT_EQ(LeadingNumber("1e999"), 0.0);
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), 0.0);
}

}  // namespace
}  // namespace qp
