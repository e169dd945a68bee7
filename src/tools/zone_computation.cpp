#include "tools/zone_computation.h"

#include <cmath>

#include "common/format.h"
#include "geodesy/angles.h"
#include "geodesy/gauss_projection.h"

namespace qp {
namespace {

// An easting above this carries the zone number in front of its six digits.
constexpr double kZoneNumberThreshold = 980000.0;

// The latitude of the pole in D.MS, with room for the conversion's guard.
constexpr double kPoleDms = 90.000001;

// The easting without the zone number written before it.
double EastingWithoutZone(double y) {
  if (y > kZoneNumberThreshold) y = y - std::floor(y * 1e-6) * 1e6;
  return y;
}

}  // namespace

std::optional<RejectedEntry> TransformZonePoints(ZoneTransformFile& image) {
  const GeodeticSystem system = GeodeticSystemFromSelector(image.system);
  for (int i = 0; i < image.count; ++i) {
    double& B = image.latitude[i];
    double& L = image.longitude[i];
    GaussInverse(image.oldX[i], EastingWithoutZone(image.oldY[i]), image.oldMeridian, system, 0.0, B, L);
    GaussForward(B, L, image.newMeridian, system, 0.0, image.newX[i], image.newY[i]);
    if (!(std::isfinite(B) && std::isfinite(L) && std::isfinite(image.newX[i]) && std::isfinite(image.newY[i]) &&
          std::fabs(B) <= kPoleDms)) {
      return RejectedEntry{0, i, FormatText("换带前坐标点第[%d]行坐标超出换带计算范围!", i)};
    }
  }
  return std::nullopt;
}

std::optional<int> ZoneNumberOf(double meridianDms, int widthDegrees) {
  if (widthDegrees != 3 && widthDegrees != 6) return std::nullopt;
  const double degrees = DmsToRadians(meridianDms) * 180.0 / kPi;
  const double zone = widthDegrees == 3 ? degrees / 3.0 : (degrees + 3.0) / 6.0;
  const double nearest = std::round(zone);
  // A millionth of a degree is well below any meridian typed in D.MS.
  if (!(std::fabs(zone - nearest) * widthDegrees < 1e-6) || nearest < 1.0 || nearest > 360.0 / widthDegrees)
    return std::nullopt;
  return static_cast<int>(nearest);
}

}  // namespace qp
