#include "drawing/sheet_geometry.h"

#include <cmath>

#include "drawing/view_transform.h"

namespace qp {
namespace {

constexpr double kInchesPerMetre = 39.37007874015748;

bool Finite(double v) { return std::isfinite(v); }

}  // namespace


std::optional<SheetGeometry> SheetGeometryOf(const SettingsBlock& b, std::string* reason) {
  auto refuse = [&](const char* why) -> std::optional<SheetGeometry> {
    if (reason) *reason = why;
    return std::nullopt;
  };
  if (!Finite(b.scale) || b.scale <= 0.0) return refuse("scale");
  if (!Finite(b.resolution) || b.resolution <= 0.0f || b.resolution > 20000.0f) return refuse("resolution");
  if (!Finite(b.cornerX) || !Finite(b.cornerY)) return refuse("corner");
  if (!Finite(b.bottomMarginPx) || !Finite(b.leftMarginPx) || std::fabs(b.bottomMarginPx) > kMaxCanvasPixels ||
      std::fabs(b.leftMarginPx) > kMaxCanvasPixels)
    return refuse("margins");
  if (b.canvasHeightPx < 0 || b.canvasHeightPx > kMaxCanvasPixels || b.canvasWidthPx < 0 ||
      b.canvasWidthPx > kMaxCanvasPixels)
    return refuse("canvas size");
  SheetGeometry g;
  g.scale = b.scale;
  g.resolution = b.resolution;
  g.cornerX = b.cornerX;
  g.cornerY = b.cornerY;
  g.bottomMarginPx = b.bottomMarginPx;
  g.leftMarginPx = b.leftMarginPx;
  g.canvasHeightPx = b.canvasHeightPx;
  g.canvasWidthPx = b.canvasWidthPx;
  return g;
}

CanvasPoint MapToCanvas(const SheetGeometry& s, GroundPoint p) {
  return CanvasPoint{TruncateToInt((p.x - s.cornerX) / s.scale * s.resolution * kInchesPerMetre + s.bottomMarginPx + 0.5),
                     TruncateToInt((p.y - s.cornerY) / s.scale * s.resolution * kInchesPerMetre + s.leftMarginPx + 0.5)};
}

void MapToCanvas(const SheetGeometry& sheet, std::span<const GroundPoint> in, std::span<CanvasPoint> out) {
  const size_t n = in.size() < out.size() ? in.size() : out.size();
  for (size_t i = 0; i < n; ++i) out[i] = MapToCanvas(sheet, in[i]);
}

double CanvasRowToMapX(const SheetGeometry& s, int row) {
  return (row - s.bottomMarginPx) / (s.resolution / s.scale * kInchesPerMetre) + s.cornerX;
}
double CanvasColumnToMapY(const SheetGeometry& s, int column) {
  return (column - s.leftMarginPx) / (s.resolution / s.scale * kInchesPerMetre) + s.cornerY;
}
GroundPoint CanvasToMap(const SheetGeometry& s, CanvasPoint c) {
  return GroundPoint{CanvasRowToMapX(s, c.row), CanvasColumnToMapY(s, c.column)};
}

int MillimetresToPixels(float resolution, double mm) { return TruncateToInt(resolution * mm * 0.03937007874015748); }

}  // namespace qp
