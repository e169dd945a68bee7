// The renderer's curves, pens and texts against hand-computed pixels, on a
// test sheet of 10 canvas pixels per ground metre and per paper millimetre
// (1:1000 at 254 dots per inch, corner at the origin, no margins).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "common/gbk_text.h"
#include "drawing/curve_sampling.h"
#include "drawing/renderer.h"
#include "drawing/sheet_resolution.h"
#include "support/recording_device.h"

namespace qp {
namespace {

using testing::RecordedCall;
using testing::RecordingDevice;

SheetGeometry TestSheet() {
  SheetGeometry s;
  s.scale = 1000;
  s.resolution = 254.f;
  s.canvasHeightPx = 1000;
  s.canvasWidthPx = 1000;
  return s;
}

struct Rendered {
  RecordingDevice device;
  Renderer renderer;
  explicit Rendered(int mode = kRenderNormal, int zoomNum = 1024, int zoomDen = 1024)
      : renderer(device, [&] {
          RenderSettings s = RenderSettingsFor(TestSheet());
          s.mode = mode;
          s.zoomNum = zoomNum;
          s.zoomDen = zoomDen;
          return s;
        }()) {}
  void Shape(int type, DrawStyle style, std::vector<GroundPoint> points) {
    EmitShape(renderer, MakeEntityHeader(EntityKind::Shape, EntityCategory::Lines), MakeShapeBlock(type, 0, style),
              points);
  }
  void Text(GroundPoint ref, int direction, std::string_view utf8, float width = 2.f, float gap = 0.2f) {
    renderer.Text(MakeEntityHeader(EntityKind::Text, EntityCategory::Texts),
                  MakeTextBlock(ref, direction, TextFont{{}, 3.f, width, gap}, Rgb{1, 2, 3}, Gbk(utf8)));
  }
};

TEST(CurveSampling, SplinesPassThroughTheirControlPoints) {
  // Collinear points unevenly spaced on row = 2 x column: every sample stays on the line.
  const std::vector<CanvasPoint> line = {{0, 0}, {100, 50}, {300, 150}};
  std::vector<CanvasPoint> out;
  ASSERT_EQ(SampleSpline(line, false, out), SplineStatus::Ok);
  ASSERT_EQ(out.size(), 2u * kSplineSamplesPerSegment);
  EXPECT_EQ(out[0], line[0]);
  EXPECT_EQ(out[20], line[1]);
  EXPECT_EQ(out[21], line[1]);
  EXPECT_EQ(out[41], line[2]);
  for (const CanvasPoint& p : out) EXPECT_LE(std::abs(p.row - 2 * p.column), 1) << p.row << "," << p.column;

  // Closed through the corners of a square: D = centre + 1.5 (P - centre), so
  // halfway between (0,0) and (0,100) the curve bulges out to row -18.75.
  const std::vector<CanvasPoint> square = {{0, 0}, {0, 100}, {100, 100}, {100, 0}};
  out.clear();
  ASSERT_EQ(SampleSpline(square, true, out), SplineStatus::Ok);
  ASSERT_EQ(out.size(), 4u * kSplineSamplesPerSegment);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(out[i * 21], square[i]);
  EXPECT_EQ(out.back(), square[0]);
  EXPECT_EQ(out[10], (CanvasPoint{-18, 50}));
  EXPECT_EQ(out[52], (CanvasPoint{119, 50}));  // 118.75 + 0.5 truncated

  // Too few points draw nothing and are no error; a system larger than any
  // shape cannot be fitted. Neither touches the output.
  out.assign(1, CanvasPoint{7, 7});
  EXPECT_EQ(SampleSpline(std::vector<CanvasPoint>{{1, 1}}, false, out), SplineStatus::TooFewPoints);
  EXPECT_EQ(SampleSpline(std::vector<CanvasPoint>{{1, 1}, {5, 5}}, true, out), SplineStatus::TooFewPoints);
  EXPECT_EQ(SampleSpline(std::vector<CanvasPoint>(kMaxShapePoints + 1), false, out), SplineStatus::Unsolvable);
  EXPECT_EQ(out.size(), 1u);
}

TEST(CurveSampling, EllipseStepAndOrientation) {
  // 254 dpi is 10 pixels per millimetre: J = 10 / (A + B) / pi x 720 within 5..30.
  struct Case { double aPlusB; int step; };
  for (const Case c : {Case{2, 30}, Case{0, 30}, Case{100, 22}, Case{150, 15}, Case{1000, 5}, Case{std::nan(""), 30}})
    EXPECT_EQ(EllipseStepDegrees(c.aPlusB, 254), c.step) << c.aPlusB;

  // Corners as the error ellipses give them: C -+ a.u +- b.v, a = 400 along the rows, b = 200.
  struct Orientation { CanvasPoint corners[4]; int firstColumnStep; };
  const Orientation cases[] = {
      {{{100, 700}, {100, 300}, {900, 300}, {900, 700}}, +1},   // P1 -> P3 azimuth beyond pi: s = +1
      {{{100, 300}, {100, 700}, {900, 700}, {900, 300}}, -1},   // mirrored rectangle: s = -1
  };
  for (const Orientation& c : cases) {
    std::vector<CanvasPoint> out;
    SampleEllipse(c.corners, 254, out);
    ASSERT_EQ(out.size(), 73u);  // 600 px: 5-degree steps, 72 points and the first again
    EXPECT_EQ(out.front(), (CanvasPoint{900, 500}));
    EXPECT_EQ(out.back(), out.front());
    EXPECT_EQ((out[1].column - 500 > 0 ? 1 : -1), c.firstColumnStep);
    for (const CanvasPoint& p : out)
      EXPECT_NEAR(std::hypot((p.row - 500) / 400.0, (p.column - 500) / 200.0), 1.0, 0.01);
  }
  std::vector<CanvasPoint> tiny;
  const CanvasPoint dot[4] = {{10, 11}, {10, 10}, {11, 10}, {11, 11}};
  SampleEllipse(dot, 254, tiny);
  EXPECT_EQ(tiny.size(), 13u);  // 30-degree steps and the closing point
}

TEST(Renderer, ShapesMapThroughTheCanvasToTheZoomedScreen) {
  const DrawStyle red = DrawStyle::Make(1, 8, 9);
  const DrawStyle filled = DrawStyle::Make(0, 0, 0, 15);
  const LineWidths px = LineWidthsForResolution(254);
  {
    Rendered r;
    r.Shape(kShapePolyline, red, {{0, 0}, {10, 20}});
    r.Shape(kShapePolygon, filled, {{0, 0}, {10, 0}, {10, 10}, {0, 0}});
    r.Shape(kShapePolygon, filled, {{0, 0}, {0, 0}});           // too few
    r.Shape(6, red, {{0, 0}, {10, 20}});                        // unknown kinds
    r.Shape(12, red, {{0, 0}, {10, 20}});
    ASSERT_EQ(r.device.calls.size(), 2u);
    const RecordedCall& line = r.device.calls[0];
    EXPECT_EQ(line.kind, RecordedCall::Polyline);
    EXPECT_EQ(line.points, (std::vector<ScreenPoint>{{0, 999}, {200, 899}}));
    EXPECT_EQ(line.pen, (testing::RecordedPen{PaletteColour(9), PenStyle::Dash, px.At(8)}));
    const RecordedCall& polygon = r.device.calls[1];
    EXPECT_EQ(polygon.kind, RecordedCall::Polygon);
    EXPECT_EQ(polygon.points, (std::vector<ScreenPoint>{{0, 999}, {0, 899}, {100, 899}}));
    EXPECT_EQ(polygon.brush, PaletteColour(15));
  }
  // Zoomed out to a half: coordinates halve and weight 8 becomes weight 4;
  // zoomed in, the weight stays.
  struct Zoom { int num, den; ScreenPoint end; int weight; };
  for (const Zoom z : {Zoom{512, 1024, {100, 449}, 4}, Zoom{2048, 1024, {400, 1798}, 8}, Zoom{1, 1024, {0, 0}, 0}}) {
    Rendered r(kRenderNormal, z.num, z.den);
    r.Shape(kShapePolyline, red, {{0, 0}, {10, 20}});
    ASSERT_EQ(r.device.calls.size(), 1u);
    EXPECT_EQ(r.device.calls[0].points[1], z.end) << z.num;
    EXPECT_EQ(r.device.calls[0].pen.widthPx, px.At(z.weight)) << z.num;
  }
}

TEST(Renderer, ModeColoursForShapesAndTexts) {
  struct Case { int mode; Rgb pen; Rgb fill; Rgb text; };
  const Case cases[] = {
      {kRenderNormal, PaletteColour(9), PaletteColour(12), Rgb{1, 2, 3}},
      {kRenderHighlight, Rgb{255, 128, 255}, PaletteColour(12), Rgb{255, 128, 255}},
      {kRenderMarked, Rgb{0, 255, 0}, PaletteColour(12), Rgb{1, 2, 3}},
      {kRenderErase, Rgb{255, 255, 255}, Rgb{255, 255, 255}, Rgb{255, 255, 255}},
  };
  for (const Case& c : cases) {
    Rendered r(c.mode);
    r.Shape(kShapePolygon, DrawStyle::Make(0, 0, 9, 12), {{0, 0}, {10, 0}, {10, 10}, {0, 0}});
    r.Text({50, 50}, 900, "A");
    ASSERT_EQ(r.device.calls.size(), 2u);
    EXPECT_EQ(r.device.calls[0].pen.colour, c.pen) << c.mode;
    EXPECT_EQ(r.device.calls[0].brush, c.fill) << c.mode;
    EXPECT_EQ(r.device.calls[1].textColour, c.text) << c.mode;
  }
}

TEST(Renderer, CurvesAndTheirFittingFailure) {
  Rendered r;
  const DrawStyle style = DrawStyle::Make(0, 0, 0, 15);
  r.Shape(kShapeSpline, style, {{0, 0}, {10, 5}, {30, 15}});
  r.Shape(kShapeClosedSpline, style, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
  r.Shape(4, style, {{0, 0}, {10, 5}});            // further kinds: even open, odd closed
  r.Shape(5, style, {{0, 0}, {0, 10}, {10, 10}});
  r.Shape(kShapeEllipse, style, {{40, 55}, {40, 45}, {60, 45}, {60, 55}});
  const std::vector<RecordedCall::Kind> kinds = {RecordedCall::Polyline, RecordedCall::Polygon,
                                                 RecordedCall::Polyline, RecordedCall::Polygon,
                                                 RecordedCall::Polygon};
  ASSERT_EQ(r.device.calls.size(), kinds.size());
  for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(r.device.calls[i].kind, kinds[i]) << i;
  EXPECT_EQ(r.device.calls[0].points.size(), 42u);
  EXPECT_EQ(r.device.calls[0].points[20], (ScreenPoint{50, 899}));  // through (row 100, column 50)
  EXPECT_EQ(r.device.calls[1].brush, PaletteColour(15));
  EXPECT_EQ(r.device.calls[4].points.size(), 25u);  // A + B = 150 px: 15-degree steps
  EXPECT_EQ(r.device.calls[4].brush, PaletteColour(15));  // a point circle covers the lines beneath it
  EXPECT_EQ(r.renderer.SplineFailures(), 0);

  // Damaged control points: the curve cannot be fitted, nothing is drawn and
  // the pass counts it for one message; damaged polylines are left out silently.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  r.device.calls.clear();
  r.Shape(kShapeSpline, style, {{0, 0}, {nan, 5}, {30, 15}});
  r.Shape(kShapeClosedSpline, style, {{0, 0}, {0, 10}, {10, std::numeric_limits<double>::infinity()}});
  r.Shape(kShapePolyline, style, {{0, 0}, {nan, nan}});
  EXPECT_TRUE(r.device.calls.empty());
  EXPECT_EQ(r.renderer.SplineFailures(), 2);
  EXPECT_EQ(SplineFitErrorMessage(), Gbk("B样条曲线拟合错误"));
}

TEST(Renderer, HugeAndDamagedEntitiesStayBounded) {
  Rendered r;
  std::vector<GroundPoint> ring(1000000);
  for (size_t i = 0; i < ring.size(); ++i) ring[i] = {50 + 40 * std::cos(i * 1e-5), 50 + 40 * std::sin(i * 1e-5)};
  ring.back() = ring.front();
  r.Shape(kShapePolygon, DrawStyle::Make(0, 0, 0, 3), ring);
  ASSERT_EQ(r.device.calls.size(), 1u);
  EXPECT_EQ(r.device.calls[0].points.size(), 999999u);
  EXPECT_FALSE(r.device.calls[0].brush.has_value());

  // A damaged text block: no height, an absurd width and gap, a length beyond
  // its field, an unterminated face. One glyph, a bounded cell, no crash.
  r.device.calls.clear();
  TextBlock t = MakeTextBlock({50, 10}, INT_MIN, TextFont{}, Rgb{}, Gbk("中文字"));
  t.height = std::numeric_limits<float>::quiet_NaN();
  t.width = 1e30f;
  t.gap = -std::numeric_limits<float>::infinity();
  t.length = 1 << 30;
  std::fill(std::begin(t.face), std::end(t.face), 'F');
  r.renderer.Text(MakeEntityHeader(EntityKind::Text, EntityCategory::Texts), t);
  ASSERT_EQ(r.device.calls.size(), 1u);
  EXPECT_EQ(r.device.calls[0].font.heightPx, 4);
  EXPECT_EQ(r.device.calls[0].font.widthPx, 1 << 16);
  EXPECT_EQ(r.device.calls[0].face, std::string(kTextFaceSize, 'F'));

  // A sheet without a canvas has no place for characters.
  RecordingDevice none;
  SheetGeometry empty = TestSheet();
  empty.canvasHeightPx = empty.canvasWidthPx = 0;
  Renderer onEmpty(none, RenderSettingsFor(empty));
  onEmpty.Text(MakeEntityHeader(EntityKind::Text, EntityCategory::Texts),
               MakeTextBlock({0, 0}, 900, TextFont{}, Rgb{}, "A"));
  EXPECT_TRUE(none.calls.empty());
}

TEST(Renderer, TextsAdvanceCharacterByCharacter) {
  // Width 2 mm and gap 0.2 mm: a double-width character advances 4.2 mm (42
  // pixels), a single-width one 2.2 mm; two Chinese characters make 8.4 mm.
  struct Case { int direction; const char* text; GroundPoint ref; std::vector<ScreenPoint> glyphs; int escapement; };
  const Case cases[] = {
      {900, "中文字", {50, 10}, {{100, 499}, {142, 499}, {184, 499}}, 0},
      {900, "A1中", {50, 10}, {{100, 499}, {122, 499}, {144, 499}}, 0},
      {0, "中文字", {50, 10}, {{100, 499}, {100, 457}, {100, 415}}, 900},
      {2700, "中文", {50, 3}, {{30, 499}}, 1800},                   // the second falls off the left edge
      {900, "中文字", {50, 96}, {{960, 499}}, 0},                    // only the first is on the canvas
      {900, "中文字", {50, -5}, {{35, 499}}, 0},                     // from column -49: the first two are off
      {4500, "中", {50, 10}, {{100, 499}}, 0},
  };
  for (const Case& c : cases) {
    Rendered r;
    r.Text(c.ref, c.direction, c.text);
    std::vector<ScreenPoint> at;
    for (const RecordedCall& call : r.device.calls) {
      at.push_back(call.points[0]);
      EXPECT_EQ(call.font.escapementTenths, c.escapement) << c.text << " " << c.direction;
      EXPECT_EQ(call.font.heightPx, 30);
      EXPECT_EQ(call.font.widthPx, 20);
      EXPECT_EQ(call.font.weight, 700);
      EXPECT_EQ(call.face, Gbk("宋体"));
    }
    EXPECT_EQ(at, c.glyphs) << c.text << " " << c.direction;
  }
  // Zoomed far out the characters stay 4 pixels high; the characters are sent one by one.
  Rendered small(kRenderNormal, 64, 1024);
  small.Text({50, 10}, 900, "中A");
  ASSERT_EQ(small.device.calls.size(), 2u);
  EXPECT_EQ(small.device.calls[0].font.heightPx, 4);
  EXPECT_EQ(small.device.calls[0].character, Gbk("中"));
  EXPECT_EQ(small.device.calls[1].character, "A");
  EXPECT_EQ(small.device.calls[1].points[0], (ScreenPoint{142 * 64 / 1024, 499 * 64 / 1024}));
}

TEST(SheetResolution, DerivedLikeThePrintedSheet) {
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  // At its own resolution the default sheet reproduces its stored canvas.
  const auto same = DeriveSheetForResolution(*block, 200);
  ASSERT_TRUE(same);
  EXPECT_EQ(same->block.canvasHeightPx, 4564);
  EXPECT_EQ(same->block.canvasWidthPx, 4248);
  EXPECT_EQ(same->block.bottomMarginPx, 236);
  EXPECT_EQ(same->block.leftMarginPx, 157);
  // 580 x 540 mm of paper at 600 dpi.
  const auto fine = DeriveSheetForResolution(*block, 600);
  ASSERT_TRUE(fine);
  EXPECT_EQ(fine->geometry.canvasHeightPx, 13700);
  EXPECT_EQ(fine->geometry.canvasWidthPx, 12752);
  EXPECT_EQ(fine->fullWidthPx, 12755);
  EXPECT_EQ(fine->geometry.bottomMarginPx, 709);
  EXPECT_EQ(fine->geometry.leftMarginPx, 472);
  EXPECT_EQ(fine->lineWidths.px, LineWidthsForResolution(600).px);
  EXPECT_EQ(MapToCanvas(fine->geometry, {8000, 1600}), (CanvasPoint{709, 472}));

  // A paper too large for the canvas at that resolution, or damaged sizes, are refused.
  block->sheetHeight = 3640;
  std::string why;
  EXPECT_FALSE(DeriveSheetForResolution(*block, 600, &why));
  EXPECT_EQ(why, "canvas size");
  EXPECT_TRUE(DeriveSheetForResolution(*block, 300));
  block->sheetHeight = -2000000000;
  EXPECT_FALSE(DeriveSheetForResolution(*block, 200));
  ResetSettingsBlock(*block);
  EXPECT_FALSE(DeriveSheetForResolution(*block, std::nan("")));
}

}  // namespace
}  // namespace qp
