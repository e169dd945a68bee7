// The height network cycle from the menu: "H数据文件" on a new file, the
// input dialog typed from an example network and confirmed, the computation
// into the report, the selectors, "H打开文本" and "关闭文档"; a cancelled
// dialog; dropped files; and the height network a mode-2 plane computation
// hands over.
#include <QAction>
#include <QDir>

#include "app/height_input_dialog.h"
#include "app/plane_input_dialog.h"
#include "app/qt_text.h"
#include "app/report_viewer.h"
#include "app_test_support.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "height/height_file.h"

namespace qp::testing {
namespace {

struct HeightCycle : MainFrameTest {
  void SetUp() override {
    MainFrameTest::SetUp();
    chosenPath = dir.File("测试网.NAH");
  }

  // "H数据文件" on a new file; the dialog is typed from `example` and
  // confirmed. True when the dialog closed confirmed.
  bool OpenNewAndConfirm(const std::string& example) {
    platform.Answering({Answer::Yes, Answer::Yes});  // new file, "请确认继续 ..."
    bool confirmed = false;
    const auto ran = WhenModalShows<CQuorDesignControlHeight>([&](CQuorDesignControlHeight& dialog) {
      FillControlsFromInputFile(dialog, example, HeightDialogControls());
      confirmed = ConfirmOrLeave(dialog, platform);
    });
    frame->RunCommand(kCmdHeightDataFile);
    EXPECT_TRUE(*ran);
    return confirmed;
  }

  QAction* HeightReportAction() const {
    for (QAction* a : frame->ActionsOf(kCmdOpenReport)) {
      if (a->text().startsWith(QStringLiteral("H打开文本"))) return a;
    }
    ADD_FAILURE() << "no H打开文本";
    return nullptr;
  }
};

std::vector<int> EnabledOf(CMainFrame& frame) {
  std::vector<int> ids;
  for (int id : AllCommandIds()) {
    if (frame.ActionsOf(id).front()->isEnabled()) ids.push_back(id);
  }
  return ids;
}

TEST_F(HeightCycle, NewFileTypedLevellingNetworkIsComputedShownAndClosed) {
  ASSERT_TRUE(OpenNewAndConfirm(SourcePath("examples/height/levelling.txt")));
  EXPECT_EQ(platform.QuestionsUtf8(), (std::vector<std::string>{"请确认新建高程网数据文件 ...", "请确认继续 ..."}));
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();

  EXPECT_EQ(doc.State().workMode, kHeightData);
  EXPECT_TRUE(doc.State().drawingReady);
  EXPECT_EQ(ReadBytes(chosenPath).size(), kHeightFileSize);
  EXPECT_FALSE(FileExists(dir.File("测试网.HTP")));
  EXPECT_TRUE(FileExists(dir.File("测试网高程数据.txt")));
  EXPECT_EQ(frame->windowTitle(), FromUtf8(chosenPath) + QStringLiteral(" - 测量数据处理系统(QuorvexPlus)"));
  // Mode 3 with a computed network: its own commands and the drawing's.
  EXPECT_EQ(EnabledOf(*frame),
            (std::vector<int>{kCmdHelp, kCmdCloseDocument, kCmdShowAll, kCmdHeightDataEdit, kCmdHeightSheetSettings,
                              kCmdShowPosition,  // the drawing opens on the whole sheet
                              kCmdMoveText, kCmdHeightDisplaySettings, kCmdMovePoint, kCmdSaveDrawing, kCmdOpenReport,
                              kCmdHeightExport, kCmdRefresh, kCmdFitSheet, kCmdSavePicture, kCmdStatisticsReport, kCmdArrangeLabels, kCmdExportCoordinates,
                              kCmdPrintSetup, kCmdPrint, kCmdPrintPreview, kCmdAbout, kCmdExit}));

  EXPECT_TRUE(frame->DiagramSelector()->isEnabled());
  EXPECT_EQ(ItemsOf(frame->DiagramSelector()),
            (QStringList{"高程控制网网图", "高差观测值", "高差平差值误差", "高差平差值"}));
  EXPECT_EQ(frame->DiagramSelector()->currentIndex(), 0);
  const QStringList points = ItemsOf(frame->PointSelector());
  ASSERT_EQ(points.size(), 14);
  EXPECT_EQ(points.mid(0, 3), (QStringList{"BM1", "BM2", "BM3"}));
  EXPECT_TRUE(points.contains(QStringLiteral("J4")));
  emit frame->DiagramSelector()->activated(2);
  EXPECT_EQ(doc.Height().diagramKind, 2);
  EXPECT_EQ(doc.Plane().displayMode, 0);

  // "H打开文本" shows the height report.
  QAction* report = HeightReportAction();
  ASSERT_TRUE(report && report->isEnabled());
  report->trigger();
  ASSERT_NE(frame->Reports(), nullptr);
  EXPECT_EQ(frame->Reports()->Path(), FromUtf8(dir.File("测试网.txt")));
  EXPECT_TRUE(frame->Reports()->Text().contains(QStringLiteral("高程平差值")));
  // "统计检验" shows the statistical tests written beside it.
  frame->RunCommand(kCmdStatisticsReport);
  EXPECT_EQ(frame->Reports()->Path(), FromUtf8(dir.File("测试网统计检验.txt")));
  EXPECT_TRUE(frame->Reports()->Text().contains(QStringLiteral("整体检验")));

  // "H数据编辑" opens the dialog on the stored network; cancelling reads the
  // file back and keeps the results.
  const auto edit = WhenModalShows<CQuorDesignControlHeight>([&](CQuorDesignControlHeight& dialog) {
    EXPECT_TRUE(Child<QPlainTextEdit>(dialog, "differencesBox")->toPlainText().startsWith("BM1,Z1,1.45709,1.20\n"));
    platform.Answering({Answer::Yes});
    dialog.reject();
  });
  frame->RunCommand(kCmdHeightDataEdit);
  EXPECT_TRUE(*edit);
  EXPECT_TRUE(doc.State().drawingReady);
  EXPECT_EQ(doc.Height().pointCount, 14);

  frame->RunCommand(kCmdCloseDocument);
  EXPECT_EQ(doc.State().workMode, kNothingOpen);
  EXPECT_FALSE(frame->DiagramSelector()->isEnabled());
  EXPECT_EQ(frame->PointSelector()->count(), 0);
  EXPECT_FALSE(frame->Reports()->isVisible());
  EXPECT_TRUE(frame->ActionsOf(kCmdHeightDataFile).front()->isEnabled());
}

TEST_F(HeightCycle, CancelledDialogLeavesTheNetworkOpenForEditing) {
  // Mode 0: both data files, both drawing files and the tools.
  EXPECT_EQ(EnabledOf(*frame),
            (std::vector<int>{kCmdSystemTransform, kCmdHelp, kCmdPlaneDrawingFile, kCmdHeightDrawingFile,
                              kCmdPlaneDataFile, kCmdHeightDataFile, kCmdZoneTransform, kCmdIndependentSystem,
                              kCmdExercise, kCmdAbout, kCmdExit}));

  platform.Answering({Answer::Yes});  // new file
  const auto ran = WhenModalShows<CQuorDesignControlHeight>([&](CQuorDesignControlHeight& dialog) {
    Child<QPlainTextEdit>(dialog, "knownHeightsBox")->setPlainText(QStringLiteral("BM1,52.3140\n"));
    platform.Answering({Answer::Yes});  // "请确认放弃 ..."
    Click(Child<QPushButton>(dialog, "cancelButton"));
  });
  frame->RunCommand(kCmdHeightDataFile);
  ASSERT_TRUE(*ran);
  EXPECT_EQ(doc.State().workMode, kHeightData);
  EXPECT_FALSE(doc.State().drawingReady);
  EXPECT_TRUE(FileExists(dir.File("测试网.HTP")));
  // Mode 3 before a drawing: editing, the settings dialogs and closing; no report yet.
  EXPECT_EQ(EnabledOf(*frame), (std::vector<int>{kCmdHelp, kCmdCloseDocument, kCmdHeightDataEdit,
                                                  kCmdHeightSheetSettings, kCmdHeightDisplaySettings, kCmdAbout,
                                                  kCmdExit}));
  EXPECT_EQ(frame->DiagramSelector()->count(), 4);
  EXPECT_EQ(frame->PointSelector()->count(), 0);

  const auto again = WhenModalShows<CQuorDesignControlHeight>([&](CQuorDesignControlHeight& dialog) {
    EXPECT_EQ(Child<QPlainTextEdit>(dialog, "knownHeightsBox")->toPlainText(), QStringLiteral("BM1,52.3140\n"));
    platform.Answering({Answer::Yes});
    dialog.reject();
  });
  frame->ActionsOf(kCmdHeightDataEdit).front()->trigger();
  EXPECT_TRUE(*again);
}

TEST_F(HeightCycle, DroppedHeightDataFileOpensLikeTheMenuCommand) {
  const std::string dropped = dir.File("dropped.nah");
  platform.Answering({Answer::Yes});  // new file
  const auto ran = WhenModalShows<CQuorDesignControlHeight>([&](CQuorDesignControlHeight& dialog) {
    platform.Answering({Answer::Yes});
    dialog.reject();
  });
  DropFile(*frame, dropped);
  EXPECT_TRUE(*ran);
  EXPECT_EQ(doc.State().workMode, kHeightData);
  EXPECT_EQ(doc.CurrentReportPath(), dir.File("dropped.txt"));
  EXPECT_EQ(ReadBytes(dropped).size(), kHeightFileSize);
}

// Every example network typed into the dialog gives the report the command
// line gives for its input file.
class HeightExampleCycle : public HeightCycle, public ::testing::WithParamInterface<const char*> {};

TEST_P(HeightExampleCycle, ReportEqualsTheCommandLineGolden) {
  const std::string name = GetParam();
  ASSERT_TRUE(OpenNewAndConfirm(SourcePath("examples/height/" + name + ".txt")));
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
  EXPECT_TRUE(doc.State().drawingReady);
  EXPECT_EQ(ReadBytes(dir.File("测试网.txt")), ReadBytes(SourcePath("tests/height/golden/" + name + ".txt")));
}

INSTANTIATE_TEST_SUITE_P(Examples, HeightExampleCycle,
                         ::testing::Values("levelling", "trigonometric", "free", "estimate", "closures"));

// A mode-2 plane network computed in the application hands its height
// differences over as "…BPT.NAH", which the height commands then open and
// adjust.
TEST_F(HeightCycle, PlaneComputationWithSlopeDistancesHandsOverAHeightNetwork) {
  chosenPath = dir.File("斜距.NAP");
  platform.Answering({Answer::Yes, Answer::Yes});
  const auto plane = WhenModalShows<CQuorDisgnContrloPlane>([&](CQuorDisgnContrloPlane& dialog) {
    FillPlaneDialogFromInputFile(dialog, SourcePath("examples/plane/slope_mode2.txt"));
    ConfirmOrLeave(dialog, platform);
  });
  frame->RunCommand(kCmdPlaneDataFile);
  ASSERT_TRUE(*plane);
  ASSERT_TRUE(doc.State().drawingReady);
  const std::string derivedPath = dir.File("斜距BPT.NAH");
  ASSERT_EQ(ReadBytes(derivedPath).size(), kHeightFileSize);
  // The document's height network is the derived one.
  EXPECT_EQ(doc.Height().derivedFlag, 1);
  EXPECT_EQ(doc.Height().kind, kTrigonometricNetwork);
  const int differences = doc.Height().observationCount;
  EXPECT_GT(differences, 2);
  frame->RunCommand(kCmdCloseDocument);

  chosenPath = derivedPath;
  platform.questions.clear();
  platform.Answering({Answer::Yes});  // "请确认继续 ..."
  const auto height = WhenModalShows<CQuorDesignControlHeight>([&](CQuorDesignControlHeight& dialog) {
    // A derived network shows its tables from the record.
    EXPECT_EQ(Child<QComboBox>(dialog, "kindCombo")->currentIndex(), kTrigonometricNetwork);
    EXPECT_EQ(Child<QPlainTextEdit>(dialog, "differencesBox")->blockCount(), differences + 1);
    EXPECT_TRUE(Child<QPlainTextEdit>(dialog, "knownHeightsBox")->toPlainText().startsWith("S1,52.314"));
    EXPECT_FALSE(Child<QPlainTextEdit>(dialog, "coordinatesBox")->toPlainText().isEmpty());
    ConfirmOrLeave(dialog, platform);
  });
  frame->RunCommand(kCmdHeightDataFile);
  ASSERT_TRUE(*height);
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认继续 ..."});  // no new-file question
  EXPECT_EQ(doc.State().workMode, kHeightData);
  EXPECT_TRUE(doc.State().drawingReady);
  const std::string report = GbkToUtf8(ReadBytes(dir.File("斜距BPT.txt")));
  EXPECT_NE(report.find("网形类别:三角高程网"), std::string::npos);
  EXPECT_NE(report.find("高程平差值"), std::string::npos);
  EXPECT_TRUE(ItemsOf(frame->PointSelector()).contains(QStringLiteral("S1")));
}

TEST_F(HeightCycle, AHandOverThatCannotBeWrittenIsReportedAndThePlaneResultsStay) {
  chosenPath = dir.File("斜距.NAP");
  ASSERT_TRUE(QDir().mkpath(FromUtf8(dir.File("斜距BPT.NAH"))));  // a folder in the file's place
  platform.Answering({Answer::Yes, Answer::Yes});
  const auto plane = WhenModalShows<CQuorDisgnContrloPlane>([&](CQuorDisgnContrloPlane& dialog) {
    FillPlaneDialogFromInputFile(dialog, SourcePath("examples/plane/slope_mode2.txt"));
    Click(Child<QPushButton>(dialog, "okButton"));
  });
  frame->RunCommand(kCmdPlaneDataFile);
  ASSERT_TRUE(*plane);
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"高程网数据文件写入错误 !"});
  EXPECT_TRUE(doc.State().drawingReady);
  EXPECT_EQ(doc.State().workMode, kPlaneData);
}

}  // namespace
}  // namespace qp::testing
