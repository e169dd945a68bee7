#include "drawing/view_state.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "common/format.h"
#include "drawing/view_transform.h"
#include "geodesy/angles.h"

namespace qp {
namespace {

// ceil(a / b) for positive b.
int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

constexpr int kKeyScrollStep = 256;

}  // namespace

ScreenPoint ViewState::ScrollSize(int canvasWidthPx, int canvasHeightPx) const {
  return ScreenPoint{MulDivSaturated(canvasWidthPx, zoomNum, zoomDen), MulDivSaturated(canvasHeightPx, zoomNum, zoomDen)};
}

ScreenPoint ViewState::CanvasToScreen(int canvasHeightPx, CanvasPoint c) const {
  return qp::CanvasToScreen(c, canvasHeightPx, zoomNum, zoomDen);
}

CanvasPoint ViewState::ScreenToCanvas(int canvasHeightPx, ScreenPoint s) const {
  return qp::ScreenToCanvas(s, canvasHeightPx, zoomNum, zoomDen);
}

bool WholeDrawingAvailable(const ViewState& view, int clientWidth, int clientHeight, int canvasWidthPx,
                           int canvasHeightPx) {
  if (!view.normalView) return true;  // the way back is always offered
  const ScreenPoint size = view.ScrollSize(canvasWidthPx, canvasHeightPx);
  return clientWidth < size.x || clientHeight < size.y;
}

bool ToggleWholeDrawing(ViewState& view, int w, int h, int canvasWidthPx, int canvasHeightPx) {
  if (!view.normalView) {
    view.zoomDen = view.savedZoomDen;
    view.normalView = true;
    view.scroll = view.savedScroll;
    return true;
  }
  if (w <= 100 || h <= 100 || canvasWidthPx <= 100 || canvasHeightPx <= 100) return false;
  const int64_t d = std::max(CeilDiv(static_cast<int64_t>(canvasHeightPx) * view.zoomNum, h),
                             CeilDiv(static_cast<int64_t>(canvasWidthPx) * view.zoomNum, w));
  if (d < view.zoomDenMin || d > view.zoomDenMax) return false;
  view.savedZoomDen = view.zoomDen;
  view.savedScroll = view.scroll;
  view.scroll = ScreenPoint{};
  view.zoomDen = static_cast<int>(d);
  view.normalView = false;
  return true;
}

void BeginChoosePlace(ViewState& view) {
  view.previousState = view.toolState;
  view.toolState = kViewChoosingPlace;
}

ScreenPoint ZoomAtPlace(ViewState& view, ScreenPoint click, int clientWidth, int clientHeight) {
  const int cx = MulDivSaturated(click.x, view.zoomDen, view.zoomNum);
  const int cy = MulDivSaturated(click.y, view.zoomDen, view.zoomNum);
  view.zoomDen = view.savedZoomDen;
  view.normalView = true;
  view.scroll = ScreenPoint{std::max(0, MulDivSaturated(cx, view.zoomNum, view.zoomDen) - clientWidth / 2),
                            std::max(0, MulDivSaturated(cy, view.zoomNum, view.zoomDen) - clientHeight / 2)};
  ReturnToPreviousState(view);
  return view.scroll;
}

void ReturnToPreviousState(ViewState& view) {
  view.toolState = view.previousState > 10 ? kViewIdle : view.previousState;
  view.previousState = kViewIdle;
}

ScreenPoint KeyScroll(ScreenPoint scroll, ScrollKey key, ScreenPoint maxScroll) {
  switch (key) {
    case ScrollKey::Left: scroll.x -= kKeyScrollStep; break;
    case ScrollKey::Right: scroll.x += kKeyScrollStep; break;
    case ScrollKey::Up: scroll.y -= kKeyScrollStep; break;
    case ScrollKey::Down: scroll.y += kKeyScrollStep; break;
  }
  scroll.x = std::clamp(scroll.x, 0, std::max(0, maxScroll.x));
  scroll.y = std::clamp(scroll.y, 0, std::max(0, maxScroll.y));
  return scroll;
}

double SheetMoveStep(double scale) {
  if (scale >= 200) return static_cast<int>(scale * 0.005);
  if (scale >= 20) return static_cast<int>(scale * 0.05) * 0.1;
  return static_cast<int>(scale * 5) * 0.001;
}

void MoveSheet(SettingsBlock& s, ScrollKey key) {
  if (!std::isfinite(s.scale) || s.scale <= 0 || s.scale > 1e9) return;
  const double c = SheetMoveStep(s.scale);
  switch (key) {
    case ScrollKey::Up: s.cornerX -= c; break;
    case ScrollKey::Right: s.cornerY -= c; break;
    case ScrollKey::Down: s.cornerX += c; break;
    case ScrollKey::Left: s.cornerY += c; break;
  }
  s.mapOriginX = s.cornerX;
  s.mapOriginY = s.cornerY;
  s.northEdgeX = s.sheetHeight * s.scale * 0.001 + s.cornerX;
  s.eastEdgeY = s.sheetWidth * s.scale * 0.001 + s.cornerY;
}

std::string CursorCoordinatesText(const SheetGeometry& sheet, CanvasPoint c) {
  const GroundPoint g = CanvasToMap(sheet, c);
  return Format("%-12.3f,%-12.3f", g.x, g.y);
}

std::string MeasurementText(const std::vector<MeasureVertex>& v, GroundPoint c) {
  const size_t n = v.size();
  if (n == 0) return {};
  if (n == 1) {
    const GroundPoint a = v[0].ground;
    return FormatText("距离方位=%9.3f,%-8.4f", DistanceOf(a.x, a.y, c.x, c.y),
                      RadiansToDms(AzimuthOf(a.x, a.y, c.x, c.y)));
  }
  if (n == 2) {
    const GroundPoint a = v[0].ground, b = v[1].ground;
    double beta = AzimuthOf(b.x, b.y, c.x, c.y) - AzimuthOf(b.x, b.y, a.x, a.y);
    const double twoPi = 2 * std::numbers::pi;
    while (beta < 0) beta += twoPi;
    while (beta >= twoPi) beta -= twoPi;
    if (beta >= std::numbers::pi) beta = twoPi - beta;
    return FormatText("距离夹角距离=%9.3f,<%8.4f>,%-9.3f", DistanceOf(b.x, b.y, a.x, a.y), RadiansToDms(beta),
                      DistanceOf(b.x, b.y, c.x, c.y));
  }
  double total = 0;
  for (size_t i = 1; i < n; ++i)
    total += DistanceOf(v[i - 1].ground.x, v[i - 1].ground.y, v[i].ground.x, v[i].ground.y);
  const GroundPoint last = v[n - 1].ground;
  const double d = DistanceOf(last.x, last.y, c.x, c.y);
  return FormatText("距离方位=%9.3f,%9.3f,%-8.4f", total + d, d, RadiansToDms(AzimuthOf(last.x, last.y, c.x, c.y)));
}

ScreenPoint LocatorScroll(const ViewState& view, int canvasHeightPx, CanvasPoint point) {
  const ScreenPoint s = view.CanvasToScreen(canvasHeightPx, point);
  return ScreenPoint{std::max(0, s.x - 350), std::max(0, s.y - 250)};
}

int PrintPageCount(double paperH, double paperW, double printableH, double printableW) {
  if (!(printableH > 0) || !(printableW > 0) || !(paperH > 0) || !(paperW > 0)) return 0;
  const double down = std::ceil(paperH / printableH), across = std::ceil(paperW / printableW);
  if (down * across > 10000) return 0;  // no printer tiles a sheet into more pages
  return static_cast<int>(down * across);
}

}  // namespace qp
