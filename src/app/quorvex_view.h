// The drawing view: the map sheet of the open network at the view's zoom,
// with the mouse tools "全图显示", "显示位置", "文本移动", "点位移动",
// "距离丈量" and "刷新屏幕", the keys that scroll and move the sheet, curve
// editing from the context menu and the point locator, Ctrl + wheel and
// '+'/'-' zooming, dragging the sheet with the middle button. Every rule that
// is arithmetic lives in ViewState and the tool state machine in
// ViewController (both toolkit-free); this widget forwards events and paints. The diagram and the frame are kept as an entity stream and
// replayed for the part of the window being painted.
#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <memory>
#include <optional>

#include "workflow/quorvex_doc.h"
#include "drawing/entity_list.h"
#include "drawing/movable_items.h"
#include "drawing/view_controller.h"
#include "drawing/view_state.h"

namespace qp {

class Renderer;

class CQuorvexPView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  CQuorvexPView(CQuorvexPDoc& doc, PlatformServices& platform, QWidget* parent = nullptr);

  ViewState& View() { return view_; }
  const ViewState& View() const { return view_; }

  // The document's drawing changed (computed, opened, closed, settings,
  // diagram kind): the entity stream is rebuilt and the view repainted.
  void DrawingChanged();

  // The view's commands: 140 全图显示, 147 显示位置, 148 文本移动, 160 点位移动,
  // 161 距离丈量, 181 刷新屏幕.
  void RunViewCommand(int commandId);
  // The view's part of a view command's enabling rule (the document's part
  // is in CommandRuleAllows).
  bool ViewCommandAllowed(int commandId) const;
  // Whether the command's button is shown pressed.
  bool ViewCommandActive(int commandId) const;

  // The point locator: scrolls the named point into view and circles it.
  void LocatePoint(const QString& name);

  // The movable items of the drawing shown.
  const MovableItemList& Items() {
    EnsureCache();
    return items_;
  }
  // The height difference whose curve is being edited, -1 when none.
  int EditedCurve() const { return editCurve_; }
  // The screen position (in the widget's viewport) of a ground point.
  QPoint ViewportPosition(GroundPoint g) const;

 signals:
  // Pane 1 (measurement), pane 2 (cursor coordinates) and pane 3 (zoom) of
  // the status bar.
  void StatusText(int pane, const QString& text);
  // How the running tool is used and ended; empty when no tool runs.
  void ToolHint(const QString& text);
  // The tool state, the zoom or the drawing changed: commands to re-enable.
  void StateChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool Shown() const { return doc_.State().ShowsDrawing(); }
  std::optional<SheetGeometry> Sheet() const;
  // Rebuilds the entity stream and the movable items when the drawing, the
  // zoom or the masking changed since the last build.
  void EnsureCache();
  void UpdateScrollBars();
  void ApplyScroll(ScreenPoint scroll);
  ScreenPoint ScrollPosition() const;
  // Widget position <-> canvas and ground.
  CanvasPoint CanvasAt(QPoint viewportPos) const;
  GroundPoint GroundAt(QPoint viewportPos) const;
  QPoint ToViewport(CanvasPoint c) const;
  QRect ItemRect(const MovableItem& item, GroundPoint shift) const;
  void SetToolState(int state);
  void EndTool();
  // A document opened or closed: a fresh view state, the whole sheet shown
  // once the drawing is.
  void FollowDocument();
  void FitWholeSheetOnce();
  ViewGeometry Geometry() const;
  // Shows a zoom the controller changed, keeping its scroll position.
  void ZoomChanged();
  void ZoomAboutWindow(double factor, QPoint anchor);
  void PublishStatus();
  // The right button, or Esc, while a tool runs.
  void EndByRightClick(QPoint pos);
  // The measuring tool's vertex or cursor: the point symbol within reach
  // unless Shift is held. `name` gets the snapped point's name (GBK).
  MeasureVertex MeasureAt(QPoint pos, bool free, std::string* name) const;

  void PaintOverlays(QPainter& painter, Renderer& renderer);
  void HoverAt(QPoint pos);
  void DropItem(QPoint pos);
  int VertexNear(QPoint pos) const;
  void FinishCurveEdit();
  int CurveNear(QPoint pos) const;

  CQuorvexPDoc& doc_;
  PlatformServices& platform_;
  ViewController controller_;
  ViewState& view_ = controller_.State();
  std::string documentKey_;  // the open document (mode and data file): a change resets the view
  bool fitPending_ = false;

  // The painted sheet kept in tiles of the scrolled area, so that scrolling,
  // hovering and the tools' overlays repaint by copying pixels.
  const QImage& Tile(QPoint index);
  QHash<QPoint, QImage> tiles_;

  std::unique_ptr<EntityList> entities_;
  MovableItemList items_;
  bool cacheValid_ = false;
  int cacheZoomDen_ = 0;
  bool cacheMask_ = false;
  bool splineWarned_ = false;

  QPoint dragStart_;
  QPoint dragNow_;
  QPoint cursor_;
  std::optional<GroundPoint> locator_;
  int editCurve_ = -1;   // the curve whose control points are being edited
  GroundPoint editPoints_[5]{};
};

}  // namespace qp
