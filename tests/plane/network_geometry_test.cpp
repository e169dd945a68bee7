#include "plane/network_geometry.h"

#include <gtest/gtest.h>

#include "common/gbk_text.h"
#include "plane/approximate_coordinates.h"
#include "support/scripted_platform.h"
#include "network_builder.h"

namespace qp {
namespace {

using testing::NetworkBuilder;
using testing::ScriptedPlatform;

constexpr double kHalfPi = kPi / 2.0;

// Known points A (0,0) and B (1000,0) (B due north of A); the other points
// are listed without coordinates after them.
struct GeometryTest : ::testing::Test {
  NetworkBuilder b;
  ScriptedPlatform platform;
  ComputedFlags computed;

  void SetUp() override {
    b.Place("A", 0, 0);
    b.Place("B", 1000, 0);
    b.Given("A");
    b.Given("B");
  }
  // Lists `unknown` after the given points and builds the direction sets.
  NetworkGeometry Build(std::initializer_list<const char*> unknown) {
    for (const char* name : unknown) b.ListPoint(name);
    if (b.net->directionCount > 0) {
      EXPECT_TRUE(BuildDirectionSets(*b.net, platform));
    }
    computed.assign(b.net->pointCount, 0);
    computed[0] = computed[1] = 1;
    return NetworkGeometry(*b.net);
  }
  int P(const char* name) const { return b.Index(name); }
};

TEST_F(GeometryTest, DistanceLookupsFollowKindOrientationAndFirstEntry) {
  b.Place("C", 0, 1000);
  b.Place("D", 1000, 1000);
  b.Distance("A", "B", 1000.0);
  b.Distance("B", "A", 999.0);  // a second reduced distance of the pair is never the one used
  b.FixedDistance("B", "A", 5.0);
  b.FixedDistance("A", "C", 7.0);
  b.WeightedDistance("A", "C", 8.0);
  b.WeightedDistance("C", "D", 9.0);
  NetworkGeometry geo = Build({"C", "D"});

  EXPECT_EQ(geo.PointIndex("C"), 2);
  EXPECT_EQ(geo.PointIndex("Z"), -1);
  EXPECT_EQ(geo.AnyDistance(P("B"), P("A")), 1000.0);
  EXPECT_EQ(geo.AnyDistance(P("A"), P("C")), 7.0);  // fixed before weighted
  EXPECT_EQ(geo.AnyDistance(P("D"), P("C")), 9.0);
  EXPECT_EQ(geo.AnyDistance(P("A"), P("D")), 0.0);
  EXPECT_EQ(geo.ObservedDistance(P("B"), P("A")), 1000.0);
  EXPECT_EQ(geo.ObservedDistance(P("A"), P("C")), 0.0);  // reduced distances only

  EXPECT_TRUE(geo.HasDistanceBetween("A", "B"));
  EXPECT_TRUE(geo.HasDistanceBetween("B", "A"));
  EXPECT_TRUE(geo.HasDistanceBetween("C", "D"));
  EXPECT_FALSE(geo.HasDistanceBetween("D", "C"));  // this orientation only
  EXPECT_FALSE(geo.HasDistanceBetween("A", "Z"));
}

TEST_F(GeometryTest, ObservedAnglesAreClockwiseWithVotesAndFolding) {
  b.Place("C", 0, 1000);
  b.Place("D", 1000, 1000);
  // At A: B (north) 0, D (north-east) 45, C (east) 90, and C a second time.
  b.Direction("A", "B", 0.0);
  b.Direction("A", "C", 90.0);
  b.Direction("A", "D", 45.0);
  b.Direction("A", "C", 90.0001);
  NetworkGeometry geo = Build({"C", "D"});
  const int a = P("A"), bb = P("B"), c = P("C"), d = P("D");

  int votes = 0;
  EXPECT_NEAR(geo.ObservedAngle(bb, a, c, votes, false), kHalfPi, 1e-9);  // first direction to C
  EXPECT_EQ(votes, 1);
  EXPECT_NEAR(geo.ObservedAngle(c, a, bb, votes, false), 3 * kHalfPi, 1e-9);
  EXPECT_NEAR(geo.ObservedAngle(c, a, bb, votes, true), kHalfPi, 1e-9);
  EXPECT_EQ(votes, 1);  // clockwise C->B is 270 degrees: no vote
  EXPECT_NEAR(geo.ObservedAngle(d, a, c), kHalfPi / 2, 1e-9);
  EXPECT_EQ(geo.ObservedAngle(bb, a, P("A")), 0.0);  // A is not a target of A
  EXPECT_EQ(geo.ObservedAngle(a, bb, c, votes, true), 0.0);  // B has no set
  EXPECT_EQ(votes, 1);

  EXPECT_TRUE(geo.HasObservedAngle("A", "B", "D"));
  EXPECT_FALSE(geo.HasObservedAngle("A", "B", "C"));  // three lines
  EXPECT_TRUE(geo.HasObservedAngle("A", "C", "Z"));   // two lines to C, none to Z
  EXPECT_FALSE(geo.HasObservedAngle("B", "A", "C"));
}

TEST_F(GeometryTest, TraverseLegNeedsObservedAngleAndDistance) {
  b.Place("E", 1000, 500);
  b.Set("B", {"A", "E"});
  b.Distance("B", "E");
  NetworkGeometry geo = Build({"E"});
  double x = 0, y = 0, azimuth = 0;
  ASSERT_TRUE(geo.TraverseLeg(P("A"), P("B"), P("E"), 1000, 0, 0.0, 0.0, x, y, azimuth));
  EXPECT_NEAR(azimuth, kHalfPi, 1e-9);
  EXPECT_NEAR(x, 1000, 1e-6);
  EXPECT_NEAR(y, 500, 1e-6);
  EXPECT_FALSE(geo.TraverseLeg(P("E"), P("B"), P("A"), 1000, 0, 0.0, 0.0, x, y, azimuth));  // no B-A distance
}

TEST_F(GeometryTest, PolarPointChoosesTheStationWithADistance) {
  b.Place("P", 600, 400);
  b.Place("Q", 300, -200);
  b.Place("R", 500, 500);
  b.Set("A", {"B", "P", "Q"});
  b.Distance("P", "A");
  b.Distance("A", "Q", 0.4);  // too short to serve
  b.Distance("B", "R");       // B has no set
  NetworkGeometry geo = Build({"P", "Q", "R"});

  EXPECT_EQ(geo.PolarPoint(P("B"), P("A"), P("P"), computed), 1);
  EXPECT_TRUE(computed[P("P")]);
  EXPECT_TRUE(b.AtTruth("P"));
  EXPECT_EQ(geo.PolarPoint(P("A"), P("B"), P("Q"), computed), 0);
  EXPECT_EQ(geo.PolarPoint(P("B"), P("A"), P("R"), computed), 2);
  EXPECT_FALSE(computed[P("Q")] || computed[P("R")]);
}

TEST_F(GeometryTest, AngleIntersectionOnEitherSideAndFromTheAngleAtThePoint) {
  b.Place("L", 500, -600);  // left of A->B
  b.Place("R", 500, 600);   // right of A->B
  b.Place("T", 700, 300);
  b.Set("A", {"B", "L", "R", "T"});
  b.Set("B", {"A", "L", "R"});
  b.Set("T", {"A", "B"});  // B did not observe T: its angle comes from the angle at T
  NetworkGeometry geo = Build({"L", "R", "T"});
  for (const char* name : {"L", "R", "T"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(geo.AngleIntersection(P("A"), P("B"), P(name), computed));
    EXPECT_TRUE(b.AtTruth(name));
  }
}

TEST_F(GeometryTest, ResectionNeedsThreeComputedTargetsAtUsableAngles) {
  b.Place("C", 0, 1000);
  b.Place("P", 400, 300);
  b.Place("N", 2000, 0);
  b.Place("Q", 5000, 300);  // from Q, A, B and N lie within a few hundredths of a radian
  b.Given("C");
  b.Given("N");
  b.Set("P", {"A", "B", "C"});
  b.Set("Q", {"A", "B", "N"});
  NetworkGeometry geo = Build({"P", "Q"});
  computed[P("C")] = computed[P("N")] = 1;
  EXPECT_TRUE(geo.Resection(P("A"), P("B"), P("P"), computed));
  EXPECT_TRUE(b.AtTruth("P"));
  EXPECT_FALSE(geo.Resection(P("A"), P("B"), P("Q"), computed));
  computed[P("C")] = 0;
  b.net->x[P("P")] = 0;
  computed[P("P")] = 0;
  EXPECT_FALSE(geo.Resection(P("A"), P("B"), P("P"), computed));  // no third computed target
}

TEST_F(GeometryTest, DistanceIntersectionAsksForTheSideOfThePoint) {
  b.Place("W", 500, -300);
  b.Place("E", 500, 300);
  b.Place("F", 400, 0);
  b.Distance("A", "W");
  b.Distance("B", "W");
  b.Distance("A", "E");
  b.Distance("B", "E");
  b.Distance("A", "F", 100.0);  // circles 100 m apart
  b.Distance("B", "F", 1200.0);
  NetworkGeometry geo = Build({"W", "E", "F"});

  platform.Answering({Answer::Cancel, Answer::Yes, Answer::No});
  EXPECT_FALSE(geo.IntersectByDistances(P("A"), P("B"), P("W"), computed, platform));
  EXPECT_TRUE(geo.IntersectByDistances(P("A"), P("B"), P("W"), computed, platform));
  EXPECT_TRUE(b.AtTruth("W"));  // counterclockwise A, B, W: west of the line
  EXPECT_TRUE(geo.IntersectByDistances(P("A"), P("B"), P("E"), computed, platform));
  EXPECT_TRUE(b.AtTruth("E"));
  ASSERT_EQ(platform.questions.size(), 3u);
  EXPECT_EQ(platform.QuestionsUtf8()[0],
            "A --- B --- W\n\n三点排列顺序逆时针:<是>;  顺时针:<否>;  不能判断:<取消>");
  EXPECT_EQ(platform.questionDefaults[0], Answer::Yes);

  // Circles that cannot meet: nothing is asked or computed.
  EXPECT_FALSE(geo.IntersectByDistances(P("A"), P("B"), P("F"), computed, platform));
  EXPECT_EQ(platform.questions.size(), 3u);
  // Missing by a few centimetres (a point almost on the line): put on the line.
  b.net->reducedLength[4] = 400.0;
  b.net->reducedLength[5] = 599.97;
  NetworkGeometry touching(*b.net);
  EXPECT_TRUE(touching.IntersectByDistances(P("A"), P("B"), P("F"), computed, platform));
  EXPECT_TRUE(b.AtTruth("F", 0.05));
}

}  // namespace
}  // namespace qp
