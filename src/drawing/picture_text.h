// What the picture writers (SVG, and the PDF and PNG of the Cairo writer)
// share when they set the renderer's figures: a text as one run of Song
// glyphs in a frame turned by the text direction, each character on its
// cell's baseline and stretched to the cell's width, and the dash patterns
// of the screen's pens.
#pragma once

#include <array>
#include <optional>
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

// A picture writer's device: the pen and brush the renderer last set, and a
// lone character drawn as a text of one.
class PictureDevice : public DrawingDevice {
 public:
  // `dotsPerInch` of the picture's canvas (the dash lengths follow it).
  explicit PictureDevice(double dotsPerInch) : dashUnit_(dotsPerInch / 96.0) {}

  void SetPen(Rgb colour, PenStyle style, int widthPx) override {
    pen_ = colour;
    style_ = style;
    width_ = widthPx;
  }
  void SetBrush(std::optional<Rgb> fill) override { brush_ = fill; }
  void Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& font, Rgb colour,
             bool opaqueBackground) override {
    const PlacedGlyph one{topLeft, gbkCharacter};
    Text(std::span(&one, 1), font, colour, opaqueBackground);
  }

 protected:
  double dashUnit_;  // picture pixels per screen pixel of a dash pattern
  Rgb pen_;
  PenStyle style_ = PenStyle::Solid;
  int width_ = 1;
  std::optional<Rgb> brush_;
};

}  // namespace qp
