// The dialog around the tables: filling it from the record, enabling, the
// name list, and the life cycle of confirm, cancel and draft.
#include <gtest/gtest.h>

#include "common/binary_file.h"
#include "plane_form_fixture.h"
#include "support/test_files.h"

namespace qp {
namespace {

using PlaneForm = testing::PlaneFormTest;

TEST_F(PlaneForm, FillingFromTheRecordUsesTheLineFormats) {
  form.calcMode = kSlopeReduced;
  Type(kKnownPointsBox, "K1,3805123.45678,512345.6\r\nK2,3806000,513000");
  Type(kApproxPointsBox, "甲,3805500,512500.25");
  Type(kPrecisionPairsBox, "甲,K2");
  Type(kKnownHeightsBox, "K1,45.12346");
  Type(kDirectionsBox, "K1,K2,0\r\nK1,甲,45.302512");
  Type(kFixedAzimuthsBox, "K1,K2,30.5");
  Type(kWeightedAzimuthsBox, "K2,K1,210.5,2.555");
  Type(kDistanceLinesBox, "K1,甲,500.12346,1.5,1.65,2.30151");
  Type(kFixedDistancesBox, "K1,K2,1000");
  Type(kWeightedDistancesBox, "K2,甲,600.5,0.5");
  ASSERT_EQ(Read(), "");

  PlaneInputForm shown;
  FillPlaneFormFromRecord(shown, *net);
  auto box = [&](PlaneTextBox b) { return GbkToUtf8(shown.boxes[b]); };
  EXPECT_EQ(box(kKnownPointsBox), "K1,3805123.4568,512345.6000\r\nK2,3806000.0000,513000.0000\r\n");
  EXPECT_EQ(box(kApproxPointsBox), "甲,3805500.0000,512500.2500\r\n");
  EXPECT_EQ(box(kPrecisionPairsBox), "甲,K2\r\n");
  EXPECT_EQ(box(kKnownHeightsBox), "K1,45.1235\r\n");
  EXPECT_EQ(box(kDirectionsBox), "K1,K2,0.000000\r\nK1,甲,45.302512\r\n");
  EXPECT_EQ(box(kFixedAzimuthsBox), "K1,K2,30.500000\r\n");
  EXPECT_EQ(box(kWeightedAzimuthsBox), "K2,K1,210.500000,2.56\r\n");
  EXPECT_EQ(box(kDistanceLinesBox), "K1,甲,500.1235,1.500,1.650,2.30151\r\n");
  EXPECT_EQ(box(kFixedDistancesBox), "K1,K2,1000.0000\r\n");
  EXPECT_EQ(box(kWeightedDistancesBox), "K2,甲,600.5000,0.50\r\n");
  EXPECT_EQ(shown.directionError + shown.distanceFixedError + shown.refraction, "1.803.00.14");
  net->distanceColumnOrder = 1;
  FillPlaneFormFromRecord(shown, *net);
  EXPECT_EQ(box(kDistanceLinesBox), "K1,甲,500.1235,2.30151,1.500,1.650\r\n");
  net->calcMode = kReducedObservations;
  FillPlaneFormFromRecord(shown, *net);
  EXPECT_EQ(box(kDistanceLinesBox), "K1,甲,500.1235\r\n");

  // Damaged counts never read past the arrays.
  net->approxCount = 5000;
  net->distanceLineCount = -7;
  FillPlaneFormFromRecord(shown, *net);
  EXPECT_TRUE(shown.boxes[kDistanceLinesBox].empty());
}

TEST_F(PlaneForm, ModeDecidesEnablingAndProjectionValues) {
  for (int mode = 0; mode <= 4; ++mode) {
    const PlaneFormEnabling e = PlaneFormEnablingFor(mode, false);
    EXPECT_EQ(e.refraction && e.knownHeights && e.verticalAngleKind && e.distanceColumnOrder, mode >= 2);
    EXPECT_EQ(e.yOffset && e.projectionHeight, mode == 3) << mode;
    EXPECT_EQ(PlaneFormEnablingFor(mode, true).yOffset, mode == 2 || mode == 3) << mode;
  }
  net->calcMode = kNationalSystem;
  net->yOffset = 12345.0;
  net->projectionHeight = 250.0;
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(form.yOffset + "|" + form.projectionHeight, "500000.000|0.000");
  net->calcMode = kSlopeReducedProjected;
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(form.yOffset + "|" + form.projectionHeight, "12345.000|250.000");
  // Switching to mode 4 afterwards stores the mode and keeps the typed values.
  SelectPlaneCalcMode(form, *net, kNationalSystem);
  EXPECT_EQ(net->calcMode, kNationalSystem);
  EXPECT_EQ(form.yOffset, "12345.000");
  net->calcMode = -1;
  FillPlaneFormFromRecord(form, *net);
  EXPECT_EQ(form.calcMode, 0);
}

TEST_F(PlaneForm, NameList) {
  form.nameList = {"\xB0\x41"};  // a character whose second byte looks like "A"
  for (const char* name : {"  a1 ", "A1", "\xB0\x61", "六个汉字的名", "   ", "五个汉字名"}) {
    form.newName = Utf8ToGbk(name);
    AddNameToPlaneList(form, *net, platform);
  }
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{"点名已存在 !"});  // letter case is ignored
  ASSERT_EQ(form.nameList.size(), 4u);
  EXPECT_EQ(form.nameList[1], "a1");
  EXPECT_EQ(net->nameCount, 3);
  EXPECT_EQ(GbkToUtf8(SlotText(net->nameList[2])), "五个汉字名");
  EXPECT_TRUE(form.newName.empty());

  form.nameList = {"A", "B", "C"};
  form.insertMode = 4;  // directions
  form.boxes[kDirectionsBox] = "X,Y,0\r\n";
  ClickPlaneNameListItem(form, *net, 1);
  ClickPlaneNameListItem(form, *net, 2);
  ClickPlaneNameListItem(form, *net, 3);  // no such item
  EXPECT_EQ(form.boxes[kDirectionsBox], "X,Y,0\r\nB,C,");
  form.insertMode = 10;  // known heights
  ClickPlaneNameListItem(form, *net, 0);
  EXPECT_EQ(form.boxes[kKnownHeightsBox], "A,");
  form.insertMode = kInsertDelete;
  ClickPlaneNameListItem(form, *net, 0);
  EXPECT_EQ(SlotText(net->nameList[0]), "B");
  ClickPlaneNameListItem(form, *net, 1);
  ClickPlaneNameListItem(form, *net, 0);  // the last name stays
  EXPECT_EQ(form.nameList, std::vector<std::string>{"B"});
  EXPECT_EQ(net->nameCount, 1);
}

struct PlaneFormLifeCycle : testing::PlaneFormTest {
  testing::TempDir dir;
  std::string draft = dir.File("net.PTP");
  int laterRuns = 0;
  PlaneConfirmationSteps later = [this](PlaneNetwork&, PlatformServices&) { return ++laterRuns > 0; };

  void SetUp() override {
    PlaneFormTest::SetUp();
    Type(kKnownPointsBox, "A,1000,2000\r\nB,1000,3000");
    ASSERT_TRUE(WritePlaneDraft(draft, form));
  }
};

TEST_F(PlaneFormLifeCycle, Confirm) {
  EXPECT_FALSE(ConfirmPlaneForm(form, *net, platform, draft, later));  // the default is No
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认继续 ..."});
  EXPECT_EQ(platform.questionDefaults[0], Answer::No);
  EXPECT_EQ(net->knownCount + laterRuns, 0);

  auto failing = [](PlaneNetwork&, PlatformServices&) { return false; };
  platform.Answering({Answer::Yes});
  EXPECT_FALSE(ConfirmPlaneForm(form, *net, platform, draft, failing));
  EXPECT_TRUE(FileExists(draft));

  platform.Answering({Answer::Yes, Answer::Yes});
  EXPECT_TRUE(ConfirmPlaneForm(form, *net, platform, draft, nullptr));
  EXPECT_FALSE(FileExists(draft));
  EXPECT_TRUE(ConfirmPlaneForm(form, *net, platform, draft, later));
  EXPECT_EQ(net->knownCount, 2);
  EXPECT_EQ(laterRuns, 1);
}

TEST_F(PlaneFormLifeCycle, TablesCutByABlankLineAreConfirmedInTheOrderOfReading) {
  Type(kKnownHeightsBox, "A,10\r\n\r\nB,20");  // read in the slope modes only
  Type(kWeightedDistancesBox, "A,B,1000,1\r\n\r\nB,A,1000,1");
  Type(kDirectionsBox, "A,B,0\r\nA,C,30\r\n\r\nB,A,0\r\nB,C,60");
  const std::string directions = "[方向观测值]第[2]行为空行, 其后2行将不被读入, 继续吗?";
  const std::string distances = "[加权边长]第[1]行为空行, 其后1行将不被读入, 继续吗?";
  const std::string heights = "[已知高程点]第[1]行为空行, 其后1行将不被读入, 继续吗?";
  struct Case {
    const char* name;
    int calcMode;
    std::vector<Answer> answers;  // then the default buttons
    std::vector<std::string> asked;
    bool confirmed;
  } cases[] = {
      {"the default stops", kReducedObservations, {Answer::Yes}, {"请确认继续 ...", directions}, false},
      {"slope mode", kSlopeReduced, {Answer::Yes, Answer::Yes, Answer::Yes},
       {"请确认继续 ...", directions, distances, heights}, false},
      {"yes reads up to the blank lines", kReducedObservations, {Answer::Yes, Answer::Yes, Answer::Yes},
       {"请确认继续 ...", directions, distances}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform = testing::ScriptedPlatform{};
    for (Answer a : c.answers) platform.answers.push_back(a);
    ResetPlaneNetwork(*net, "net.NAP");
    form.calcMode = c.calcMode;
    laterRuns = 0;
    EXPECT_EQ(ConfirmPlaneForm(form, *net, platform, draft, later).accepted, c.confirmed);
    EXPECT_EQ(platform.QuestionsUtf8(), c.asked);
    EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
    // A refused cut reads nothing; an accepted one reads as before.
    EXPECT_EQ(net->knownCount, c.confirmed ? 2 : 0);
    EXPECT_EQ(net->directionCount, c.confirmed ? 2 : 0);
    EXPECT_EQ(net->weightedDistanceCount, c.confirmed ? 1 : 0);
    EXPECT_EQ(laterRuns, c.confirmed ? 1 : 0);
    EXPECT_EQ(FileExists(draft), !c.confirmed);
  }
}

TEST_F(PlaneFormLifeCycle, CancelAndReopen) {
  ASSERT_TRUE(RemoveFileIfExists(draft));
  EXPECT_FALSE(CancelPlaneForm(form, *net, platform, draft));
  EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认放弃 ..."});
  EXPECT_EQ(platform.questionDefaults[0], Answer::No);
  EXPECT_FALSE(FileExists(draft));

  // A network never computed keeps what was typed for the next dialog.
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(CancelPlaneForm(form, *net, platform, draft));
  SetSlotText(net->nameList[0], "P1");
  net->nameCount = 1;
  net->calcMode = kSlopeReduced;
  PlaneInputForm next;
  next.insertMode = 5;
  InitializePlaneForm(next, *net, draft);
  EXPECT_TRUE(next.restoredFromDraft);
  EXPECT_EQ(next.boxes[kKnownPointsBox], form.boxes[kKnownPointsBox] + "\r\n");
  EXPECT_EQ(next.calcMode, kReducedObservations);
  EXPECT_EQ(next.nameList, std::vector<std::string>{"P1"});
  EXPECT_EQ(next.insertMode, kInsertNone);
  EXPECT_EQ(next.fileName, "net.NAP");

  // Without a draft: the record's settings and empty tables.
  ASSERT_TRUE(RemoveFileIfExists(draft));
  InitializePlaneForm(next, *net, draft);
  EXPECT_FALSE(next.restoredFromDraft);
  EXPECT_EQ(next.calcMode, kSlopeReduced);
  EXPECT_TRUE(next.boxes[kKnownPointsBox].empty());

  // A computed network is refilled from its record and leaves no draft.
  net->lastComputedPointCount = 3;
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(CancelPlaneForm(form, *net, platform, draft));
  EXPECT_FALSE(FileExists(draft));
}

}  // namespace
}  // namespace qp
