// The main window: menus, toolbar, status bar, the dialog bar's selectors,
// the exit question and the help and report viewers.
#include <QAction>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QRawFont>
#include <QTextBrowser>
#include <QToolBar>

#include "app/report_viewer.h"
#include "app_test_support.h"
#include "common/gbk_text.h"

namespace qp::testing {
namespace {

using MainFrameShell = MainFrameTest;

TEST_F(MainFrameShell, EveryCommandIsShownAndEnabledByTheDocumentState) {
  std::vector<std::string> menuTitles;
  for (QAction* menu : frame->menuBar()->actions()) menuTitles.push_back(menu->text().toStdString());
  EXPECT_EQ(menuTitles.size(), MainMenus().size());

  for (int id : AllCommandIds()) {
    const auto actions = frame->ActionsOf(id);
    ASSERT_FALSE(actions.empty()) << id;
    for (QAction* a : actions) EXPECT_EQ(a->isEnabled(), IsCommandEnabled(doc.State(), id)) << id;
  }
  // With nothing open: the plane data file, the four tools, help, About and exit.
  EXPECT_TRUE(frame->ActionsOf(kCmdPlaneDataFile).front()->isEnabled());
  EXPECT_FALSE(frame->ActionsOf(kCmdPlaneDataEdit).front()->isEnabled());
  EXPECT_FALSE(frame->ActionsOf(kCmdCloseDocument).front()->isEnabled());
  for (int tool : {kCmdSystemTransform, kCmdZoneTransform, kCmdIndependentSystem, kCmdExercise}) {
    EXPECT_TRUE(frame->ActionsOf(tool).front()->isEnabled()) << tool;
  }

  auto* toolbar = Child<QToolBar>(*frame, "toolBar");
  std::vector<int> buttons;
  for (QAction* a : toolbar->actions()) buttons.push_back(a->data().toInt());
  EXPECT_EQ(buttons, (std::vector<int>{57664, 140, 147, 148, 160, 161, 162, 30102, 181}));

  EXPECT_EQ(frame->StatusPane(1)->width(), 320);
  EXPECT_EQ(frame->StatusPane(2)->width(), 200);
  EXPECT_EQ(frame->StatusPane(3)->width(), 100);
  EXPECT_GT(frame->StatusPane(0)->width(), 100);

  EXPECT_FALSE(frame->DiagramSelector()->isEnabled());
  EXPECT_FALSE(frame->PointSelector()->isEnabled());
  EXPECT_EQ(frame->DiagramSelector()->count(), 0);
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("《Quorvex》可视化平差软件 - 测量数据处理系统(QuorvexPlus)"));
}

TEST_F(MainFrameShell, ClosingAsksFirstAndOnlyYesCloses) {
  platform.Answering({Answer::No});
  frame->RunCommand(kCmdExit);
  EXPECT_TRUE(frame->isVisible());
  ASSERT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{" 请确认退出..."});
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);

  platform.Answering({Answer::Yes});
  EXPECT_TRUE(frame->close());
  EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameShell, DisabledCommandsDoNothing) {
  frame->RunCommand(kCmdPlaneDataEdit);
  frame->RunCommand(kCmdCloseDocument);
  frame->RunCommand(kCmdOpenReport);
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(frame->Reports(), nullptr);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
}

TEST_F(MainFrameShell, HelpShowsTheShippedDocument) {
  frame->RunCommand(kCmdHelp);
  ASSERT_NE(frame->Help(), nullptr);
  EXPECT_TRUE(frame->Help()->isVisible());
  auto* browser = frame->Help()->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  const QString text = browser->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("平面控制网的计算步骤")));
}

// Without a CJK font every caption would show as empty boxes.
TEST_F(MainFrameShell, ChineseCaptionsHaveGlyphs) {
  const QRawFont raw = QRawFont::fromFont(frame->font(), QFontDatabase::SimplifiedChinese);
  ASSERT_TRUE(raw.isValid());
  for (const QChar c : QStringLiteral("平面控制网解算测量数据处理系统已知点边长方位角")) {
    EXPECT_TRUE(raw.supportsCharacter(c)) << QString(c).toStdString();
  }
}

TEST(ReportViewerWindow, DecodesGbkAndKeepsTheLines) {
  TempDir dir;
  const std::string path = dir.File("r.txt");
  WriteBytes(path, Utf8ToGbk("  序号 点    名               X坐标\r\n     1  城北            3807000.1234\r\n"));
  ReportViewer viewer;
  ASSERT_TRUE(viewer.ShowReport(QString::fromStdString(path)));
  EXPECT_EQ(viewer.Text(), QStringLiteral("  序号 点    名               X坐标\n     1  城北            3807000.1234\n"));
  viewer.close();
  EXPECT_FALSE(viewer.ShowReport(QString::fromStdString(dir.File("missing.txt"))));
}

}  // namespace
}  // namespace qp::testing
