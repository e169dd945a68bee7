#include "plane/network_geometry.h"

#include <gtest/gtest.h>

#include "network_builder.h"
#include "plane/plane_model_record.h"
#include "plane/plane_point_list.h"

namespace qp {
namespace {

// Known A (0,0) and B (1000,0), B due north of A; other points are listed
// after them without coordinates.
struct GeometryTest : ::testing::Test {
  testing::NetworkBuilder b;
  ComputedFlags computed;
  PlaneModel model;

  void SetUp() override {
    b.Place("A", 0, 0);
    b.Place("B", 1000, 0);
    b.Given("A");
    b.Given("B");
  }
  NetworkGeometry Build(std::initializer_list<const char*> unknown) {
    for (const char* name : unknown) b.ListPoint(name);
    model = PlaneModelOfEnteredDirections(*b.net);
    if (model.directionCount > 0) {
      EXPECT_TRUE(BuildDirectionSets(model));
    }
    computed.assign(b.net->pointCount, 0);
    computed[0] = computed[1] = 1;
    return NetworkGeometry(model);
  }
  int P(const char* name) const { return b.Index(name); }
  // The constructions write into the model.
  bool AtTruth(const char* name) {
    PutPlaneCoordinates(model, *b.net);
    return b.AtTruth(name);
  }
};

TEST_F(GeometryTest, LookupsFollowTableKindOrientationCountsAndClockwiseAngles) {
  b.Place("C", 0, 1000);
  b.Place("D", 1000, 1000);
  b.Distance("A", "B", 1000.0);
  b.Distance("B", "A", 999.0);  // never the one used
  b.FixedDistance("A", "C", 7.0);
  b.WeightedDistance("A", "C", 8.0);
  b.WeightedDistance("C", "D", 9.0);
  b.Set("A", {"B", "C", "D"});
  b.Direction("A", "C", 359.0);  // C observed twice
  NetworkGeometry geo = Build({"C", "D"});

  EXPECT_EQ(model.Find("D"), 3);
  EXPECT_EQ(model.Find("Z"), -1);
  EXPECT_EQ(geo.AnyDistance(P("B"), P("A")), 1000.0);
  EXPECT_EQ(geo.AnyDistance(P("A"), P("C")), 7.0);
  EXPECT_EQ(geo.AnyDistance(P("D"), P("C")), 9.0);
  EXPECT_EQ(geo.ObservedDistance(P("A"), P("C")), 0.0);
  EXPECT_EQ(geo.DirectionLines(P("A"), P("C")), 2);
  EXPECT_EQ(geo.DirectionLines(P("C"), P("A")), 0);
  EXPECT_EQ(std::vector<int>(geo.DistanceNeighbours(P("C")).begin(), geo.DistanceNeighbours(P("C")).end()),
            (std::vector<int>{P("A"), P("D")}));
  int votes = 0;  // clockwise D->B is 315 degrees: folded, no vote
  EXPECT_NEAR(geo.ObservedAngle(P("D"), P("A"), P("B"), votes, true), kPi / 4, 1e-9);
  EXPECT_NEAR(geo.ObservedAngle(P("B"), P("A"), P("C"), votes, false), kPi / 2, 1e-9);  // first line to C
  EXPECT_EQ(votes, 1);
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
  EXPECT_TRUE(AtTruth("P"));
  EXPECT_EQ(geo.PolarPoint(P("A"), P("B"), P("Q"), computed), 0);
  EXPECT_EQ(geo.PolarPoint(P("B"), P("A"), P("R"), computed), 2);
  EXPECT_EQ(computed, ComputedFlags({1, 1, 1, 0, 0}));
}

TEST_F(GeometryTest, IntersectionsAndResectionPlaceThePoint) {
  b.Place("L", 500, -600);  // left of A->B
  b.Place("R", 500, 600);   // right of A->B
  b.Place("T", 700, 300);   // B did not observe T: its angle comes from the one at T
  b.Place("S", 400, 300);   // resection from A, B, L
  b.Place("F", 5000, 300);  // from F, A, B and L lie within 0.15 rad
  b.Set("A", {"B", "L", "R", "T"});
  b.Set("B", {"A", "L", "R"});
  b.Set("T", {"A", "B"});
  b.Set("S", {"A", "B", "L"});
  b.Set("F", {"A", "B", "L"});
  NetworkGeometry geo = Build({"L", "R", "T", "S", "F"});
  for (const char* name : {"L", "R", "T"}) {
    EXPECT_TRUE(geo.AngleIntersection(P("A"), P("B"), P(name), computed)) << name;
    EXPECT_TRUE(AtTruth(name)) << name;
  }
  EXPECT_TRUE(geo.Resection(P("A"), P("B"), P("S"), computed));
  EXPECT_TRUE(AtTruth("S"));
  EXPECT_FALSE(geo.Resection(P("A"), P("B"), P("F"), computed));
  computed[P("S")] = computed[P("L")] = 0;  // no third computed target
  EXPECT_FALSE(geo.Resection(P("A"), P("B"), P("S"), computed));
}

TEST_F(GeometryTest, DistanceIntersectionAsksForTheSideOfThePoint) {
  b.Place("W", 500, -300);
  b.Place("E", 500, 300);
  for (const char* p : {"W", "E"}) {
    b.Distance("A", p);
    b.Distance("B", p);
  }
  b.Distance("A", "F", 100.0);  // circles 100 m apart
  b.Distance("B", "F", 1200.0);
  NetworkGeometry geo = Build({"W", "E", "F"});

  testing::ScriptedTurns turns{{Turn::kUnknown, Turn::kCounterClockwise, Turn::kClockwise}, {}};
  const TurnAnswerer turn = turns.Answerer();
  EXPECT_FALSE(geo.IntersectByDistances(P("A"), P("B"), P("W"), computed, {}));  // nobody to tell the side
  EXPECT_FALSE(geo.IntersectByDistances(P("A"), P("B"), P("W"), computed, turn));
  EXPECT_TRUE(geo.IntersectByDistances(P("A"), P("B"), P("W"), computed, turn));
  EXPECT_TRUE(AtTruth("W"));  // counterclockwise A, B, W: west of the line
  EXPECT_TRUE(geo.IntersectByDistances(P("A"), P("B"), P("E"), computed, turn));
  EXPECT_TRUE(AtTruth("E"));
  EXPECT_FALSE(geo.IntersectByDistances(P("A"), P("B"), P("F"), computed, turn));
  ASSERT_EQ(turns.questions.size(), 3u);  // none for circles that cannot meet
  EXPECT_EQ(turns.questions[0], "A --- B --- W\n\n三点排列顺序逆时针:<是>;  顺时针:<否>;  不能判断:<取消>");

  // Missing by a few centimetres (a point almost on the line): put on the line.
  b.net->reducedLength[4] = 400.0;
  b.net->reducedLength[5] = 599.97;
  model = PlaneModelFromRecord(*b.net);
  NetworkGeometry touching(model);
  EXPECT_TRUE(touching.IntersectByDistances(P("A"), P("B"), P("F"), computed, turn));
  EXPECT_NEAR(model.points[P("F")].x, 400.0, 0.05);
  EXPECT_NEAR(model.points[P("F")].y, 0.0, 1e-9);
}

}  // namespace
}  // namespace qp
