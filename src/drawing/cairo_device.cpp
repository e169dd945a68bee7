#include "drawing/cairo_device.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/gbk_text.h"

namespace qp {
namespace {

void SetColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

// Fontconfig's best face for the text's own face, then the Song faces, then
// any serif face that has the Chinese characters.
cairo_font_face_t* MatchSongFace(const std::string& faceUtf8, int weight, bool italic) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  auto add = [&](const char* family) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  };
  if (!faceUtf8.empty()) add(faceUtf8.c_str());
  for (const char* family : kSongFaces) add(family);
  add("serif");
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight, 1, 1000)));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return nullptr;
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  return face;
}

}  // namespace

CairoDevice::CairoDevice(cairo_t* cr, double dotsPerInch) : PictureDevice(dotsPerInch), cr_(cr) {
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

CairoDevice::~CairoDevice() {
  for (auto& [key, face] : faces_) cairo_font_face_destroy(face);
}

void CairoDevice::Path(std::span<const ScreenPoint> points, bool closed) {
  cairo_new_path(cr_);
  cairo_move_to(cr_, points[0].x, points[0].y);
  for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].x, points[i].y);
  if (closed) cairo_close_path(cr_);
}

void CairoDevice::Stroke() {
  SetColour(cr_, pen_);
  cairo_set_line_width(cr_, std::max(1, width_));
  dashes_.clear();
  for (const int d : DashPattern(style_)) dashes_.push_back(d * dashUnit_);
  cairo_set_dash(cr_, dashes_.data(), static_cast<int>(dashes_.size()), 0);
  cairo_stroke(cr_);
}

void CairoDevice::Polyline(std::span<const ScreenPoint> points) {
  if (style_ == PenStyle::Null || points.size() < 2) return;
  Path(points, false);
  Stroke();
}

void CairoDevice::Polygon(std::span<const ScreenPoint> points) {
  if (points.size() < 2 || (style_ == PenStyle::Null && !brush_)) return;
  Path(points, true);
  if (brush_) {
    SetColour(cr_, *brush_);
    if (style_ == PenStyle::Null) {
      cairo_fill(cr_);
      return;
    }
    cairo_fill_preserve(cr_);
  }
  Stroke();
}

cairo_font_face_t* CairoDevice::Face(const GlyphFont& font) {
  const std::string face = GbkToUtf8(font.face);
  const std::string key = face + '\n' + std::to_string(font.weight) + (font.italic ? "i" : "");
  if (auto it = faces_.find(key); it != faces_.end()) return it->second;
  cairo_font_face_t* made = MatchSongFace(face, font.weight, font.italic);
  if (!made || cairo_font_face_status(made) != CAIRO_STATUS_SUCCESS) {
    if (made) cairo_font_face_destroy(made);
    made = cairo_toy_font_face_create("serif", font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                      font.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  }
  faces_.emplace(key, made);
  return made;
}

void CairoDevice::Text(std::span<const PlacedGlyph> glyphs, const GlyphFont& font, Rgb colour,
                       bool opaqueBackground) {
  if (glyphs.empty() || font.heightPx <= 0) return;
  const TextRunFrame frame = TextRunFrameOf(font);
  const double a = frame.angleDegrees * std::numbers::pi / 180.0;
  const double alongX = std::cos(a), alongY = -std::sin(a);  // reading direction on screen
  const double downX = std::sin(a), downY = std::cos(a);
  auto cellPath = [&](const PlacedGlyph& g) {
    const double w = CellWidth(g.gbkCharacter, font), h = font.heightPx;
    cairo_new_path(cr_);
    cairo_move_to(cr_, g.topLeft.x, g.topLeft.y);
    cairo_rel_line_to(cr_, w * alongX, w * alongY);
    cairo_rel_line_to(cr_, h * downX, h * downY);
    cairo_rel_line_to(cr_, -w * alongX, -w * alongY);
    cairo_close_path(cr_);
  };
  if (opaqueBackground) {
    cairo_set_source_rgb(cr_, 1, 1, 1);
    for (const PlacedGlyph& g : glyphs) {
      cellPath(g);
      cairo_fill(cr_);
    }
  }

  cairo_set_font_face(cr_, Face(font));
  cairo_matrix_t m;
  cairo_matrix_init_rotate(&m, -a);
  cairo_matrix_scale(&m, font.heightPx * frame.stretch, font.heightPx);
  cairo_set_font_matrix(cr_, &m);
  cairo_scaled_font_t* scaled = cairo_get_scaled_font(cr_);

  // Every character its own cluster: its glyphs at its baseline origin.
  std::string utf8;
  std::vector<cairo_glyph_t> placed;
  std::vector<cairo_text_cluster_t> clusters;
  for (const PlacedGlyph& g : glyphs) {
    std::string character = GbkToUtf8(g.gbkCharacter);
    if (character.empty() || static_cast<unsigned char>(character[0]) < 0x20) character = " ";
    cairo_glyph_t* list = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(scaled, 0, 0, character.data(), static_cast<int>(character.size()), &list,
                                         &count, nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
      continue;
    }
    const PictureFloatPoint origin = BaselineOrigin(g.topLeft, frame);
    for (int k = 0; k < count; ++k) placed.push_back(cairo_glyph_t{list[k].index, origin.x, origin.y});
    cairo_glyph_free(list);
    clusters.push_back(cairo_text_cluster_t{static_cast<int>(character.size()), count});
    utf8 += character;
  }
  SetColour(cr_, colour);
  if (!placed.empty()) {
    cairo_show_text_glyphs(cr_, utf8.data(), static_cast<int>(utf8.size()), placed.data(),
                           static_cast<int>(placed.size()), clusters.data(), static_cast<int>(clusters.size()),
                           cairo_text_cluster_flags_t{});
  }
  if (font.underline || font.strikeOut) {
    cairo_set_line_width(cr_, std::max(1.0, font.heightPx / 16.0));
    cairo_set_dash(cr_, nullptr, 0, 0);
    for (const PlacedGlyph& g : glyphs) {
      const PictureFloatPoint origin = BaselineOrigin(g.topLeft, frame);
      const double w = CellWidth(g.gbkCharacter, font);
      for (const double below : {font.underline ? 0.08 : NAN, font.strikeOut ? -0.3 : NAN}) {
        if (std::isnan(below)) continue;
        const double x = origin.x + below * font.heightPx * downX, y = origin.y + below * font.heightPx * downY;
        cairo_new_path(cr_);
        cairo_move_to(cr_, x, y);
        cairo_rel_line_to(cr_, w * alongX, w * alongY);
        cairo_stroke(cr_);
      }
    }
  }
}

}  // namespace qp
