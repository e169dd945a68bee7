#include "exchange/exported_points.h"

#include <cmath>

#include "common/gbk_text.h"
#include "geodesy/angles.h"

namespace qp {
namespace {


// The standard errors of x and y from the error ellipse: the ellipse's axes
// E, F and the azimuth Q of E are the eigen decomposition of the point's
// covariance, so m_x^2 = E^2 cos^2 Q + F^2 sin^2 Q and m_y^2 likewise.
std::vector<double> PointPrecision(const PlaneEllipse& ellipse) {
  const double e = ellipse.e;
  const double f = ellipse.f;
  const double q = DmsToRadians(ellipse.q);
  const double c = std::cos(q), s = std::sin(q);
  return {std::sqrt(e * e * c * c + f * f * s * s), std::sqrt(e * e * s * s + f * f * c * c), std::hypot(e, f), e, f,
          ellipse.q};
}

}  // namespace

std::optional<ExportedNetwork> ExportedNetworkOf(const PlaneModel& model) {
  if (!model.HoldsResults()) return std::nullopt;
  ExportedNetwork out;
  out.precision = {{"mx_cm", 2}, {"my_cm", 2}, {"mxy_cm", 2}, {"E_cm", 2}, {"F_cm", 2}, {"Q_dms", 4}};
  const bool heights = IsSlopeMode(model.calcMode);
  for (const PlanePoint& p : model.points) {
    ExportedPoint point;
    point.name = GbkToUtf8(p.name);
    point.known = p.role == PlanePointRole::Known;
    point.north = p.x;
    point.east = p.y;
    if (heights) point.height = p.h;
    if (!point.known) point.precision = PointPrecision(p.ellipse);
    out.points.push_back(std::move(point));
  }
  return out;
}

std::optional<ExportedNetwork> ExportedNetworkOf(const HeightModel& model) {
  if (!model.HoldsResults()) return std::nullopt;
  ExportedNetwork out;
  out.precision = {{"mH_mm", 2}};
  for (const HeightPoint& p : model.points) {
    ExportedPoint point;
    point.name = GbkToUtf8(p.name);
    point.known = p.role == HeightPointRole::Known;
    point.height = p.height;
    for (const HeightCoordinate& c : model.coordinates) {
      if (c.name != p.name) continue;
      point.north = c.x;
      point.east = c.y;
      break;
    }
    if (!point.known) point.precision = {p.error};
    out.points.push_back(std::move(point));
  }
  return out;
}

}  // namespace qp
