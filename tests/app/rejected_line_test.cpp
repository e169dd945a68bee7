// A refused table line is found at once: the message stays as it is, the
// reader says which box and line it refused, and the dialog puts the cursor on
// that line of its box and selects it (plane tables count from 0 in their
// messages, height tables from 1, each tool as its messages do).
#include <QTextBlock>

#include "app/height_input_dialog.h"
#include "app/plane_input_dialog.h"
#include "app/qt_text.h"
#include "app/rejected_line.h"
#include "app/zone_transform_dialog.h"
#include "common/name_slot.h"
#include "common/table_line_reader.h"
#include "height/height_checks.h"
#include "height/height_input_form.h"
#include "height/height_model_record.h"
#include "plane/plane_input_reading.h"
#include "tools/point_list.h"
#include "app_test_support.h"
#include "common/gbk_text.h"

namespace qp::testing {
namespace {

// One reader or check refusing an entry, and what it must say of it.
struct Refusal {
  const char* what;
  std::function<InputCheck(PlatformServices&)> read;
  std::optional<RejectedLine> expected;  // nothing: no line to select
  const char* message;                   // UTF-8, the last message shown
};

TEST(RejectedLine, TheReadersNameTheBoxAndLineTheyRefused) {
  auto plane = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*plane, "");
  auto height = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*height, "");
  PointListRules independent;
  independent.caption = "新坐标";
  independent.box = 1;
  PointListRules counted;
  counted.caption = "旧坐标";
  counted.firstLineNumber = 1;
  std::vector<ListedPoint> points;
  const Refusal cases[] = {
      {"plane points", [&](PlatformServices& p) { return ReadKnownPoints("A,1,2\r\nB,x,2\r\n", *plane, p); },
       RejectedLine{kKnownPointsBox, 1}, "已知点坐标第[1]行X坐标不正确!"},
      {"plane directions",
       [&](PlatformServices& p) { return ReadDirections("A,B,0\r\nA,C,1\r\nA,ABCDEFGHIJK,2\r\n", *plane, p); },
       RejectedLine{kDirectionsBox, 2}, "方向观测值第[2]行终点点名[1--10个字符]不正确!"},
      {"plane distance lines", [&](PlatformServices& p) { return ReadDistanceLines("A,B\r\n", *plane, p); },
       RejectedLine{kDistanceLinesBox, 0}, "边长观测值第[0]行数据不正确!"},
      {"height differences, counted from 1",
       [&](PlatformServices& p) { return ParseHeightDifferences("A,B,1.5,2\r\nB,C,x,2\r\n", *height, p); },
       RejectedLine{kHeightDifferencesBox, 1}, "高差观测值第[2]行高差不正确!"},
      {"height pairs checked after reading",
       [&](PlatformServices& p) {
         height->pairCount = 1;
         SetSlotText(height->pairFrom[0], "Z1");
         SetSlotText(height->pairTo[0], "Z2");
         return Told(p, CheckHeightPrecisionPairs(HeightModelFromRecord(*height)));
       },
       RejectedLine{kHeightPairsBox, 0}, "精度端点第[1]行点名不是待定点!"},
      {"a tool's second list",
       [&](PlatformServices& p) { return ReadPointList("P1,1,2\r\nP2,1\r\n", independent, points, p); },
       RejectedLine{1, 1}, "新坐标第[1]行数据不正确!"},
      {"a tool's list counted from 1",
       [&](PlatformServices& p) { return ReadPointList("P1,1,y\r\n", counted, points, p); },
       RejectedLine{0, 0}, "旧坐标点第[1]行Y坐标不正确!"},
      {"a slope distance that cannot be reduced",
       [&](PlatformServices& p) {
         plane->calcMode = kNationalSystem;
         plane->distanceLineCount = 2;
         for (int i = 0; i < 2; ++i) {
           SetSlotText(plane->lineFrom[i], i == 0 ? "A" : "B");
           SetSlotText(plane->lineTo[i], "C");
           plane->lineDistance[i] = i == 0 ? 100.0 : 1e300;
           plane->verticalAngle[i] = 1.0;
         }
         return FormReducedDistances(*plane, p);
       },
       RejectedLine{kDistanceLinesBox, 1}, "边长观测值第[1]行高差不正确!"},
      {"a check naming no line",
       [&](PlatformServices& p) { return ReadDirections("A,B,0\r\nA,C,1\r\nB,C,2\r\n", *plane, p); }, std::nullopt,
       "[B]测站方向观测值只有一次 !"},
  };
  for (const Refusal& c : cases) {
    ScriptedPlatform platform;
    const InputCheck check = c.read(platform);
    EXPECT_FALSE(check) << c.what;
    EXPECT_EQ(platform.LastMessageUtf8(), c.message) << c.what;
    ASSERT_EQ(check.rejected.has_value(), c.expected.has_value()) << c.what;
    if (!check.rejected) continue;
    EXPECT_EQ(check.rejected->box, c.expected->box) << c.what;
    EXPECT_EQ(check.rejected->line, c.expected->line) << c.what;
    EXPECT_EQ(GbkToUtf8(check.rejected->message), c.message) << c.what;
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
