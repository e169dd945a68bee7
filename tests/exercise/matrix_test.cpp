#include "exercise/matrix.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/gbk_text.h"

namespace qp {
namespace {

TEST(MatrixInvert, RefusesWhatItCannotInvert) {
  double one[1] = {4.0};
  EXPECT_EQ(MatrixInvert(one, 1), MatrixStatus::kTooSmall);
  EXPECT_EQ(MatrixStatusMessage(MatrixStatus::kTooSmall), "");

  double equalRows[4] = {1, 1, 1, 1};
  EXPECT_EQ(MatrixInvert(equalRows, 2), MatrixStatus::kSingular);
  EXPECT_EQ(GbkToUtf8(MatrixStatusMessage(MatrixStatus::kSingular)), "矩阵求逆条件不满足 !");

  // The last pivot, after the forward phase, is tested too.
  double singular3[9] = {1, 0, 1, 0, 1, 1, 1, 1, 2};
  EXPECT_EQ(MatrixInvert(singular3, 3), MatrixStatus::kSingular);
}

TEST(MatrixInvert, PivotsByExchangingRows) {
  double swap[4] = {0, 1, 1, 0};
  ASSERT_EQ(MatrixInvert(swap, 2), MatrixStatus::kDone);
  EXPECT_EQ(std::vector<double>(swap, swap + 4), (std::vector<double>{0, 1, 1, 0}));

  // A pivot of 1e-20 in the first column would ruin the result without the exchange.
  double tiny[4] = {1e-20, 1, 1, 1};
  ASSERT_EQ(MatrixInvert(tiny, 2), MatrixStatus::kDone);
  EXPECT_NEAR(tiny[0], -1.0, 1e-12);
  EXPECT_NEAR(tiny[1], 1.0, 1e-12);
  EXPECT_NEAR(tiny[2], 1.0, 1e-12);
  EXPECT_NEAR(tiny[3], 0.0, 1e-12);
}

TEST(MatrixMultiply, MultipliesAndRefusesEmptyDimensions) {
  const double a[6] = {1, 2, 3, 4, 5, 6};  // 2 × 3
  const double b[3] = {1, 0, -1};          // 3 × 1
  double c[2] = {7, 7};
  ASSERT_EQ(MatrixMultiply(2, 3, 1, a, b, c), MatrixStatus::kDone);
  EXPECT_EQ(c[0], -2.0);
  EXPECT_EQ(c[1], -2.0);

  double untouched[2] = {7, 7};
  EXPECT_EQ(MatrixMultiply(2, 0, 1, a, b, untouched), MatrixStatus::kEmptyDimension);
  EXPECT_EQ(MatrixMultiply(0, 3, 1, a, b, untouched), MatrixStatus::kEmptyDimension);
  EXPECT_EQ(untouched[0], 7.0);
  EXPECT_EQ(untouched[1], 7.0);
  EXPECT_EQ(GbkToUtf8(MatrixStatusMessage(MatrixStatus::kEmptyDimension)), "矩阵相乘条件不满足 !");
}

TEST(MatrixTranspose, MayWriteOverItsInput) {
  double a[6] = {1, 2, 3, 4, 5, 6};  // 2 × 3
  MatrixTranspose(2, 3, a, a);
  EXPECT_EQ(std::vector<double>(a, a + 6), (std::vector<double>{1, 4, 2, 5, 3, 6}));
}

}  // namespace
}  // namespace qp
