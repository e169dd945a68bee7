// The frame and grid of the map sheet, drawn after the diagram and on top of
// it: the inner frame, the 100 mm grid (full lines or crosses), the thick
// outer frame, the grid labels and the sheet texts (title block, remarks,
// notes, unit name, scale, adjoining-sheet table and the software line).
//
// Sheets bounded by meridians and parallels (the no-grid flag of the block)
// are not supported: such a sheet is drawn with its rectangular frame.
//
// Where the frame texts go (paper millimetres; "the band" is the strip of
// frame spacing between the inner and the outer frame line):
// - Grid labels of the A and B layouts and the simple frame's corner
//   coordinates sit in the band, 1 mm from the inner line and at least 1 mm
//   from the axis of the 0.8 mm outer line. Column labels (and the corners'
//   Y) run west to east in the south and north bands. Row labels (and the
//   corners' X) run west to east in the west and east bands when the longest
//   of them fits across the band, else all of them read northwards along the
//   band. A label font taller than the band allows puts every label of the
//   sheet just inside the inner frame instead (1 mm from it, the row labels
//   clear of the column labels in the corners), so no label is ever struck
//   through by a frame line, whatever the unit or the font.
// - Along its side a label is centred on its line (A layout) or sits 0.5 mm
//   beside it, after the line and before it for the last line (B layout,
//   beside the line's tick; simple frame, running away from the corner); it
//   never reaches past 0.5 mm short of the ends of the sheet's side.
// - Mining layout: every label inside the sheet, (label height + 2) mm from
//   the frame, beside its line.
// - Remarks: left column under the bottom frame line. Notes: a left-aligned
//   column whose longest line ends at the east frame line, headed by "附注:"
//   on the first note line's level, 1 mm before the column (the note lines
//   keep their fixed places, and the paper under the frame has no room for a
//   line of its own above them).
// - Every sheet text that would leave the paper is moved onto it.
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

FrameLayout FrameLayoutOf(int gridStyle, double scale);

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
