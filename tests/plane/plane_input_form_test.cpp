// The dialog around the tables: filling it from the record, which controls
// take input, the name list, and the life cycle of confirm, cancel and draft.
#include <gtest/gtest.h>

#include "common/binary_file.h"
#include "plane_form_fixture.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::TempDir;

struct PlaneFormFilling : testing::PlaneFormTest {
  // A network typed into the dialog and read back into the record.
  void Enter(int mode, int order) {
    form.calcMode = mode;
    form.distanceColumnOrder = order;
    Type(kKnownPointsBox, "K1,3805123.45678,512345.6\r\nK2,3806000,513000\r\n");
    Type(kApproxPointsBox, "甲,3805500,512500.25\r\n");
    Type(kPrecisionPairsBox, "甲,K2\r\n");
    Type(kKnownHeightsBox, "K1,45.12346\r\n");
    Type(kDirectionsBox, "K1,K2,0\r\nK1,甲,45.302512\r\n");
    Type(kFixedAzimuthsBox, "K1,K2,30.5\r\n");
    Type(kWeightedAzimuthsBox, "K2,K1,210.5,2.555\r\n");
    Type(kDistanceLinesBox, mode >= 2 ? (order == 0 ? "K1,甲,500.12346,1.5,1.65,2.30151\r\n"
                                                    : "K1,甲,500.12346,2.30151,1.5,1.65\r\n")
                                      : "K1,甲,500.12346\r\n");
    Type(kFixedDistancesBox, "K1,K2,1000\r\n");
    Type(kWeightedDistancesBox, "K2,甲,600.5,0.5\r\n");
    ASSERT_TRUE(Read()) << platform.LastMessageUtf8();
  }
  std::string Box(PlaneTextBox box) const { return GbkToUtf8(form.boxes[box]); }
};

TEST_F(PlaneFormFilling, EveryBoxInItsLineFormat) {
  Enter(kSlopeReduced, 0);
  PlaneInputForm shown;
  FillPlaneFormFromRecord(shown, *net);
  form = shown;
  EXPECT_EQ(Box(kKnownPointsBox), "K1,3805123.4568,512345.6000\r\nK2,3806000.0000,513000.0000\r\n");
  EXPECT_EQ(Box(kApproxPointsBox), "甲,3805500.0000,512500.2500\r\n");
  EXPECT_EQ(Box(kPrecisionPairsBox), "甲,K2\r\n");
  EXPECT_EQ(Box(kKnownHeightsBox), "K1,45.1235\r\n");
  EXPECT_EQ(Box(kDirectionsBox), "K1,K2,0.000000\r\nK1,甲,45.302512\r\n");
  EXPECT_EQ(Box(kFixedAzimuthsBox), "K1,K2,30.500000\r\n");
  EXPECT_EQ(Box(kWeightedAzimuthsBox), "K2,K1,210.500000,2.56\r\n");
  EXPECT_EQ(Box(kDistanceLinesBox), "K1,甲,500.1235,1.500,1.650,2.30151\r\n");
  EXPECT_EQ(Box(kFixedDistancesBox), "K1,K2,1000.0000\r\n");
  EXPECT_EQ(Box(kWeightedDistancesBox), "K2,甲,600.5000,0.50\r\n");
  EXPECT_EQ(form.directionError, "1.80");
  EXPECT_EQ(form.distanceFixedError, "3.0");
  EXPECT_EQ(form.refraction, "0.14");
  EXPECT_EQ(form.yOffset, "500000.000");
  EXPECT_EQ(GbkToUtf8(form.networkName), "测试网");
}

TEST_F(PlaneFormFilling, DistanceLinesFollowModeAndOrder) {
  Enter(kSlopeReduced, 1);
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(Box(kDistanceLinesBox), "K1,甲,500.1235,2.30151,1.500,1.650\r\n");
  Enter(kReducedObservations, 0);
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(Box(kDistanceLinesBox), "K1,甲,500.1235\r\n");
}

TEST_F(PlaneFormFilling, RecordSettingsAndTheNationalSystem) {
  net->calcMode = kNationalSystem;
  net->yOffset = 12345.0;
  net->projectionHeight = 250.0;
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(form.yOffset, "500000.000");
  EXPECT_EQ(form.projectionHeight, "0.000");
  net->calcMode = kSlopeReducedProjected;
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(form.yOffset, "12345.000");
  EXPECT_EQ(form.projectionHeight, "250.000");
  // Switching to mode 4 afterwards keeps the typed values, which are then stored.
  SelectPlaneCalcMode(form, *net, kNationalSystem);
  EXPECT_EQ(net->calcMode, kNationalSystem);
  EXPECT_EQ(form.yOffset, "12345.000");

  net->calcMode = -1;
  net->closureMode = -3;
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(form.calcMode, 0);
  EXPECT_EQ(form.closureMode, 0);
}

TEST_F(PlaneFormFilling, DamagedCountsNeverReadPastTheArrays) {
  net->knownCount = 5000;
  net->approxCount = 5000;
  net->distanceLineCount = -7;
  net->weightedDistanceCount = 1 << 30;
  FillPlaneFormFromRecord(form, *net);
  EXPECT_TRUE(form.boxes[kDistanceLinesBox].empty());
  EXPECT_TRUE(form.boxes[kApproxPointsBox].empty());
}

TEST(PlaneFormEnabling, ControlsFollowTheCalculationMode) {
  for (int mode = 0; mode <= 4; ++mode) {
    const PlaneFormEnabling e = PlaneFormEnablingFor(mode, false);
    EXPECT_EQ(e.refraction, mode >= 2) << mode;
    EXPECT_EQ(e.knownHeights && e.verticalAngleKind && e.distanceColumnOrder, mode >= 2) << mode;
    EXPECT_EQ(e.yOffset && e.projectionHeight, mode == 3) << mode;
    EXPECT_EQ(PlaneFormEnablingFor(mode, true).yOffset, mode == 2 || mode == 3) << mode;
  }
  EXPECT_EQ(PlaneCalcModeItems().size(), 5u);
  EXPECT_EQ(GbkToUtf8(PlaneInsertModeItems()[kInsertDelete]), "单击删除");
}

using PlaneNameList = testing::PlaneFormTest;

TEST_F(PlaneNameList, AddingNames) {
  form.newName = "  a1 ";
  AddNameToPlaneList(form, *net, platform);
  EXPECT_EQ(form.nameList, std::vector<std::string>{"a1"});
  EXPECT_EQ(net->nameCount, 1);
  EXPECT_EQ(SlotText(net->nameList[0]), "a1");
  EXPECT_TRUE(form.newName.empty());

  form.newName = "A1";  // the list ignores letter case
  AddNameToPlaneList(form, *net, platform);
  EXPECT_EQ(platform.LastMessageUtf8(), "点名已存在 !");
  EXPECT_EQ(form.nameList.size(), 1u);

  // Five Chinese characters fit, six do not; blanks alone are no name.
  for (const char* name : {"五个汉字名", "六个汉字的名", "   "}) {
    form.newName = Utf8ToGbk(name);
    AddNameToPlaneList(form, *net, platform);
  }
  EXPECT_EQ(form.nameList.size(), 2u);
  EXPECT_EQ(net->nameCount, 2);
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(PlaneNameList, CaseIsIgnoredOnlyForAsciiLetters) {
  // "\xB0\x41" and "\xB0\x61" are two different characters whose second
  // bytes look like "A" and "a".
  form.nameList = {"\xB0\x41"};
  form.newName = "\xB0\x61";
  AddNameToPlaneList(form, *net, platform);
  EXPECT_EQ(form.nameList.size(), 2u);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PlaneNameList, ClickingInsertsOrDeletes) {
  form.nameList = {"A", "B", "C"};
  form.insertMode = 4;  // directions
  form.boxes[kDirectionsBox] = "X,Y,0\r\n";
  ClickPlaneNameListItem(form, *net, 1);
  ClickPlaneNameListItem(form, *net, 2);
  EXPECT_EQ(form.boxes[kDirectionsBox], "X,Y,0\r\nB,C,");
  form.insertMode = 10;  // known heights
  ClickPlaneNameListItem(form, *net, 0);
  EXPECT_EQ(form.boxes[kKnownHeightsBox], "A,");
  ClickPlaneNameListItem(form, *net, 3);  // no such item
  EXPECT_EQ(form.boxes[kKnownHeightsBox], "A,");

  form.insertMode = kInsertDelete;
  ClickPlaneNameListItem(form, *net, 0);
  EXPECT_EQ(form.nameList, (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(net->nameCount, 2);
  EXPECT_EQ(SlotText(net->nameList[0]), "B");
  ClickPlaneNameListItem(form, *net, 1);
  ClickPlaneNameListItem(form, *net, 0);  // the last name stays
  EXPECT_EQ(form.nameList, std::vector<std::string>{"B"});
  EXPECT_EQ(net->nameCount, 1);
}

struct PlaneFormLifeCycle : testing::PlaneFormTest {
  TempDir dir;
  std::string draft = dir.File("net.PTP");
  int laterRuns = 0;
  PlaneConfirmationSteps later = [this](PlaneNetwork&, PlatformServices&) { return ++laterRuns > 0; };

  void SetUp() override {
    PlaneFormTest::SetUp();
    Type(kKnownPointsBox, "A,1000,2000\r\nB,1000,3000\r\n");
    Type(kDirectionsBox, "A,B,0\r\nA,C,60\r\n");
    ASSERT_TRUE(WritePlaneDraft(draft, form));
  }
};

TEST_F(PlaneFormLifeCycle, ConfirmAsksWithNoAsDefault) {
  EXPECT_FALSE(ConfirmPlaneForm(form, *net, platform, draft, later));
  ASSERT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认继续 ..."});
  EXPECT_EQ(platform.questionDefaults[0], Answer::No);
  EXPECT_EQ(net->knownCount, 0);  // nothing read
  EXPECT_EQ(laterRuns, 0);
  EXPECT_TRUE(FileExists(draft));
}

TEST_F(PlaneFormLifeCycle, ConfirmedInputRemovesTheDraft) {
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(ConfirmPlaneForm(form, *net, platform, draft, later));
  EXPECT_EQ(net->knownCount, 2);
  EXPECT_EQ(laterRuns, 1);
  EXPECT_FALSE(FileExists(draft));
  // Without later steps reading alone decides.
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(ConfirmPlaneForm(form, *net, platform, draft, nullptr));
}

TEST_F(PlaneFormLifeCycle, FailedConfirmationKeepsTheDraft) {
  later = [](PlaneNetwork&, PlatformServices&) { return false; };
  platform.Answering({Answer::Yes});
  EXPECT_FALSE(ConfirmPlaneForm(form, *net, platform, draft, later));
  EXPECT_TRUE(FileExists(draft));

  Type(kDirectionsBox, "A,B\r\n");
  platform.Answering({Answer::Yes});
  EXPECT_FALSE(ConfirmPlaneForm(form, *net, platform, draft, nullptr));
  EXPECT_EQ(platform.LastMessageUtf8(), "方向观测值第[0]行数据不正确!");
  EXPECT_TRUE(FileExists(draft));
}

TEST_F(PlaneFormLifeCycle, CancelKeepsTheInputOfANetworkNeverComputed) {
  ASSERT_TRUE(RemoveFileIfExists(draft));
  EXPECT_FALSE(CancelPlaneForm(form, *net, platform, draft));
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认放弃 ..."});
  EXPECT_EQ(platform.questionDefaults[0], Answer::No);
  EXPECT_FALSE(FileExists(draft));

  platform.Answering({Answer::Yes});
  EXPECT_TRUE(CancelPlaneForm(form, *net, platform, draft));
  ASSERT_TRUE(FileExists(draft));

  // The next dialog on the same record opens with what was typed.
  net->calcMode = kSlopeReduced;
  PlaneInputForm next;
  InitializePlaneForm(next, *net, draft);
  EXPECT_TRUE(next.restoredFromDraft);
  EXPECT_EQ(next.boxes[kKnownPointsBox], form.boxes[kKnownPointsBox]);
  EXPECT_EQ(next.calcMode, kReducedObservations);
  EXPECT_EQ(next.fileName, "net.NAP");

  // A computed network is refilled from its record and leaves no draft.
  ASSERT_TRUE(RemoveFileIfExists(draft));
  net->lastComputedPointCount = 3;
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(CancelPlaneForm(form, *net, platform, draft));
  EXPECT_FALSE(FileExists(draft));
}

TEST_F(PlaneFormLifeCycle, InitializingWithoutADraft) {
  ASSERT_TRUE(RemoveFileIfExists(draft));
  SetSlotText(net->nameList[0], "P1");
  SetSlotText(net->nameList[1], "P2");
  net->nameCount = 2;
  net->calcMode = kSlopeReduced;
  PlaneInputForm opened;
  opened.insertMode = 5;
  opened.boxes[kDirectionsBox] = "old text";
  InitializePlaneForm(opened, *net, draft);
  EXPECT_FALSE(opened.restoredFromDraft);
  EXPECT_EQ(opened.calcMode, kSlopeReduced);
  EXPECT_EQ(opened.directionError, "1.80");
  EXPECT_TRUE(opened.boxes[kDirectionsBox].empty());
  EXPECT_EQ(opened.nameList, (std::vector<std::string>{"P1", "P2"}));
  EXPECT_EQ(opened.insertMode, kInsertNone);
}

}  // namespace
}  // namespace qp
