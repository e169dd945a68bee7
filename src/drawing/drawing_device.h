// The small device the renderer draws on: a pen, a brush, polylines and
// polygons in screen pixels, and texts laid out character by character. The
// desktop view implements it with QPainter (screen, printer); the picture
// writers keep each text whole (SVG, PDF, PNG); the tests record what is drawn.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "drawing/drawing_tables.h"

namespace qp {

// A screen (device) pixel: x to the right, y downwards, before the view's
// scroll origin is applied.
struct ScreenPoint {
  int x = 0, y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct GlyphFont {
  std::string_view face;  // GBK face name of the text block ("宋体" on the sheet)
  int heightPx = 0;       // character cell height
  int widthPx = 0;        // character cell width (a double-width character is two cells)
  int weight = 700;
  int escapementTenths = 0;  // text direction, tenths of a degree counter-clockwise from east
  bool italic = false, underline = false, strikeOut = false;
};

// One character of a text as the renderer placed it.
struct PlacedGlyph {
  ScreenPoint topLeft;           // top-left corner of the character's cell
  std::string_view gbkCharacter; // one GBK byte or a double-byte pair
};

class DrawingDevice {
 public:
  virtual ~DrawingDevice() = default;
  virtual void SetPen(Rgb colour, PenStyle style, int widthPx) = 0;
  // No colour: polygons are drawn as outlines only.
  virtual void SetBrush(std::optional<Rgb> fill) = 0;
  virtual void Polyline(std::span<const ScreenPoint> points) = 0;
  // Closed polygon through the points, filled with the brush when one is set.
  virtual void Polygon(std::span<const ScreenPoint> points) = 0;
  // One character (one GBK byte or a double-byte pair) with the top-left
  // corner of its cell at `topLeft`, turned by the font's escapement.
  virtual void Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& font, Rgb colour,
                     bool opaqueBackground) = 0;
  // A whole text: its characters (those inside the canvas) at the places the
  // renderer laid them out, in one font and colour. Devices that keep a text
  // as one piece (pictures, where it is found and edited as a whole)
  // override it; by default each character is drawn on its own.
  virtual void Text(std::span<const PlacedGlyph> glyphs, const GlyphFont& font, Rgb colour, bool opaqueBackground) {
    for (const PlacedGlyph& g : glyphs) Glyph(g.topLeft, g.gbkCharacter, font, colour, opaqueBackground);
  }
};

}  // namespace qp
