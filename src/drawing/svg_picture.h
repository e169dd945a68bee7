// The whole map sheet as an SVG picture: the paper at its size in
// millimetres, every figure drawn by the same renderer as the screen and the
// printer (on a sheet re-derived at a fine resolution), each text one <text>
// element with its characters at the renderer's places, so a name can be
// found, selected and edited in a picture editor.
#pragma once

#include <string>

#include "common/settings_block.h"
#include "drawing/picture_sheet.h"

namespace qp {

// Draws the entities that `drawEntities` sends on the sheet re-derived at
// PictureResolution into an SVG file at `path`, written through a temporary
// file so a failure never leaves half a picture. False with the reason (GBK)
// in `error` when the sheet cannot be drawn or the file cannot be written.
bool WriteSvgPicture(const std::string& path, const SettingsBlock& settings, const SheetEntities& drawEntities,
                     std::string* error = nullptr);

// The same picture as a string (what WriteSvgPicture writes); empty with the
// reason in `error` when the sheet cannot be drawn.
std::string SvgPictureText(const SettingsBlock& settings, const SheetEntities& drawEntities,
                           std::string* error = nullptr);

}  // namespace qp
