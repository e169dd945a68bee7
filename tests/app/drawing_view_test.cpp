// The drawing view driven as a user drives it: a computed plane network shown
// in the main window, a point name moved with the text-move tool, a distance
// measured, the whole-drawing zoom and the point locator.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <cstring>
#include <memory>

#include "app/app_test_support.h"
#include "app/quorvex_view.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/plane_file.h"
#include "drawing/entity_list.h"
#include "drawing/label_marks.h"
#include "drawing/network_drawing.h"

namespace qp::testing {
namespace {

struct DrawingViewTest : MainFrameTest {
  CQuorvexPView* view = nullptr;

  void SetUp() override {
    MainFrameTest::SetUp();
    CommandOptions options;
    options.dataPath = dir.File("TRI.NAP");
    options.inputPath = SourcePath("examples/plane/triangulation.txt");
    ScriptedPlatform quiet;
    ASSERT_EQ(RunPlaneCommand(options, quiet), 0);
    // Opened as "P图形文件" opens it, so the window is in the state a user sees.
    chosenPath = options.dataPath;
    frame->resize(1100, 800);
    frame->RunCommand(kCmdPlaneDrawingFile);
    ASSERT_EQ(doc.State().workMode, kPlaneDrawing);
    ASSERT_FALSE(frame->StartPanel()->isVisible());
    view = frame->View();
    view->viewport()->repaint();  // builds the drawing
  }

  int PointIndex(const char* utf8Name) const {
    for (int i = 0; i < doc.Plane().pointCount; ++i)
      if (SlotText(doc.Plane().pointName[i]) == Gbk(utf8Name)) return i;
    return -1;
  }

  void SaveScreenshot(const char* name) {
    const QString dirName = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!dirName.isEmpty()) frame->grab().save(dirName + "/" + name);
  }
};

TEST_F(DrawingViewTest, PointNameMovedWithTheTextTool) {
  const int n3 = PointIndex("N3");
  ASSERT_GE(n3, 0);
  view->RunViewCommand(kCmdShowAll);  // opened on the whole sheet: back to 1:1
  ASSERT_EQ(view->View().zoomDen, view->View().zoomNum);
  // Bring the point into the window first.
  view->LocatePoint(QStringLiteral("N3"));
  view->viewport()->repaint();
  const MovableItem* item = nullptr;
  for (const MovableItem& i : view->Items().Items())
    if (i.kind == MovableKind::PlaneName && i.index == n3) item = &i;
  ASSERT_NE(item, nullptr) << view->Items().Items().size();
  const GroundPoint middle{(item->outline[0].x + item->outline[2].x) / 2, (item->outline[0].y + item->outline[2].y) / 2};
  const QPoint at = view->ViewportPosition(middle);
  ASSERT_TRUE(view->viewport()->rect().contains(at));

  frame->RunCommand(kCmdMoveText);
  ASSERT_EQ(view->View().toolState, kViewMoving);
  EXPECT_EQ(doc.State().toolState, kViewMoving);  // close, export, save and print wait
  QTest::mouseMove(view->viewport(), at);
  EXPECT_GE(view->View().hoverIndex, 0);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  EXPECT_TRUE(view->View().dragging);
  QTest::mouseMove(view->viewport(), at + QPoint(40, -20));
  SaveScreenshot("view_text_move.png");
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at + QPoint(40, -20));
  EXPECT_FALSE(view->View().dragging);

  // 40 screen pixels east and 20 north at 1:1 and 200 dots per inch.
  const double mmPerPixel = 25.4 / doc.Settings().resolution;
  EXPECT_NEAR(doc.Plane().labelOffsetY[n3], 40 * mmPerPixel, 2 * mmPerPixel);
  EXPECT_NEAR(doc.Plane().labelOffsetX[n3], 20 * mmPerPixel, 2 * mmPerPixel);
  EXPECT_TRUE(doc.State().drawingModified);
  // Placed by hand, and so kept beside the data file when it is saved.
  const GroundPoint placed{doc.Plane().labelOffsetX[n3], doc.Plane().labelOffsetY[n3]};
  EXPECT_TRUE(IsPlacedByHand(doc.Marks(), MovableKind::PlaneName, n3, placed));
  platform.Answering({Answer::Yes});
  ASSERT_EQ(doc.SaveDrawing(platform), SaveResult::Saved);
  EXPECT_TRUE(IsPlacedByHand(ReadLabelMarks(chosenPath), MovableKind::PlaneName, n3, placed));

  QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);  // ends the tool
  EXPECT_EQ(view->View().toolState, kViewIdle);
  EXPECT_EQ(doc.State().toolState, kViewIdle);
}

TEST_F(DrawingViewTest, ArrangedLabelsAreKeptOrPutBack) {
  const std::string before = ReadBytes(chosenPath);
  const auto record = std::make_unique<PlaneNetwork>(doc.Plane());
  doc.SelectDiagramKind(5);  // the observations: the most texts
  const auto kindFive = std::make_unique<PlaneNetwork>(doc.Plane());
  platform.Answering({Answer::No});  // "否": as it was
  platform.questions.clear();
  frame->RunCommand(kCmdArrangeLabels);
  ASSERT_EQ(platform.QuestionsUtf8().size(), 1u);
  EXPECT_EQ(platform.QuestionsUtf8()[0].rfind("注记整理完成, 移动了 ", 0), 0u) << platform.QuestionsUtf8()[0];
  EXPECT_EQ(std::memcmp(&doc.Plane(), kindFive.get(), sizeof(PlaneNetwork)), 0);
  EXPECT_EQ(ReadBytes(chosenPath), before);

  platform.Answering({Answer::Yes});
  frame->RunCommand(kCmdArrangeLabels);
  frame->RunCommand(kCmdShowAll);
  view->viewport()->repaint();
  SaveScreenshot("view_arrange_labels.png");
  EXPECT_FALSE(doc.State().drawingModified);
  EXPECT_NE(ReadBytes(chosenPath), before);
  auto settings = std::make_unique<SettingsBlock>();
  auto saved = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(chosenPath, FileDirection::Read, *settings, *saved));
  EXPECT_EQ(std::memcmp(saved.get(), &doc.Plane(), sizeof(PlaneNetwork)), 0);
  EXPECT_NE(std::memcmp(saved.get(), record.get(), sizeof(PlaneNetwork)), 0);
}

TEST_F(DrawingViewTest, MeasuringShowsDistanceAngleAndTotal) {
  frame->RunCommand(kCmdMeasure);
  ASSERT_EQ(view->View().toolState, kViewMeasuring);
  const QPoint a(100, 100), b(300, 100), c(300, 300);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, a);
  QTest::mouseMove(view->viewport(), b);
  EXPECT_TRUE(frame->StatusPane(1)->text().startsWith(QStringLiteral("距离方位=")));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, b);
  QTest::mouseMove(view->viewport(), c);
  // A right angle at the second vertex.
  EXPECT_TRUE(frame->StatusPane(1)->text().contains(QStringLiteral("< 90.0000>"))) << frame->StatusPane(1)->text().toStdString();
  EXPECT_FALSE(frame->StatusPane(2)->text().isEmpty());
  SaveScreenshot("view_measure.png");
  QTest::mouseClick(view->viewport(), Qt::RightButton, {}, c);
  EXPECT_EQ(view->View().toolState, kViewIdle);
  EXPECT_TRUE(frame->StatusPane(1)->text().isEmpty());
}

TEST_F(DrawingViewTest, WholeDrawingAndBack) {
  // The drawing opens on the whole sheet.
  EXPECT_FALSE(view->View().normalView);
  EXPECT_GT(view->View().zoomDen, 1024);
  view->viewport()->repaint();
  SaveScreenshot("view_whole_drawing.png");
  EXPECT_TRUE(view->ViewCommandAllowed(kCmdShowPosition));
  ASSERT_TRUE(view->ViewCommandAllowed(kCmdShowAll));
  view->RunViewCommand(kCmdShowAll);
  EXPECT_TRUE(view->View().normalView);
  EXPECT_EQ(view->View().zoomDen, 1024);
  view->RunViewCommand(kCmdShowAll);
  EXPECT_FALSE(view->View().normalView);
  EXPECT_GT(view->View().zoomDen, 1024);
}

}  // namespace
}  // namespace qp::testing

namespace qp::testing {
namespace {

// Dark pixels of the view's window: what the diagram and the frame put on the white sheet.
int InkIn(QWidget* viewport) {
  const QImage image = viewport->grab().toImage();
  int ink = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2)
      if (qGray(image.pixel(x, y)) < 100) ++ink;
  return ink;
}

TEST_F(DrawingViewTest, EveryPlaneKindDrawsInTheWholeDrawingView) {
  ASSERT_FALSE(view->View().normalView);  // as it opens
  int previous = -1;
  bool differs = false;
  for (int kind = 0; kind < 8; ++kind) {
    doc.SelectDiagramKind(kind);
    EXPECT_EQ(doc.Plane().displayMode, kind);
    view->DrawingChanged();
    const int ink = InkIn(view->viewport());
    EXPECT_GT(ink, 500) << kind;
    differs = differs || (previous >= 0 && ink != previous);
    previous = ink;
    SaveScreenshot(QStringLiteral("plane_kind_%1.png").arg(kind).toUtf8().constData());
  }
  EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace qp::testing

#include <QFile>
#include <QPrinter>
#include <cstring>

#include "app/qt_text.h"
#include "app/sheet_printing.h"
#include "drawing/sheet_resolution.h"

namespace qp::testing {
namespace {

TEST_F(DrawingViewTest, PrintedToPdfOverTheWholePaperLeavingTheSheetAsItWas) {
  const auto before = std::make_unique<SettingsBlock>(doc.Settings());
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(FromUtf8(dir.File("sheet.pdf")));
  printer.setPageSize(QPageSize(QPageSize::A6));
  QString error;
  const int pages = PrintSheet(printer, doc, &error);
  const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  EXPECT_EQ(pages, PrintPageCount(PaperHeightMillimetres(doc.Settings()), PaperWidthMillimetres(doc.Settings()),
                                  printable.height(), printable.width()))
      << error.toStdString();
  EXPECT_GT(pages, 1);  // the fitted sheet is larger than A6
  EXPECT_EQ(std::memcmp(before.get(), &doc.Settings(), sizeof(SettingsBlock)), 0);
  const std::string pdf = ReadBytes(dir.File("sheet.pdf"));
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);

  QString pictureError;
  for (const char* name : {"sheet.png", "sheet.svg", "sheet.dxf"}) {
    EXPECT_TRUE(SaveSheetPicture(FromUtf8(dir.File(name)), doc, &pictureError)) << name << pictureError.toStdString();
    EXPECT_GT(ReadBytes(dir.File(name)).size(), 1000u) << name;
  }
  EXPECT_FALSE(SaveSheetPicture(FromUtf8(dir.File("sheet.bmp")), doc, &pictureError));
  // A picture named like the open data file or its .vec file is refused, and neither is touched.
  const std::string data = ReadBytes(dir.File("TRI.NAP"));
  for (const char* name : {"TRI.NAP", "./TRI.NAP", "TRI.vec"}) {
    EXPECT_FALSE(SaveSheetPicture(FromUtf8(dir.File(name)), doc, &pictureError)) << name;
    EXPECT_TRUE(pictureError.contains(QStringLiteral("是同一个文件"))) << pictureError.toStdString();
  }
  EXPECT_EQ(ReadBytes(dir.File("TRI.NAP")), data);
  EXPECT_FALSE(QFile::exists(FromUtf8(dir.File("TRI.vec"))));
  const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
  if (!shots.isEmpty()) {
    SaveSheetPicture(shots + "/sheet.pdf", doc, &pictureError);
    QFile::copy(FromUtf8(dir.File("sheet.pdf")), shots + "/printed.pdf");
  }
}

}  // namespace
}  // namespace qp::testing

#include "cli/height_command.h"

namespace qp::testing {
namespace {

TEST_F(MainFrameTest, HeightPointMovedWithThePointTool) {
  CommandOptions options;
  options.dataPath = dir.File("LEV.NAH");
  options.inputPath = SourcePath("examples/height/closures.txt");
  ScriptedPlatform quiet;
  ASSERT_EQ(RunHeightCommand(options, quiet), 0);
  chosenPath = options.dataPath;
  frame->resize(1100, 800);
  frame->RunCommand(kCmdHeightDrawingFile);
  ASSERT_EQ(doc.State().workMode, kHeightDrawing);
  CQuorvexPView* view = frame->View();
  view->viewport()->repaint();  // builds the drawing

  const MovableItem* item = nullptr;
  for (const MovableItem& i : view->Items().Items())
    if (i.kind == MovableKind::HeightPoint && !item) item = &i;
  ASSERT_NE(item, nullptr);
  const int point = item->index;
  const GroundPoint before{doc.Height().diagramX[point], doc.Height().diagramY[point]};
  view->LocatePoint(FromGbk(SlotText(doc.Height().pointName[point])));
  view->RunViewCommand(kCmdShowAll);  // opened on the whole sheet: back to 1:1
  view->LocatePoint(FromGbk(SlotText(doc.Height().pointName[point])));
  const QPoint at = view->ViewportPosition(before);
  ASSERT_TRUE(view->viewport()->rect().contains(at));

  frame->RunCommand(kCmdMovePoint);
  ASSERT_EQ(view->View().toolState, kViewMoving);
  QTest::mouseMove(view->viewport(), at);
  ASSERT_GE(view->View().hoverIndex, 0);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseMove(view->viewport(), at + QPoint(50, 30));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at + QPoint(50, 30));

  // 50 pixels east and 30 south at 1:1: the ground length of a pixel is scale / resolution x 0.0254 m.
  const double metresPerPixel = doc.Settings().scale / doc.Settings().resolution * 0.0254;
  EXPECT_NEAR(doc.Height().diagramY[point] - before.y, 50 * metresPerPixel, 2 * metresPerPixel);
  EXPECT_NEAR(doc.Height().diagramX[point] - before.x, -30 * metresPerPixel, 2 * metresPerPixel);
  // Its lines follow: every curve from or to the point starts or ends there.
  for (int i = 0; i < doc.Height().observationCount; ++i) {
    if (SlotText(doc.Height().from[i]) == SlotText(doc.Height().pointName[point])) {
      EXPECT_DOUBLE_EQ(doc.Height().curve[i][0][0], doc.Height().diagramX[point]);
      EXPECT_DOUBLE_EQ(doc.Height().curve[i][0][1], doc.Height().diagramY[point]);
    }
  }
  EXPECT_TRUE(doc.State().drawingModified);
}

}  // namespace
}  // namespace qp::testing

#include <filesystem>

#include "plane/plane_file.h"
#include "statistics/statistics_report.h"

namespace qp::testing {
namespace {

// Pixels of a clear red (the flagged observations), every second row and column.
int RedIn(const QImage& image) {
  int red = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80) ++red;
    }
  return red;
}

TEST_F(MainFrameTest, FlaggedObservationsAreRedOnScreenAndInPictures) {
  CommandOptions options;
  options.dataPath = dir.File("BLU.NAP");
  options.inputPath = SourcePath("examples/plane/planted_blunder.txt");
  ScriptedPlatform quiet;
  ASSERT_EQ(RunPlaneCommand(options, quiet), 0);
  chosenPath = options.dataPath;
  frame->resize(1100, 800);
  frame->RunCommand(kCmdPlaneDrawingFile);
  ASSERT_EQ(doc.State().workMode, kPlaneDrawing);
  CQuorvexPView* view = frame->View();
  view->viewport()->repaint();
  ASSERT_FALSE(view->View().normalView);  // it opens on the whole sheet

  doc.SelectDiagramKind(3);
  view->DrawingChanged();
  EXPECT_EQ(RedIn(view->viewport()->grab().toImage()), 0);
  doc.SelectDiagramKind(5);
  view->DrawingChanged();
  EXPECT_GT(RedIn(view->viewport()->grab().toImage()), 20);
  const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
  if (!shots.isEmpty()) view->viewport()->grab().save(shots + "/plane_kind_5_flagged.png");
  QString error;
  ASSERT_TRUE(SaveSheetPicture(FromUtf8(dir.File("blunder.png")), doc, &error)) << error.toStdString();
  EXPECT_GT(RedIn(QImage(FromUtf8(dir.File("blunder.png")))), 20);
  ASSERT_TRUE(SaveSheetPicture(FromUtf8(dir.File("blunder.svg")), doc, &error)) << error.toStdString();
  EXPECT_NE(ReadBytes(dir.File("blunder.svg")).find("#ff0000"), std::string::npos);

  // A failed computation takes the report away, and the red with it.
  std::filesystem::remove(StatisticsReportPathFor(options.dataPath));
  view->DrawingChanged();
  EXPECT_EQ(RedIn(view->viewport()->grab().toImage()), 0);
}

// A data file edited by hand with points no drawing can hold: the screen and
// the PDF, PNG and SVG pictures draw it (the points off the paper), the DXF
// drawing is refused with its message, and no temporary file is left.
TEST_F(MainFrameTest, FarCoordinatesAreDrawnOrRefusedButNeverAbort) {
  CommandOptions options;
  options.dataPath = dir.File("FAR.NAP");
  options.inputPath = SourcePath("examples/plane/triangulation.txt");
  ScriptedPlatform quiet;
  ASSERT_EQ(RunPlaneCommand(options, quiet), 0);
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(options.dataPath, FileDirection::Read, *settings, *net));
  net->x[0] = 1e300;
  net->y[1] = -1e237;
  ASSERT_TRUE(ReadWritePlaneFile(options.dataPath, FileDirection::Write, *settings, *net));
  chosenPath = options.dataPath;
  frame->RunCommand(kCmdPlaneDrawingFile);
  ASSERT_EQ(doc.State().workMode, kPlaneDrawing);
  frame->View()->viewport()->repaint();

  QString error;
  for (const char* name : {"far.pdf", "far.png", "far.svg"}) {
    EXPECT_TRUE(SaveSheetPicture(FromUtf8(dir.File(name)), doc, &error)) << name << error.toStdString();
  }
  EXPECT_FALSE(SaveSheetPicture(FromUtf8(dir.File("far.dxf")), doc, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("超出DXF可写范围"))) << error.toStdString();
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.find(".tmp") == std::string::npos && name.find(".part") == std::string::npos) << name;
    EXPECT_NE(name, "far.dxf");
  }
}

}  // namespace
}  // namespace qp::testing
