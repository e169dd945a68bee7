// The plane network cycle from the menu: "P数据文件" on a new file, the input
// dialog typed from the example network and confirmed, the computation into
// the report, the selectors, "P打开文本" and "关闭文档"; and the ways out
// that keep the user's input.
#include <QAction>

#include "app/plane_input_dialog.h"
#include "app/qt_text.h"
#include "app/report_viewer.h"
#include "app_test_support.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "plane/plane_file.h"

namespace qp::testing {
namespace {

using PlaneCycle = MainFrameTest;

TEST_F(PlaneCycle, NewFileTypedExampleConfirmedComputesAndShowsTheReport) {
  platform.Answering({Answer::Yes, Answer::Yes});  // new file, "请确认继续 ..."
  const auto ran = WhenModalShows<CQuorDisgnContrloPlane>([&](CQuorDisgnContrloPlane& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "fileNameEdit")->text(), FromUtf8(chosenPath));
    EXPECT_TRUE(Child<QPlainTextEdit>(dialog, "knownPointsBox")->toPlainText().isEmpty());
    FillPlaneDialogFromInputFile(dialog, SourcePath("examples/plane/triangulation.txt"));
    ConfirmOrLeave(dialog, platform);
  });
  frame->RunCommand(kCmdPlaneDataFile);
  ASSERT_TRUE(*ran);
  EXPECT_EQ(platform.QuestionsUtf8().at(0), "请确认新建平面网数据文件 ...");
  EXPECT_EQ(platform.QuestionsUtf8().at(1), "请确认继续 ...");

  EXPECT_EQ(doc.State().workMode, kPlaneData);
  EXPECT_TRUE(doc.State().drawingReady);
  EXPECT_EQ(ReadBytes(chosenPath).size(), kPlaneFileSize);
  const std::string report = GbkToUtf8(ReadBytes(dir.File("测试网.txt")));
  EXPECT_NE(report.find("坐标平差值"), std::string::npos);
  EXPECT_FALSE(FileExists(dir.File("测试网.PTP")));
  EXPECT_EQ(frame->windowTitle(), FromUtf8(chosenPath) + QStringLiteral(" - 测量数据处理系统(QuorvexPlus)"));

  // The adjusted network has sides and azimuths: all eight diagram kinds.
  EXPECT_TRUE(frame->DiagramSelector()->isEnabled());
  EXPECT_EQ(ItemsOf(frame->DiagramSelector()),
            (QStringList{"控制网图", "点位误差椭圆", "相对误差椭圆", "绝对相对误差椭圆", "部分相对误差椭圆",
                         "角度边长观测值", "边长方位角误差", "边长方位角"}));
  EXPECT_EQ(frame->DiagramSelector()->currentIndex(), 0);
  QStringList points = ItemsOf(frame->PointSelector());
  EXPECT_EQ(points.mid(0, 2), (QStringList{"GP01", "GP02"}));
  points.sort();
  EXPECT_EQ(points, (QStringList{"GP01", "GP02", "N2", "N3", "城北"}));

  emit frame->DiagramSelector()->activated(7);
  EXPECT_EQ(doc.Plane().displayMode, 7);

  // "P打开文本" shows the report, decoded.
  ASSERT_TRUE(frame->ActionsOf(kCmdOpenReport).front()->isEnabled());
  frame->ActionsOf(kCmdOpenReport).front()->trigger();
  ASSERT_NE(frame->Reports(), nullptr);
  EXPECT_TRUE(frame->Reports()->isVisible());
  EXPECT_TRUE(frame->Reports()->Text().contains(QStringLiteral("坐标平差值")));

  // "关闭文档": back to nothing open.
  frame->RunCommand(kCmdCloseDocument);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
  EXPECT_FALSE(frame->DiagramSelector()->isEnabled());
  EXPECT_EQ(frame->DiagramSelector()->count(), 0);
  EXPECT_FALSE(frame->Reports()->isVisible());
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("《Quorvex》可视化平差软件 - 测量数据处理系统(QuorvexPlus)"));
  EXPECT_TRUE(frame->ActionsOf(kCmdPlaneDataFile).front()->isEnabled());
}

TEST_F(PlaneCycle, RefusedInputStaysTypedAndComesBackFromTheDraft) {
  QString typedDirections;
  platform.Answering({Answer::Yes});  // new file
  auto first = WhenModalShows<CQuorDisgnContrloPlane>([&](CQuorDisgnContrloPlane& dialog) {
    FillPlaneDialogFromInputFile(dialog, SourcePath("examples/plane/triangulation.txt"));
    auto* directions = Child<QPlainTextEdit>(dialog, "directionsBox");
    // Station N3 keeps a single direction.
    QString text = directions->toPlainText();
    text.remove(QStringLiteral("\nN3,N2,283.29526")).remove(QStringLiteral("\nN3,GP02,288.57321"));
    directions->setPlainText(text);
    typedDirections = directions->toPlainText();
    const PlaneInputForm typed = dialog.CurrentForm();

    platform.Answering({Answer::Yes});
    Click(Child<QPushButton>(dialog, "okButton"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.CurrentForm().boxes, typed.boxes);

    platform.Answering({Answer::Yes});  // "请确认放弃 ..."
    Click(Child<QPushButton>(dialog, "cancelButton"));
  });
  frame->RunCommand(kCmdPlaneDataFile);
  ASSERT_TRUE(*first);
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"[N3]测站方向观测值只有一次 !"});
  // Cancelled, yet the network stays open for "P数据编辑".
  EXPECT_EQ(doc.State().workMode, kPlaneData);
  EXPECT_FALSE(doc.State().drawingReady);
  EXPECT_FALSE(frame->ActionsOf(kCmdOpenReport).front()->isEnabled());
  EXPECT_EQ(frame->DiagramSelector()->count(), 7);
  ASSERT_TRUE(FileExists(dir.File("测试网.PTP")));

  auto second = WhenModalShows<CQuorDisgnContrloPlane>([&](CQuorDisgnContrloPlane& dialog) {
    EXPECT_EQ(Child<QPlainTextEdit>(dialog, "directionsBox")->toPlainText(), typedDirections);
    platform.Answering({Answer::Yes});
    dialog.reject();
  });
  frame->ActionsOf(kCmdPlaneDataEdit).front()->trigger();
  EXPECT_TRUE(*second);
}

TEST_F(PlaneCycle, DroppedDataFileOpensLikeTheMenuCommand) {
  auto drop = [&](const std::string& path) { DropFile(*frame, path); };
  drop(dir.File("notes.txt"));
  EXPECT_TRUE(platform.questions.empty());

  platform.Answering({Answer::Yes});  // new file
  const auto ran = WhenModalShows<CQuorDisgnContrloPlane>([&](CQuorDisgnContrloPlane& dialog) {
    platform.Answering({Answer::Yes});
    dialog.reject();
  });
  const std::string dropped = dir.File("dropped.nap");
  drop(dropped);
  EXPECT_TRUE(*ran);
  EXPECT_EQ(doc.State().workMode, kPlaneData);
  EXPECT_EQ(doc.CurrentReportPath(), dir.File("dropped.txt"));
  EXPECT_EQ(ReadBytes(dropped).size(), kPlaneFileSize);

  // A second network waits until the first is closed.
  platform.questions.clear();
  drop(dir.File("other.NAP"));
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(doc.State().dataPath, dropped);
}

}  // namespace
}  // namespace qp::testing
