// Reading the settings and the tables of the plane input dialog: line rules,
// number rules, limits, the messages and the order in which they are checked.
#include <gtest/gtest.h>

#include "plane_form_fixture.h"

namespace qp {
namespace {

using testing::PlaneFormTest;

using PlaneSettingsReading = PlaneFormTest;

TEST_F(PlaneSettingsReading, ErrorTermsAreCorrectedOrRefused) {
  form.directionError = "0";
  form.distanceFixedError = "-3";
  form.distanceScaleError = "2.5";
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->directionError, 1.0);
  EXPECT_EQ(net->distanceFixedError, 0.0);
  EXPECT_EQ(net->distanceScaleError, 2.5);

  form.distanceScaleError = "-1";
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "固定误差和比例误差不能同时为零  !");
}

TEST_F(PlaneSettingsReading, NetworkNameIsMeasuredInGbkBytes) {
  form.networkName = Gbk("十六个汉字的控制网名称正好三十二");  // 16 characters, 32 bytes
  ASSERT_EQ(form.networkName.size(), 32u);
  EXPECT_TRUE(Read());
  EXPECT_EQ(std::string(SlotText(net->networkName)), form.networkName);

  form.networkName += "A";
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "控制网名不得大于32个汉字 !");
}

TEST_F(PlaneSettingsReading, ListNamesAndCountsAreReset) {
  net->knownCount = 9;
  net->sideCount = 40;
  net->pointCount = 12;
  form.nameList = {Gbk("甲"), "B"};
  ASSERT_TRUE(Read());
  EXPECT_EQ(Utf8(SlotText(net->nameList[0])), "甲");
  EXPECT_EQ(SlotText(net->nameList[1]), "B");
  EXPECT_EQ(net->knownCount + net->sideCount + net->pointCount + net->nameCount, 0);
}

TEST_F(PlaneSettingsReading, DisplayModeIsLimitedOnlyForAPrecisionEstimate) {
  net->displayMode = 7;
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->displayMode, 7);
  form.calcMode = kPrecisionEstimate;
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->displayMode, 6);
}

using PlaneTableReading = PlaneFormTest;

TEST_F(PlaneTableReading, BlanksAndBlankLines) {
  Type(kKnownPointsBox, "  A , 100.5 , 200.25 \r\n B,1,2\r\n\r\n  ");
  ASSERT_TRUE(Read());
  ASSERT_EQ(net->knownCount, 2);
  EXPECT_EQ(SlotText(net->pointName[0]), "A");
  EXPECT_EQ(net->x[0], 100.5);
  EXPECT_EQ(net->y[0], 200.25);

  // A blank line ends the table: the bad line after it is never read.
  Type(kKnownPointsBox, "A,1,2\r\n\r\nthis is not a point\r\n");
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->knownCount, 1);
}

TEST_F(PlaneTableReading, LinesAreCountedFromZero) {
  Type(kKnownPointsBox, "A,1\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "已知点坐标第[0]行数据不正确!");
  platform.messages.clear();
  Type(kKnownPointsBox, "A,1,2\r\nB,x,2\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "已知点坐标第[1]行X坐标不正确!");
}

TEST_F(PlaneTableReading, NumberFields) {
  Type(kKnownPointsBox, "A,-12.5,12.5-\r\nB, ,7\r\n");
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->x[0], -12.5);
  EXPECT_EQ(net->y[0], 12.5);
  EXPECT_EQ(net->x[1], 0.0);  // a blank X reads as 0

  for (const char* bad : {"+12.5", "1e5", "1.2.3", ""}) {
    platform.messages.clear();
    Type(kKnownPointsBox, std::string("A,1,") + bad + "\r\n");
    EXPECT_FALSE(Read()) << bad;
    EXPECT_EQ(Message(), "已知点坐标第[0]行Y坐标不正确!") << bad;
  }
}

TEST_F(PlaneTableReading, NamesAreOneToTenGbkBytes) {
  Type(kKnownPointsBox, "五个汉字名,1,2\r\n");
  ASSERT_TRUE(Read());
  EXPECT_EQ(Utf8(SlotText(net->pointName[0])), "五个汉字名");
  Type(kKnownPointsBox, "六个汉字点名,1,2\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "已知点坐标第[0]行起点点名[1--10个字符]不正确!");
}

// One bad line per table and check, with the message it must give.
struct BadLine {
  PlaneTextBox box;
  const char* line;
  const char* message;
};

TEST_F(PlaneTableReading, EveryTableNamesItsFault) {
  form.calcMode = kSlopeReduced;
  const BadLine cases[] = {
      {kApproxPointsBox, "AB", "已知概略点坐标第[0]行数据不正确!"},
      {kApproxPointsBox, ",1,2", "已知概略点坐标第[0]行数据不正确!"},
      {kApproxPointsBox, "ABCDEFGHIJK,1,2", "已知概略点坐标第[0]行起点点名[1--10个字符]不正确!"},
      {kApproxPointsBox, "A,1,", "已知概略点坐标第[0]行Y坐标不正确!"},
      {kPrecisionPairsBox, "A B", "精度端点第[0]行数据不正确!"},
      {kPrecisionPairsBox, "A,ABCDEFGHIJK", "精度端点第[0]行点名[1--10个字符]不正确!"},
      {kKnownHeightsBox, "A,x", "已知高程第[0]行高程值不正确!"},
      {kKnownHeightsBox, "ABCDEFGHIJK,1", "已知高程第[0]行点名[1--10个字符]不正确!"},
      {kDirectionsBox, "A,B", "方向观测值第[0]行数据不正确!"},
      {kDirectionsBox, "A,ABCDEFGHIJK,0", "方向观测值第[0]行终点点名[1--10个字符]不正确!"},
      {kDirectionsBox, "A,B,0.0.1", "方向观测值第[0]行高差不正确!"},
      {kFixedAzimuthsBox, "A,B,", "固定方位角第[0]行高差不正确!"},
      {kWeightedAzimuthsBox, "A,B,45", "带权方位角第[0]行数据不正确!"},
      {kWeightedAzimuthsBox, "A,B,45,w", "带权方位角第[0]行定权元素不正确!"},
      {kFixedDistancesBox, "ABCDEFGHIJK,B,1", "固定边长第[0]行起点点名[1--10个字符]不正确!"},
      {kWeightedDistancesBox, "A,B,100,1,2", "带权边长第[0]行定权元素不正确!"},
  };
  for (const BadLine& c : cases) {
    SetUp();
    form.calcMode = kSlopeReduced;
    Type(c.box, std::string(c.line) + "\r\n");
    EXPECT_FALSE(Read()) << c.line;
    EXPECT_EQ(platform.LastMessageUtf8(), c.message) << c.line;
  }
}

TEST_F(PlaneTableReading, NamesAreCheckedBeforeNumbersAndTablesInTheirOrder) {
  Type(kWeightedAzimuthsBox, "ABCDEFGHIJK,B,x,y\r\n");
  Type(kDirectionsBox, "A,B,x\r\n");
  EXPECT_FALSE(Read());
  // Directions come before weighted azimuths; the first failure stops everything.
  EXPECT_EQ(Message(), "方向观测值第[0]行高差不正确!");
}

TEST_F(PlaneTableReading, KnownHeightsAreReadOnlyWithSlopeDistances) {
  Type(kKnownHeightsBox, "not a height\r\n");
  EXPECT_TRUE(Read());
  EXPECT_EQ(net->knownHeightCount, 0);
  form.calcMode = kSlopeReduced;
  Type(kKnownHeightsBox, "H1,12.5\r\n");
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->knownHeightCount, 1);
  EXPECT_EQ(net->knownHeight[0], 12.5);
}

TEST_F(PlaneTableReading, FullTablesIgnoreFurtherLines) {
  std::string known;
  for (int i = 0; i < 1030; ++i) known += "P" + std::to_string(i) + ",1,2\r\n";
  Type(kKnownPointsBox, known);
  Type(kApproxPointsBox, "no room for this line\r\n");
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->knownCount, 1024);
  EXPECT_EQ(net->approxCount, 0);
}

TEST_F(PlaneTableReading, DamagedLimitsNeverOverflowATable) {
  net->limits[kLimitPoints] = 1 << 30;
  net->limits[kLimitSmallTable] = -5;
  std::string known;
  for (int i = 0; i < 1100; ++i) known += "P" + std::to_string(i) + ",1,2\r\n";
  Type(kKnownPointsBox, known);
  Type(kFixedAzimuthsBox, "A,B,1\r\n");
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->knownCount, 1024);
  EXPECT_EQ(net->fixedAzimuthCount, 0);
}

TEST_F(PlaneTableReading, KnownPointsMustSuitTheCalculationMode) {
  Type(kKnownPointsBox, "A,3805123.4,38512345.6\r\n");
  EXPECT_TRUE(Read());  // mode 1 takes coordinates as they are
  form.calcMode = kSlopeReduced;
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "已知点坐标未去掉带号 !");

  platform.messages.clear();
  Type(kKnownPointsBox, "A,3805123.4,12345.6\r\n");
  form.calcMode = kSlopeReducedProjected;
  EXPECT_TRUE(Read());
  form.calcMode = kNationalSystem;
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "已知点坐标不是国家系统坐标 !");
}

TEST_F(PlaneTableReading, EveryStationNeedsTwoDirections) {
  Type(kDirectionsBox, "A,B,0\r\nA,C,45.3\r\nB,A,0\r\nC,A,0\r\nC,B,20\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "[B]测站方向观测值只有一次 !");

  platform.messages.clear();
  Type(kDirectionsBox, "A,B,0\r\nA,C,45.3\r\n");
  ASSERT_TRUE(Read());
  ASSERT_EQ(net->directionCount, 2);
  EXPECT_EQ(net->direction[1], 45.3);
  EXPECT_EQ(SlotText(net->directionTarget[1]), "C");
  EXPECT_EQ(SlotText(net->inputTarget[1]), "C");
}

using PlaneDuplicateChecks = PlaneFormTest;

TEST_F(PlaneDuplicateChecks, GivenPointsWithOneName) {
  Type(kKnownPointsBox, "A,1,2\r\nB,3,4\r\n");
  Type(kApproxPointsBox, "C,5,6\r\nB,7,8\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "已知点和已知概略坐标点的[2]点和[4]点点名重复 !");
}

TEST_F(PlaneDuplicateChecks, ObservationsToTheStationItself) {
  Type(kDirectionsBox, "A,B,0\r\nA,C,10\r\n");
  Type(kFixedDistancesBox, "A,B,10\r\nC,C,10\r\n");
  Type(kWeightedAzimuthsBox, "A,B,10,1\r\nB,C,10,1\r\nC,C,10,1\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "第[3]个带权方位角点名重复!");  // weighted azimuths come before distances

  platform.messages.clear();
  Type(kWeightedAzimuthsBox, "");
  EXPECT_FALSE(Read());
  EXPECT_EQ(Message(), "第[2]个基线边点名重复!");
}

}  // namespace
}  // namespace qp
