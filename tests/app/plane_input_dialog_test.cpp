// The plane input dialog over a record: controls, enabling by calculation
// mode, the name list, long texts, and confirm/cancel keeping what was typed.
#include <QApplication>
#include <QClipboard>
#include <QListWidget>

#include "app/plane_input_dialog.h"
#include "app/qt_text.h"
#include "app_test_support.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"

namespace qp::testing {
namespace {

struct PlaneDialogTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  std::string draftPath;

  void SetUp() override {
    ResetPlaneNetwork(*net, Utf8ToGbk(dir.File("城区.NAP")));
    draftPath = dir.File("城区.PTP");
  }

  std::unique_ptr<CQuorDisgnContrloPlane> Open(PlaneConfirmationSteps steps = nullptr) {
    return ShowNew<CQuorDisgnContrloPlane>(*net, draftPath, std::move(steps), platform);
  }
};

TEST_F(PlaneDialogTest, ShowsEveryControlWithItsCaptionAndTooltip) {
  auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("平面控制网解算"));

  // Every input control explains itself when the pointer rests on it.
  for (const char* name : {"calcModeCombo", "networkNameEdit", "directionErrorEdit", "distanceFixedErrorEdit",
                           "distanceScaleErrorEdit", "closureModeCombo", "yOffsetEdit", "projectionHeightEdit",
                           "refractionEdit", "verticalAngleKindCombo", "distanceOrderCombo", "insertModeCombo",
                           "nameList", "newNameEdit"}) {
    EXPECT_FALSE(Child<QWidget>(*dialog, name)->toolTip().isEmpty()) << name;
  }
  for (QPlainTextEdit* box : dialog->findChildren<QPlainTextEdit*>()) EXPECT_FALSE(box->toolTip().isEmpty());
  EXPECT_EQ(dialog->findChildren<QPlainTextEdit*>().size(), kPlaneTextBoxCount);

  const QStringList captions = Captions(*dialog);
  for (const char* caption : {"解算方式", "控制网名", "定权元素", "闭 合 差", "Y坐标平移", "投影面高程", "折光系数",
                              "文件名称", "已知点/待定点/精度端点/高程点", "方向值/固定方位/加权方位",
                              "边长值/固定边长/加权边长"}) {
    EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
  }
  EXPECT_EQ(Child<QPushButton>(*dialog, "addNameButton")->text(), QStringLiteral("点名增加&A"));
  EXPECT_EQ(Child<QPushButton>(*dialog, "okButton")->text(), QStringLiteral("确定"));
  EXPECT_EQ(Child<QPushButton>(*dialog, "cancelButton")->text(), QStringLiteral("取消"));

  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "calcModeCombo")), Utf8Items(PlaneCalcModeItems()));
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "closureModeCombo")), Utf8Items(PlaneClosureModeItems()));
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "verticalAngleKindCombo")), Utf8Items(VerticalAngleKindItems()));
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "distanceOrderCombo")), Utf8Items(DistanceColumnOrderItems()));
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*dialog, "insertModeCombo")), Utf8Items(PlaneInsertModeItems()));

  auto* file = Child<QLineEdit>(*dialog, "fileNameEdit");
  EXPECT_TRUE(file->isReadOnly());
  EXPECT_EQ(file->text(), FromUtf8(dir.File("城区.NAP")));
  // A fresh record shows its settings in their display formats.
  EXPECT_EQ(Child<QLineEdit>(*dialog, "networkNameEdit")->text(), QStringLiteral("控制网名"));
  EXPECT_EQ(Child<QLineEdit>(*dialog, "directionErrorEdit")->text(), QStringLiteral("1.80"));
  EXPECT_EQ(Child<QLineEdit>(*dialog, "refractionEdit")->text(), QStringLiteral("0.14"));
}

TEST_F(PlaneDialogTest, CalculationModeDecidesWhichControlsTakeInput) {
  auto dialog = Open();
  auto enabled = [&](const char* name) { return Child<QWidget>(*dialog, name)->isEnabled(); };
  // refraction, known heights, angle kind, distance order, Y offset, projection height
  const bool expected[5][6] = {
      {false, false, false, false, false, false}, {false, false, false, false, false, false},
      {true, true, true, true, false, false},     {true, true, true, true, true, true},
      {true, true, true, true, false, false},
  };
  for (int mode : {3, 0, 4, 2, 1}) {
    Choose(Child<QComboBox>(*dialog, "calcModeCombo"), mode);
    EXPECT_EQ(net->calcMode, mode);  // stored at once
    const bool actual[6] = {enabled("refractionEdit"),         enabled("knownHeightsBox"),
                            enabled("verticalAngleKindCombo"), enabled("distanceOrderCombo"),
                            enabled("yOffsetEdit"),            enabled("projectionHeightEdit")};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(actual[c], expected[mode][c]) << "mode " << mode << " control " << c;
  }
}

TEST_F(PlaneDialogTest, NameListAddsNamesAndClicksInsertOrDelete) {
  auto dialog = Open();
  auto* list = Child<QListWidget>(*dialog, "nameList");
  auto* edit = Child<QLineEdit>(*dialog, "newNameEdit");
  AddName(*dialog, " GP01 ");
  AddName(*dialog, "城北");
  AddName(*dialog, "N3");
  EXPECT_EQ(list->count(), 3);
  EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_EQ(net->nameCount, 3);

  AddName(*dialog, "gp01");  // the list box finds names without regard to case
  EXPECT_EQ(platform.LastMessageUtf8(), "点名已存在 !");
  EXPECT_EQ(edit->text(), QStringLiteral("gp01"));
  AddName(*dialog, "ABCDEFGHIJK");  // eleven bytes: nothing happens
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(platform.messages.size(), 1u);

  auto* known = Child<QPlainTextEdit>(*dialog, "knownPointsBox");
  known->setPlainText(QStringLiteral("GP02,1,2\n"));
  Choose(Child<QComboBox>(*dialog, "insertModeCombo"), 1);  // 已知点
  ClickRow(list, 1);
  EXPECT_EQ(known->toPlainText(), QStringLiteral("GP02,1,2\n城北,"));
  Choose(Child<QComboBox>(*dialog, "insertModeCombo"), 10);  // 已知高程点
  ClickRow(list, 2);
  EXPECT_EQ(Child<QPlainTextEdit>(*dialog, "knownHeightsBox")->toPlainText(), QStringLiteral("N3,"));

  Choose(Child<QComboBox>(*dialog, "insertModeCombo"), 11);  // 单击删除
  ClickRow(list, 0);
  ClickRow(list, 0);
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("N3"));
  ClickRow(list, 0);  // the last name stays
  EXPECT_EQ(list->count(), 1);
  EXPECT_EQ(net->nameCount, 1);
  EXPECT_EQ(SlotText(net->nameList[0]), "N3");
}

TEST_F(PlaneDialogTest, LongTextsReachTheFormWithCrLfAndPastedLineEndsAreEvened) {
  auto dialog = Open();
  std::string typed;
  for (int i = 0; i < 5000; ++i) typed += "测站" + std::to_string(i % 97) + ",P" + std::to_string(i) + ",12.345600\n";
  auto* box = Child<QPlainTextEdit>(*dialog, "directionsBox");
  box->setPlainText(QString::fromStdString(typed));
  std::string expected;
  for (char c : typed) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(BoxGbk(*dialog, "directionsBox"), Utf8ToGbk(expected));
  EXPECT_EQ(dialog->CurrentForm().boxes[kDirectionsBox], Utf8ToGbk(expected));

  auto* fixed = Child<QPlainTextEdit>(*dialog, "fixedDistancesBox");
  QApplication::clipboard()->setText(QStringLiteral("A,B,100.0\r\nB,C,200.0\r\n"));
  fixed->setFocus();
  fixed->paste();
  EXPECT_EQ(fixed->toPlainText(), QStringLiteral("A,B,100.0\nB,C,200.0\n"));
}

TEST_F(PlaneDialogTest, FailedConfirmationKeepsEveryTextAndCancelKeepsADraft) {
  auto dialog = Open();
  FillPlaneDialogFromInputFile(*dialog, SourcePath("examples/plane/triangulation.txt"));
  auto* known = Child<QPlainTextEdit>(*dialog, "knownPointsBox");
  known->setPlainText(known->toPlainText().replace(QStringLiteral("3806987.123"), QStringLiteral("38O6987.123")));
  const PlaneInputForm typed = dialog->CurrentForm();

  platform.Answering({Answer::No});  // "请确认继续 ..." answered No: nothing is read
  Click(Child<QPushButton>(*dialog, "okButton"));
  EXPECT_TRUE(platform.messages.empty());

  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(*dialog, "okButton"));
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"已知点坐标第[1]行X坐标不正确!"});
  EXPECT_TRUE(dialog->isVisible());
  const PlaneInputForm after = dialog->CurrentForm();
  EXPECT_EQ(after.boxes, typed.boxes);
  EXPECT_EQ(after.networkName, typed.networkName);
  EXPECT_EQ(after.directionError, typed.directionError);
  EXPECT_EQ(after.calcMode, typed.calcMode);

  CancelAskingTwice(*dialog, platform);
  EXPECT_EQ(platform.QuestionsUtf8(),
            (std::vector<std::string>{"请确认继续 ...", "请确认继续 ...", "请确认放弃 ...", "请确认放弃 ..."}));
  for (Answer a : platform.questionDefaults) EXPECT_EQ(a, Answer::No);

  // The network was never computed: the draft holds what was typed (each
  // text ends in one line end, an empty one is a line end alone).
  ASSERT_TRUE(FileExists(draftPath));
  auto again = Open();
  const PlaneInputForm restored = again->CurrentForm();
  ExpectBoxesRestored(restored.boxes, typed.boxes);
  EXPECT_EQ(restored.networkName, typed.networkName);
}

}  // namespace
}  // namespace qp::testing
