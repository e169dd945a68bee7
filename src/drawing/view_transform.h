// The integer arithmetic between the canvas and the screen: canvas rows are
// counted upward from the bottom of the sheet, screen rows downward, and the
// zoom ratio zoomNum / zoomDen scales both axes with truncation. No other code
// knows the axis orientation.
#pragma once

#include <cstdint>

#include "drawing/drawing_device.h"
#include "drawing/sheet_geometry.h"

namespace qp {

// A double converted toward zero and kept within the int range (NaN gives 0),
// so that no damaged coordinate can overflow a pixel position.
int TruncateToInt(double v);

// v x a / b in 64 bits, kept within the int range; b == 0 gives 0.
int MulDivSaturated(int64_t v, int64_t a, int64_t b);

// screen x = column x zoomNum / zoomDen; y = (canvasHeight - row - 1) x zoomNum / zoomDen.
ScreenPoint CanvasToScreen(CanvasPoint c, int canvasHeightPx, int zoomNum, int zoomDen);
// The inverse, truncating the other way round.
CanvasPoint ScreenToCanvas(ScreenPoint s, int canvasHeightPx, int zoomNum, int zoomDen);

}  // namespace qp
