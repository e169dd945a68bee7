// The drawing view's state and every rule of it that is arithmetic: the
// integer zoom ratio, canvas <-> screen positions, the whole-drawing zoom,
// zooming in at a clicked place, key scrolling, moving the sheet with
// Shift + arrows, the cursor's ground coordinates, the distance and angle
// readouts of the measuring tool and the point locator's scroll target.
// The desktop view forwards its events here and paints; nothing here knows
// the window toolkit.
#pragma once

#include <string>
#include <vector>

#include "common/settings_block.h"
#include "drawing/drawing_device.h"
#include "drawing/sheet_geometry.h"

namespace qp {

enum ViewToolState : int {
  kViewIdle = 0,
  kViewMeasuring = 20,
  kViewEditingCurve = 25,
  kViewContextMenu = 70,
  kViewMoving = 75,
  kViewChoosingPlace = 220,
};

// A vertex of the distance measurement.
struct MeasureVertex {
  GroundPoint ground;
  CanvasPoint canvas;
};

struct ViewState {
  int zoomNum = 1024;
  int zoomDen = 1024;
  int zoomDenMin = 512;
  int zoomDenMax = 65536;
  int savedZoomDen = 1024;
  ScreenPoint savedScroll{};
  bool normalView = true;
  int toolState = kViewIdle;
  int previousState = kViewIdle;
  int lastTool = 0;  // the command of the tool used last, which Space runs again; 0 none
  int moveKind = 0;  // 1 text move, 2 point move
  std::vector<MeasureVertex> measurePoints;
  int hoverIndex = -1;
  bool dragging = false;
  bool printing = false;
  ScreenPoint scroll{};  // the scroll position (top-left of the window on the scrolled area)

  // The size of the scrolled area for a canvas: canvas x zoomNum / zoomDen.
  ScreenPoint ScrollSize(int canvasWidthPx, int canvasHeightPx) const;
  // screen x = column x zoomNum / zoomDen; y = (canvasHeight - row - 1) x zoomNum / zoomDen
  // (on the scrolled area, before the scroll position is taken off).
  ScreenPoint CanvasToScreen(int canvasHeightPx, CanvasPoint c) const;
  // column = x x zoomDen / zoomNum; row = canvasHeight - y x zoomDen / zoomNum - 1.
  CanvasPoint ScreenToCanvas(int canvasHeightPx, ScreenPoint s) const;
};

// "全图显示" is offered when the window is smaller than the canvas (as shown)
// in either direction.
bool WholeDrawingAvailable(const ViewState& view, int clientWidth, int clientHeight, int canvasWidthPx,
                           int canvasHeightPx);
// Toggles the whole-drawing view. Back to normal: the saved zoom and scroll.
// To the whole drawing: d = max(ceil(canvasHeight x zoomNum / h), ceil(canvasWidth x zoomNum / w)),
// taken only within zoomDenMin..zoomDenMax and when the window and the canvas
// both exceed 100 pixels each way. Returns true when the view changed.
bool ToggleWholeDrawing(ViewState& view, int clientWidth, int clientHeight, int canvasWidthPx, int canvasHeightPx);

// "显示位置": enter the place-choosing state (the previous state is kept).
void BeginChoosePlace(ViewState& view);
// A left click at `click` (on the scrolled area) while choosing: back to the
// saved zoom, the clicked place brought to the window centre. Returns the new
// scroll position.
ScreenPoint ZoomAtPlace(ViewState& view, ScreenPoint click, int clientWidth, int clientHeight);
// Ends a tool, and a right click while choosing: the previous state, where a
// state above 10 returns to idle.
void ReturnToPreviousState(ViewState& view);

enum class ScrollKey { Left, Right, Up, Down };
// One key step of 256 screen pixels, stopped at 0 and at `maxScroll`.
ScreenPoint KeyScroll(ScreenPoint scroll, ScrollKey key, ScreenPoint maxScroll);

// The Shift + arrow sheet step in metres for a scale: 1:500 -> 2 m, 1:100 -> 0.5 m, 1:10 -> 0.05 m.
double SheetMoveStep(double scale);
// Moves the sheet corner by one step (Shift+Up: X down, Shift+Down: X up,
// Shift+Right: Y down, Shift+Left: Y up) and recomputes the mapping origin and
// the north and east edges.
void MoveSheet(SettingsBlock& settings, ScrollKey key);

// The cursor's ground coordinates as the status bar shows them: "%-12.3f,%-12.3f" (X, Y).
std::string CursorCoordinatesText(const SheetGeometry& sheet, CanvasPoint c);

// The measuring tool's readout (GBK) for the vertices so far and the cursor:
// one vertex "距离方位=%9.3f,%-8.4f"; two "距离夹角距离=%9.3f,<%8.4f>,%-9.3f";
// more "距离方位=%9.3f,%9.3f,%-8.4f" with the running total. Empty without vertices.
std::string MeasurementText(const std::vector<MeasureVertex>& vertices, GroundPoint cursor);

// The scroll position that brings a located point into view:
// (screen x - 350, screen y - 250), negative values 0.
ScreenPoint LocatorScroll(const ViewState& view, int canvasHeightPx, CanvasPoint point);

// The pages a print of the whole paper takes: ceil(paper height / printable
// height) x ceil(paper width / printable width), all in millimetres; 0 for an
// unusable page.
int PrintPageCount(double paperHeightMm, double paperWidthMm, double printableHeightMm, double printableWidthMm);

}  // namespace qp
