// The three coordinate tools from the menu, each driven end to end on its
// example: the file chosen or created, the controls typed, the action run, the
// results and report checked against the command-line golden files, the report
// shown in the viewer, and the data file read back by the next run.
#include <QGroupBox>
#include <QtTest/QTest>

#include "app/independent_system_dialog.h"
#include "app/qt_text.h"
#include "app/report_viewer.h"
#include "app/system_transform_dialog.h"
#include "app/zone_transform_dialog.h"
#include "app_test_support.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/report_file.h"

namespace qp::testing {
namespace {

struct ToolDialogs : MainFrameTest {
  std::vector<FileRequest> requests;

  void SetUp() override {
    MainFrameTest::SetUp();
    frame->SetFileChooser([this](const FileRequest& request) {
      requests.push_back(request);
      return FromUtf8(chosenPath);
    });
  }

  static std::string Golden(const std::string& name) { return ReadBytes(SourcePath("tests/tools/golden/" + name)); }
  static std::string Example(const std::string& name) { return SourcePath("examples/tools/" + name); }
  // A result box's text in the command line's form (UTF-8, LF).
  static std::string BoxUtf8(QWidget& dialog, const char* name) {
    return Child<QPlainTextEdit>(dialog, name)->toPlainText().toStdString();
  }
  static QString Text(QWidget& dialog, const char* name) { return Child<QLineEdit>(dialog, name)->text(); }
  static void ExpectToolTips(QWidget& dialog, std::initializer_list<const char*> names) {
    for (const char* name : names) EXPECT_FALSE(Child<QWidget>(dialog, name)->toolTip().isEmpty()) << name;
  }
  void ExpectRequest(const char* title, const char* filter, const char* suffix) {
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().title, QString::fromUtf8(title));
    EXPECT_EQ(requests.back().filter, QString::fromUtf8(filter));
    EXPECT_EQ(requests.back().suffix, QString::fromUtf8(suffix));
    EXPECT_EQ(requests.back().mode, FileDialogMode::OpenOrNew);
  }
  // The dialog's picture, when QUORVEX_SCREENSHOT_DIR names a folder for it.
  static void SaveScreenshot(QWidget& dialog, const char* name) {
    const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!shots.isEmpty()) dialog.grab().save(shots + "/" + name);
  }
  // Leaves the dialog through "退出": No keeps it open, Yes closes it.
  void ExitAskingTwice(QDialog& dialog) {
    platform.Answering({Answer::No});
    Click(Child<QPushButton>(dialog, "exitButton"));
    EXPECT_TRUE(dialog.isVisible());
    platform.Answering({Answer::Yes});
    Click(Child<QPushButton>(dialog, "exitButton"));
    EXPECT_FALSE(dialog.isVisible());
  }
};

const std::map<std::string, std::string> kZoneControls = {
    {"系统选择", "systemCombo"},       {"输出标识", "titleEdit"},      {"换带前经度", "oldMeridianEdit"},
    {"换带后经度", "newMeridianEdit"}, {"显示选择", "displayCombo"},   {"换带前坐标", "inputEdit"},
};

TEST_F(ToolDialogs, ZoneTransformationRunsTheExampleAndReadsItsFileBack) {
  chosenPath = dir.File("换带.GST");
  const std::string report = ReportPathFor(chosenPath);
  platform.Answering({Answer::Yes, Answer::Yes});  // new file, "查看转换结果 ?"
  const auto first = WhenModalShows<CQuorvexGaussCount>([&](CQuorvexGaussCount& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("坐标换带计算"));
    ExpectToolTips(d, {"fileButton", "fileNameEdit", "systemCombo", "titleEdit", "oldMeridianEdit", "newMeridianEdit",
                       "displayCombo", "executeButton", "inputEdit", "outputEdit"});
    auto* display = Child<QComboBox>(d, "displayCombo");
    EXPECT_EQ(display->currentIndex(), 2);
    EXPECT_EQ(Child<QComboBox>(d, "systemCombo")->currentText(), QStringLiteral("54坐标系统"));

    Click(Child<QPushButton>(d, "fileButton"));
    EXPECT_EQ(Text(d, "fileNameEdit"), FromUtf8(chosenPath));
    FillControlsFromInputFile(d, Example("zone_54.txt"), kZoneControls);
    Click(Child<QPushButton>(d, "executeButton"));
    EXPECT_EQ(BoxUtf8(d, "outputEdit"), Golden("zone_54.out"));
    SaveScreenshot(d, "zone_transform.png");
    // "查看转换结果 ?" answered Yes: the report is shown while the dialog is open.
    ASSERT_NE(d.Reports(), nullptr);
    EXPECT_TRUE(d.Reports()->isVisible());
    EXPECT_TRUE(d.Reports()->Text().contains(QStringLiteral("换带后坐标")));

    // Another display entry transforms again and shows the coordinates only.
    Choose(display, 0);
    EXPECT_EQ(BoxUtf8(d, "outputEdit").substr(0, 35), "GP01      ,3383832.763, 212051.239\n");
    ExitAskingTwice(d);
  });
  frame->RunCommand(kCmdZoneTransform);
  ASSERT_TRUE(*first);
  ExpectRequest("换带数据文件", "换带数据文件(*.GST)", "GST");
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
  const std::string done = "换带计算完成...\r\n" + report + "\r\n\r\n查看转换结果 ?";
  EXPECT_EQ(platform.QuestionsUtf8(), (std::vector<std::string>{"请确认新建坐标换带数据文件 ...", done, done,
                                                                "请确认退出 ...", "请确认退出 ..."}));
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);
  EXPECT_EQ(ReadBytes(chosenPath).size(), kZoneFileSize);
  EXPECT_EQ(ReadBytes(report), Golden("zone_54.txt"));
  // The report stays open once the dialog is gone.
  ASSERT_NE(frame->ToolReports(), nullptr);
  EXPECT_TRUE(frame->ToolReports()->isVisible());

  platform.questions.clear();
  const auto second = WhenModalShows<CQuorvexGaussCount>([&](CQuorvexGaussCount& d) {
    Click(Child<QPushButton>(d, "fileButton"));
    EXPECT_EQ(Child<QPlainTextEdit>(d, "inputEdit")->toPlainText().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("GP01,3380000.000,38500000.000"));
    EXPECT_EQ(Child<QPlainTextEdit>(d, "inputEdit")->toPlainText().count(QLatin1Char('\n')), 4);
    EXPECT_EQ(Text(d, "oldMeridianEdit"), QStringLiteral("117.000000"));
    EXPECT_EQ(Text(d, "newMeridianEdit"), QStringLiteral("120.000000"));
    EXPECT_EQ(Text(d, "titleEdit"), QStringLiteral("城区控制点换带计算"));
    EXPECT_TRUE(Child<QPlainTextEdit>(d, "outputEdit")->toPlainText().isEmpty());
    // Esc asks the same question.
    platform.Answering({Answer::Yes});
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  frame->RunCommand(kCmdZoneTransform);
  ASSERT_TRUE(*second);
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认退出 ..."});
}

TEST_F(ToolDialogs, SystemTransformationWantsAFileFirstThenTransformsTheExample) {
  chosenPath = dir.File("转换.TRS");
  const auto first = WhenModalShows<CQuorvexSystemTranslate>([&](CQuorvexSystemTranslate& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("坐标系统转换对话框"));
    ExpectToolTips(d, {"fileButton", "fileNameEdit", "titleEdit", "oldPointsEdit", "newPointsEdit"});

    // Typing without a file clears both boxes with a message; "转换" does nothing.
    Child<QPlainTextEdit>(d, "newPointsEdit")->setPlainText(QStringLiteral("K1,1,2"));
    QCoreApplication::processEvents();
    EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"首先新建或打开一个坐标转换数据文件 !"});
    EXPECT_TRUE(Child<QPlainTextEdit>(d, "newPointsEdit")->toPlainText().isEmpty());
    Click(Child<QPushButton>(d, "transformButton"));
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.questions.empty());

    platform.Answering({Answer::Yes});  // new file
    Click(Child<QPushButton>(d, "fileButton"));
    EXPECT_EQ(Text(d, "fileNameEdit"), FromUtf8(chosenPath));
    FillControlsFromInputFile(d, Example("transform.txt"),
                              {{"输出标识", "titleEdit"}, {"旧坐标", "oldPointsEdit"}, {"新坐标", "newPointsEdit"}});
    QCoreApplication::processEvents();
    EXPECT_EQ(platform.messages.size(), 1u);  // with a file, typing is welcome

    platform.Answering({Answer::Yes});  // "查看转换结果 ?"
    Click(Child<QPushButton>(d, "transformButton"));
    ASSERT_NE(d.Reports(), nullptr);
    EXPECT_TRUE(d.Reports()->Text().contains(QStringLiteral("新旧坐标换算中误差=")));
    SaveScreenshot(d, "system_transform.png");
    ExitAskingTwice(d);
  });
  frame->RunCommand(kCmdSystemTransform);
  ASSERT_TRUE(*first);
  ExpectRequest("坐标转换数据文件", "坐标转换数据文件(*.TRS)", "TRS");
  EXPECT_EQ(platform.QuestionsUtf8().at(1), "坐标转换完成...\r\n" + ReportPathFor(chosenPath) + "\r\n\r\n查看转换结果 ?");
  EXPECT_EQ(ReadBytes(chosenPath).size(), kSystemFileSize);
  EXPECT_EQ(ReadBytes(ReportPathFor(chosenPath)), Golden("transform.txt"));

  platform.questions.clear();
  const auto second = WhenModalShows<CQuorvexSystemTranslate>([&](CQuorvexSystemTranslate& d) {
    Click(Child<QPushButton>(d, "fileButton"));
    // The lists come back as stored: the common points first, in the new list's order.
    const QString oldPoints = Child<QPlainTextEdit>(d, "oldPointsEdit")->toPlainText();
    const QString newPoints = Child<QPlainTextEdit>(d, "newPointsEdit")->toPlainText();
    EXPECT_EQ(oldPoints.count(QLatin1Char('\n')), 7);
    EXPECT_TRUE(oldPoints.startsWith(QStringLiteral("K3,3403456.789,516543.210\nK1,")));
    EXPECT_TRUE(newPoints.startsWith(QStringLiteral("K3,3403264.229,517514.758\n")));
    EXPECT_EQ(Text(d, "titleEdit"), QStringLiteral("旧新系统转换"));
    platform.Answering({Answer::Yes});
    d.reject();
  });
  frame->RunCommand(kCmdSystemTransform);
  ASSERT_TRUE(*second);
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认退出 ..."});
}

const std::map<std::string, std::string> kIndependentControls = {
    {"坐标系统名称", "systemNameEdit"}, {"参考点点名", "referenceNameEdit"}, {"中央子午线", "meridianEdit"},
    {"参考点X坐标", "referenceXEdit"},  {"参考点Y坐标", "referenceYEdit"},  {"坐标系统", "systemCombo"},
    {"投影高程面", "heightEdit"},        {"设定坐标X", "setXEdit"},          {"设定坐标Y", "setYEdit"},
    {"有效半径m", "radiusEdit"},         {"转换方式", "modeCombo"},          {"国家坐标系统坐标", "nationalEdit"},
    {"独立坐标系统坐标", "independentEdit"},
};

// Which controls take input: reference group, system name, radius, the two
// boxes, the mode combo, "查看文本".
std::string EnablingOf(QWidget& d) {
  std::string flags;
  for (const char* name : {"referenceGroup", "systemNameEdit", "radiusEdit", "nationalEdit", "independentEdit",
                           "modeCombo", "viewReportButton"}) {
    flags += Child<QWidget>(d, name)->isEnabled() ? '1' : '0';
  }
  return flags;
}

TEST_F(ToolDialogs, IndependentSystemConfirmsItsReferenceThenConvertsBothWays) {
  chosenPath = dir.File("独立.SLT");
  const std::string report = ReportPathFor(chosenPath);
  const auto first = WhenModalShows<CQuorvexIndependant>([&](CQuorvexIndependant& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("独立坐标系统建立与计算"));
    ExpectToolTips(d, {"fileNameEdit", "systemNameEdit", "referenceNameEdit", "meridianEdit", "referenceXEdit",
                       "referenceYEdit", "systemCombo", "heightEdit", "setXEdit", "setYEdit", "radiusEdit",
                       "modeCombo", "nationalEdit", "independentEdit", "viewReportButton"});
    EXPECT_EQ(EnablingOf(d), "0000000");

    platform.Answering({Answer::Yes});  // new file
    Click(Child<QPushButton>(d, "fileButton"));
    EXPECT_EQ(Text(d, "fileNameEdit"), FromUtf8(chosenPath));
    EXPECT_EQ(Text(d, "systemNameEdit"), QStringLiteral("XX工程独立坐标系统"));
    EXPECT_EQ(Text(d, "meridianEdit"), QStringLiteral("111.000000"));
    EXPECT_EQ(Text(d, "radiusEdit"), QStringLiteral("1000"));
    // Unconfirmed: national to independent only.
    EXPECT_EQ(EnablingOf(d), "1111000");

    FillControlsFromInputFile(d, Example("local_to_independent.txt"), kIndependentControls);
    platform.Answering({Answer::Yes});  // the reference data are right and frozen
    Click(Child<QPushButton>(d, "convertButton"));
    EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"国家到独立坐标系统转换完成..."});
    EXPECT_EQ(BoxUtf8(d, "independentEdit"), Golden("local_to_independent.out"));
    EXPECT_EQ(EnablingOf(d), "0001111");

    Click(Child<QPushButton>(d, "viewReportButton"));
    ASSERT_NE(d.Reports(), nullptr);
    EXPECT_TRUE(d.Reports()->isVisible());
    EXPECT_TRUE(d.Reports()->Text().contains(QStringLiteral("国家80坐标系统转换到独立坐标系统")));
    ExitAskingTwice(d);
  });
  frame->RunCommand(kCmdIndependentSystem);
  ASSERT_TRUE(*first);
  ExpectRequest("独立坐标系统文件", "独立坐标系统(*.SLT)", "SLT");
  EXPECT_EQ(platform.QuestionsUtf8().at(1), "请确认参考点信息输入正确并且不再修改 ...");
  EXPECT_EQ(ReadBytes(chosenPath).size(), kIndependentFileSize);
  EXPECT_EQ(ReadBytes(report), Golden("local_to_independent.txt"));

  // The confirmed file reopens frozen, with both directions open.
  platform.messages.clear();
  const auto second = WhenModalShows<CQuorvexIndependant>([&](CQuorvexIndependant& d) {
    Click(Child<QPushButton>(d, "fileButton"));
    EXPECT_EQ(Text(d, "referenceNameEdit"), QStringLiteral("滨江01"));
    EXPECT_EQ(EnablingOf(d), "0001110");
    FillControlsFromInputFile(d, Example("local_to_national.txt"), kIndependentControls);
    Click(Child<QPushButton>(d, "convertButton"));
    EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"独立到国家坐标系统转换完成..."});
    EXPECT_EQ(BoxUtf8(d, "nationalEdit"), Golden("local_to_national.out"));
    SaveScreenshot(d, "independent_system.png");
    EXPECT_TRUE(Child<QPushButton>(d, "viewReportButton")->isEnabled());
    platform.Answering({Answer::Yes});
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  frame->RunCommand(kCmdIndependentSystem);
  ASSERT_TRUE(*second);
  EXPECT_EQ(ReadBytes(report), Golden("local_to_national.txt"));
}

TEST_F(ToolDialogs, ToolsOpenOnlyWithNothingOpenAndRefreshTheSelectorsFirst) {
  // A stale list in the selector is cleared when a tool opens.
  frame->DiagramSelector()->addItem(QStringLiteral("控制网图"));
  frame->DiagramSelector()->setEnabled(true);
  const auto ran = WhenModalShows<CQuorvexGaussCount>([&](CQuorvexGaussCount& d) {
    EXPECT_EQ(frame->DiagramSelector()->count(), 0);
    EXPECT_FALSE(frame->DiagramSelector()->isEnabled());
    platform.Answering({Answer::Yes});
    d.reject();
  });
  frame->RunCommand(kCmdZoneTransform);
  ASSERT_TRUE(*ran);

  // With a network open the tools stay shut.
  doc.State().workMode = kPlaneData;
  frame->RunCommand(kCmdHelp);  // a command run brings the enabling up to date
  for (int tool : {kCmdSystemTransform, kCmdZoneTransform, kCmdIndependentSystem, kCmdExercise}) {
    EXPECT_FALSE(frame->ActionsOf(tool).front()->isEnabled()) << tool;
    frame->RunCommand(tool);
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  doc.State().workMode = kNothingOpen;
}

}  // namespace
}  // namespace qp::testing
