// The sheet as a DXF drawing for CAD programs: ground coordinates with DXF x
// the easting (Y) and y the northing (X), one layer for each part a user
// hides on its own (lines, point symbols, point names, value texts, the
// frame), texts in GBK with the drawing's code page ANSI_936 in a TrueType
// Song style, and the point symbols filled where the sheet fills them.
#pragma once

#include <functional>
#include <string>

#include "common/settings_block.h"
#include "drawing/entities.h"

namespace qp {

// Layer names (ASCII: safe in every CAD program). Lines: sides, levelling
// lines and their arrows, ellipses; symbols: the point symbols and the pair
// lines of the breakthrough warning; names: the point names; values: every
// other diagram text; frame: the frame, grid, labels, title and notes.
inline constexpr const char* kDxfLineLayer = "QP_LINES";
inline constexpr const char* kDxfSymbolLayer = "QP_SYMBOLS";
inline constexpr const char* kDxfNameLayer = "QP_NAMES";
inline constexpr const char* kDxfValueLayer = "QP_VALUES";
inline constexpr const char* kDxfFrameLayer = "QP_FRAME";

// The text style every text uses: a TrueType style naming the Song face
// (font file simsun.ttf, family 宋体); a CAD program without that font
// substitutes its own CJK face.
inline constexpr const char* kDxfTextStyle = "QP_SONG";
inline constexpr const char* kDxfSongFontFile = "simsun.ttf";

// Writes what `draw` emits as a DXF (AutoCAD 2000) drawing to `path`, through
// a temporary file renamed over the target. The frame's pen-less shapes (the
// white masks of a picture) are left out; a filled shape gets a solid HATCH
// of its fill colour under its outline. False, with the reason (GBK) in
// `error`, when the file cannot be written or a coordinate or size of the
// drawing lies beyond what a DXF file can hold (1e15 m): then no file is left.
bool WriteDxfPicture(const std::string& path, SettingsBlock& settings, const std::function<void(EntitySink&)>& draw,
                     std::string* error = nullptr);


}  // namespace qp
