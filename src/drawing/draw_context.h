// What the figures of one drawing pass depend on besides the records: the
// screen zoom (sheet texts too small to read on screen are left out) and
// whether the parts of the canvas outside the sheet are masked.
#pragma once

namespace qp {

struct DrawContext {
  int zoomNum = 1024;  // screen pixels = canvas pixels x zoomNum / zoomDen
  int zoomDen = 1024;
  // Whole-drawing view and printing: paint the canvas outside the inner frame white.
  bool maskOutsideSheet = false;
  // Text height in canvas pixels as shown on screen.
  int OnScreen(int canvasPixels) const {
    return zoomDen == 0 ? 0 : static_cast<int>(static_cast<long long>(canvasPixels) * zoomNum / zoomDen);
  }
};

}  // namespace qp
