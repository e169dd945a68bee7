#include "drawing/network_drawing.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/gbk_text.h"
#include "drawing/drawing_parts.h"
#include "drawing/frame_and_grid.h"
#include "drawing/height_diagram.h"
#include "drawing/plane_diagram.h"
#include "height/height_model_record.h"

namespace qp {

bool PlaneNetworkHasResults(const PlaneNetwork& net) {
  const auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
  if (positive(net.sigma0)) return true;
  const int points = std::clamp<int32_t>(net.pointCount, 0, kMaxPlanePoints);
  for (int i = 0; i < points; ++i)
    if (positive(net.pointE[i]) || positive(net.pointF[i])) return true;
  return false;
}

namespace {

void UpdateTitle(SettingsBlock& settings, const PlaneNetwork* plane, const HeightModel* height) {
  if (plane && !PlaneNetworkHasResults(*plane)) SetSheetText(settings, kDiagramTitleSlot, Gbk("未解算:控制网图"));
  else if (plane) SetSheetText(settings, kDiagramTitleSlot, BuildPlaneDiagramTitle(*plane));
  else if (height) SetSheetText(settings, kDiagramTitleSlot, BuildHeightDiagramTitle(*height));
}

}  // namespace

void UpdateDiagramTitle(SettingsBlock& settings, const PlaneNetwork* plane, const HeightNetwork* height) {
  const std::optional<HeightModel> model = height ? std::optional(HeightModelFromRecord(*height)) : std::nullopt;
  UpdateTitle(settings, plane, model ? &*model : nullptr);
}

bool DrawNetworkSheet(EntitySink& sink, SettingsBlock& settings, const PlaneNetwork* plane,
                      const HeightNetwork* height, const DrawContext& context, MovableItemList* items) {
  const auto sheet = SheetGeometryOf(settings);
  if (!sheet) return false;
  const std::optional<HeightModel> model = height ? std::optional(HeightModelFromRecord(*height)) : std::nullopt;
  UpdateTitle(settings, plane, model ? &*model : nullptr);
  // The movable items tell the point names among the diagram's texts.
  MovableItemList listed;
  MovableItemList* list = items ? items : &listed;
  PointNameTagger diagram(sink, *list);
  EntityEmitter out(diagram, *sheet);
  if (plane) DrawPlaneDiagram(out, *plane, context, list);
  else if (model) DrawHeightDiagram(out, *model, context, list);
  diagram.Finish();
  sink.BeginPart(DrawingPart::Frame);
  EntityEmitter frame(sink, *sheet);
  DrawFrameAndGrid(frame, settings, context);
  sink.BeginPart(DrawingPart::Diagram);
  return true;
}

}  // namespace qp
