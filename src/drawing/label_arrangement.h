// "注记整理": every text of the current diagram whose place is stored with
// the network (plane point names and traverse closure texts, height point
// names and loop closure texts) is moved to the best free place near where
// it belongs, as if the user had moved it with the text-move tool.
//
// Each text is tried at its current place, at its default place and on a
// ring around its anchor (16 directions at 3 distances; a name's anchor is
// its point, a closure text's its default place). A place is judged by what
// the text meets on the sheet, from the same entity stream every output
// gets: other texts (most of all when they overprint), point symbols, lines,
// the inner frame; among equally good places the one nearest the default
// wins, then the one tried first. The texts are placed in drawing order,
// each against the others' current places, in up to three rounds; the
// result depends on nothing but the network and the sheet.
//
// A text the user placed by hand (marked in `marks` at the value it still
// holds) stays where it is unless it lies on another text or a symbol.
// Arranged texts are not marked. The height differences' texts and the
// point symbols are left alone: moving them would bend the curves and shift
// the diagram, which is the user's choice, not a matter of legibility; they
// count as obstacles like every other entity.
#pragma once

#include <optional>

#include "common/settings_block.h"
#include "drawing/draw_context.h"
#include "drawing/label_marks.h"
#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

// The number of texts moved, or nothing (and nothing changed) when the sheet
// of `settings` cannot be drawn. The title `settings` holds is an obstacle
// like every other text of the sheet.
std::optional<int> ArrangePlaneLabels(const SettingsBlock& settings, PlaneModel& model, const LabelMarks& marks,
                                      const DrawContext& context);
std::optional<int> ArrangeHeightLabels(const SettingsBlock& settings, HeightModel& model, const LabelMarks& marks,
                                       const DrawContext& context);

}  // namespace qp
