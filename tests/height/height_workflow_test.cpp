// The height cycle behind "H数据编辑": cancel, the stored network, the choice
// between adjusting and estimating, the change level and the default diagram
// layout, and the network derived from a plane computation.
#include "workflow/height_workflow.h"

#include <gtest/gtest.h>

#include "common/binary_file.h"
#include "height/height_file.h"
#include "plane/derived_height_network.h"
#include "plane/plane_model_record.h"
#include "height_form_fixture.h"

namespace qp {
namespace {

struct HeightWorkflow : testing::HeightWorkspaceTest {

  // A dialog that is confirmed with the typed form (the command line's way).
  HeightDialogRunner Confirming() {
    return [&](HeightNetwork& record, const HeightReportTarget& target) {
      return RunHeightConfirmation(form, record, platform, target).accepted;
    };
  }

  NetworkEditResult Edit() {
    platform.messages.clear();
    return EditHeightNetwork(ws, platform, Confirming());
  }

  std::string Report() { return GbkToUtf8(testing::ReadBytes(dir.File("net.txt"))); }
};

TEST_F(HeightWorkflow, CancelBringsBackTheStoredNetwork) {
  Type(kHeightKnownBox, "A,100");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,A,-1.002,1");
  ASSERT_EQ(Edit(), NetworkEditResult::Computed) << platform.LastMessageUtf8();
  const std::string stored = testing::ReadBytes(nah);
  // A dialog that parses (touching the record) and is then cancelled.
  const HeightDialogRunner cancelling = [&](HeightNetwork& record, const HeightReportTarget&) {
    Type(kHeightKnownBox, "X,1");
    ParseAll(form, record, platform);
    return false;
  };
  EXPECT_EQ(EditHeightNetwork(ws, platform, cancelling), NetworkEditResult::Cancelled);
  EXPECT_EQ(std::memcmp(net.get(), stored.data() + sizeof(SettingsBlock), sizeof(HeightNetwork)), 0);
}

TEST_F(HeightWorkflow, AdjustingWithoutRedundancyEstimates) {
  Type(kHeightKnownBox, "A,100");
  Type(kHeightDifferencesBox, "A,B,1.5,1\r\nB,C,0.5,2");
  ASSERT_EQ(Edit(), NetworkEditResult::Computed) << platform.LastMessageUtf8();
  EXPECT_EQ(net->redundancy, 0);
  EXPECT_EQ(net->sigma0, 1.0);  // the prior error
  const std::string report = Report();
  EXPECT_EQ(report.find("高程平差值"), std::string::npos);
  EXPECT_EQ(report.find("高差改正数和平差值"), std::string::npos);
  EXPECT_NE(report.find("精度评定<单位权中误差=1.000  毫米>"), std::string::npos);
  EXPECT_FALSE(FileExists(dir.File("net高程数据.txt")));
  // The stored file holds the computed network.
  auto stored = std::make_unique<HeightNetwork>();
  ASSERT_TRUE(ReadHeightFile(nah, *settings, *stored));
  EXPECT_EQ(std::memcmp(stored.get(), net.get(), sizeof(HeightNetwork)), 0);
  EXPECT_EQ(SheetText(*settings, kNetworkNameSlot), Gbk("测试高程网"));
}

TEST_F(HeightWorkflow, FailuresAreReported) {
  // A dialog that closes without a confirmed network.
  const HeightDialogRunner empty = [](HeightNetwork&, const HeightReportTarget&) { return true; };
  EXPECT_EQ(EditHeightNetwork(ws, platform, empty), NetworkEditResult::NotComputed);
  EXPECT_EQ(platform.LastMessageUtf8(), "高程网不满足基本条件 !");

  // Two unknown points joined only to each other: the normal equations are
  // singular (rounding would let the elimination through).
  Type(kHeightKnownBox, "A,100");
  Type(kHeightApproxBox, "B,1\r\nC,2");
  Type(kHeightDifferencesBox, "B,C,1,1\r\nC,B,-1,1\r\nA,D,1,1");
  EXPECT_EQ(Edit(), NetworkEditResult::Failed);
  EXPECT_EQ(platform.MessagesUtf8(),
            (std::vector<std::string>{"法方程系数不满秩或超过解题容量 !!!", "高程网解算失败 !"}));

  // A free network in two parts: one datum cannot hold both.
  Type(kHeightKnownBox, "");
  Type(kHeightApproxBox, "B,1\r\nC,2\r\nD,3\r\nE,4");
  Type(kHeightDifferencesBox, "B,C,1,1\r\nC,B,-1,1\r\nD,E,1,1\r\nE,D,-1,1\r\nB,C,1,1");
  EXPECT_EQ(Edit(), NetworkEditResult::Failed);
  EXPECT_EQ(platform.messages.size(), 2u);

  // The data file cannot be written.
  Type(kHeightKnownBox, "A,100");
  Type(kHeightApproxBox, "");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,A,-1,1");
  ws.dataPath = dir.File("no/such/net.NAH");
  EXPECT_EQ(EditHeightNetwork(ws, platform, [&](HeightNetwork& record, const HeightReportTarget&) {
              return RunHeightConfirmation(form, record, platform, Target()).accepted;
            }),
            NetworkEditResult::NotComputed);
  EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件写入错误 !");
}

TEST_F(HeightWorkflow, ChangeLevelAndDefaultLayout) {
  Type(kHeightKnownBox, "A,100");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,C,1,1\r\nC,A,-2.001,1\r\nC,D,1,1\r\nD,B,-1,1");
  ASSERT_EQ(Edit(), NetworkEditResult::Computed);
  EXPECT_EQ(ws.changeLevel, 256);
  EXPECT_EQ(net->lastComputedPointCount, 4);
  // Four points in rows of two, 200 m apart.
  EXPECT_EQ(net->diagramX[3], 8200.0);
  EXPECT_EQ(net->diagramY[3], 16200.0);
  // Straight curves from B (8200, 16000) to C (8000, 16200).
  EXPECT_EQ(net->curve[1][1][0], 8150.0);
  EXPECT_EQ(net->curve[1][1][1], 16050.0);
  // The triangle's label at the centroid of A, B, C.
  ASSERT_GT(net->loopCount, 0);
  const LoopEntry& triangle = net->loops[net->loopCount - 1];
  EXPECT_EQ(triangle.kind, kLoopTriangle);
  EXPECT_DOUBLE_EQ(triangle.labelX, (8000.0 + 8200.0 + 8000.0) / 3);

  net->loops[0].labelX = 1.0;  // moved by the user
  ASSERT_EQ(Edit(), NetworkEditResult::Computed);
  EXPECT_EQ(ws.changeLevel, 0);
  EXPECT_EQ(net->loops[0].labelX, 1.0);

  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,C,1,1\r\nC,A,-2.001,1\r\nD,C,-1,1\r\nD,B,-1,1");
  ASSERT_EQ(Edit(), NetworkEditResult::Computed);
  EXPECT_EQ(ws.changeLevel, 128);
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,C,1,1\r\nC,A,-2.001,1\r\nD,C,-1,1\r\nD,B,-1.5,1");
  ASSERT_EQ(Edit(), NetworkEditResult::Computed);
  EXPECT_EQ(ws.changeLevel, 0);
  // Plane coordinates move the points: a new geometry, laid out where they are.
  Type(kHeightCoordinatesBox, "A,0,0\r\nB,0,100\r\nC,100,100\r\nD,100,0");
  ASSERT_EQ(Edit(), NetworkEditResult::Computed);
  EXPECT_EQ(ws.changeLevel, 256);
  EXPECT_EQ(net->diagramX[2], 100.0);
  EXPECT_EQ(net->curve[1][4][1], 100.0);
}

TEST_F(HeightWorkflow, NetworkDerivedFromAPlaneComputation) {
  auto plane = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*plane, "p.NAP");
  const char* names[] = {"K1", "N1", "N2", "LONE"};
  for (int p = 0; p < 4; ++p) {
    SetSlotText(plane->pointName[p], names[p]);
    plane->x[p] = 1000.0 + p;
    plane->y[p] = 2000.0 + p;
  }
  plane->pointCount = 4;
  plane->knownHeightCount = 1;
  SetSlotText(plane->knownHeightName[0], "K1");
  plane->knownHeight[0] = 50.25;
  plane->reducedCount = 2;
  SetSlotText(plane->reducedFrom[0], "N2");
  SetSlotText(plane->reducedTo[0], "K1");
  plane->reducedLength[0] = 1234.5;
  plane->reducedHeightDiff[0] = -3.21;
  SetSlotText(plane->reducedFrom[1], "N1");
  SetSlotText(plane->reducedTo[1], "N2");
  plane->reducedLength[1] = 800.0;
  plane->reducedHeightDiff[1] = 1.5;

  EXPECT_EQ(DerivedHeightPathFor("/d/城区.NAP"), "/d/城区BPT.NAH");
  // A file of the wrong length in its place is left as it is.
  testing::WriteBytes(dir.File("pBPT.NAH"), "not a height network");
  EXPECT_EQ(WriteDerivedHeightNetwork(PlaneModelFromRecord(*plane), *settings, dir.File("p.NAP"), *net), DerivedHeightWrite::WrongFileKept);
  EXPECT_EQ(testing::ReadBytes(dir.File("pBPT.NAH")), "not a height network");
  ASSERT_TRUE(RemoveFileIfExists(dir.File("pBPT.NAH")));
  ASSERT_EQ(WriteDerivedHeightNetwork(PlaneModelFromRecord(*plane), *settings, dir.File("p.NAP"), *net), DerivedHeightWrite::Written);
  // Its own earlier file is replaced.
  ASSERT_EQ(WriteDerivedHeightNetwork(PlaneModelFromRecord(*plane), *settings, dir.File("p.NAP"), *net), DerivedHeightWrite::Written);
  auto derived = std::make_unique<HeightNetwork>();
  ASSERT_TRUE(ReadHeightFile(dir.File("pBPT.NAH"), *settings, *derived));
  EXPECT_EQ(derived->mode, kHeightAdjust);
  EXPECT_EQ(derived->derivedFlag, 1);
  EXPECT_EQ(derived->kind, kTrigonometricNetwork);
  // The points that take part, in plane point order (LONE does not).
  EXPECT_EQ(derived->derivedMarker, 3);
  EXPECT_EQ(derived->nameCount, 3);

  // Its dialog shows the record's tables.
  HeightInputForm shown;
  InitializeHeightForm(shown, *derived, dir.File("pBPT.HTP"));
  EXPECT_EQ(shown.boxes[kHeightKnownBox], "K1,50.2500\r\n");
  EXPECT_EQ(shown.boxes[kHeightDifferencesBox], "N2,K1,-3.2100,1.2345\r\nN1,N2,1.5000,0.80\r\n");
  EXPECT_EQ(shown.boxes[kHeightCoordinatesBox], "K1,  1000.0000,  2000.0000\r\nN1,  1001.0000,  2001.0000\r\n"
                                                "N2,  1002.0000,  2002.0000\r\n");
}

}  // namespace
}  // namespace qp
