#include "common/settings_block.h"

#include <cmath>
#include <cstring>

#include "common/gbk_text.h"
#include "common/name_slot.h"

namespace qp {

void ResetSettingsBlock(SettingsBlock& b) {
  std::memset(&b, 0, sizeof b);
  b.heightMode = 0;
  b.resolution = 200.0f;
  b.scale = 1000.0;
  b.appliedScale = 1000.0;
  b.previousCornerX = b.cornerX = 8000.0;
  b.previousCornerY = b.cornerY = 1600.0;
  b.sheetHeight = 500;
  b.sheetWidth = 500;
  b.northEdgeX = b.cornerX + b.sheetHeight * b.scale * 0.001;
  b.eastEdgeY = b.cornerY + b.sheetWidth * b.scale * 0.001;
  b.mapOriginX = b.cornerX;
  b.mapOriginY = b.cornerY;
  b.marginTop = 50;
  b.marginBottom = 30;
  b.marginLeft = 20;
  b.marginRight = 20;
  b.gridRows = b.sheetHeight / 100;
  b.gridCols = b.sheetWidth / 100;
  b.canvasHeightPx = 4564;
  b.canvasWidthPx = b.canvasWidthPx2 = 4248;
  b.bottomMarginPx = 236.0;
  b.leftMarginPx = 157.0;
  b.gridStyle = 2;
  b.showScale = 0;
  b.showGridLabels = 0;
  b.frameSpacing = 10.0;
  b.labelUnit = 1;
  b.textFontColour = 0;
  SetSlotText(b.textFontFace, Gbk("宋体"));
  b.textFontHeight = 3.0f;
  b.textFontWidth = 1.5f;
  static const float kFontDefaults[kSheetFontCount][2] = {
      {6.0f, 3.0f}, {4.5f, 2.25f}, {3.0f, 1.5f}, {3.0f, 1.5f}, {4.0f, 2.0f}, {4.0f, 2.0f}, {3.0f, 1.5f}};
  std::memcpy(b.fontSizes, kFontDefaults, sizeof kFontDefaults);
  SetSheetText(b, kNetworkNameSlot, Gbk("测量控制网"));
  SetSheetText(b, kUnitNameSlot, Gbk("测绘单位"));
  b.settingsConfirmed = 1;
}

std::string_view SheetText(const SettingsBlock& block, int slot) { return SlotText(block.sheetTexts[slot]); }

void SetSheetText(SettingsBlock& block, int slot, std::string_view gbkText) {
  SetSlotText(block.sheetTexts[slot], gbkText);
}

double MarginPixels(int marginMm, double resolution, MarginRounding rounding) {
  const double px = rounding == MarginRounding::Dialog ? std::floor(resolution * marginMm / 25.4 + 0.5)
                                                       : std::trunc(marginMm * resolution * kInchesPerMillimetre + 0.5);
  return std::isfinite(px) ? px : 0.0;
}

double NorthEdgeOf(const SettingsBlock& b) { return b.sheetHeight * b.scale * 0.001 + b.cornerX; }
double EastEdgeOf(const SettingsBlock& b) { return b.scale * b.sheetWidth * 0.001 + b.cornerY; }

}  // namespace qp
