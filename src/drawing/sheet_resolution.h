// The sheet re-derived for a device of another resolution, as printing and
// the pictures need it: the paper keeps its size in millimetres, the canvas
// and the margins are recomputed in the device's pixels, and the line widths
// follow the new resolution.
#pragma once

#include <optional>
#include <string>

#include "common/settings_block.h"
#include "drawing/drawing_tables.h"
#include "drawing/sheet_geometry.h"

namespace qp {

struct DeviceSheet {
  SettingsBlock block;      // the settings with resolution, canvas and margins for the device
  SheetGeometry geometry;   // the same as a drawable geometry
  LineWidths lineWidths;    // pixel widths of the line weights at that resolution
  int fullWidthPx = 0;      // the paper width in pixels before rounding down to a multiple of 4
};

// resolution = dotsPerInch; canvasHeightPx = whole part of ((marginTop +
// marginBottom + sheetHeight) x resolution x 0.03937007874015748) rounded down
// to a multiple of 4, canvasWidthPx likewise from the left and right margins
// and the sheet width; bottomMarginPx and leftMarginPx = whole part of
// (margin x resolution x 0.03937007874015748 + 0.5). Everything else is kept.
// Nothing, with the reason, when the resolution or the paper size is
// unusable or the canvas would exceed kMaxCanvasPixels.
std::optional<DeviceSheet> DeriveSheetForResolution(const SettingsBlock& block, double dotsPerInch,
                                                    std::string* reason = nullptr);

// The paper size in millimetres (margins and sheet), 0 for a damaged block.
double PaperHeightMillimetres(const SettingsBlock& block);
double PaperWidthMillimetres(const SettingsBlock& block);

}  // namespace qp
