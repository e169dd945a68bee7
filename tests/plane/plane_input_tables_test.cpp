// Reading the settings and tables of the plane input dialog: line and number
// rules, limits, the messages and the order of the checks.
#include <gtest/gtest.h>

#include "plane_form_fixture.h"

namespace qp {
namespace {

using PlaneInputReading = testing::PlaneFormTest;

TEST_F(PlaneInputReading, Settings) {
  form.directionError = "0";
  form.distanceFixedError = "-3";
  net->sideCount = 40;
  ASSERT_EQ(Read(), "");
  EXPECT_EQ(net->directionError, 1.0);
  EXPECT_EQ(net->distanceFixedError, 0.0);
  EXPECT_EQ(net->sideCount, 0);
  form.distanceScaleError = "-1";
  EXPECT_EQ(Read(), "固定误差和比例误差不能同时为零  !");

  form.distanceScaleError = "2";
  form.networkName = Gbk("十六个汉字的控制网名称正好三十二");  // 32 bytes
  EXPECT_EQ(Read(), "");
  form.networkName += "A";
  EXPECT_EQ(Read(), "控制网名不得大于32个汉字 !");

  form.networkName = "N";
  net->displayMode = 7;
  ASSERT_EQ(Read(), "");
  EXPECT_EQ(net->displayMode, 7);
  form.calcMode = kPrecisionEstimate;
  ASSERT_EQ(Read(), "");
  EXPECT_EQ(net->displayMode, 6);

  // Values that would give infinite weights or overrun their column of the
  // report header are refused by name; the largest that fit are taken.
  const struct {
    std::string PlaneInputForm::*field;
    const char* value;
    const char* message;
  } overflowing[] = {
      {&PlaneInputForm::directionError, "1e160", "验前中误差超出范围, 不能计算 !"},
      {&PlaneInputForm::directionError, "1e30", "验前中误差超出范围, 不能计算 !"},
      {&PlaneInputForm::directionError, "99999.99", ""},
      {&PlaneInputForm::directionError, "100000", "验前中误差超出范围, 不能计算 !"},
      {&PlaneInputForm::distanceFixedError, "1e300", "测距固定误差超出范围, 不能计算 !"},
      {&PlaneInputForm::distanceScaleError, "1e9", "测距比例误差超出范围, 不能计算 !"},
      {&PlaneInputForm::projectionHeight, "-1e8", "投影面高程超出范围, 不能计算 !"},
      {&PlaneInputForm::refraction, "1e6", "折光系数超出范围, 不能计算 !"},
      {&PlaneInputForm::yOffset, "500000000", ""},
      {&PlaneInputForm::yOffset, "5000000000", "Y坐标平移超出范围, 不能计算 !"},
  };
  for (const auto& c : overflowing) {
    const std::string kept = form.*c.field;
    form.*c.field = c.value;
    EXPECT_EQ(Read(), c.message) << c.value;
    form.*c.field = kept;
  }
}

TEST_F(PlaneInputReading, LineAndNumberRules) {
  Type(kKnownPointsBox, "  A , -12.5 , 12.5- \r\nB, ,7\r\n\r\nnot read\r\n  ");
  ASSERT_EQ(Read(), "");
  ASSERT_EQ(net->knownCount, 2);
  EXPECT_EQ(SlotText(net->pointName[0]), "A");
  EXPECT_EQ(net->x[0], -12.5);
  EXPECT_EQ(net->y[0], 12.5);
  EXPECT_EQ(net->x[1], 0.0);  // a blank X reads as 0
  // Directions are read into the input table and copied to the working table.
  Type(kDirectionsBox, "A,B,0\r\nA,C,45.3");
  ASSERT_EQ(Read(), "");
  EXPECT_EQ(net->direction[1], 45.3);
  EXPECT_EQ(SlotText(net->directionTarget[1]), "C");

  for (const char* bad : {"+12.5", "1e5", "1.2.3", ""}) {
    Type(kKnownPointsBox, std::string("A,1,2\r\nB,1,") + bad);
    EXPECT_EQ(Read(), "已知点坐标第[1]行Y坐标不正确!") << bad;
  }
  Type(kKnownPointsBox, "五个汉字名,1,2\r\n六个汉字点名,1,2");
  EXPECT_EQ(Read(), "已知点坐标第[1]行起点点名[1--10个字符]不正确!");
}

TEST_F(PlaneInputReading, EveryTableNamesItsFault) {
  struct BadLine {
    PlaneTextBox box;
    const char* line;
    const char* message;
  };
  const BadLine cases[] = {
      {kApproxPointsBox, ",1,2", "已知概略点坐标第[0]行数据不正确!"},
      {kApproxPointsBox, "A,x,2", "已知概略点坐标第[0]行X坐标不正确!"},
      {kPrecisionPairsBox, "AB", "精度端点第[0]行数据不正确!"},
      {kPrecisionPairsBox, "A,ABCDEFGHIJK", "精度端点第[0]行点名[1--10个字符]不正确!"},
      {kKnownHeightsBox, "A,x", "已知高程第[0]行高程值不正确!"},
      {kDirectionsBox, "A,ABCDEFGHIJK,0", "方向观测值第[0]行终点点名[1--10个字符]不正确!"},
      {kDirectionsBox, "A,B,0.0.1", "方向观测值第[0]行高差不正确!"},
      {kFixedAzimuthsBox, "A,B,", "固定方位角第[0]行高差不正确!"},
      {kWeightedAzimuthsBox, "A,B,45", "带权方位角第[0]行数据不正确!"},
      {kWeightedAzimuthsBox, "ABCDEFGHIJK,B,x,y", "带权方位角第[0]行起点点名[1--10个字符]不正确!"},
      {kWeightedAzimuthsBox, "A,B,45,w", "带权方位角第[0]行定权元素不正确!"},
      {kFixedDistancesBox, "A,B", "固定边长第[0]行数据不正确!"},
      {kWeightedDistancesBox, "A,B,100,1,2", "带权边长第[0]行定权元素不正确!"},
      {kWeightedDistancesBox, "A,B,x,1", "带权边长第[0]行高差不正确!"},
      {kFixedDistancesBox, "A,ABCDEFGHIJK,10", "固定边长第[0]行终点点名[1--10个字符]不正确!"},
      {kFixedAzimuthsBox, "ABCDEFGHIJK,B,10", "固定方位角第[0]行起点点名[1--10个字符]不正确!"},
      // Checks after a table, and the duplicate names after all tables.
      {kKnownPointsBox, "A,1,38512345.6", "已知点坐标未去掉带号 !"},
      {kDirectionsBox, "A,B,0\r\nA,C,45.3\r\nB,A,0\r\nC,A,0\r\nC,B,20", "[B]测站方向观测值只有一次 !"},
      {kWeightedAzimuthsBox, "A,B,10,1\r\nC,C,10,1", "第[2]个带权方位角点名重复!"},
      {kFixedDistancesBox, "A,B,10\r\nC,C,10", "第[2]个基线边点名重复!"},
  };
  for (const BadLine& c : cases) {
    SetUp();
    form.calcMode = kSlopeReduced;
    Type(c.box, c.line);
    EXPECT_EQ(Read(), c.message) << c.line;
  }
  // Tables are read in their order: directions before weighted azimuths.
  SetUp();
  Type(kWeightedAzimuthsBox, "ABCDEFGHIJK,B,x,y");
  Type(kDirectionsBox, "A,B,x");
  EXPECT_EQ(Read(), "方向观测值第[0]行高差不正确!");
  // Known heights are read only with slope distances.
  SetUp();
  Type(kKnownHeightsBox, "A,x");
  EXPECT_EQ(Read(), "");
}

TEST_F(PlaneInputReading, LimitsStopATableWithoutMessage) {
  std::string known;
  for (int i = 0; i < 1100; ++i) known += "P" + std::to_string(i) + ",1,2\r\n";
  Type(kKnownPointsBox, known);
  Type(kApproxPointsBox, "no room for this line");
  Type(kFixedAzimuthsBox, "A,B,1");
  // A damaged record can neither enlarge a table nor make its limit negative.
  net->limits[kLimitPoints] = 1 << 30;
  net->limits[kLimitSmallTable] = -5;
  ASSERT_EQ(Read(), "");
  EXPECT_EQ(net->knownCount, 1024);
  EXPECT_EQ(net->approxCount, 0);
  EXPECT_EQ(net->fixedAzimuthCount, 0);
}

TEST_F(PlaneInputReading, NationalSystemAndGivenPointNames) {
  Type(kKnownPointsBox, "A,3805123.4,12345.6\r\nB,3,4");
  form.calcMode = kSlopeReducedProjected;
  EXPECT_EQ(Read(), "");
  form.calcMode = kNationalSystem;
  EXPECT_EQ(Read(), "已知点坐标不是国家系统坐标 !");
  form.calcMode = kReducedObservations;
  Type(kApproxPointsBox, "C,5,6\r\nB,7,8");
  EXPECT_EQ(Read(), "已知点和已知概略坐标点的[2]点和[4]点点名重复 !");
  // Several repeated names: the first point that has a later namesake, and
  // its next namesake.
  Type(kKnownPointsBox, "X,1,2\r\nY,3,4\r\nP,1,1");
  Type(kApproxPointsBox, "Y,5,6\r\nX,7,8");
  EXPECT_EQ(Read(), "已知点和已知概略坐标点的[1]点和[5]点点名重复 !");
  Type(kKnownPointsBox, "Q,1,2\r\nA,3,4\r\nB,1,1");
  Type(kApproxPointsBox, "B,5,6\r\nA ,7,8\r\nB,9,9\r\nA,2,2");
  EXPECT_EQ(Read(), "已知点和已知概略坐标点的[2]点和[5]点点名重复 !");
}

}  // namespace
}  // namespace qp
