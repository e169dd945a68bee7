// The frame and grid of the map sheet, drawn after the diagram and on top of
// it: the inner frame, the 100 mm grid (full lines or crosses), the thick
// outer frame, the grid labels and the sheet texts (title block, remarks,
// notes, unit name, scale, adjoining-sheet table and the software line).
//
// Sheets bounded by meridians and parallels (the no-grid flag of the block)
// are not supported: such a sheet is drawn with its rectangular frame.
#pragma once

#include <string>

#include "common/settings_block.h"
#include "drawing/draw_context.h"
#include "drawing/entities.h"

namespace qp {

// How a grid style is drawn at the sheet's scale.
enum class FrameLayout {
  None,    // nothing is drawn (style 7 and above, negative styles)
  Simple,  // style 2: the two frame lines and the corner coordinates
  A,       // styles 0 and 1, and every gridded style at a non-standard scale
  B,       // styles 3 and 4 at a standard scale
  Mining,  // styles 5 and 6 at a standard scale
};

// True when the scale is one of the standard scales (within 0.05).
bool IsStandardScale(double scale);
FrameLayout FrameLayoutOf(int gridStyle, double scale);
// Styles 1, 4 and 6 draw crosses at the grid intersections instead of lines.
bool DrawsCrosses(int gridStyle);

// The label of a grid line at `coordinate` metres in the unit `labelUnit`
// (0 kilometres .. 3 metres), without the padding of its format; `shorten`
// applies to the lines between the first and the last.
std::string GridLabelText(double coordinate, int labelUnit, bool shorten);
// A corner coordinate of the simple frame: the last six characters of the
// kilometres with three decimals, "-" in front for a negative coordinate.
std::string CornerCoordinateText(double coordinate);

// Draws the frame and grid of `block` for its grid style. Draws nothing when
// the sheet is smaller than 100 mm, the scale differs from the applied scale
// or the block is damaged beyond drawing.
void DrawFrameAndGrid(EntityEmitter& out, const SettingsBlock& block, const DrawContext& context);

}  // namespace qp
