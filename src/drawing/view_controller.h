// The drawing view's tool state machine beyond the sheet arithmetic of
// ViewState: a fresh state for each document, continuous zoom about a place
// in the window (Ctrl + wheel, '+' and '-'), dragging the sheet with the
// middle button, which tools Esc ends, the status texts that tell the zoom
// and how a tool ends, the measuring tool's snap to point symbols, picking a
// curve's control point by click or by press-and-drag, and swallowing the
// context menu of the right click that ended a tool. Positions are window
// pixels (the widget's viewport); nothing here knows the window toolkit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/view_state.h"

namespace qp {

// A point symbol the measuring tool can snap to.
struct SnapPoint {
  std::string name;  // GBK
  GroundPoint ground;
};

// The window, the canvas and where the sheet is: what placing a ground point
// in the window takes.
struct ViewGeometry {
  int clientWidth = 0, clientHeight = 0;
  int canvasWidthPx = 0, canvasHeightPx = 0;
};

// The largest distance, in window pixels, at which a measurement snaps.
inline constexpr int kMeasureSnapPixels = 8;
// One wheel notch or one '+' key zooms by this factor.
inline constexpr double kZoomStepFactor = 1.25;

class ViewController {
 public:
  ViewState& State() { return view_; }
  const ViewState& State() const { return view_; }

  // A document opened or closed: the zoom, the scroll, the tool and the
  // whole-drawing view start afresh (the limits stay).
  void Reset();

  // Zooms by `factor` (> 1 enlarges) keeping the sheet under `anchor` (window
  // pixels) in place; zoomDen stays within zoomDenMin..zoomDenMax. The new
  // scroll position is kept within the scrolled area. Returns whether the
  // zoom changed.
  bool ZoomAbout(double factor, ScreenPoint anchor, const ViewGeometry& geometry);
  // The scroll position a zoom leaves, clamped to the scrolled area.
  ScreenPoint ClampedScroll(ScreenPoint scroll, const ViewGeometry& geometry) const;

  // Dragging the sheet with the middle button: the scroll follows the cursor.
  void BeginPan(ScreenPoint at);
  bool Panning() const { return panning_; }
  ScreenPoint PanTo(ScreenPoint at, const ViewGeometry& geometry) const;
  void EndPan() { panning_ = false; }
  // Zooming and dragging the sheet wait while an item is carried: its drag
  // start is a window position.
  bool MayChangeView() const;

  // What a right click, and Esc as well, does to the tool running now.
  enum class Ending { None, CancelChoosing, EndTool, PutBackCarried, FinishCurveEdit };
  Ending EndingByRightClick() const;
  bool EscapeEndsTool() const { return EndingByRightClick() != Ending::None; }
  // The status bar's hint of the running tool (UTF-8), empty when idle.
  std::string ToolHint() const;
  // The zoom ratio for the status bar (UTF-8), e.g. "显示 100%".
  std::string ZoomText() const;

  // A right click ended a tool: the context menu it brings is not offered.
  void ToolEndedByRightClick() { swallowMenu_ = true; }
  // Any other press forgets that.
  void OtherPress() { swallowMenu_ = false; }
  // Whether a context menu may open now (consumes a swallowed one).
  bool TakeContextMenu();

  // Vertex editing. A press near control point `near` (-1: none) picks it;
  // a press while one is carried returns it, to be put at the press place.
  std::optional<int> VertexPress(int near);
  // Whether the picked control point follows a cursor move.
  bool VertexFollows(bool leftHeld);
  // The left button came up: after a click the point is carried until the
  // next click, after a drag it is put down.
  void VertexRelease();
  int PickedVertex() const { return vertex_; }
  void ClearVertex() { vertex_ = -1, vertexPressed_ = false, vertexMoved_ = false, vertexCarried_ = false; }

 private:
  ViewState view_;
  bool panning_ = false;
  ScreenPoint panStart_{};
  ScreenPoint panScroll_{};
  bool swallowMenu_ = false;
  int vertex_ = -1;
  bool vertexPressed_ = false;
  bool vertexMoved_ = false;
  bool vertexCarried_ = false;
};

// The point symbol nearest to `cursor` within kMeasureSnapPixels window
// pixels (-1 when none), where the symbols lie in the window by `windowOf`.
template <typename WindowOf>
int NearestSnapPoint(const std::vector<SnapPoint>& points, ScreenPoint cursor, WindowOf windowOf) {
  int best = -1;
  long long bestD2 = static_cast<long long>(kMeasureSnapPixels) * kMeasureSnapPixels;
  for (size_t i = 0; i < points.size(); ++i) {
    const ScreenPoint s = windowOf(points[i].ground);
    const long long dx = s.x - cursor.x, dy = s.y - cursor.y;
    if (dx * dx + dy * dy <= bestD2) bestD2 = dx * dx + dy * dy, best = static_cast<int>(i);
  }
  return best;
}

// The measuring readout with the name of the point the cursor snapped to
// (GBK), as pane 1 shows it.
std::string SnappedMeasurementText(const std::vector<MeasureVertex>& vertices, GroundPoint cursor,
                                   const std::string& snappedName);

}  // namespace qp
