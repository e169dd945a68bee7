#include "exercise/matrix.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_platform.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;

TEST(MatrixInvert, RefusesWhatItCannotInvert) {
  ScriptedPlatform platform;
  double one[1] = {4.0};
  EXPECT_FALSE(MatrixInvert(one, 1, platform));
  EXPECT_TRUE(platform.messages.empty());

  double equalRows[4] = {1, 1, 1, 1};
  EXPECT_FALSE(MatrixInvert(equalRows, 2, platform));
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"矩阵求逆条件不满足 !"});

  // The last pivot, after the forward phase, is tested too.
  double singular3[9] = {1, 0, 1, 0, 1, 1, 1, 1, 2};
  EXPECT_FALSE(MatrixInvert(singular3, 3, platform));
  EXPECT_EQ(platform.messages.size(), 2u);
}

TEST(MatrixInvert, PivotsByExchangingRows) {
  ScriptedPlatform platform;
  double swap[4] = {0, 1, 1, 0};
  ASSERT_TRUE(MatrixInvert(swap, 2, platform));
  EXPECT_EQ(std::vector<double>(swap, swap + 4), (std::vector<double>{0, 1, 1, 0}));

  // A pivot of 1e-20 in the first column would ruin the result without the exchange.
  double tiny[4] = {1e-20, 1, 1, 1};
  ASSERT_TRUE(MatrixInvert(tiny, 2, platform));
  EXPECT_NEAR(tiny[0], -1.0, 1e-12);
  EXPECT_NEAR(tiny[1], 1.0, 1e-12);
  EXPECT_NEAR(tiny[2], 1.0, 1e-12);
  EXPECT_NEAR(tiny[3], 0.0, 1e-12);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(MatrixInvert, ProductWithTheOriginalIsTheIdentity) {
  ScriptedPlatform platform;
  const std::vector<double> a = {2, -1, 0, 3,  //
                                 4, 1, 5, -2,  //
                                 0, 3, 1, 1,   //
                                 -1, 2, 2, 6};
  std::vector<double> inverse = a;
  ASSERT_TRUE(MatrixInvert(inverse.data(), 4, platform));
  std::vector<double> product(16);
  ASSERT_TRUE(MatrixMultiply(4, 4, 4, a.data(), inverse.data(), product.data(), platform));
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_NEAR(product[i * 4 + j], i == j ? 1.0 : 0.0, 1e-13) << i << "," << j;
}

TEST(MatrixMultiply, MultipliesAndRefusesEmptyDimensions) {
  ScriptedPlatform platform;
  const double a[6] = {1, 2, 3, 4, 5, 6};  // 2 × 3
  const double b[3] = {1, 0, -1};          // 3 × 1
  double c[2] = {7, 7};
  ASSERT_TRUE(MatrixMultiply(2, 3, 1, a, b, c, platform));
  EXPECT_EQ(c[0], -2.0);
  EXPECT_EQ(c[1], -2.0);

  double untouched[2] = {7, 7};
  EXPECT_FALSE(MatrixMultiply(2, 0, 1, a, b, untouched, platform));
  EXPECT_FALSE(MatrixMultiply(0, 3, 1, a, b, untouched, platform));
  EXPECT_EQ(untouched[0], 7.0);
  EXPECT_EQ(untouched[1], 7.0);
  EXPECT_EQ(platform.MessagesUtf8(), (std::vector<std::string>{"矩阵相乘条件不满足 !", "矩阵相乘条件不满足 !"}));
}

TEST(MatrixTranspose, MayWriteOverItsInput) {
  double a[6] = {1, 2, 3, 4, 5, 6};  // 2 × 3
  MatrixTranspose(2, 3, a, a);
  EXPECT_EQ(std::vector<double>(a, a + 6), (std::vector<double>{1, 4, 2, 5, 3, 6}));
}

TEST(AdjustedObservationCofactor, MatchesTheSingleConditionFormula) {
  // One condition a·V = w: Q = Qll − Qll·aᵀ·a·Qll / (a·Qll·aᵀ).
  ScriptedPlatform platform;
  const double a[3] = {1, 1, -1};
  const double p[3] = {1, 2, 4};
  const double n = 1.0 / 1 + 1.0 / 2 + 1.0 / 4;
  const double ninv[1] = {1.0 / n};
  double q[9];
  AdjustedObservationCofactor(1, 3, a, ninv, p, q, platform);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const double expected = (i == j ? 1.0 / p[i] : 0.0) - (a[i] / p[i]) * (a[j] / p[j]) / n;
      EXPECT_NEAR(q[i * 3 + j], expected, 1e-15) << i << "," << j;
    }
  }
}

}  // namespace
}  // namespace qp
