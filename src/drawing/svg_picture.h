// The whole map sheet as an SVG picture: the paper at its size in
// millimetres, every figure drawn by the same renderer as the screen and the
// printer (on a sheet re-derived at a fine resolution), texts kept as text
// so they stay sharp and searchable.
#pragma once

#include <functional>
#include <string>

#include "common/settings_block.h"
#include "drawing/entities.h"

namespace qp {

// The resolution the picture is drawn at: 600 dots per inch, less for papers
// so large that the canvas would exceed kMaxCanvasPixels.
double PictureResolution(const SettingsBlock& settings);

// Draws the entities that `drawEntities` sends (the diagram, then the frame)
// into an SVG file at `path`, written through a temporary file so a failure
// never leaves half a picture. Texts are placed from their ground reference
// points, so the entities may be emitted with the document's own sheet.
// False with the reason (GBK) in `error` when the sheet cannot be drawn or
// the file cannot be written.
bool WriteSvgPicture(const std::string& path, const SettingsBlock& settings,
                     const std::function<void(EntitySink&)>& drawEntities, std::string* error = nullptr);

// The same picture as a string (what WriteSvgPicture writes); empty with the
// reason in `error` when the sheet cannot be drawn.
std::string SvgPictureText(const SettingsBlock& settings, const std::function<void(EntitySink&)>& drawEntities,
                           std::string* error = nullptr);

}  // namespace qp
