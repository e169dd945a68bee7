// Distance lines in every calculation mode and column order, and the reduced
// distances formed from them.
#include <gtest/gtest.h>

#include <cmath>

#include "plane_form_fixture.h"

namespace qp {
namespace {

using PlaneDistanceLines = testing::PlaneFormTest;

TEST_F(PlaneDistanceLines, EveryModeAndOrderNamesItsFault) {
  struct Case {
    int mode, order, kind;
    const char* line;
    const char* message;
  };
  const std::string hugeHeight = "A,B,100,1" + std::string(60, '0') + ",1.6,2.3";
  const Case cases[] = {
      {1, 0, 0, "A,B,100.000", ""},
      {1, 0, 0, "A,B,100.000,1.5", "边长观测值第[0]行输入不正确或平差计算方式选择不正确!"},
      {1, 0, 0, "ABCDEFGHIJK,B,x", "边长观测值第[0]行起点点名[1--10个字符]不正确!"},
      {1, 0, 0, "A, ,x", "边长观测值第[0]行终点点名[1--10个字符]不正确!"},
      {1, 0, 0, "A,B,x", "边长观测值第[0]行高差不正确!"},
      {2, 0, 0, "A,B", "边长观测值第[0]行数据不正确!"},
      {2, 0, 0, "A,B,100.000", "边长观测值第[0]行输入不正确!"},
      {2, 0, 0, "A,B,100,1.5,,2.3", "边长观测值第[0]行输入不正确!"},
      {2, 0, 0, "A,B,100,x,1.6,2.3", "边长观测值第[0]行仪器高不正确!"},
      {2, 0, 0, "A,B,100,1.5, ,2.3", "边长观测值第[0]行目标高不正确!"},
      {2, 0, 0, "ABCDEFGHIJK,B,x,1,2,2.3,4", "边长观测值第[0]行竖角不正确!"},
      {2, 0, 0, "ABCDEFGHIJK,B,x,1,2,3", "边长观测值第[0]行起点点名[1--10个字符]不正确!"},
      {2, 0, 0, hugeHeight.c_str(), "边长观测值第[0]行仪器高不正确!"},  // beyond single precision
      {3, 1, 0, "A,B,100,x,1.5,1.6", "边长观测值第[0]行竖直角不正确!"},
      {3, 1, 0, "A,B,100,2.3,x,1.6", "边长观测值第[0]行仪器高不正确!"},
      {3, 1, 0, "A,B,100,2.3,1.5,1.6,7", "边长观测值第[0]行目标高不正确!"},
      {2, 0, 0, "A,B,100,1.5,1.6,75.0001", "边长观测值第[0]行竖角不正确!"},
      {2, 0, 0, "A,B,100,1.5,1.6,75", ""},
      {4, 1, 1, "A,B,100,14.5959,1.5,1.6", "边长观测值第[0]行天顶距不正确!"},
      {4, 1, 1, "A,B,100,15,1.5,1.6", ""},
  };
  for (const Case& c : cases) {
    SetUp();
    form.calcMode = c.mode;
    form.distanceColumnOrder = c.order;
    form.verticalAngleKind = c.kind;
    form.yOffset = "500000";
    Type(kDistanceLinesBox, c.line);
    EXPECT_EQ(Read(), c.message) << c.line;
  }
  // Heights are kept in single precision.
  SetUp();
  form.calcMode = kSlopeReduced;
  Type(kDistanceLinesBox, "A,B,100.5,1.5,1.6,2.3");
  ASSERT_EQ(Read(), "");
  EXPECT_EQ(net->targetHeight[0], 1.6f);
  EXPECT_EQ(net->verticalAngle[0], 2.3);
}

TEST_F(PlaneDistanceLines, HorizontalDistancesAreCopiedUpToTheLimit) {
  std::string lines;
  for (int i = 0; i < 2100; ++i) lines += "A" + std::to_string(i) + ",B,100.7\r\n";
  Type(kDistanceLinesBox, lines);
  ASSERT_EQ(Read(), "");
  EXPECT_EQ(net->distanceLineCount, 2100);
  EXPECT_EQ(net->reducedCount, 2048);
  EXPECT_EQ(SlotText(net->reducedFrom[2047]), "A2047");
  EXPECT_EQ(net->reducedLength[2047], 100.7);
}

// Worked by hand to 30 digits, K = 0.14, R = 6373000 m:
// A->B 1000.000 m, vertical angle 5°30'00", instrument 1.50, target 1.20:
//   h = 95.91260484, D = 995.38975895, dh = 96.21260484
// B->A 1000.020 m, vertical angle -5°29'50", instrument 1.45, target 1.60:
//   D = 995.42718387, dh = -95.88255457
TEST_F(PlaneDistanceLines, SlopeReductionMatchesAHandComputation) {
  const auto r = ReduceSlopeDistance(1000.0, 5.3, 0, 0.14, 1.5, 1.2);
  ASSERT_TRUE(r);
  EXPECT_NEAR(r->length, 995.38975895, 1e-7);
  EXPECT_NEAR(r->heightDiff, 96.21260484, 1e-7);
  for (double zenith : {84.3, 275.3}) {  // the same sight as zenith distances, both faces
    const auto z = ReduceSlopeDistance(1000.0, zenith, 1, 0.14, 1.5, 1.2);
    EXPECT_NEAR(z->length, r->length, 1e-8) << zenith;
    EXPECT_NEAR(z->heightDiff, r->heightDiff, 1e-8) << zenith;
  }

  form.calcMode = kSlopeReduced;
  Type(kDistanceLinesBox, "A,B,1000.000,1.50,1.20,5.3\r\nC,A,500,1.5,1.5,0\r\nB,A,1000.020,1.45,1.60,-5.2950");
  ASSERT_EQ(Read(), "");
  ASSERT_EQ(net->reducedCount, 2);
  EXPECT_EQ(SlotText(net->reducedFrom[0]), "A");
  EXPECT_NEAR(net->reducedLength[0], (995.38975895 + 995.42718387) / 2, 1e-6);
  EXPECT_NEAR(net->reducedHeightDiff[0], (96.21260484 + 95.88255457) / 2, 1e-6);  // float heights
  EXPECT_NEAR(net->reducedLength[1], 500.0 - 2.85e-7, 1e-9);  // curvature even on a level sight
}

TEST_F(PlaneDistanceLines, RepeatedAndDegenerateLines) {
  form.calcMode = kSlopeReduced;
  Type(kDistanceLinesBox, "A,B,100,1,1,0\r\nA,B,200,1,1,0");  // the repeat is passed over
  ASSERT_EQ(Read(), "");
  ASSERT_EQ(net->reducedCount, 1);
  EXPECT_NEAR(net->reducedLength[0], 100.0, 1e-8);
  Type(kDistanceLinesBox, "A,B,100,1,1,0\r\nB,A,100,1,1,0\r\nB,A,100,1,1,0");
  EXPECT_EQ(Read(), "[A]-[B]边长观测值重复输入2次以上 !");

  // A plumb sight has no horizontal length; a length too large to square is refused.
  const auto plumb = ReduceSlopeDistance(50.0, 180.0, 1, 0.14, 0.0, 0.0);
  ASSERT_TRUE(plumb);
  EXPECT_EQ(plumb->length, 0.0);
  Type(kDistanceLinesBox, "A,B,100,1,1,0\r\nC,D,1" + std::string(200, '0') + ",1,1,0");
  EXPECT_EQ(Read(), "边长观测值第[1]行高差不正确!");
  EXPECT_FALSE(std::isnan(net->reducedLength[0]));
}

}  // namespace
}  // namespace qp
