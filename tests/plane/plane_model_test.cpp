// The plane model built from a record: roles, indices, the distance weights,
// the bounds a damaged record is kept in, and the results put back.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "common/name_slot.h"
#include "plane/plane_model_record.h"
#include "plane/plane_network.h"

namespace qp {
namespace {

std::unique_ptr<PlaneNetwork> EmptyRecord() {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "net.NAP");
  return net;
}

// A, B known, C with approximate coordinates, D computed; sets at A (to B, C
// and a name not in the table) and at C (to A and D); B has an empty range.
std::unique_ptr<PlaneNetwork> SmallNetwork() {
  auto net = EmptyRecord();
  const char* names[] = {"A", "B", "C", "D"};
  for (int p = 0; p < 4; ++p) {
    SetSlotText(net->pointName[p], names[p]);
    net->x[p] = 100.0 * p;
    net->y[p] = 50.0 * p;
  }
  net->pointCount = 4;
  net->knownCount = 2;
  net->approxCount = 1;
  const std::pair<const char*, double> directions[] = {{"B", 0.0}, {"C", 45.3}, {"X", 90.0}, {"A", 0.0}, {"D", 60.1}};
  for (int e = 0; e < 5; ++e) {
    SetSlotText(net->directionStation[e], e < 3 ? "A" : "C");
    SetSlotText(net->directionTarget[e], directions[e].first);
    net->direction[e] = directions[e].second;
  }
  net->directionCount = 5;
  const int starts[] = {0, 3, 3, 5, 5};
  for (int p = 0; p < 5; ++p) net->setStart[p] = starts[p];
  SetSlotText(net->reducedFrom[0], "A");
  SetSlotText(net->reducedTo[0], "C");
  net->reducedLength[0] = 1000.0;
  SetSlotText(net->reducedFrom[1], "D");
  SetSlotText(net->reducedTo[1], "X");
  net->reducedLength[1] = 250.0;
  net->reducedCount = 2;
  net->directionError = 1.8;
  net->distanceFixedError = 3.0;
  net->distanceScaleError = 2.0;
  // One traverse A-B ... D whose end orientation is not in the table.
  TraverseClosure t;
  SetSlotText(t.startOrientation, "A");
  SetSlotText(t.start, "B");
  SetSlotText(t.end, "D");
  SetSlotText(t.endOrientation, "X");
  t.azimuthMisclosure = 12.3f;
  t.legs = 3;
  t.relative = 25000.0;
  t.drawn = 1;
  StoreTraverseClosure(*net, 0, t);
  net->closureCheckCount = 1;
  return net;
}

TEST(PlaneModelFromRecord, GivesRolesIndicesAndWeights) {
  const PlaneModel model = PlaneModelFromRecord(*SmallNetwork());
  ASSERT_EQ(model.pointCount(), 4);
  EXPECT_EQ(model.knownCount, 2);
  const PlanePointRole roles[] = {PlanePointRole::Known, PlanePointRole::Known, PlanePointRole::Approximate,
                                  PlanePointRole::Unknown};
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(model.points[p].role, roles[p]) << p;
    EXPECT_EQ(model.Find(model.points[p].name), p);
  }
  EXPECT_EQ(model.Find("X"), -1);
  EXPECT_EQ(model.UnknownIndexOf(1), -1);
  EXPECT_EQ(model.UnknownIndexOf(3), 2);

  ASSERT_EQ(model.directionSets.size(), 2u);
  EXPECT_EQ(model.directionSets[0].station, 0);
  EXPECT_EQ(model.directionSets[0].size(), 3);
  EXPECT_EQ(model.directionSets[1].station, 2);
  std::vector<int> targets;
  for (const PlaneDirection& d : model.directions) targets.push_back(d.target);
  EXPECT_EQ(targets, (std::vector<int>{1, 2, -1, 0, 3}));
  EXPECT_EQ(model.directions[2].targetName, "X");
  EXPECT_EQ(model.directions[2].station, 0);
  EXPECT_EQ(model.directions[3].station, 2);
  EXPECT_EQ(model.directions[4].dms, 60.1);

  // 3 mm + 2 ppm over 1 km is 0.5 cm; against 1.8" a direction weighs 1.8^2 / 0.5^2.
  ASSERT_EQ(model.distances.size(), 2u);
  EXPECT_DOUBLE_EQ(model.distances[0].standardError, 0.5);
  EXPECT_DOUBLE_EQ(model.distances[0].weight, 12.96);
  EXPECT_TRUE(model.distances[0].ends.Resolved());
  EXPECT_EQ(model.distances[1].ends.from, 3);
  EXPECT_EQ(model.distances[1].ends.to, -1);
  EXPECT_EQ(model.distances[1].ends.toName, "X");

  ASSERT_EQ(model.traverses.size(), 1u);
  const PlaneTraverse& t = model.traverses[0];
  EXPECT_EQ((std::vector<int>{t.startOrientation, t.start, t.end, t.endOrientation}), (std::vector<int>{0, 1, 3, -1}));
  EXPECT_EQ(t.azimuthMisclosure, 12.3f);  // the float the record holds
  EXPECT_EQ(t.legs, 3);
  EXPECT_TRUE(t.drawn);
}

// While the network is confirmed the directions are taken as entered: each
// at the station it names, in no set; the known heights by index.
TEST(PlaneModelOfEnteredDirections, TakesEveryDirectionAtItsStation) {
  auto net = SmallNetwork();
  SetSlotText(net->directionStation[4], "X");  // a station not in the table
  net->knownHeightCount = 2;
  SetSlotText(net->knownHeightName[0], "C");
  net->knownHeight[0] = 12.5;
  SetSlotText(net->knownHeightName[1], "Y");
  const PlaneModel model = PlaneModelOfEnteredDirections(*net);
  EXPECT_TRUE(model.directionSets.empty());
  EXPECT_TRUE(model.directions.empty());
  EXPECT_EQ(model.directionCount, 5);
  std::vector<std::pair<int, int>> lines;
  for (const PlaneMeasure& d : model.enteredDirections) lines.emplace_back(d.ends.from, d.ends.to);
  EXPECT_EQ(lines, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {0, -1}, {2, 0}, {-1, 3}}));
  EXPECT_EQ(model.GivenCount(), 3);
  ASSERT_EQ(model.knownHeights.size(), 2u);
  EXPECT_EQ(model.knownHeights[0].point, 2);
  EXPECT_EQ(model.knownHeights[0].height, 12.5);
  EXPECT_EQ(model.knownHeights[1].point, -1);

  // The input as read counts only the given points, which come first.
  net->pointCount = 0;
  const PlaneModel confirming = PlaneModelOfEnteredDirections(*net);
  ASSERT_EQ(confirming.pointCount(), 3);
  EXPECT_EQ(confirming.points[2].role, PlanePointRole::Approximate);
  EXPECT_EQ(confirming.enteredDirections[3].ends.from, 2);
  EXPECT_EQ(PlaneModelFromRecord(*net).pointCount(), 0);
}

// Sides and traverses found on the model go back under the names the point
// table holds; the traverse table is replaced whole.
TEST(PutPlaneSidesAndTraverses, WriteTheNamesOfThePointTable) {
  auto net = SmallNetwork();
  PlaneModel model = PlaneModelFromRecord(*net);
  model.sides = {PlaneSide{{3, 1, "", ""}, {}, 6}};
  PlaneTraverse t;
  t.startOrientation = 1;
  t.start = 0;
  t.end = 2;
  t.endOrientation = 3;
  t.fx = 1.5f;
  t.drawn = true;
  model.traverses = {t, t};
  PutPlaneSides(model, *net);
  PutPlaneTraverses(model, *net);
  EXPECT_EQ(net->sideCount, 1);
  EXPECT_EQ(SlotText(net->sideFrom[0]), "D");
  EXPECT_EQ(SlotText(net->sideTo[0]), "B");
  EXPECT_EQ(net->sideSymbol[0], 6);
  ASSERT_EQ(TraverseCount(*net), 2);
  const TraverseClosure stored = ReadTraverseClosure(*net, 1);
  EXPECT_EQ(SlotText(stored.startOrientation), "B");
  EXPECT_EQ(SlotText(stored.endOrientation), "D");
  EXPECT_EQ(stored.fx, 1.5f);
  EXPECT_EQ(stored.kind, kTraverseKind);
  EXPECT_EQ(stored.drawn, 1);
}

TEST(PlaneModelFromRecord, KeepsADamagedRecordWithinItsTables) {
  struct Case {
    int32_t count;        // every count of the record
    int32_t known;
    int32_t setStart0, setStart1;
    int points, knownCount, distances, smallTable, sides, firstSet;
  };
  const Case cases[] = {
      {-7, -3, -5, -1, 0, 0, 0, 0, 0, -1},
      {INT32_MAX, INT32_MAX, -5, INT32_MAX, kMaxPlanePoints, kMaxPlanePoints, kMaxReducedDistances, kMaxSmallTable,
       kMaxSides, -1},
      {3, 9, 7, 2, 3, 3, 3, 3, 3, 5},
  };
  for (const Case& c : cases) {
    auto net = EmptyRecord();
    for (int32_t* count : {&net->pointCount, &net->approxCount, &net->directionCount, &net->reducedCount,
                           &net->fixedAzimuthCount, &net->weightedAzimuthCount, &net->fixedDistanceCount,
                           &net->weightedDistanceCount, &net->sideCount, &net->precisionPairCount}) {
      *count = c.count;
    }
    net->knownCount = c.known;
    for (int p = 0; p < kMaxPlanePoints + 8; ++p) net->setStart[p] = p % 2 ? c.setStart1 : c.setStart0;
    const PlaneModel model = PlaneModelFromRecord(*net);
    EXPECT_EQ(model.pointCount(), c.points) << c.count;
    EXPECT_EQ(model.knownCount, c.knownCount) << c.count;
    EXPECT_EQ(model.distances.size(), static_cast<size_t>(c.distances)) << c.count;
    for (const auto* list : {&model.fixedAzimuths, &model.weightedAzimuths, &model.fixedSides, &model.weightedSides}) {
      EXPECT_EQ(list->size(), static_cast<size_t>(c.smallTable)) << c.count;
    }
    EXPECT_EQ(model.sides.size(), static_cast<size_t>(c.sides)) << c.count;
    EXPECT_EQ(model.pairs.size(), static_cast<size_t>(c.smallTable)) << c.count;
    EXPECT_EQ(model.directionSets.empty() ? -1 : model.directionSets[0].size(), c.firstSet) << c.count;
    EXPECT_LE(model.directionCount, kMaxDirections);
  }
}

// Any record at all gives a model whose every index lies in its tables.
TEST(PlaneModelFromRecord, ARecordOfRandomBytesGivesIndicesWithinTheTables) {
  std::mt19937 random(5);
  for (int round = 0; round < 4; ++round) {
    auto net = std::make_unique<PlaneNetwork>();
    auto* bytes = reinterpret_cast<unsigned char*>(net.get());
    for (size_t i = 0; i < sizeof(PlaneNetwork); ++i) bytes[i] = static_cast<unsigned char>(random());
    // Small counts and set starts now and then, so that the tables are walked.
    if (round % 2) {
      net->pointCount = 40;
      for (int p = 0; p <= 40; ++p) net->setStart[p] = static_cast<int32_t>(random() % 2100) - 20;
    }
    const PlaneModel model = PlaneModelFromRecord(*net);
    const int n = model.pointCount();
    ASSERT_LE(n, kMaxPlanePoints);
    ASSERT_LE(model.knownCount, n);
    const auto inTable = [n](int p) { return p >= -1 && p < n; };
    for (const PlaneDirectionSet& set : model.directionSets) {
      ASSERT_GE(set.size(), 2);
      ASSERT_LE(set.end, static_cast<int>(model.directions.size()));
      ASSERT_TRUE(set.station >= 0 && set.station < n);
    }
    for (const PlaneDirection& d : model.directions) ASSERT_TRUE(inTable(d.station) && inTable(d.target));
    for (const PlaneDistance& d : model.distances) ASSERT_TRUE(inTable(d.ends.from) && inTable(d.ends.to));
    for (const auto* list : {&model.sides, &model.pairs}) {
      for (const PlaneSide& side : *list) ASSERT_TRUE(inTable(side.ends.from) && inTable(side.ends.to));
    }
  }
}

// The byte ranges of a record a results store may write, for `points`
// points, `sides` sides and `pairs` pairs.
std::vector<std::pair<size_t, size_t>> ResultRanges(int points, int sides, int pairs) {
  std::vector<std::pair<size_t, size_t>> ranges{{offsetof(PlaneNetwork, sigma0), sizeof(double)}};
  auto add = [&](size_t offset, size_t size, int n) { ranges.emplace_back(offset, size * n); };
  add(offsetof(PlaneNetwork, x), sizeof(double), points);
  add(offsetof(PlaneNetwork, y), sizeof(double), points);
  for (size_t offset : {offsetof(PlaneNetwork, pointE), offsetof(PlaneNetwork, pointF), offsetof(PlaneNetwork, pointQ)}) {
    add(offset, sizeof(float), points);
  }
  for (size_t offset : {offsetof(PlaneNetwork, sideMs), offsetof(PlaneNetwork, sideMt), offsetof(PlaneNetwork, sideE),
                        offsetof(PlaneNetwork, sideF), offsetof(PlaneNetwork, sideQ)}) {
    add(offset, sizeof(float), sides);
  }
  for (size_t offset : {offsetof(PlaneNetwork, pairMs), offsetof(PlaneNetwork, pairMt), offsetof(PlaneNetwork, pairE),
                        offsetof(PlaneNetwork, pairF), offsetof(PlaneNetwork, pairQ)}) {
    add(offset, sizeof(float), pairs);
  }
  return ranges;
}

TEST(PutPlaneResults, WritesTheResultsAndNoOtherByte) {
  // A record of random bytes with valid counts.
  auto net = std::make_unique<PlaneNetwork>();
  std::mt19937 random(22);
  auto* bytes = reinterpret_cast<unsigned char*>(net.get());
  for (size_t i = 0; i < sizeof(PlaneNetwork); ++i) bytes[i] = static_cast<unsigned char>(random());
  net->pointCount = 3;
  net->knownCount = 1;
  net->sideCount = 2;
  net->precisionPairCount = 1;
  const auto original = std::make_unique<PlaneNetwork>(*net);

  PlaneModel model = PlaneModelFromRecord(*net);
  model.sigma0 = 1.25;
  for (PlanePoint& p : model.points) {
    p.x += 1.0;
    p.y -= 1.0;
    p.ellipse = {1.5f, 0.5f, 30.0f};
  }
  for (PlaneSide& s : model.sides) s.precision = {0.25f, 2.5f, {1.0f, 0.75f, 120.0f}};
  model.pairs[0].precision = {0.5f, 3.5f, {2.0f, 1.75f, 10.0f}};
  PutPlaneResults(model, *net);

  const auto ranges = ResultRanges(3, 2, 1);
  const auto* before = reinterpret_cast<const unsigned char*>(original.get());
  for (size_t i = 0; i < sizeof(PlaneNetwork); ++i) {
    if (bytes[i] == before[i]) continue;
    bool inResult = false;
    for (const auto& [offset, size] : ranges) inResult = inResult || (i >= offset && i < offset + size);
    ASSERT_TRUE(inResult) << "byte " << i << " changed";
  }
  const PlaneModel back = PlaneModelFromRecord(*net);
  EXPECT_EQ(back.sigma0, 1.25);
  for (int p = 0; p < 3; ++p) {
    EXPECT_EQ(back.points[p].x, model.points[p].x);
    EXPECT_EQ(back.points[p].y, model.points[p].y);
    EXPECT_EQ(back.points[p].ellipse.q, 30.0f);
  }
  EXPECT_EQ(back.sides[1].precision.mt, 2.5f);
  EXPECT_EQ(back.sides[1].precision.ellipse.f, 0.75f);
  EXPECT_EQ(back.pairs[0].precision.ellipse.q, 10.0f);
}

}  // namespace
}  // namespace qp
