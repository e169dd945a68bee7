#include "app/quorvex_view.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "workflow/document_state.h"
#include "app/qt_drawing_device.h"
#include "app/qt_text.h"
#include "common/gbk_text.h"
#include "drawing/curve_sampling.h"
#include "drawing/declutter_setting.h"
#include "drawing/label_marks.h"
#include "drawing/network_drawing.h"
#include "drawing/renderer.h"

namespace qp {
namespace {

constexpr int kMoveTexts = 1;
constexpr int kMovePoints = 2;
constexpr int kLocatorRadius = 25;    // screen pixels
constexpr int kCurvePickTolerance = 6;  // screen pixels around a curve for its context menu
constexpr int kVertexPickPixels = 16;   // screen pixels, at most 128 canvas pixels
constexpr int kVertexPickCanvasLimit = 128;
constexpr int kTileSize = 512;      // screen pixels
constexpr int kTileLimit = 96;      // tiles kept (about 100 MB); all are dropped beyond

const QColor kOutsideCanvas(150, 150, 150);
const QColor kHighlight(255, 128, 255);
const QColor kLocatorGreen(0, 255, 0);

bool IsTextItem(MovableKind k) { return k != MovableKind::HeightPoint; }

// The squared distance from p to the segment ab.
double SegmentDistance2(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = ax + t * dx - px, ey = ay + t * dy - py;
  return ex * ex + ey * ey;
}

}  // namespace

CQuorvexPView::CQuorvexPView(CQuorvexPDoc& doc, PlatformServices& platform, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), platform_(platform) {
  setObjectName(QStringLiteral("CQuorvexPView"));
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  horizontalScrollBar()->setSingleStep(32);
  verticalScrollBar()->setSingleStep(32);
}

std::optional<SheetGeometry> CQuorvexPView::Sheet() const { return SheetGeometryOf(doc_.Settings()); }

void CQuorvexPView::DrawingChanged() {
  cacheValid_ = false;
  splineWarned_ = false;
  FollowDocument();
  if (!Shown()) {
    // Nothing shown: no tool stays active.
    locator_.reset();
    EndTool();
  }
  UpdateScrollBars();
  FitWholeSheetOnce();
  viewport()->update();
  PublishStatus();
  emit StateChanged();
}

void CQuorvexPView::FollowDocument() {
  const int mode = doc_.State().workMode;
  const std::string key = mode == kNothingOpen ? std::string() : std::to_string(mode) + ":" + doc_.CurrentDataPath();
  if (key == documentKey_) return;
  documentKey_ = key;
  controller_.Reset();
  editCurve_ = -1;
  locator_.reset();
  unsetCursor();
  viewport()->unsetCursor();
  if (doc_.State().toolState != kViewIdle) SetToolState(kViewIdle);
  emit StatusText(1, QString());
  emit StatusText(2, QString());
  emit ToolHint(QString());
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  fitPending_ = key.size() > 0;
}

void CQuorvexPView::FitWholeSheetOnce() {
  if (!fitPending_ || !Shown() || !Sheet()) return;
  fitPending_ = false;
  const SettingsBlock& s = doc_.Settings();
  const int w = viewport()->width(), h = viewport()->height();
  if (view_.normalView && WholeDrawingAvailable(view_, w, h, s.canvasWidthPx, s.canvasHeightPx) &&
      ToggleWholeDrawing(view_, w, h, s.canvasWidthPx, s.canvasHeightPx)) {
    const ScreenPoint target = view_.scroll;
    UpdateScrollBars();
    ApplyScroll(target);
  }
}

ViewGeometry CQuorvexPView::Geometry() const {
  const SettingsBlock& s = doc_.Settings();
  return ViewGeometry{viewport()->width(), viewport()->height(), s.canvasWidthPx, s.canvasHeightPx};
}

void CQuorvexPView::ZoomChanged() {
  const ScreenPoint target = view_.scroll;
  view_.hoverIndex = -1;
  UpdateScrollBars();
  ApplyScroll(target);
  PublishStatus();
  emit StateChanged();
}

void CQuorvexPView::ZoomAboutWindow(double factor, QPoint anchor) {
  if (!Shown() || !Sheet() || !controller_.MayChangeView()) return;
  view_.scroll = ScrollPosition();
  if (controller_.ZoomAbout(factor, ScreenPoint{anchor.x(), anchor.y()}, Geometry())) ZoomChanged();
}

void CQuorvexPView::PublishStatus() {
  emit StatusText(3, Shown() ? FromUtf8(controller_.ZoomText()) : QString());
}

void CQuorvexPView::EnsureCache() {
  const bool mask = !view_.normalView || view_.printing;
  if (cacheValid_ && cacheZoomDen_ == view_.zoomDen && cacheMask_ == mask) return;
  tiles_.clear();
  items_ = MovableItemList();
  entities_.reset();
  cacheValid_ = true;
  cacheZoomDen_ = view_.zoomDen;
  cacheMask_ = mask;
  const auto sheet = Sheet();
  if (!Shown() || !sheet) return;
  entities_ = std::make_unique<EntityList>(*sheet);
  DrawContext context;
  context.zoomNum = view_.zoomNum;
  context.zoomDen = view_.zoomDen;
  context.maskOutsideSheet = mask;
  context.flagged = doc_.FlaggedObservations();
  context.declutter = DeclutterFor(doc_.CurrentDataPath());
  doc_.DrawSheet(*entities_, doc_.Settings(), doc_.ShowsPlaneDrawing(), context, &items_);
}

ScreenPoint CQuorvexPView::ScrollPosition() const {
  return ScreenPoint{horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CQuorvexPView::UpdateScrollBars() {
  ScreenPoint size{};
  if (Shown() && Sheet()) size = view_.ScrollSize(doc_.Settings().canvasWidthPx, doc_.Settings().canvasHeightPx);
  const QSize client = viewport()->size();
  horizontalScrollBar()->setPageStep(client.width());
  verticalScrollBar()->setPageStep(client.height());
  horizontalScrollBar()->setRange(0, std::max(0, size.x - client.width()));
  verticalScrollBar()->setRange(0, std::max(0, size.y - client.height()));
  view_.scroll = ScrollPosition();
}

void CQuorvexPView::ApplyScroll(ScreenPoint scroll) {
  horizontalScrollBar()->setValue(scroll.x);
  verticalScrollBar()->setValue(scroll.y);
  view_.scroll = ScrollPosition();
  viewport()->update();
}

void CQuorvexPView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  emit StateChanged();
}

void CQuorvexPView::scrollContentsBy(int, int) {
  view_.scroll = ScrollPosition();
  viewport()->update();
}

CanvasPoint CQuorvexPView::CanvasAt(QPoint pos) const {
  const ScreenPoint s = ScrollPosition();
  return view_.ScreenToCanvas(doc_.Settings().canvasHeightPx, ScreenPoint{pos.x() + s.x, pos.y() + s.y});
}

GroundPoint CQuorvexPView::GroundAt(QPoint pos) const {
  const auto sheet = Sheet();
  return sheet ? CanvasToMap(*sheet, CanvasAt(pos)) : GroundPoint{};
}

QPoint CQuorvexPView::ToViewport(CanvasPoint c) const {
  const ScreenPoint p = view_.CanvasToScreen(doc_.Settings().canvasHeightPx, c);
  const ScreenPoint s = ScrollPosition();
  return QPoint(p.x - s.x, p.y - s.y);
}

QPoint CQuorvexPView::ViewportPosition(GroundPoint g) const {
  const auto sheet = Sheet();
  return sheet ? ToViewport(MapToCanvas(*sheet, g)) : QPoint();
}

QRect CQuorvexPView::ItemRect(const MovableItem& item, GroundPoint shift) const {
  QPolygon corners;
  for (const GroundPoint& g : item.outline) corners << ViewportPosition(GroundPoint{g.x + shift.x, g.y + shift.y});
  return corners.boundingRect().adjusted(-6, -6, 6, 6);
}

void CQuorvexPView::SetToolState(int state) {
  view_.toolState = state;
  // The document knows a busy view as its tool state (close, export, save and
  // print wait for an idle view).
  doc_.State().toolState = state;
  doc_.State().moveKind = view_.moveKind;
  if (state != kViewEditingCurve) controller_.ClearVertex();
  emit ToolHint(FromUtf8(controller_.ToolHint()));
  emit StateChanged();
}

void CQuorvexPView::EndTool() {
  view_.measurePoints.clear();
  view_.hoverIndex = -1;
  view_.dragging = false;
  editCurve_ = -1;
  unsetCursor();
  viewport()->unsetCursor();
  emit StatusText(1, QString());
  SetToolState(kViewIdle);
  viewport()->update();
}

// --- commands ------------------------------------------------------------------

bool CQuorvexPView::ViewCommandAllowed(int id) const {
  if (!Shown() || !Sheet()) return false;
  const SettingsBlock& s = doc_.Settings();
  switch (id) {
    case kCmdShowAll:
      // Usable while a tool runs: the tools keep ground positions. Not while
      // an item is carried, nor over the place chooser or a context menu.
      return (view_.toolState == kViewIdle || view_.toolState == kViewMeasuring ||
              view_.toolState == kViewEditingCurve || (view_.toolState == kViewMoving && !view_.dragging)) &&
             WholeDrawingAvailable(view_, viewport()->width(), viewport()->height(), s.canvasWidthPx,
                                   s.canvasHeightPx);
    case kCmdShowPosition:
      return !view_.normalView && view_.zoomNum < view_.zoomDen &&
             (view_.toolState == kViewIdle || view_.toolState == kViewChoosingPlace);
    case kCmdMoveText:
      return view_.toolState == kViewIdle || (view_.toolState == kViewMoving && view_.moveKind == kMoveTexts);
    case kCmdMovePoint:
      return doc_.ShowsHeightDrawing() &&
             (view_.toolState == kViewIdle || (view_.toolState == kViewMoving && view_.moveKind == kMovePoints));
    case kCmdMeasure:
      return doc_.ShowsPlaneDrawing() && s.settingsConfirmed != 0 &&
             (view_.toolState == kViewIdle || view_.toolState == kViewMeasuring);
    case kCmdRefresh:
      return view_.toolState == kViewIdle;
    default:
      return true;
  }
}

bool CQuorvexPView::ViewCommandActive(int id) const {
  switch (id) {
    case kCmdShowAll: return !view_.normalView;
    case kCmdShowPosition: return view_.toolState == kViewChoosingPlace;
    case kCmdMoveText: return view_.toolState == kViewMoving && view_.moveKind == kMoveTexts;
    case kCmdMovePoint: return view_.toolState == kViewMoving && view_.moveKind == kMovePoints;
    case kCmdMeasure: return view_.toolState == kViewMeasuring;
    default: return false;
  }
}

void CQuorvexPView::RunViewCommand(int id) {
  // Pressing the button of the running tool ends it.
  if (ViewCommandActive(id) && id != kCmdShowAll) {
    if (id == kCmdShowPosition) {
      ReturnToPreviousState(view_);
      viewport()->unsetCursor();
      SetToolState(view_.toolState);
    } else {
      EndTool();
    }
    return;
  }
  if (!ViewCommandAllowed(id)) return;
  locator_.reset();
  switch (id) {
    case kCmdShowAll: {
      const SettingsBlock& s = doc_.Settings();
      if (ToggleWholeDrawing(view_, viewport()->width(), viewport()->height(), s.canvasWidthPx, s.canvasHeightPx))
        ZoomChanged();
      break;
    }
    case kCmdShowPosition:
      BeginChoosePlace(view_);
      SetToolState(view_.toolState);
      viewport()->setCursor(Qt::CrossCursor);
      break;
    case kCmdMoveText:
    case kCmdMovePoint:
      view_.moveKind = id == kCmdMoveText ? kMoveTexts : kMovePoints;
      view_.lastTool = id;
      view_.hoverIndex = -1;
      view_.dragging = false;
      doc_.State().drawingModified = true;
      SetToolState(kViewMoving);
      viewport()->setCursor(Qt::ArrowCursor);
      break;
    case kCmdMeasure:
      view_.previousState = view_.toolState;
      view_.lastTool = id;
      view_.measurePoints.clear();
      SetToolState(kViewMeasuring);
      viewport()->setCursor(Qt::CrossCursor);
      break;
    case kCmdRefresh:
      cacheValid_ = false;
      break;
    default:
      break;
  }
  viewport()->update();
  emit StateChanged();
}

void CQuorvexPView::LocatePoint(const QString& name) {
  const auto sheet = Sheet();
  if (!Shown() || !sheet) return;
  const std::string gbk = ToGbk(name);
  std::optional<GroundPoint> found;
  if (doc_.ShowsPlaneDrawing()) {
    const PlaneModel& net = doc_.PlaneNetworkModel();
    if (const int i = net.Find(gbk); i >= 0) found = GroundPoint{net.points[i].x, net.points[i].y};
  } else {
    const HeightModel& net = doc_.HeightNetworkModel();
    if (const int i = net.Find(gbk); i >= 0) found = GroundPoint{net.points[i].x, net.points[i].y};
  }
  if (!found || !std::isfinite(found->x) || !std::isfinite(found->y)) return;
  const QPoint at = ViewportPosition(*found);
  if (!viewport()->rect().contains(at)) {
    ApplyScroll(LocatorScroll(view_, doc_.Settings().canvasHeightPx, MapToCanvas(*sheet, *found)));
  }
  locator_ = found;
  viewport()->update();
}

// --- painting ------------------------------------------------------------------

void CQuorvexPView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), kOutsideCanvas);
  const auto sheet = Sheet();
  if (!Shown() || !sheet) return;
  EnsureCache();
  if (!entities_) return;

  const SettingsBlock& s = doc_.Settings();
  const ScreenPoint size = view_.ScrollSize(s.canvasWidthPx, s.canvasHeightPx);
  const ScreenPoint scroll = ScrollPosition();
  painter.translate(-scroll.x, -scroll.y);
  const QRect exposed = event->rect().translated(scroll.x, scroll.y);
  painter.setClipRect(exposed.intersected(QRect(0, 0, size.x, size.y)));
  const QRect tiles(QPoint(exposed.left() / kTileSize, exposed.top() / kTileSize),
                    QPoint(exposed.right() / kTileSize, exposed.bottom() / kTileSize));
  if (tiles_.size() + tiles.width() * tiles.height() > kTileLimit) tiles_.clear();
  for (int ty = tiles.top(); ty <= tiles.bottom(); ++ty)
    for (int tx = tiles.left(); tx <= tiles.right(); ++tx)
      painter.drawImage(QPoint(tx * kTileSize, ty * kTileSize), Tile(QPoint(tx, ty)));
  painter.setClipRect(exposed);

  QtDrawingDevice device(painter);
  RenderSettings settings = RenderSettingsFor(*sheet, s.opaqueTextBackground != 0);
  settings.zoomNum = view_.zoomNum;
  settings.zoomDen = view_.zoomDen;
  Renderer renderer(device, settings);

  // The edge of the paper.
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(QPoint(1, 1), QPoint(size.x - 2, size.y - 2)));

  PaintOverlays(painter, renderer);
}

const QImage& CQuorvexPView::Tile(QPoint index) {
  auto it = tiles_.find(index);
  if (it != tiles_.end()) return *it;
  const SettingsBlock& s = doc_.Settings();
  QImage tile(kTileSize, kTileSize, QImage::Format_RGB32);
  tile.fill(Qt::white);
  const auto sheet = Sheet();
  if (sheet && entities_) {
    QPainter painter(&tile);
    const QPoint origin(index.x() * kTileSize, index.y() * kTileSize);
    painter.translate(-origin);
    // The tile on the canvas, a little larger so that thick pens and texts
    // reaching in from the next tile are drawn too.
    const int h = s.canvasHeightPx;
    const CanvasPoint topLeft = view_.ScreenToCanvas(h, ScreenPoint{origin.x(), origin.y()});
    const CanvasPoint bottomRight =
        view_.ScreenToCanvas(h, ScreenPoint{origin.x() + kTileSize, origin.y() + kTileSize});
    const int margin = 8 + view_.zoomDen / std::max(1, view_.zoomNum);
    const CanvasBox visible{bottomRight.row - margin, topLeft.row + margin, topLeft.column - margin,
                            bottomRight.column + margin};
    QtDrawingDevice device(painter);
    RenderSettings settings = RenderSettingsFor(*sheet, s.opaqueTextBackground != 0);
    settings.zoomNum = view_.zoomNum;
    settings.zoomDen = view_.zoomDen;
    Renderer renderer(device, settings);
    entities_->Replay(renderer, visible);
    if (renderer.SplineFailures() > 0 && !splineWarned_) {
      splineWarned_ = true;
      QTimer::singleShot(0, this, [this] { platform_.ShowMessage(SplineFitErrorMessage()); });
    }
  }
  return *tiles_.insert(index, tile);
}

void CQuorvexPView::PaintOverlays(QPainter& painter, Renderer& renderer) {
  const ScreenPoint scroll = ScrollPosition();
  const auto onArea = [&](GroundPoint g) { return ViewportPosition(g) + QPoint(scroll.x, scroll.y); };
  // A rubber band shows on any background: white under a dashed black line.
  const auto band = [&](const QPolygon& line, bool closed) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3));
    closed ? painter.drawPolygon(line) : painter.drawPolyline(line);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    closed ? painter.drawPolygon(line) : painter.drawPolyline(line);
  };

  const auto& items = items_.Items();
  if (view_.toolState == kViewMoving && view_.hoverIndex >= 0 && view_.hoverIndex < static_cast<int>(items.size())) {
    const MovableItem& item = items[static_cast<size_t>(view_.hoverIndex)];
    if (view_.dragging) {
      const GroundPoint a = GroundAt(dragStart_), b = GroundAt(dragNow_);
      QPolygon outline;
      for (int i = 0; i < 4; ++i) outline << onArea(GroundPoint{item.outline[i].x + b.x - a.x, item.outline[i].y + b.y - a.y});
      band(outline, true);
    } else if (item.isText) {
      renderer.SetMode(kRenderHighlight);
      renderer.Text(MakeEntityHeader(EntityKind::Text, EntityCategory::Texts), item.text);
      renderer.SetMode(kRenderNormal);
    } else {
      QPolygon outline;
      for (int i = 0; i < 4; ++i) outline << onArea(item.outline[i]);
      painter.setPen(QPen(kHighlight, 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawPolygon(outline);
    }
  }

  if (view_.toolState == kViewMeasuring && !view_.measurePoints.empty()) {
    QPolygon line;
    for (const MeasureVertex& v : view_.measurePoints) line << onArea(v.ground);
    line << cursor_ + QPoint(scroll.x, scroll.y);
    band(line, false);
  }

  if (view_.toolState == kViewEditingCurve && editCurve_ >= 0) {
    if (const auto sheet = Sheet()) {
      CanvasPoint control[5];
      for (int i = 0; i < 5; ++i) control[i] = MapToCanvas(*sheet, editPoints_[i]);
      std::vector<CanvasPoint> samples;
      if (SampleSpline(control, false, samples) == SplineStatus::Ok) {
        QPolygon curve;
        for (const CanvasPoint& c : samples) curve << ToViewport(c) + QPoint(scroll.x, scroll.y);
        painter.setPen(QPen(QColor(0, 255, 0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(curve);
      }
      QPolygon polygon;
      for (const CanvasPoint& c : control) polygon << ToViewport(c) + QPoint(scroll.x, scroll.y);
      band(polygon, false);
      painter.setPen(QPen(Qt::black, 1));
      for (int i = 1; i <= 3; ++i) {
        painter.setBrush(i == controller_.PickedVertex() ? QBrush(kHighlight) : QBrush(Qt::white));
        painter.drawRect(QRect(polygon[i] - QPoint(4, 4), QSize(8, 8)));
      }
    }
  }

  if (locator_) {
    painter.setPen(QPen(kLocatorGreen, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(onArea(*locator_), kLocatorRadius, kLocatorRadius);
  }
}

// --- mouse and keys ------------------------------------------------------------

void CQuorvexPView::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  setFocus();
  if (!Shown()) return;
  const bool left = event->button() == Qt::LeftButton;
  const bool right = event->button() == Qt::RightButton;
  if (!right) controller_.OtherPress();
  if (event->button() == Qt::MiddleButton) {
    if (controller_.MayChangeView()) {
      view_.scroll = ScrollPosition();
      controller_.BeginPan(ScreenPoint{pos.x(), pos.y()});
      viewport()->setCursor(Qt::ClosedHandCursor);
    }
    return;
  }
  locator_.reset();
  if (right) {
    EndByRightClick(pos);
    return;
  }
  switch (view_.toolState) {
    case kViewChoosingPlace:
      if (left) {
        const ScreenPoint s = ScrollPosition();
        const ScreenPoint target = ZoomAtPlace(view_, ScreenPoint{pos.x() + s.x, pos.y() + s.y},
                                               viewport()->width(), viewport()->height());
        UpdateScrollBars();
        ApplyScroll(target);
        viewport()->unsetCursor();
        SetToolState(view_.toolState);
        PublishStatus();
      }
      break;
    case kViewMeasuring:
      if (left && Sheet()) {
        view_.measurePoints.push_back(MeasureAt(pos, event->modifiers() & Qt::ShiftModifier, nullptr));
        cursor_ = pos;
      }
      break;
    case kViewMoving:
      if (left && view_.dragging) {
        DropItem(pos);
      } else if (left && view_.hoverIndex >= 0) {
        view_.dragging = true;
        dragStart_ = dragNow_ = pos;
        viewport()->setCursor(Qt::ClosedHandCursor);
        emit StateChanged();
      }
      break;
    case kViewEditingCurve:
      if (left) {
        if (const auto put = controller_.VertexPress(VertexNear(pos))) editPoints_[*put] = GroundAt(pos);
      }
      break;
    default:
      break;
  }
  viewport()->update();
}

void CQuorvexPView::EndByRightClick(QPoint pos) {
  using Ending = ViewController::Ending;
  switch (controller_.EndingByRightClick()) {
    case Ending::CancelChoosing:
      ReturnToPreviousState(view_);
      viewport()->unsetCursor();
      SetToolState(view_.toolState);
      break;
    case Ending::EndTool:
      EndTool();
      break;
    case Ending::PutBackCarried:
      view_.dragging = false;
      viewport()->setCursor(Qt::ArrowCursor);
      emit StateChanged();
      break;
    case Ending::FinishCurveEdit:
      FinishCurveEdit();
      break;
    case Ending::None:
      controller_.OtherPress();
      return;
  }
  // The context menu this right click brings is not the user's next step.
  controller_.ToolEndedByRightClick();
  dragNow_ = pos;
  viewport()->update();
}

MeasureVertex CQuorvexPView::MeasureAt(QPoint pos, bool free, std::string* name) const {
  const auto sheet = Sheet();
  const CanvasPoint c = CanvasAt(pos);
  if (!sheet) return MeasureVertex{GroundPoint{}, c};
  if (!free && doc_.ShowsPlaneDrawing()) {
    const PlaneModel& net = doc_.PlaneNetworkModel();
    std::vector<SnapPoint> points;
    points.reserve(net.points.size());
    for (const PlanePoint& p : net.points) points.push_back(SnapPoint{p.name, GroundPoint{p.x, p.y}});
    const int i = NearestSnapPoint(points, ScreenPoint{pos.x(), pos.y()}, [&](GroundPoint g) {
      const QPoint at = ViewportPosition(g);
      return ScreenPoint{at.x(), at.y()};
    });
    if (i >= 0) {
      if (name) *name = points[static_cast<size_t>(i)].name;
      const GroundPoint g = points[static_cast<size_t>(i)].ground;
      return MeasureVertex{g, MapToCanvas(*sheet, g)};
    }
  }
  return MeasureVertex{CanvasToMap(*sheet, c), c};
}

void CQuorvexPView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  cursor_ = pos;
  const auto sheet = Sheet();
  if (!Shown() || !sheet) return;
  if (controller_.Panning()) {
    if (!(event->buttons() & Qt::MiddleButton)) {
      controller_.EndPan();
    } else {
      ApplyScroll(controller_.PanTo(ScreenPoint{pos.x(), pos.y()}, Geometry()));
      return;
    }
  }
  if (doc_.Settings().settingsConfirmed != 0) {
    emit StatusText(2, FromGbk(CursorCoordinatesText(*sheet, CanvasAt(pos))));
  }
  switch (view_.toolState) {
    case kViewMeasuring:
      if (!view_.measurePoints.empty()) {
        std::string snapped;
        const MeasureVertex end = MeasureAt(pos, event->modifiers() & Qt::ShiftModifier, &snapped);
        emit StatusText(1, FromGbk(SnappedMeasurementText(view_.measurePoints, end.ground, snapped)));
        viewport()->update();
      }
      break;
    case kViewMoving:
      if (view_.dragging) {
        dragNow_ = pos;
        viewport()->update();
      } else {
        HoverAt(pos);
      }
      break;
    case kViewEditingCurve:
      if (controller_.VertexFollows(event->buttons() & Qt::LeftButton)) {
        editPoints_[controller_.PickedVertex()] = GroundAt(pos);
        viewport()->update();
      }
      break;
    default:
      break;
  }
}

void CQuorvexPView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && controller_.Panning()) {
    controller_.EndPan();
    viewport()->setCursor(view_.toolState == kViewMeasuring || view_.toolState == kViewChoosingPlace
                              ? Qt::CrossCursor
                              : Qt::ArrowCursor);
    return;
  }
  if (event->button() == Qt::LeftButton && view_.toolState == kViewEditingCurve) {
    controller_.VertexRelease();
    viewport()->update();
  }
}

void CQuorvexPView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
  ZoomAboutWindow(std::pow(kZoomStepFactor, event->angleDelta().y() / 120.0), event->position().toPoint());
  event->accept();
}

void CQuorvexPView::HoverAt(QPoint pos) {
  const GroundPoint g = GroundAt(pos);
  const auto& items = Items().Items();
  int found = -1;
  // The item drawn last lies on top.
  for (int i = static_cast<int>(items.size()) - 1; i >= 0 && found < 0; --i) {
    const MovableItem& item = items[static_cast<size_t>(i)];
    if (IsTextItem(item.kind) == (view_.moveKind == kMoveTexts) && ItemContains(item, g)) found = i;
  }
  if (found == view_.hoverIndex) return;
  // Only the two items' places are repainted, not the whole drawing.
  const auto repaint = [&](int index) {
    if (index >= 0 && index < static_cast<int>(items.size()))
      viewport()->update(ItemRect(items[static_cast<size_t>(index)], GroundPoint{}));
  };
  repaint(view_.hoverIndex);
  view_.hoverIndex = found;
  repaint(found);
}

void CQuorvexPView::DropItem(QPoint pos) {
  const auto sheet = Sheet();
  const auto& items = items_.Items();
  view_.dragging = false;
  viewport()->setCursor(Qt::ArrowCursor);
  if (!sheet || view_.hoverIndex < 0 || view_.hoverIndex >= static_cast<int>(items.size())) return;
  const MovableItem item = items[static_cast<size_t>(view_.hoverIndex)];
  const GroundPoint a = GroundAt(dragStart_), b = GroundAt(pos);
  const GroundPoint moved{item.reference.x + b.x - a.x, item.reference.y + b.y - a.y};
  const double m = sheet->GroundPerMillimetre();
  // The text now stays where the user put it when the labels are arranged.
  const std::optional<GroundPoint> stored = doc_.StoreMovedItem(doc_.ShowsPlaneDrawing(), item, moved, m);
  if (stored && item.isText) MarkPlacedByHand(doc_.Marks(), item.kind, item.index, *stored);
  doc_.State().drawingModified = true;
  view_.hoverIndex = -1;
  cacheValid_ = false;
  viewport()->update();
  emit StateChanged();
}

int CQuorvexPView::CurveNear(QPoint pos) const {
  const auto sheet = Sheet();
  if (!doc_.ShowsHeightDrawing() || !sheet) return -1;
  const HeightModel& net = doc_.HeightNetworkModel();
  const CanvasPoint at = CanvasAt(pos);
  const double tolerance = static_cast<double>(kCurvePickTolerance) * view_.zoomDen / std::max(1, view_.zoomNum);
  const int n = static_cast<int>(net.differences.size());
  int best = -1;
  double bestD2 = tolerance * tolerance;
  std::vector<CanvasPoint> samples;
  for (int i = 0; i < n; ++i) {
    CanvasPoint control[kCurvePointCount];
    const auto& curve = net.differences[i].curve;
    for (int k = 0; k < kCurvePointCount; ++k) control[k] = MapToCanvas(*sheet, {curve[k][0], curve[k][1]});
    samples.clear();
    if (SampleSpline(control, false, samples) != SplineStatus::Ok) continue;
    for (size_t k = 1; k < samples.size(); ++k) {
      const double d2 = SegmentDistance2(at.column, at.row, samples[k - 1].column, samples[k - 1].row,
                                         samples[k].column, samples[k].row);
      if (d2 <= bestD2) bestD2 = d2, best = i;
    }
  }
  return best;
}

int CQuorvexPView::VertexNear(QPoint pos) const {
  const auto sheet = Sheet();
  if (!sheet) return -1;
  const CanvasPoint at = CanvasAt(pos);
  const int limit = std::min(kVertexPickPixels * view_.zoomDen / std::max(1, view_.zoomNum), kVertexPickCanvasLimit);
  double best = static_cast<double>(limit) * limit;
  int found = -1;
  for (int i = 1; i <= 3; ++i) {
    const CanvasPoint c = MapToCanvas(*sheet, editPoints_[i]);
    const double d2 = std::pow(c.row - at.row, 2) + std::pow(c.column - at.column, 2);
    if (d2 <= best) best = d2, found = i;
  }
  return found;
}

void CQuorvexPView::FinishCurveEdit() {
  if (editCurve_ >= 0) {
    const GroundPoint interior[3] = {editPoints_[1], editPoints_[2], editPoints_[3]};
    doc_.StoreCurve(editCurve_, interior);
    doc_.State().drawingModified = true;
  }
  editCurve_ = -1;
  controller_.ClearVertex();
  ReturnToPreviousState(view_);
  SetToolState(view_.toolState);
  cacheValid_ = false;
  viewport()->update();
}

void CQuorvexPView::contextMenuEvent(QContextMenuEvent* event) {
  if (!controller_.TakeContextMenu() || view_.toolState != kViewIdle || !doc_.ShowsHeightDrawing()) return;
  const int curve = CurveNear(event->pos());
  if (curve < 0) return;
  view_.previousState = kViewIdle;
  SetToolState(kViewContextMenu);
  QMenu menu(this);
  QAction* edit = menu.addAction(QStringLiteral("编辑"));
  if (menu.exec(event->globalPos()) == edit) {
    const auto& control = doc_.HeightNetworkModel().differences[curve].curve;
    for (int k = 0; k < kCurvePointCount; ++k) editPoints_[k] = GroundPoint{control[k][0], control[k][1]};
    editCurve_ = curve;
    controller_.ClearVertex();
    SetToolState(kViewEditingCurve);
  } else {
    SetToolState(kViewIdle);
  }
  viewport()->update();
}

void CQuorvexPView::keyPressEvent(QKeyEvent* event) {
  if (!Shown()) return QAbstractScrollArea::keyPressEvent(event);
  std::optional<ScrollKey> key;
  switch (event->key()) {
    case Qt::Key_Left: case Qt::Key_A: key = ScrollKey::Left; break;
    case Qt::Key_Right: case Qt::Key_D: key = ScrollKey::Right; break;
    case Qt::Key_Up: case Qt::Key_W: key = ScrollKey::Up; break;
    case Qt::Key_Down: case Qt::Key_S: key = ScrollKey::Down; break;
    default: break;
  }
  const bool arrow = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right || event->key() == Qt::Key_Up ||
                     event->key() == Qt::Key_Down;
  const SettingsBlock& s = doc_.Settings();
  if (key && arrow && (event->modifiers() & Qt::ShiftModifier)) {
    // Moving the sheet over the network, in the whole-drawing view of a plane diagram.
    if (doc_.ShowsPlaneDrawing() && s.settingsConfirmed != 0 && s.sheetMoveLock == 0 && !view_.normalView &&
        view_.toolState == kViewIdle) {
      MoveSheet(doc_.Settings(), *key);
      doc_.State().drawingModified = true;
      cacheValid_ = false;
      viewport()->update();
    }
    return;
  }
  const int state = view_.toolState;
  if (event->key() == Qt::Key_Escape && controller_.EscapeEndsTool()) {
    EndByRightClick(cursor_);
    return;
  }
  if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal || event->key() == Qt::Key_Minus) {
    const double factor = event->key() == Qt::Key_Minus ? 1 / kZoomStepFactor : kZoomStepFactor;
    ZoomAboutWindow(factor, viewport()->rect().center());
    return;
  }
  const bool scrolling = state == kViewIdle || state == kViewMeasuring || state == kViewEditingCurve ||
                         (state == kViewMoving && !view_.dragging);
  if (key && scrolling) {
    const ScreenPoint max{horizontalScrollBar()->maximum(), verticalScrollBar()->maximum()};
    ApplyScroll(KeyScroll(ScrollPosition(), *key, max));
    return;
  }
  if (event->key() == Qt::Key_Space && state == kViewIdle) {
    if (view_.lastTool != 0) RunViewCommand(view_.lastTool);
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

}  // namespace qp
