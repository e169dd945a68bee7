// The two file sinks: the .vec file read back entity by entity (and refused
// when damaged), and the DXF drawing read back by the DXF library itself.
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/curve_sampling.h"
#include "drawing/dxf_picture.h"
#include "drawing/frame_and_grid.h"
#include "drawing/network_drawing.h"
#include "drawing/vec_file.h"
#include "support/test_files.h"

namespace qp {
namespace {

std::unique_ptr<SettingsBlock> DefaultSheet() {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);
  return b;
}

// A triangle, an ellipse and a text: one entity of each record kind and shape form.
void DrawSample(EntitySink& sink, const SheetGeometry& sheet) {
  EntityEmitter out(sink, sheet);
  const GroundPoint tri[3] = {{8100, 1700}, {8200, 1800}, {8100, 1900}};
  out.Polygon(EntityCategory::Symbols, DrawStyle::Make(0, 1, 9), tri);
  const GroundPoint ellipse[4] = {{8300, 1700}, {8310, 1700}, {8310, 1740}, {8300, 1740}};
  out.Ellipse(EntityCategory::Lines, DrawStyle::Make(0, 0, 12), ellipse);
  out.Text(EntityCategory::Texts, {8400, 1750}, 900, TextFont{}, Rgb{}, Gbk("城北"));
}

TEST(VecFile, WritesAndParsesBackEveryEntityToTheByte) {
  auto b = DefaultSheet();
  const SheetGeometry sheet = *SheetGeometryOf(*b);
  const auto bytes = BuildVecFile(*b, [&](EntitySink& sink) { DrawSample(sink, sheet); });
  const size_t polygon = 28 + 240 + 4 * 16, ellipse = 28 + 240 + 4 * 16, text = 28 + 192;
  ASSERT_EQ(bytes.size(), 4544 + polygon + ellipse + text);
  const auto parsed = ParseVecEntities(bytes);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(std::memcmp(&parsed->settings, b.get(), sizeof(SettingsBlock)), 0);
  ASSERT_EQ(parsed->entities.size(), 3u);
  EXPECT_EQ(parsed->entities[0].shape.type, kShapePolygon);
  EXPECT_EQ(parsed->entities[0].points.back(), (GroundPoint{8100, 1700}));  // closed: first repeated
  EXPECT_EQ(parsed->entities[0].header.category, 10);
  EXPECT_EQ(parsed->entities[1].shape.type, kShapeEllipse);
  EXPECT_EQ(parsed->entities[2].text.length, 4);
  EXPECT_EQ(parsed->entities[2].text.row, MapToCanvas(sheet, {8400, 1750}).row);
  // Replaying the parsed stream writes the same bytes.
  const auto again = BuildVecFile(parsed->settings, [&](EntitySink& sink) { ReplayVecEntities(*parsed, sink); });
  EXPECT_EQ(again, bytes);
}

TEST(VecFile, DamagedFilesAreRefusedWhole) {
  auto b = DefaultSheet();
  const SheetGeometry sheet = *SheetGeometryOf(*b);
  const auto good = BuildVecFile(*b, [&](EntitySink& sink) { DrawSample(sink, sheet); });
  const size_t first = 4544, countAt = first + 28 + 4;
  auto put32 = [](std::vector<unsigned char> v, size_t at, int32_t value) {
    std::memcpy(v.data() + at, &value, 4);
    return v;
  };
  const size_t textAt = good.size() - 192 - 28;
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
    bool accepted;
  };
  const Case cases[] = {
      {"settings block only", std::vector<unsigned char>(good.begin(), good.begin() + 4544), true},
      {"shorter than the settings block", std::vector<unsigned char>(good.begin(), good.begin() + 4543), false},
      {"last entity cut short", std::vector<unsigned char>(good.begin(), good.end() - 1), false},
      {"header cut short", std::vector<unsigned char>(good.begin(), good.begin() + first + 27), false},
      {"points cut short", std::vector<unsigned char>(good.begin(), good.begin() + first + 28 + 240 + 70), false},
      {"unknown record kind", put32(good, first, 3), false},
      {"negative point count", put32(good, countAt, -1), false},
      {"point count beyond the largest shape", put32(good, countAt, kMaxShapePoints + 1), false},
      {"point count beyond the file", put32(good, countAt, 1000), false},
      {"text length beyond its field", put32(good, textAt + 28 + 44, 106), false},
      {"trailing byte", [&] { auto v = good; v.push_back(1); return v; }(), false},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseVecEntities(c.bytes).has_value(), c.accepted) << c.what;
}

TEST(SplineSampling, PassesThroughEveryControlPoint) {
  const GroundPoint control[] = {{3800000, 500000}, {3800100, 500050}, {3800150, 500200}, {3800080, 500300}};
  for (const bool closed : {false, true}) {
    std::vector<GroundPoint> sampled;
    ASSERT_EQ(SampleSpline(std::span<const GroundPoint>(control), closed, sampled), SplineStatus::Ok);
    const size_t segments = closed ? 4 : 3;
    ASSERT_EQ(sampled.size(), segments * 21);
    for (size_t i = 0; i < segments; ++i) {
      EXPECT_NEAR(sampled[i * 21].x, control[i].x, 1e-6);
      EXPECT_NEAR(sampled[i * 21].y, control[i].y, 1e-6);
      // Each segment ends where the next begins.
      EXPECT_NEAR(sampled[i * 21 + 20].x, control[(i + 1) % 4].x, 1e-6);
    }
  }
  std::vector<GroundPoint> none;
  EXPECT_EQ(SampleSpline(std::span<const GroundPoint>(control).first(1), false, none), SplineStatus::TooFewPoints);
  EXPECT_EQ(SampleSpline(std::span<const GroundPoint>(control).first(2), true, none), SplineStatus::TooFewPoints);
  EXPECT_TRUE(none.empty());
}

struct DxfCounter : DL_CreationAdapter {
  std::vector<std::string> layers;
  std::map<std::string, int> entitiesByLayer;
  std::vector<DL_PolylineData> polylines;
  std::vector<std::vector<DL_VertexData>> vertices;
  std::vector<DL_TextData> texts;
  std::vector<DL_EllipseData> ellipses;
  std::string codePage;

  void addLayer(const DL_LayerData& d) override { layers.push_back(d.name); }
  void addPolyline(const DL_PolylineData& d) override {
    polylines.push_back(d);
    vertices.emplace_back();
    ++entitiesByLayer[attributes.getLayer()];
  }
  void addVertex(const DL_VertexData& d) override { vertices.back().push_back(d); }
  void addText(const DL_TextData& d) override {
    texts.push_back(d);
    ++entitiesByLayer[attributes.getLayer()];
  }
  void addEllipse(const DL_EllipseData& d) override {
    ellipses.push_back(d);
    ++entitiesByLayer[attributes.getLayer()];
  }
  void setVariableString(const std::string& key, const std::string& value, int) override {
    if (key == "$DWGCODEPAGE") codePage = value;
  }
};

TEST(DxfPicture, ReadsBackWithGroundCoordinatesEastAsX) {
  testing::TempDir dir;
  auto b = DefaultSheet();
  b->gridStyle = 0;
  b->showGridLabels = 1;
  const SheetGeometry sheet = *SheetGeometryOf(*b);
  const std::string path = dir.File("sheet.dxf");
  std::string error;
  ASSERT_TRUE(WriteDxfPicture(path, *b, [&](EntitySink& sink) {
    DrawSample(sink, sheet);
    DrawNetworkSheet(sink, *b, DrawnNetwork{}, DrawContext{});
  }, &error)) << error;

  DxfCounter counter;
  DL_Dxf reader;
  ASSERT_TRUE(reader.in(path, &counter));
  EXPECT_EQ(counter.codePage, "ANSI_936");
  EXPECT_EQ(counter.layers, (std::vector<std::string>{"0", kDxfLineLayer, kDxfSymbolLayer, kDxfNameLayer,
                                                       kDxfValueLayer, kDxfFrameLayer}));
  // The ellipse; the triangle; the sample text; the 10 frame and grid shapes, 24 labels and the sheet texts.
  EXPECT_EQ(counter.entitiesByLayer[kDxfLineLayer], 1);
  EXPECT_EQ(counter.entitiesByLayer[kDxfSymbolLayer], 1);
  EXPECT_EQ(counter.entitiesByLayer[kDxfValueLayer], 1);
  EXPECT_EQ(counter.entitiesByLayer[kDxfFrameLayer], 10 + 24 + 6);

  // The triangle: closed, three vertices, x east and y north.
  ASSERT_FALSE(counter.polylines.empty());
  EXPECT_EQ(counter.polylines[0].flags & 1, 1);
  ASSERT_EQ(counter.vertices[0].size(), 3u);
  EXPECT_DOUBLE_EQ(counter.vertices[0][1].x, 1800);
  EXPECT_DOUBLE_EQ(counter.vertices[0][1].y, 8200);
  // The inner frame's south-west corner.
  EXPECT_DOUBLE_EQ(counter.vertices[1][0].x, 1600);
  EXPECT_DOUBLE_EQ(counter.vertices[1][0].y, 8000);

  // The ellipse: centre (1720, 8305), 40 m by 10 m along the east axis.
  ASSERT_EQ(counter.ellipses.size(), 1u);
  EXPECT_DOUBLE_EQ(counter.ellipses[0].cx, 1720);
  EXPECT_DOUBLE_EQ(counter.ellipses[0].cy, 8305);
  EXPECT_DOUBLE_EQ(counter.ellipses[0].mx, 20);
  EXPECT_DOUBLE_EQ(counter.ellipses[0].my, 0);
  EXPECT_DOUBLE_EQ(counter.ellipses[0].ratio, 0.25);

  // The text: GBK bytes kept, placed by its bottom-left corner (3 mm = 3 m
  // below the top-left reference), reading east (angle 0), 3 m high.
  ASSERT_FALSE(counter.texts.empty());
  const DL_TextData& t = counter.texts[0];
  EXPECT_EQ(t.text, Gbk("城北"));
  EXPECT_NEAR(t.ipx, 1750, 1e-9);
  EXPECT_NEAR(t.ipy, 8397, 1e-9);
  EXPECT_NEAR(t.height, 3, 1e-9);
  EXPECT_NEAR(t.angle, 0, 1e-9);

  // The dimension style names the sheet's text style by its handle.
  std::ifstream in(path);
  std::vector<std::pair<std::string, std::string>> groups;
  for (std::string code, value; std::getline(in, code) && std::getline(in, value);) {
    groups.emplace_back(code.substr(code.find_first_not_of(' ')), value);
  }
  std::string styleHandle, dimensionTextStyle;
  for (size_t i = 1; i + 1 < groups.size(); ++i) {
    if (groups[i] == std::pair<std::string, std::string>{"0", "STYLE"}) styleHandle = groups[i + 1].second;
    if (groups[i].first == "340" && groups[i - 1].first == "284") dimensionTextStyle = groups[i].second;
  }
  EXPECT_FALSE(styleHandle.empty());
  EXPECT_EQ(dimensionTextStyle, styleHandle);
}

TEST(DxfPicture, UpwardTextsTurnAndUnwritablePathsFail) {
  testing::TempDir dir;
  auto b = DefaultSheet();
  const SheetGeometry sheet = *SheetGeometryOf(*b);
  auto draw = [&](EntitySink& sink) {
    EntityEmitter out(sink, sheet);
    out.Text(EntityCategory::Texts, {8100, 1700}, 0, TextFont{}, Rgb{}, "12.1");  // reading north
  };
  ASSERT_TRUE(WriteDxfPicture(dir.File("up.dxf"), *b, draw));
  DxfCounter counter;
  DL_Dxf reader;
  ASSERT_TRUE(reader.in(dir.File("up.dxf"), &counter));
  ASSERT_EQ(counter.texts.size(), 1u);
  // Reading north the text's bottom lies east of its top: insertion 3 m east.
  EXPECT_NEAR(counter.texts[0].ipx, 1703, 1e-9);
  EXPECT_NEAR(counter.texts[0].ipy, 8100, 1e-9);
  EXPECT_NEAR(counter.texts[0].angle, M_PI / 2, 1e-9);

  std::string error;
  EXPECT_FALSE(WriteDxfPicture(dir.path(), *b, draw, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(WriteDxfPicture(dir.File("missing/x.dxf"), *b, draw, &error));
}

// The DXF library prints every real into a fixed buffer: a drawing whose
// coordinates or sizes cannot be printed is refused whole, and no file (nor
// its temporary) is left; NaN points leave their entity out as before.
TEST(DxfPicture, DrawingsBeyondThePrintableRangeAreRefused) {
  testing::TempDir dir;
  auto b = DefaultSheet();
  const SheetGeometry sheet = *SheetGeometryOf(*b);
  enum Form { Line, Spline, Ellipse, Text };
  struct Case {
    const char* name;
    Form form;
    double x;
    bool written;
  };
  const Case cases[] = {
      {"line at 1e300", Line, 1e300, false},     {"line at -1e237", Line, -1e237, false},
      {"spline at 1e238", Spline, 1e238, false}, {"ellipse at 1e300", Ellipse, 1e300, false},
      {"text at -1e300", Text, -1e300, false},   {"line at 1e15", Line, 1e15, true},
      {"text at 9e14", Text, 9e14, true},        {"line at NaN", Line, std::nan(""), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File("far.dxf");
    std::filesystem::remove(path);
    auto draw = [&](EntitySink& sink) {
      EntityEmitter out(sink, sheet);
      const GroundPoint line[3] = {{8100, 1700}, {c.x, 1800}, {8100, 1900}};
      const GroundPoint corners[4] = {{c.x, 1700}, {8310, 1700}, {8310, 1740}, {c.x, 1740}};
      switch (c.form) {
        case Line: out.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 0, 12), line); break;
        case Spline: out.Spline(EntityCategory::Lines, DrawStyle::Make(0, 0, 12), line, false); break;
        case Ellipse: out.Ellipse(EntityCategory::Lines, DrawStyle::Make(0, 0, 12), corners); break;
        case Text: out.Text(EntityCategory::Texts, {c.x, 1750}, 900, TextFont{}, Rgb{}, "A1"); break;
      }
      DrawNetworkSheet(sink, *b, DrawnNetwork{}, DrawContext{});
    };
    std::string error;
    EXPECT_EQ(WriteDxfPicture(path, *b, draw, &error), c.written) << error;
    EXPECT_EQ(std::filesystem::exists(path), c.written);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    if (!c.written) {
      EXPECT_NE(GbkToUtf8(error).find("超出DXF可写范围"), std::string::npos) << GbkToUtf8(error);
    }
  }
}

}  // namespace
}  // namespace qp
