// The height network diagram: a curve with its direction arrow for every
// height difference, the kind's texts, loop closures, point symbols and
// names, emitted as entities in ground coordinates.
#pragma once

#include <string>

#include "drawing/draw_context.h"
#include "drawing/entities.h"
#include "height/height_network.h"

namespace qp {

// The diagram of the network's current kind.
void DrawHeightDiagram(EntityEmitter& out, const HeightNetwork& net, const DrawContext& context);

// The diagram title of the current kind (GBK).
std::string BuildHeightDiagramTitle(const HeightNetwork& net);

}  // namespace qp
