// The view's integer arithmetic: zoom, whole drawing, zoom at a place,
// scrolling, sheet steps, cursor and measurement readouts.
#include <gtest/gtest.h>

#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/view_state.h"

namespace qp {
namespace {

TEST(ViewState, WholeDrawingZoomAndBack) {
  ViewState v;
  v.scroll = {300, 900};
  // A 4248 x 4564 canvas in an 800 x 600 window:
  // d = max(ceil(4564 x 1024 / 600), ceil(4248 x 1024 / 800)) = max(7790, 5438).
  EXPECT_TRUE(WholeDrawingAvailable(v, 800, 600, 4248, 4564));
  ASSERT_TRUE(ToggleWholeDrawing(v, 800, 600, 4248, 4564));
  EXPECT_EQ(v.zoomDen, 7790);
  EXPECT_FALSE(v.normalView);
  EXPECT_EQ(v.scroll, (ScreenPoint{0, 0}));
  const ScreenPoint size = v.ScrollSize(4248, 4564);
  EXPECT_LE(size.y, 600);
  EXPECT_LE(size.x, 800);
  EXPECT_TRUE(WholeDrawingAvailable(v, 800, 600, 4248, 4564));  // the way back stays offered

  ASSERT_TRUE(ToggleWholeDrawing(v, 800, 600, 4248, 4564));
  EXPECT_EQ(v.zoomDen, 1024);
  EXPECT_TRUE(v.normalView);
  EXPECT_EQ(v.scroll, (ScreenPoint{300, 900}));

  // Windows (or canvases) of 100 pixels or less, and zooms beyond the limits, change nothing.
  for (auto [w, h, cw, ch] : {std::array{100, 600, 4248, 4564}, std::array{800, 100, 4248, 4564},
                              std::array{800, 600, 100, 4564}, std::array{101, 101, 4248, 4564 * 20}}) {
    ViewState u;
    EXPECT_FALSE(ToggleWholeDrawing(u, w, h, cw, ch)) << w << "x" << h;
    EXPECT_TRUE(u.normalView);
    EXPECT_EQ(u.zoomDen, 1024);
  }
}

TEST(ViewState, ZoomAtTheClickedPlaceCentresIt) {
  ViewState v;
  ASSERT_TRUE(ToggleWholeDrawing(v, 800, 600, 4248, 4564));
  v.toolState = kViewIdle;
  BeginChoosePlace(v);
  EXPECT_EQ(v.toolState, kViewChoosingPlace);
  // The click at (400, 300) lies on canvas (400, 300) x 7790 / 1024.
  const ScreenPoint s = ZoomAtPlace(v, {400, 300}, 800, 600);
  EXPECT_EQ(v.zoomDen, 1024);
  EXPECT_TRUE(v.normalView);
  EXPECT_EQ(s, (ScreenPoint{400 * 7790 / 1024 - 400, 300 * 7790 / 1024 - 300}));
  EXPECT_EQ(v.toolState, kViewIdle);
  // Near the corner the scroll stops at 0.
  ToggleWholeDrawing(v, 800, 600, 4248, 4564);
  EXPECT_EQ(ZoomAtPlace(v, {10, 10}, 800, 600), (ScreenPoint{0, 0}));
  // A previous state above 10 returns to idle.
  v.toolState = kViewMeasuring;
  BeginChoosePlace(v);
  ReturnToPreviousState(v);
  EXPECT_EQ(v.toolState, kViewIdle);
}

TEST(ViewState, CanvasScreenRoundTripAndScrolling) {
  ViewState v;
  v.zoomDen = 2048;  // half size
  const int h = 4564;
  const CanvasPoint c{1000, 2000};
  const ScreenPoint s = v.CanvasToScreen(h, c);
  EXPECT_EQ(s, (ScreenPoint{1000, (4564 - 1000 - 1) / 2}));
  const CanvasPoint back = v.ScreenToCanvas(h, s);
  EXPECT_EQ(back.column, 2000);
  EXPECT_NEAR(back.row, 1000, 2);

  const ScreenPoint max{1000, 700};
  EXPECT_EQ(KeyScroll({100, 100}, ScrollKey::Left, max), (ScreenPoint{0, 100}));
  EXPECT_EQ(KeyScroll({100, 100}, ScrollKey::Right, max), (ScreenPoint{356, 100}));
  EXPECT_EQ(KeyScroll({900, 600}, ScrollKey::Down, max), (ScreenPoint{900, 700}));
  EXPECT_EQ(KeyScroll({900, 600}, ScrollKey::Up, max), (ScreenPoint{900, 344}));
}

TEST(ViewState, SheetStepsByScale) {
  struct Case { double scale, step; };
  for (const Case c : {Case{500, 2}, Case{100, 0.5}, Case{10, 0.05}, Case{200, 1}, Case{20, 0.1}, Case{2000, 10}})
    EXPECT_DOUBLE_EQ(SheetMoveStep(c.scale), c.step) << c.scale;

  auto s = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*s);
  s->scale = 500;
  MoveSheet(*s, ScrollKey::Up);
  MoveSheet(*s, ScrollKey::Left);
  EXPECT_DOUBLE_EQ(s->cornerX, 7998);
  EXPECT_DOUBLE_EQ(s->cornerY, 1602);
  EXPECT_DOUBLE_EQ(s->mapOriginX, 7998);
  EXPECT_DOUBLE_EQ(s->northEdgeX, 7998 + 500 * 500 * 0.001);
  EXPECT_DOUBLE_EQ(s->eastEdgeY, 1602 + 500 * 500 * 0.001);
}

TEST(ViewState, CursorAndMeasurementReadouts) {
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  const SheetGeometry sheet = *SheetGeometryOf(*block);
  EXPECT_EQ(CursorCoordinatesText(sheet, {236, 157}), "8000.000    ,1600.000    ");

  std::vector<MeasureVertex> v;
  EXPECT_EQ(MeasurementText(v, {0, 0}), "");
  v.push_back({{0, 0}, {}});
  EXPECT_EQ(GbkToUtf8(MeasurementText(v, {100, 100})), "距离方位=  141.421,45.0000 ");
  v.push_back({{0, 100}, {}});
  // The angle at the second vertex is folded to at most 180 degrees whichever side the cursor is.
  EXPECT_EQ(GbkToUtf8(MeasurementText(v, {100, 100})), "距离夹角距离=  100.000,< 90.0000>,100.000  ");
  EXPECT_EQ(GbkToUtf8(MeasurementText(v, {-100, 100})), "距离夹角距离=  100.000,< 90.0000>,100.000  ");
  EXPECT_EQ(GbkToUtf8(MeasurementText(v, {-10, 200})), "距离夹角距离=  100.000,<174.1722>,100.499  ");
  v.push_back({{100, 100}, {}});
  EXPECT_EQ(GbkToUtf8(MeasurementText(v, {100, 200})), "距离方位=  300.000,  100.000,90.0000 ");
}

TEST(ViewState, LocatorBringsThePointIntoView) {
  ViewState v;
  EXPECT_EQ(LocatorScroll(v, 4564, {4000, 2000}), (ScreenPoint{2000 - 350, 4564 - 4000 - 1 - 250}));
  EXPECT_EQ(LocatorScroll(v, 4564, {4500, 100}), (ScreenPoint{0, 0}));
}

}  // namespace
}  // namespace qp

namespace qp {
namespace {

TEST(ViewState, PrintPagesTileTheWholePaper) {
  // The default sheet, 580 x 540 mm of paper, on A4 portrait with 190 x 277 mm printable.
  EXPECT_EQ(PrintPageCount(580, 540, 277, 190), 3 * 3);
  EXPECT_EQ(PrintPageCount(277, 190, 277, 190), 1);
  EXPECT_EQ(PrintPageCount(277.01, 190, 277, 190), 2);
  EXPECT_EQ(PrintPageCount(580, 540, 0, 190), 0);
  EXPECT_EQ(PrintPageCount(1e9, 1e9, 1, 1), 0);
}

}  // namespace
}  // namespace qp
