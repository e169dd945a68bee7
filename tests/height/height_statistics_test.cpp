// The statistical tests of a levelling network, with known points and free,
// sound and with a planted blunder, against a dense solution computed here;
// the report written by the computation beside the network's.
#include "height/height_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "common/binary_file.h"
#include "height/height_adjustment.h"
#include "height/height_file.h"
#include "workflow/height_workflow.h"
#include "height/height_model_record.h"
#include "height_dense_reference.h"
#include "height_form_fixture.h"

namespace qp {
namespace {

// Per observation from the dense solution: residual, its cofactor
// 1/p - a Q a^T and the largest height change per unit of Q a^T (in a free
// network the minimum-norm cofactors).
struct Reference {
  std::vector<double> v, qvv, p, spread;
  double pvv = 0.0;
};

Reference Solve(const HeightModel& m) {
  const testing::DenseHeightSolution dense = testing::SolveDenseHeights(m);
  const int known = dense.known;
  const testing::Matrix& q = dense.inverse;
  Reference ref;
  ref.p = dense.p;
  for (size_t i = 0; i < m.differences.size(); ++i) {
    const int e = m.differences[i].from, f = m.differences[i].to;
    const double v = (m.points[f].height - m.points[e].height - m.differences[i].observed) * 1000.0 +
                     dense.Correction(f) - dense.Correction(e);
    ref.v.push_back(v);
    ref.pvv += ref.p[i] * v * v;
    // Q a^T for a = (-1 at e, +1 at f).
    double aqa = 0.0, spread = 0.0;
    for (int j = 0; j < dense.u; ++j) {
      const double qa = (f >= known ? q[j][f - known] : 0.0) - (e >= known ? q[j][e - known] : 0.0);
      spread = std::max(spread, std::fabs(qa));
      if (j == f - known) aqa += qa;
      if (j == e - known) aqa -= qa;
    }
    ref.qvv.push_back(1.0 / ref.p[i] - aqa);
    ref.spread.push_back(spread);
  }
  return ref;
}

constexpr double kDelta0 = 3.290527 + 0.841621;

struct HeightStatistics : testing::HeightWorkspaceTest, ::testing::WithParamInterface<std::tuple<bool, double>> {
  std::unique_ptr<NormalEquationStore> normals = std::make_unique<NormalEquationStore>();

  void SetUp() override {
    testing::HeightWorkspaceTest::SetUp();
    ws.normals = normals.get();
  }
};

TEST_P(HeightStatistics, AgreesWithTheDenseSolutionAndFindsThePlantedBlunder) {
  const auto [free, blunder] = GetParam();
  // True heights A 100, P1 101.234, P2 102.871, P3 99.456, P4 100.912, B 103;
  // noise within 0.6 mm; the blunder (mm) on P2 - P4.
  if (free) {
    Type(kHeightApproxBox, "A,100\r\nP1,101.2\r\nP2,102.9\r\nP3,99.5\r\nP4,100.9\r\nB,103");
  } else {
    Type(kHeightKnownBox, "A,100\r\nB,103");
  }
  char p2p4[64];
  std::snprintf(p2p4, sizeof p2p4, "P2,P4,%.5f,1.5\r\n", -1.959 - 0.0003 + blunder / 1000.0);
  Type(kHeightDifferencesBox, std::string("A,P1,1.2345,1.2\r\nP1,P2,1.6366,1.8\r\nP2,B,0.1284,1.1\r\n") +
                                  "A,P3,-0.5436,1.4\r\nP3,P4,1.4557,1.6\r\nP4,B,2.0876,1.3\r\n" +
                                  "P1,P3,-1.7786,2.1\r\n" + p2p4 + "P1,P4,-0.3216,1.7\r\nA,P2,2.8713,2.5\r\n");
  form.priorError = "0.4";
  platform.messages.clear();
  ASSERT_EQ(EditHeightNetwork(ws, platform,
                              [&](HeightNetwork& record, const HeightReportTarget& target) {
                                return RunHeightConfirmation(form, record, platform, target).accepted;
                              }),
            NetworkEditResult::Computed)
      << platform.LastMessageUtf8();

  const HeightModel model = HeightModelFromRecord(*net);
  const std::vector<ObservationEntry> entries = CollectHeightObservations(model);
  const CofactorView q = HeightCofactors(model, *normals);
  const int redundancy = HeightTestRedundancy(model);
  EXPECT_EQ(redundancy, free ? 10 - 5 : 10 - 4);
  const AdjustmentStatistics s = AnalyzeAdjustment(entries, q, net->priorError, redundancy, StatisticsOptions{});
  const Reference ref = Solve(model);
  const double sigma0 = std::sqrt(ref.pvv / redundancy);
  EXPECT_NEAR(s.sigma0Post, sigma0, 1e-6);
  EXPECT_NEAR(s.sumRedundancy, redundancy, 1e-9);
  ASSERT_EQ(entries.size(), ref.v.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(i);
    const ObservationTest& t = s.tests[i];
    const double r = ref.qvv[i] * ref.p[i];
    EXPECT_NEAR(entries[i].v, ref.v[i], 1e-6);
    EXPECT_NEAR(t.r, r, 1e-9);
    EXPECT_NEAR(t.w, ref.v[i] / (0.4 * std::sqrt(ref.qvv[i])), 1e-6);
    EXPECT_NEAR(t.tau, ref.v[i] / (sigma0 * std::sqrt(ref.qvv[i])), 1e-6);
    EXPECT_NEAR(t.nabla, -ref.v[i] / r, 1e-6);
    const double mdb = 0.4 / std::sqrt(ref.p[i]) * kDelta0 / std::sqrt(r);
    EXPECT_NEAR(t.mdb, mdb, 1e-4);
    EXPECT_NEAR(t.effect, ref.spread[i] * ref.p[i] * mdb, 1e-4);
  }

  const std::string report = GbkToUtf8(testing::ReadBytes(dir.File("net统计检验.txt")));
  if (blunder == 0.0) {
    EXPECT_TRUE(s.globalPassed) << s.statistic;
    EXPECT_EQ(s.flagged, 0);
    EXPECT_NE(report.find("未发现粗差"), std::string::npos) << report;
    return;
  }
  EXPECT_FALSE(s.globalPassed);
  EXPECT_EQ(s.flagged, 1);
  ASSERT_EQ(s.largest, 7);
  EXPECT_LT(std::fabs(s.tests[7].nabla - blunder), s.tests[7].sigmaNabla);
  EXPECT_NE(report.find("应首先检查: 高差(P2 - P4)"), std::string::npos) << report;
}

INSTANTIATE_TEST_SUITE_P(KnownAndFree, HeightStatistics,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(0.0, 3.0)));

}  // namespace
}  // namespace qp
