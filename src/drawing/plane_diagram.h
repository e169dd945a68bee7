// The plane network diagram: sides, the kind's content (error ellipses,
// observation values, annotations), point symbols and names, emitted as
// entities in ground coordinates.
#pragma once

#include <string>

#include "drawing/draw_context.h"
#include "drawing/entities.h"
#include "drawing/movable_items.h"
#include "plane/plane_network.h"

namespace qp {

// The diagram of the network's current kind (its display mode). With `items`,
// the movable texts are listed as they are drawn.
void DrawPlaneDiagram(EntityEmitter& out, const PlaneNetwork& net, const DrawContext& context,
                      MovableItemList* items = nullptr);

// The diagram title of the current kind (GBK), written into the sheet's
// title slot before the frame is drawn.
std::string BuildPlaneDiagramTitle(const PlaneNetwork& net);

}  // namespace qp
