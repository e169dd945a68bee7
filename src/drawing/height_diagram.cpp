#include "drawing/height_diagram.h"

namespace qp {

// Placeholder until the height diagram is built: draws nothing.
void DrawHeightDiagram(EntityEmitter&, const HeightNetwork&, const DrawContext&, MovableItemList*) {}
std::string BuildHeightDiagramTitle(const HeightNetwork&) { return {}; }

}  // namespace qp
