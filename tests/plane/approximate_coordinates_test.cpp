#include "plane/approximate_coordinates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "common/gbk_text.h"
#include "plane/network_geometry.h"
#include "support/scripted_platform.h"
#include "network_builder.h"

namespace qp {
namespace {

using testing::NetworkBuilder;
using testing::ScriptedPlatform;
using Names = std::vector<std::string>;

TEST(CollectNetworkPoints, NeedsTwoGivenPointsAndDirectionsOrDistances) {
  NetworkBuilder b;
  ScriptedPlatform platform;
  b.Place("A", 0, 0);
  b.Place("B", 100, 0);
  b.Given("A");
  b.Distance("A", "P", 50.0);
  EXPECT_FALSE(CollectNetworkPoints(*b.net, platform));
  b.Given("B", false);  // an approximate point counts as given
  b.net->reducedCount = 0;
  b.FixedDistance("A", "P", 50.0);
  EXPECT_FALSE(CollectNetworkPoints(*b.net, platform));
  EXPECT_EQ(platform.MessagesUtf8(), Names(2, "基本计算条件不满足 !"));
}

TEST(CollectNetworkPoints, ListsNewNamesInObservationOrderAndNamesThoseLeftUncomputed) {
  NetworkBuilder b;
  ScriptedPlatform platform;
  b.Place("K1", 0, 0);
  b.Place("K2", 1000, 0);
  b.Place("P5", 300, 300);
  b.Place("P4", 600, 300);
  b.Given("K1");
  b.Given("K2");
  b.Direction("K1", "K2", 0.0);
  b.Direction("K1", "P3", 10.0);
  b.FixedAzimuth("P5", "P4");  // both new: from before to
  b.Distance("P6", "P9", 300.0);
  b.FixedDistance("P9", "P10", 250.0);
  b.WeightedDistance("P7", "P8", 200.0);
  b.net->precisionPairCount = 1;  // a name only in a precision pair is no network point
  SetSlotText(b.net->pairFirst[0], "Z");
  SetSlotText(b.net->pairSecond[0], "K1");

  EXPECT_FALSE(CollectNetworkPoints(*b.net, platform));
  // Nothing places any new point, so the ordering keeps them as listed.
  const Names order = {"K1", "K2", "P3", "P5", "P4", "P6", "P9", "P10", "P7", "P8"};
  EXPECT_EQ(b.PointNames(), order);
  EXPECT_EQ(b.net->pointCount, 10);
  EXPECT_EQ(b.net->unknownPointCount, 8);
  EXPECT_EQ(b.net->nameCount, 10);
  EXPECT_EQ(SlotText(b.net->nameList[3]), "P5");
  Names expected;
  for (int i = 2; i < 10; ++i) expected.push_back("待定点[" + order[i] + "]不能计算出...");
  expected.push_back("待定点不能完全计算出 !");
  EXPECT_EQ(platform.MessagesUtf8(), expected);
}

// K1 observed P2 first, so P2 is listed before P1, but P2 is placed from P1.
struct ChainNetwork : ::testing::Test {
  NetworkBuilder b;
  ScriptedPlatform platform;
  void SetUp() override {
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
    b.FixedAzimuth("K1", "K2");
  }
};

TEST_F(ChainNetwork, OrdersPointsSoEachFollowsItsStationAndComputesThem) {
  ASSERT_TRUE(PrepareComputableNetwork(*b.net, platform));
  EXPECT_EQ(b.PointNames(), (Names{"K1", "K2", "P1", "P2"}));
  EXPECT_TRUE(b.AtTruth("P1"));
  EXPECT_TRUE(b.AtTruth("P2"));
  // u = 2, n = 2u + 1 fixed azimuth, r = 5 + 2 + 1 - 4 - 2 stations.
  EXPECT_EQ(b.net->unknownPointCount, 2);
  EXPECT_EQ(b.net->unknownCount, 5);
  EXPECT_EQ(b.net->nonStationCount, 2);
  EXPECT_EQ(b.net->redundancy, 2);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ChainNetwork, RefusesNetworksWithoutKnownPointOrRedundancy) {
  b.net->knownCount = 0;  // K1 and K2 only approximate
  b.net->approxCount = 2;
  EXPECT_FALSE(PrepareComputableNetwork(*b.net, platform));
  EXPECT_EQ(platform.MessagesUtf8(), Names{"平面网不满足平差或精度估算条件 !!!"});

  NetworkBuilder thin;  // one known and one approximate point, one new point, r = -1
  thin.Place("K", 0, 0);
  thin.Place("A", 500, 0);
  thin.Place("P", 200, 300);
  thin.Given("K");
  thin.Given("A", false);
  thin.Set("K", {"A", "P"});
  thin.Distance("K", "P");
  ScriptedPlatform second;
  EXPECT_FALSE(PrepareComputableNetwork(*thin.net, second));
  EXPECT_EQ(thin.net->redundancy, 2 + 1 - 4 - 1);
  EXPECT_EQ(second.MessagesUtf8(), Names{"平面网不满足平差或精度估算条件 !!!"});
}

TEST(BuildDirectionSets, SortsSetsInPointOrderWithPlaceholders) {
  NetworkBuilder b;
  ScriptedPlatform platform;
  for (const char* name : {"A", "B", "C", "D"}) b.ListPoint(name);
  b.Direction("B", "C", 30.0);
  b.Direction("A", "B", 0.0);
  b.Direction("A", "C", 45.0);
  b.Direction("B", "A", 0.0);
  b.Direction("A", "D", 10.0);
  ASSERT_TRUE(BuildDirectionSets(*b.net, platform));

  struct Row {
    const char* station;
    const char* target;
    double value;
  };
  const Row rows[] = {{"A", "B", 0}, {"A", "D", 10}, {"A", "C", 45}, {"B", "A", 0},
                      {"B", "C", 30}, {"C", "A", 0},  {"D", "A", 0}};
  for (int e = 0; e < 7; ++e) {
    SCOPED_TRACE(e);
    EXPECT_EQ(SlotText(b.net->directionStation[e]), rows[e].station);
    EXPECT_EQ(SlotText(b.net->directionTarget[e]), rows[e].target);
    EXPECT_EQ(b.net->direction[e], rows[e].value);
    if (e < 5) {  // DirectionInput: the real sets only
      EXPECT_EQ(SlotText(b.net->inputStation[e]), rows[e].station);
      EXPECT_EQ(SlotText(b.net->inputTarget[e]), rows[e].target);
      EXPECT_EQ(b.net->inputDirection[e], rows[e].value);
    }
  }
  EXPECT_EQ(std::vector<int>(b.net->setStart, b.net->setStart + 5), (std::vector<int>{0, 3, 5, 6, 7}));
  EXPECT_EQ(b.net->nonStationCount, 2);
}

TEST(BuildDirectionSets, RejectsSetsWithoutOrWithTwoZeroDirections) {
  NetworkBuilder b;
  ScriptedPlatform platform;
  for (const char* name : {"A", "B", "C"}) b.ListPoint(name);
  b.Direction("A", "B", 0.0);
  b.Direction("A", "C", 5.0);
  b.Direction("B", "C", 0.0001);
  b.Direction("B", "A", 12.0);
  EXPECT_FALSE(BuildDirectionSets(*b.net, platform));
  b.net->direction[2] = 0.0;
  b.net->direction[1] = 0.0;
  EXPECT_FALSE(BuildDirectionSets(*b.net, platform));
  EXPECT_EQ(platform.MessagesUtf8(), (Names{"方向观测值错误:B,C,0.000100", "方向观测值输入错误 !!!"}));
}

TEST(ComputeApproxCoordinates, DistancesOnlyAskForEveryPairInEveryPass) {
  NetworkBuilder b;
  ScriptedPlatform platform;
  b.Place("A", 0, 0);
  b.Place("B", 1000, 0);
  b.Place("P", 300, 400);
  b.Given("A");
  b.Given("B");
  b.Distance("A", "P");
  b.Distance("P", "B");
  auto copy = b.Copy();
  for (int i = 0; i < 14; ++i) platform.Answering({Answer::Cancel});
  EXPECT_FALSE(CollectNetworkPoints(*b.net, platform));
  ASSERT_EQ(platform.questions.size(), 14u);  // 7 passes, from A with B and from B with A
  EXPECT_EQ(platform.QuestionsUtf8()[1].substr(0, 13), "B --- A --- P");
  EXPECT_EQ(platform.MessagesUtf8(), (Names{"待定点[P]不能计算出...", "待定点不能完全计算出 !"}));

  ScriptedPlatform answering;
  answering.Answering({Answer::No});
  b.net.reset(copy.release());
  EXPECT_TRUE(CollectNetworkPoints(*b.net, answering));
  EXPECT_TRUE(b.AtTruth("P"));
}

// The point ordering and the coordinate passes written as plain nested loops
// over every point; the indexed routines must give the same order, the same
// coordinates and the same questions.
Names PlainOrder(PlaneNetwork& net) {
  const NetworkGeometry geo(net, NetworkGeometry::DirectionSource::kLines);
  const int n = net.pointCount, g = net.knownCount + net.approxCount;
  std::vector<std::vector<int>> lines(n, std::vector<int>(n));
  std::vector<std::vector<bool>> joined(n, std::vector<bool>(n));
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < n; ++k) {
      lines[i][k] = geo.DirectionLines(i, k);
      joined[i][k] = geo.HasDistanceBetween(SlotText(net.pointName[i]), SlotText(net.pointName[k])) ||
                     geo.HasDistanceBetween(SlotText(net.pointName[k]), SlotText(net.pointName[i]));
    }
  }
  auto angle = [&](int s, int a, int b) { return lines[s][a] + lines[s][b] == 2; };
  const bool dirs = net.directionCount > 0, dists = net.reducedCount > 0;
  std::vector<int> rank(n, -1);
  int next = g, left = n - g;
  for (int i = 0; i < g; ++i) rank[i] = i;
  for (int pass = 1; pass <= 24 && left > 0; ++pass) {
    for (int a = 0; a < n; ++a) {
      for (int b = 0; b < n && rank[a] >= 0; ++b) {
        for (int q = 0; q < n && rank[b] >= 0 && left > 0; ++q) {
          if (rank[q] >= 0) continue;
          bool r = dirs && dists && ((angle(a, b, q) && joined[a][q]) || (angle(b, q, a) && joined[b][q]));
          r = r || (pass > 3 && dirs && angle(a, b, q) + angle(b, q, a) + angle(q, a, b) >= 2);
          r = r || (pass > 6 && dists && joined[a][q] && joined[b][q]);
          if (r) rank[q] = next++, --left;
        }
      }
    }
  }
  Names order(n);
  for (int q = 0; q < n; ++q) order[rank[q] >= 0 ? rank[q] : next++] = SlotText(net.pointName[q]);
  return order;
}

void PlainCoordinates(PlaneNetwork& net, PlatformServices& platform) {
  NetworkGeometry geo(net);
  const int n = net.pointCount, g = net.knownCount + net.approxCount, known = net.knownCount;
  const bool dirs = net.directionCount > 0, dists = net.reducedCount > 0;
  ComputedFlags c(n, 0);
  for (int i = 0; i < g; ++i) c[i] = 1;
  for (int pass = 1; pass <= 7; ++pass) {
    for (int j = 0; j < n; ++j) {
      if (!c[j]) continue;
      for (int i = 0; dirs && dists && i + 2 < n; ++i) {
        if (c[i] && c[i + 1] && !c[i + 2]) geo.PolarPoint(i, i + 1, i + 2, c);
      }
      for (int i = 0; i < n; ++i) {
        for (int k = g; k < n && c[i] && i != j; ++k) {
          if (c[k] || k == i || k == j) continue;
          if ((pass > 3 || !dists) && dirs) geo.AngleIntersection(j, i, k, c);
          if (!c[k] && dirs && dists) geo.PolarPoint(j, i, k, c);
          if (!c[k] && ((pass > 3 && dirs) || !dists)) geo.Resection(j, i, k, c);
          if (!c[k] && (pass > 5 || !dirs) && dists) geo.IntersectByDistances(j, i, k, c, platform);
        }
      }
      for (int d = n - 1; dirs && dists && d >= known + 2; --d) {
        if (c[d] && c[d - 1] && !c[d - 2]) geo.PolarPoint(d, d - 1, d - 2, c);
      }
    }
  }
}

TEST(ApproximateCoordinates, IndexedPassesMatchPlainLoopsOnRandomNetworks) {
  std::mt19937 rng(20240611);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    NetworkBuilder b;
    const int n = uniform(4, 14), given = uniform(2, 3);
    Names names;
    for (int i = 0; i < n; ++i) {
      names.push_back("N" + std::to_string(i));
      b.Place(names.back(), uniform(0, 5000), uniform(0, 5000));
    }
    for (int i = 0; i < given; ++i) b.Given(names[i], i < 2);
    const int kind = round % 4;  // both kinds, directions only, distances only, sparse
    for (int s = 0; s < n && kind != 2; ++s) {
      if (uniform(0, kind == 3 ? 2 : 1) != 0) continue;
      Names targets;
      for (int t = 0; t < n; ++t) {
        if (t != s && uniform(0, 2) == 0) targets.push_back(names[t]);
      }
      if (targets.size() < 2) continue;
      b.Set(names[s], targets);
      if (uniform(0, 5) == 0) b.Direction(names[s], targets.back(), 359.5959);  // a target seen twice
    }
    for (int e = uniform(1, 2 * n); e > 0 && kind != 1; --e) {
      const int i = uniform(0, n - 1), k = uniform(0, n - 1);
      if (i != k) b.Distance(names[i], names[k]);
    }
    if (b.net->directionCount + b.net->reducedCount == 0) continue;
    std::shuffle(names.begin() + given, names.end(), rng);
    for (int i = given; i < n; ++i) b.ListPoint(names[i]);

    const auto plain = b.Copy();
    OrderUnknownPoints(*b.net);
    ASSERT_EQ(b.PointNames(), PlainOrder(*plain));
    ScriptedPlatform platform, plainPlatform;
    if (b.net->directionCount > 0) {
      ASSERT_TRUE(BuildDirectionSets(*b.net, platform));
    }
    std::memcpy(plain.get(), b.net.get(), sizeof(PlaneNetwork));
    for (int q = 0; q < 40; ++q) {
      const Answer a = q % 3 == 0 ? Answer::Yes : q % 3 == 1 ? Answer::No : Answer::Cancel;
      platform.Answering({a});
      plainPlatform.Answering({a});
    }
    ComputeApproxCoordinates(*b.net, platform);
    PlainCoordinates(*plain, plainPlatform);
    EXPECT_EQ(platform.questions, plainPlatform.questions);
    for (int p = 0; p < n; ++p) {
      EXPECT_EQ(b.net->x[p], plain->x[p]) << p;
      EXPECT_EQ(b.net->y[p], plain->y[p]) << p;
    }
  }
}

// 1024 points, every new point hanging from a station two levels up; about
// 2044 directions at 511 stations and 513 points without a set, so the
// placeholders do not fit beside the directions.
TEST(ApproximateCoordinates, FullSizeNetworkIsComputedWithEmptySetsForNonStations) {
  NetworkBuilder b;
  ScriptedPlatform platform;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coordinate(0.0, 20000.0);
  auto name = [](int i) { return "T" + std::to_string(i); };
  for (int i = 0; i < 1024; ++i) b.Place(name(i), coordinate(rng), coordinate(rng));
  b.Given(name(0));
  b.Given(name(1));
  for (int s = 0; 2 * s + 2 < 1024; ++s) {
    Names targets = {name(s < 2 ? 1 - s : (s - 2) / 2)};
    for (int c = 2 * s + 2; c <= 2 * s + 3 && c < 1024; ++c) {
      targets.push_back(name(c));
      b.Distance(name(s), name(c));
    }
    if (s >= 2) targets.push_back(name(s % 2 == 0 ? s + 1 : s - 1));
    b.Set(name(s), targets);
  }
  ASSERT_TRUE(PrepareComputableNetwork(*b.net, platform));
  EXPECT_GT(b.net->directionCount + b.net->nonStationCount, kMaxDirections);
  EXPECT_EQ(b.net->setStart[1024], b.net->directionCount);
  const int leaf = b.Index(name(1000));
  EXPECT_EQ(b.net->setStart[leaf], b.net->setStart[leaf + 1]);
  for (int i = 2; i < 1024; ++i) ASSERT_TRUE(b.AtTruth(name(i), 1e-3)) << name(i);
}

}  // namespace
}  // namespace qp
