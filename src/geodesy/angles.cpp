#include "geodesy/angles.h"

#include <cmath>

namespace qp {
namespace {

// Guard added before splitting into degrees, minutes and seconds so that a
// value stored as 29.999999999998 splits as 30.
constexpr double kSplitGuard = 5e-12;
// Pi nudged one way for D.MS -> radians and the other way for the reverse.
constexpr double kPiUp = kPi + 3e-16;
constexpr double kPiDown = kPi - 3e-16;
constexpr double kOneThirtySixth = 0.027777777777777776;  // hundredths of seconds -> degrees
constexpr double kOneSixtieth = 0.016666666666666666;     // minutes -> degrees
constexpr double kOneOneEightieth = 0.005555555555555556;  // 1/180

}  // namespace

double DmsToRadians(double dms) {
  double sign = 1.0;
  if (dms < 0.0) {
    sign = -1.0;
    dms = -dms;
  }
  double degrees = 0.0;
  const double minutesFraction = std::modf(dms + kSplitGuard, &degrees);
  double minutes = 0.0;
  // What remains is seconds / 100.
  const double secondsHundredths = std::modf(minutesFraction * 100.0, &minutes);
  const double total = secondsHundredths * kOneThirtySixth + minutes * kOneSixtieth + degrees;
  return total * kPiUp * sign * kOneOneEightieth;
}

double RadiansToDms(double rad) {
  double sign = 1.0;
  if (rad < 0.0) {
    sign = -1.0;
    rad = -rad;
  }
  const double total = (rad + kSplitGuard) * 180.0 / kPiDown;
  double degrees = 0.0;
  const double degreeFraction = std::modf(total, &degrees);
  double minutes = 0.0;
  const double minuteFraction = std::modf(degreeFraction * 60.0, &minutes);
  double seconds = 0.0;
  const double secondFraction = std::modf(minuteFraction * 60.0, &seconds);
  return ((secondFraction + seconds) * 0.0001 + minutes * 0.01 + degrees) * sign;
}

double AzimuthOf(double x1, double y1, double x2, double y2) {
  double azimuth = std::atan2(y2 - y1, x2 - x1);
  if (azimuth < 0.0) azimuth += 2.0 * kPi;
  return azimuth;
}

double DistanceOf(double x1, double y1, double x2, double y2) {
  const double dy = y2 - y1;
  const double dx = x2 - x1;
  return std::sqrt(dy * dy + dx * dx);
}

}  // namespace qp
