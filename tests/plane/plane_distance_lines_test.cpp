// Distance lines in every calculation mode and column order, and the reduced
// distances formed from them.
#include <gtest/gtest.h>

#include <cmath>

#include "plane_form_fixture.h"

namespace qp {
namespace {

using testing::PlaneFormTest;

struct PlaneDistanceLines : PlaneFormTest {
  void SlopeMode(int order = 0, int kind = 0) {
    form.calcMode = kSlopeReduced;
    form.distanceColumnOrder = order;
    form.verticalAngleKind = kind;
  }
  // Reads one distance line and returns the message it gave ("" when accepted).
  std::string ReadLine(const std::string& line) {
    platform.messages.clear();
    Type(kDistanceLinesBox, line + "\r\n");
    const bool ok = Read();
    EXPECT_EQ(ok, platform.messages.empty()) << line;
    return platform.LastMessageUtf8();
  }
};

TEST_F(PlaneDistanceLines, FieldCountMustSuitTheMode) {
  EXPECT_EQ(ReadLine("A,B,100.000,1.5"), "边长观测值第[0]行输入不正确或平差计算方式选择不正确!");
  EXPECT_EQ(ReadLine("A,B,100.000"), "");
  SlopeMode();
  EXPECT_EQ(ReadLine("A,B,100.000"), "边长观测值第[0]行输入不正确!");
  EXPECT_EQ(ReadLine("A,B,100.000,1.5,1.6"), "边长观测值第[0]行输入不正确!");
  EXPECT_EQ(ReadLine("A,B"), "边长观测值第[0]行数据不正确!");
  EXPECT_EQ(ReadLine("A,B,100,1.5,1.6,2.3"), "");
}

TEST_F(PlaneDistanceLines, ColumnOrderDecidesMeaningAndMessage) {
  SlopeMode(0);
  ASSERT_EQ(ReadLine("A,B,100.5,1.5,1.6,2.3"), "");
  EXPECT_EQ(net->lineDistance[0], 100.5);
  EXPECT_EQ(net->instrumentHeight[0], 1.5f);
  EXPECT_EQ(net->targetHeight[0], 1.6f);  // stored in single precision
  EXPECT_EQ(net->verticalAngle[0], 2.3);
  EXPECT_EQ(ReadLine("A,B,100,x,1.6,2.3"), "边长观测值第[0]行仪器高不正确!");
  EXPECT_EQ(ReadLine("A,B,100,1.5, ,2.3"), "边长观测值第[0]行目标高不正确!");
  EXPECT_EQ(ReadLine("A,B,100,1.5,,2.3"), "边长观测值第[0]行输入不正确!");  // no field between the commas
  EXPECT_EQ(ReadLine("A,B,100,1.5,1.6,2.3,4"), "边长观测值第[0]行竖角不正确!");

  SlopeMode(1);
  ASSERT_EQ(ReadLine("A,B,100.5,2.3,1.5,1.6"), "");
  EXPECT_EQ(net->verticalAngle[0], 2.3);
  EXPECT_EQ(net->instrumentHeight[0], 1.5f);
  EXPECT_EQ(net->targetHeight[0], 1.6f);
  EXPECT_EQ(ReadLine("A,B,100,x,1.5,1.6"), "边长观测值第[0]行竖直角不正确!");
  EXPECT_EQ(ReadLine("A,B,100,2.3,x,1.6"), "边长观测值第[0]行仪器高不正确!");
  EXPECT_EQ(ReadLine("A,B,100,2.3,1.5,1.6,7"), "边长观测值第[0]行目标高不正确!");
}

TEST_F(PlaneDistanceLines, ChecksRunInTheirOrder) {
  // Modes 0-1: the extra comma before the names, the names before the distance.
  EXPECT_EQ(ReadLine("ABCDEFGHIJK,B,x,1"), "边长观测值第[0]行输入不正确或平差计算方式选择不正确!");
  EXPECT_EQ(ReadLine("ABCDEFGHIJK,B,x"), "边长观测值第[0]行起点点名[1--10个字符]不正确!");
  EXPECT_EQ(ReadLine("A, ,x"), "边长观测值第[0]行终点点名[1--10个字符]不正确!");
  EXPECT_EQ(ReadLine("A,B,x"), "边长观测值第[0]行高差不正确!");
  // Modes 2-4: fields 4 to 6 before the names.
  SlopeMode();
  EXPECT_EQ(ReadLine("ABCDEFGHIJK,B,x,1,2,y"), "边长观测值第[0]行竖角不正确!");
  EXPECT_EQ(ReadLine("ABCDEFGHIJK,B,x,1,2,3"), "边长观测值第[0]行起点点名[1--10个字符]不正确!");
  // A height that does not fit the record's single precision is no height.
  EXPECT_EQ(ReadLine("A,B,100,1" + std::string(60, '0') + ",1.6,2.3"), "边长观测值第[0]行仪器高不正确!");
}

TEST_F(PlaneDistanceLines, SteepSightsAreRefused) {
  SlopeMode(0, 0);
  EXPECT_EQ(ReadLine("A,B,100,1.5,1.6,75.0001"), "边长观测值第[0]行竖角不正确!");
  EXPECT_EQ(ReadLine("A,B,100,1.5,1.6,75"), "");
  EXPECT_EQ(ReadLine("A,B,100,1.5,1.6,-80"), "");
  SlopeMode(0, 1);
  EXPECT_EQ(ReadLine("A,B,100,1.5,1.6,14.5959"), "边长观测值第[0]行天顶距不正确!");
  EXPECT_EQ(ReadLine("A,B,100,1.5,1.6,15"), "");
}

TEST_F(PlaneDistanceLines, HorizontalDistancesAreCopied) {
  std::string lines;
  for (int i = 0; i < 2100; ++i) lines += "A" + std::to_string(i) + ",B,100." + std::to_string(i % 10) + "\r\n";
  Type(kDistanceLinesBox, lines);
  ASSERT_TRUE(Read());
  EXPECT_EQ(net->distanceLineCount, 2100);
  EXPECT_EQ(net->reducedCount, 2048);
  EXPECT_EQ(SlotText(net->reducedFrom[2047]), "A2047");
  EXPECT_EQ(net->reducedLength[2047], 100.7);
  EXPECT_EQ(net->reducedHeightDiff[2047], 0.0);
}

// Slope reduction worked by hand (30 digits), K = 0.14, R = 6373000 m:
// A->B 1000.000 m, vertical angle 5°30'00", instrument 1.50, target 1.20:
//   h = 95.91260484, D = 995.38975895, dh = 96.21260484
// B->A 1000.020 m, vertical angle -5°29'50", instrument 1.45, target 1.60:
//   h = -95.73255457, D = 995.42718387, dh = -95.88255457
TEST_F(PlaneDistanceLines, SlopeReductionMatchesAHandComputation) {
  const auto r = ReduceSlopeDistance(1000.0, 5.3, 0, 0.14, 1.5, 1.2);
  ASSERT_TRUE(r);
  EXPECT_NEAR(r->length, 995.38975895, 1e-7);
  EXPECT_NEAR(r->heightDiff, 96.21260484, 1e-7);
  // The same sight as a zenith distance, read in either face.
  for (double zenith : {84.3, 275.3}) {
    const auto z = ReduceSlopeDistance(1000.0, zenith, 1, 0.14, 1.5, 1.2);
    ASSERT_TRUE(z);
    EXPECT_NEAR(z->length, r->length, 1e-8) << zenith;
    EXPECT_NEAR(z->heightDiff, r->heightDiff, 1e-8) << zenith;
  }
}

TEST_F(PlaneDistanceLines, ReciprocalDistancesAreMeaned) {
  SlopeMode();
  Type(kDistanceLinesBox, "A,B,1000.000,1.50,1.20,5.3\r\nC,A,500,1.5,1.5,0\r\nB,A,1000.020,1.45,1.60,-5.2950\r\n");
  ASSERT_TRUE(Read());
  ASSERT_EQ(net->reducedCount, 2);
  EXPECT_EQ(SlotText(net->reducedFrom[0]), "A");
  EXPECT_EQ(SlotText(net->reducedTo[0]), "B");
  EXPECT_NEAR(net->reducedLength[0], 995.40847141, 1e-6);
  EXPECT_NEAR(net->reducedHeightDiff[0], 96.04757971, 1e-6);  // float heights: about 5e-8 off
  EXPECT_EQ(SlotText(net->reducedFrom[1]), "C");
  EXPECT_NEAR(net->reducedLength[1], 500.0 - 2.85e-7, 1e-9);  // curvature even on a level sight
}

TEST_F(PlaneDistanceLines, RepeatedLines) {
  SlopeMode();
  // A second line in the same direction is passed over.
  Type(kDistanceLinesBox, "A,B,100,1,1,0\r\nA,B,200,1,1,0\r\n");
  ASSERT_TRUE(Read());
  ASSERT_EQ(net->reducedCount, 1);
  EXPECT_NEAR(net->reducedLength[0], 100.0, 1e-8);
  // Two lines back against one forward cannot be paired.
  Type(kDistanceLinesBox, "A,B,100,1,1,0\r\nB,A,100,1,1,0\r\nB,A,100,1,1,0\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(platform.LastMessageUtf8(), "[A]-[B]边长观测值重复输入2次以上 !");
}

TEST_F(PlaneDistanceLines, DegenerateSightsLeaveNoNaN) {
  // A plumb sight has no horizontal length.
  const auto plumb = ReduceSlopeDistance(50.0, 180.0, 1, 0.14, 0.0, 0.0);
  ASSERT_TRUE(plumb);
  EXPECT_EQ(plumb->length, 0.0);
  EXPECT_NEAR(plumb->heightDiff, -50.0, 1e-9);
  // A length too large to square is refused at its line.
  SlopeMode();
  Type(kDistanceLinesBox, "A,B,100,1,1,0\r\nC,D,1" + std::string(200, '0') + ",1,1,0\r\n");
  EXPECT_FALSE(Read());
  EXPECT_EQ(platform.LastMessageUtf8(), "边长观测值第[1]行高差不正确!");
  EXPECT_FALSE(std::isnan(net->reducedLength[0]));
}

}  // namespace
}  // namespace qp
