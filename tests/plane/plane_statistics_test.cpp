// The statistical tests of an adjusted plane network against the independent
// dense solution: residual cofactors with the orientation unknowns kept,
// redundancy numbers, Baarda's w, Pope's tau, the estimated gross error, the
// minimal detectable bias and its effect on the points; a planted blunder
// found; the report beside the network's.
#include "plane/plane_model_record.h"
#include "plane/plane_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/format.h"
#include "common/gbk_text.h"
#include "statistics/statistics_report.h"
#include "independent_adjustment.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::Computation;
using testing::IndependentAdjustment;
using testing::Observation;
using testing::Solution;
using testing::TestNetwork;

// Normal quantiles 1 - 0.001/2 and 0.80, to six digits.
constexpr double kDelta0 = 3.290527 + 0.841621;

std::string KindOf(const Observation& o) {
  switch (o.kind) {
    case Observation::kDirection:
      return Gbk("方向");
    case Observation::kDistance:
      return Gbk("边长");
    case Observation::kAzimuth:
      return Gbk(o.fixed ? "固定方位" : "加权方位");
    default:
      return Gbk(o.fixed ? "固定边长" : "加权边长");
  }
}

struct Analysis {
  std::vector<ObservationEntry> entries;
  AdjustmentStatistics s;
  Solution ref;
  std::vector<int> refIndex;  // independent observation of each entry
};

// Adjusts `t`, tests it, and checks every observation against the
// independent solution.
void AnalyzeAndCompare(TestNetwork& t, Computation& run, Analysis& a) {
  PlaneNetwork& net = *t.b.net;
  EXPECT_TRUE(run.Adjust(net)) << run.platform.LastMessageUtf8();
  a.entries = CollectPlaneObservations(PlaneModelFromRecord(net));
  const CofactorView q = PlaneCofactors(PlaneModelFromRecord(net), *run.normals);
  a.s = AnalyzeAdjustment(a.entries, q, net.directionError, net.redundancy, StatisticsOptions{});
  a.ref = IndependentAdjustment(net, t.obs, t.orientations).Solve();
  const std::vector<std::string> names = t.b.PointNames();
  EXPECT_EQ(a.entries.size(), t.obs.size());
  double pvv = 0.0;
  for (size_t i = 0; i < t.obs.size(); ++i) {
    if (!t.obs[i].fixed) pvv += t.obs[i].weight * a.ref.v[i] * a.ref.v[i];
  }
  const double refSigma0 = std::sqrt(pvv / net.redundancy);
  EXPECT_NEAR(a.s.sigma0Post, refSigma0, 1e-4);
  EXPECT_NEAR(a.s.sumRedundancy, net.redundancy, 1e-6);

  for (const ObservationEntry& e : a.entries) {
    int k = -1;
    for (size_t i = 0; i < t.obs.size(); ++i) {
      const Observation& o = t.obs[i];
      if (KindOf(o) == e.kind && names[o.a] == e.from && names[o.b] == e.to) k = static_cast<int>(i);
    }
    a.refIndex.push_back(k);
    ASSERT_GE(k, 0) << GbkToUtf8(e.kind) << " " << e.from << " " << e.to;
    const Observation& o = t.obs[k];
    const ObservationTest& r = a.s.tests[a.refIndex.size() - 1];
    SCOPED_TRACE(GbkToUtf8(e.kind) + " " + e.from + " - " + e.to);
    EXPECT_NEAR(e.v, a.ref.v[k], 2e-3);
    if (o.fixed) {
      EXPECT_FALSE(r.tested);
      EXPECT_FALSE(e.untestable.empty());
      continue;
    }
    ASSERT_TRUE(r.tested);
    const double qvv = a.ref.qvv[k];
    const double redundancyNumber = qvv * o.weight;
    EXPECT_NEAR(r.r, redundancyNumber, 1e-5);
    const double w = a.ref.v[k] / (net.directionError * std::sqrt(qvv));
    const double tau = a.ref.v[k] / (refSigma0 * std::sqrt(qvv));
    EXPECT_NEAR(r.w, w, 2e-3);
    EXPECT_NEAR(r.tau, tau, 2e-3);
    EXPECT_NEAR(r.nabla, -a.ref.v[k] / redundancyNumber, 5e-3);
    const double sigmaL = net.directionError / std::sqrt(o.weight);
    const double mdb = sigmaL * kDelta0 / std::sqrt(redundancyNumber);
    EXPECT_NEAR(r.mdb, mdb, 1e-3);
    EXPECT_NEAR(r.sigmaV, refSigma0 * std::sqrt(qvv), 1e-3);
    // External reliability: the parameters move by Q J^T p mdb.
    const std::vector<double>& j = a.ref.jacobian[k];
    double largest = 0.0;
    for (size_t p = 0; p + 1 < a.ref.q.size(); p += 2) {
      double dx = 0.0, dy = 0.0;
      for (size_t c = 0; c < j.size(); ++c) {
        dx += a.ref.qAll[p][c] * j[c];
        dy += a.ref.qAll[p + 1][c] * j[c];
      }
      largest = std::max(largest, std::hypot(dx, dy) * o.weight * mdb);
    }
    EXPECT_NEAR(r.effect, largest, 1e-3 + 1e-4 * largest);
  }
}

// A direction error other than the builder's: the distances' weights follow it.
void SetDirectionError(TestNetwork& t, double mu) {
  const double scale = (mu / t.b.net->directionError) * (mu / t.b.net->directionError);
  for (Observation& o : t.obs) {
    if (o.kind == Observation::kDistance) o.weight *= scale;
  }
  t.b.net->directionError = mu;
}

int EntryOf(const Analysis& a, const std::string& from, const std::string& to) {
  for (size_t i = 0; i < a.entries.size(); ++i) {
    if (a.entries[i].kind == Gbk("方向") && a.entries[i].from == from && a.entries[i].to == to) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

TEST(PlaneStatistics, SoundNetworkPassesAndAPlantedBlunderIsFound) {
  {
    SCOPED_TRACE("sound");
    TestNetwork t = testing::Triangulation();
    SetDirectionError(t, 1.5);
    Computation run;
    Analysis a;
    AnalyzeAndCompare(t, run, a);
    EXPECT_TRUE(a.s.globalTested);
    // Table values for 8 degrees of freedom: chi-square 2.5 % and 97.5 %,
    // Pope's tau from Student's t with 7 (5.4079 at 99.95 %).
    ASSERT_EQ(a.s.redundancy, 8);
    EXPECT_NEAR(a.s.lower, 2.180, 1e-3);
    EXPECT_NEAR(a.s.upper, 17.535, 1e-3);
    EXPECT_NEAR(a.s.popeCritical, std::sqrt(8.0) * 5.4079 / std::sqrt(7.0 + 5.4079 * 5.4079), 1e-3);
    EXPECT_NEAR(a.s.baardaCritical, 3.2905, 1e-4);
    EXPECT_TRUE(a.s.globalPassed) << a.s.statistic << " not in " << a.s.lower << " .. " << a.s.upper;
    EXPECT_EQ(a.s.flagged, 0);
  }
  {
    SCOPED_TRACE("12 seconds planted on the direction K2 - P2");
    TestNetwork t = testing::Triangulation();
    PlaneNetwork& net = *t.b.net;
    SetDirectionError(t, 1.5);
    // Above the direction's minimal detectable bias (8.7"), not far above:
    // the neighbouring observations take some of it.
    constexpr double kBlunder = 12.0;
    int planted = -1;
    for (size_t i = 0; i < t.obs.size(); ++i) {
      const Observation& o = t.obs[i];
      if (o.kind == Observation::kDirection && o.a == t.b.Index("K2") && o.b == t.b.Index("P2")) planted = i;
    }
    ASSERT_GE(planted, 0);
    t.obs[planted].value += kBlunder;
    net.direction[planted] = RadiansToDms(DmsToRadians(net.direction[planted]) + kBlunder / kRhoSeconds);
    Computation run;
    Analysis a;
    AnalyzeAndCompare(t, run, a);
    EXPECT_FALSE(a.s.globalPassed);
    const int suspect = EntryOf(a, "K2", "P2");
    ASSERT_GE(suspect, 0);
    EXPECT_EQ(a.s.largest, suspect);
    EXPECT_EQ(a.s.flagged, 1);
    const ObservationTest& r = a.s.tests[suspect];
    EXPECT_TRUE(r.baardaFlag && r.popeFlag);
    EXPECT_LT(std::fabs(r.nabla - kBlunder), r.sigmaNabla) << r.nabla << " +- " << r.sigmaNabla;

    // The report names it and marks its row.
    const std::string path = run.dir.File("net统计检验.txt");
    ASSERT_TRUE(WritePlaneStatisticsReport(PlaneModelFromRecord(net), *run.normals, true, path, 0, StatisticsOptions{}));
    const std::string text = GbkToUtf8(::qp::testing::ReadBytes(path));
    EXPECT_NE(text.find("应首先检查: 方向(K2 - P2)"), std::string::npos) << text;
    EXPECT_NE(text.find("超限观测值个数: 1"), std::string::npos);
    EXPECT_NE(text.find("结论:     拒绝"), std::string::npos);
    const size_t row = text.find(std::to_string(suspect + 1) + "  方向    K2         P2");
    ASSERT_NE(row, std::string::npos) << text;
    EXPECT_NE(text.substr(row, text.find('\n', row) - row).find("粗差?"), std::string::npos);
  }
}

TEST(PlaneStatistics, FixedObservationsAreConditionsAndWeightedOnesAreTested) {
  TestNetwork t = testing::OneKnownPoint();
  Computation run;
  Analysis a;
  AnalyzeAndCompare(t, run, a);
  int fixed = 0, weighted = 0;
  for (size_t i = 0; i < a.entries.size(); ++i) {
    if (t.obs[a.refIndex[i]].fixed) {
      ++fixed;
      EXPECT_EQ(a.entries[i].untestable, Gbk("固定值作为条件, 没有多余观测分量"));
    } else if (t.obs[a.refIndex[i]].kind == Observation::kAzimuth || t.obs[a.refIndex[i]].kind == Observation::kSide) {
      ++weighted;
    }
  }
  EXPECT_EQ(fixed, 3);
  EXPECT_EQ(weighted, 2);
}

// Redundancy numbers that do not sum to the redundancy mean the inverse
// cannot be trusted (here: a cofactor matrix of zeros, as if every point were
// known): nothing is tested or flagged, and the report says why instead of
// giving a verdict. Observations counted in r but left out of the equations
// (a weight of zero) are taken off what the sum must reach.
TEST(PlaneStatistics, NothingIsTestedWhenTheRedundancyNumbersDisagree) {
  TestNetwork t = testing::OneKnownPoint();
  Computation run;
  Analysis a;
  AnalyzeAndCompare(t, run, a);
  EXPECT_TRUE(a.s.sumAgrees);
  PlaneNetwork& net = *t.b.net;
  net.weightedDistanceWeight[0] = 0.0;
  const std::vector<ObservationEntry> entries = CollectPlaneObservations(PlaneModelFromRecord(net));
  const CofactorView sound = PlaneCofactors(PlaneModelFromRecord(net), *run.normals);
  const AdjustmentStatistics s = AnalyzeAdjustment(entries, sound, net.directionError, net.redundancy, {});
  EXPECT_EQ(s.expectedSum, net.redundancy - 1);

  const std::vector<double> zeros(PackedIndex(sound.unknowns, 0), 0.0);
  CofactorView wrong = sound;
  wrong.packed = zeros.data();
  const AdjustmentStatistics bad = AnalyzeAdjustment(a.entries, wrong, net.directionError, net.redundancy, {});
  EXPECT_FALSE(bad.sumAgrees);
  EXPECT_FALSE(bad.globalTested || bad.globalPassed);
  for (const ObservationTest& test : bad.tests) EXPECT_FALSE(test.baardaFlag || test.popeFlag);
  const std::string path = run.dir.File("net统计检验.txt");
  ASSERT_TRUE(WriteStatisticsReport(path, {}, 0, a.entries, bad, wrong));
  const std::string text = GbkToUtf8(::qp::testing::ReadBytes(path));
  EXPECT_NE(text.find("1.不能作统计检验"), std::string::npos) << text;
  EXPECT_NE(text.find(Format("与多余观测数 %d 不符", net.redundancy)), std::string::npos) << text;
  EXPECT_EQ(text.find("通过"), std::string::npos);
}

}  // namespace
}  // namespace qp
