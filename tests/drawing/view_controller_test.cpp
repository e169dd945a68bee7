// The view's tool state machine without a window: zooming about a place,
// dragging the sheet, what Esc ends and what the status bar says, the
// swallowed context menu, picking a curve vertex and the measuring snap.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/view_controller.h"

namespace qp {
namespace {

// A 4000 x 3000 canvas in an 800 x 600 window.
constexpr ViewGeometry kWindow{800, 600, 4000, 3000};

// The canvas position (continuous) under a window position: an independent
// reading of screen = canvas x zoomNum / zoomDen.
double CanvasUnder(const ViewState& v, int scroll, int window) {
  return (static_cast<double>(scroll) + window) * v.zoomDen / v.zoomNum;
}

TEST(ViewController, ZoomAboutKeepsThePlaceUnderTheAnchor) {
  const struct {
    int den;
    ScreenPoint scroll, anchor;
    double factor;
    int expectedDen;
  } cases[] = {
      {1024, {1000, 800}, {400, 300}, 1.25, 819},   // in, about the centre
      {1024, {1000, 800}, {50, 580}, 1 / 1.25, 1280},  // out, about a corner
      {2048, {200, 100}, {700, 20}, 2.0, 1024},
      {700, {3000, 2000}, {10, 10}, 1.25, 560},
  };
  for (const auto& c : cases) {
    ViewController controller;
    ViewState& v = controller.State();
    v.zoomDen = c.den;
    v.scroll = c.scroll;
    const double beforeX = CanvasUnder(v, v.scroll.x, c.anchor.x), beforeY = CanvasUnder(v, v.scroll.y, c.anchor.y);
    ASSERT_TRUE(controller.ZoomAbout(c.factor, c.anchor, kWindow)) << c.den;
    EXPECT_EQ(v.zoomDen, c.expectedDen);
    // Within a window pixel of where it was.
    const double pixel = static_cast<double>(v.zoomDen) / v.zoomNum;
    EXPECT_NEAR(CanvasUnder(v, v.scroll.x, c.anchor.x), beforeX, pixel) << c.den;
    EXPECT_NEAR(CanvasUnder(v, v.scroll.y, c.anchor.y), beforeY, pixel) << c.den;
  }
}

TEST(ViewController, ZoomStopsAtItsLimitsAndInsideTheScrolledArea) {
  const struct {
    int den;
    ScreenPoint scroll;
    double factor;
    bool changes;
    int expectedDen;
    ScreenPoint expectedScroll;
  } cases[] = {
      {1024, {0, 0}, 100.0, true, 512, {400, 300}},       // the largest zoom
      {1024, {0, 0}, 0.0001, true, 65536, {0, 0}},        // the smallest, whole canvas in the window
      {512, {0, 0}, 2.0, false, 512, {0, 0}},             // already at the limit
      {1024, {5, 5}, NAN, false, 1024, {5, 5}},           // no factor
      {1024, {3200, 2400}, 1 / 1.25, true, 1280, {2400, 1800}},  // the far corner stays in the area
  };
  for (const auto& c : cases) {
    ViewController controller;
    ViewState& v = controller.State();
    v.zoomDen = c.den;
    v.scroll = c.scroll;
    EXPECT_EQ(controller.ZoomAbout(c.factor, ScreenPoint{400, 300}, kWindow), c.changes) << c.factor;
    EXPECT_EQ(v.zoomDen, c.expectedDen) << c.factor;
    EXPECT_EQ(v.scroll, c.expectedScroll) << c.factor << ": " << v.scroll.x << "," << v.scroll.y;
  }
}

TEST(ViewController, MiddleButtonDragsTheSheet) {
  const struct {
    ScreenPoint start, to, expected;
  } cases[] = {
      {{100, 100}, {40, 70}, {1060, 1030}},   // the sheet follows the cursor
      {{100, 100}, {900, 900}, {200, 200}},
      {{100, 100}, {2000, 2000}, {0, 0}},     // not beyond the canvas
      {{500, 500}, {-5000, -5000}, {3200, 2400}},
  };
  for (const auto& c : cases) {
    ViewController controller;
    controller.State().scroll = {1000, 1000};
    controller.BeginPan(c.start);
    EXPECT_TRUE(controller.Panning());
    EXPECT_EQ(controller.PanTo(c.to, kWindow), c.expected) << c.to.x;
    controller.EndPan();
    EXPECT_FALSE(controller.Panning());
  }
}

TEST(ViewController, EscAndTheHintFollowTheTool) {
  using Ending = ViewController::Ending;
  const struct {
    int state, moveKind;
    bool dragging;
    Ending ending;
    const char* hint;
  } cases[] = {
      {kViewIdle, 0, false, Ending::None, ""},
      {kViewMeasuring, 0, false, Ending::EndTool, "右键或Esc结束"},
      {kViewMoving, 1, false, Ending::EndTool, "右键或Esc结束"},
      {kViewMoving, 1, true, Ending::PutBackCarried, "文本移动"},
      {kViewMoving, 2, false, Ending::EndTool, "点位移动"},
      {kViewEditingCurve, 0, false, Ending::FinishCurveEdit, "右键或Esc结束"},
      {kViewChoosingPlace, 0, false, Ending::CancelChoosing, "右键或Esc取消"},
      {kViewContextMenu, 0, false, Ending::None, ""},
  };
  for (const auto& c : cases) {
    ViewController controller;
    controller.State().toolState = c.state;
    controller.State().moveKind = c.moveKind;
    controller.State().dragging = c.dragging;
    EXPECT_EQ(controller.EndingByRightClick(), c.ending) << c.state;
    EXPECT_EQ(controller.EscapeEndsTool(), c.ending != Ending::None) << c.state;
    const std::string hint = controller.ToolHint();
    if (*c.hint == 0) EXPECT_TRUE(hint.empty()) << c.state;
    else EXPECT_NE(hint.find(c.hint), std::string::npos) << c.state << ": " << hint;
  }
}

TEST(ViewController, ZoomRatioText) {
  const struct {
    int den;
    const char* text;
  } cases[] = {{1024, "显示 100%"}, {512, "显示 200%"}, {2048, "显示 50%"}, {7790, "显示 13%"}, {65536, "显示 1.6%"}};
  for (const auto& c : cases) {
    ViewController controller;
    controller.State().zoomDen = c.den;
    EXPECT_EQ(controller.ZoomText(), c.text);
  }
}

TEST(ViewController, CurveVertexByClickOrByDrag) {
  // Steps: 'p' press near vertex 2, 'n' press near none, 'm' move with the
  // button held, 'h' move with it up, 'r' release. After each step: the
  // vertex picked, whether it followed the move and a vertex put down.
  struct Step {
    char action;
    int picked;
    bool follows;
    int put;
  };
  const struct {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"click, carry, click", {{'p', 2, false, -1}, {'r', 2, false, -1}, {'h', 2, true, -1}, {'n', -1, false, 2}}},
      {"press, drag, release", {{'p', 2, false, -1}, {'m', 2, true, -1}, {'r', -1, false, -1}, {'h', -1, false, -1}}},
      {"press on nothing", {{'n', -1, false, -1}, {'m', -1, false, -1}, {'r', -1, false, -1}}},
  };
  for (const auto& c : cases) {
    ViewController controller;
    for (const Step& step : c.steps) {
      bool follows = false;
      int put = -1;
      switch (step.action) {
        case 'p': put = controller.VertexPress(2).value_or(-1); break;
        case 'n': put = controller.VertexPress(-1).value_or(-1); break;
        case 'm': follows = controller.VertexFollows(true); break;
        case 'h': follows = controller.VertexFollows(false); break;
        case 'r': controller.VertexRelease(); break;
      }
      EXPECT_EQ(controller.PickedVertex(), step.picked) << c.name << " " << step.action;
      EXPECT_EQ(follows, step.follows) << c.name << " " << step.action;
      EXPECT_EQ(put, step.put) << c.name << " " << step.action;
    }
  }
}

TEST(ViewController, MeasuringSnapsWithinEightPixels) {
  // Ground (x, y) stands straight for the window position (column, row).
  const std::vector<SnapPoint> points = {{"A", {100, 100}}, {"B", {110, 100}}, {"C", {300, 300}}};
  const auto window = [](GroundPoint g) { return ScreenPoint{static_cast<int>(g.x), static_cast<int>(g.y)}; };
  const struct {
    ScreenPoint cursor;
    int expected;
  } cases[] = {
      {{100, 100}, 0}, {{104, 100}, 0}, {{106, 100}, 1},  // the nearer of two
      {{300, 308}, 2}, {{300, 309}, -1},                  // eight pixels, not nine
      {{306, 306}, -1},                                   // 8.5 pixels
      {{200, 200}, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NearestSnapPoint(points, c.cursor, window), c.expected) << c.cursor.x << "," << c.cursor.y;
  EXPECT_EQ(NearestSnapPoint({}, ScreenPoint{0, 0}, window), -1);
}

TEST(ViewController, ResetStartsAfreshKeepingTheLimits) {
  ViewController controller;
  ViewState& v = controller.State();
  v.zoomDenMax = 30000;
  v.zoomDen = 5000;
  v.normalView = false;
  v.toolState = kViewMeasuring;
  v.measurePoints.push_back({});
  v.scroll = {10, 20};
  controller.BeginPan({1, 1});
  controller.ToolEndedByRightClick();
  controller.VertexPress(1);
  controller.Reset();
  EXPECT_EQ(v.zoomDen, 1024);
  EXPECT_TRUE(v.normalView);
  EXPECT_EQ(v.toolState, kViewIdle);
  EXPECT_TRUE(v.measurePoints.empty());
  EXPECT_EQ(v.scroll, (ScreenPoint{0, 0}));
  EXPECT_EQ(v.zoomDenMax, 30000);
  EXPECT_FALSE(controller.Panning());
  EXPECT_TRUE(controller.TakeContextMenu());
  EXPECT_EQ(controller.PickedVertex(), -1);
}

}  // namespace
}  // namespace qp
