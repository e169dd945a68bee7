// The menu bar's 绘图 menu and the toolbar's icons, "导出坐标..." in the
// network menus, and the status line a computation leaves.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <set>

#include "app/command_icons.h"
#include "app/height_input_dialog.h"
#include "app/plane_input_dialog.h"
#include "app/main_frame.h"
#include "app/qt_text.h"
#include "app_test_support.h"
#include "cli/export_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "plane/plane_file.h"

namespace qp::testing {
namespace {

bool FileExists(const std::string& path) { return std::filesystem::is_regular_file(path); }

QMenu* MenuTitled(CMainFrame& frame, const QString& title) {
  for (QAction* a : frame.menuBar()->actions())
    if (a->text() == title) return a->menu();
  ADD_FAILURE() << title.toStdString();
  return nullptr;
}

void SaveScreenshot(QWidget& window, const char* name) {
  const QString dirName = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
  if (!dirName.isEmpty()) window.grab().save(dirName + "/" + name);
}

using MenuCommands = MainFrameTest;

TEST_F(MenuCommands, ViewToolsAreInTheirMenuAndOnTheToolbarAsOneAction) {
  QMenu* menu = MenuTitled(*frame, QStringLiteral("绘图(&M)"));
  ASSERT_NE(menu, nullptr);
  auto* toolbar = Child<QToolBar>(*frame, "toolBar");
  std::vector<int> ids;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    ids.push_back(a->data().toInt());
    // The button is the menu item: enabled and pressed together.
    EXPECT_TRUE(toolbar->actions().contains(a)) << a->text().toStdString();
    EXPECT_EQ(frame->ActionsOf(a->data().toInt()), std::vector<QAction*>{a});
  }
  EXPECT_EQ(ids, (std::vector<int>{kCmdShowAll, kCmdShowPosition, kCmdMoveText, kCmdMovePoint, kCmdMeasure, kCmdRefresh}));
  // The menu item carries an access key, the button the bare caption.
  QAction* moveText = frame->ActionsOf(kCmdMoveText).front();
  EXPECT_EQ(moveText->text(), QStringLiteral("文本移动(&T)"));
  EXPECT_EQ(moveText->iconText(), QStringLiteral("文本移动"));

  frame->resize(1280, 720);
  menu->popup(frame->mapToGlobal(QPoint(250, 20)));
  QCoreApplication::processEvents();
  SaveScreenshot(*menu, "view_tools_menu.png");
  menu->close();
}

TEST_F(MenuCommands, EveryToolbarButtonHasAnIconOfItsOwnAndAllFitAt1280Pixels) {
  auto* toolbar = Child<QToolBar>(*frame, "toolBar");
  EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
  std::set<QByteArray> drawn;
  for (QAction* a : toolbar->actions()) {
    const int id = a->data().toInt();
    EXPECT_FALSE(a->icon().isNull()) << id;
    ASSERT_NE(ThemeIconName(id), nullptr) << id;
    // The drawn fallbacks tell the commands apart.
    const QImage image = DrawnCommandIcon(id).pixmap(32, 32).toImage();
    EXPECT_FALSE(image.isNull()) << id;
    drawn.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
  }
  EXPECT_EQ(drawn.size(), static_cast<size_t>(toolbar->actions().size()));
  EXPECT_TRUE(DrawnCommandIcon(kCmdExit).isNull());

  frame->resize(1280, 720);
  QCoreApplication::processEvents();
  // No button goes into the toolbar's overflow menu.
  for (QAction* a : toolbar->actions()) {
    QWidget* button = toolbar->widgetForAction(a);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible()) << a->iconText().toStdString();
    EXPECT_LE(button->geometry().right(), toolbar->width()) << a->iconText().toStdString();
  }
  SaveScreenshot(*frame, "toolbar_icons_1280.png");
}

// A computed triangulation opened as "P图形文件" opens it.
struct CoordinateExport : MainFrameTest {
  std::string dataPath;
  std::vector<QString> offered;  // what the reference-system question offered
  std::optional<QString> crsAnswer = QString();

  void SetUp() override {
    MainFrameTest::SetUp();
    dataPath = dir.File("TRI.NAP");
    CommandOptions options;
    options.dataPath = dataPath;
    options.inputPath = SourcePath("examples/plane/triangulation.txt");
    ScriptedPlatform quiet;
    ASSERT_EQ(RunPlaneCommand(options, quiet), 0);
    chosenPath = dataPath;
    frame->RunCommand(kCmdPlaneDrawingFile);
    ASSERT_EQ(doc.State().workMode, kPlaneDrawing);
    frame->SetCrsAsker([this](const QString& last) {
      offered.push_back(last);
      return crsAnswer;
    });
    platform.messages.clear();
  }

  QAction* PlaneExportAction() const {
    for (QAction* a : frame->ActionsOf(kCmdExportCoordinates))
      if (MenuTitled(*frame, QStringLiteral("平面网(&P)"))->actions().contains(a)) return a;
    return nullptr;
  }
};

TEST_F(CoordinateExport, WritesTheCsvTheCommandLineWrites) {
  QAction* action = PlaneExportAction();
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->text(), QStringLiteral("导出坐标(&C)..."));
  ASSERT_TRUE(action->isEnabled());
  chosenPath = dir.File("坐标.csv");
  action->trigger();
  ASSERT_TRUE(FileExists(chosenPath)) << platform.LastMessageUtf8();
  EXPECT_EQ(platform.LastMessageUtf8(), "坐标已导出到:\n" + chosenPath);

  ScriptedPlatform cli;
  CommandOptions options;
  options.dataPath = dataPath;
  options.csvPath = dir.File("cli.csv");
  ASSERT_EQ(RunExportCommand(options, cli), 0) << cli.LastMessageUtf8();
  EXPECT_EQ(ReadBytes(chosenPath), ReadBytes(dir.File("cli.csv")));
  EXPECT_NE(ReadBytes(chosenPath).find("N3"), std::string::npos);
}

TEST_F(CoordinateExport, GeoJsonNeedsAReferenceSystemAndTheLastOneIsOffered) {
  // No system given: refused, nothing written.
  chosenPath = dir.File("坐标.geojson");
  frame->RunCommand(kCmdExportCoordinates);
  EXPECT_FALSE(FileExists(chosenPath));
  EXPECT_NE(platform.LastMessageUtf8().find("GeoJSON"), std::string::npos) << platform.LastMessageUtf8();

  // Cancelled question: nothing written, nothing said.
  platform.messages.clear();
  crsAnswer.reset();
  frame->RunCommand(kCmdExportCoordinates);
  EXPECT_FALSE(FileExists(chosenPath));
  EXPECT_TRUE(platform.messages.empty());

  const QString system = QStringLiteral("+proj=tmerc +lon_0=114 +k=1 +x_0=500000 +ellps=GRS80 +towgs84=0,0,0");
  crsAnswer = system;
  frame->RunCommand(kCmdExportCoordinates);
  ASSERT_TRUE(FileExists(chosenPath)) << platform.LastMessageUtf8();
  EXPECT_NE(ReadBytes(chosenPath).find("\"FeatureCollection\""), std::string::npos);
  frame->RunCommand(kCmdExportCoordinates);
  ASSERT_EQ(offered.size(), 4u);
  EXPECT_EQ(offered.back(), system);
}

TEST_F(CoordinateExport, IsOfferedOnlyForANetworkWithResults) {
  EXPECT_TRUE(frame->ActionsOf(kCmdExportCoordinates).front()->isEnabled());
  frame->RunCommand(kCmdCloseDocument);
  for (QAction* a : frame->ActionsOf(kCmdExportCoordinates)) EXPECT_FALSE(a->isEnabled());

  // The same drawing stored by a computation that failed: neither a
  // unit-weight error nor an ellipse.
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(dataPath, FileDirection::Read, *settings, *net));
  net->sigma0 = 0.0;
  for (int p = 0; p < kMaxPlanePoints; ++p) net->pointE[p] = net->pointF[p] = 0.0f;
  chosenPath = dir.File("NORES.NAP");
  ASSERT_TRUE(ReadWritePlaneFile(chosenPath, FileDirection::Write, *settings, *net));
  frame->RunCommand(kCmdPlaneDrawingFile);
  ASSERT_EQ(doc.State().workMode, kPlaneDrawing);
  EXPECT_TRUE(frame->ActionsOf(kCmdSavePicture).front()->isEnabled());
  for (QAction* a : frame->ActionsOf(kCmdExportCoordinates)) EXPECT_FALSE(a->isEnabled());
}

// The statistics report's verdict on the global test ("" when none was made).
std::string VerdictOf(const std::string& statisticsReport) {
  const std::string text = GbkToUtf8(ReadBytes(statisticsReport));
  const size_t at = text.find("结论:");
  if (at == std::string::npos) return "";
  return text.find("通过", at) < text.find("拒绝", at) ? "通过" : "拒绝";
}

struct StatusCase {
  const char* example;  // under examples/
  bool plane;
  const char* begins;   // the status line's first words
};

TEST_F(MainFrameTest, AComputationSaysWhatItDidAndTheGlobalTestsVerdict) {
  const StatusCase cases[] = {
      {"plane/triangulation.txt", true, "平差完成: m0=±0.604″, 最弱点 N3 0.65 cm"},
      {"plane/planted_blunder.txt", true, "平差完成: m0=±"},
      {"plane/design_estimate.txt", true, "估算完成: 最弱点 P3 1.67 cm"},
      {"height/levelling.txt", false, "平差完成: m0=±0.975 mm, 最弱点 Z3 1.14 mm"},
      {"height/estimate.txt", false, "估算完成: 最弱点 N2 1.72 mm"},
  };
  frame->resize(1280, 720);
  int file = 0;
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.example);
    const std::string stem = dir.File("网" + std::to_string(++file));
    chosenPath = stem + (c.plane ? ".NAP" : ".NAH");
    platform.Answering({Answer::Yes, Answer::Yes});  // new file, "请确认继续 ..."
    std::shared_ptr<bool> ran;
    if (c.plane) {
      ran = WhenModalShows<CQuorDisgnContrloPlane>([&](CQuorDisgnContrloPlane& dialog) {
        FillPlaneDialogFromInputFile(dialog, SourcePath(std::string("examples/") + c.example));
        ConfirmOrLeave(dialog, platform);
      });
    } else {
      ran = WhenModalShows<CQuorDesignControlHeight>([&](CQuorDesignControlHeight& dialog) {
        FillControlsFromInputFile(dialog, SourcePath(std::string("examples/") + c.example), HeightDialogControls());
        ConfirmOrLeave(dialog, platform);
      });
    }
    frame->RunCommand(c.plane ? kCmdPlaneDataFile : kCmdHeightDataFile);
    ASSERT_TRUE(*ran);
    ASSERT_TRUE(doc.State().drawingReady) << platform.LastMessageUtf8();
    const std::string status = frame->StatusPane(0)->text().toStdString();
    EXPECT_EQ(status.rfind(c.begins, 0), 0u) << status;
    const std::string verdict = VerdictOf(stem + "统计检验.txt");
    if (verdict.empty()) {
      EXPECT_EQ(status.find("整体检验"), std::string::npos) << status;
    } else {
      EXPECT_TRUE(status.ends_with("; 整体检验" + verdict)) << status;
    }
    if (file == 1) SaveScreenshot(*frame, "status_after_adjustment.png");
    frame->RunCommand(kCmdCloseDocument);
    EXPECT_EQ(frame->StatusPane(0)->text(), QStringLiteral("就绪"));
  }
}

}  // namespace
}  // namespace qp::testing
