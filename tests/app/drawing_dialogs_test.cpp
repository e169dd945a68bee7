// The map sheet dialog and the two display settings dialogs driven through
// their controls: typed values reach the settings block or the network record
// only through "确认"/"确定", refusals keep the dialog open, and the controls
// follow the rules as the user works (captions, read-only height sheets,
// closure lines, height edits judged keystroke by keystroke, font choices).
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QtTest/QTest>

#include "app/display_dialogs.h"
#include "app/qt_text.h"
#include "app/sheet_dialog.h"
#include "app_test_support.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/display_fixture.h"
#include "height/height_model_record.h"
#include "plane/plane_network.h"
#include "plane/plane_model_record.h"

namespace qp::testing {
namespace {

std::unique_ptr<SettingsBlock> DefaultBlock() {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);
  return b;
}

// Replaces a line edit's text by typing `text`, one keystroke at a time
// (Chinese text arrives at once, as from an input method).
void Retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  bool ascii = true;
  for (const QChar c : text) ascii = ascii && c.unicode() < 0x80;
  if (ascii) {
    QTest::keyClicks(edit, text);
  } else {
    edit->insert(text);
  }
}

// A double click as the mouse gives it: the first click, then the second.
void DoubleClickRow(QListWidget* list, int row) {
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// A dialog opens at its preferred size within a 1280×720 screen.
void ExpectFitsTheScreen(QDialog& d) {
  const QSize hint = d.sizeHint().expandedTo(d.minimumSizeHint());
  EXPECT_LE(hint.width(), 1280) << d.objectName().toStdString();
  EXPECT_LE(hint.height(), 700) << d.objectName().toStdString();
}

TEST(SheetDialog, TypedSheetIsStoredOnlyWhenEveryFieldPassesAndTheUserConfirms) {
  ScriptedPlatform platform;
  auto block = DefaultBlock();
  const auto before = *block;
  auto d = ShowNew<CQuorvexSheetDialog>(*block, false, platform);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("控制网图设置"));
  ExpectFitsTheScreen(*d);
  for (const char* name : {"scaleCombo", "cornerXEdit", "sheetHeightEdit", "sheetHeightSpin", "marginRightEdit",
                           "gridStyleCombo", "labelUnitCombo", "showScaleCheck", "frameSpacingEdit",
                           "titleHeightEdit", "titleFontButton", "unitFontButton", "remark1Edit", "note4Edit",
                           "unitNameEdit"}) {
    EXPECT_FALSE(Child<QWidget>(*d, name)->toolTip().isEmpty()) << name;
  }
  auto* scale = Child<QComboBox>(*d, "scaleCombo");
  EXPECT_EQ(scale->currentText(), QStringLiteral("1:1000"));
  EXPECT_EQ(Child<QLineEdit>(*d, "cornerXEdit")->text(), QStringLiteral("    8.000000"));
  EXPECT_EQ(Child<QLineEdit>(*d, "networkNameEdit")->text(), QStringLiteral("测量控制网"));

  // The caption of a check box follows its state.
  auto* showScale = Child<QCheckBox>(*d, "showScaleCheck");
  EXPECT_EQ(showScale->text(), QStringLiteral("隐藏比例尺"));
  showScale->click();
  EXPECT_EQ(showScale->text(), QStringLiteral("显示比例尺"));

  // A scale without "1:" is refused and nothing is stored.
  scale->setEditText(QStringLiteral("2000"));
  Click(Child<QPushButton>(*d, "okButton"));
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"图纸比例尺输入或选择错误!"});
  EXPECT_TRUE(d->isVisible());

  // A remark beyond 64 bytes is reported while typed and refused on confirmation.
  auto* remark = Child<QLineEdit>(*d, "remark1Edit");
  Retype(remark, QString(65, QLatin1Char('a')));
  EXPECT_EQ(platform.LastMessageUtf8(), "长度超限!");
  scale->setEditText(QStringLiteral("1:2000"));
  Click(Child<QPushButton>(*d, "okButton"));
  EXPECT_EQ(platform.LastMessageUtf8(), "说明第一项错误!");
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(block->scale, before.scale);

  Retype(remark, QStringLiteral("坐标系统:1980西安坐标系"));
  Retype(Child<QLineEdit>(*d, "cornerXEdit"), QStringLiteral("3380.5"));
  Retype(Child<QLineEdit>(*d, "cornerYEdit"), QStringLiteral("500"));
  // The height arrows step by 10 mm, the margins by 1 mm within their limits.
  Child<QToolButton>(*d, "sheetHeightUp")->click();
  Child<QToolButton>(*d, "marginBottomDown")->click();
  Retype(Child<QLineEdit>(*d, "marginLeftEdit"), QStringLiteral("10"));
  Child<QToolButton>(*d, "marginLeftDown")->click();
  EXPECT_EQ(Child<QLineEdit>(*d, "sheetHeightEdit")->text(), QStringLiteral("510"));
  EXPECT_EQ(Child<QLineEdit>(*d, "marginLeftEdit")->text(), QStringLiteral("10"));
  Retype(Child<QLineEdit>(*d, "titleHeightEdit"), QStringLiteral("8"));
  EXPECT_EQ(Child<QPushButton>(*d, "titleFontButton")->text(), QStringLiteral("宋体, 8.0"));

  // No to the closing question keeps the dialog open and the block as it was.
  const size_t messages = platform.messages.size();
  platform.Answering({Answer::No});
  Click(Child<QPushButton>(*d, "okButton"));
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(block->scale, before.scale);
  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(*d, "okButton"));
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(platform.messages.size(), messages);
  EXPECT_EQ(platform.QuestionsUtf8(), (std::vector<std::string>(2, "请确认输入数据结束...")));
  EXPECT_EQ(platform.questionDefaults.back(), Answer::No);

  EXPECT_EQ(block->scale, 2000.0);
  EXPECT_EQ(block->cornerX, 3380500.0);
  EXPECT_EQ(block->cornerY, 500000.0);
  EXPECT_EQ(block->sheetHeight, 510);
  EXPECT_EQ(block->marginBottom, 29);
  EXPECT_EQ(block->marginLeft, 10);
  EXPECT_EQ(block->northEdgeX, 3380500.0 + 510 * 2.0);
  EXPECT_EQ(block->showScale, 1);
  EXPECT_EQ(block->fontSizes[kTitleFont][0], 8.0f);
  EXPECT_EQ(SheetText(*block, kRemarkSlot1), Gbk("坐标系统:1980西安坐标系"));
}

TEST(SheetDialog, HeightSheetShowsItsSizeReadOnlyAndOffersTwoGridStyles) {
  ScriptedPlatform platform;
  auto block = DefaultBlock();
  block->gridStyle = 0;
  const auto before = *block;
  auto d = ShowNew<CQuorvexSheetDialog>(*block, true, platform);
  EXPECT_FALSE(Child<QComboBox>(*d, "scaleCombo")->isEnabled());
  EXPECT_TRUE(Child<QLineEdit>(*d, "cornerYEdit")->isReadOnly());
  EXPECT_FALSE(Child<QLineEdit>(*d, "sheetWidthEdit")->isEnabled());
  EXPECT_FALSE(Child<QToolButton>(*d, "sheetWidthUp")->isEnabled());
  EXPECT_TRUE(Child<QLineEdit>(*d, "remark1Edit")->isEnabled());

  auto* grid = Child<QComboBox>(*d, "gridStyleCombo");
  Choose(grid, 4);
  EXPECT_EQ(grid->currentIndex(), 1);

  // Escape asks before leaving; No stays, Yes leaves the block untouched.
  platform.Answering({Answer::No});
  QTest::keyClick(d.get(), Qt::Key_Escape);
  EXPECT_TRUE(d->isVisible());
  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(*d, "cancelButton"));
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(platform.QuestionsUtf8(), (std::vector<std::string>(2, "请确认放弃数据输入...")));
  EXPECT_EQ(std::memcmp(block.get(), &before, sizeof before), 0);

  // Confirmed, the height sheet keeps its scale and corner.
  auto again = ShowNew<CQuorvexSheetDialog>(*block, true, platform);
  Choose(Child<QComboBox>(*again, "gridStyleCombo"), 1);
  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(*again, "okButton"));
  EXPECT_FALSE(again->isVisible());
  EXPECT_EQ(block->gridStyle, 1);
  EXPECT_EQ(block->scale, before.scale);
  EXPECT_EQ(block->cornerX, before.cornerX);
}

TEST(DisplayDialogs, PlaneDialogTogglesClosuresJudgesHeightsAndConfirmsClampedSettings) {
  ScriptedPlatform platform;
  auto net = PlaneWithTraverses();
  net->calcMode = kReducedObservations;
  PlaneModel model = PlaneModelFromRecord(*net);
  auto d = ShowNew<CQuorvexDisplayPlane>(model, 200.0f, platform);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("平面网显示设置对话框"));
  ExpectFitsTheScreen(*d);
  EXPECT_EQ(Child<QLineEdit>(*d, "ellipseRadiusEdit")->toolTip(), QStringLiteral("椭圆绘制最大半径[5,30mm]"));
  EXPECT_EQ(Child<QLineEdit>(*d, "textHeightEdit")->toolTip(), QStringLiteral("输入文本的字高[1-6mm]"));

  auto* list = Child<QListWidget>(*d, "closureList");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("[Y]A0,A,B,B0, -1.37s[1/1.72万](4)"));
  DoubleClickRow(list, 0);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("[N]A0,A,B,B0, -1.37s[1/1.72万](4)"));

  // "6" is taken at once; "6.1" is refused and empties the edit, the 6 stays.
  auto* height = Child<QLineEdit>(*d, "textHeightEdit");
  auto* fontButton = Child<QPushButton>(*d, "textFontButton");
  height->clear();
  QTest::keyClick(height, Qt::Key_6);
  EXPECT_TRUE(fontButton->text().endsWith(QStringLiteral(",6.0")));
  QTest::keyClicks(height, QStringLiteral(".1"));
  EXPECT_TRUE(height->text().isEmpty());
  EXPECT_EQ(d->Form().Font(DiagramFontRole::Text).height, 6.0f);

  // A font chosen 12/72 inch (12 points) high on paper: 4.2 mm.
  const auto chosen = WhenModalShows<QDialog>([](QDialog& fd) {
    const QString shots = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!shots.isEmpty()) fd.grab().save(shots + "/font_dialog.png");
    Child<QFontComboBox>(fd, "fontFaceCombo")->setCurrentFont(QFont(QStringLiteral("WenQuanYi Micro Hei")));
    Child<QDoubleSpinBox>(fd, "fontHeightMm")->setValue(12 * 25.4 / 72);
    fd.accept();
  });
  Click(Child<QPushButton>(*d, "numberFontButton"));
  ASSERT_TRUE(*chosen);
  EXPECT_TRUE(Child<QPushButton>(*d, "numberFontButton")->text().endsWith(QStringLiteral(",4.2")));
  EXPECT_EQ(Child<QLineEdit>(*d, "numberHeightEdit")->text(), QStringLiteral("4.191"));

  // "注记避让" shows what the label marks say and follows the clicks.
  auto* declutter = Child<QCheckBox>(*d, "declutterCheck");
  EXPECT_FALSE(declutter->isChecked());
  d->SetDeclutter(true);
  EXPECT_TRUE(declutter->isChecked());
  declutter->click();
  EXPECT_FALSE(d->Declutter());
  declutter->click();
  EXPECT_TRUE(d->Declutter());

  Choose(Child<QComboBox>(*d, "kindCombo"), 7);
  Retype(Child<QLineEdit>(*d, "ellipseRadiusEdit"), QStringLiteral("40"));
  Retype(Child<QLineEdit>(*d, "warningDistanceEdit"), QStringLiteral("10"));
  Child<QCheckBox>(*d, "warningCheck")->click();
  EXPECT_FALSE(Child<QLineEdit>(*d, "warningDistanceEdit")->isEnabled());
  platform.Answering({Answer::No});
  Click(Child<QPushButton>(*d, "okButton"));
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(model.diagram.maxEllipseRadius, PlaneWithTraverses()->maxEllipseRadius);
  platform.Answering({Answer::Yes});
  Click(Child<QPushButton>(*d, "okButton"));
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(platform.QuestionsUtf8(), (std::vector<std::string>(2, "请确认退出...")));

  PutPlaneLayout(model, *net);

  EXPECT_EQ(net->maxEllipseRadius, 30.0);
  EXPECT_EQ(net->warningDistance, 30.0);
  EXPECT_EQ(net->breakthroughWarning, 0);
  EXPECT_EQ(net->displayMode, 7);
  EXPECT_EQ(net->textFontHeight, 6.0f);
  EXPECT_NEAR(net->numberFontHeight, 4.2, 0.05);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).drawn, 0);
  EXPECT_EQ(ReadTraverseClosure(*net, 2).drawn, 0);
}

TEST(DisplayDialogs, HeightDialogRestoresDefaultsAndCancelLeavesTheRecord) {
  ScriptedPlatform platform;
  auto net = HeightWithLoops();
  HeightModel model = HeightModelFromRecord(*net);
  auto d = ShowNew<CQuorvexDisplay>(model, 200.0f, platform);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("高程控制网显示设置对话框"));
  ExpectFitsTheScreen(*d);
  auto* list = Child<QListWidget>(*d, "closureList");
  ASSERT_EQ(list->count(), 4);
  EXPECT_EQ(ItemsOf(Child<QComboBox>(*d, "kindCombo")), Utf8Items(HeightDiagramKindItems()));

  platform.Answering({Answer::Yes, Answer::Yes});
  Click(Child<QPushButton>(*d, "hideAllButton"));
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("[N]K1,K2,-1.75mm,2(1)"));
  Click(Child<QPushButton>(*d, "restoreDefaultButton"));
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("[Y]A,B,-3.02mm,2(2)"));
  EXPECT_EQ(list->item(3)->text(), QStringLiteral("[N]K1,A,C,D,1.70mm,4(4)"));
  Retype(Child<QLineEdit>(*d, "numberHeightEdit"), QStringLiteral("0"));
  EXPECT_TRUE(Child<QLineEdit>(*d, "numberHeightEdit")->text().isEmpty());
  Choose(Child<QComboBox>(*d, "kindCombo"), 2);

  // Cancelled, the model keeps every flag and its kind.
  platform.Answering({Answer::Yes});
  QTest::keyClick(d.get(), Qt::Key_Escape);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认放弃...");
  EXPECT_FALSE(model.loops[1].drawn);
  EXPECT_TRUE(model.loops[4].drawn);
  EXPECT_EQ(model.diagram.kind, 0);

  auto again = ShowNew<CQuorvexDisplay>(model, 200.0f, platform);
  Choose(Child<QComboBox>(*again, "kindCombo"), 2);
  platform.Answering({Answer::Yes, Answer::Yes});
  Click(Child<QPushButton>(*again, "restoreDefaultButton"));
  Click(Child<QPushButton>(*again, "okButton"));
  EXPECT_FALSE(again->isVisible());
  PutHeightLayout(model, *net);
  EXPECT_EQ(net->diagramKind, 2);
  EXPECT_EQ(net->loops[1].drawFlag, 1);
  EXPECT_EQ(net->loops[4].drawFlag, 0);
}

}  // namespace
}  // namespace qp::testing
