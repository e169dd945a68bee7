// The raster geometry of the map sheet as the drawing uses it: the mapping of
// ground coordinates (X north, Y east, metres) to canvas pixels (row counted
// upwards from the bottom edge of the paper, column from the left edge) and
// back, and the canvas size. Taken from the settings block and made safe: a
// damaged block (zero or negative scale or resolution, NaN corner, absurd
// sizes) is refused instead of being drawn into a giant canvas.
#pragma once

#include <cmath>
#include <optional>
#include <span>
#include <string>

#include "common/settings_block.h"
#include "drawing/drawing_tables.h"

namespace qp {

// Ground coordinates in metres: x is the northing X, y the easting Y.
struct GroundPoint {
  double x = 0, y = 0;
  friend bool operator==(const GroundPoint&, const GroundPoint&) = default;
};

inline bool Finite(GroundPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }
inline bool AllFinite(std::span<const GroundPoint> points) {
  for (const GroundPoint& p : points)
    if (!Finite(p)) return false;
  return true;
}
// `length` metres from `p` along `azimuth` (radians, clockwise from north).
inline GroundPoint Along(GroundPoint p, double azimuth, double length) {
  return GroundPoint{p.x + length * std::cos(azimuth), p.y + length * std::sin(azimuth)};
}
inline GroundPoint Midpoint(GroundPoint a, GroundPoint b) { return GroundPoint{(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// A canvas pixel: row upwards from the bottom of the paper, column rightwards.
struct CanvasPoint {
  int row = 0, column = 0;
  friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

// The largest canvas side the drawing accepts, in pixels (7280 mm of paper at
// 100 dots per inch is 28,660 pixels; the margins may add to it).
inline constexpr int kMaxCanvasPixels = 65536;

struct SheetGeometry {
  double scale = 1000.0;
  float resolution = 200.f;
  double cornerX = 0, cornerY = 0;  // south-west corner of the sheet (m)
  double bottomMarginPx = 0, leftMarginPx = 0;
  int canvasHeightPx = 0, canvasWidthPx = 0;

  // m: the ground length of one millimetre of paper.
  double GroundPerMillimetre() const { return scale * 0.001; }
};

// The geometry of `block`, or nothing with the reason when the block cannot
// be drawn (scale or resolution not positive or not finite, corner or margins
// not finite, canvas sides outside 0..kMaxCanvasPixels).
std::optional<SheetGeometry> SheetGeometryOf(const SettingsBlock& block, std::string* reason = nullptr);

// row = whole part of ((X - cornerX) / scale x resolution x 39.37007874015748
// + bottomMarginPx + 0.5), column likewise with Y, cornerY, leftMarginPx.
CanvasPoint MapToCanvas(const SheetGeometry& sheet, GroundPoint p);
void MapToCanvas(const SheetGeometry& sheet, std::span<const GroundPoint> in, std::span<CanvasPoint> out);
// X = (row - bottomMarginPx) / (resolution / scale x 39.37007874015748) + cornerX; Y likewise.
GroundPoint CanvasToMap(const SheetGeometry& sheet, CanvasPoint c);
double CanvasRowToMapX(const SheetGeometry& sheet, int row);
double CanvasColumnToMapY(const SheetGeometry& sheet, int column);

// Whole part of resolution x mm x 0.03937007874015748.
int MillimetresToPixels(float resolution, double mm);

}  // namespace qp
