#include "drawing/network_drawing.h"

#include "drawing/frame_and_grid.h"
#include "drawing/height_diagram.h"
#include "drawing/plane_diagram.h"

namespace qp {

void UpdateDiagramTitle(SettingsBlock& settings, const PlaneNetwork* plane, const HeightNetwork* height) {
  if (plane) SetSheetText(settings, kDiagramTitleSlot, BuildPlaneDiagramTitle(*plane));
  else if (height) SetSheetText(settings, kDiagramTitleSlot, BuildHeightDiagramTitle(*height));
}

bool DrawNetworkSheet(EntitySink& sink, SettingsBlock& settings, const PlaneNetwork* plane,
                      const HeightNetwork* height, const DrawContext& context, MovableItemList* items) {
  const auto sheet = SheetGeometryOf(settings);
  if (!sheet) return false;
  UpdateDiagramTitle(settings, plane, height);
  EntityEmitter out(sink, *sheet);
  if (plane) DrawPlaneDiagram(out, *plane, context, items);
  else if (height) DrawHeightDiagram(out, *height, context, items);
  DrawFrameAndGrid(out, settings, context);
  return true;
}

}  // namespace qp
