// The height network diagram: a curve with its direction arrow for every
// height difference, the kind's texts, loop closures, point symbols and
// names, emitted as entities in ground coordinates.
#pragma once

#include <string>

#include "drawing/draw_context.h"
#include "drawing/entities.h"
#include "drawing/movable_items.h"
#include "height/height_model.h"

namespace qp {

// The diagram of the network's current kind. With `items`, the movable texts
// and point symbols are listed as they are drawn.
//
// Movable items and what their index means: HeightName and HeightPoint, the
// point; DifferenceText, the height difference; LoopLabel, the closure-table
// entry. A point symbol's reference is its centre, a text's its top-left
// corner (a closure text's top-left corner is the entry's label position).
//
// Kind 1 draws the height differences in `context.flagged` red: curve, arrow
// and observation text.
void DrawHeightDiagram(EntityEmitter& out, const HeightModel& net, const DrawContext& context,
                       MovableItemList* items = nullptr);

// The diagram title of the current kind (GBK).
std::string BuildHeightDiagramTitle(const HeightModel& net);

}  // namespace qp
