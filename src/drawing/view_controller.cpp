#include "drawing/view_controller.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "drawing/view_transform.h"

namespace qp {

void ViewController::Reset() {
  ViewState fresh;
  fresh.zoomDenMin = view_.zoomDenMin;
  fresh.zoomDenMax = view_.zoomDenMax;
  fresh.printing = view_.printing;
  view_ = fresh;
  panning_ = false;
  swallowMenu_ = false;
  ClearVertex();
}

ScreenPoint ViewController::ClampedScroll(ScreenPoint scroll, const ViewGeometry& g) const {
  const ScreenPoint size = view_.ScrollSize(g.canvasWidthPx, g.canvasHeightPx);
  return ScreenPoint{std::clamp(scroll.x, 0, std::max(0, size.x - g.clientWidth)),
                     std::clamp(scroll.y, 0, std::max(0, size.y - g.clientHeight))};
}

bool ViewController::ZoomAbout(double factor, ScreenPoint anchor, const ViewGeometry& g) {
  if (!std::isfinite(factor) || factor <= 0) return false;
  const double wanted = std::round(view_.zoomDen / factor);
  const int den = static_cast<int>(std::clamp(wanted, static_cast<double>(view_.zoomDenMin),
                                              static_cast<double>(view_.zoomDenMax)));
  if (den == view_.zoomDen || den <= 0) return false;
  // The place under the anchor keeps its window position: its position on
  // the scrolled area scales by the ratio of the old to the new zoom.
  const double ratio = static_cast<double>(view_.zoomDen) / den;
  const double ax = static_cast<double>(view_.scroll.x) + anchor.x, ay = static_cast<double>(view_.scroll.y) + anchor.y;
  const double limit = 1e9;
  const ScreenPoint scroll{static_cast<int>(std::clamp(std::round(ax * ratio) - anchor.x, -limit, limit)),
                           static_cast<int>(std::clamp(std::round(ay * ratio) - anchor.y, -limit, limit))};
  view_.zoomDen = den;
  view_.scroll = ClampedScroll(scroll, g);
  return true;
}

void ViewController::BeginPan(ScreenPoint at) {
  panning_ = true;
  panStart_ = at;
  panScroll_ = view_.scroll;
}

ScreenPoint ViewController::PanTo(ScreenPoint at, const ViewGeometry& g) const {
  return ClampedScroll(ScreenPoint{panScroll_.x - (at.x - panStart_.x), panScroll_.y - (at.y - panStart_.y)}, g);
}

bool ViewController::MayChangeView() const { return !view_.dragging; }

ViewController::Ending ViewController::EndingByRightClick() const {
  switch (view_.toolState) {
    case kViewChoosingPlace: return Ending::CancelChoosing;
    case kViewMeasuring: return Ending::EndTool;
    // A carried item goes back first; the next right click ends the tool.
    case kViewMoving: return view_.dragging ? Ending::PutBackCarried : Ending::EndTool;
    case kViewEditingCurve: return Ending::FinishCurveEdit;
    default: return Ending::None;
  }
}

std::string ViewController::ToolHint() const {
  switch (view_.toolState) {
    case kViewMeasuring: return "距离丈量: 单击取点 (靠近点位时捕捉, 按住Shift不捕捉), 右键或Esc结束";
    case kViewMoving:
      return view_.moveKind == 2 ? "点位移动: 单击拾取点位, 再单击放下, 右键或Esc结束"
                                 : "文本移动: 单击拾取文本, 再单击放下, 右键或Esc结束";
    case kViewEditingCurve: return "曲线编辑: 单击或拖动控制点, 右键或Esc结束";
    case kViewChoosingPlace: return "显示位置: 单击要放大的位置, 右键或Esc取消";
    default: return {};
  }
}

std::string ViewController::ZoomText() const {
  const double percent = 100.0 * view_.zoomNum / std::max(1, view_.zoomDen);
  return percent >= 10 ? Format("显示 %.0f%%", percent) : Format("显示 %.1f%%", percent);
}

bool ViewController::TakeContextMenu() {
  const bool offered = !swallowMenu_;
  swallowMenu_ = false;
  return offered;
}

std::optional<int> ViewController::VertexPress(int near) {
  if (vertexCarried_ && vertex_ >= 0) {
    const int put = vertex_;
    ClearVertex();
    return put;
  }
  vertex_ = near;
  vertexPressed_ = near >= 0;
  vertexMoved_ = false;
  vertexCarried_ = false;
  return std::nullopt;
}

bool ViewController::VertexFollows(bool leftHeld) {
  if (vertex_ < 0) return false;
  if (vertexPressed_ && leftHeld) {
    vertexMoved_ = true;
    return true;
  }
  return vertexCarried_;
}

void ViewController::VertexRelease() {
  if (!vertexPressed_) return;
  vertexPressed_ = false;
  if (vertexMoved_) {
    vertex_ = -1;
  } else {
    vertexCarried_ = vertex_ >= 0;
  }
  vertexMoved_ = false;
}

std::string SnappedMeasurementText(const std::vector<MeasureVertex>& vertices, GroundPoint cursor,
                                   const std::string& snappedName) {
  std::string text = MeasurementText(vertices, cursor);
  if (!text.empty() && !snappedName.empty()) text += " ->" + snappedName;
  return text;
}

}  // namespace qp
