// The height input dialog over a record: controls, the name list and its
// insert modes, long texts, and confirm/cancel keeping what was typed.
#include <QListWidget>

#include "app/height_input_dialog.h"
#include "app/qt_text.h"
#include "app_test_support.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"

namespace qp::testing {
namespace {

struct HeightDialogTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  SectionNumber section;
  std::unique_ptr<HeightNetwork> net = std::make_unique<HeightNetwork>();
  HeightReportTarget target{dir.File("水准.txt"), dir.File("水准.HTP"), section};

  void SetUp() override { ResetHeightNetwork(*net, Utf8ToGbk(dir.File("水准.NAH"))); }

  std::unique_ptr<CQuorDesignControlHeight> Open() { return ShowNew<CQuorDesignControlHeight>(*net, target, platform); }
};

QString Box(QWidget& dialog, const char* name) { return Child<QPlainTextEdit>(dialog, name)->toPlainText(); }

TEST_F(HeightDialogTest, ShowsEveryControlWithItsCaptionAndTooltip) {
  auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("高程控制网解算"));

  for (const char* name : {"modeCombo", "networkNameEdit", "kindCombo", "priorErrorEdit", "insertModeCombo",
                           "nameList", "newNameEdit"}) {
    EXPECT_FALSE(Child<QWidget>(*dialog, name)->toolTip().isEmpty()) << name;
  }
  const auto boxes = dialog->findChildren<QPlainTextEdit*>();
  EXPECT_EQ(boxes.size(), kHeightTextBoxCount);
  for (QPlainTextEdit* box : boxes) EXPECT_FALSE(box->toolTip().isEmpty()) << box->objectName().toStdString();

  const QStringList captions = Captions(*dialog);
  for (const char* caption : {"解算方式", "控制网名", "网形类别", "验前误差", "文件名称", "精度端点/平面坐标",
                              "已知/待定高程点", "起点,终点,高差观测值,定权元素"}) {
    EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
  }
  EXPECT_EQ(Child<QPushButton>(*dialog, "addNameButton")->text(), QStringLiteral("点名增加&A"));
  EXPECT_EQ(Child<QPushButton>(*dialog, "okButton")->text(), QStringLiteral("确定"));
  EXPECT_EQ(Child<QPushButton>(*dialog, "cancelButton")->text(), QStringLiteral("取消"));
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "modeCombo")), Utf8Items(HeightModeItems()));
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "kindCombo")), Utf8Items(HeightKindItems()));
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "insertModeCombo")), Utf8Items(HeightInsertModeItems()));

  auto* file = Child<QLineEdit>(*dialog, "fileNameEdit");
  EXPECT_TRUE(file->isReadOnly());
  EXPECT_EQ(file->text(), FromUtf8(dir.File("水准.NAH")));
  EXPECT_EQ(Child<QLineEdit>(*dialog, "networkNameEdit")->text(), QStringLiteral("控制网名"));
  EXPECT_EQ(Child<QLineEdit>(*dialog, "priorErrorEdit")->text(), QStringLiteral("1.00"));
  EXPECT_EQ(Child<QComboBox>(*dialog, "modeCombo")->currentIndex(), kHeightEstimate);
}

TEST_F(HeightDialogTest, NameListAddsNamesAndClicksInsertIntoTheChosenBoxOrDelete) {
  auto dialog = Open();
  auto* list = Child<QListWidget>(*dialog, "nameList");
  auto* edit = Child<QLineEdit>(*dialog, "newNameEdit");
  AddName(*dialog, " BM1 ");
  AddName(*dialog, "城北");
  AddName(*dialog, "Z1");
  ASSERT_EQ(list->count(), 3);
  EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_EQ(net->nameCount, 3);
  EXPECT_EQ(SlotText(net->nameList[1]), Utf8ToGbk("城北"));
  AddName(*dialog, "Z1");
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"点名已存在 !"});
  EXPECT_EQ(edit->text(), QStringLiteral("Z1"));
  EXPECT_EQ(list->count(), 3);

  auto* insertMode = Child<QComboBox>(*dialog, "insertModeCombo");
  // The combo's order differs from the boxes' order: differences come
  // before coordinates.
  const std::pair<int, const char*> targets[] = {
      {1, "knownHeightsBox"}, {2, "approxHeightsBox"}, {3, "pairsBox"}, {4, "differencesBox"}, {5, "coordinatesBox"},
  };
  Child<QPlainTextEdit>(*dialog, "differencesBox")->setPlainText(QStringLiteral("BM1,Z1,1.5,1.2\n"));
  for (const auto& [mode, box] : targets) {
    Choose(insertMode, mode);
    ClickRow(list, 1);
    ClickRow(list, 2);
    const QString expected = mode == 4 ? QStringLiteral("BM1,Z1,1.5,1.2\n城北,Z1,") : QStringLiteral("城北,Z1,");
    EXPECT_EQ(Box(*dialog, box), expected) << box;
  }
  Choose(insertMode, 0);  // 不插入
  ClickRow(list, 0);
  EXPECT_EQ(Box(*dialog, "knownHeightsBox"), QStringLiteral("城北,Z1,"));

  Choose(insertMode, 6);  // 单击删除
  ClickRow(list, 0);
  ClickRow(list, 0);
  ASSERT_EQ(list->count(), 1);
  ClickRow(list, 0);  // the last name stays
  EXPECT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("Z1"));
  EXPECT_EQ(net->nameCount, 1);
  EXPECT_EQ(SlotText(net->nameList[0]), "Z1");
}

TEST_F(HeightDialogTest, LongTablesReachTheFormWithCrLfAndClicksAppendAtTheirEnd) {
  auto dialog = Open();
  std::string typed;
  for (int i = 0; i < 5000; ++i) typed += "水准点" + std::to_string(i) + ",P" + std::to_string(i + 1) + ",1.2345,0.80\n";
  auto* box = Child<QPlainTextEdit>(*dialog, "differencesBox");
  box->setPlainText(QString::fromStdString(typed));
  std::string crlf;
  for (char c : typed) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(dialog->CurrentForm().boxes[kHeightDifferencesBox], Utf8ToGbk(crlf));

  AddName(*dialog, "J9");
  Choose(Child<QComboBox>(*dialog, "insertModeCombo"), 4);
  ClickRow(Child<QListWidget>(*dialog, "nameList"), 0);
  EXPECT_EQ(dialog->CurrentForm().boxes[kHeightDifferencesBox], Utf8ToGbk(crlf) + "J9,");
}

TEST_F(HeightDialogTest, FailedConfirmationKeepsEveryTextAndCancelKeepsTheSideFile) {
  auto dialog = Open();
  FillControlsFromInputFile(*dialog, SourcePath("examples/height/trigonometric.txt"), HeightDialogControls());
  auto* differences = Child<QPlainTextEdit>(*dialog, "differencesBox");
  differences->setPlainText(
      differences->toPlainText().replace(QStringLiteral("T1,T6,8.1175,"), QStringLiteral("T1,T6,8.11.75,")));
  const HeightInputForm typed = dialog->CurrentForm();
  EXPECT_EQ(typed.kind, kTrigonometricNetwork);

  platform.Answering({Answer::No});  // "请确认继续 ..." No: nothing is read
  Click(Child<QPushButton>(*dialog, "okButton"));
  EXPECT_TRUE(platform.messages.empty());

  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(*dialog, "okButton"));
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"高差观测值第[3]行高差不正确!"});
  EXPECT_TRUE(dialog->isVisible());
  const HeightInputForm after = dialog->CurrentForm();
  EXPECT_EQ(after.boxes, typed.boxes);
  EXPECT_EQ(after.networkName, typed.networkName);
  EXPECT_EQ(after.priorError, typed.priorError);
  EXPECT_EQ(after.mode, typed.mode);
  EXPECT_EQ(after.kind, typed.kind);
  EXPECT_FALSE(FileExists(target.reportPath));

  CancelAskingTwice(*dialog, platform);
  EXPECT_EQ(platform.QuestionsUtf8(),
            (std::vector<std::string>{"请确认继续 ...", "请确认继续 ...", "请确认放弃 ...", "请确认放弃 ..."}));
  for (Answer a : platform.questionDefaults) EXPECT_EQ(a, Answer::No);

  // A network entered through the dialog comes back from its side file.
  ASSERT_TRUE(FileExists(target.sidePath));
  ResetHeightNetwork(*net, Utf8ToGbk(dir.File("水准.NAH")));
  auto again = Open();
  const HeightInputForm restored = again->CurrentForm();
  ExpectBoxesRestored(restored.boxes, typed.boxes);
  EXPECT_EQ(restored.networkName, typed.networkName);
  EXPECT_EQ(restored.kind, kTrigonometricNetwork);
  EXPECT_EQ(Child<QLineEdit>(*again, "priorErrorEdit")->text(), QStringLiteral("10.00"));
}

}  // namespace
}  // namespace qp::testing
