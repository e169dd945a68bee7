#include "common/numeric_field.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

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
}

// A number beyond the double range is the largest double of its sign, so that
// every bound refuses or clamps it like any other huge value; one below the
// smallest double is 0.
TEST(NumericField, BeyondTheDoubleRangeIsTheLargestDouble) {
  const double largest = std::numeric_limits<double>::max();
  const std::string digits308(308, '9');
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"1e999", largest},
      {"-1e999", -largest},
      {std::string(309, '9'), largest},  // 309 digits
      {"-2" + std::string(308, '0') + ".5", -largest},
      {std::string(400, '9'), largest},
      {"0.000001e315", largest},
      {"1e99999999999999999999999", largest},
      {"1e-999", 0.0},
      {"-1e-999", 0.0},
      {"0." + std::string(400, '0') + "1", 0.0},
      {"0e999", 0.0},
      {"0." + std::string(400, '0'), 0.0},
      {"1000e-320", 1e-317},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text.substr(0, 40);
  }
  // 308 digits still fit.
  EXPECT_DOUBLE_EQ(LeadingNumber(digits308), 1e308);
}

}  // namespace
}  // namespace qp
