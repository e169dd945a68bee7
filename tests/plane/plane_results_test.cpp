#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "geodesy/angles.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_model_record.h"
#include "independent_adjustment.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;
using testing::TempDir;

TEST(CorrectionPrompt, AsksOnlyBeyondTheLimitOfItsKindAndMode) {
  struct Case {
    CorrectionKind kind;
    AdjustmentMode mode;
    double constant;
    bool asks;
  };
  const Case cases[] = {
      {CorrectionKind::Angle, AdjustmentMode::Adjusting, 10800.0, false},
      {CorrectionKind::Angle, AdjustmentMode::Adjusting, -10800.001, true},
      {CorrectionKind::Angle, AdjustmentMode::Estimating, 36000.0, false},
      {CorrectionKind::Angle, AdjustmentMode::Estimating, 36000.5, true},
      {CorrectionKind::Length, AdjustmentMode::Adjusting, 5000.0, true},  // 50 m off
      {CorrectionKind::Length, AdjustmentMode::Estimating, 5000.0, false},
      {CorrectionKind::Length, AdjustmentMode::Estimating, -10000.0, false},
      {CorrectionKind::Length, AdjustmentMode::Estimating, 10000.01, true},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.constant);
    ScriptedPlatform platform;
    // Unanswered, the question takes its default button: No, which stops.
    EXPECT_EQ(CorrectionPrompt(AskingThrough(platform), cs.kind, cs.mode, "A", "B", cs.constant), !cs.asks);
    ASSERT_EQ(platform.questions.size(), cs.asks ? 1u : 0u);
    if (cs.asks) {
      EXPECT_EQ(platform.questionDefaults[0], Answer::No);
      platform.Answering({Answer::Yes});
      EXPECT_TRUE(CorrectionPrompt(AskingThrough(platform), cs.kind, cs.mode, "A", "B", cs.constant));
    }
  }
  ScriptedPlatform platform;
  CorrectionPrompt(AskingThrough(platform), CorrectionKind::Angle, AdjustmentMode::Adjusting, "A", "B", 10800.001);
  CorrectionPrompt(AskingThrough(platform), CorrectionKind::Length, AdjustmentMode::Adjusting, "A", "B", -1000.5);
  EXPECT_EQ(platform.QuestionsUtf8(),
            (std::vector<std::string>{"方向改正数(A - B)为:10800.001000秒\n\n继续按<是>;  返回按<否>",
                                      "边长改正数(A - B)为:-1000.500000厘米\n\n继续按<是>;  返回按<否>"}));
}

// A small record with hand-made cofactors, so that every figure of the
// precision section is known in advance.
struct PrecisionFixture : ::testing::Test {
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  std::unique_ptr<NormalEquationStore> q = std::make_unique<NormalEquationStore>();
  ScriptedPlatform platform;
  TempDir dir;
  ReportFile report;
  SectionNumber section;

  void SetUp() override {
    ResetPlaneNetwork(*net, "net.NAP");
    // K1, K2 known; P, R, S unknown (unknowns 0-1, 2-3, 4-5).
    const char* names[] = {"K1", "K2", "P", "R", "S"};
    const double xy[][2] = {{0, 0}, {5000, 0}, {300, 400}, {300, 1400}, {300, 200400}};
    for (int p = 0; p < 5; ++p) {
      SetSlotText(net->pointName[p], names[p]);
      net->x[p] = xy[p][0];
      net->y[p] = xy[p][1];
    }
    net->pointCount = 5;
    net->knownCount = 2;
    net->unknownPointCount = 3;
    q->Clear(6);
    q->At(0, 0) = q->At(1, 1) = 0.25;                        // P: a circle
    q->At(2, 2) = q->At(3, 3) = 0.25, q->At(3, 2) = 0.1;     // R: as large, turned by 45 degrees
    q->At(4, 4) = 0.09, q->At(5, 5) = 0.04;                  // S
    q->At(4, 0) = 0.05, q->At(5, 1) = 0.02;                  // S with P
    auto side = [&](int s, const char* a, const char* b) {
      SetSlotText(net->sideFrom[s], a);
      SetSlotText(net->sideTo[s], b);
      net->sideMs[s] = 99.0f;  // stale values of an earlier computation
    };
    side(0, "K1", "K2");
    side(1, "P", "K1");
    side(2, "P", "R");
    net->sideCount = 3;
    SetSlotText(net->pairFirst[0], "R");
    SetSlotText(net->pairSecond[0], "K2");
    SetSlotText(net->pairFirst[1], "S");
    SetSlotText(net->pairSecond[1], "P");
    net->precisionPairCount = 2;
    net->pointE[0] = 7.0f;
  }
  std::string Write(double sigma0) {
    report.Create(dir.File("net.txt"));
    PlaneModel model = PlaneModelFromRecord(*net);
    PlaneComputation c{model, *q, AskingThrough(platform), report, section, ""};
    ReportPlanePrecision(c, sigma0);
    PutPlaneResults(model, *net);
    report.Close();
    return GbkToUtf8(testing::ReadBytes(dir.File("net.txt")));
  }
};

// Weakest point among equals is the first; a side needs one new end point,
// a precision pair two; pairs are listed in point order; the relative
// precision is capped at 1/1000万.
TEST_F(PrecisionFixture, WritesEveryFigureOfThePrecisionSection) {
  section.value = 8;
  const std::string rule = "  " + std::string(63, '-') + "\r\n";
  const std::string expected =
      "\r\n\r\n                 8.精度评定<单位权中误差=2.000  >\r\n" + rule +
      "                      单位权中误差=  2.000\r\n"
      "         最弱点点位中误差(               P)=    1.41厘米\r\n" +
      rule +
      "  未知数X中误差:mx厘米; 未知数Y中误差:my厘米; 点位中误差:mxy厘米\r\n"
      "  误差椭圆长半轴:E厘米; 误差椭圆短半轴:F厘米; 长半轴方位角:Q度.分\r\n"
      "  方位角中误差:mt秒;    边长中误差:ms厘米; 边长相对中误差:m/s(万)\r\n" +
      rule +
      "     1  P               \r\n"
      "        E=1.00  F=1.00  Q=0.00    mx=1.00  my=1.00  mxy=1.41  \r\n"
      "     2  R               \r\n"
      "        E=1.18  F=0.77  Q=45.00   mx=1.00  my=1.00  mxy=1.41  \r\n"
      "     3  S               \r\n"
      "        E=0.60  F=0.40  Q=0.00    mx=0.60  my=0.40  mxy=0.72  \r\n"
      "     4  K1              P               \r\n"
      "        E=1.00  F=1.00  Q=0.00    mt=4.13  ms=1.00  m/s=1/5.0  \r\n"
      "     5  P               R               \r\n"
      "        E=1.55  F=1.26  Q=45.00   mt=2.92  ms=1.41  m/s=1/7.1  \r\n"
      "     6  P               S               \r\n"
      "        E=1.00  F=0.98  Q=90.00   mt=0.01  ms=1.00  m/s=1/1000.0\r\n" +
      rule;
  EXPECT_EQ(Write(2.0), expected);
  EXPECT_EQ(section.value, 9);

  EXPECT_FLOAT_EQ(net->pointE[2], 1.0f);
  EXPECT_NEAR(net->pointQ[3], 45.0f, 1e-5);
  EXPECT_EQ(net->pointE[0], 0.0f);  // a known point has no ellipse
  EXPECT_EQ(net->sideMs[0], 0.0f);  // nor has a side between two of them
  EXPECT_FLOAT_EQ(net->sideMs[1], 1.0f);
  EXPECT_NEAR(net->sideMt[2], 2.917, 1e-3);
  EXPECT_EQ(net->pairMs[0], 0.0f);
  EXPECT_FLOAT_EQ(net->pairMs[1], 1.0f);
  EXPECT_FLOAT_EQ(net->pairF[1], static_cast<float>(2.0 * std::sqrt(0.24)));
  EXPECT_NEAR(net->pairQ[1], 90.0f, 1e-5);
}

// A cofactor matrix that is no matrix at all still prints numbers.
TEST_F(PrecisionFixture, NeverPrintsANumberThatIsNone) {
  q->At(0, 0) = std::nan("");
  q->At(5, 5) = HUGE_VAL;
  const std::string text = Write(std::nan(""));
  EXPECT_EQ(text.find("nan"), std::string::npos) << text;
  EXPECT_EQ(text.find("inf"), std::string::npos) << text;
}

// Weighted azimuths compare across north without a full circle, and the
// weighted sides show their own end points.
TEST(ReportWeightedObservations, FoldsTheAzimuthAcrossNorth) {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "net.NAP");
  SetSlotText(net->pointName[0], "A");
  SetSlotText(net->pointName[1], "B");
  SetSlotText(net->pointName[2], "C");
  net->x[0] = 1000.0, net->y[0] = 1000.0;
  net->x[1] = 2000.0, net->y[1] = 1000.0 + 1000.0 * std::tan(kSecondInRadians);  // 0°00'01"
  net->x[2] = 1000.0, net->y[2] = 1500.0;
  net->pointCount = 3;
  net->knownCount = 1;
  SetSlotText(net->weightedAzimuthFrom[0], "A");
  SetSlotText(net->weightedAzimuthTo[0], "B");
  net->weightedAzimuth[0] = 359.5959;
  net->weightedAzimuthWeight[0] = 3.0;
  net->weightedAzimuthCount = 1;
  SetSlotText(net->weightedDistanceFrom[0], "C");
  SetSlotText(net->weightedDistanceTo[0], "A");
  net->weightedDistance[0] = 500.02;
  net->weightedDistanceWeight[0] = 0.5;
  net->weightedDistanceCount = 1;

  testing::Computation run;
  PlaneComputation c = run.Start(*net);
  const double sum = ReportWeightedObservations(c);
  run.report.Close();
  EXPECT_NEAR(sum, 3.0 * 2.0 * 2.0 + 0.5 * 2.0 * 2.0, 1e-6);
  const std::string text = run.Report();
  EXPECT_NE(text.find("    1  A          B                        2.000        0.0001000\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    1  C          A                       -2.000         500.0000\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("                 2.加权边长平差值和改正数<个数:1>"), std::string::npos);

  // The observation equation of the same azimuth carries the folded constant.
  run.normals->Clear(4);
  ASSERT_TRUE(FormWeightedAzimuthSideEquations(c, AdjustmentMode::Adjusting));
  EXPECT_TRUE(run.platform.questions.empty());
}

// Two targets on either side of north, observed one second apart in the
// other order: the constant is a few seconds, not a full circle.
TEST(FormDirectionEquations, FoldsTheConstantAcrossTheZeroDirection) {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "net.NAP");
  const char* names[] = {"S", "A", "B"};
  const double xy[][2] = {{0.0, 0.0}, {1000.0, 1000.0 * std::tan(kSecondInRadians)},
                          {2000.0, -2000.0 * std::tan(kSecondInRadians)}};
  for (int p = 0; p < 3; ++p) {
    SetSlotText(net->pointName[p], names[p]);
    net->x[p] = xy[p][0];
    net->y[p] = xy[p][1];
  }
  net->pointCount = 3;
  net->knownCount = 1;
  net->directionCount = 2;
  SetSlotText(net->directionStation[0], "S");
  SetSlotText(net->directionTarget[0], "A");
  SetSlotText(net->directionStation[1], "S");
  SetSlotText(net->directionTarget[1], "B");
  net->direction[1] = 0.0001;  // B observed 1" clockwise of A, computed 2" anticlockwise
  net->setStart[0] = 0;
  net->setStart[1] = net->setStart[2] = net->setStart[3] = 2;
  testing::Computation run;
  PlaneComputation c = run.Start(*net);
  const auto& normals = run.normals;
  normals->Clear(4);
  ASSERT_TRUE(FormDirectionEquations(c, AdjustmentMode::Adjusting));
  EXPECT_TRUE(run.platform.questions.empty());
  // U of B's dY: the direction (constant -3") and the set's sum equation.
  const double b = -kRhoPerCm * 2000.0 / (2000.0 * 2000.0 + xy[2][1] * xy[2][1]);
  EXPECT_NEAR(normals->Rhs()[3], -b * -3.0 + 0.5 * b * -3.0, 1e-6);
}

TEST(ExportPointCoordinates, WritesEveryPointOrNothing) {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "net.NAP");
  SetSlotText(net->pointName[0], Gbk("城北"));
  SetSlotText(net->pointName[1], "N2");
  net->x[0] = 3803456.78931, net->y[0] = 515432.1;
  net->x[1] = -2.5, net->y[1] = 0.0;
  net->pointCount = 1;
  TempDir dir;
  EXPECT_EQ(CoordinateExportPathFor(dir.File("NET.NAP")), dir.File("NET坐标数据.txt"));
  const std::string path = CoordinateExportPathFor(dir.File("NET.NAP"));
  ExportPointCoordinates(PlaneModelFromRecord(*net), path);
  EXPECT_FALSE(std::ifstream(path).good());  // a single point is no network
  net->pointCount = 2;
  ExportPointCoordinates(PlaneModelFromRecord(*net), path);
  EXPECT_EQ(testing::ReadBytes(path), Gbk("城北") + ", 3803456.789310,  515432.100000\r\nN2,      -2.500000,       0.000000\r\n");
  ExportPointCoordinates(PlaneModelFromRecord(*net), dir.File("missing/x.txt"));  // silently skipped
}

}  // namespace
}  // namespace qp
