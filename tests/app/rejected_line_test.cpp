// A refused table line is found at once: the message stays as it is, and the
// dialog puts the cursor on that line of its box and selects it (plane
// tables count from 0, height tables from 1, each tool as its messages do).
#include <QTextBlock>

#include "app/height_input_dialog.h"
#include "app/plane_input_dialog.h"
#include "app/qt_text.h"
#include "app/rejected_line.h"
#include "app/zone_transform_dialog.h"
#include "app_test_support.h"
#include "common/gbk_text.h"

namespace qp::testing {
namespace {

TEST(RejectedLine, NamesTheBoxAndLineOfATableMessageOnly) {
  constexpr TableMessagePrefix kTables[] = {{"已知点", 0, 1}, {"已知点坐标", 3, 1}, {"高差观测值", 4, 1}};
  struct Case {
    const char* message;
    std::optional<RejectedLine> expected;
  };
  const Case cases[] = {
      {"已知点第[2]行数据不正确!", RejectedLine{0, 1}},
      {"已知点坐标第[12]行X坐标不正确!", RejectedLine{3, 11}},  // not the shorter "已知点"
      {"高差观测值第[1]行定权元素不正确!", RejectedLine{4, 0}},
      {"高差观测值第[0]行数据不正确!", std::nullopt},  // before the first line
      {"第[3]个高差观测值点名重复!", std::nullopt},
      {"精度端点第[3]行点名不是待定点!", std::nullopt},  // a table of another dialog
      {"高差观测值第[]行数据不正确!", std::nullopt},
      {"高差观测值第[99999999999999]行", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto found = FindRejectedLine(Utf8ToGbk(c.message), kTables);
    ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.message;
    if (found) {
      EXPECT_EQ(found->box, c.expected->box) << c.message;
      EXPECT_EQ(found->line, c.expected->line) << c.message;
    }
  }
}

// Replaces line `line` of the box `boxName` by `text`.
void ReplaceLine(QWidget& dialog, const char* boxName, int line, const QString& text) {
  auto* box = Child<QPlainTextEdit>(dialog, boxName);
  QStringList lines = box->toPlainText().split(QLatin1Char('\n'));
  ASSERT_LT(line, lines.size());
  lines[line] = text;
  box->setPlainText(lines.join(QLatin1Char('\n')));
  box->moveCursor(QTextCursor::Start);
}

void ExpectSelected(QWidget& dialog, const char* boxName, int line, const QString& text) {
  auto* box = Child<QPlainTextEdit>(dialog, boxName);
  EXPECT_EQ(box->textCursor().block().blockNumber(), line) << boxName;
  EXPECT_EQ(box->textCursor().selectedText(), text) << boxName;
}

TEST(RejectedLineInDialogs, TheRefusedLineIsSelectedInItsBox) {
  TempDir dir;
  ScriptedPlatform platform;

  auto plane = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*plane, Utf8ToGbk(dir.File("城区.NAP")));
  auto planeDialog = ShowNew<CQuorDisgnContrloPlane>(*plane, dir.File("城区.PTP"), nullptr, platform);
  FillPlaneDialogFromInputFile(*planeDialog, SourcePath("examples/plane/triangulation.txt"));
  // A refused line, and a blank line the user would not have the table cut at
  // (its question keeps its default, No).
  const struct {
    QString line;
    const char* message;
    const char* question;
  } planeCases[] = {
      {QStringLiteral("GP02,N3,67.2x"), "方向观测值第[4]行高差不正确!", "请确认继续 ..."},
      {QString(), "", "[方向观测值]第[4]行为空行, 其后11行将不被读入, 继续吗?"},
  };
  for (const auto& c : planeCases) {
    platform.messages.clear();
    platform.questions.clear();
    ReplaceLine(*planeDialog, "directionsBox", 4, c.line);
    platform.Answering({Answer::Yes});  // the confirmation question
    Click(Child<QPushButton>(*planeDialog, "okButton"));
    EXPECT_EQ(platform.LastMessageUtf8(), c.message);
    ASSERT_FALSE(platform.questions.empty());
    EXPECT_EQ(platform.QuestionsUtf8().back(), c.question);
    EXPECT_TRUE(planeDialog->isVisible());
    ExpectSelected(*planeDialog, "directionsBox", 4, c.line);
  }

  auto height = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*height, Utf8ToGbk(dir.File("水准.NAH")));
  SectionNumber section;
  const HeightReportTarget target{dir.File("水准.txt"), dir.File("水准.HTP"), section};
  auto heightDialog = ShowNew<CQuorDesignControlHeight>(*height, target, platform);
  FillControlsFromInputFile(*heightDialog, SourcePath("examples/height/levelling.txt"), HeightDialogControls());
  ReplaceLine(*heightDialog, "differencesBox", 2, QStringLiteral("Z2,J1,0.88837,km"));
  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(*heightDialog, "okButton"));
  EXPECT_EQ(platform.LastMessageUtf8(), "高差观测值第[3]行定权元素不正确!");
  ExpectSelected(*heightDialog, "differencesBox", 2, QStringLiteral("Z2,J1,0.88837,km"));
}

struct RejectedLineInTools : MainFrameTest {};

TEST_F(RejectedLineInTools, TheZoneToolSelectsTheRefusedCoordinateLine) {
  chosenPath = dir.File("换带.GST");
  platform.Answering({Answer::Yes});  // a new file
  const auto ran = WhenModalShows<CQuorvexGaussCount>([&](CQuorvexGaussCount& d) {
    Click(Child<QPushButton>(d, "fileButton"));
    FillControlsFromInputFile(d, SourcePath("examples/tools/zone_54.txt"),
                              {{"系统选择", "systemCombo"},
                               {"输出标识", "titleEdit"},
                               {"换带前经度", "oldMeridianEdit"},
                               {"换带后经度", "newMeridianEdit"},
                               {"显示选择", "displayCombo"},
                               {"换带前坐标", "inputEdit"}});
    ReplaceLine(d, "inputEdit", 2, QStringLiteral("城北,3400000.000,六十万"));
    Click(Child<QPushButton>(d, "executeButton"));
    EXPECT_EQ(platform.LastMessageUtf8(), "换带前坐标点第[2]行Y坐标不正确!");
    ExpectSelected(d, "inputEdit", 2, QStringLiteral("城北,3400000.000,六十万"));
    d.done(QDialog::Rejected);
  });
  frame->RunCommand(kCmdZoneTransform);
  EXPECT_TRUE(*ran);
}

}  // namespace
}  // namespace qp::testing
