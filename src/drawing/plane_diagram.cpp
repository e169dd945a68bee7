#include "drawing/plane_diagram.h"

namespace qp {

// Placeholder until the plane diagram is built: draws nothing.
void DrawPlaneDiagram(EntityEmitter&, const PlaneNetwork&, const DrawContext&, MovableItemList*) {}
std::string BuildPlaneDiagramTitle(const PlaneNetwork&) { return {}; }

}  // namespace qp
