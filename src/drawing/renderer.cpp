#include "drawing/renderer.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>

#include "common/gbk_text.h"
#include "drawing/text_layout.h"
#include "drawing/view_transform.h"

namespace qp {
namespace {

// A polygon with more points than this is drawn as its outline only.
constexpr size_t kMaxFilledPolygonPoints = 65535;
// Glyph cells beyond this size come only from damaged text blocks.
constexpr int kMaxGlyphPixels = 1 << 16;

bool IsCurveType(int32_t type) {
  switch (type) {
    case 3: case 4: case 5: case 7: case 8: case kShapeSpline: case kShapeClosedSpline:
      return true;
    default:
      return false;
  }
}

// Type 10 is the open spline, 11 the closed one; of the further curve kinds
// the odd ones are closed.
bool IsClosedCurveType(int32_t type) { return type == kShapeClosedSpline || (type != kShapeSpline && type % 2 == 1); }

int ScaledPixels(int pixels, int zoomNum, int zoomDen, int minimum) {
  int v = MulDivSaturated(pixels, zoomNum, zoomDen);
  if (v < minimum) v = minimum;
  if (v > kMaxGlyphPixels) v = kMaxGlyphPixels;
  return v;
}

}  // namespace

RenderSettings RenderSettingsFor(const SheetGeometry& sheet, bool opaqueTextBackground) {
  RenderSettings s;
  s.sheet = sheet;
  s.lineWidths = LineWidthsForResolution(sheet.resolution);
  s.opaqueTextBackground = opaqueTextBackground;
  return s;
}

const std::string& SplineFitErrorMessage() { return Gbk("B样条曲线拟合错误"); }

Renderer::Renderer(DrawingDevice& device, const RenderSettings& settings) : device_(device), settings_(settings) {
  if (settings_.zoomNum <= 0 || settings_.zoomDen <= 0) settings_.zoomNum = settings_.zoomDen = 1;
}

ScreenPoint Renderer::ToScreen(CanvasPoint c) const {
  return CanvasToScreen(c, settings_.sheet.canvasHeightPx, settings_.zoomNum, settings_.zoomDen);
}

void Renderer::SetPenFor(DrawStyle style) {
  Rgb colour;
  switch (settings_.mode) {
    case kRenderHighlight: colour = kHighlightColour; break;
    case kRenderMarked: colour = kMarkedColour; break;
    case kRenderErase: colour = kEraseColour; break;
    default: colour = PaletteColour(style.PenColourIndex()); break;
  }
  int weight = style.WeightIndex();
  // Zoomed out, lines become thinner with the drawing.
  if (settings_.zoomNum < settings_.zoomDen)
    weight = static_cast<int>(static_cast<int64_t>(weight) * settings_.zoomNum / settings_.zoomDen);
  device_.SetPen(colour, PenStyleAt(style.PenStyleIndex()), settings_.lineWidths.At(weight));
}

void Renderer::DrawPointList(std::span<const CanvasPoint> canvas, bool closed, DrawStyle style) {
  screen_.resize(canvas.size());
  for (size_t i = 0; i < canvas.size(); ++i) screen_[i] = ToScreen(canvas[i]);
  if (!closed) {
    device_.Polyline(screen_);
    return;
  }
  if (style.Filled() && canvas.size() <= kMaxFilledPolygonPoints)
    device_.SetBrush(settings_.mode == kRenderErase ? kEraseColour : PaletteColour(style.FillColourIndex()));
  else
    device_.SetBrush(std::nullopt);
  device_.Polygon(screen_);
}

void Renderer::Shape(const EntityHeader&, const ShapeBlock& block, std::span<const GroundPoint> points) {
  const int32_t type = block.type;
  const DrawStyle style{block.style};
  const bool curve = IsCurveType(type);
  if (type != kShapePolyline && type != kShapePolygon && type != kShapeEllipse && !curve) return;
  if (!AllFinite(points)) {
    // Damaged coordinates: the figure is left out; a curve says so.
    if (curve) ++splineFailures_;
    return;
  }
  const size_t n = points.size();
  if (type == kShapePolyline && n < 2) return;
  if (type == kShapePolygon && n < 3) return;
  if (type == kShapeEllipse && n < 4) return;

  // A closed polygon repeats its first point last; the device closes it itself.
  const size_t used = type == kShapePolygon ? n - 1 : type == kShapeEllipse ? 4 : n;
  canvas_.resize(used);
  MapToCanvas(settings_.sheet, points.first(used), canvas_);

  std::span<const CanvasPoint> list = canvas_;
  bool closed = type != kShapePolyline;
  if (type == kShapeEllipse) {
    samples_.clear();
    SampleEllipse(std::span<const CanvasPoint, 4>(canvas_.data(), 4), settings_.sheet.resolution, samples_);
    list = samples_;
  } else if (curve) {
    closed = IsClosedCurveType(type);
    samples_.clear();
    const SplineStatus status = SampleSpline(canvas_, closed, samples_);
    if (status == SplineStatus::Unsolvable) ++splineFailures_;
    if (status != SplineStatus::Ok) return;
    list = samples_;
  }
  SetPenFor(style);
  DrawPointList(list, closed, style);
}

void Renderer::Text(const EntityHeader&, const TextBlock& block) {
  const std::string_view text = TextOf(block);
  if (text.empty() || !std::isfinite(block.x) || !std::isfinite(block.y)) return;
  const SheetGeometry& sheet = settings_.sheet;
  const int zn = settings_.zoomNum, zd = settings_.zoomDen;

  const double height = std::isfinite(block.height) ? block.height : 0.0;
  const double width = std::isfinite(block.width) ? block.width : 0.0;
  const double gap = std::isfinite(block.gap) ? block.gap : 0.0;

  const std::string_view face(block.face, strnlen(block.face, kTextFaceSize));
  GlyphFont font;
  font.face = face.empty() ? std::string_view(Gbk("宋体")) : face;
  font.heightPx = ScaledPixels(MillimetresToPixels(sheet.resolution, height), zn, zd, 4);
  font.widthPx = ScaledPixels(MillimetresToPixels(sheet.resolution, width), zn, zd, 2);
  font.weight = 700;
  // (900 - direction) modulo 3600: the text direction counter-clockwise from east.
  font.escapementTenths = static_cast<int>(((900 - static_cast<int64_t>(block.direction)) % 3600 + 3600) % 3600);
  font.italic = block.italic != 0;
  font.underline = block.underline != 0;
  font.strikeOut = block.strikeOut != 0;

  Rgb colour;
  switch (settings_.mode) {
    case kRenderHighlight: colour = kHighlightColour; break;
    case kRenderErase: colour = kEraseColour; break;
    default: colour = ColourFromWord(block.colour); break;
  }

  // The reference point is mapped here rather than taken from the block, so a
  // text lands where its shapes do on a sheet derived for another resolution.
  const CanvasPoint ref = MapToCanvas(sheet, GroundPoint{block.x, block.y});
  const double azimuth = block.direction * 0.1 * std::numbers::pi / 180.0;
  const double alongRow = std::cos(azimuth), alongColumn = std::sin(azimuth);
  const double pixelsPerMillimetre = sheet.resolution * 0.03937007874015748;

  glyphs_.clear();
  double advance = 0;  // millimetres from the reference point
  for (size_t i = 0; i < text.size();) {
    const size_t bytes = GbkCharacterBytes(text, i);
    const bool doubleWidth = IsDoubleWidthCharacter(text, i);
    const double offset = advance * pixelsPerMillimetre;
    const double row = ref.row + offset * alongRow;
    const double column = ref.column + offset * alongColumn;
    if (row >= 0 && row < sheet.canvasHeightPx && column >= 0 && column < sheet.canvasWidthPx) {
      const CanvasPoint at{TruncateToInt(std::floor(row + 0.5)), TruncateToInt(std::floor(column + 0.5))};
      glyphs_.push_back(PlacedGlyph{ToScreen(at), text.substr(i, bytes)});
    }
    advance += (doubleWidth ? 2 * width : width) + gap;
    i += bytes;
  }
  if (!glyphs_.empty()) device_.Text(glyphs_, font, colour, settings_.opaqueTextBackground);
}

}  // namespace qp
