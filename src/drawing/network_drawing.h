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

// The network a sheet is drawn for: a plane or a height model, or neither
// (the frame and grid alone).
struct DrawnNetwork {
  const PlaneModel* plane = nullptr;
  const HeightModel* height = nullptr;
  DrawnNetwork() = default;
  DrawnNetwork(const PlaneModel& model) : plane(&model) {}
  DrawnNetwork(const HeightModel& model) : height(&model) {}
};

// Writes the diagram title of the network's current kind into the sheet's
// title slot (12); a plane network without results is titled plainly
// "未解算:控制网图" rather than as adjusted or estimated. Nothing for neither.
void UpdateDiagramTitle(SettingsBlock& settings, DrawnNetwork network);

// Emits the diagram of the network and the frame and grid, with m = scale x
// 0.001; the title is the one `settings` holds. False, with nothing emitted,
// when the sheet of `settings` cannot be drawn (a damaged block).
bool DrawNetworkSheet(EntitySink& sink, const SettingsBlock& settings, DrawnNetwork network,
                      const DrawContext& context, MovableItemList* items = nullptr);

}  // namespace qp
