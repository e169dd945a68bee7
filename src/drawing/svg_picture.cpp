#include "drawing/svg_picture.h"

#include <charconv>
#include <cstdio>
#include <span>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/picture_text.h"
#include "drawing/renderer.h"
#include "drawing/sheet_resolution.h"

namespace qp {
namespace {

// Song typefaces first, as the sheet is set on paper, then the generic serif.
const std::string& SongFamilies() {
  static const std::string families = [] {
    std::string list;
    for (const char* face : kSongFaces) list += std::string("'") + face + "', ";
    return list + "serif";
  }();
  return families;
}

void AppendInt(std::string& out, int v) {
  char buffer[16];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, r.ptr);
}

void AppendNumber(std::string& out, double v) {
  // Formatted without a fixed buffer: a damaged size may need hundreds of digits.
  const std::string text = Format("%.3f", v);
  std::string_view s(text);
  // Trim a fraction of zeros: 12.500 -> 12.5, 3.000 -> 3.
  if (s.find('.') != std::string_view::npos) {
    while (s.back() == '0') s.remove_suffix(1);
    if (s.back() == '.') s.remove_suffix(1);
  }
  out += s;
}

void AppendColour(std::string& out, Rgb c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r, c.g, c.b);
  out += buffer;
}

// UTF-8 text made safe inside an XML element or a double-quoted attribute.
void AppendEscaped(std::string& out, std::string_view utf8) {
  for (const char ch : utf8) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // Control characters are not allowed in XML 1.0.
        if (static_cast<unsigned char>(ch) < 0x20) out += ' ';
        else out += ch;
    }
  }
}

// The renderer's device for pictures: every call becomes one SVG element in
// device pixels of the picture's canvas.
class SvgDevice : public PictureDevice {
 public:
  SvgDevice(std::string& out, double resolution) : PictureDevice(resolution), out_(out) {}

  void Polyline(std::span<const ScreenPoint> points) override {
    if (style_ == PenStyle::Null || points.size() < 2) return;
    out_ += "<polyline fill=\"none\"";
    AppendStroke();
    AppendPoints(points);
  }

  void Polygon(std::span<const ScreenPoint> points) override {
    if (points.size() < 2 || (style_ == PenStyle::Null && !brush_)) return;
    out_ += "<polygon fill=\"";
    if (brush_) AppendColour(out_, *brush_);
    else out_ += "none";
    out_ += '"';
    if (style_ == PenStyle::Null) out_ += " stroke=\"none\"";
    else AppendStroke();
    AppendPoints(points);
  }

  // One <text> element: the characters at their own places (x and y lists
  // in the text's turned and stretched frame), the string itself in UTF-8.
  void Text(std::span<const PlacedGlyph> glyphs, const GlyphFont& font, Rgb colour, bool opaqueBackground) override {
    if (glyphs.empty()) return;
    const TextRunFrame frame = TextRunFrameOf(font);
    std::string transform;
    if (frame.angleDegrees != 0) {
      transform += "rotate(";
      AppendNumber(transform, -frame.angleDegrees);
      transform += ')';
    }
    if (frame.stretch != 1.0) {
      if (!transform.empty()) transform += ' ';
      transform += "scale(";
      AppendNumber(transform, frame.stretch);
      transform += " 1)";
    }
    const std::string transformAttribute = transform.empty() ? "" : " transform=\"" + transform + '"';
    if (opaqueBackground) {
      for (const PlacedGlyph& g : glyphs) {
        const PictureFloatPoint at = InTextFrame({double(g.topLeft.x), double(g.topLeft.y)}, frame);
        out_ += "<rect fill=\"#ffffff\"" + transformAttribute + " x=\"";
        AppendNumber(out_, at.x);
        out_ += "\" y=\"";
        AppendNumber(out_, at.y);
        out_ += "\" width=\"";
        AppendNumber(out_, CellWidth(g.gbkCharacter, font) / frame.stretch);
        out_ += "\" height=\"";
        AppendInt(out_, font.heightPx);
        out_ += "\"/>\n";
      }
    }
    std::string xs, ys, text;
    for (const PlacedGlyph& g : glyphs) {
      const PictureFloatPoint at = InTextFrame(BaselineOrigin(g.topLeft, frame), frame);
      if (!xs.empty()) xs += ' ', ys += ' ';
      AppendNumber(xs, at.x);
      AppendNumber(ys, at.y);
      // One character each: x and y give every character its place.
      const std::string utf8 = GbkToUtf8(g.gbkCharacter);
      text += utf8.empty() ? std::string("?") : utf8;
    }
    out_ += "<text xml:space=\"preserve\"" + transformAttribute + " x=\"" + xs + "\" y=\"" + ys + "\" font-size=\"";
    AppendInt(out_, font.heightPx);
    out_ += '"';
    if (font.weight != 700) {
      out_ += " font-weight=\"";
      AppendInt(out_, font.weight);
      out_ += '"';
    }
    const std::string face = GbkToUtf8(font.face);
    if (!face.empty() && face != kSongFaces[0]) {
      out_ += " font-family=\"'";
      AppendEscaped(out_, face);
      out_ += "', ";
      AppendEscaped(out_, SongFamilies());
      out_ += '"';
    }
    if (font.italic) out_ += " font-style=\"italic\"";
    if (font.underline || font.strikeOut) {
      out_ += " text-decoration=\"";
      if (font.underline) out_ += "underline";
      if (font.underline && font.strikeOut) out_ += ' ';
      if (font.strikeOut) out_ += "line-through";
      out_ += '"';
    }
    if (colour != Rgb{}) {
      out_ += " fill=\"";
      AppendColour(out_, colour);
      out_ += '"';
    }
    out_ += '>';
    AppendEscaped(out_, text);
    out_ += "</text>\n";
  }

 private:
  void AppendStroke() {
    out_ += " stroke=\"";
    AppendColour(out_, pen_);
    out_ += "\" stroke-width=\"";
    AppendInt(out_, width_);
    out_ += '"';
    // The dash patterns of the screen's pens, scaled to the picture's pixels.
    const std::span<const int> pattern = DashPattern(style_);
    if (pattern.empty()) return;
    out_ += " stroke-dasharray=\"";
    for (size_t i = 0; i < pattern.size(); ++i) {
      if (i) out_ += ' ';
      AppendNumber(out_, pattern[i] * dashUnit_);
    }
    out_ += '"';
  }

  void AppendPoints(std::span<const ScreenPoint> points) {
    out_ += " points=\"";
    for (size_t i = 0; i < points.size(); ++i) {
      if (i) out_ += ' ';
      AppendInt(out_, points[i].x);
      out_ += ',';
      AppendInt(out_, points[i].y);
    }
    out_ += "\"/>\n";
  }

  std::string& out_;
};

}  // namespace

std::string SvgPictureText(const SettingsBlock& settings, const SheetEntities& drawEntities, std::string* error) {
  auto sheet = PictureSheet(settings, PictureResolution(settings), error);
  if (!sheet) return {};
  const SheetGeometry& g = sheet->geometry;
  const double dpi = g.resolution;

  std::string svg;
  svg.reserve(1 << 20);
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
  AppendNumber(svg, g.canvasWidthPx / dpi * 25.4);
  svg += "mm\" height=\"";
  AppendNumber(svg, g.canvasHeightPx / dpi * 25.4);
  svg += "mm\" viewBox=\"0 0 ";
  AppendInt(svg, g.canvasWidthPx);
  svg += ' ';
  AppendInt(svg, g.canvasHeightPx);
  svg += "\">\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += "<g stroke-linecap=\"round\" stroke-linejoin=\"round\" font-weight=\"700\" fill=\"#000000\" font-family=\"";
  AppendEscaped(svg, SongFamilies());
  svg += "\">\n";

  SvgDevice device(svg, dpi);
  Renderer renderer(device, RenderSettingsFor(g, settings.opaqueTextBackground != 0));
  drawEntities(renderer, sheet->block);

  svg += "</g>\n</svg>\n";
  return svg;
}

bool WriteSvgPicture(const std::string& path, const SettingsBlock& settings, const SheetEntities& drawEntities,
                     std::string* error) {
  std::string svg = SvgPictureText(settings, drawEntities, error);
  if (svg.empty()) return false;
  if (!WriteFileAtomically(path, svg)) {
    if (error) *error = FormatText("无法写入图形文件 %s", path.c_str());
    return false;
  }
  return true;
}

}  // namespace qp
