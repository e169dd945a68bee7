// The derived raster geometry of the map sheet: the paper in pixels, the
// margins in pixels, the grid counts and the north and east edges, worked out
// from the sheet size, the margins, the scale and the resolution. The sheet
// dialog, the fitting of the sheet to a network and printing all derive them
// here, and ClampSheetSettings makes a damaged settings block safe to draw or
// fit before anything else reads it.
#pragma once

#include "common/settings_block.h"

namespace qp {

// The largest canvas side the paper limit allows, in pixels.
inline constexpr int kLargestCanvasPixels = 28672;
// The largest scale denominator a sheet can have: beyond it the sheet's
// edges are no longer numbers a drawing can hold.
inline constexpr double kLargestSheetScale = 1e8;
// The resolutions of the dialog's combo ("粗略10", "正常20", "精细30").
inline constexpr float kResolutions[3] = {100.0f, 200.0f, 300.0f};
// The standard map scales, smallest denominator first.
inline constexpr double kStandardScales[] = {100,   200,   500,    1000,   2000,   5000,
                                             10000, 25000, 50000, 100000, 250000, 500000};

// The smallest standard scale denominator above `scale`: the list above,
// then 1, 2.5 and 5 times the powers of ten from 1,000,000 on. Never more
// than kLargestSheetScale.
double NextStandardScale(double scale);

// The largest paper side in mm at `resolution` dots per inch: the whole part
// of 28672 / resolution x 25.4, rounded down to a multiple of 10 mm (7280 at
// 100, 3640 at 200, 2420 at 300). 0 for a resolution that is not positive.
int LargestPaperSize(double resolution);

// Shrinks the sheet so that sheet and margins fit on the largest paper of the
// block's resolution: sheetHeight = W - marginBottom - marginTop when their
// sum exceeds W, likewise the width. Returns true when it changed something.
bool LimitSheetToPaper(SettingsBlock& block);

// From the sizes, margins and resolution: canvasHeightPx, both canvas width
// fields, gridRows, gridCols, bottomMarginPx and leftMarginPx.
void UpdateSheetCanvas(SettingsBlock& block, MarginRounding rounding);

// northEdgeX = sheetHeight x scale x 0.001 + cornerX, eastEdgeY likewise.
void UpdateSheetEdges(SettingsBlock& block);

// Makes a block safe to draw, print or fit: a resolution that is not a
// positive number up to 2400 dots per inch becomes 200; a scale that is not a
// number within 1 .. 1e8 becomes 1000 (the applied scale likewise); corners,
// edges and the mapping origin that are not finite or beyond 1e9 m become the
// corner (or 0); margins are kept within 0 .. half the largest paper, sheet
// sizes within 0 .. the paper left by the margins; a frame spacing that is not
// a number within 0 .. 100 mm becomes 12 mm; font sizes that are not numbers
// within 0 .. 1000 mm take their default pairs. When anything was repaired, or
// the derived canvas fields are themselves out of range, the canvas, grid and
// edges are derived again (the fitting's margin rounding). Returns true when
// the block changed; a block within these limits is left byte for byte.
bool ClampSheetSettings(SettingsBlock& block);

// The default (height, width) pair of a sheet font.
void DefaultSheetFont(int font, float& height, float& width);

}  // namespace qp
