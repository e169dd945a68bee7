// The sheet as a DXF drawing for CAD programs: ground coordinates with DXF x
// the easting (Y) and y the northing (X), one layer per entity category,
// texts in GBK with the drawing's code page ANSI_936.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/settings_block.h"
#include "drawing/entities.h"

namespace qp {

// Layer names of the entity categories (ASCII: safe in every CAD program).
inline constexpr const char* kDxfLineLayer = "QP_LINES";
inline constexpr const char* kDxfTextLayer = "QP_TEXTS";
inline constexpr const char* kDxfSymbolLayer = "QP_SYMBOLS";

// Writes what `draw` emits as a DXF (AutoCAD 2000) drawing to `path`, through
// a temporary file renamed over the target. Pen-less shapes (the white masks)
// are left out; fills are not carried. False, with the reason (GBK) in
// `error`, when the file cannot be written or a coordinate or size of the
// drawing lies beyond what a DXF file can hold (1e15 m): then no file is left.
bool WriteDxfPicture(const std::string& path, SettingsBlock& settings, const std::function<void(EntitySink&)>& draw,
                     std::string* error = nullptr);


}  // namespace qp
