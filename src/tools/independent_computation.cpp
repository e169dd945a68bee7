#include "tools/independent_computation.h"

#include <cmath>
#include <cstring>

#include "common/format.h"
#include "common/gbk_text.h"
#include "geodesy/angles.h"
#include "geodesy/gauss_projection.h"

namespace qp {
namespace {

// The latitude of the pole in D.MS, with room for the conversion's guard.
constexpr double kPoleDms = 90.000001;

// A latitude and longitude that exist: finite, and not beyond a pole (the
// inverse series give such values for northings past the pole).
bool IsGeographic(double B, double L) { return std::isfinite(B) && std::isfinite(L) && std::fabs(B) <= kPoleDms; }

// Converts one point through latitude and longitude; false when the point
// cannot be converted (the numbers overflow or pass a pole).
bool ConvertPoint(double x, double y, double fromMeridian, double fromHeight, double toMeridian, double toHeight,
                  GeodeticSystem system, double& newX, double& newY) {
  double B = 0.0;
  double L = 0.0;
  GaussInverse(x, y, fromMeridian, system, fromHeight, B, L);
  GaussForward(B, L, toMeridian, system, toHeight, newX, newY);
  return IsGeographic(B, L) && std::isfinite(newX) && std::isfinite(newY);
}

}  // namespace

std::string ComputeReference(IndependentSystemFile& image) {
  const GeodeticSystem system = GeodeticSystemFromSelector(image.system);
  double B = 0.0;
  double L = 0.0;
  double xh = 0.0;
  double yh = 0.0;
  GaussInverse(image.referenceX, image.referenceY, image.meridian, system, 0.0, B, L);
  GaussForward(B, L, L, system, image.height, xh, yh);
  if (!(IsGeographic(B, L) && std::isfinite(xh) && std::isfinite(yh))) return Gbk("参考点信息不正确, 无法计算 !");
  image.referenceB = B;
  image.referenceL = L;
  image.referenceXH = xh;
  image.referenceYH = yh;
  return {};
}

std::string ConvertPointList(IndependentSystemFile& image) {
  const bool toIndependent = image.mode != kIndependentToNational;
  const std::string from = Gbk(toIndependent ? "国家" : "独立");
  const IndependentListSlots source = toIndependent ? NationalList(image) : IndependentList(image);
  const IndependentListSlots target = toIndependent ? IndependentList(image) : NationalList(image);
  const double centreX = toIndependent ? image.referenceX : image.setX;
  const double centreY = toIndependent ? image.referenceY : image.setY;
  for (int i = 0; i < source.count; ++i) {
    if (DistanceOf(source.x[i], source.y[i], centreX, centreY) > image.radius) {
      return FormatText("%s坐标系统第[%d]个超过设定的范围 !", from.c_str(), i + 1);
    }
  }
  const GeodeticSystem system = GeodeticSystemFromSelector(image.system);
  for (int i = 0; i < source.count; ++i) {
    double& x = target.x[i];
    double& y = target.y[i];
    bool ok = false;
    if (toIndependent) {
      ok = ConvertPoint(source.x[i], source.y[i], image.meridian, 0.0, image.referenceL, image.height, system, x, y);
      x = x + image.setX - image.referenceXH;
      y = y + image.setY - image.referenceYH;
    } else {
      ok = ConvertPoint(source.x[i] - image.setX + image.referenceXH, source.y[i] - image.setY + image.referenceYH,
                        image.referenceL, image.height, image.meridian, 0.0, system, x, y);
    }
    if (!ok) return FormatText("%s坐标系统第[%d]个坐标无法转换 !", from.c_str(), i + 1);
    std::memcpy(target.names[i], source.names[i], sizeof target.names[i]);
  }
  target.count = source.count;
  return {};
}

}  // namespace qp
