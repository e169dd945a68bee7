#include "geodesy/angles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace qp {
namespace {

std::string Printed(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

TEST(DmsToRadiansTest, SignAppliesToWholeValue) {
  EXPECT_NEAR(DmsToRadians(-0.3), -0.008726646260214, 1e-15);
  EXPECT_EQ(DmsToRadians(-45.302512), -DmsToRadians(45.302512));
}

TEST(DmsToRadiansTest, SplitsFieldsDespiteBinaryRepresentation) {
  const double degree = kPi / 180.0;
  EXPECT_NEAR(DmsToRadians(45.302512), (45.0 + 30.0 / 60.0 + 25.12 / 3600.0) * degree, 1e-12);
  // 1.3 and 29.999999999998 sit just below their decimal values; without the
  // guard they would split into 29' 99.99" and 29° 99' 99.99".
  EXPECT_NEAR(DmsToRadians(1.3), 1.5 * degree, 1e-12);
  EXPECT_NEAR(DmsToRadians(29.999999999998), 30.0 * degree, 1e-12);
  // Sixty seconds are summed, not rejected.
  EXPECT_NEAR(DmsToRadians(10.596), DmsToRadians(11.0), 1e-15);
}

TEST(RadiansToDmsTest, GuardShowsInTheLastDigits) {
  const double zero = RadiansToDms(0.0);
  EXPECT_GT(zero, 1.02e-10);
  EXPECT_LT(zero, 1.04e-10);
  EXPECT_EQ(Printed("%.10f", RadiansToDms(DmsToRadians(45.302512))), "45.3025120001");
  EXPECT_EQ(Printed("%.8f", RadiansToDms(DmsToRadians(-0.3))), "-0.30000000");
  EXPECT_EQ(RadiansToDms(-1.0), -RadiansToDms(1.0));
}

TEST(RadiansToDmsTest, DoesNotCarrySixtySeconds) {
  // 2e-11 rad short of 108°: the seconds come out as 59.99999..., not 60.
  const double dms = RadiansToDms(108.0 * kPi / 180.0 - 2e-11);
  EXPECT_EQ(Printed("%.6f", dms), "107.596000");
  EXPECT_LT(dms, 107.596);
}

TEST(AzimuthOfTest, ClockwiseFromNorthInFullCircle) {
  EXPECT_DOUBLE_EQ(AzimuthOf(0, 0, 1, 0), 0.0);
  EXPECT_DOUBLE_EQ(AzimuthOf(0, 0, 0, 1), kPi / 2);
  EXPECT_DOUBLE_EQ(AzimuthOf(0, 0, -1, 0), kPi);
  EXPECT_DOUBLE_EQ(AzimuthOf(0, 0, 0, -1), 3 * kPi / 2);
  EXPECT_DOUBLE_EQ(AzimuthOf(10, 10, 9, 9), 5 * kPi / 4);
  EXPECT_DOUBLE_EQ(AzimuthOf(10, 10, 11, 9), 7 * kPi / 4);
  EXPECT_EQ(AzimuthOf(5, 7, 5, 7), 0.0);
}

TEST(PlaneHelpersTest, Distance) {
  EXPECT_DOUBLE_EQ(DistanceOf(1000, 2000, 997, 2004), 5.0);
}

}  // namespace
}  // namespace qp
