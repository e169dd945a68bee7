// The checks of a confirmed height network: duplicate names, the point list
// and approximate heights, precision pairs, plane coordinates, the basic
// conditions of the confirmation.
#include "height/height_checks.h"

#include <gtest/gtest.h>

#include "common/binary_file.h"
#include "height/height_model_record.h"
#include "height_form_fixture.h"

namespace qp {
namespace {

using HeightChecks = testing::HeightFormTest;

TEST_F(HeightChecks, DuplicateNames) {
  Type(kHeightKnownBox, "A,1\r\nB,2");
  Type(kHeightApproxBox, "C,3\r\nB,4\r\nA,5");
  Type(kHeightDifferencesBox, "A,C,1,1\r\nC,B,1,1");
  // The first pair counted from its first name: A (1) with A (5).
  EXPECT_EQ(Confirm(), "已知点和已知概略高程点的[1]点和[5]点点名重复 !");
  Type(kHeightApproxBox, "C,3");
  Type(kHeightCoordinatesBox, "A,1,1\r\nB,2,2\r\nC,3,3\r\nB,4,4");
  EXPECT_EQ(Confirm(), "高程点位的[2]点和[4]点点名重复 !");
  Type(kHeightCoordinatesBox, "");
  Type(kHeightDifferencesBox, "A,C,1,1\r\nC,C,1,1");
  EXPECT_EQ(Confirm(), "第[2]个高差观测值点名重复!");
}

TEST_F(HeightChecks, PointListAndApproximateHeights) {
  Type(kHeightKnownBox, "A,100");
  // D is reached last; E is only named by the plane coordinates.
  Type(kHeightDifferencesBox, "C,D,0.5,1\r\nB,C,-2,1\r\nA,B,1.25,1\r\nD,A,0.25,1");
  Type(kHeightCoordinatesBox, "A,0,0\r\nB,0,1\r\nC,1,1\r\nD,1,0\r\nE,2,2");
  EXPECT_EQ(Confirm(), "待定点[E]不能计算出...|待定点不能完全计算出 !");
  ASSERT_EQ(net->pointCount, 5);
  // Points in the order the passes reach them: B and D in the first, C in the second.
  EXPECT_EQ(PointName(1) + PointName(2) + PointName(3) + PointName(4), "BDCE");

  Type(kHeightCoordinatesBox, "");
  ASSERT_EQ(Confirm(), "");
  EXPECT_EQ(net->unknownPointCount, 3);
  EXPECT_EQ(net->unknownCount, 3);
  EXPECT_EQ(net->redundancy, 1);
  EXPECT_DOUBLE_EQ(net->height[1], 101.25);
  EXPECT_DOUBLE_EQ(net->height[2], 99.75);
  EXPECT_DOUBLE_EQ(net->height[3], 99.25);

  // Given approximate heights for every unknown point are kept as they are.
  Type(kHeightApproxBox, "B,7\r\nC,8\r\nD,9");
  ASSERT_EQ(Confirm(), "");
  EXPECT_EQ(net->height[1] + net->height[2] + net->height[3], 24.0);

  // A height difference joined to nothing known makes both ends unknowable.
  Type(kHeightApproxBox, "");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,A,-1,1\r\nX,Y,1,1");
  EXPECT_EQ(Confirm(), "待定点[X]不能计算出...|待定点[Y]不能计算出...|待定点不能完全计算出 !");

  Type(kHeightKnownBox, "");
  EXPECT_EQ(Confirm(), "基本计算条件不满足 !");
  net->capacities[kCapacityPoints] = 3;
  Type(kHeightKnownBox, "A,1");
  EXPECT_EQ(Confirm(), "高程网点数超过3个 !");
  // The refused list keeps the points it found, with no height, but counts none.
  EXPECT_EQ(net->pointCount, 0);
  EXPECT_EQ(PointName(0) + PointName(1) + PointName(2), "ABX");
  EXPECT_EQ(net->height[1] + net->height[2], 0.0);
}

TEST_F(HeightChecks, LongLinesTypedAgainstThePropagationAreReached) {
  // A line of 40 sections from the known point K, typed from its far end:
  // every pass reaches one more point.
  std::string lines;
  for (int i = 40; i >= 1; --i) {
    lines += "P" + std::to_string(i) + "," + (i == 1 ? std::string("K") : "P" + std::to_string(i - 1)) + ",-0.5,1\r\n";
  }
  Type(kHeightKnownBox, "K,10");
  Type(kHeightDifferencesBox, lines);
  ASSERT_EQ(Confirm(), "");
  ASSERT_EQ(net->pointCount, 41);
  // The point list takes what 32 passes reach, then the rest in line order.
  EXPECT_EQ(PointName(1) + PointName(32) + PointName(33) + PointName(40), "P1P32P40P33");
  const HeightModel model = HeightModelFromRecord(*net);
  EXPECT_DOUBLE_EQ(model.points[model.Find("P1")].height, 10.5);
  EXPECT_DOUBLE_EQ(model.points[model.Find("P40")].height, 30.0);
}

TEST_F(HeightChecks, PrecisionPairs) {
  Type(kHeightKnownBox, "A,100");
  // Observed pairs: AB BC CA CD DE EB; B-D and C-E are not observed.
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,C,1,1\r\nC,A,-2,1\r\nC,D,1,1\r\nD,E,1,1\r\nE,B,-1,1");
  const struct {
    const char* pairs;
    const char* message;
    int line;  // the zero-based line refused
  } refused[] = {
      {"B,D\r\nA,D", "精度端点第[2]行点名不是待定点!", 1},
      {"B,Z", "精度端点第[1]行点名不是待定点!", 0},
      {"E,D", "精度端点第[1]行已存在高差观测  !", 0},
      // A line repeated by a later one, in either orientation, names itself.
      {"C,E\r\nB,D\r\nD,B", "精度端点第[2]行已存在  !", 1},
  };
  for (const auto& c : refused) {
    Type(kHeightPairsBox, c.pairs);
    EXPECT_EQ(Confirm(), c.message);
    ASSERT_TRUE(lastConfirmation.rejected) << c.pairs;
    EXPECT_EQ(lastConfirmation.rejected->box, kHeightPairsBox) << c.pairs;
    EXPECT_EQ(lastConfirmation.rejected->line, c.line) << c.pairs;
  }
  Type(kHeightPairsBox, "C,E\r\nB,D");
  EXPECT_EQ(Confirm(), "");
}

TEST_F(HeightChecks, PlaneCoordinatesAreAllOrNothing) {
  Type(kHeightKnownBox, "A,100");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,C,1,1\r\nC,A,-2,1");
  Type(kHeightCoordinatesBox, "A,10,20\r\nB,30,40");
  EXPECT_EQ(Confirm(), "高程点的平面坐标输入不完整[允许全不输入] !");
  EXPECT_FALSE(lastConfirmation.rejected);
  Type(kHeightCoordinatesBox, "C,50,60\r\nA,10,20\r\nB,30,40");
  ASSERT_EQ(Confirm(), "");
  EXPECT_EQ(net->diagramX[0], 10.0);
  EXPECT_EQ(net->diagramY[1], 40.0);
  EXPECT_EQ(net->diagramX[2], 50.0);
}

TEST_F(HeightChecks, ConfirmationNeedsAComputableNetwork) {
  Type(kHeightKnownBox, "A,100");
  Type(kHeightDifferencesBox, "A,B,1,1");
  EXPECT_EQ(Confirm(), "高程网不满足平差或精度估算条件 !!!");
  // More unknown points than height differences.
  Type(kHeightDifferencesBox, "A,B,1,1\r\nC,D,1,1");
  Type(kHeightApproxBox, "C,5");
  EXPECT_EQ(Confirm(), "高程网不满足平差或精度估算条件 !!!");
  // Confirmed: the side file goes, the report is written; the question comes first.
  Type(kHeightApproxBox, "");
  Type(kHeightDifferencesBox, "A,B,1,1\r\nB,A,-1,1");
  testing::WriteBytes(Target().sidePath, "draft");
  platform.Answering({Answer::No});
  EXPECT_FALSE(ConfirmHeightDialog(form, *net, platform, Target()));
  EXPECT_TRUE(FileExists(Target().sidePath));
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(ConfirmHeightDialog(form, *net, platform, Target()));
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认继续 ...");
  EXPECT_FALSE(FileExists(Target().sidePath));
  EXPECT_TRUE(FileExists(Target().reportPath));

  // A report that cannot be created is a message, not a refusal.
  HeightReportTarget nowhere{dir.File("no/such/net.txt"), dir.File("net.HTP"), section};
  platform.messages.clear();
  EXPECT_TRUE(RunHeightConfirmation(form, *net, platform, nowhere));
  EXPECT_EQ(platform.LastMessageUtf8(), "写原始数据文件打开错误 !");
}

}  // namespace
}  // namespace qp
