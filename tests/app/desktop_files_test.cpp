// The desktop's everyday file handling: the recent-file list (four entries,
// most recent first, kept across a restart, reopening by the file's kind), a
// file named on the command line, the start panel while nothing is open, the
// greyed toolbar buttons' hints, Qt's Chinese texts and the report viewer's
// columns and find.
#include <QFile>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>
#include <QTranslator>

#include "app/quorvex_view.h"
#include "app/qt_text.h"
#include "app/qt_translations.h"
#include "app/recent_files.h"
#include "app/report_viewer.h"
#include "app_test_support.h"
#include "common/gbk_text.h"

namespace qp::testing {
namespace {

struct DesktopFiles : MainFrameTest {
  void SetUp() override {
    // The tests' settings live in a scratch folder (see the test main).
    while (!RecentFiles().isEmpty()) RemoveRecentFile(RecentFiles().front());
    MainFrameTest::SetUp();
  }

  // Opens `name` as the command line would, creating it ("请确认新建..." is
  // answered Yes), leaves its input dialog with 取消 and closes the network.
  void OpenAndClose(CMainFrame& f, const std::string& name) {
    platform.Answering({Answer::Yes});
    const auto shown = WhenModalShows<QDialog>([](QDialog& d) { d.done(QDialog::Rejected); });
    f.OpenCommandLine({FromUtf8(dir.File(name))});
    EXPECT_TRUE(*shown) << name;
    EXPECT_NE(doc.State().workMode, kNothingOpen) << name;
    f.RunCommand(kCmdCloseDocument);
  }

  QStringList MenuEntries(CMainFrame& f) {
    QStringList texts;
    for (QAction* a : f.RecentFileActions()) {
      if (a->isVisible()) texts.push_back(a->text());
    }
    return texts;
  }
};

TEST_F(DesktopFiles, RecentFilesKeepFourMostRecentFirstAcrossARestartAndReopenByKind) {
  for (const char* name : {"一.NAP", "二.NAH", "三.NAP", "四.NAH", "五.NAP"}) OpenAndClose(*frame, name);
  // 三 again moves to the head rather than taking a second entry.
  OpenAndClose(*frame, "三.NAP");
  const QStringList expected = {FromUtf8(dir.File("三.NAP")), FromUtf8(dir.File("五.NAP")),
                                FromUtf8(dir.File("四.NAH")), FromUtf8(dir.File("二.NAH"))};
  EXPECT_EQ(RecentFiles(), expected);

  // A restart: a new window reads the list back, in the 文件 menu and on the
  // start panel shown while nothing is open.
  frame->hide();
  frame.reset();
  frame = std::make_unique<CMainFrame>(doc, platform);
  frame->show();
  EXPECT_EQ(MenuEntries(*frame), (QStringList{QStringLiteral("&1 ") + expected[0], QStringLiteral("&2 ") + expected[1],
                                             QStringLiteral("&3 ") + expected[2], QStringLiteral("&4 ") + expected[3]}));
  EXPECT_TRUE(frame->StartPanel()->isVisible());
  const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
  if (!shots.isEmpty()) frame->grab().save(shots + "/start_panel.png");
  auto* startList = Child<QListWidget>(*frame->StartPanel(), "startRecentFiles");
  ASSERT_EQ(startList->count(), 4);
  EXPECT_EQ(startList->item(2)->text(), expected[2]);

  // The third entry is a height network: it opens as "H数据文件" would, and
  // the view takes the start panel's place.
  const auto shown = WhenModalShows<QDialog>([](QDialog& d) {
    EXPECT_EQ(d.objectName(), QStringLiteral("heightInputDialog"));
    d.done(QDialog::Rejected);
  });
  frame->RecentFileActions()[2]->trigger();
  EXPECT_TRUE(*shown);
  EXPECT_EQ(doc.State().workMode, kHeightData);
  EXPECT_FALSE(frame->StartPanel()->isVisible());
  EXPECT_TRUE(frame->View()->isVisible());
  EXPECT_EQ(RecentFiles().front(), expected[2]);
  // While a network is open the list cannot open a second one.
  for (QAction* a : frame->RecentFileActions()) EXPECT_FALSE(a->isEnabled());
  frame->RunCommand(kCmdCloseDocument);

  // A file deleted since is dropped from the list with a message, not created anew.
  QFile::remove(expected[1]);
  const size_t questions = platform.questions.size();
  ASSERT_EQ(RecentFiles().indexOf(expected[1]), 2);  // 四, 三, 五, 二
  frame->OpenRecentFile(2);
  EXPECT_EQ(platform.questions.size(), questions);
  EXPECT_NE(platform.LastMessageUtf8().find("文件不存在"), std::string::npos);
  EXPECT_FALSE(RecentFiles().contains(expected[1]));
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
}

TEST_F(DesktopFiles, CommandLineOpensANetworkFileAndRefusesOtherFiles) {
  frame->OpenCommandLine({QStringLiteral("-style"), FromUtf8(dir.File("说明.txt"))});
  EXPECT_NE(platform.LastMessageUtf8().find("说明.txt"), std::string::npos);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);

  platform.Answering({Answer::Yes});
  const auto shown = WhenModalShows<QDialog>([](QDialog& d) {
    EXPECT_EQ(d.objectName(), QStringLiteral("planeInputDialog"));
    d.done(QDialog::Rejected);
  });
  frame->OpenCommandLine({FromUtf8(dir.File("城区.nap"))});
  EXPECT_TRUE(*shown);
  EXPECT_EQ(doc.State().workMode, kPlaneData);
  EXPECT_EQ(platform.QuestionsUtf8().back().rfind("请确认新建平面网数据文件", 0), 0u);
}

TEST_F(DesktopFiles, GreyedToolbarButtonsSayWhenTheyBecomeAvailable) {
  auto* toolbar = frame->findChild<QToolBar*>(QStringLiteral("toolBar"));
  ASSERT_NE(toolbar, nullptr);
  int greyed = 0;
  for (QAction* a : toolbar->actions()) {
    if (a->isEnabled()) continue;
    ++greyed;
    EXPECT_TRUE(a->toolTip().startsWith(a->iconText())) << a->iconText().toStdString();
    EXPECT_TRUE(a->toolTip().contains(QStringLiteral("可用"))) << a->text().toStdString();
  }
  EXPECT_EQ(greyed, 8);  // all but "关于" while nothing is open
}

TEST(QtTranslations, StandardButtonsReadInChineseWhateverTheLocale) {
  for (const char* locale : {"en_US", "zh_CN", "de_DE"}) {
    QTranslator* translator = InstallQtTranslations(*QCoreApplication::instance(), QString::fromLatin1(locale));
    ASSERT_NE(translator, nullptr) << locale;
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消")) << locale;
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST(ReportViewerTest, ChineseNamesKeepTheColumnsAndFindWrapsRound) {
  // A Chinese character is exactly two Latin cells: columns counted in GBK
  // bytes line up on screen.
  const QFontMetrics metrics(ReportFont());
  const int cell = metrics.horizontalAdvance(QLatin1Char('0'));
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("测量控制点")), 10 * cell);
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("A测1量")), 6 * cell);

  TempDir dir;
  const std::string path = dir.File("城区.txt");
  WriteBytes(path, Utf8ToGbk("  点名        X(m)\r\n  北山    3001.234\r\n  K12     2990.001\r\n  北山    3005.000\r\n"));
  ReportViewer viewer;
  ASSERT_TRUE(viewer.ShowReport(FromUtf8(path)));
  const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
  if (!shots.isEmpty()) viewer.grab().save(shots + "/report_viewer.png");
  QPlainTextEdit* text = viewer.TextView();
  EXPECT_TRUE(viewer.Find(QStringLiteral("北山")));
  EXPECT_EQ(text->textCursor().blockNumber(), 1);
  EXPECT_TRUE(viewer.Find(QStringLiteral("北山")));
  EXPECT_EQ(text->textCursor().blockNumber(), 3);
  EXPECT_TRUE(viewer.Find(QStringLiteral("北山")));  // round to the top again
  EXPECT_EQ(text->textCursor().blockNumber(), 1);
  EXPECT_TRUE(viewer.Find(QStringLiteral("北山"), true));  // backwards, round to the bottom
  EXPECT_EQ(text->textCursor().blockNumber(), 3);
  EXPECT_FALSE(viewer.Find(QStringLiteral("南山")));
  EXPECT_EQ(text->textCursor().selectedText(), QStringLiteral("北山"));  // the selection stays
}

TEST(ReportViewerTest, EveryDoubleByteCharacterTakesTwoCells) {
  // Greek letters, the plus-minus sign and full-width punctuation are
  // double-byte in GBK but drawn one cell wide by a CJK monospace: the
  // statistics report's chi-square rows would slip against their neighbours.
  TempDir dir;
  const std::string path = dir.File("stat.txt");
  const char* lines[] = {"  χ2上限=  21.920|", "  abc上限=  21.920|", "  σ0±τ：  1.000|", "  abcdefghi  1.000|"};
  std::string report;
  for (const char* line : lines) report += Utf8ToGbk(line) + "\r\n";
  WriteBytes(path, report);
  ReportViewer viewer;
  ASSERT_TRUE(viewer.ShowReport(FromUtf8(path)));
  QPlainTextEdit* text = viewer.TextView();
  const auto barX = [&](int line) {
    QTextCursor at(text->document()->findBlockByNumber(line));
    at.movePosition(QTextCursor::EndOfBlock);
    at.movePosition(QTextCursor::Left);
    return text->cursorRect(at).x();
  };
  EXPECT_NEAR(barX(0), barX(1), 1);
  EXPECT_NEAR(barX(2), barX(3), 1);
  EXPECT_EQ(text->toPlainText().split(QLatin1Char('\n')).value(2), QStringLiteral("  σ0±τ：  1.000|"));  // text unchanged
}

}  // namespace
}  // namespace qp::testing
