#include "network_drawing_check.h"

#include "drawing/draw_context.h"
#include "drawing/network_drawing.h"
#include "drawing/renderer.h"
#include "drawing/sheet_geometry.h"
#include "fuzz_support.h"

namespace qp::fuzz {

bool DrawAndCheck(const SettingsBlock& settings, DrawnNetwork network) {
  CountingDevice device;
  const DrawContext context;
  const std::optional<SheetGeometry> sheet = SheetGeometryOf(settings);
  if (!sheet) {
    CheckingSink nothing(nullptr, true);
    FUZZ_CHECK(!DrawNetworkSheet(nothing, settings, network, context), "a damaged sheet drawn");
    FUZZ_CHECK(nothing.entities == 0, "entities emitted for a sheet that cannot be drawn");
    return false;
  }
  Renderer renderer(device, RenderSettingsFor(*sheet));
  CheckingSink sink(&renderer, true);
  FUZZ_CHECK(DrawNetworkSheet(sink, settings, network, context), "a drawable sheet refused");
  return true;
}

}  // namespace qp::fuzz
