// The sheet as the picture writers draw it: the document's settings
// re-derived for the picture's resolution, and the emission of the sheet's
// entities into that block, so that the white mask outside the inner frame
// covers exactly the picture's own canvas, as on a printed page.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/settings_block.h"
#include "drawing/entities.h"
#include "drawing/sheet_resolution.h"

namespace qp {

// Emits the sheet (the diagram, then the frame and grid) into the sink,
// drawn on `sheet`: the settings the picture derived for its resolution.
using SheetEntities = std::function<void(EntitySink& sink, SettingsBlock& sheet)>;

// The resolution a vector picture is drawn at: 600 dots per inch, less for
// papers so large that the canvas would exceed kMaxCanvasPixels.
double PictureResolution(const SettingsBlock& settings);

// The sheet at `dotsPerInch`; nothing, with "图幅设置数据错误(reason),无法绘制图形"
// (GBK) in `error`, when it cannot be drawn at that resolution.
std::optional<DeviceSheet> PictureSheet(const SettingsBlock& settings, double dotsPerInch, std::string* error);

}  // namespace qp
