// What the picture writers (SVG, and the PDF and PNG of the Cairo writer)
// share when they set the renderer's figures: a text as one run of Song
// glyphs in a frame turned by the text direction, each character on its
// cell's baseline and stretched to the cell's width, and the dash patterns
// of the screen's pens.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "drawing/drawing_device.h"

namespace qp {

// The Song faces a picture asks for after the text's own face, most wanted
// first: the sheet is set in 宋体 on paper, and "AR PL UMing CN" is the one
// the build installs.
inline constexpr std::array<const char*, 5> kSongFaces = {"宋体", "SimSun", "AR PL UMing CN", "Noto Serif CJK SC",
                                                          "Source Han Serif SC"};

struct PictureFloatPoint {
  double x = 0, y = 0;
};

// A text's frame: the glyphs are turned counter-clockwise (as seen) by
// `angleDegrees`, and stretched horizontally by `stretch` (Song characters
// are as wide as they are high, a single-width one half that; the cell's
// width is reached by stretching). The baseline lies `ascent` pixels below a
// cell's top edge.
struct TextRunFrame {
  double angleDegrees = 0;
  double stretch = 1;
  double ascent = 0;
};

TextRunFrame TextRunFrameOf(const GlyphFont& font);

// The baseline origin of the character whose cell's top-left corner is
// `topLeft`, in screen pixels (x right, y down).
PictureFloatPoint BaselineOrigin(ScreenPoint topLeft, const TextRunFrame& frame);

// A screen point in the text's own frame: turned back by the angle, x
// divided by the stretch. A text element with transform="rotate(-angle)
// scale(stretch 1)" places its characters at these coordinates.
PictureFloatPoint InTextFrame(PictureFloatPoint screen, const TextRunFrame& frame);

// The width of a character's cell in pixels (a double-width character is two cells).
int CellWidth(std::string_view gbkCharacter, const GlyphFont& font);

// The on-off lengths of a pen's dashes in 1/96 inch (the screen's pixels);
// empty for solid and null pens.
std::span<const int> DashPattern(PenStyle style);

}  // namespace qp
