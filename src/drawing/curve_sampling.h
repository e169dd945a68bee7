// The point lists the renderer draws for curves: the interpolating cubic
// B-spline through a line's control points (the height diagram's curved
// levelling lines) and the polygon of an error ellipse or point circle. Both
// work in canvas pixels (row up, column right) and truncate exactly as the
// sheet is drawn, so the screen, the printer and the pictures agree.
#pragma once

#include <span>
#include <vector>

#include "drawing/sheet_geometry.h"

namespace qp {

enum class SplineStatus {
  Ok,
  TooFewPoints,  // fewer than 2 control points (open) or 3 (closed): nothing to draw, not an error
  Unsolvable     // the de Boor system cannot be solved (or is too large): nothing is drawn
};

// Samples per curve segment: t = k / 300 for k = 0, 15, ..., 300.
inline constexpr int kSplineSamplesPerSegment = 21;

// Appends to `out` the curve through `control`. The de Boor points D1..Dn
// solve D(i-1) + 4 Di + D(i+1) = 6 Pi per coordinate; an open curve has
// D1 = P1 and Dn = Pn and is extended by D0 = 2 D1 - D2, D(n+1) = 2 Dn - D(n-1);
// a closed curve takes its indices cyclically. Every segment gives 21 points
// (the shared end points repeated), each coordinate + 0.5 truncated. A closed
// curve ends where it began. `out` is left as it was unless the status is Ok.
SplineStatus SampleSpline(std::span<const CanvasPoint> control, bool closed, std::vector<CanvasPoint>& out);
// The same curve on the ground (X, Y in metres), without rounding: for
// drawings kept in ground coordinates (DXF).
SplineStatus SampleSpline(std::span<const GroundPoint> control, bool closed, std::vector<GroundPoint>& out);

// The angular step in whole degrees for an ellipse of semi-axes a + b canvas
// pixels at `resolution` dots per inch: whole part of
// (resolution x 0.03937007874015748 / (a + b) / pi x 720), kept within 5..30.
int EllipseStepDegrees(double aPlusB, double resolution);

// Appends to `out` the closed polygon of the ellipse inscribed in the
// rectangle P1..P4 (canvas pixels): centre the midpoint of P1 and P3, semi-axis
// A = |P1P4| / 2 along P1 -> P4, B = |P1P2| / 2, running clockwise or
// counter-clockwise as P1 -> P3 points, from t = 0 in steps of
// EllipseStepDegrees while t <= 359, then the first point again.
void SampleEllipse(std::span<const CanvasPoint, 4> corners, double resolution, std::vector<CanvasPoint>& out);

}  // namespace qp
