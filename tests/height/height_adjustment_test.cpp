// The height adjustment and precision estimate, checked against an
// independent dense least-squares solution computed here: adjusted heights,
// sigma0, point, height-difference and pair errors, for levelling,
// trigonometric and free networks.
#include "height/height_adjustment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "common/binary_file.h"
#include "workflow/height_workflow.h"
#include "height/height_model_record.h"
#include "height_dense_reference.h"
#include "height_form_fixture.h"

namespace qp {
namespace {

struct Solution {
  std::vector<double> heights;  // every point, m
  testing::Matrix q;            // cofactors of the unknown points (mm^2 per unit weight)
  double pvv = 0.0;
  double sigma0 = 0.0;
};

// Least squares over the confirmed record's observations: min sum p v^2, the
// known heights fixed; without known points the corrections to the
// approximate heights sum to zero (bordered system).
Solution DenseSolution(const HeightNetwork& record) {
  const HeightModel m = HeightModelFromRecord(record);
  const testing::DenseHeightSolution dense = testing::SolveDenseHeights(m);
  Solution s{dense.heights, dense.q};
  for (size_t i = 0; i < m.differences.size(); ++i) {
    const HeightDifference& d = m.differences[i];
    const double v = (s.heights[d.to] - s.heights[d.from] - d.observed) * 1000.0;
    s.pvv += dense.p[i] * v * v;
  }
  const int n = static_cast<int>(m.differences.size());
  s.sigma0 = std::sqrt(s.pvv / (n - dense.u + (dense.known == 0 ? 1 : 0)));
  return s;
}

// A levelling grid: rows x cols points with true heights, lines to the right
// and downwards with noise, typed in the input format.
struct GridNetwork {
  std::string known, approx, differences, pairs;
};

GridNetwork MakeGrid(int rows, int cols, std::mt19937& rng, bool withKnown) {
  std::normal_distribution<double> noise(0.0, 0.002);
  std::uniform_real_distribution<double> length(0.3, 2.5);
  auto name = [&](int r, int c) { return "G" + std::to_string(r) + "_" + std::to_string(c); };
  auto trueHeight = [&](int r, int c) { return 50.0 + 3.1 * r - 1.7 * c + 0.13 * r * c; };
  GridNetwork g;
  char buf[160];
  if (withKnown) {
    std::snprintf(buf, sizeof buf, "%s,%.4f\r\n%s,%.4f\r\n", name(0, 0).c_str(), trueHeight(0, 0),
                  name(rows - 1, cols - 1).c_str(), trueHeight(rows - 1, cols - 1));
    g.known = buf;
  } else {
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < cols; ++c) {
        std::snprintf(buf, sizeof buf, "%s,%.3f\r\n", name(r, c).c_str(), trueHeight(r, c) + 0.01 * ((r + c) % 3));
        g.approx += buf;
      }
    }
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      for (auto [dr, dc] : {std::pair{0, 1}, std::pair{1, 0}}) {
        if (r + dr >= rows || c + dc >= cols) continue;
        const double h = trueHeight(r + dr, c + dc) - trueHeight(r, c) + noise(rng);
        std::snprintf(buf, sizeof buf, "%s,%s,%.5f,%.3f\r\n", name(r, c).c_str(), name(r + dr, c + dc).c_str(), h,
                      length(rng));
        g.differences += buf;
      }
    }
  }
  g.pairs = name(0, 1) + "," + name(rows - 1, cols - 2) + "\r\n";
  return g;
}

struct HeightAdjustment : testing::HeightFormTest {
  std::unique_ptr<NormalEquationStore> normals = std::make_unique<NormalEquationStore>();

  void TypeGrid(const GridNetwork& g) {
    Type(kHeightKnownBox, g.known);
    Type(kHeightApproxBox, g.approx);
    Type(kHeightDifferencesBox, g.differences);
    Type(kHeightPairsBox, g.pairs);
  }

  // Confirms the dialog and computes into the report as the edit does.
  bool Compute(std::unique_ptr<HeightNetwork>& confirmed, int* iterations = nullptr) {
    EXPECT_EQ(Confirm(), "");
    confirmed = std::make_unique<HeightNetwork>(*net);
    ReportFile report;
    EXPECT_TRUE(report.OpenForAppend(Target().reportPath));
    HeightModel model = HeightModelFromRecord(*net);
    HeightComputation c{model, *normals, AskingThrough(platform), report, section, dir.File("net高程数据.txt")};
    const bool ok =
        model.mode == kHeightAdjust && model.Redundancy() > 0 ? AdjustHeightNetwork(c) : EstimateHeightPrecision(c);
    PutHeightResults(model, *net);
    ShowFailure(platform, c.dialogue);
    if (iterations) *iterations = c.iterations;
    return report.Close() && ok;
  }

  void ExpectMatches(const HeightNetwork& confirmed, double sigma0) {
    const Solution s = DenseSolution(confirmed);
    const int known = net->knownCount;
    for (int p = 0; p < net->pointCount; ++p) EXPECT_NEAR(net->height[p], s.heights[p], 1e-9) << p;
    EXPECT_NEAR(net->sigma0, sigma0 < 0 ? s.sigma0 : sigma0, 1e-9);
    const double m0 = net->sigma0;
    for (int j = 0; j < net->pointCount - known; ++j) {
      EXPECT_NEAR(net->heightError[known + j], m0 * std::sqrt(s.q[j][j]), 1e-5) << j;
    }
    const HeightModel model = HeightModelFromRecord(*net);
    for (int i = 0; i < net->observationCount; ++i) {
      const int e = model.differences[i].from - known, f = model.differences[i].to - known;
      double q = 0.0;
      if (e >= 0) q += s.q[e][e];
      if (f >= 0) q += s.q[f][f];
      if (e >= 0 && f >= 0) q -= 2.0 * s.q[e][f];
      EXPECT_NEAR(DifferenceError(*net, i), m0 * std::sqrt(q), 1e-5) << i;
    }
    for (int k = 0; k < net->pairCount; ++k) {
      const int a = model.pairs[k].from, b = model.pairs[k].to;
      EXPECT_DOUBLE_EQ(net->pairDifference[k], net->height[b] - net->height[a]);
      const double q = s.q[a - known][a - known] + s.q[b - known][b - known] - 2.0 * s.q[a - known][b - known];
      EXPECT_NEAR(net->pairError[k], m0 * std::sqrt(q), 1e-5);
    }
  }
};

TEST_F(HeightAdjustment, LevellingNetworkIsTheLeastSquaresSolution) {
  std::mt19937 rng(7);
  TypeGrid(MakeGrid(4, 5, rng, true));
  std::unique_ptr<HeightNetwork> confirmed;
  int iterations = 0;
  ASSERT_TRUE(Compute(confirmed, &iterations)) << platform.LastMessageUtf8();
  // Approximate heights carried along the observations are good to a few mm.
  EXPECT_EQ(iterations, 1);
  ExpectMatches(*confirmed, -1.0);
  EXPECT_GT(net->sigma0, 0.1);
  EXPECT_GT(net->largestCorrection, 0.0);

  // The export lists every point.
  const std::string exported = testing::ReadBytes(dir.File("net高程数据.txt"));
  EXPECT_EQ(exported.substr(0, exported.find("\r\n")), "G0_0,      50.000000");
  EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), net->pointCount);
}

TEST_F(HeightAdjustment, TrigonometricWeightsAndAZeroWeightElement) {
  std::mt19937 rng(11);
  GridNetwork g = MakeGrid(3, 4, rng, true);
  // A weight element of 0 weighs 1 / 0.00001^2.
  g.differences.replace(g.differences.rfind(',') + 1, std::string::npos, "0\r\n");
  TypeGrid(g);
  form.kind = kTrigonometricNetwork;
  std::unique_ptr<HeightNetwork> confirmed;
  ASSERT_TRUE(Compute(confirmed)) << platform.LastMessageUtf8();
  EXPECT_DOUBLE_EQ(HeightWeight(HeightModelFromRecord(*net), net->observationCount - 1), 1e10);
  ExpectMatches(*confirmed, -1.0);
  // The heavily weighted difference is kept to a hair.
  EXPECT_LT(DifferenceError(*net, net->observationCount - 1), 1e-3);
}

TEST_F(HeightAdjustment, FreeNetworkCarriesTheDatumTerm) {
  std::mt19937 rng(3);
  TypeGrid(MakeGrid(3, 3, rng, false));
  std::unique_ptr<HeightNetwork> confirmed;
  ASSERT_TRUE(Compute(confirmed)) << platform.LastMessageUtf8();
  ExpectMatches(*confirmed, -1.0);
  // Degrees of freedom n - u + 1; the corrections keep the mean height.
  const Solution s = DenseSolution(*confirmed);
  EXPECT_NEAR(net->sigma0, std::sqrt(s.pvv / (12 - 9 + 1)), 1e-9);
  double before = 0.0, after = 0.0;
  for (int p = 0; p < 9; ++p) before += confirmed->height[p], after += net->height[p];
  EXPECT_NEAR(before, after, 1e-9);
}

TEST_F(HeightAdjustment, EstimateUsesThePriorErrorAndMovesNothing) {
  std::mt19937 rng(5);
  TypeGrid(MakeGrid(3, 4, rng, true));
  form.mode = kHeightEstimate;
  form.priorError = "1.5";
  std::unique_ptr<HeightNetwork> confirmed;
  ASSERT_TRUE(Compute(confirmed)) << platform.LastMessageUtf8();
  EXPECT_EQ(std::memcmp(net->height, confirmed->height, sizeof net->height), 0);
  EXPECT_EQ(net->sigma0, 1.5);
  const Solution s = DenseSolution(*confirmed);
  for (int j = 0; j < net->pointCount - 2; ++j) {
    EXPECT_NEAR(net->heightError[2 + j], 1.5 * std::sqrt(s.q[j][j]), 1e-5);
  }
}

TEST_F(HeightAdjustment, FarApproximateHeightsAndADifferenceBetweenKnownPoints) {
  Type(kHeightKnownBox, "A,100\r\nB,102");
  Type(kHeightApproxBox, "P,101.5");
  Type(kHeightDifferencesBox, "A,B,2.004,1\r\nA,P,1.001,1\r\nP,B,0.997,1\r\nB,P,-1.002,2");
  std::unique_ptr<HeightNetwork> confirmed;
  int iterations = 0;
  ASSERT_TRUE(Compute(confirmed, &iterations)) << platform.LastMessageUtf8();
  EXPECT_EQ(iterations, 2);  // 500 mm off, then within 5 mm
  ExpectMatches(*confirmed, -1.0);
  // A -> B counts in the corrections and in sigma0, but has no precision row.
  EXPECT_EQ(DifferenceError(*net, 0), 0.0f);
  const std::string report = GbkToUtf8(testing::ReadBytes(Target().reportPath));
  const std::string corrections = report.substr(report.find("高差改正数和平差值"));
  EXPECT_NE(corrections.find("    1  A          B" + std::string(26, ' ') + "-4.00         2.0000\r\n"),
            std::string::npos);
  EXPECT_EQ(report.substr(report.find("精度评定")).find("  A          B  "), std::string::npos);
}

TEST_F(HeightAdjustment, PlausibilityPromptOnTheConstantTerm) {
  ResetHeightNetwork(*net, "x.NAH");
  net->pointCount = 2;
  net->knownCount = 1;
  net->observationCount = 2;
  SetSlotText(net->pointName[0], "A");
  SetSlotText(net->pointName[1], "B");
  for (int i = 0; i < 2; ++i) SetSlotText(net->from[i], "A"), SetSlotText(net->to[i], "B");
  net->height[0] = 0.0;
  net->height[1] = 5.0;
  net->observed[0] = net->observed[1] = 0.0;  // l = 5000 mm exactly: no question
  HeightModel model = HeightModelFromRecord(*net);
  ReportFile report;
  HeightComputation c{model, *normals, AskingThrough(platform), report, section, ""};
  EXPECT_TRUE(FormHeightEquations(c, AdjustmentMode::Adjusting));
  EXPECT_TRUE(platform.questions.empty());
  model.differences[1].observed = -0.0005;  // 5000.5 mm
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(FormHeightEquations(c, AdjustmentMode::Adjusting));
  ASSERT_EQ(platform.questions.size(), 1u);
  EXPECT_EQ(platform.QuestionsUtf8()[0], "高差改正数(A - B)为:5000.500000毫米\n\n继续按<是>;  返回按<否>");
  EXPECT_EQ(platform.questionDefaults[0], Answer::No);
  platform.Answering({Answer::No});
  EXPECT_FALSE(FormHeightEquations(c, AdjustmentMode::Adjusting));
  // Estimating asks only beyond 50 m.
  EXPECT_TRUE(FormHeightEquations(c, AdjustmentMode::Estimating));
  EXPECT_EQ(platform.questions.size(), 2u);
}

}  // namespace
}  // namespace qp
