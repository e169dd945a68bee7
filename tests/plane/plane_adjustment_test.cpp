#include "plane/plane_adjustment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "geodesy/angles.h"
#include "independent_adjustment.h"
#include "network_builder.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::NetworkBuilder;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::Computation;
using testing::IndependentAdjustment;
using testing::Observation;
using testing::OneKnownPoint;
using testing::Solution;
using testing::TestNetwork;
using testing::Triangulation;

void ExpectSameAsIndependent(TestNetwork& t) {
  PlaneNetwork& net = *t.b.net;
  Computation run;
  ASSERT_TRUE(run.Adjust(net)) << run.platform.LastMessageUtf8();
  EXPECT_TRUE(run.platform.messages.empty());
  const Solution s = IndependentAdjustment(net, t.obs, t.orientations).Solve();
  for (int p = 0; p < net.pointCount; ++p) {
    EXPECT_NEAR(net.x[p], s.x[p], 2e-5) << p;
    EXPECT_NEAR(net.y[p], s.y[p], 2e-5) << p;
  }
  EXPECT_GT(s.sigma0, 0.3);
  EXPECT_NEAR(net.sigma0, s.sigma0, 1e-6 * s.sigma0);
  for (int p = net.knownCount; p < net.pointCount; ++p) {
    SCOPED_TRACE(p);
    const int j = 2 * (p - net.knownCount);
    const double qxx = s.q[j][j], qyy = s.q[j + 1][j + 1], qxy = s.q[j][j + 1];
    // The ellipse as the eigen-decomposition of the point's 2x2 cofactors.
    const double mean = (qxx + qyy) / 2, radius = std::hypot((qxx - qyy) / 2, qxy);
    const double e = s.sigma0 * std::sqrt(mean + radius), f = s.sigma0 * std::sqrt(std::max(0.0, mean - radius));
    double axis = std::atan2(mean + radius - qxx, qxy);  // direction of the major axis
    if (axis < 0) axis += kPi;
    // A point held by a fixed azimuth and side from a known point has no
    // ellipse (both are rounding noise).
    EXPECT_NEAR(net.pointE[p], e, 1e-5 * e + 1e-6);
    EXPECT_NEAR(net.pointF[p], f, 1e-5 * e + 1e-6);
    if (e < 1e-3) continue;
    double q = std::fmod(DmsToRadians(net.pointQ[p]) - axis + 2.5 * kPi, kPi) - 0.5 * kPi;
    EXPECT_NEAR(q, 0.0, 2e-5);
  }
}

TEST(AdjustPlaneNetwork, MatchesAnIndependentLeastSquaresSolution) {
  {
    SCOPED_TRACE("two known points, directions and distances");
    TestNetwork t = Triangulation();
    ExpectSameAsIndependent(t);
  }
  {
    SCOPED_TRACE("one known point, fixed and weighted azimuths and sides");
    TestNetwork t = OneKnownPoint();
    ExpectSameAsIndependent(t);
  }
}

// Three known points on one line and a new point on it, measured from all
// three: at the solution the distances say nothing across the line, so an
// approximate point h metres off the line comes back by halves (h/2, h/4 ...
// in successive corrections). A correction of 1 cm is first reached after
// log2(100 h) iterations.
TestNetwork CollinearDistances(double offLine) {
  TestNetwork t;
  NetworkBuilder& b = t.b;
  b.Place("K1", 1000.0, 0.0);
  b.Place("K2", 1000.0, 1000.0);
  b.Place("K3", 1000.0, 2000.0);
  b.Place("P", 1000.0, 500.0);
  t.Points({"K1", "K2", "K3"}, {"P"});
  t.b.net->x[3] = 1000.0 + offLine;
  t.b.net->y[3] = 500.0;
  b.Distance("K1", "P");
  b.Distance("K2", "P");
  b.Distance("K3", "P");
  t.Finish();
  return t;
}

TEST(AdjustPlaneNetwork, ConvergesOnlyWithinEightIterations) {
  struct Case {
    double offLine;
    int iterations;
    bool converged;
  };
  // 0.9 cm: one iteration. 2 m: the 8th correction is 0.78 cm. 4 m: the 9th
  // is, too late. 10 m: still 0.98 cm after the 10th, where it stops.
  for (const Case cs : {Case{0.018, 1, true}, Case{2.0, 8, true}, Case{4.0, 9, false}, Case{10.0, 10, false}}) {
    SCOPED_TRACE(cs.offLine);
    TestNetwork t = CollinearDistances(cs.offLine);
    Computation run;
    EXPECT_EQ(run.Adjust(*t.b.net), cs.converged);
    EXPECT_EQ(run.iterations, cs.iterations);
    if (cs.converged) {
      EXPECT_TRUE(run.platform.messages.empty());
      EXPECT_NE(run.Report().find("坐标平差值"), std::string::npos);
    } else {
      EXPECT_EQ(run.platform.MessagesUtf8(), std::vector<std::string>{"法方程解算不收敛 !!!"});
      EXPECT_EQ(run.Report(), "");  // nothing is reported for a network that did not converge
    }
  }
}

// A single distance is reported with its correction but takes no part in
// the equations: the coordinates are those of the directions alone.
TEST(AdjustPlaneNetwork, ASingleDistanceTakesNoPart) {
  TestNetwork withDistance = Triangulation();
  TestNetwork directionsOnly = Triangulation();
  for (TestNetwork* t : {&withDistance, &directionsOnly}) t->b.net->reducedCount = 0;
  withDistance.b.Distance("K1", "P1", withDistance.b.Length("K1", "P1") + 0.5);
  withDistance.Recount();
  directionsOnly.Recount();
  Computation a, b;
  ASSERT_TRUE(a.Adjust(*withDistance.b.net));
  ASSERT_TRUE(b.Adjust(*directionsOnly.b.net));
  for (int p = 0; p < withDistance.b.net->pointCount; ++p) {
    EXPECT_EQ(withDistance.b.net->x[p], directionsOnly.b.net->x[p]);
    EXPECT_EQ(withDistance.b.net->y[p], directionsOnly.b.net->y[p]);
  }
  const std::string report = a.Report();
  EXPECT_NE(report.find("边长平差值和改正数<个数:1>"), std::string::npos);
  EXPECT_NE(report.find("    1  K1         P1                     -48.065        2401.2352\r\n"), std::string::npos) << report;
  // It still counts in sigma0, with its redundancy.
  EXPECT_GT(withDistance.b.net->sigma0, 2.0 * directionsOnly.b.net->sigma0);
}

// Normal equations without full rank are refused, adjusting and estimating,
// and nothing is reported: a fixed azimuth between two known points is a
// constraint row of zeros; a network without orientation leaves a pivot that
// only round-off keeps from zero.
TEST(AdjustPlaneNetwork, RefusesNormalEquationsWithoutFullRank) {
  TestNetwork zeroRow = Triangulation();
  zeroRow.b.FixedAzimuth("K1", "K2", RadiansToDms(zeroRow.b.Azimuth("K1", "K2")));
  TestNetwork free = OneKnownPoint(false);
  for (TestNetwork* t : {&zeroRow, &free}) {
    t->Recount();
    for (bool estimate : {false, true}) {
      SCOPED_TRACE(estimate);
      Computation run;
      EXPECT_FALSE(run.Adjust(*t->b.net, estimate));
      EXPECT_EQ(run.platform.MessagesUtf8(), std::vector<std::string>{"法方程系数不满秩或超过解题容量 !!!"});
      EXPECT_EQ(run.Report(), "");
    }
  }
}

// Mode 0: the precision of the design from its approximate coordinates,
// with the prior error as sigma0; nothing moves, nothing but the precision
// section is written, and weighted observations take no part.
TEST(EstimatePlanePrecision, ReportsOnlyThePrecisionOfTheDesign) {
  TestNetwork t = OneKnownPoint();
  PlaneNetwork& net = *t.b.net;
  net.calcMode = kPrecisionEstimate;
  net.weightedAzimuthWeight[0] = -1.0;  // would be refused when adjusting
  const std::unique_ptr<PlaneNetwork> before = t.b.Copy();
  Computation run;
  ASSERT_TRUE(run.Adjust(net, true)) << run.platform.LastMessageUtf8();
  EXPECT_EQ(std::memcmp(net.x, before->x, sizeof net.x), 0);
  EXPECT_EQ(std::memcmp(net.y, before->y, sizeof net.y), 0);
  EXPECT_EQ(net.sigma0, net.directionError);
  const std::string report = run.Report();
  EXPECT_EQ(report.rfind("\r\n\r\n                 1.精度评定<单位权中误差=1.800  >\r\n", 0), 0u) << report;
  EXPECT_EQ(report.find("坐标平差值"), std::string::npos);
  EXPECT_GT(net.pointE[2], 0.0f);

  // The same design with the weighted observations adjusted instead.
  Computation adjusting;
  EXPECT_FALSE(adjusting.Adjust(net));
  EXPECT_EQ(adjusting.platform.LastMessageUtf8(), "加权观测值(A - D)的权值不能为负 !");
}

// A distance with no error model gets no weight: refused with a message
// instead of infinities in the normal equations.
TEST(AdjustPlaneNetwork, RefusesDistancesWithoutAnErrorModel) {
  TestNetwork t = Triangulation();
  t.b.net->distanceFixedError = 0.0;
  t.b.net->distanceScaleError = 0.0;
  Computation run;
  EXPECT_FALSE(run.Adjust(*t.b.net));
  EXPECT_EQ(run.platform.LastMessageUtf8(), "边长(K1 - P1)的测距中误差不大于零, 不能定权 !");
}

}  // namespace
}  // namespace qp
