// The drawing view's zoom, pan, keys and tools driven with synthetic events:
// a fresh view for each document, Ctrl + wheel and '+'/'-' zooming about a
// place, dragging with the middle button, Esc and the status hints, the
// measuring snap and curve vertex editing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

#include "app/app_test_support.h"
#include "app/quorvex_view.h"
#include "app/qt_text.h"
#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "drawing/curve_sampling.h"

namespace qp::testing {
namespace {

struct ViewToolsTest : MainFrameTest {
  CQuorvexPView* view = nullptr;

  // Computes an example network and opens its drawing as "P/H图形文件" does.
  void Open(bool plane) {
    CommandOptions options;
    options.dataPath = dir.File(plane ? "TRI.NAP" : "LEV.NAH");
    options.inputPath = SourcePath(plane ? "examples/plane/triangulation.txt" : "examples/height/closures.txt");
    ScriptedPlatform quiet;
    ASSERT_EQ(plane ? RunPlaneCommand(options, quiet) : RunHeightCommand(options, quiet), 0);
    chosenPath = options.dataPath;
    frame->resize(1280, 720);
    frame->show();
    frame->RunCommand(plane ? kCmdPlaneDrawingFile : kCmdHeightDrawingFile);
    ASSERT_EQ(doc.State().workMode, plane ? kPlaneDrawing : kHeightDrawing);
    view = frame->View();
    view->viewport()->repaint();
  }

  QPoint PlanePoint(const char* name) const {
    const PlaneModel& net = doc.PlaneNetworkModel();
    const int i = net.Find(ToGbk(QString::fromUtf8(name)));
    EXPECT_GE(i, 0) << name;
    return i < 0 ? QPoint() : view->ViewportPosition(GroundPoint{net.points[i].x, net.points[i].y});
  }

  bool ShowAllPressed() const { return frame->ActionsOf(kCmdShowAll).front()->isChecked(); }

  void Wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(at), QPointF(view->viewport()->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view->viewport(), &event);
  }

  void SaveScreenshot(const char* name) {
    const QString dirName = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!dirName.isEmpty()) frame->grab().save(dirName + "/" + name);
  }
};

TEST_F(ViewToolsTest, EachDocumentOpensWithItsOwnViewOnTheWholeSheet) {
  Open(true);
  // A large plane drawing in the whole-drawing view, zoomed further.
  if (view->View().normalView) frame->RunCommand(kCmdShowAll);
  ASSERT_FALSE(view->View().normalView);
  EXPECT_TRUE(ShowAllPressed());
  const int planeZoom = view->View().zoomDen;
  Wheel(view->viewport()->rect().center(), 360, Qt::ControlModifier);
  EXPECT_NE(view->View().zoomDen, planeZoom);

  frame->RunCommand(kCmdCloseDocument);
  ASSERT_EQ(doc.State().workMode, kNothingOpen);
  EXPECT_FALSE(ShowAllPressed());  // not on the start panel
  EXPECT_TRUE(view->View().normalView);
  EXPECT_EQ(view->View().zoomDen, view->View().zoomNum);
  EXPECT_EQ(view->View().toolState, kViewIdle);
  EXPECT_TRUE(frame->StatusPane(3)->text().isEmpty());

  Open(false);
  const QSize canvas(doc.Settings().canvasWidthPx, doc.Settings().canvasHeightPx);
  const QSize shown(canvas.width() * view->View().zoomNum / view->View().zoomDen,
                    canvas.height() * view->View().zoomNum / view->View().zoomDen);
  // The whole height sheet fills the window one way, not a thumbnail in a corner.
  EXPECT_LE(shown.width(), view->viewport()->width());
  EXPECT_LE(shown.height(), view->viewport()->height());
  EXPECT_TRUE(shown.width() > view->viewport()->width() * 3 / 4 || shown.height() > view->viewport()->height() * 3 / 4)
      << shown.width() << "x" << shown.height();
  SaveScreenshot("view_height_opened.png");
  // The first click on 全图显示 changes the view.
  const bool before = view->View().normalView;
  const int zoomBefore = view->View().zoomDen;
  frame->ActionsOf(kCmdShowAll).front()->trigger();
  EXPECT_NE(view->View().normalView, before);
  EXPECT_NE(view->View().zoomDen, zoomBefore);
}

TEST_F(ViewToolsTest, WheelKeysAndMiddleButtonZoomAndPan) {
  Open(true);
  frame->resize(800, 600);  // the sheet's room to scroll every way
  QCoreApplication::processEvents();
  // Zoomed in until the sheet is larger than the window both ways.
  for (int i = 0; i < 12 && (view->horizontalScrollBar()->maximum() < 400 || view->verticalScrollBar()->maximum() < 400); ++i)
    Wheel(view->viewport()->rect().center(), 120, Qt::ControlModifier);
  ASSERT_GE(view->horizontalScrollBar()->maximum(), 400);
  ASSERT_GE(view->verticalScrollBar()->maximum(), 400);
  view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum() / 2);
  view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
  // The point nearest the window centre.
  const QPoint centre = view->viewport()->rect().center();
  const char* name = nullptr;
  for (const char* candidate : {"GP01", "GP02", "N2", "N3"})
    if (!name || (PlanePoint(candidate) - centre).manhattanLength() < (PlanePoint(name) - centre).manhattanLength())
      name = candidate;
  const QPoint n2 = PlanePoint(name);
  ASSERT_TRUE(view->viewport()->rect().contains(n2));
  // A plain wheel scrolls; Ctrl + wheel zooms about the cursor.
  Wheel(n2, 120, Qt::NoModifier);
  const int den = view->View().zoomDen;
  const QPoint anchored = PlanePoint(name);
  Wheel(anchored, -120, Qt::ControlModifier);
  EXPECT_EQ(view->View().zoomDen, static_cast<int>(std::round(den * 1.25)));
  EXPECT_LE((PlanePoint(name) - anchored).manhattanLength(), 2);
  EXPECT_TRUE(frame->StatusPane(3)->text().startsWith(QStringLiteral("显示 "))) << frame->StatusPane(3)->text().toStdString();
  SaveScreenshot("view_wheel_zoom.png");

  // '+' and '-' keep the window centre in place; '-' undoes '+'.
  const int zoomed = view->View().zoomDen;
  QTest::keyClick(view->viewport(), Qt::Key_Plus);
  EXPECT_LT(view->View().zoomDen, zoomed);
  QTest::keyClick(view->viewport(), Qt::Key_Minus);
  EXPECT_NEAR(view->View().zoomDen, zoomed, 1);

  // The middle button drags the sheet with the cursor.
  const QPoint before = PlanePoint(name);
  QTest::mousePress(view->viewport(), Qt::MiddleButton, {}, centre);
  QTest::mouseMove(view->viewport(), centre + QPoint(-60, -40));
  QTest::mouseRelease(view->viewport(), Qt::MiddleButton, {}, centre + QPoint(-60, -40));
  EXPECT_EQ(PlanePoint(name) - before, QPoint(-60, -40));
}

TEST_F(ViewToolsTest, EscEndsEveryToolAndTheHintSaysSo) {
  Open(true);
  const struct {
    int command;
    int state;
  } tools[] = {{kCmdMoveText, kViewMoving}, {kCmdMeasure, kViewMeasuring}, {kCmdShowPosition, kViewChoosingPlace}};
  for (const auto& tool : tools) {
    frame->RunCommand(tool.command);
    ASSERT_EQ(view->View().toolState, tool.state) << tool.command;
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains(QStringLiteral("右键或Esc"))) << tool.command;
    if (tool.command != kCmdShowPosition) {
      // 全图显示 stays usable while the tool runs, and the tool goes on.
      const bool whole = view->View().normalView;
      ASSERT_TRUE(frame->ActionsOf(kCmdShowAll).front()->isEnabled()) << tool.command;
      frame->RunCommand(kCmdShowAll);
      EXPECT_NE(view->View().normalView, whole);
      EXPECT_EQ(view->View().toolState, tool.state);
      frame->RunCommand(kCmdShowAll);
    }
    QTest::keyClick(view->viewport(), Qt::Key_Escape);
    EXPECT_EQ(view->View().toolState, kViewIdle) << tool.command;
    EXPECT_EQ(doc.State().toolState, kViewIdle) << tool.command;
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty()) << tool.command;
  }
}

TEST_F(ViewToolsTest, SpaceTakesUpTheToolUsedLast) {
  Open(true);
  QTest::keyClick(view->viewport(), Qt::Key_Space);
  EXPECT_EQ(view->View().toolState, kViewIdle) << "no tool used yet";
  const struct {
    int command;
    int state;
  } tools[] = {{kCmdMeasure, kViewMeasuring}, {kCmdMoveText, kViewMoving}, {kCmdMeasure, kViewMeasuring}};
  for (const auto& tool : tools) {
    frame->RunCommand(tool.command);
    QTest::keyClick(view->viewport(), Qt::Key_Escape);
    ASSERT_EQ(view->View().toolState, kViewIdle) << tool.command;
    QTest::keyClick(view->viewport(), Qt::Key_Space);
    EXPECT_EQ(view->View().toolState, tool.state) << tool.command;
    EXPECT_TRUE(frame->ActionsOf(tool.command).front()->isChecked()) << tool.command;
    QTest::keyClick(view->viewport(), Qt::Key_Escape);
  }
}

TEST_F(ViewToolsTest, MeasuringSnapsToPointSymbolsUnlessShiftIsHeld) {
  Open(true);
  frame->RunCommand(kCmdMeasure);
  const QPoint gp02 = PlanePoint("GP02"), n2 = PlanePoint("N2");
  const auto pane = [&] { return frame->StatusPane(1)->text().toStdString(); };
  // Clicked a few pixels off both symbols: the adjusted points are measured.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, gp02 + QPoint(4, -3));
  QTest::mouseMove(view->viewport(), n2 + QPoint(-5, 4));
  EXPECT_NE(pane().find("2987.096"), std::string::npos) << pane();
  EXPECT_NE(pane().find("N2"), std::string::npos) << pane();
  SaveScreenshot("view_measure_snap.png");
  // Shift: where the cursor is.
  QTest::mouseMove(view->viewport(), n2 + QPoint(-5, 4), Qt::ShiftModifier);
  QMouseEvent free(QEvent::MouseMove, QPointF(n2 + QPoint(-5, 4)), QPointF(view->viewport()->mapToGlobal(n2)),
                   Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
  QCoreApplication::sendEvent(view->viewport(), &free);
  EXPECT_EQ(pane().find("2987.096"), std::string::npos) << pane();
  EXPECT_EQ(pane().find("N2"), std::string::npos) << pane();
  // Farther than the snapping distance: no point named.
  QTest::mouseMove(view->viewport(), n2 + QPoint(12, 0));
  EXPECT_EQ(pane().find("N2"), std::string::npos) << pane();
}

TEST_F(ViewToolsTest, CurveVertexEditedByClickAndEndedWithoutTheMenuAgain) {
  Open(false);
  QApplication::setActiveWindow(frame.get());
  view->setFocus();
  view->RunViewCommand(kCmdShowAll);  // 1:1
  const HeightModel& net = doc.HeightNetworkModel();
  ASSERT_FALSE(net.differences.empty());
  const auto& curve = net.differences[0].curve;
  view->LocatePoint(FromGbk(net.points[static_cast<size_t>(net.differences[0].from)].name));
  GroundPoint control[kCurvePointCount];
  for (int k = 0; k < kCurvePointCount; ++k) control[k] = GroundPoint{curve[k][0], curve[k][1]};
  std::vector<GroundPoint> samples;
  ASSERT_EQ(SampleSpline(control, false, samples), SplineStatus::Ok);
  const QPoint onCurve = view->ViewportPosition(samples[samples.size() / 2]);
  ASSERT_TRUE(view->viewport()->rect().contains(onCurve));

  // Counts the menus that open, choosing "编辑" in the first.
  int menus = 0;
  QTimer watcher;
  watcher.setInterval(5);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
    if (!menu) return;
    ++menus;
    if (menus == 1) {
      menu->setActiveAction(menu->actions().front());
      QTest::keyClick(menu, Qt::Key_Return);
    }
    menu->close();
  });
  watcher.start();
  const auto contextMenu = [&](QPoint at) {
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &event);
  };
  contextMenu(onCurve);
  ASSERT_EQ(menus, 1);
  ASSERT_EQ(view->View().toolState, kViewEditingCurve);
  const int edited = view->EditedCurve();
  ASSERT_GE(edited, 0);
  const auto middle = [&] {
    const auto& c = net.differences[static_cast<size_t>(edited)].curve;
    return view->ViewportPosition(GroundPoint{c[2][0], c[2][1]});
  };
  const QPoint vertex = middle();
  ASSERT_TRUE(view->viewport()->rect().contains(vertex));

  // A click picks the middle control point up, the next click puts it down.
  const QPoint target = vertex + QPoint(30, 20);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, vertex);
  QTest::mouseMove(view->viewport(), target);
  SaveScreenshot("view_curve_edit.png");
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, target);
  // Pressed on it where it was put down, dragged and let go.
  const QPoint dragged = target + QPoint(-25, 15);
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, target);
  QTest::mouseMove(view->viewport(), target + QPoint(-10, 5));
  QTest::mouseMove(view->viewport(), dragged);
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, dragged);
  QTest::mouseMove(view->viewport(), dragged + QPoint(40, 40));  // no longer follows
  // The right click ends the editing and stores the curve, with no menu again.
  contextMenu(dragged + QPoint(40, 40));
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(view->View().toolState, kViewIdle);
  EXPECT_LE((middle() - dragged).manhattanLength(), 2) << middle().x() << "," << middle().y();
  EXPECT_TRUE(doc.State().drawingModified);
}

}  // namespace
}  // namespace qp::testing
