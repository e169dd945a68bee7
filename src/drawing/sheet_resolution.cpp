#include "drawing/sheet_resolution.h"

#include <cmath>

#include "common/settings_block.h"

namespace qp {
namespace {

// Paper lengths of damaged blocks: anything outside 0..100 m of paper is refused.
double PaperLength(int32_t a, int32_t b, int32_t c) {
  const double sum = static_cast<double>(a) + b + c;
  return sum > 0 && sum <= 100000 ? sum : 0;
}

}  // namespace

double PaperHeightMillimetres(const SettingsBlock& b) { return PaperLength(b.marginTop, b.marginBottom, b.sheetHeight); }
double PaperWidthMillimetres(const SettingsBlock& b) { return PaperLength(b.marginLeft, b.marginRight, b.sheetWidth); }

std::optional<DeviceSheet> DeriveSheetForResolution(const SettingsBlock& block, double dpi, std::string* reason) {
  auto refuse = [&](const char* why) -> std::optional<DeviceSheet> {
    if (reason) *reason = why;
    return std::nullopt;
  };
  if (!std::isfinite(dpi) || dpi <= 0 || dpi > 20000) return refuse("resolution");
  const double heightMm = PaperHeightMillimetres(block), widthMm = PaperWidthMillimetres(block);
  if (heightMm <= 0 || widthMm <= 0) return refuse("paper size");
  if (block.marginBottom < 0 || block.marginLeft < 0) return refuse("margins");
  const double heightPx = std::trunc(heightMm * dpi * kInchesPerMillimetre);
  const double widthPx = std::trunc(widthMm * dpi * kInchesPerMillimetre);
  if (heightPx > kMaxCanvasPixels || widthPx > kMaxCanvasPixels) return refuse("canvas size");

  DeviceSheet d;
  d.block = block;
  d.block.resolution = static_cast<float>(dpi);
  d.block.canvasHeightPx = static_cast<int32_t>(heightPx) / 4 * 4;
  d.block.canvasWidthPx = static_cast<int32_t>(widthPx) / 4 * 4;
  d.block.canvasWidthPx2 = d.block.canvasWidthPx;
  d.block.bottomMarginPx = std::trunc(block.marginBottom * dpi * kInchesPerMillimetre + 0.5);
  d.block.leftMarginPx = std::trunc(block.marginLeft * dpi * kInchesPerMillimetre + 0.5);
  d.fullWidthPx = static_cast<int>(widthPx);
  auto geometry = SheetGeometryOf(d.block, reason);
  if (!geometry) return std::nullopt;
  d.geometry = *geometry;
  d.lineWidths = LineWidthsForResolution(d.block.resolution);
  return d;
}

}  // namespace qp
