// The point list of a height-difference curve in canvas pixels, sampled the
// way the renderer draws an open interpolating cubic B-spline, so that the
// direction arrow sits on the line that is actually on the sheet.
#pragma once

#include <span>
#include <vector>

#include "drawing/sheet_geometry.h"

namespace qp {

// Samples the open interpolating cubic B-spline through `control` (canvas
// pixels) into `out` (cleared first): 21 points per span at t = k / 300,
// k = 0, 15, ..., 300, the shared end points repeated, each coordinate
// rounded by adding 0.5 and truncating. Fewer than two control points give
// an empty list.
void SampleOpenSplinePixels(std::span<const CanvasPoint> control, std::vector<CanvasPoint>& out);

}  // namespace qp
