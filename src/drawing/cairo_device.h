// The renderer's device on a Cairo context: pens and brushes as Cairo
// strokes and fills, and every text as one run of glyphs of a Song face
// chosen through fontconfig, each character at the renderer's place, with
// the text's characters attached so a PDF keeps it as searchable text.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "drawing/picture_text.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_font_face cairo_font_face_t;

namespace qp {

class CairoDevice : public PictureDevice {
 public:
  // Draws in the context's user units, taken as pixels of a canvas at
  // `dotsPerInch` (the dash lengths follow the resolution). Not owned.
  CairoDevice(cairo_t* cr, double dotsPerInch);
  ~CairoDevice() override;
  CairoDevice(const CairoDevice&) = delete;
  CairoDevice& operator=(const CairoDevice&) = delete;

  void Polyline(std::span<const ScreenPoint> points) override;
  void Polygon(std::span<const ScreenPoint> points) override;
  void Text(std::span<const PlacedGlyph> glyphs, const GlyphFont& font, Rgb colour, bool opaqueBackground) override;

 private:
  void Path(std::span<const ScreenPoint> points, bool closed);
  void Stroke();
  // The face for a text's face name (GBK), weight and slant; cached.
  cairo_font_face_t* Face(const GlyphFont& font);

  cairo_t* cr_;
  std::map<std::string, cairo_font_face_t*> faces_;
  std::vector<double> dashes_;
};

}  // namespace qp
