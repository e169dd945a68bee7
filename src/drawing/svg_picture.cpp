#include "drawing/svg_picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <span>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/drawing_device.h"
#include "drawing/renderer.h"
#include "drawing/sheet_resolution.h"

namespace qp {
namespace {

constexpr double kFinePictureResolution = 600.0;
// Song typefaces first, as the sheet is set on paper, then common serif CJK faces.
constexpr const char* kSongFallbacks = "'宋体', 'SimSun', 'AR PL UMing CN', 'Noto Serif CJK SC', 'Source Han Serif SC', serif";
// Where the baseline of a Song character lies below the top of its cell, in cell heights.
constexpr double kSongAscent = 0.86;

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
class SvgDevice : public DrawingDevice {
 public:
  SvgDevice(std::string& out, double resolution) : out_(out), dashUnit_(resolution / 96.0) {}

  void SetPen(Rgb colour, PenStyle style, int widthPx) override {
    pen_ = colour;
    style_ = style;
    width_ = widthPx;
  }
  void SetBrush(std::optional<Rgb> fill) override { brush_ = fill; }

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

  void Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& font, Rgb colour,
             bool opaqueBackground) override {
    const bool doubleWidth = gbkCharacter.size() == 2 && static_cast<unsigned char>(gbkCharacter[1]) >= 0x80;
    const int cellWidth = doubleWidth ? 2 * font.widthPx : font.widthPx;
    // Song characters are as wide as they are high (a single-width one half
    // that); the cell's own width is reached by stretching.
    const double natural = doubleWidth ? font.heightPx : font.heightPx / 2.0;
    const double stretch = natural > 0 ? cellWidth / natural : 1.0;

    std::string transform = "translate(";
    AppendInt(transform, topLeft.x);
    transform += ' ';
    AppendInt(transform, topLeft.y);
    transform += ')';
    if (font.escapementTenths != 0) {
      transform += " rotate(";
      AppendNumber(transform, -font.escapementTenths / 10.0);
      transform += ')';
    }
    if (opaqueBackground) {
      out_ += "<rect fill=\"#ffffff\" transform=\"" + transform + "\" width=\"";
      AppendInt(out_, cellWidth);
      out_ += "\" height=\"";
      AppendInt(out_, font.heightPx);
      out_ += "\"/>\n";
    }
    out_ += "<text transform=\"" + transform;
    if (stretch != 1.0) {
      out_ += " scale(";
      AppendNumber(out_, stretch);
      out_ += " 1)";
    }
    out_ += "\" y=\"";
    AppendNumber(out_, font.heightPx * kSongAscent);
    out_ += "\" font-size=\"";
    AppendInt(out_, font.heightPx);
    out_ += '"';
    if (font.weight != 700) {
      out_ += " font-weight=\"";
      AppendInt(out_, font.weight);
      out_ += '"';
    }
    const std::string face = GbkToUtf8(font.face);
    if (!face.empty() && face != "宋体") {
      out_ += " font-family=\"'";
      AppendEscaped(out_, face);
      out_ += "', ";
      AppendEscaped(out_, kSongFallbacks);
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
    AppendEscaped(out_, GbkToUtf8(gbkCharacter));
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
    static constexpr int kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                         kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    std::span<const int> pattern;
    switch (style_) {
      case PenStyle::Dash: pattern = kDash; break;
      case PenStyle::Dot: pattern = kDot; break;
      case PenStyle::DashDot: pattern = kDashDot; break;
      case PenStyle::DashDotDot: pattern = kDashDotDot; break;
      default: return;
    }
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
  double dashUnit_;
  Rgb pen_;
  PenStyle style_ = PenStyle::Solid;
  int width_ = 1;
  std::optional<Rgb> brush_;
};

}  // namespace

double PictureResolution(const SettingsBlock& settings) {
  const double longest = std::max(PaperHeightMillimetres(settings), PaperWidthMillimetres(settings));
  if (longest <= 0) return kFinePictureResolution;
  // Stay a little inside the canvas limit.
  const double largest = std::floor((kMaxCanvasPixels - 64) / (longest * 0.03937007874015748));
  return std::min(kFinePictureResolution, largest);
}

std::string SvgPictureText(const SettingsBlock& settings, const std::function<void(EntitySink&)>& drawEntities,
                           std::string* error) {
  std::string why;
  const auto sheet = DeriveSheetForResolution(settings, PictureResolution(settings), &why);
  if (!sheet || sheet->geometry.canvasHeightPx <= 0 || sheet->geometry.canvasWidthPx <= 0) {
    if (error) *error = FormatText("图幅设置数据错误(%s),无法绘制图形", why.empty() ? "canvas size" : why.c_str());
    return {};
  }
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
  AppendEscaped(svg, kSongFallbacks);
  svg += "\">\n";

  SvgDevice device(svg, dpi);
  RenderSettings render = RenderSettingsFor(g, settings.opaqueTextBackground != 0);
  render.lineWidths = sheet->lineWidths;
  Renderer renderer(device, render);
  drawEntities(renderer);

  svg += "</g>\n</svg>\n";
  return svg;
}

bool WriteSvgPicture(const std::string& path, const SettingsBlock& settings,
                     const std::function<void(EntitySink&)>& drawEntities, std::string* error) {
  std::string svg = SvgPictureText(settings, drawEntities, error);
  if (svg.empty()) return false;
  const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(svg.data()), svg.size());
  if (!WriteFileAtomically(path, {bytes})) {
    if (error) *error = FormatText("无法写入图形文件 %s", path.c_str());
    return false;
  }
  return true;
}

}  // namespace qp
