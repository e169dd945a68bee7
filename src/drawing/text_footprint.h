// Where a text's glyphs lie on paper: the rectangle from its reference point
// along its direction over the advance of its characters less the gap after
// the last one, by the character height. Two texts overprint when their
// rectangles overlap by more than 15 % of the smaller one. The placement of
// the diagrams' texts, the label arrangement and the collision counter of
// bench/ all judge a sheet by this one measure.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "drawing/entities.h"

namespace qp {

// Share of the smaller text's area beyond which two texts overprint.
inline constexpr double kOverprintShare = 0.15;

// A point on paper in millimetres: x east, y north.
struct PaperPoint {
  double x = 0.0, y = 0.0;
};

struct TextFootprint {
  std::array<PaperPoint, 4> box{};  // counter-clockwise, convex
  double area = 0.0;                // mm²
  double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;

  bool BoundsMeet(const TextFootprint& o) const {
    return minX < o.maxX && o.minX < maxX && minY < o.maxY && o.minY < maxY;
  }
};

// The footprint of a text block drawn with `m` ground metres per paper
// millimetre; nothing for an empty text, a text of no area or a damaged block.
std::optional<TextFootprint> TextFootprintOf(const TextBlock& block, double m);

// Area (mm²) that two footprints share.
double OverlapArea(const TextFootprint& a, const TextFootprint& b);

// The overlap as a share of the smaller footprint (0 when either has no area).
double OverlapShare(const TextFootprint& a, const TextFootprint& b);

inline bool Overprint(const TextFootprint& a, const TextFootprint& b) {
  return a.BoundsMeet(b) && OverlapShare(a, b) > kOverprintShare;
}

// Signed area (mm²) of a polygon: positive when counter-clockwise.
double SignedPolygonArea(std::span<const PaperPoint> polygon);

// Area (mm²) of the part of convex polygon `subject` inside `footprint`.
double OverlapArea(std::span<const PaperPoint> subject, const TextFootprint& footprint);

// Whether the segment p-q (paper mm) crosses or touches the footprint's inside.
bool SegmentMeets(PaperPoint p, PaperPoint q, const TextFootprint& footprint);

}  // namespace qp
