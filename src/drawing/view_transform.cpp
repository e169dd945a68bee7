#include "drawing/view_transform.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace qp {

int TruncateToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

int MulDivSaturated(int64_t v, int64_t a, int64_t b) {
  if (b == 0) return 0;
  return static_cast<int>(std::clamp<int64_t>(v * a / b, INT_MIN, INT_MAX));
}

ScreenPoint CanvasToScreen(CanvasPoint c, int canvasHeightPx, int zoomNum, int zoomDen) {
  return ScreenPoint{MulDivSaturated(c.column, zoomNum, zoomDen),
                     MulDivSaturated(static_cast<int64_t>(canvasHeightPx) - c.row - 1, zoomNum, zoomDen)};
}

CanvasPoint ScreenToCanvas(ScreenPoint s, int canvasHeightPx, int zoomNum, int zoomDen) {
  const int64_t row = static_cast<int64_t>(canvasHeightPx) - MulDivSaturated(s.y, zoomDen, zoomNum) - 1;
  return CanvasPoint{static_cast<int>(std::clamp<int64_t>(row, INT_MIN, INT_MAX)),
                     MulDivSaturated(s.x, zoomDen, zoomNum)};
}

}  // namespace qp
