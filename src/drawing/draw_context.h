// What the figures of one drawing pass depend on besides the records: the
// screen zoom (sheet texts too small to read on screen are left out),
// whether the parts of the canvas outside the sheet are masked, the
// observations the statistical tests flagged and the declutter option.
#pragma once

namespace qp {

class FlaggedObservationSet;

struct DrawContext {
  int zoomNum = 1024;  // screen pixels = canvas pixels x zoomNum / zoomDen
  int zoomDen = 1024;
  // Whole-drawing view and printing: paint the canvas outside the inner frame white.
  bool maskOutsideSheet = false;
  // Observations drawn in red on the diagrams of observation values (plane
  // kind 5, height kind 1); none when null. Not owned.
  const FlaggedObservationSet* flagged = nullptr;
  // "注记避让": value texts whose place is fixed slide clear of the texts
  // they would overprint (off by default; kept in the label marks).
  bool declutter = false;
  // Text height in canvas pixels as shown on screen.
  int OnScreen(int canvasPixels) const {
    return zoomDen == 0 ? 0 : static_cast<int>(static_cast<long long>(canvasPixels) * zoomNum / zoomDen);
  }
};

}  // namespace qp
