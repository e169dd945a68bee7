#include "drawing/network_drawing.h"

#include "common/gbk_text.h"
#include "drawing/drawing_parts.h"
#include "drawing/frame_and_grid.h"
#include "drawing/height_diagram.h"
#include "drawing/plane_diagram.h"

namespace qp {

namespace {

std::string PlaneTitle(const PlaneModel& model) {
  return model.HoldsResults() ? BuildPlaneDiagramTitle(model) : Gbk("未解算:控制网图");
}

}  // namespace

void UpdateDiagramTitle(SettingsBlock& settings, DrawnNetwork network) {
  if (network.plane) SetSheetText(settings, kDiagramTitleSlot, PlaneTitle(*network.plane));
  else if (network.height) SetSheetText(settings, kDiagramTitleSlot, BuildHeightDiagramTitle(*network.height));
}

bool DrawNetworkSheet(EntitySink& sink, const SettingsBlock& settings, DrawnNetwork network,
                      const DrawContext& context, MovableItemList* items) {
  const auto sheet = SheetGeometryOf(settings);
  if (!sheet) return false;
  // The movable items tell the point names among the diagram's texts.
  MovableItemList listed;
  MovableItemList* list = items ? items : &listed;
  PointNameTagger diagram(sink, *list);
  EntityEmitter out(diagram, *sheet);
  if (network.plane) {
    DrawPlaneDiagram(out, *network.plane, context, list);
  } else if (network.height) {
    DrawHeightDiagram(out, *network.height, context, list);
  }
  diagram.Finish();
  sink.BeginPart(DrawingPart::Frame);
  EntityEmitter frame(sink, *sheet);
  DrawFrameAndGrid(frame, settings, context);
  sink.BeginPart(DrawingPart::Diagram);
  return true;
}

}  // namespace qp
