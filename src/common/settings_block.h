// The 4544-byte drawing settings block that opens every network data file and
// vector export: the map sheet (scale, south-west corner, sheet size and
// margins, frame and grid style, fonts, sheet texts) and the display flags the
// drawing keeps beside it. Bytes not broken down here are carried as read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qp {

// Indices of the 18 sheet text slots.
enum SheetTextSlot : int {
  kRemarkSlot1 = 1,      // remarks 1..4 in slots 1..4
  kNoteSlot1 = 6,        // notes 1..4 in slots 6..9
  kNetworkNameSlot = 11,
  kDiagramTitleSlot = 12,
  kExtraTextSlot = 13,
  kUnitNameSlot = 14,
};

// Indices of the seven font size pairs (height, width in mm).
enum SheetFont : int {
  kTitleFont = 0,
  kSecondLineFont,
  kThirdLineFont,
  kNotesFont,
  kScaleFont,
  kUnitFont,
  kLegendFont,
  kSheetFontCount
};

struct SettingsBlock {
  int32_t heightMode;                 // 0
  uint8_t reserved4[28];              // 4
  int32_t gridRows;                   // 32
  int32_t gridCols;                   // 36
  uint8_t reserved40[4];              // 40
  float resolution;                   // 44, dots per inch
  double scale;                       // 48, map scale denominator
  double cornerX;                     // 56, south-west corner (m)
  double cornerY;                     // 64
  double northEdgeX;                  // 72
  double eastEdgeY;                   // 80
  double appliedScale;                // 88
  double previousCornerX;             // 96
  double previousCornerY;             // 104
  uint8_t reserved112[368];           // 112
  double bottomMarginPx;              // 480
  double leftMarginPx;                // 488
  double mapOriginX;                  // 496
  double mapOriginY;                  // 504
  int32_t canvasHeightPx;             // 512
  int32_t canvasWidthPx;              // 516
  int32_t canvasWidthPx2;             // 520, the same width a second time
  int32_t sheetHeight;                // 524, mm
  int32_t sheetWidth;                 // 528
  int32_t marginTop;                  // 532
  int32_t marginBottom;               // 536
  int32_t marginLeft;                 // 540
  int32_t marginRight;                // 544
  int32_t settingsConfirmed;          // 548
  uint8_t reserved552[316];           // 552
  int32_t gridStyle;                  // 868
  uint8_t reserved872[4];             // 872
  int32_t textFontColour;             // 876
  char textFontFace[32];              // 880
  float textFontHeight;               // 912
  float textFontWidth;                // 916
  char legendCells[10][15];           // 920
  char sheetTexts[18][65];            // 1070
  char thirdTitleLine[65];            // 2240
  uint8_t reserved2305[3];            // 2305
  int32_t noGridFlag;                 // 2308
  int32_t sheetMoveLock;              // 2312
  uint8_t reserved2316[68];           // 2316
  int32_t opaqueTextBackground;       // 2384
  uint8_t reserved2388[4];            // 2388
  float fontSizes[kSheetFontCount][2];  // 2392, (height, width) mm
  uint8_t reserved2448[144];          // 2448
  int32_t showScale;                  // 2592
  int32_t showGridLabels;             // 2596
  int32_t heightClosureFlags[100];    // 2600
  uint8_t reserved3000[1504];         // 3000
  int32_t labelUnit;                  // 4504
  uint8_t reserved4508[20];           // 4508
  double frameSpacing;                // 4528, mm
  uint8_t reserved4536[8];            // 4536
};

static_assert(sizeof(SettingsBlock) == 4544);
static_assert(offsetof(SettingsBlock, gridRows) == 32);
static_assert(offsetof(SettingsBlock, gridCols) == 36);
static_assert(offsetof(SettingsBlock, resolution) == 44);
static_assert(offsetof(SettingsBlock, scale) == 48);
static_assert(offsetof(SettingsBlock, cornerX) == 56);
static_assert(offsetof(SettingsBlock, cornerY) == 64);
static_assert(offsetof(SettingsBlock, northEdgeX) == 72);
static_assert(offsetof(SettingsBlock, eastEdgeY) == 80);
static_assert(offsetof(SettingsBlock, appliedScale) == 88);
static_assert(offsetof(SettingsBlock, previousCornerX) == 96);
static_assert(offsetof(SettingsBlock, previousCornerY) == 104);
static_assert(offsetof(SettingsBlock, bottomMarginPx) == 480);
static_assert(offsetof(SettingsBlock, leftMarginPx) == 488);
static_assert(offsetof(SettingsBlock, mapOriginX) == 496);
static_assert(offsetof(SettingsBlock, mapOriginY) == 504);
static_assert(offsetof(SettingsBlock, canvasHeightPx) == 512);
static_assert(offsetof(SettingsBlock, canvasWidthPx) == 516);
static_assert(offsetof(SettingsBlock, canvasWidthPx2) == 520);
static_assert(offsetof(SettingsBlock, sheetHeight) == 524);
static_assert(offsetof(SettingsBlock, sheetWidth) == 528);
static_assert(offsetof(SettingsBlock, marginTop) == 532);
static_assert(offsetof(SettingsBlock, marginBottom) == 536);
static_assert(offsetof(SettingsBlock, marginLeft) == 540);
static_assert(offsetof(SettingsBlock, marginRight) == 544);
static_assert(offsetof(SettingsBlock, settingsConfirmed) == 548);
static_assert(offsetof(SettingsBlock, gridStyle) == 868);
static_assert(offsetof(SettingsBlock, textFontColour) == 876);
static_assert(offsetof(SettingsBlock, textFontFace) == 880);
static_assert(offsetof(SettingsBlock, textFontHeight) == 912);
static_assert(offsetof(SettingsBlock, textFontWidth) == 916);
static_assert(offsetof(SettingsBlock, legendCells) == 920);
static_assert(offsetof(SettingsBlock, sheetTexts) == 1070);
static_assert(offsetof(SettingsBlock, thirdTitleLine) == 2240);
static_assert(offsetof(SettingsBlock, noGridFlag) == 2308);
static_assert(offsetof(SettingsBlock, sheetMoveLock) == 2312);
static_assert(offsetof(SettingsBlock, opaqueTextBackground) == 2384);
static_assert(offsetof(SettingsBlock, fontSizes) == 2392);
static_assert(offsetof(SettingsBlock, fontSizes) + sizeof(float) * 2 * 6 == 2440);
static_assert(offsetof(SettingsBlock, showScale) == 2592);
static_assert(offsetof(SettingsBlock, showGridLabels) == 2596);
static_assert(offsetof(SettingsBlock, heightClosureFlags) == 2600);
static_assert(offsetof(SettingsBlock, labelUnit) == 4504);
static_assert(offsetof(SettingsBlock, frameSpacing) == 4528);

// The values a new network data file starts with (a 1:1000 sheet of 500 x 500
// mm at 200 dots per inch with the simple frame).
void ResetSettingsBlock(SettingsBlock& block);

// Millimetres to inches, as the sheet's pixel arithmetic uses it.
inline constexpr double kInchesPerMillimetre = 0.03937007874015748;

// How a margin in mm becomes whole pixels. The dialog rounds resolution x
// margin / 25.4 half up; the fitting truncates margin x resolution x
// 0.03937007874015748 + 0.5. They agree but for the last bit of a product.
// 0 when the product is not a number.
enum class MarginRounding { Dialog, Fit };
double MarginPixels(int marginMm, double resolution, MarginRounding rounding);

// The sheet's north and east edges (m): its south-west corner plus its
// height and width in mm at its scale.
double NorthEdgeOf(const SettingsBlock& block);
double EastEdgeOf(const SettingsBlock& block);

// Sheet text slot `slot` (GBK, at most 64 bytes).
std::string_view SheetText(const SettingsBlock& block, int slot);
void SetSheetText(SettingsBlock& block, int slot, std::string_view gbkText);

}  // namespace qp
