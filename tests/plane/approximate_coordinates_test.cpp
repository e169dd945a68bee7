#include "plane/approximate_coordinates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "plane/network_geometry.h"
#include "plane/plane_model_record.h"
#include "plane/plane_point_list.h"
#include "common/gbk_text.h"
#include "network_builder.h"

namespace qp {
namespace {

using testing::NetworkBuilder;
using Names = std::vector<std::string>;

// The messages a refused step leaves to be shown, in UTF-8.
Names Notes(const InputCheck& check) {
  EXPECT_FALSE(check);
  Names notes;
  for (const std::string& note : check.notes) notes.push_back(GbkToUtf8(note));
  return notes;
}

TEST(CollectNetworkPoints, ListsNewNamesInObservationOrderAndNamesThoseLeftUncomputed) {
  NetworkBuilder b;
  b.Place("K1", 0, 0);
  b.Place("K2", 1000, 0);
  b.Given("K1");
  b.FixedDistance("P9", "P10", 250.0);
  EXPECT_EQ(Notes(b.Confirm(CollectNetworkPoints)), Names{"基本计算条件不满足 !"});  // one given point
  b.Given("K2");
  // No direction, no reduced distance.
  EXPECT_EQ(Notes(b.Confirm(CollectNetworkPoints)), Names{"基本计算条件不满足 !"});

  b.Direction("K1", "K2", 0.0);
  b.Direction("K1", "P3", 10.0);
  b.FixedAzimuth("P5", "P4", 1.0);  // from before to
  b.Distance("P6", "P9", 300.0);
  b.WeightedDistance("P7", "P8", 200.0);
  b.net->precisionPairCount = 1;  // names only in a precision pair are no network points
  SetSlotText(b.net->pairFirst[0], "Z");
  SetSlotText(b.net->pairSecond[0], "K1");
  const InputCheck collected = b.Confirm(CollectNetworkPoints);
  // Nothing places a new point, so the ordering keeps them as listed.
  const Names order = {"K1", "K2", "P3", "P5", "P4", "P6", "P9", "P10", "P7", "P8"};
  EXPECT_EQ(b.PointNames(), order);
  EXPECT_EQ(b.net->nameCount, 10);
  EXPECT_EQ(SlotText(b.net->nameList[3]), "P5");
  Names expected;
  for (int i = 2; i < 10; ++i) expected.push_back("待定点[" + order[i] + "]不能计算出...");
  expected.push_back("待定点不能完全计算出 !");
  EXPECT_EQ(Notes(collected), expected);
}

// The point table holds 1024 points: two given and 1022 new ones fill it,
// one more name is refused before anything is ordered or computed.
TEST(CollectNetworkPoints, RefusesANetworkBeyondThePointTable) {
  for (const int added : {1022, 1023}) {
    SCOPED_TRACE(added);
    NetworkBuilder b;
    b.Place("K1", 0, 0);
    b.Place("K2", 1000, 0);
    b.Given("K1");
    b.Given("K2");
    for (int i = 0; i < added; ++i) b.Distance("K1", "N" + std::to_string(i), 100.0);
    PlaneModel model = PlaneModelOfEnteredDirections(*b.net);
    const Names notes = Notes(CollectNetworkPoints(model, {}));
    const bool refused = notes.front() == "平面网点数超过1024个 !";
    EXPECT_EQ(refused, added > 1022);
    if (!refused) {
      EXPECT_EQ(model.pointCount(), 1024);
    }
  }
}

// K1 observed P2 first, so P2 is listed before P1, but P2 is placed from P1.
NetworkBuilder Chain() {
  NetworkBuilder b;
  b.Place("K1", 0, 0);
  b.Place("K2", 1000, 200);
  b.Place("P1", 400, 600);
  b.Place("P2", 900, 1100);
  b.Given("K1");
  b.Given("K2");
  b.Set("K1", {"P2", "K2", "P1"});
  b.Set("P1", {"K1", "P2"});
  b.Distance("K1", "P1");
  b.Distance("P2", "P1");
  b.FixedAzimuth("K1", "K2", 11.1836);
  return b;
}

TEST(PrepareComputableNetwork, OrdersComputesAndCountsUnknownsAndRedundancy) {
  NetworkBuilder b = Chain();
  ASSERT_TRUE(b.Confirm(PrepareComputableNetwork));
  EXPECT_EQ(b.PointNames(), (Names{"K1", "K2", "P1", "P2"}));
  EXPECT_TRUE(b.AtTruth("P1") && b.AtTruth("P2"));
  // u = 2, n = 2u + 1 fixed azimuth, r = 5 + 2 + 1 - 2u - 2 stations.
  EXPECT_EQ(b.net->unknownPointCount, 2);
  EXPECT_EQ(b.net->unknownCount, 5);
  EXPECT_EQ(b.net->nonStationCount, 2);
  EXPECT_EQ(b.net->redundancy, 2);

  NetworkBuilder noKnown = Chain();
  noKnown.net->knownCount = 0;  // K1 and K2 only approximate
  noKnown.net->approxCount = 2;
  EXPECT_EQ(Notes(noKnown.Confirm(PrepareComputableNetwork)), Names{"平面网不满足平差或精度估算条件 !!!"});
}

TEST(BuildDirectionSets, SortsSetsInPointOrderWithPlaceholders) {
  auto lines = [](double bc, double ac, double ba) {
    NetworkBuilder b;
    for (const char* name : {"A", "B", "C", "D"}) b.ListPoint(name);
    b.Direction("B", "C", bc);
    b.Direction("A", "B", 0.0);
    b.Direction("A", "C", ac);
    b.Direction("B", "A", ba);
    b.Direction("A", "D", 10.0);
    return b;
  };
  NetworkBuilder b = lines(30.0, 45.0, 0.0);
  ASSERT_TRUE(b.Confirm(BuildDirectionSets));
  const Names rows = {"A-B", "A-D", "A-C", "B-A", "B-C", "C-A", "D-A"};
  const double values[] = {0, 10, 45, 0, 30, 0, 0};
  for (int e = 0; e < 7; ++e) {
    EXPECT_EQ(std::string(SlotText(b.net->directionStation[e])) + "-" + std::string(SlotText(b.net->directionTarget[e])),
              rows[e]);
    EXPECT_EQ(b.net->direction[e], values[e]);
    if (e < 5) {  // DirectionInput holds the real sets only
      EXPECT_EQ(SlotText(b.net->inputTarget[e]), SlotText(b.net->directionTarget[e]));
      EXPECT_EQ(b.net->inputDirection[e], values[e]);
    }
  }
  EXPECT_EQ(std::vector<int>(b.net->setStart, b.net->setStart + 5), (std::vector<int>{0, 3, 5, 6, 7}));
  EXPECT_EQ(b.net->nonStationCount, 2);

  // B's set not from zero; two zeros at A.
  EXPECT_EQ(Notes(lines(0.0001, 45.0, 12.0).Confirm(BuildDirectionSets)), Names{"方向观测值错误:B,C,0.000100"});
  EXPECT_EQ(Notes(lines(30.0, 0.0, 0.0).Confirm(BuildDirectionSets)), Names{"方向观测值输入错误 !!!"});
}

TEST(ComputeApproxCoordinates, DistancesOnlyAskForEveryPairInEveryPass) {
  NetworkBuilder b;
  b.Place("A", 0, 0);
  b.Place("B", 1000, 0);
  b.Place("P", 300, 400);
  b.Given("A");
  b.Given("B");
  b.Distance("A", "P");
  b.Distance("P", "B");
  auto copy = b.Copy();
  testing::ScriptedTurns cancelling{std::vector<Turn>(20, Turn::kUnknown), {}};
  const InputCheck refused = b.Confirm(CollectNetworkPoints, cancelling.Answerer());
  ASSERT_EQ(cancelling.questions.size(), 14u);  // 7 passes, from A with B and from B with A
  EXPECT_EQ(cancelling.questions[1].substr(0, 13), "B --- A --- P");
  EXPECT_EQ(Notes(refused), (Names{"待定点[P]不能计算出...", "待定点不能完全计算出 !"}));

  testing::ScriptedTurns answering{{Turn::kClockwise}, {}};  // P lies right of A->B
  b.net = std::move(copy);
  EXPECT_TRUE(b.Confirm(CollectNetworkPoints, answering.Answerer()));
  EXPECT_TRUE(b.AtTruth("P"));
}

// The ordering and the coordinate passes as plain nested loops over every
// point: the indexed routines must give the same order, the same
// coordinates and the same questions.
Names PlainOrder(PlaneNetwork& net) {
  const PlaneModel model = PlaneModelOfEnteredDirections(net);
  const int n = net.pointCount, g = net.knownCount + net.approxCount;
  // Direction lines station->target as entered, and points joined by a
  // distance of any kind in either orientation.
  std::vector<std::vector<int>> lines(n, std::vector<int>(n, 0));
  std::vector<std::vector<bool>> join(n, std::vector<bool>(n, false));
  for (const PlaneMeasure& d : model.enteredDirections) {
    if (d.ends.Resolved()) ++lines[d.ends.from][d.ends.to];
  }
  auto joinEnds = [&](const PlaneEnds& e) {
    if (e.Resolved()) join[e.from][e.to] = join[e.to][e.from] = true;
  };
  for (const PlaneDistance& d : model.distances) joinEnds(d.ends);
  for (const auto* list : {&model.fixedSides, &model.weightedSides}) {
    for (const PlaneMeasure& m : *list) joinEnds(m.ends);
  }
  auto name = [&](int i) { return SlotText(net.pointName[i]); };
  auto angle = [&](int s, int a, int b) { return lines[s][a] + lines[s][b] == 2; };
  auto joined = [&](int i, int k) { return bool(join[i][k]); };
  const bool dirs = net.directionCount > 0, dists = net.reducedCount > 0;
  std::vector<int> rank(n, -1);
  int next = g, left = n - g;
  for (int i = 0; i < g; ++i) rank[i] = i;
  for (int pass = 1; pass <= 24 && left > 0; ++pass) {
    for (int a = 0; a < n; ++a) {
      for (int b = 0; b < n && rank[a] >= 0; ++b) {
        for (int q = 0; q < n && rank[b] >= 0 && left > 0; ++q) {
          if (rank[q] >= 0) continue;
          bool r = dirs && dists && ((angle(a, b, q) && joined(a, q)) || (angle(b, q, a) && joined(b, q)));
          r = r || (pass > 3 && dirs && angle(a, b, q) + angle(b, q, a) + angle(q, a, b) >= 2);
          r = r || (pass > 6 && dists && joined(a, q) && joined(b, q));
          if (r) rank[q] = next++, --left;
        }
      }
    }
  }
  Names order(n);
  for (int q = 0; q < n; ++q) order[rank[q] >= 0 ? rank[q] : next++] = name(q);
  return order;
}

void PlainCoordinates(PlaneNetwork& net, const TurnAnswerer& turn) {
  PlaneModel model = PlaneModelFromRecord(net);
  NetworkGeometry geo(model);
  const int n = net.pointCount, g = net.knownCount + net.approxCount;
  const bool dirs = net.directionCount > 0, dists = net.reducedCount > 0;
  ComputedFlags c(n, 0);
  std::fill(c.begin(), c.begin() + g, 1);
  for (int pass = 1; pass <= 7; ++pass) {
    for (int j = 0; j < n; ++j) {
      for (int i = 0; c[j] && dirs && dists && i + 2 < n; ++i) {
        if (c[i] && c[i + 1] && !c[i + 2]) geo.PolarPoint(i, i + 1, i + 2, c);
      }
      for (int i = 0; i < n && c[j]; ++i) {
        for (int k = g; k < n && c[i] && i != j; ++k) {
          if (c[k] || k == i || k == j) continue;
          if ((pass > 3 || !dists) && dirs) geo.AngleIntersection(j, i, k, c);
          if (!c[k] && dirs && dists) geo.PolarPoint(j, i, k, c);
          if (!c[k] && ((pass > 3 && dirs) || !dists)) geo.Resection(j, i, k, c);
          if (!c[k] && (pass > 5 || !dirs) && dists) geo.IntersectByDistances(j, i, k, c, turn);
        }
      }
      for (int d = n - 1; c[j] && dirs && dists && d >= net.knownCount + 2; --d) {
        if (c[d] && c[d - 1] && !c[d - 2]) geo.PolarPoint(d, d - 1, d - 2, c);
      }
    }
  }
  PutPlaneCoordinates(model, net);
}

TEST(ApproximateCoordinates, IndexedPassesMatchPlainLoopsOnRandomNetworks) {
  std::mt19937 rng(20240611);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    NetworkBuilder b;
    const int n = uniform(4, 16), given = uniform(2, 3), kind = round % 4;  // both, directions, distances, sparse
    Names names;
    for (int i = 0; i < n; ++i) {
      names.push_back("N" + std::to_string(i));
      b.Place(names.back(), uniform(0, 5000), uniform(0, 5000));
    }
    for (int i = 0; i < given; ++i) b.Given(names[i], i < 2);
    for (int s = 0; s < n && kind != 2; ++s) {
      Names targets;
      for (int t = 0; t < n; ++t) {
        if (t != s && uniform(0, 2) == 0) targets.push_back(names[t]);
      }
      if (targets.size() < 2 || uniform(0, kind == 3 ? 2 : 1) != 0) continue;
      b.Set(names[s], targets);
      if (uniform(0, 3) == 0) b.Direction(names[s], targets.back(), 359.5959);  // a target seen twice
    }
    for (int e = uniform(1, 2 * n); e > 0 && kind != 1; --e) {
      const int i = uniform(0, n - 1), k = uniform(0, n - 1);
      if (i != k) b.Distance(names[i], names[k]);
    }
    if (b.net->directionCount + b.net->reducedCount == 0) continue;
    std::shuffle(names.begin() + given, names.end(), rng);
    for (int i = given; i < n; ++i) b.ListPoint(names[i]);

    const auto plain = b.Copy();
    PlaneModel model = PlaneModelOfEnteredDirections(*b.net);
    OrderUnknownPoints(model);
    Names order;
    for (const PlanePoint& p : model.points) order.push_back(p.name);
    ASSERT_EQ(order, PlainOrder(*plain));
    if (model.directionCount > 0) {
      ASSERT_TRUE(BuildDirectionSets(model));
    }
    PutPlanePointList(model, *b.net);
    std::memcpy(plain.get(), b.net.get(), sizeof(PlaneNetwork));
    testing::ScriptedTurns turns, plainTurns;
    for (int q = 0; q < 40; ++q) turns.answers.push_back(q % 3 == 0 ? Turn::kCounterClockwise : q % 3 == 1 ? Turn::kClockwise : Turn::kUnknown);
    plainTurns.answers = turns.answers;
    ComputeApproxCoordinates(model, turns.Answerer());
    PutPlaneCoordinates(model, *b.net);
    PlainCoordinates(*plain, plainTurns.Answerer());
    EXPECT_EQ(turns.questions, plainTurns.questions);
    EXPECT_EQ(0, std::memcmp(b.net->x, plain->x, sizeof plain->x));
    EXPECT_EQ(0, std::memcmp(b.net->y, plain->y, sizeof plain->y));
  }
}

// 1024 points, each new one hanging from a station; 2042 directions at 511
// stations and 513 points without a set: the placeholders do not fit beside
// the directions and those points keep empty sets.
TEST(ApproximateCoordinates, FullSizeNetwork) {
  NetworkBuilder b;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coordinate(0.0, 20000.0);
  auto name = [](int i) { return "T" + std::to_string(i); };
  for (int i = 0; i < 1024; ++i) b.Place(name(i), coordinate(rng), coordinate(rng));
  b.Given(name(0));
  b.Given(name(1));
  for (int s = 0; 2 * s + 2 < 1024; ++s) {
    Names targets = {name(s < 2 ? 1 - s : (s - 2) / 2), name(2 * s + 2), name(2 * s + 3)};
    if (s >= 2) targets.push_back(name(s % 2 == 0 ? s + 1 : s - 1));
    b.Set(name(s), targets);
    b.Distance(name(s), name(2 * s + 2));
    b.Distance(name(s), name(2 * s + 3));
  }
  ASSERT_TRUE(b.Confirm(PrepareComputableNetwork));
  EXPECT_GT(b.net->directionCount + b.net->nonStationCount, kMaxDirections);
  EXPECT_EQ(b.net->setStart[1024], b.net->directionCount);
  const int leaf = b.Index(name(1000));
  EXPECT_EQ(b.net->setStart[leaf], b.net->setStart[leaf + 1]);
  for (int i = 2; i < 1024; ++i) ASSERT_TRUE(b.AtTruth(name(i), 1e-3)) << name(i);
}

}  // namespace
}  // namespace qp
