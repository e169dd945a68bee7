// The exercise solver dialog: the example typed into the grids and solved
// from the menu, saved to a .STY file and read back with the state file; the
// bordered system of order eleven in the scrolling grid; a singular system
// leaving the grid as it was.
#include <QHeaderView>
#include <QScrollBar>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest/QTest>
#include <cstdlib>

#include "app/exercise_dialog.h"
#include "app/qt_text.h"
#include "app_test_support.h"
#include "cli/input_text.h"
#include "common/gbk_text.h"
#include "exercise/exercise_file.h"

namespace qp::testing {
namespace {

QTableWidget* Grid(QWidget& d, const char* name) { return Child<QTableWidget>(d, name); }

QString CellText(QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text() : QString();
}

// Types into a cell; only cells that take input can be typed into.
void Type(QTableWidget* table, int row, int column, const QString& text) {
  QTableWidgetItem* item = table->item(row, column);
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->flags() & Qt::ItemIsEditable) << row << "," << column;
  item->setText(text);
}

QStringList Column(QTableWidget* table, int column, int rows) {
  QStringList texts;
  for (int r = 0; r < rows; ++r) texts << CellText(table, r, column);
  return texts;
}

QStringList AllCells(QWidget& d) {
  QStringList texts;
  for (QTableWidget* table : d.findChildren<QTableWidget*>()) {
    for (int r = 0; r < table->rowCount(); ++r) {
      for (int c = 0; c < table->columnCount(); ++c) texts << CellText(table, r, c);
    }
  }
  return texts;
}

QStringList Results(QWidget& d) {
  QStringList texts;
  for (int f = 0; f < kResultFieldCount; ++f) {
    texts << Child<QLineEdit>(d, QStringLiteral("resultField%1").arg(f).toUtf8().constData())->text();
  }
  return texts;
}

// Types an exercise input file into the dialog: the method, the counts, then
// every grid section row by row.
void TypeExercise(QWidget& d, const std::string& path) {
  std::string error;
  const auto doc = ReadInputFile(path, error);
  ASSERT_TRUE(doc) << GbkToUtf8(error);
  const std::map<std::string, std::pair<const char*, int>> counts = {
      {"观测值个数", {"observationsCombo", 1}}, {"未知数个数", {"unknownsCombo", 1}},
      {"限制条件数", {"restrictionsCombo", 0}}, {"条件式个数", {"conditionsCombo", 1}},
      {"附参数个数", {"parametersCombo", 0}},   {"权函数式个数", {"functionsCombo", 0}},
  };
  for (const InputSetting& s : doc->settings) {
    if (s.key != "方式选择") continue;
    auto* method = Child<QComboBox>(d, "methodCombo");
    Choose(method, method->findText(FromGbk(s.value)));
  }
  for (const InputSetting& s : doc->settings) {
    if (s.key == "方式选择") continue;
    const auto count = counts.find(s.key);
    ASSERT_NE(count, counts.end()) << s.key;
    Choose(Child<QComboBox>(d, count->second.first), std::atoi(s.value.c_str()) - count->second.second);
  }
  QTableWidget* main = Grid(d, "coefficientGrid");
  const int constants = main->columnCount() - 2;
  const std::map<std::string, std::pair<QTableWidget*, int>> sections = {
      {"系数", {main, 0}},
      {"常数项", {main, constants}},
      {"权", {main, constants + 1}},
      {"限制条件", {Grid(d, "restrictionGrid"), 0}},
      {"限制条件常数项", {Grid(d, "restrictionGrid"), kExerciseGridSize}},
      {"权函数式", {Grid(d, "weightFunctionGrid"), 0}},
  };
  for (const InputSection& section : doc->sections) {
    const auto [table, first] = sections.at(section.name);
    const QStringList lines = BoxTextFromGbk(section.body).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int r = 0; r < lines.size(); ++r) {
      const QStringList cells = lines[r].split(QLatin1Char(','));
      for (int c = 0; c < cells.size(); ++c) Type(table, r, first + c, cells[c].trimmed());
    }
  }
}

struct ExerciseDialogFromMenu : MainFrameTest {
  std::vector<FileRequest> requests;
  std::string statePath;

  void SetUp() override {
    MainFrameTest::SetUp();
    // The state file goes beside the program, here a scratch folder.
    doc.State().programDirectory = dir.path() + "/";
    statePath = dir.File(kExerciseStateFileName);
    chosenPath = dir.File("水准网.STY");
    frame->SetFileChooser([this](const FileRequest& request) {
      requests.push_back(request);
      return FromUtf8(chosenPath);
    });
  }
};

TEST_F(ExerciseDialogFromMenu, SolvesTheExampleSavesItAndReadsItBack) {
  const auto first = WhenModalShows<CQuorvexExciseFirst>([&](CQuorvexExciseFirst& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("测量平差习题解算"));
    for (QWidget* w : d.findChildren<QComboBox*>()) EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
    for (const char* name : {"computeButton", "openButton", "saveButton", "coefficientGrid", "restrictionGrid",
                             "weightFunctionGrid", "resultField0", "resultField3", "resultField6", "resultField7"}) {
      EXPECT_FALSE(Child<QWidget>(d, name)->toolTip().isEmpty()) << name;
    }
    // A missing state file is created with a new exercise.
    EXPECT_EQ(ReadExerciseFile(statePath).value().method, kNormalEquations);
    auto* display = Child<QComboBox>(d, "displayCombo");
    auto* compute = Child<QPushButton>(d, "computeButton");
    EXPECT_FALSE(display->isEnabled());
    EXPECT_EQ(compute->text(), QStringLiteral("计算结果"));

    TypeExercise(d, SourcePath("examples/exercise/indirect_restrictions.txt"));
    QTableWidget* main = Grid(d, "coefficientGrid");
    EXPECT_EQ(main->verticalHeaderItem(4)->text(), QStringLiteral("V5"));
    EXPECT_EQ(main->horizontalHeaderItem(2)->text(), QStringLiteral("X3"));
    EXPECT_TRUE(main->horizontalHeaderItem(3)->text().isEmpty());
    EXPECT_EQ(main->horizontalHeaderItem(10)->text(), QStringLiteral("常数项"));
    EXPECT_EQ(Grid(d, "weightFunctionGrid")->verticalHeaderItem(2)->text(), QStringLiteral("Ф3"));
    EXPECT_FALSE(main->item(0, 3)->flags() & Qt::ItemIsEditable);  // t = 3
    EXPECT_FALSE(main->item(5, 0)->flags() & Qt::ItemIsEditable);  // n = 5

    // "计算结果" freezes the input and keeps it in the state file; a line
    // says where the results are, and on a 720-pixel screen the weight
    // functions' grid and the results are in sight together.
    Click(compute);
    auto* hint = Child<QLabel>(d, "computedHint");
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().contains(QStringLiteral("显示选择")));
    auto* lower = Child<QTabWidget>(d, "lowerGrids");
    lower->setCurrentWidget(Grid(d, "weightFunctionGrid"));
    EXPECT_LE(d.frameGeometry().height(), 720);
    for (const char* name : {"weightFunctionGrid", "resultGroup", "exitButton"}) {
      QWidget* w = Child<QWidget>(d, name);
      EXPECT_TRUE(w->isVisible() && !w->visibleRegion().isEmpty()) << name;
      EXPECT_LE(w->mapTo(&d, QPoint(0, w->height())).y(), d.height()) << name;
    }
    EXPECT_EQ(compute->text(), QStringLiteral("重新设置"));
    for (const char* name : {"methodCombo", "observationsCombo", "openButton", "saveButton", "exitButton"}) {
      EXPECT_FALSE(Child<QWidget>(d, name)->isEnabled()) << name;
    }
    EXPECT_TRUE(display->isEnabled());
    EXPECT_FALSE(main->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(ReadExerciseFile(statePath).value().restrictionCount, 1);

    Choose(display, 2);
    if (const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR"); !shots.isEmpty())
      d.grab().save(shots + "/exercise_results.png");
    EXPECT_EQ(Column(main, 10, 4), (QStringList{"-1.8889", "0.4444", "-2.0000", "3.5556"}));
    EXPECT_EQ(Column(main, 11, 5), (QStringList{"-1.8889", "-1.6667", "-1.4444", "0.4444", "-2.1111"}));
    EXPECT_EQ(Results(d), (QStringList{"0.2778", "0.5000", "0.0000", "1.2381", "1.6611", "0.0000", "2.35", "16.56"}));
    EXPECT_FALSE(compute->isEnabled());
    Choose(display, 1);
    EXPECT_EQ(CellText(main, 0, 0), QStringLiteral("4.0000"));
    EXPECT_EQ(CellText(main, 3, 2), QStringLiteral("1.0000"));  // the restriction bordering N
    EXPECT_EQ(Results(d), QStringList(kResultFieldCount, QString()));
    Choose(display, 0);
    EXPECT_EQ(CellText(main, 1, 0), QStringLiteral("-1.0000"));
    EXPECT_TRUE(CellText(main, 0, 1).isEmpty());

    Click(compute);
    EXPECT_TRUE(main->item(0, 0)->flags() & Qt::ItemIsEditable);
    Click(Child<QPushButton>(d, "saveButton"));

    platform.Answering({Answer::No});
    Click(Child<QPushButton>(d, "exitButton"));
    EXPECT_TRUE(d.isVisible());
    platform.Answering({Answer::Yes});
    Click(Child<QPushButton>(d, "exitButton"));
  });
  frame->RunCommand(kCmdExercise);
  ASSERT_TRUE(*first);
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
  EXPECT_EQ(platform.QuestionsUtf8(), (std::vector<std::string>{"请确认保存数据并退出 ...", "请确认保存数据并退出 ..."}));
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].title, QStringLiteral("平差数据文件"));
  EXPECT_EQ(requests[0].filter, QStringLiteral("平差数据文件(*.STY)"));
  EXPECT_EQ(requests[0].suffix, QStringLiteral("STY"));
  EXPECT_EQ(requests[0].mode, FileDialogMode::SaveAs);
  const std::string saved = ReadBytes(chosenPath);
  EXPECT_EQ(saved.size(), kExerciseFileSize);
  EXPECT_EQ(ReadBytes(statePath), saved);

  // The next run opens on the state file; "打开文件" reads the .STY; Esc
  // leaves without saving.
  platform.questions.clear();
  const auto second = WhenModalShows<CQuorvexExciseFirst>([&](CQuorvexExciseFirst& d) {
    EXPECT_EQ(Child<QComboBox>(d, "methodCombo")->currentText(), QStringLiteral("间接平差"));
    EXPECT_EQ(CellText(Grid(d, "restrictionGrid"), 0, 2), QStringLiteral("1.0000"));
    EXPECT_EQ(CellText(Grid(d, "restrictionGrid"), 0, 10), QStringLiteral("-2.0000"));
    Choose(Child<QComboBox>(d, "methodCombo"), kNormalEquations);
    Click(Child<QPushButton>(d, "openButton"));
    EXPECT_EQ(requests.back().mode, FileDialogMode::OpenExisting);
    EXPECT_EQ(Child<QComboBox>(d, "methodCombo")->currentText(), QStringLiteral("间接平差"));
    EXPECT_EQ(CellText(Grid(d, "coefficientGrid"), 4, 2), QStringLiteral("1.0000"));
    EXPECT_EQ(CellText(Grid(d, "coefficientGrid"), 3, 11), QStringLiteral("0.5000"));
    Choose(Child<QComboBox>(d, "methodCombo"), kConditionAdjustment);
    platform.Answering({Answer::Yes});
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  frame->RunCommand(kCmdExercise);
  ASSERT_TRUE(*second);
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认退出 ..."});
  EXPECT_EQ(ReadBytes(statePath), saved);
}

struct ExerciseDialogTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  CQuorvexExciseFirst dialog{dir.File("state.sys"), platform, [](const FileRequest&) { return QString(); }};

  void SetUp() override { dialog.show(); }
  QComboBox* Combo(const char* name) { return Child<QComboBox>(dialog, name); }
};

TEST_F(ExerciseDialogTest, BorderedSystemOfElevenIsShownWholeInTheScrollingGrid) {
  // Ten unknowns observed directly, one restriction: their sum is zero.
  Choose(Combo("methodCombo"), kIndirectAdjustment);
  Choose(Combo("observationsCombo"), 9);
  Choose(Combo("unknownsCombo"), 9);
  Choose(Combo("restrictionsCombo"), 1);
  Choose(Combo("functionsCombo"), 1);
  QTableWidget* main = Grid(dialog, "coefficientGrid");
  for (int i = 0; i < 10; ++i) {
    Type(main, i, i, QStringLiteral("1"));
    Type(main, i, 10, QString::number(i + 1));
    Type(Grid(dialog, "restrictionGrid"), 0, i, QStringLiteral("1"));
    Type(Grid(dialog, "weightFunctionGrid"), 0, i, QStringLiteral("1"));
  }
  // Enter finishes a cell and moves down; it does not reach "退出".
  main->setCurrentCell(0, 0);
  QTest::keyClick(main, Qt::Key_Return);
  EXPECT_EQ(main->currentRow(), 1);
  EXPECT_TRUE(platform.questions.empty());

  Click(Child<QPushButton>(dialog, "computeButton"));
  Choose(Combo("displayCombo"), 2);
  ASSERT_EQ(main->rowCount(), 11);
  ASSERT_EQ(main->columnCount(), 13);
  EXPECT_EQ(main->horizontalHeaderItem(11)->text(), QStringLiteral("常数项"));
  EXPECT_EQ(CellText(main, 10, 10), QStringLiteral("-0.1000"));
  EXPECT_EQ(CellText(main, 0, 11), QStringLiteral("-4.5000"));  // 1 − 55/10
  EXPECT_EQ(CellText(main, 10, 11), QStringLiteral("5.5000"));  // the correlate
  EXPECT_TRUE(main->item(10, 10)->flags() & Qt::ItemIsEnabled);
  EXPECT_FALSE(main->item(10, 10)->flags() & Qt::ItemIsEditable);
  // The eleventh row and column lie beyond the ten the grid shows at once.
  EXPECT_TRUE(main->verticalScrollBar()->maximum() > 0 || main->horizontalScrollBar()->maximum() > 0);
  EXPECT_EQ(Child<QLineEdit>(dialog, "resultField0")->text(), QStringLiteral("0.0000"));

  Choose(Combo("displayCombo"), 0);
  EXPECT_EQ(main->rowCount(), 10);
  EXPECT_EQ(main->columnCount(), 12);
  EXPECT_EQ(CellText(main, 9, 10), QStringLiteral("10.0000"));
}

TEST_F(ExerciseDialogTest, SingularNormalEquationsLeaveTheGridAsItWas) {
  Choose(Combo("methodCombo"), kNormalEquations);
  Choose(Combo("unknownsCombo"), 1);
  QTableWidget* main = Grid(dialog, "coefficientGrid");
  EXPECT_EQ(main->horizontalHeaderItem(1)->text(), QStringLiteral("X2/K2"));
  EXPECT_FALSE(main->item(0, 1)->flags() & Qt::ItemIsEditable);  // the upper triangle mirrors the lower
  Type(main, 0, 0, QStringLiteral("1"));
  Type(main, 1, 0, QStringLiteral("1"));
  Type(main, 1, 1, QStringLiteral("1"));
  Type(main, 0, 10, QStringLiteral("1"));
  Type(main, 1, 10, QStringLiteral("2"));
  Click(Child<QPushButton>(dialog, "computeButton"));
  const QStringList before = AllCells(dialog);

  Choose(Combo("displayCombo"), 1);
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"矩阵求逆条件不满足 !"});
  EXPECT_EQ(AllCells(dialog), before);
  EXPECT_EQ(Combo("displayCombo")->currentIndex(), 0);
  EXPECT_TRUE(Child<QPushButton>(dialog, "computeButton")->isEnabled());
  for (const QString& text : Results(dialog)) EXPECT_TRUE(text.isEmpty());
}

}  // namespace
}  // namespace qp::testing
