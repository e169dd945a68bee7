// The height network diagram: a curve with its direction arrow for every
// height difference, the kind's texts, loop closures, point symbols and
// names, emitted as entities in ground coordinates.
#pragma once

#include <string>

#include "drawing/draw_context.h"
#include "drawing/entities.h"
#include "drawing/movable_items.h"
#include "height/height_network.h"

namespace qp {

// The diagram of the network's current kind. With `items`, the movable texts
// and point symbols are listed as they are drawn.
void DrawHeightDiagram(EntityEmitter& out, const HeightNetwork& net, const DrawContext& context,
                       MovableItemList* items = nullptr);

// The diagram title of the current kind (GBK).
std::string BuildHeightDiagramTitle(const HeightNetwork& net);

}  // namespace qp
