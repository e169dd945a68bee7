// One network's whole sheet as every sink receives it: the diagram of the
// network's current kind, then the frame and grid on top.
#pragma once

#include "common/settings_block.h"
#include "drawing/draw_context.h"
#include "drawing/entities.h"
#include "drawing/movable_items.h"
#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

// Writes the diagram title of the network's current kind into the sheet's
// title slot (12); a plane network without results is titled plainly
// "未解算:控制网图" rather than as adjusted or estimated. A plane network is
// taken when both are given.
void UpdateDiagramTitle(SettingsBlock& settings, const PlaneModel* plane, const HeightModel* height);

// Writes the title, then emits the diagram (the plane one when `plane` is
// given, else the height one when `height` is) and the frame and grid, with
// m = scale x 0.001. False, with nothing emitted, when the sheet of
// `settings` cannot be drawn (a damaged block).
bool DrawNetworkSheet(EntitySink& sink, SettingsBlock& settings, const PlaneModel* plane, const HeightModel* height,
                      const DrawContext& context, MovableItemList* items = nullptr);

}  // namespace qp
