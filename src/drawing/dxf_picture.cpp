#include "drawing/dxf_picture.h"

#include <dl_dxf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "common/format.h"
#include "drawing/curve_sampling.h"
#include "drawing/drawing_tables.h"

namespace qp {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kTextStyle = "QP_SONG";

// dxflib prints every real with "%.16f" into a buffer of 256 bytes and
// aborts the program beyond it (from 1e237 on, a sign included). No drawing
// of a survey comes near 1e15 m, where a double no longer resolves a
// decimetre: a real beyond that comes from a damaged record, and the drawing
// is refused rather than written.
constexpr double kLargestDxfReal = 1e15;

bool Finite(GroundPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// False for NaN and infinity too.
bool Writable(double v) { return std::fabs(v) <= kLargestDxfReal; }
bool Writable(GroundPoint p) { return Writable(p.x) && Writable(p.y); }
bool Writable(std::span<const GroundPoint> points) {
  return std::all_of(points.begin(), points.end(), [](GroundPoint p) { return Writable(p); });
}

const char* LayerOf(uint8_t category) {
  switch (category) {
    case static_cast<uint8_t>(EntityCategory::Lines): return kDxfLineLayer;
    case static_cast<uint8_t>(EntityCategory::Texts): return kDxfTextLayer;
    case static_cast<uint8_t>(EntityCategory::Symbols): return kDxfSymbolLayer;
    default: return "0";
  }
}

// The AutoCAD colour index of a palette colour when one matches it exactly,
// else index 7 with the true colour beside it.
DL_Attributes AttributesOf(uint8_t category, Rgb colour, int weightIndex) {
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
  return DL_Attributes(LayerOf(category), aci, trueColour, weight, "CONTINUOUS");
}

// Writes the entities it receives; an entity with a real that cannot be
// written (Writable) stops the writing, and the drawing is then refused.
// Entities with a NaN or an infinity among their points are left out.
class DxfSink : public EntitySink {
 public:
  DxfSink(DL_Dxf& dxf, DL_WriterA& dw, double m) : dxf_(dxf), dw_(dw), m_(m) {}

  bool Unwritable() const { return unwritable_; }

  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override {
    if (unwritable_) return;
    const DrawStyle style{block.style};
    if (style.PenStyleIndex() == static_cast<int>(PenStyle::Null)) return;
    for (const GroundPoint& p : points)
      if (!Finite(p)) return;
    const DL_Attributes attrib = AttributesOf(header.category, PaletteColour(style.PenColourIndex()), style.WeightIndex());
    switch (block.type) {
      case kShapeEllipse:
        if (points.size() == 4) Ellipse(points, attrib);
        return;
      case kShapeSpline:
      case kShapeClosedSpline: {
        const bool closed = block.type == kShapeClosedSpline;
        std::vector<GroundPoint> sampled;
        SampleSpline(points, closed, sampled);
        // The closed sample repeats its first point last: the closed flag draws that side.
        Polyline(closed && sampled.size() > 1 ? std::span(sampled).first(sampled.size() - 1) : std::span(sampled),
                 closed, attrib);
        return;
      }
      default: {
        const bool closed = block.type % 2 == 1;
        if (closed && points.size() >= 3 && points.front() == points.back()) points = points.first(points.size() - 1);
        Polyline(points, closed, attrib);
        return;
      }
    }
  }

  void Text(const EntityHeader& header, const TextBlock& block) override {
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
    const DL_Attributes attrib = AttributesOf(header.category, ColourFromWord(block.colour), kThinWeight);
    dxf_.writeText(dw_, DL_TextData(east, north, 0, east, north, 0, h, widthFactor, 0, 0, 0, text, kTextStyle, angle),
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
};

void WriteTables(DL_Dxf& dxf, DL_WriterA& dw) {
  dw.sectionTables();
  dxf.writeVPort(dw);
  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
  dw.tableEnd();
  dw.tableLayers(4);
  for (const char* layer : {"0", kDxfLineLayer, kDxfTextLayer, kDxfSymbolLayer}) {
    dxf.writeLayer(dw, DL_LayerData(layer, 0), DL_Attributes("", 7, 25, "CONTINUOUS", 1.0));
  }
  dw.tableEnd();
  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData(kTextStyle, 0, 0.0, 1.0, 0.0, 0, 2.5, "txt.shx", "gbcbig.shx"));
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 2.5, 1.25, 0.625, 0.625, 2.5);
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
