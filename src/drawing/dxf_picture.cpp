#include "drawing/dxf_picture.h"

#include <dl_dxf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "common/format.h"
#include "drawing/curve_sampling.h"
#include "drawing/drawing_tables.h"

namespace qp {
namespace {

constexpr double kPi = 3.14159265358979323846;
// The TrueType face of the text style (GBK "宋体") and its font flags: GB2312
// character set (134) in bits 8-15, a variable-pitch roman (serif) family,
// bold as the sheet's texts are.
constexpr const char* kSongFaceGbk = "\xcb\xce\xcc\xe5";
constexpr int kSongFontFlags = 0x2000000 | 134 << 8 | 0x10 | 0x2;
// The handle the library gives the STYLE table (the owner of its records).
constexpr int kStyleTableHandle = 3;
// Sides of the polygon a filled ellipse's hatch follows.
constexpr int kEllipseHatchSides = 72;

// dxflib prints every real with "%.16f" into a buffer of 256 bytes and
// aborts the program beyond it (from 1e237 on, a sign included). No drawing
// of a survey comes near 1e15 m, where a double no longer resolves a
// decimetre: a real beyond that comes from a damaged record, and the drawing
// is refused rather than written.
constexpr double kLargestDxfReal = 1e15;

// False for NaN and infinity too.
bool Writable(double v) { return std::fabs(v) <= kLargestDxfReal; }
bool Writable(GroundPoint p) { return Writable(p.x) && Writable(p.y); }
bool Writable(std::span<const GroundPoint> points) {
  return std::all_of(points.begin(), points.end(), [](GroundPoint p) { return Writable(p); });
}

const char* TextLayer(DrawingPart part) {
  switch (part) {
    case DrawingPart::Frame: return kDxfFrameLayer;
    case DrawingPart::PointNames: return kDxfNameLayer;
    default: return kDxfValueLayer;
  }
}

// The AutoCAD colour index of a palette colour when one matches it exactly,
// else index 7 with the true colour beside it (group 420): white among them,
// since index 7 is printed black.
DL_Attributes AttributesOf(const char* layer, Rgb colour, int weightIndex) {
  struct Aci { int index; Rgb rgb; };
  static constexpr std::array<Aci, 9> kAci = {{{1, {255, 0, 0}}, {2, {255, 255, 0}}, {3, {0, 255, 0}},
                                               {4, {0, 255, 255}}, {5, {0, 0, 255}}, {6, {255, 0, 255}},
                                               {7, {0, 0, 0}}, {8, {128, 128, 128}}, {9, {192, 192, 192}}}};
  int aci = 7, trueColour = -1;
  bool matched = false;
  for (const Aci& a : kAci) {
    if (a.rgb == colour) {
      aci = a.index;
      matched = true;
    }
  }
  if (!matched) trueColour = colour.r << 16 | colour.g << 8 | colour.b;
  const int weight = kLineWeightHundredths[static_cast<size_t>(std::clamp(weightIndex, 0, kLineWeightCount - 1))];
  return DL_Attributes(layer, aci, trueColour, weight, "CONTINUOUS");
}
// The "Standard" dimension style as the library writes it, but naming the
// sheet's own text style: the library would name the style handle it keeps
// only for a style it wrote itself, and left unset that is whatever its
// memory held.
void WriteDimensionStyle(DL_WriterA& dw, unsigned long textStyleHandle) {
  dw.dxfString(0, "TABLE");
  dw.dxfString(2, "DIMSTYLE");
  dw.dxfHex(5, 0xA);
  dw.dxfString(100, "AcDbSymbolTable");
  dw.dxfInt(70, 1);
  dw.dxfString(100, "AcDbDimStyleTable");
  dw.dxfInt(71, 0);
  dw.dxfString(0, "DIMSTYLE");
  dw.dxfHex(105, 0x27);
  dw.dxfString(100, "AcDbSymbolTableRecord");
  dw.dxfString(100, "AcDbDimStyleTableRecord");
  dw.dxfString(2, "Standard");
  for (const auto& [code, value] : {std::pair{41, 2.5}, {42, 0.625}, {43, 3.75}, {44, 1.25}}) dw.dxfReal(code, value);
  for (const auto& [code, value] : {std::pair{70, 0}, {73, 0}, {74, 0}, {77, 1}, {78, 8}}) dw.dxfInt(code, value);
  for (const auto& [code, value] : {std::pair{140, 2.5}, {141, 2.5}, {143, 0.03937007874016}, {147, 0.625}}) {
    dw.dxfReal(code, value);
  }
  for (const auto& [code, value] : {std::pair{171, 3}, {172, 1}, {271, 2}, {272, 2}, {274, 3}, {278, 44}, {283, 0},
                                    {284, 8}}) {
    dw.dxfInt(code, value);
  }
  dw.dxfHex(340, textStyleHandle);
  dw.tableEnd();
}


// Writes the entities it receives; an entity with a real that cannot be
// written (Writable) stops the writing, and the drawing is then refused.
// Entities with a NaN or an infinity among their points are left out.
class DxfSink : public EntitySink {
 public:
  DxfSink(DL_Dxf& dxf, DL_WriterA& dw, double m) : dxf_(dxf), dw_(dw), m_(m) {}

  bool Unwritable() const { return unwritable_; }

  void BeginPart(DrawingPart part) override { part_ = part; }

  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override {
    if (unwritable_) return;
    const DrawStyle style{block.style};
    const bool penless = style.PenStyleIndex() == static_cast<int>(PenStyle::Null);
    // The white masks over the paper outside the frame belong to pictures only.
    if (penless && part_ == DrawingPart::Frame) return;
    for (const GroundPoint& p : points)
      if (!Finite(p)) return;
    const char* layer = ShapeLayer(header.category, block.type, points);
    const DL_Attributes attrib = AttributesOf(layer, PaletteColour(style.PenColourIndex()), style.WeightIndex());
    std::vector<GroundPoint> outline;
    bool closed = false;
    switch (block.type) {
      case kShapeEllipse:
        if (points.size() != 4) return;
        if (style.Filled()) Hatch(EllipseOutline(points), AttributesOf(layer, PaletteColour(style.FillColourIndex()), 0));
        if (!penless) Ellipse(points, attrib);
        return;
      case kShapeSpline:
      case kShapeClosedSpline:
        closed = block.type == kShapeClosedSpline;
        SampleSpline(points, closed, outline);
        // The closed sample repeats its first point last: the closed flag draws that side.
        if (closed && outline.size() > 1) outline.pop_back();
        break;
      default:
        closed = block.type % 2 == 1;
        outline.assign(points.begin(), points.end());
        if (closed && outline.size() >= 3 && outline.front() == outline.back()) outline.pop_back();
        break;
    }
    if (closed && style.Filled()) Hatch(outline, AttributesOf(layer, PaletteColour(style.FillColourIndex()), 0));
    if (!penless) Polyline(outline, closed, attrib);
  }

  void Text(const EntityHeader&, const TextBlock& block) override {
    if (unwritable_) return;
    const double h = block.height * m_;
    if (!std::isfinite(block.x) || !std::isfinite(block.y) || !std::isfinite(h) || h <= 0) return;
    const size_t length = static_cast<size_t>(std::clamp<int32_t>(block.length, 0, static_cast<int32_t>(kTextSize) - 1));
    const std::string text(block.text, strnlen(block.text, length));
    if (text.empty()) return;
    // The reference point is the text's top-left corner; CAD places a text by
    // its bottom-left. Down is a right angle clockwise from the reading direction.
    const double azimuth = block.direction / 10.0 * kPi / 180.0;
    const double north = block.x - h * std::sin(azimuth), east = block.y + h * std::cos(azimuth);
    const double widthFactor = block.height > 0 && std::isfinite(block.width) ? 2.0 * block.width / block.height : 1.0;
    const double angle = (90.0 - block.direction / 10.0) * kPi / 180.0;  // counter-clockwise from east
    if (!Refuse(Writable(north) && Writable(east) && Writable(h) && Writable(widthFactor))) return;
    const DL_Attributes attrib = AttributesOf(TextLayer(part_), ColourFromWord(block.colour), kThinWeight);
    dxf_.writeText(dw_,
                   DL_TextData(east, north, 0, east, north, 0, h, widthFactor, 0, 0, 0, text, kDxfTextStyle, angle),
                   attrib);
  }

 private:
  // False, marking the drawing unwritable, when `writable` is false.
  bool Refuse(bool writable) {
    if (!writable) unwritable_ = true;
    return writable;
  }

  void Polyline(std::span<const GroundPoint> points, bool closed, const DL_Attributes& attrib) {
    if (points.size() < 2 || !Refuse(Writable(points))) return;
    dxf_.writePolyline(dw_, DL_PolylineData(static_cast<int>(points.size()), 0, 0, closed ? 1 : 0), attrib);
    for (const GroundPoint& p : points) dxf_.writeVertex(dw_, DL_VertexData(p.y, p.x, 0));
    dxf_.writePolylineEnd(dw_);
  }

  // The frame's layer in the frame; in the diagram a point symbol is a closed
  // figure of the symbols' category together with the marks inside it (the
  // cross of a known height point); every other shape, the category's pair
  // lines and the height diagram's lines (emitted among the texts) too, is a line.
  const char* ShapeLayer(uint8_t category, int32_t type, std::span<const GroundPoint> points) {
    if (part_ == DrawingPart::Frame) return kDxfFrameLayer;
    if (category == static_cast<uint8_t>(EntityCategory::Symbols) && !points.empty()) {
      auto [south, north] = std::minmax_element(points.begin(), points.end(), [](auto a, auto b) { return a.x < b.x; });
      auto [west, east] = std::minmax_element(points.begin(), points.end(), [](auto a, auto b) { return a.y < b.y; });
      const Box box{south->x, north->x, west->y, east->y};
      if (type == kShapeEllipse || type % 2 == 1) {
        symbolBox_ = box;
        return kDxfSymbolLayer;
      }
      if (symbolBox_ && symbolBox_->Holds(box)) return kDxfSymbolLayer;
    }
    symbolBox_.reset();
    return kDxfLineLayer;
  }

  // A solid fill of the polygon through `outline` (ground points), drawn
  // before the outline so the outline stays on top.
  void Hatch(std::span<const GroundPoint> outline, const DL_Attributes& attrib) {
    if (outline.size() < 3 || !Refuse(Writable(outline))) return;
    dxf_.writeHatch1(dw_, DL_HatchData(1, true, 1.0, 0.0, "SOLID"), attrib);
    dxf_.writeHatchLoop1(dw_, DL_HatchLoopData(static_cast<int>(outline.size())));
    for (size_t i = 0; i < outline.size(); ++i) {
      const GroundPoint a = outline[i], b = outline[(i + 1) % outline.size()];
      dxf_.writeHatchEdge(dw_, DL_HatchEdgeData(a.y, a.x, b.y, b.x));
    }
    dxf_.writeHatchLoop2(dw_, DL_HatchLoopData(static_cast<int>(outline.size())));
    dxf_.writeHatch2(dw_, DL_HatchData(1, true, 1.0, 0.0, "SOLID"), attrib);
  }

  // The ellipse of the four corners as a polygon (P1 + (1 ± cos t)/2 P1P4 + (1 ± sin t)/2 P1P2).
  static std::vector<GroundPoint> EllipseOutline(std::span<const GroundPoint> c) {
    const GroundPoint centre{(c[0].x + c[2].x) / 2, (c[0].y + c[2].y) / 2};
    const GroundPoint a{(c[3].x - c[0].x) / 2, (c[3].y - c[0].y) / 2}, b{(c[1].x - c[0].x) / 2, (c[1].y - c[0].y) / 2};
    std::vector<GroundPoint> outline(kEllipseHatchSides);
    for (int k = 0; k < kEllipseHatchSides; ++k) {
      const double t = 2 * kPi * k / kEllipseHatchSides;
      outline[k] = {centre.x + a.x * std::cos(t) + b.x * std::sin(t), centre.y + a.y * std::cos(t) + b.y * std::sin(t)};
    }
    return outline;
  }

  // From the four corners of the circumscribed rectangle: centre between P1
  // and P3, one semi-axis half of P1P4, the other half of P1P2.
  void Ellipse(std::span<const GroundPoint> c, const DL_Attributes& attrib) {
    const double cx = (c[0].y + c[2].y) / 2, cy = (c[0].x + c[2].x) / 2;
    const double ax = (c[3].y - c[0].y) / 2, ay = (c[3].x - c[0].x) / 2;  // half of P1P4
    const double bx = (c[1].y - c[0].y) / 2, by = (c[1].x - c[0].x) / 2;  // half of P1P2
    const double a = std::hypot(ax, ay), b = std::hypot(bx, by);
    if (!Refuse(Writable(cx) && Writable(cy) && Writable(a) && Writable(b))) return;
    if (!(std::max(a, b) > 0)) return;
    const bool aMajor = a >= b;
    dxf_.writeEllipse(dw_,
                      DL_EllipseData(cx, cy, 0, aMajor ? ax : bx, aMajor ? ay : by, 0, aMajor ? b / a : a / b, 0,
                                     2 * kPi),
                      attrib);
  }

  DL_Dxf& dxf_;
  DL_WriterA& dw_;
  double m_;
  bool unwritable_ = false;
  DrawingPart part_ = DrawingPart::Diagram;
  struct Box {
    double south, north, west, east;
    // With a margin of a hundredth of its size for the rounding of the marks' ends.
    bool Holds(const Box& o) const {
      const double e = 0.01 * std::max(north - south, east - west);
      return o.south >= south - e && o.north <= north + e && o.west >= west - e && o.east <= east + e;
    }
  };
  std::optional<Box> symbolBox_;  // the last point symbol, while its marks follow
};

void WriteTables(DL_Dxf& dxf, DL_WriterA& dw) {
  dw.sectionTables();
  dxf.writeVPort(dw);
  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
  dw.tableEnd();
  constexpr const char* kLayers[] = {"0", kDxfLineLayer, kDxfSymbolLayer, kDxfNameLayer, kDxfValueLayer,
                                     kDxfFrameLayer};
  dw.tableLayers(static_cast<int>(std::size(kLayers)));
  for (const char* layer : kLayers) {
    dxf.writeLayer(dw, DL_LayerData(layer, 0), DL_Attributes("", 7, 25, "CONTINUOUS", 1.0));
  }
  dw.tableEnd();
  dw.tableStyle(1);
  // Written by hand: the library's style record takes no TrueType family.
  dw.dxfString(0, "STYLE");
  const unsigned long styleHandle = dw.handle();
  dw.dxfHex(330, kStyleTableHandle);
  dw.dxfString(100, "AcDbSymbolTableRecord");
  dw.dxfString(100, "AcDbTextStyleTableRecord");
  dw.dxfString(2, kDxfTextStyle);
  dw.dxfInt(70, 0);
  dw.dxfReal(40, 0.0);  // no fixed height
  dw.dxfReal(41, 1.0);
  dw.dxfReal(50, 0.0);
  dw.dxfInt(71, 0);
  dw.dxfReal(42, 2.5);
  dw.dxfString(3, kDxfSongFontFile);
  dw.dxfString(4, "");
  // The TrueType family and its flags, as extended data of the style.
  dw.dxfString(1001, "ACAD");
  dw.dxfString(1000, kSongFaceGbk);
  dw.dxfInt(1071, kSongFontFlags);
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  WriteDimensionStyle(dw, styleHandle);
  dxf.writeBlockRecord(dw);
  dw.tableEnd();
  dw.sectionEnd();
  dw.sectionBlocks();
  for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
    dxf.writeBlock(dw, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, block);
  }
  dw.sectionEnd();
}

}  // namespace

bool WriteDxfPicture(const std::string& path, SettingsBlock& settings, const std::function<void(EntitySink&)>& draw,
                     std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  const double m = settings.scale * 0.001;
  if (!std::isfinite(m) || m <= 0) return fail("map scale");
  const std::string temporary = path + ".tmp";
  bool unwritable = false;
  {
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw(dxf.out(temporary.c_str(), DL_VERSION_2000));
    if (!dw) return fail("cannot create " + temporary);
    dxf.writeHeader(*dw);
    dw->dxfString(9, "$DWGCODEPAGE");
    dw->dxfString(3, "ANSI_936");
    dw->dxfString(9, "$INSUNITS");
    dw->dxfInt(70, 6);  // metres
    dw->sectionEnd();
    WriteTables(dxf, *dw);
    dw->sectionEntities();
    DxfSink sink(dxf, *dw, m);
    if (draw) draw(sink);
    unwritable = sink.Unwritable();
    dw->sectionEnd();
    dxf.writeObjects(*dw);
    dxf.writeObjectsEnd(*dw);
    dw->dxfEOF();
    dw->close();
  }
  std::error_code ec;
  if (unwritable) {
    std::filesystem::remove(temporary, ec);
    return fail(FormatText("图形坐标或尺寸超出DXF可写范围(绝对值大于%.0e米), 图形数据有误", kLargestDxfReal));
  }
  const auto size = std::filesystem::file_size(temporary, ec);
  if (ec || size == 0) {
    std::filesystem::remove(temporary, ec);
    return fail("cannot write " + temporary);
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return fail("cannot write " + path + ": " + ec.message());
  }
  return true;
}

}  // namespace qp
