// The frame and grid as entities: what each style draws, the grid labels,
// and damaged sheets. The stream is recorded through the .vec writer and read
// back, so the file format is exercised on every case.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/frame_and_grid.h"
#include "drawing/network_drawing.h"
#include "drawing/text_layout.h"
#include "drawing/drawing_tables.h"
#include "drawing/sheet_geometry.h"
#include "drawing/vec_file.h"
#include "plane/plane_model_record.h"
#include "plane/plane_network.h"

namespace qp {
namespace {

struct Counts {
  int shapes = 0, texts = 0;
  VecDrawing drawing;
};

// The sheet of `block` as the .vec writer records it, parsed back.
Counts Record(SettingsBlock& block, const DrawContext& context = {}) {
  const auto bytes = BuildVecFile(block, [&](EntitySink& sink) {
    DrawNetworkSheet(sink, block, DrawnNetwork{}, context);
  });
  auto parsed = ParseVecEntities(bytes);
  EXPECT_TRUE(parsed.has_value());
  Counts c;
  if (!parsed) return c;
  for (const VecEntity& e : parsed->entities) (e.IsShape() ? c.shapes : c.texts)++;
  c.drawing = std::move(*parsed);
  return c;
}

std::unique_ptr<SettingsBlock> DefaultSheet() {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);  // 1:1000, 500 x 500 mm, 5 x 5 grid, labels off
  return b;
}

void SetScale(SettingsBlock& b, double scale) {
  b.scale = b.appliedScale = scale;
  b.northEdgeX = b.cornerX + b.sheetHeight * scale * 0.001;
  b.eastEdgeY = b.cornerY + b.sheetWidth * scale * 0.001;
}

// The default sheet's texts without grid labels: the network name, the four
// characters of the unit name written one under the other, the software line.
constexpr int kSheetTexts = 1 + 4 + 1;

TEST(FrameAndGrid, EachStyleDrawsItsLayout) {
  struct Case {
    int style;
    double scale;
    FrameLayout layout;
    int shapes;       // inner frame, grid, ticks, outer frame
    int labelTexts;   // with the grid labels shown
  };
  // 5 x 5 grid: 4 inner lines each way. Crosses: 16 x 2 lines and 16 inward
  // ticks; the B layout continues the 16 line ends across the frame band.
  const Case cases[] = {
      {0, 1000, FrameLayout::A, 10, 24},      {1, 1000, FrameLayout::A, 50, 24},
      {2, 1000, FrameLayout::Simple, 2, 8},   {3, 1000, FrameLayout::B, 26, 24},
      {4, 1000, FrameLayout::B, 66, 24},      {5, 1000, FrameLayout::Mining, 10, 24},
      {6, 1000, FrameLayout::Mining, 50, 24}, {3, 1500, FrameLayout::A, 10, 24},
      {6, 1500, FrameLayout::A, 50, 24},      {4, 500.04, FrameLayout::B, 66, 24},
      {7, 1000, FrameLayout::None, 0, 0},     {-1, 1000, FrameLayout::None, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " at 1:" << c.scale);
    auto b = DefaultSheet();
    b->gridStyle = c.style;
    SetScale(*b, c.scale);
    EXPECT_EQ(FrameLayoutOf(c.style, c.scale), c.layout);
    const Counts plain = Record(*b);
    EXPECT_EQ(plain.shapes, c.shapes);
    EXPECT_EQ(plain.texts, c.layout == FrameLayout::None ? 0 : kSheetTexts);
    b->showGridLabels = 1;
    EXPECT_EQ(Record(*b).texts, plain.texts + c.labelTexts);
    DrawContext masked;
    masked.maskOutsideSheet = true;
    EXPECT_EQ(Record(*b, masked).shapes, c.layout == FrameLayout::None ? 0 : c.shapes + 4);
  }
}

TEST(FrameAndGrid, FramesLieOnTheSheetCornersAndTheCrossArmsAreFiveMillimetres) {
  auto b = DefaultSheet();
  b->gridStyle = 1;
  const Counts c = Record(*b);
  const auto& inner = c.drawing.entities.front();
  ASSERT_EQ(inner.points.size(), 5u);
  EXPECT_EQ(inner.points[0], (GroundPoint{8000, 1600}));
  EXPECT_EQ(inner.points[2], (GroundPoint{8500, 2100}));
  EXPECT_EQ(DrawStyle{inner.shape.style}.WeightIndex(), kThinWeight);
  // The outer frame: 10 mm of paper = 10 m at 1:1000 outside, weight 6.
  const VecEntity* outer = nullptr;
  for (const auto& e : c.drawing.entities)
    if (e.IsShape() && DrawStyle{e.shape.style}.WeightIndex() == kFrameWeight) outer = &e;
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(outer->points[0], (GroundPoint{7990, 1590}));
  EXPECT_EQ(outer->points[2], (GroundPoint{8510, 2110}));
  // The first cross: at (8100, 1700), arms of 5 m.
  const auto& arm = c.drawing.entities[1];
  EXPECT_EQ(arm.points[0], (GroundPoint{8100, 1695}));
  EXPECT_EQ(arm.points[1], (GroundPoint{8100, 1705}));
}

TEST(FrameAndGrid, GridLabelFormats) {
  struct Case {
    double coordinate;
    int unit;
    const char* full;
    const char* shortened;
  };
  const Case cases[] = {
      {3810250.0, 0, "3810", "3810"},       {3810250.0, 1, "3810.3", "10.3"},
      {3810250.0, 2, "10.25", "10.25"},     {3810250.0, 3, "10.250", "10.250"},
      {-512300.0, 1, "512.3", "12.3"},      {800.0, 1, "0.8", "0.8"},
      {8000.0, 3, "08.000", "08.000"},      {1600.0, 9, "1.6", "1.6"},  // a damaged unit counts as 百米
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.coordinate << " unit " << c.unit);
    EXPECT_EQ(GridLabelText(c.coordinate, c.unit, false), c.full);
    EXPECT_EQ(GridLabelText(c.coordinate, c.unit, true), c.shortened);
  }
  EXPECT_EQ(CornerCoordinateText(3810250.0), "10.250");
  EXPECT_EQ(CornerCoordinateText(8000.0), "08.000");
  EXPECT_EQ(CornerCoordinateText(-1234.0), "-01.234");
}

TEST(FrameAndGrid, LabelsAlongTheSheetUseTheLineCoordinates) {
  auto b = DefaultSheet();
  b->gridStyle = 0;
  b->showGridLabels = 1;
  b->labelUnit = 1;
  b->cornerX = 3810000;
  b->cornerY = 512000;
  SetScale(*b, 1000);
  const Counts c = Record(*b);
  std::vector<std::string> texts;
  for (const auto& e : c.drawing.entities)
    if (!e.IsShape()) texts.push_back(std::string(TextOf(e.text)));
  // Rows first (west and east), the corner rows in full, the inner ones shortened.
  ASSERT_GE(texts.size(), 24u);
  EXPECT_EQ(texts[0], "3810.0");
  EXPECT_EQ(texts[1], "3810.0");
  EXPECT_EQ(texts[2], "10.1");
  EXPECT_EQ(texts[10], "3810.5");
  EXPECT_EQ(texts[12], "512.0");
  EXPECT_EQ(texts[14], "12.1");
  EXPECT_EQ(texts[22], "512.5");
}

// Axis-parallel boxes on the ground: the texts, and the lines with their weight.
struct Box {
  double minX, maxX, minY, maxY;
  bool Overlaps(const Box& o, double tolerance = 1e-9) const {
    return maxX > o.minX + tolerance && o.maxX > minX + tolerance && maxY > o.minY + tolerance &&
           o.maxY > minY + tolerance;
  }
};

Box TextBoxOnGround(const TextBlock& t, double m) {
  const TextBox box = TextBoxOf(t, m);
  Box b{box.corners[0].x, box.corners[0].x, box.corners[0].y, box.corners[0].y};
  for (const GroundPoint& c : box.corners) {
    b.minX = std::min(b.minX, c.x), b.maxX = std::max(b.maxX, c.x);
    b.minY = std::min(b.minY, c.y), b.maxY = std::max(b.maxY, c.y);
  }
  // The glyphs end before the gap after the last character.
  const double gap = t.gap * m;
  if (t.direction == 900) b.maxY -= gap;
  if (t.direction == 0) b.maxX -= gap;
  return b;
}

// Every drawn line segment as the box its pen covers.
std::vector<Box> LineBoxes(const VecDrawing& d, double m) {
  std::vector<Box> lines;
  for (const VecEntity& e : d.entities) {
    if (!e.IsShape() || DrawStyle{e.shape.style}.PenStyleIndex() == static_cast<int>(PenStyle::Null)) continue;
    const double half = kLineWeightHundredths[DrawStyle{e.shape.style}.WeightIndex()] * 0.005 * m;
    for (size_t i = 0; i + 1 < e.points.size(); ++i) {
      const GroundPoint a = e.points[i], b = e.points[i + 1];
      lines.push_back({std::min(a.x, b.x) - half, std::max(a.x, b.x) + half, std::min(a.y, b.y) - half,
                       std::max(a.y, b.y) + half});
    }
  }
  return lines;
}

TEST(FrameAndGrid, EveryFrameTextIsOnThePaperAndClearOfEveryLineAndText) {
  struct Font {
    float height, width;
  };
  const int styles[] = {0, 1, 2, 3, 4};                  // A lines and crosses, simple, B lines and crosses
  const Font fonts[] = {{3, 1.5f}, {5, 2.5f}, {12, 6}};  // the last is too tall for any band
  const double spacings[] = {8, 10, 15};
  for (const int style : styles) {
    for (int unit = 0; unit < 4; ++unit) {
      for (const Font& font : fonts) {
        for (const double spacing : spacings) {
          SCOPED_TRACE(testing::Message() << "style " << style << ", unit " << unit << ", font " << font.height
                                          << ", spacing " << spacing);
          auto b = DefaultSheet();
          b->gridStyle = style;
          b->showGridLabels = 1;
          b->labelUnit = unit;
          b->textFontHeight = font.height;
          b->textFontWidth = font.width;
          b->frameSpacing = spacing;
          b->cornerX = 3812000;
          b->cornerY = 38512300;
          SetScale(*b, 1000);
          SetSheetText(*b, kRemarkSlot1, Gbk("说明一"));
          SetSheetText(*b, kRemarkSlot1 + 3, Gbk("说明四"));
          SetSheetText(*b, kNoteSlot1, Gbk("附注第一条"));
          SetSheetText(*b, kNoteSlot1 + 1, Gbk("二"));
          std::memcpy(b->legendCells[0], "A", 2);
          std::memcpy(b->legendCells[2], "C", 2);
          const Counts c = Record(*b);
          const auto sheet = SheetGeometryOf(*b);
          ASSERT_TRUE(sheet.has_value());
          const Box paper{CanvasRowToMapX(*sheet, 0), CanvasRowToMapX(*sheet, sheet->canvasHeightPx),
                          CanvasColumnToMapY(*sheet, 0), CanvasColumnToMapY(*sheet, sheet->canvasWidthPx)};
          const std::vector<Box> lines = LineBoxes(c.drawing, 1.0);
          std::vector<std::pair<Box, std::string>> texts;
          for (const VecEntity& e : c.drawing.entities) {
            if (e.IsShape()) continue;
            const Box t = TextBoxOnGround(e.text, 1.0);
            const std::string text = GbkToUtf8(TextOf(e.text));
            EXPECT_TRUE(t.minX >= paper.minX && t.maxX <= paper.maxX && t.minY >= paper.minY && t.maxY <= paper.maxY)
                << text << " leaves the paper";
            for (const Box& l : lines) EXPECT_FALSE(t.Overlaps(l)) << text << " is struck through";
            for (const auto& [other, otherText] : texts) EXPECT_FALSE(t.Overlaps(other)) << text << " on " << otherText;
            texts.push_back({t, text});
          }
          EXPECT_GE(texts.size(), 8u);
        }
      }
    }
  }
}

TEST(FrameAndGrid, SheetTextsAreLeftOutWhenTooSmallOnScreen) {
  auto b = DefaultSheet();
  b->gridStyle = 2;
  b->showGridLabels = 1;
  b->showScale = 1;
  // 3 mm at 200 dots per inch is 23 canvas pixels; 2 mm (the software line) 15.
  struct Case { int zoomDen; int texts; };
  const Case cases[] = {
      {1024, kSheetTexts + 8 + 1},  // everything, with the corners and "1:1000"
      {5 * 1024, kSheetTexts + 8 + 1 - 1},  // software line 3 px: hidden
      {7 * 1024, 1 + 4 + 1},                 // 3 mm texts 3 px: only title, unit name, scale
      {16 * 1024, 0},
  };
  for (const Case& c : cases) {
    DrawContext context;
    context.zoomDen = c.zoomDen;
    EXPECT_EQ(Record(*b, context).texts, c.texts) << "zoom 1/" << c.zoomDen / 1024;
  }
  const Counts normal = Record(*b);
  bool scaleText = false;
  for (const auto& e : normal.drawing.entities)
    if (!e.IsShape() && TextOf(e.text) == "1:1000") scaleText = true;
  EXPECT_TRUE(scaleText);
}

TEST(FrameAndGrid, TitleBlockRemarksAndNotesSitWhereTheSheetWantsThem) {
  auto b = DefaultSheet();
  SetSheetText(*b, kDiagramTitleSlot, Gbk("控制网图"));
  SetSheetText(*b, kRemarkSlot1, Gbk("说明一"));
  SetSheetText(*b, kRemarkSlot1 + 1, "ab");  // 3 bytes or fewer: skipped
  SetSheetText(*b, kNoteSlot1 + 2, Gbk("附注三"));
  SetSheetText(*b, kExtraTextSlot, Gbk("秘密"));
  const Counts c = Record(*b);
  auto find = [&](const std::string& text) -> const TextBlock* {
    for (const auto& e : c.drawing.entities)
      if (!e.IsShape() && TextOf(e.text) == text) return &e.text;
    return nullptr;
  };
  // The outer frame line is 10 m above the sheet's north edge (8500).
  const TextBlock* title = find(Gbk("测量控制网"));
  ASSERT_NE(title, nullptr);
  EXPECT_DOUBLE_EQ(title->x, 8510 + (6 + 4.5 + 3 + 11));
  EXPECT_DOUBLE_EQ(title->y, 1850 - 10 * 3.0 / 2);  // centred: half of 10 bytes x 3 mm
  const TextBlock* second = find(Gbk("控制网图"));
  ASSERT_NE(second, nullptr);
  EXPECT_DOUBLE_EQ(second->x, 8510 + (4.5 + 3 + 8));
  EXPECT_FLOAT_EQ(second->height, 4.5f);
  const TextBlock* extra = find(Gbk("秘密"));
  ASSERT_NE(extra, nullptr);
  EXPECT_DOUBLE_EQ(extra->x, 8517);
  EXPECT_DOUBLE_EQ(extra->y, 2110 - (4 * 2 + 1));
  const TextBlock* remark = find(Gbk("说明一"));
  ASSERT_NE(remark, nullptr);
  EXPECT_DOUBLE_EQ(remark->x, 7990 - 3);
  EXPECT_DOUBLE_EQ(remark->y, 1591);
  EXPECT_EQ(find("ab"), nullptr);
  const TextBlock* note = find(Gbk("附注三"));
  ASSERT_NE(note, nullptr);
  EXPECT_DOUBLE_EQ(note->x, 7990 - (3 + 2 * (3 + 1)));
  // The notes end at the east frame line: three characters of 3.2 mm less the last gap.
  EXPECT_NEAR(note->y, 2110 - (3 * 3.2 - 0.2), 1e-6);
  // "附注:" on the first note line, 1 mm before the notes.
  const TextBlock* heading = find(Gbk("附注:"));
  ASSERT_NE(heading, nullptr);
  EXPECT_DOUBLE_EQ(heading->x, 7990 - 3);
  EXPECT_NEAR(heading->y, note->y - 1 - (2 * 3.2 + 1.7 - 0.2), 1e-6);
  EXPECT_NE(find(Gbk("《Quorvex》可视化平差软件")), nullptr);
}

TEST(FrameAndGrid, APlaneNetworkWithoutResultsIsTitledAsNotComputed) {
  struct Case {
    double sigma0;
    float pointE;
    const char* title;
  };
  const Case cases[] = {
      {0.0, 0.0f, "未解算:控制网图"},  // stored by a computation that failed
      {0.6, 0.0f, "平差计算:控制网图"},
      {0.0, 0.4f, "平差计算:控制网图"},  // a perfect fit still has its ellipses
      {std::numeric_limits<double>::quiet_NaN(), 0.0f, "未解算:控制网图"},
  };
  for (const Case& c : cases) {
    auto net = std::make_unique<PlaneNetwork>();
    ResetPlaneNetwork(*net, "");
    net->calcMode = kReducedObservations;
    net->pointCount = 3;
    net->sigma0 = c.sigma0;
    net->pointE[2] = c.pointE;
    auto b = DefaultSheet();
    const PlaneModel model = PlaneModelFromRecord(*net);
    UpdateDiagramTitle(*b, model);
    EXPECT_EQ(std::string(SheetText(*b, kDiagramTitleSlot)), Gbk(c.title)) << c.title;
  }
}

TEST(FrameAndGrid, LegendTableOnlyWithMoreThanOneCell) {
  auto b = DefaultSheet();
  const int base = Record(*b).shapes;
  std::memcpy(b->legendCells[4], "B", 2);
  EXPECT_EQ(Record(*b).shapes, base);
  std::memcpy(b->legendCells[0], "A", 2);
  // Two rows of three: the box, one row line, two column lines; two cell texts.
  const Counts c = Record(*b);
  EXPECT_EQ(c.shapes, base + 4);
  EXPECT_EQ(c.texts, kSheetTexts + 2);
}

TEST(FrameAndGrid, DamagedSheetsDrawBoundedOrNothing) {
  struct Case {
    const char* what;
    void (*damage)(SettingsBlock&);
    bool sheetDrawn;  // DrawNetworkSheet accepts the block
    int shapes;
  };
  const Case cases[] = {
      {"scale 0", [](SettingsBlock& b) { b.scale = b.appliedScale = 0; }, false, 0},
      {"NaN corner", [](SettingsBlock& b) { b.cornerX = std::numeric_limits<double>::quiet_NaN(); }, false, 0},
      {"scale not applied", [](SettingsBlock& b) { b.appliedScale = 2000; }, true, 0},
      {"sheet too small", [](SettingsBlock& b) { b.sheetWidth = 99; }, true, 0},
      {"2e9 grid rows", [](SettingsBlock& b) { b.gridRows = b.gridCols = 2000000000; }, true, 50},
      {"negative grid rows", [](SettingsBlock& b) { b.gridRows = -5; }, true, 0},
      {"2e9 mm sheet", [](SettingsBlock& b) { b.sheetHeight = 2000000000; b.gridRows = 20000000; }, true, 0},
      {"NaN north edge", [](SettingsBlock& b) { b.northEdgeX = std::numeric_limits<double>::quiet_NaN(); }, true, 0},
      {"NaN fonts and spacing",
       [](SettingsBlock& b) {
         for (auto& f : b.fontSizes) f[0] = std::numeric_limits<float>::quiet_NaN();
         b.textFontHeight = -1;
         b.frameSpacing = std::numeric_limits<double>::infinity();
       },
       true, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = DefaultSheet();
    b->gridStyle = 1;
    b->showGridLabels = 1;
    c.damage(*b);
    int entities = 0;
    struct CountingSink : EntitySink {
      int* n;
      void Shape(const EntityHeader&, const ShapeBlock&, std::span<const GroundPoint>) override { ++*n; }
      void Text(const EntityHeader&, const TextBlock& t) override {
        ++*n;
        EXPECT_TRUE(std::isfinite(t.height) && t.height > 0);
      }
    } sink;
    sink.n = &entities;
    EXPECT_EQ(DrawNetworkSheet(sink, *b, DrawnNetwork{}, DrawContext{}), c.sheetDrawn);
    if (!c.sheetDrawn) {
      EXPECT_EQ(entities, 0);
    } else {
      EXPECT_EQ(Record(*b).shapes, c.shapes);
    }
  }
}

}  // namespace
}  // namespace qp
