#include "drawing/view_transform.h"

#include <climits>
#include <cmath>

namespace qp {
namespace {

constexpr double kInchesPerMetre = 39.37007874015748;

// v * a / b in 64-bit, kept within the int range; b == 0 gives 0.
int MulDivTruncate(int64_t v, int64_t a, int64_t b) {
  if (b == 0) return 0;
  const int64_t r = v * a / b;
  if (r > INT_MAX) return INT_MAX;
  if (r < INT_MIN) return INT_MIN;
  return static_cast<int>(r);
}

}  // namespace

int TruncateToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

int ViewTransform::ZoomAndFlip(int v) const { return pageHeight - ZoomIn(v) - 1; }
int ViewTransform::ZoomIn(int v) const { return MulDivTruncate(v, zoomNum, zoomDen); }
int ViewTransform::ZoomOut(int v) const { return MulDivTruncate(v, zoomDen, zoomNum); }
int ViewTransform::UnflipAndZoomOut(int v) const {
  return MulDivTruncate(static_cast<int64_t>(pageHeight) - v - 1, zoomDen, zoomNum);
}

int ViewTransform::MillimetresToDevice(float mm) const {
  return TruncateToInt(resolution * mm * 0.03937007874015748);
}

double ViewTransform::DeviceToMapU(int u) const {
  return (u - deviceOriginU) / (resolution / scale * kInchesPerMetre) + mapOriginX;
}
double ViewTransform::DeviceToMapV(int v) const {
  return (v - deviceOriginV) / (resolution / scale * kInchesPerMetre) + mapOriginY;
}
int ViewTransform::MapToDeviceU(double x) const {
  return TruncateToInt((x - mapOriginX) / scale * resolution * kInchesPerMetre + deviceOriginU + 0.5);
}
int ViewTransform::MapToDeviceV(double y) const {
  return TruncateToInt((y - mapOriginY) / scale * resolution * kInchesPerMetre + deviceOriginV + 0.5);
}

void ViewTransform::PolylineMapToDevice(const double* xy, int n, int32_t* out) const {
  for (int i = 0; i < n; ++i) {
    out[2 * i] = MapToDeviceU(xy[2 * i]);
    out[2 * i + 1] = MapToDeviceV(xy[2 * i + 1]);
  }
}

}  // namespace qp
