#include "drawing/sheet_canvas.h"

#include <algorithm>
#include <cmath>

#include "drawing/view_transform.h"

namespace qp {
namespace {

constexpr double kLargestCoordinate = 1e9;  // m, far beyond any plane system
constexpr float kLargestResolution = 2400.0f;
constexpr float kLargestFontMm = 1000.0f;

bool Finite(double v) { return std::isfinite(v); }

// `value` kept within lo..hi; true when it had to move.
bool ClampInt(int32_t& value, int32_t lo, int32_t hi) {
  const int32_t kept = std::clamp(value, lo, hi);
  if (kept == value) return false;
  value = kept;
  return true;
}

bool SaneCoordinate(double v) { return Finite(v) && std::fabs(v) <= kLargestCoordinate; }

// A coordinate that is not sane becomes `fallback`.
bool RepairCoordinate(double& v, double fallback) {
  if (SaneCoordinate(v)) return false;
  v = fallback;
  return true;
}

bool DerivedFieldsInRange(const SettingsBlock& b) {
  auto side = [](int32_t px) { return px >= 0 && px <= kLargestCanvasPixels; };
  auto margin = [](double px) { return Finite(px) && px >= 0.0 && px <= kLargestCanvasPixels; };
  return side(b.canvasHeightPx) && side(b.canvasWidthPx) && side(b.canvasWidthPx2) && margin(b.bottomMarginPx) &&
         margin(b.leftMarginPx) && b.gridRows >= 0 && b.gridRows <= b.sheetHeight / 100 + 1 && b.gridCols >= 0 &&
         b.gridCols <= b.sheetWidth / 100 + 1 && Finite(b.northEdgeX) && Finite(b.eastEdgeY);
}

// One side of the canvas: the whole part of paperMm x resolution x
// 0.03937007874015748, rounded down to a multiple of 4 pixels. 0 for a
// non-positive or non-finite product.
int CanvasSidePixels(double paperMm, double resolution) {
  const double px = paperMm * resolution * kInchesPerMillimetre;
  if (!Finite(px) || px <= 0.0) return 0;
  return TruncateToInt(px) / 4 * 4;
}

}  // namespace

double NextStandardScale(double scale) {
  for (const double s : kStandardScales)
    if (s > scale) return s;
  for (double decade = 1e6; decade < kLargestSheetScale; decade *= 10) {
    for (const double step : {1.0, 2.5, 5.0})
      if (decade * step > scale) return decade * step;
  }
  return kLargestSheetScale;
}

int LargestPaperSize(double resolution) {
  if (!Finite(resolution) || resolution <= 0.0) return 0;
  const int mm = TruncateToInt(28672.0 / resolution * 25.4);
  return mm / 10 * 10;
}

bool LimitSheetToPaper(SettingsBlock& b) {
  const int paper = LargestPaperSize(b.resolution);
  // Margins beyond half the paper (or negative) are no margins a sheet can have.
  bool changed = ClampInt(b.marginTop, 0, paper / 2);
  changed |= ClampInt(b.marginBottom, 0, paper / 2);
  changed |= ClampInt(b.marginLeft, 0, paper / 2);
  changed |= ClampInt(b.marginRight, 0, paper / 2);
  if (static_cast<int64_t>(b.marginTop) + b.marginBottom + b.sheetHeight > paper) {
    b.sheetHeight = paper - b.marginBottom - b.marginTop;
    changed = true;
  }
  if (static_cast<int64_t>(b.marginLeft) + b.marginRight + b.sheetWidth > paper) {
    b.sheetWidth = paper - b.marginLeft - b.marginRight;
    changed = true;
  }
  changed |= ClampInt(b.sheetHeight, 0, paper);
  changed |= ClampInt(b.sheetWidth, 0, paper);
  return changed;
}

void UpdateSheetCanvas(SettingsBlock& b, MarginRounding rounding) {
  const double resolution = b.resolution;
  b.canvasHeightPx = CanvasSidePixels(b.marginTop + b.marginBottom + b.sheetHeight, resolution);
  b.canvasWidthPx = b.canvasWidthPx2 = CanvasSidePixels(b.marginLeft + b.marginRight + b.sheetWidth, resolution);
  b.gridRows = b.sheetHeight / 100;
  b.gridCols = b.sheetWidth / 100;
  b.bottomMarginPx = MarginPixels(b.marginBottom, resolution, rounding);
  b.leftMarginPx = MarginPixels(b.marginLeft, resolution, rounding);
}

void UpdateSheetEdges(SettingsBlock& b) {
  b.northEdgeX = NorthEdgeOf(b);
  b.eastEdgeY = EastEdgeOf(b);
}

void DefaultSheetFont(int font, float& height, float& width) {
  static const float kDefaults[kSheetFontCount][2] = {{6.0f, 3.0f}, {4.5f, 2.25f}, {3.0f, 1.5f}, {3.0f, 1.5f},
                                                       {4.0f, 2.0f}, {4.0f, 2.0f},  {3.0f, 1.5f}};
  const int k = font >= 0 && font < kSheetFontCount ? font : kTitleFont;
  height = kDefaults[k][0];
  width = kDefaults[k][1];
}

bool ClampSheetSettings(SettingsBlock& b) {
  bool changed = false;
  if (!Finite(b.resolution) || b.resolution <= 0.0f || b.resolution > kLargestResolution) {
    b.resolution = 200.0f;
    changed = true;
  }
  if (!Finite(b.scale) || b.scale < 1.0 || b.scale > kLargestSheetScale) {
    b.scale = 1000.0;
    changed = true;
  }
  if (!Finite(b.appliedScale) || b.appliedScale < 1.0 || b.appliedScale > kLargestSheetScale) {
    b.appliedScale = b.scale;
    changed = true;
  }
  changed |= RepairCoordinate(b.cornerX, 0.0);
  changed |= RepairCoordinate(b.cornerY, 0.0);
  changed |= RepairCoordinate(b.previousCornerX, b.cornerX);
  changed |= RepairCoordinate(b.previousCornerY, b.cornerY);
  changed |= RepairCoordinate(b.mapOriginX, b.cornerX);
  changed |= RepairCoordinate(b.mapOriginY, b.cornerY);
  changed |= LimitSheetToPaper(b);
  if (!Finite(b.frameSpacing) || b.frameSpacing < 0.0 || b.frameSpacing > 100.0) {
    b.frameSpacing = 12.0;
    changed = true;
  }
  auto saneFont = [](float h, float w) {
    return Finite(h) && Finite(w) && h >= 0.0f && w >= 0.0f && h <= kLargestFontMm && w <= kLargestFontMm;
  };
  for (int k = 0; k < kSheetFontCount; ++k) {
    if (saneFont(b.fontSizes[k][0], b.fontSizes[k][1])) continue;
    DefaultSheetFont(k, b.fontSizes[k][0], b.fontSizes[k][1]);
    changed = true;
  }
  if (!saneFont(b.textFontHeight, b.textFontWidth)) {
    b.textFontHeight = 3.0f;
    b.textFontWidth = 1.5f;
    changed = true;
  }
  if (changed || !DerivedFieldsInRange(b)) {
    UpdateSheetCanvas(b, MarginRounding::Fit);
    UpdateSheetEdges(b);
    changed = true;
  }
  return changed;
}

}  // namespace qp
